// The save dialog, the row operations and the materials window as form models:
// start state in both programs, name, filter, directory, drive and source-data
// behaviour, refusals on "ОК", the written results file; the four row operations
// with the lock check; insertion from the materials window.
#include "app/application.h"
#include "common/app_error.h"
#include "common/text_file.h"
#include "dialogs/materials_form.h"
#include "dialogs/row_operations.h"
#include "dialogs/save_dialog.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace ogrado;

namespace {

void touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A working folder laid out as ogrado_n expects it: Результаты with a few files,
// Isx, and the program started there.
struct Fixture {
    explicit Fixture(bool iniProgram = false)
        : ctx(prompter)
    {
        root = QDir(dir.path()).absolutePath();
        QDir(root).mkpath(QStringLiteral("Результаты/Архив"));
        QDir(root).mkpath(QStringLiteral("Isx"));
        results = root + QStringLiteral("/Результаты");
        touch(results + QStringLiteral("/Стена.doc"));
        touch(results + QStringLiteral("/Кровля.DOC"));
        touch(results + QStringLiteral("/заметки.txt"));
        touch(results + QStringLiteral("/Стена.isx"));
        touch(results + QStringLiteral("/README"));
        touch(results + QStringLiteral("/Архив/Расчет 12.05.2024.doc"));
        touch(results + QStringLiteral("/Архив/old.isx"));
        if (iniProgram) {
            ctx.settings = parseSettings({QStringLiteral("PROG = ") + root, QStringLiteral("ISX = ") + results,
                                          QStringLiteral("DATA = ") + root});
        } else {
            ctx.settings = defaultDirectories(root);
        }
        ctx.tables = test::shippedTables();
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        app->mainForm().loadForm();
    }
    SaveDialogForm& save() { return *static_cast<SaveDialogForm*>(app->form(QStringLiteral("FileSave"))); }
    RowOperationsForm& rows() { return *static_cast<RowOperationsForm*>(app->form(QStringLiteral("frmMove"))); }
    MaterialsForm& materials() { return *static_cast<MaterialsForm*>(app->form(QStringLiteral("frmMaterial"))); }
    MainForm& main() { return app->mainForm(); }
    // The dialog opened by hand, so that a test can look at it while it is open.
    SaveDialogForm& openSave()
    {
        SaveDialogForm& s = save();
        s.loadForm();
        return s;
    }

    QTemporaryDir dir;
    QString root;
    QString results;
    test::RecordingPrompter prompter;
    test::FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

QString cell(int row, int column)
{
    return MainForm::cellName(row, column);
}

QStringList rowTexts(const MainForm& m, int row)
{
    QStringList t;
    for (int c = 0; c <= 8; ++c)
        t.append(m.text(cell(row, c)));
    return t;
}

const QString kNotSaved = QStringLiteral("Данные не сохраняются");

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    // ---- save dialog ----

