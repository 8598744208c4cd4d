// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing module of ogrado_calc: the program with the graphical part, for --chart,
// --pdf and --odt. It draws off screen unless a platform is chosen, so no display is
// needed.
#include "batch/batch.h"
#include "chart/chart_plot.h"
#include "common/qt_translation.h"
#include "document/text_document.h"

#include <QApplication>

namespace {

QtMessageHandler qtHandler = nullptr;

// The graphical module's note about a missing runtime folder says nothing to the user
// of the command line; everything else goes through.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (qtHandler)
        qtHandler(type, context, text);
}

}  // namespace

extern "C" Q_DECL_EXPORT int ogradoCalcWithChart(int* argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(messageHandler);
    QApplication app(*argc, argv);
    ogrado::installQtTranslation();  // as in the plain run: quietly English without it
    const auto writeDocument = [](const ogrado::CalcDocument& document, ogrado::DocumentFormat format,
                                  const QString& path) {
        ogrado::writeCalcDocument(document, format, path, &ogrado::renderSectionChart);
    };
    return ogrado::runBatchOnConsole(&ogrado::writeSectionChart, writeDocument);
}
