// SPDX-License-Identifier: GPL-3.0-or-later
// ogrado_calc: the envelope calculation without windows. Plain runs need QtCore only;
// --chart, --pdf and --odt load the drawing module (ogrado_calc_chart), which holds the
// graphical part.
#include "batch/batch.h"
#include "batch/batch_options.h"
#include "common/qt_translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTextStream>

namespace {

// The folder of this program, found before any application object exists.
QString programFolder(const char* argv0)
{
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (!self.isEmpty())
        return QFileInfo(self).absolutePath();
    return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

// Runs the whole program inside the drawing module: beside this one in the build
// folder, in ../lib/ogrado of an installed prefix.
int runWithChart(int& argc, char** argv)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    const QDir bin(programFolder(argv[0]));
    const QStringList places = {bin.filePath(QStringLiteral("ogrado_calc_chart")),
                                bin.filePath(QStringLiteral("../lib/ogrado/ogrado_calc_chart"))};
    using Entry = int (*)(int*, char**);
    QString why;
    for (const QString& place : places) {
        QLibrary module(place);
        if (const auto entry = reinterpret_cast<Entry>(module.resolve("ogradoCalcWithChart")))
            return entry(&argc, argv);
        why = module.errorString();
    }
    err << "Ошибка: для --chart, --pdf и --odt нужен модуль рисования ogrado_calc_chart рядом с ogrado_calc или в "
           "../lib/ogrado: "
        << why << ". Установите программу заново или запустите ogrado_calc без этих параметров.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    if (ogrado::wantsDrawing(raw))
        return runWithChart(argc, argv);

    QCoreApplication app(argc, argv);
    // Qt's parts of a message (a file or JSON error) in Russian; without the catalogue
    // they stay English, the run is the same.
    ogrado::installQtTranslation();
    return ogrado::runBatchOnConsole();
}
