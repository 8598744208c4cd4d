// ogrado_calc: the envelope calculation without windows.
#include "batch/batch.h"
#include "batch/batch_options.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

QtMessageHandler qtHandler = nullptr;

// The graphical module's note about a missing runtime directory says nothing to the
// user of the command line; everything else goes through.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (qtHandler)
        qtHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    // Only the chart needs the graphical module: plain runs start as quickly as before.
    // It draws off screen unless a platform is chosen.
    std::unique_ptr<QCoreApplication> app;
    if (ogrado::wantsChart(raw)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qtHandler = qInstallMessageHandler(messageHandler);
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const int status = ogrado::runBatch(args, out, err);
    out.flush();
    err.flush();
    return status;
}