    void startStateInOgradoN()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        QCOMPARE(s.caption(), QStringLiteral("Сохранить данные в файле"));
        QVERIFY(s.isModal());
        QCOMPARE(s.treePath(), f.results);
        QCOMPARE(s.text("NameFile"), QStringLiteral("Теплотехнический расчет"));
        QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Теплотехнический расчет.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), f.root + QStringLiteral("/Isx/Теплотехнический расчет.isx"));
        QCOMPARE(s.foreground("lblNameFileIsx"), kBlue);
        QVERIFY(s.isChecked("chkIsxDan"));
        QVERIFY(s.isEnabled("Sv"));
        QCOMPARE(s.items("gmbSpec"), (QStringList{QStringLiteral("Все файлы(*.*)"), QStringLiteral("Результаты(*.doc)"),
                                                  QStringLiteral("Исх. данные(*.isx)")}));
        QCOMPARE(s.currentIndex("gmbSpec"), 1);
        // "*.doc" lists results files whatever the case of their extension, nothing else
        QCOMPARE(s.items("Files"), (QStringList{QStringLiteral("Кровля.DOC"), QStringLiteral("Стена.doc")}));
        // the drive list keeps the volume of the current directory
        QCOMPARE(s.currentDrive(), QStorageInfo(QDir::currentPath()).rootPath());
        QCOMPARE(s.currentItem("Drives"), s.currentDrive());
        // the directory list: the path down to Результаты, then its subfolder
        const QStringList tree = s.items("Tree");
        QCOMPARE(s.treeEntries()[s.currentIndex("Tree")], f.results);
        QCOMPARE(tree.last().trimmed(), QStringLiteral("Архив"));
        QCOMPARE(s.treeEntries().first(), QStringLiteral("/"));
        QVERIFY(s.text("txtActDir").endsWith(QStringLiteral("/Результаты")));
        QVERIFY(f.prompter.shown.isEmpty());
    }

    void startStateInOgrado()
    {
        // ogrado starts in the ISX directory on its drive
        Fixture f(true);
        QCOMPARE(f.ctx.settings.resultsDir, f.results);
        SaveDialogForm& s = f.openSave();
        QCOMPARE(s.treePath(), f.results);
        QCOMPARE(s.currentDrive(), QStorageInfo(f.results).rootPath());
        QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Теплотехнический расчет.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), f.results + QStringLiteral("/Теплотехнический расчет.isx"));
        QVERIFY(f.prompter.shown.isEmpty());
    }

    void missingResultsDirectoryOpensTheFolderAbove()
    {
        Fixture f;
        f.ctx.settings.resultsDir = f.root + QStringLiteral("/Нет/Такого");
        SaveDialogForm& s = f.openSave();
        QCOMPARE(s.treePath(), f.root);
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("Нет/Такого")));
        QCOMPARE(s.text("lblNameFileOut"), f.root + QStringLiteral("/Теплотехнический расчет.doc"));
    }

    void nameAndExtension()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        const QString expected = f.results + QStringLiteral("/Отчет.doc");
        for (const char* typed : {"Отчет", "Отчет.doc", "Отчет.DOC"}) {
            s.userEdit("NameFile", QString::fromUtf8(typed));
            QCOMPARE(s.text("lblNameFileOut"), expected);
            QCOMPARE(s.text("lblNameFileIsx"), f.root + QStringLiteral("/Isx/Отчет.isx"));
        }
        // any other extension is kept and ".doc" added
        s.userEdit("NameFile", QStringLiteral("Отчет.txt"));
        QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Отчет.txt.doc"));

        // a name beginning with "*" filters the list and leaves the labels
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        s.userEdit("NameFile", QStringLiteral("*.txt"));
        QCOMPARE(s.items("Files"), QStringList{QStringLiteral("заметки.txt")});
        QCOMPARE(s.text("lblNameFileOut"), expected);
        s.userEdit("NameFile", QStringLiteral("*.doc;*.isx"));
        QCOMPARE(s.items("Files").size(), 3);
    }

    void filter()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        s.userSelect("gmbSpec", 2);
        QCOMPARE(s.text("NameFile"), QStringLiteral("*.isx"));
        QCOMPARE(s.items("Files"), QStringList{QStringLiteral("Стена.isx")});
        QCOMPARE(s.text("lblNameFileOut"), QStringLiteral("?.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), QStringLiteral("?.isx"));
        // "*.*" is every file, the one without an extension included
        s.userSelect("gmbSpec", 0);
        QCOMPARE(s.items("Files"), (QStringList{QStringLiteral("README"), QStringLiteral("заметки.txt"),
                                                QStringLiteral("Кровля.DOC"), QStringLiteral("Стена.doc"),
                                                QStringLiteral("Стена.isx")}));
    }

    void fileClickAfterChangingDirectory()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        const int archive = int(s.treeEntries().indexOf(f.results + QStringLiteral("/Архив")));
        QVERIFY(archive > 0);
        s.userSelect("Tree", archive);
        QCOMPARE(s.treePath(), f.results);  // one click only chooses
        s.userDblClick("Tree");
        const QString archiveDir = f.results + QStringLiteral("/Архив");
        QCOMPARE(s.treePath(), archiveDir);
        QCOMPARE(s.text("NameFile"), QStringLiteral("?.doc"));
        QCOMPARE(s.text("lblNameFileOut"), QStringLiteral("?.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), QStringLiteral("?.isx"));
        QCOMPARE(s.items("Files"), QStringList{QStringLiteral("Расчет 12.05.2024.doc")});

        s.userSelect("gmbSpec", 0);
        s.userSelect("Files", int(s.items("Files").indexOf(QStringLiteral("old.isx"))));
        QCOMPARE(s.text("NameFile"), QStringLiteral("old.isx"));
        QCOMPARE(s.text("lblNameFileOut"), archiveDir + QStringLiteral("/old.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), f.root + QStringLiteral("/Isx/old.isx"));
        // the whole name before the extension: a dated name is not cut at its first dot
        s.userSelect("Files", int(s.items("Files").indexOf(QStringLiteral("Расчет 12.05.2024.doc"))));
        QCOMPARE(s.text("lblNameFileOut"), archiveDir + QStringLiteral("/Расчет 12.05.2024.doc"));

        // back up through the path entry of Результаты
        s.userSelect("Tree", int(s.treeEntries().indexOf(f.results)));
        s.userDblClick("Tree");
        QCOMPARE(s.treePath(), f.results);
        QVERIFY(s.text("txtActDir").endsWith(QStringLiteral("/Результаты")));
    }

    void sourceDataSwitch()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        s.userCheck("chkIsxDan", false);
        QCOMPARE(s.text("lblNameFileIsx"), kNotSaved);
        QCOMPARE(s.foreground("lblNameFileIsx"), kRed);
        QVERIFY(!s.isEnabled("Sv"));
        // while the box is clear, neither a new name nor a new directory brings a name back
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        s.userSelect("gmbSpec", 0);
        QCOMPARE(s.text("lblNameFileIsx"), kNotSaved);
        QCOMPARE(s.foreground("lblNameFileIsx"), kRed);

        s.userEdit("NameFile", QStringLiteral("Отчет.doc"));
        s.userCheck("chkIsxDan", true);
        QCOMPARE(s.text("lblNameFileIsx"), f.results + QStringLiteral("/Отчет.isx"));
        QCOMPARE(s.foreground("lblNameFileIsx"), kBlue);
        QVERIFY(s.isEnabled("Sv"));

        s.userCheck("chkIsxDan", false);
        s.userSelect("gmbSpec", 2);
        s.userCheck("chkIsxDan", true);
        QCOMPARE(s.text("lblNameFileIsx"), QStringLiteral("?.isx"));
    }

    void directoryLabel()
    {
        // worked out by hand: the first three characters, "...", and the last 17 cut at
        // their first separator
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("C:\\Program Files\\ogrado\\Результаты")),
                 QStringLiteral("C:\\...\\Результаты"));
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("/home/engineer/projects/Результаты")),
                 QStringLiteral("/ho.../Результаты"));
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("/abcdefghijklmnopqrstuv")),  // 23: whole
                 QStringLiteral("/abcdefghijklmnopqrstuv"));
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("/abcdefghijklmnopqrstuvw")),  // 24, no separator in the tail
                 QStringLiteral("/ab...ghijklmnopqrstuvw"));
    }

    void okRefusesWithoutReportOrName()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        // no calculation yet
        s.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("Расчет")));
        QVERIFY(s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
        QVERIFY(!QFile::exists(f.results + QStringLiteral("/Теплотехнический расчет.doc")));

        f.main().calculate();
        QVERIFY(f.ctx.report.lineCount() > 0);
        f.prompter.clear();
        // a placeholder after a change of directory, a pattern, an empty name
        s.userSelect("Tree", int(s.treeEntries().indexOf(f.results + QStringLiteral("/Архив"))));
        s.userDblClick("Tree");
        s.userClick("cmdOk");
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        s.userEdit("NameFile", QStringLiteral("*.doc"));  // the label still shows Отчет.doc
        s.userClick("cmdOk");
        s.userEdit("NameFile", QStringLiteral("  "));
        s.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 3);
        for (const test::Shown& m : f.prompter.shown) {
            QCOMPARE(m.title, QStringLiteral("Ошибка"));
            QVERIFY(m.text.startsWith(QStringLiteral("Не задано имя файла результатов.")));
        }
        QVERIFY(s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
        QVERIFY(QDir(f.results + QStringLiteral("/Архив")).entryList(QDir::Files).size() == 2);
    }

    void savesTheReportThroughTheDialog()
    {
        Fixture f;
        f.main().calculate();
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
        f.host.onModal = [](FormModel& form) {
            form.userEdit("NameFile", QStringLiteral("Стена пример"));
            form.userClick("cmdOk");
            QVERIFY(!form.isLoaded());
        };
        f.main().userClick("cmdSave");
        QCOMPARE(f.host.opened, QStringList{QStringLiteral("FileSave")});
        QVERIFY(f.prompter.shown.isEmpty());  // no air-layer lines: nothing asked
        const QString path = f.results + QStringLiteral("/Стена пример.doc");
        QCOMPARE(f.save().saveConfirmed(), 1);
        QCOMPARE(f.save().resultsFilePath(), path);
        QCOMPARE(f.save().isxFilePath(), f.root + QStringLiteral("/Isx/Стена пример.isx"));
        QVERIFY(!QFile::exists(f.save().isxFilePath()));  // the source-data name is only shown

        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith(encodeCp1251(QStringLiteral(" Теплотехнический расчет"))));
        QCOMPARE(bytes.count("\r\n"), f.ctx.report.lineCount());
        QCOMPARE(bytes.count('\n'), f.ctx.report.lineCount());
        const QString decoded = QStringDecoder("windows-1251").decode(bytes);
        QCOMPARE(decoded, f.ctx.report.lines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

        // with air-layer lines the question comes; "Отмена" writes the report alone
        f.ctx.airLayerReportLines = {QStringLiteral("Прослойка 1"), QStringLiteral("Прослойка 2")};
        f.prompter.answers = {MessageAnswer::Cancel};
        f.main().userClick("cmdSave");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Подтверждение записи"));
        QCOMPARE(readAll(path).count("\r\n"), f.ctx.report.lineCount());
        f.prompter.answers = {MessageAnswer::Ok};
        f.main().userClick("cmdSave");
        QVERIFY(readAll(path).endsWith(encodeCp1251(QStringLiteral("\r\nПрослойка 1\r\nПрослойка 2\r\n"))));
    }

    void unwritablePathKeepsTheDialogOpen()
    {
        Fixture f;
        f.main().calculate();
        const QString gone = f.results + QStringLiteral("/Ушел");
        QVERIFY(QDir(f.results).mkdir(QStringLiteral("Ушел")));
        SaveDialogForm& s = f.openSave();
        // a folder removed while the dialog is open cannot be entered
        QVERIFY(QDir(f.results + QStringLiteral("/Архив")).removeRecursively());
        s.userSelect("Tree", int(s.treeEntries().indexOf(f.results + QStringLiteral("/Архив"))));
        s.userDblClick("Tree");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("Архив")));
        QCOMPARE(s.treePath(), f.results);
        f.prompter.clear();

        // one removed after it was entered: "ОК" names the path and the reason
        s.userSelect("Tree", int(s.treeEntries().indexOf(gone)));
        s.userDblClick("Tree");
        QCOMPARE(s.treePath(), gone);
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        QVERIFY(QDir(gone).removeRecursively());
        s.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Не удается записать файл \"") + gone +
                                                    QStringLiteral("/Отчет.doc\": ")));
        QVERIFY(s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
    }

    void failedWriteLeavesTheOldFile()
    {
        // A write that runs out of room (here: a file-size limit of 1000 bytes) must
        // leave an existing results file as it was.
        Fixture f;
        f.main().calculate();
        const QString path = f.results + QStringLiteral("/Стена.doc");
        const QByteArray old = "old results\r\n";
        touch(path, old);
        SaveDialogForm& s = f.openSave();
        s.userSelect("Files", int(s.items("Files").indexOf(QStringLiteral("Стена.doc"))));
        QCOMPARE(s.text("lblNameFileOut"), path);

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        s.userClick("cmdOk");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.contains(path));
        QVERIFY(s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(f.results).entryList(QDir::Files | QDir::Hidden).size(), 5);  // no temporary left behind
        // room again: the same "ОК" now replaces the file
        f.prompter.clear();
        s.userClick("cmdOk");
        QVERIFY(f.prompter.shown.isEmpty());
        QCOMPARE(s.saveConfirmed(), 1);
        QCOMPARE(readAll(path).count("\r\n"), f.ctx.report.lineCount());
    }

    void driveThatCannotBeRead()
    {
        Fixture f;
        const QString here = QStorageInfo(QDir::currentPath()).rootPath();
        const QString dead = f.root + QStringLiteral("/нет-носителя");
        f.save().setVolumeSource([here, dead] { return QStringList{here, dead}; });
        SaveDialogForm& s = f.openSave();
        QCOMPARE(s.currentDrive(), here);

        // "Да" asks again, "Нет" returns to the volume of the current directory
        f.prompter.answers = {MessageAnswer::Yes, MessageAnswer::No};
        s.userSelect("Drives", 1);
        QCOMPARE(f.prompter.shown.size(), 2);
        for (const test::Shown& m : f.prompter.shown) {
            QCOMPARE(m.text, QStringLiteral("Повторить попытку?"));
            QCOMPARE(m.title, QStringLiteral("Накопитель ") + dead + QStringLiteral(" не готов"));
            QCOMPARE(m.icon, MessageIcon::Critical);
        }
        QCOMPARE(s.currentDrive(), here);
        QCOMPARE(s.currentItem("Drives"), here);
        QCOMPARE(s.treePath(), QDir::currentPath());
        QCOMPARE(s.text("lblNameFileOut"), QStringLiteral("?.doc"));

        // ogrado with a source-data drive that is not there asks at once
        Fixture g(true);
        g.ctx.settings.isxDrive = QStringLiteral("Q:");
        g.prompter.answers = {MessageAnswer::No};
        SaveDialogForm& t = g.openSave();
        QCOMPARE(g.prompter.shown.size(), 1);
        QCOMPARE(g.prompter.shown[0].title, QStringLiteral("Накопитель Q: не готов"));
        QCOMPARE(t.currentDrive(), here);
        QCOMPARE(t.treePath(), g.results);
    }

    void cancelAndReopen()
    {
        Fixture f;
        f.main().calculate();
        SaveDialogForm& s = f.openSave();
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        s.userCheck("chkIsxDan", false);
        s.userClick("cmdCancel");
        QVERIFY(!s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
        QVERIFY(QDir(f.results).entryList({QStringLiteral("Отчет*")}, QDir::Files).isEmpty());
        s.loadForm();
        QCOMPARE(s.text("NameFile"), QStringLiteral("Теплотехнический расчет"));
        QVERIFY(s.isChecked("chkIsxDan"));
        QCOMPARE(s.foreground("lblNameFileIsx"), kBlue);
    }

    // ---- row operations ----

    void rowOperations()
    {
        Fixture f;
        MainForm& m = f.main();
        RowOperationsForm& r = f.rows();
        r.loadForm();
        QCOMPARE(r.caption(), QStringLiteral("Работа со строками"));
        QCOMPARE(r.items("lst1_0"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(r.currentIndex("lst1_0"), 0);
        QCOMPARE(r.currentIndex("lst1_1"), 0);
        const QStringList row1 = rowTexts(m, 1), row2 = rowTexts(m, 2), row3 = rowTexts(m, 3), row4 = rowTexts(m, 4);
        m.userCheck("optVlaga_3", true);

        // no operation chosen: nothing happens
        r.userSelect("lst1_0", 1);
        r.userSelect("lst1_1", 5);
        r.userClick("cmdOk");
        QCOMPARE(rowTexts(m, 6).mid(2), QStringList(7, QString()));

        // copy 2 -> 6: row 6 gets everything of row 2 but keeps its number
        r.userCheck("opt1_0", true);
        r.userClick("cmdOk");
        QStringList expected = row2;
        expected[1] = QStringLiteral("6");
        QCOMPARE(rowTexts(m, 6), expected);
        QCOMPARE(rowTexts(m, 2), row2);

        // swap 1 <-> 4
        r.userSelect("lst1_0", 0);
        r.userSelect("lst1_1", 3);
        r.userCheck("opt1_2", true);
        QVERIFY(!r.isChecked("opt1_0"));
        r.userClick("cmdOk");
        expected = row4;
        expected[1] = QStringLiteral("1");
        QCOMPARE(rowTexts(m, 1), expected);
        expected = row1;
        expected[1] = QStringLiteral("4");
        QCOMPARE(rowTexts(m, 4), expected);

        // move 3 -> 5: row 3 keeps only its number
        r.userSelect("lst1_0", 2);
        r.userSelect("lst1_1", 4);
        r.userCheck("opt1_1", true);
        r.userClick("cmdOk");
        expected = row3;
        expected[1] = QStringLiteral("5");
        QCOMPARE(rowTexts(m, 5), expected);
        QCOMPARE(rowTexts(m, 3), (QStringList{"", "3", "", "", "", "", "", "", ""}));

        // empty row 5; the source list steps up to row 4
        r.userSelect("lst1_0", 4);
        r.userCheck("opt1_3", true);
        r.userClick("cmdOk");
        QCOMPARE(rowTexts(m, 5), (QStringList{"", "5", "", "", "", "", "", "", ""}));
        QCOMPARE(r.currentIndex("lst1_0"), 3);
        // emptying row 1 leaves the choice on row 1
        r.userSelect("lst1_0", 0);
        r.userClick("cmdOk");
        QCOMPARE(rowTexts(m, 1)[0], QString());
        QCOMPARE(r.currentIndex("lst1_0"), 0);

        // marks and exclusion boxes are untouched; the window stays open
        QVERIFY(m.isChecked("optVlaga_3"));
        for (int k = 1; k <= 8; ++k)
            QVERIFY(!m.isChecked(QStringLiteral("chkIskl_%1").arg(k)));
        QVERIFY(r.isLoaded());
        QVERIFY(f.prompter.shown.isEmpty());

        // the main form collects what the grid now holds: rows 2, 4 and 6
        m.collectInput();
        QCOMPARE(f.ctx.layerTable.count(), 3);
    }

    void moveOntoItselfKeepsTheRow()
    {
        Fixture f;
        MainForm& m = f.main();
        RowOperationsForm& r = f.rows();
        r.loadForm();
        const QStringList row2 = rowTexts(m, 2);
        r.userSelect("lst1_0", 1);
        r.userSelect("lst1_1", 1);
        for (int op : {0, 1, 2}) {
            r.userCheck(QStringLiteral("opt1_%1").arg(op), true);
            r.userClick("cmdOk");
            QCOMPARE(rowTexts(m, 2), row2);
        }
    }

    void lockedRows()
    {
        Fixture f;
        MainForm& m = f.main();
        RowOperationsForm& r = f.rows();
        r.loadForm();
        const QString toLocked = QStringLiteral("В качестве приемного   выбран\rзаблокированный слой.");
        const QString fromLocked = QStringLiteral("В качестве исходного выбран\rзаблокированный слой.");
        const QStringList row3 = rowTexts(m, 3);
        r.userCheck("opt1_3", true);
        r.userSelect("lst1_0", 2);

        // emptying row 3 while it is excluded
        m.userCheck("chkIskl_3", true);
        const QStringList excluded3 = rowTexts(m, 3);
        r.userClick("cmdOk");
        QCOMPARE(f.prompter.texts(), QStringList{fromLocked});
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(f.prompter.shown[0].icon, MessageIcon::Exclamation);
        QCOMPARE(rowTexts(m, 3), excluded3);
        QCOMPARE(r.currentIndex("lst1_0"), 2);

        // only the target excluded: emptying is refused all the same
        m.userCheck("chkIskl_3", false);
        m.userCheck("chkIskl_7", true);
        r.userSelect("lst1_1", 6);
        f.prompter.clear();
        r.userClick("cmdOk");
        QCOMPARE(f.prompter.texts(), QStringList{toLocked});
        QCOMPARE(rowTexts(m, 3), row3);

        // both excluded: the lower row decides
        m.userCheck("chkIskl_3", true);
        f.prompter.clear();
        r.userClick("cmdOk");  // from 3, to 7
        QCOMPARE(f.prompter.texts(), QStringList{fromLocked});
        r.userSelect("lst1_0", 6);
        r.userSelect("lst1_1", 2);
        r.userCheck("opt1_0", true);
        f.prompter.clear();
        r.userClick("cmdOk");  // from 7, to 3
        QCOMPARE(f.prompter.texts(), QStringList{toLocked});
    }

    // ---- materials window ----

    void materialsWindowInsertsAsTheMainPicker()
    {
        Fixture f;
        MaterialsForm& w = f.materials();
        w.loadForm();
        QCOMPARE(w.caption(), QStringLiteral("Материалы"));
        QCOMPARE(w.items("cboM"), f.main().items("cboM"));
        QCOMPARE(w.currentIndex("cboM"), 0);
        QCOMPARE(w.text("txtM"), QStringLiteral("2500"));
        QCOMPARE(w.items("lstM").size(), 8);

        // material 3 of the catalogue: "3 Туфобетон (1800);1800;0,87;0,99;11,38;12,79;0,09"
        w.userSelect("cboM", 2);
        QCOMPARE(w.text("lblM"), QStringLiteral("3 Туфобетон (1800). Коэффициент теплопроводности для условий "
                                                "эксплуатации А - 0,87, Б  - 0,99. Коэффициент паропроницания  - 0,09"));
        QCOMPARE(w.text("txtM"), QStringLiteral("1800"));
        w.userSelect("lstM", 1);
        w.userDblClick("lstM");
        QCOMPARE(rowTexts(f.main(), 2),
                 (QStringList{"J=1800. Туфобетон (1800)", "2", "250", "3", "0,87", "0,99", "11,38", "12,79", "0,09"}));

        // the main window's own picker gives the same row
        Fixture g;
        g.main().userSelect("cboM", 2);
        g.main().userSelect("lstM", 1);
        g.main().userDblClick("lstM");
        QCOMPARE(rowTexts(f.main(), 2), rowTexts(g.main(), 2));
        // the main window's own choice is not touched by the materials window
        QCOMPARE(f.main().currentIndex("cboM"), 0);
    }

    void placements()
    {
        Fixture f;
        const QRect mainTwips(1470, 60, 15960, 12225);
        QCOMPARE(f.rows().placement(mainTwips), std::optional<QPoint>(QPoint(1470, 60 + 8850)));
        const int w = f.materials().widthTwips();
        QCOMPARE(f.materials().placement(mainTwips), std::optional<QPoint>(QPoint(1470 + 15960 - w, 60)));
        QVERIFY(f.save().isModal());
        QVERIFY(!f.rows().isModal() && !f.materials().isModal());
        f.main().userDblClick(cell(5, 2));
        f.main().userClick("cmdMaterial");
        QCOMPARE(f.host.opened, (QStringList{QStringLiteral("frmMove"), QStringLiteral("frmMaterial")}));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
