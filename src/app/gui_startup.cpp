// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui_startup.h"

#include "app/window_registry.h"
#include "program/application.h"
#include "mainwindow/main_window.h"
#include "mainwindow/source_data_file.h"
#include "common/app_error.h"
#include "common/form_view.h"
#include "common/qt_translation.h"
#include "refdata/ref_reader.h"
#include "session/first_start.h"

#include <QApplication>
#include <QDebug>
#include <QDir>

namespace ogrado {

namespace {

// ogrado without its settings file (the first start on this machine): offers to create
// one with the user's own folders and a copy of the data installed with the program.
void offerFirstStart(Prompter& prompter)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    offerSettingsFile(prompter, settingsFilePath(), userDirectories(programDir), installedDataDir(programDir));
}

}  // namespace

bool prepareGuiApplication(bool useIniFile, const QString& translationFolder)
{
    QApplication::setApplicationName(useIniFile ? QStringLiteral("ogrado") : QStringLiteral("ogrado_n"));
    if (useIniFile)
        QGuiApplication::setDesktopFileName(QStringLiteral("ogrado"));
    if (installQtTranslation(translationFolder))
        return true;
    // Not worth a window of its own at every start: the program works, only Qt's
    // standard windows speak English.
    qWarning().noquote() << QStringLiteral("Перевод Qt qtbase_ru.qm не найден в %1: кнопки стандартных окон "
                                           "(сохранение файла, печать) будут на английском. Установите пакет %2.")
                                .arg(QDir::toNativeSeparators(translationFolder),
                                     QLatin1String(kQtTranslationPackage));
    return false;
}

int runGui(int argc, char** argv, bool useIniFile)
{
    QApplication qapp(argc, argv);
    prepareGuiApplication(useIniFile);
    WidgetPrompter prompter;
    AppContext ctx(prompter);
    try {
        if (useIniFile)
            offerFirstStart(prompter);
        ctx.settings = useIniFile ? readSettingsFile(settingsFilePath()) : defaultDirectories(QDir::currentPath());
        ctx.tables = loadReferenceData(ctx.settings.dataDir);
    } catch (const AppError& e) {
        prompter.message(e.message(), QStringLiteral("Ошибка"), MessageIcon::Critical, MessageButtons::Ok);
        return 1;
    }
    ctx.recentFilesStore = defaultRecentFilesStore();
    GuiHost host;
    ctx.host = &host;
    ctx.processEvents = [&host] { host.processEvents(); };
    Application app(ctx);
    auto* main = new MainWindow(app.mainForm(), host);
    host.setMainWindow(main);
    host.registerWindow(MainForm::windowName(), [main](FormModel&, QWidget*) { return main; });
    registerWindows(host);
    host.showForm(app.mainForm());
    // "ogrado FILE.isx": the source-data file opens at start
    if (const QString file = sourceDataArgument(QCoreApplication::arguments()); !file.isEmpty())
        app.mainForm().openSourceData(file);
    const int status = QApplication::exec();
    delete main;
    return status;
}

}  // namespace ogrado
