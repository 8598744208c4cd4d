// The save dialog, the row operations and the materials window as form models.
#include "program/application.h"
#include "common/text_file.h"
#include "dialogs/materials_form.h"
#include "dialogs/row_operations.h"
#include "dialogs/materials_window.h"
#include "dialogs/row_operations_window.h"
#include "dialogs/save_dialog.h"
#include "dialogs/save_dialog_window.h"
#include "test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

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
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A working folder as ogrado_n sees it: Результаты with a few files and a subfolder.
struct Fixture {
    explicit Fixture(bool ogrado = false) : ctx(prompter)
    {
        root = QDir(dir.path()).absolutePath();
        results = root + QStringLiteral("/Результаты");
        archive = results + QStringLiteral("/Архив");
        QDir().mkpath(archive);
        QDir().mkpath(root + QStringLiteral("/Isx"));
        for (const char* name : {"Стена.doc", "Кровля.DOC", "заметки.txt", "Стена.isx", "README",
                                 "Архив/Расчет 12.05.2024.doc", "Архив/old.isx"})
            touch(results + u'/' + QString::fromUtf8(name));
        ctx.settings = ogrado ? parseSettings({QStringLiteral("ISX = ") + results, QStringLiteral("DATA = ") + root})
                              : defaultDirectories(root);
        ctx.tables = test::shippedTables();
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        app->mainForm().loadForm();
    }
    SaveDialogForm& save() { return *static_cast<SaveDialogForm*>(app->form(QStringLiteral("FileSave"))); }
    SaveDialogForm& openSave()
    {
        save().loadForm();
        return save();
    }
    RowOperationsForm& rows()
    {
        auto& r = *static_cast<RowOperationsForm*>(app->form(QStringLiteral("frmMove")));
        r.loadForm();
        return r;
    }
    MainForm& main() { return app->mainForm(); }
    void enter(SaveDialogForm& s, const QString& folder)
    {
        s.userSelect("Tree", int(s.treeEntries().indexOf(folder)));
        s.userDblClick("Tree");
    }

    QTemporaryDir dir;
    QString root, results, archive;
    test::RecordingPrompter prompter;
    test::FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

QStringList rowTexts(const MainForm& m, int row)
{
    QStringList t;
    for (int c = 0; c <= 8; ++c)
        t.append(m.cell(row, c));
    return t;
}

// Row `source` as it reads after being put into row `number` (the number stays).
QStringList renumbered(QStringList row, int number)
{
    row[1] = QString::number(number);
    return row;
}

const QString kNotSaved = QStringLiteral("Данные не сохраняются");

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void startState()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        QCOMPARE(s.treePath(), f.results);
        QCOMPARE(s.text("NameFile"), QStringLiteral("Теплотехнический расчет"));
        QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Теплотехнический расчет.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), f.root + QStringLiteral("/Isx/Теплотехнический расчет.isx"));
        QCOMPARE(s.foreground("lblNameFileIsx"), kBlue);
        QVERIFY(s.isChecked("chkIsxDan") && s.isEnabled("Sv"));
        QCOMPARE(s.currentItem("gmbSpec"), QStringLiteral("Результаты(*.doc)"));
        // "*.doc" whatever the case of the extension, nothing else
        QCOMPARE(s.items("Files"), (QStringList{QStringLiteral("Кровля.DOC"), QStringLiteral("Стена.doc")}));
        QCOMPARE(s.currentDrive(), QStorageInfo(QDir::currentPath()).rootPath());
        QCOMPARE(s.treeEntries().first(), QStringLiteral("/"));
        QCOMPARE(s.treeEntries().last(), f.archive);
        QVERIFY(s.text("txtActDir").endsWith(QStringLiteral("/Результаты")));

        // ogrado: the ISX directory on its own drive
        Fixture g(true);
        SaveDialogForm& t = g.openSave();
        QCOMPARE(t.treePath(), g.results);
        QCOMPARE(t.currentDrive(), QStorageInfo(g.results).rootPath());
        QCOMPARE(t.text("lblNameFileIsx"), g.results + QStringLiteral("/Теплотехнический расчет.isx"));
        QVERIFY(f.prompter.shown.isEmpty() && g.prompter.shown.isEmpty());

        // a missing results directory: said so, and the nearest folder above opens
        Fixture h;
        h.ctx.settings.resultsDir = h.root + QStringLiteral("/Нет/Такого");
        QCOMPARE(h.openSave().treePath(), h.root);
        QCOMPARE(h.prompter.shown.size(), 1);
        QVERIFY(h.prompter.shown[0].text.contains(QStringLiteral("/Нет/Такого")));
    }

    void nameAndFilter()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        for (const char* typed : {"Отчет", "Отчет.doc", "Отчет.DOC"}) {
            s.userEdit("NameFile", QString::fromUtf8(typed));
            QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Отчет.doc"));
        }
        s.userEdit("NameFile", QStringLiteral("Отчет.txt"));
        QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Отчет.txt.doc"));
        // a pattern filters the list and leaves the labels
        s.userEdit("NameFile", QStringLiteral("*.txt"));
        QCOMPARE(s.items("Files"), QStringList{QStringLiteral("заметки.txt")});
        QCOMPARE(s.text("lblNameFileOut"), f.results + QStringLiteral("/Отчет.txt.doc"));

        s.userSelect("gmbSpec", 2);
        QCOMPARE(s.text("NameFile"), QStringLiteral("*.isx"));
        QCOMPARE(s.items("Files"), QStringList{QStringLiteral("Стена.isx")});
        QCOMPARE(s.text("lblNameFileOut"), QStringLiteral("?.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), QStringLiteral("?.isx"));
        s.userSelect("gmbSpec", 0);  // "*.*": a file without an extension too
        QCOMPARE(s.items("Files").size(), 5);
    }

    void fileClickAfterChangingDirectory()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        f.enter(s, f.archive);
        QCOMPARE(s.treePath(), f.archive);
        QCOMPARE(s.text("NameFile"), QStringLiteral("?.doc"));
        QCOMPARE(s.text("lblNameFileOut"), QStringLiteral("?.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), QStringLiteral("?.isx"));
        s.userSelect("gmbSpec", 0);
        s.userSelect("Files", int(s.items("Files").indexOf(QStringLiteral("old.isx"))));
        QCOMPARE(s.text("lblNameFileOut"), f.archive + QStringLiteral("/old.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), f.root + QStringLiteral("/Isx/old.isx"));
        // a dated name is not cut at its first dot
        s.userSelect("Files", int(s.items("Files").indexOf(QStringLiteral("Расчет 12.05.2024.doc"))));
        QCOMPARE(s.text("lblNameFileOut"), f.archive + QStringLiteral("/Расчет 12.05.2024.doc"));
        f.enter(s, f.results);  // back up through the path entry
        QCOMPARE(s.treePath(), f.results);
    }

    void sourceDataSwitch()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        s.userCheck("chkIsxDan", false);
        QVERIFY(!s.isEnabled("Sv"));
        // while clear, neither a name nor a filter brings a name back
        s.userEdit("NameFile", QStringLiteral("Отчет.doc"));
        s.userSelect("gmbSpec", 1);
        s.userEdit("NameFile", QStringLiteral("Отчет.doc"));
        QCOMPARE(s.text("lblNameFileIsx"), kNotSaved);
        QCOMPARE(s.foreground("lblNameFileIsx"), kRed);
        s.userCheck("chkIsxDan", true);
        QCOMPARE(s.text("lblNameFileIsx"), f.results + QStringLiteral("/Отчет.isx"));
        QCOMPARE(s.foreground("lblNameFileIsx"), kBlue);
        QVERIFY(s.isEnabled("Sv"));
    }

    void directoryLabel()
    {
        // the first three characters, "...", the last 17 from their first separator
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("C:\\Program Files\\ogrado\\Результаты")),
                 QStringLiteral("C:\\...\\Результаты"));
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("/abcdefghijklmnopqrstuv")),  // 23: whole
                 QStringLiteral("/abcdefghijklmnopqrstuv"));
        QCOMPARE(SaveDialogForm::shortenedDirectory(QStringLiteral("/abcdefghijklmnopqrstuvw")),  // no separator
                 QStringLiteral("/ab...ghijklmnopqrstuvw"));
    }

    void okRefusals()
    {
        Fixture f;
        SaveDialogForm& s = f.openSave();
        s.userCheck("chkIsxDan", false);
        s.userClick("cmdOk");  // no calculation yet and no source data: nothing to save
        s.userCheck("chkIsxDan", true);
        f.main().calculate();
        f.enter(s, f.archive);
        s.userClick("cmdOk");  // placeholder
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        s.userEdit("NameFile", QStringLiteral("*.doc"));
        s.userClick("cmdOk");  // pattern, though the label still shows Отчет.doc
        s.userEdit("NameFile", QStringLiteral(" "));
        s.userClick("cmdOk");  // empty
        QCOMPARE(f.prompter.shown.size(), 4);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Нет результатов расчета")));
        for (const test::Shown& m : f.prompter.shown.mid(1))
            QVERIFY(m.text.startsWith(QStringLiteral("Не задано имя файла результатов.")));
        for (const test::Shown& m : f.prompter.shown)
            QCOMPARE(m.title, QStringLiteral("Ошибка"));
        QVERIFY(s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
        QCOMPARE(QDir(f.archive).entryList(QDir::Files).size(), 2);
        QCOMPARE(QDir(f.results).entryList(QDir::Files).size(), 5);
        QVERIFY(QDir(f.root + QStringLiteral("/Isx")).isEmpty());
    }

    void savesTheReport()
    {
        Fixture f;
        f.main().calculate();
        f.host.onModal = [](FormModel& form) {
            form.userEdit("NameFile", QStringLiteral("Стена пример"));
            form.userClick("cmdOk");
        };
        f.main().userClick("cmdSave");
        QVERIFY(f.prompter.shown.isEmpty());  // no air-layer lines: nothing asked
        const QString path = f.results + QStringLiteral("/Стена пример.doc");
        QCOMPARE(f.save().saveConfirmed(), 1);
        QCOMPARE(f.save().resultsFilePath(), path);
        QCOMPARE(f.save().isxFilePath(), f.root + QStringLiteral("/Isx/Стена пример.isx"));
        QVERIFY(QFile::exists(f.save().isxFilePath()));
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith(encodeCp1251(QStringLiteral(" Теплотехнический расчет"))));
        QCOMPARE(bytes.count('\n'), f.ctx.report.lineCount());
        const QString decoded = QStringDecoder("windows-1251").decode(bytes);
        QCOMPARE(decoded, f.ctx.report.lines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

        // with air-layer lines: asked; "Отмена" writes the report alone, OK appends them
        f.ctx.airLayerReportLines = {QStringLiteral("Прослойка 1"), QStringLiteral("Прослойка 2")};
        f.prompter.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        f.main().userClick("cmdSave");
        QCOMPARE(readAll(path), bytes);
        f.main().userClick("cmdSave");
        QCOMPARE(readAll(path), bytes + encodeCp1251(QStringLiteral("Прослойка 1\r\nПрослойка 2\r\n")));
        QCOMPARE(f.prompter.shown.size(), 2);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Подтверждение записи"));
    }

    void sourceDataFileInTheDialog()
    {
        Fixture f;
        const QString isxDir = f.root + QStringLiteral("/Isx");
        const QString other = isxDir + QStringLiteral("/Чужой.isx");
        touch(other, "old");
        SaveDialogForm& s = f.openSave();
        s.userEdit("NameFile", QStringLiteral("Чужой"));
        f.prompter.answers = {MessageAnswer::No};
        s.userClick("cmdOk");  // a file that exists: asked; "Нет" keeps it, and the dialog
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Подтверждение записи"));
        QVERIFY(s.isLoaded());
        QCOMPARE(readAll(other), QByteArray("old"));
        f.prompter.answers = {MessageAnswer::Yes};
        s.userEdit("Sv", QStringLiteral("Сводка"));
        s.userClick("cmdOk");  // "Да" replaces it; without a calculation that is all, and said so
        QVERIFY(!s.isLoaded());
        QVERIFY(readAll(other).startsWith("{\n    \"format\": \"ogrado-isx\",\n    \"version\": 1,"));
        QVERIFY(f.prompter.shown.last().text.contains(QStringLiteral("Результаты расчета не записаны")));
        QCOMPARE(QDir(f.results).entryList(QDir::Files).size(), 5);

        // the next "Сохранить" proposes that file with its summary and rewrites it unasked
        f.main().calculate();
        f.prompter.clear();
        SaveDialogForm& again = f.openSave();
        QCOMPARE(again.text("NameFile"), QStringLiteral("Чужой"));
        QCOMPARE(again.text("lblNameFileIsx"), other);
        QCOMPARE(again.text("Sv"), QStringLiteral("Сводка"));
        again.userClick("cmdOk");
        QVERIFY(f.prompter.shown.isEmpty());
        QVERIFY(QFile::exists(f.results + QStringLiteral("/Чужой.doc")));

        // the source-data directory is gone: a message naming the file, nothing written
        QVERIFY(QDir(isxDir).removeRecursively());
        SaveDialogForm& third = f.openSave();
        third.userEdit("NameFile", QStringLiteral("Новый"));
        third.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Не удается записать файл \"") + isxDir +
                                                    QStringLiteral("/Новый.isx\": каталог")));
        QVERIFY(third.isLoaded());
        QVERIFY(!QFile::exists(f.results + QStringLiteral("/Новый.doc")));
    }

    void unwritablePath()
    {
        Fixture f;
        f.main().calculate();
        SaveDialogForm& s = f.openSave();
        f.enter(s, f.archive);
        s.userEdit("NameFile", QStringLiteral("Отчет"));
        QVERIFY(QDir(f.archive).removeRecursively());
        s.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Не удается записать файл \"") + f.archive +
                                                    QStringLiteral("/Отчет.doc\": ")));
        QVERIFY(s.isLoaded());
        QCOMPARE(s.saveConfirmed(), 0);
    }

    void failedWriteLeavesTheOldFile()
    {
        // running out of room half-way (a file-size limit of 1000 bytes)
        Fixture f;
        f.main().calculate();
        const QString path = f.results + QStringLiteral("/Стена.doc");
        touch(path, "old results\r\n");
        SaveDialogForm& s = f.openSave();
        s.userSelect("Files", int(s.items("Files").indexOf(QStringLiteral("Стена.doc"))));
        s.userCheck("chkIsxDan", false);  // the results file alone
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
        QCOMPARE(s.saveConfirmed(), 0);
        QCOMPARE(readAll(path), QByteArray("old results\r\n"));
        QCOMPARE(QDir(f.results).entryList(QDir::Files | QDir::Hidden).size(), 5);  // no temporary left
    }

    void driveThatCannotBeRead()
    {
        Fixture f;
        const QString here = QStorageInfo(QDir::currentPath()).rootPath();
        const QString dead = f.root + QStringLiteral("/нет-носителя");
        f.save().setVolumeSource([here, dead] { return QStringList{here, dead}; });
        SaveDialogForm& s = f.openSave();
        f.prompter.answers = {MessageAnswer::Yes, MessageAnswer::No};
        s.userSelect("Drives", 1);
        QCOMPARE(f.prompter.shown.size(), 2);  // "Да" asks again
        for (const test::Shown& m : f.prompter.shown) {
            QCOMPARE(m.text, QStringLiteral("Повторить попытку?"));
            QCOMPARE(m.title, QStringLiteral("Накопитель ") + dead + QStringLiteral(" не готов"));
            QCOMPARE(m.icon, MessageIcon::Critical);
        }
        QCOMPARE(s.currentItem("Drives"), here);
        QCOMPARE(s.treePath(), QDir::currentPath());

        // ogrado whose source-data drive is not there asks on opening
        Fixture g(true);
        g.ctx.settings.isxDrive = QStringLiteral("Q:");
        g.prompter.answers = {MessageAnswer::No};
        SaveDialogForm& t = g.openSave();
        QCOMPARE(g.prompter.shown.size(), 1);
        QCOMPARE(g.prompter.shown[0].title, QStringLiteral("Накопитель Q: не готов"));
        QCOMPARE(t.currentDrive(), here);
        QCOMPARE(t.treePath(), g.results);
    }

    void rowOperations()
    {
        Fixture f;
        MainForm& m = f.main();
        RowOperationsForm& r = f.rows();
        const QStringList row1 = rowTexts(m, 1), row2 = rowTexts(m, 2), row3 = rowTexts(m, 3), row4 = rowTexts(m, 4);
        m.userCheck("optVlaga_3", true);
        auto run = [&](int from, int to, int op) {
            r.userSelect("lst1_0", from - 1);
            r.userSelect("lst1_1", to - 1);
            if (op >= 0)
                r.userCheck(QStringLiteral("opt1_%1").arg(op), true);
            r.userClick("cmdOk");
        };
        run(2, 6, -1);  // no operation chosen: nothing
        QCOMPARE(rowTexts(m, 6), renumbered(QStringList(9), 6));
        run(2, 6, 0);
        QCOMPARE(rowTexts(m, 6), renumbered(row2, 6));
        QCOMPARE(rowTexts(m, 2), row2);
        run(1, 4, 2);
        QCOMPARE(rowTexts(m, 1), renumbered(row4, 1));
        QCOMPARE(rowTexts(m, 4), renumbered(row1, 4));
        run(3, 5, 1);
        QCOMPARE(rowTexts(m, 5), renumbered(row3, 5));
        QCOMPARE(rowTexts(m, 3), renumbered(QStringList(9), 3));
        run(5, 1, 3);  // empty row 5: the source list steps up to row 4
        QCOMPARE(rowTexts(m, 5), renumbered(QStringList(9), 5));
        QCOMPARE(r.currentIndex("lst1_0"), 3);
        // moving a row onto itself keeps it
        run(2, 2, 1);
        QCOMPARE(rowTexts(m, 2), row2);
        QVERIFY(m.isChecked("optVlaga_3") && r.isLoaded() && f.prompter.shown.isEmpty());
        m.collectInput();  // rows 1, 2, 4 and 6
        QCOMPARE(f.ctx.layerTable.count(), 4);
    }

    void lockedRows()
    {
        Fixture f;
        MainForm& m = f.main();
        RowOperationsForm& r = f.rows();
        const QString toLocked = QStringLiteral("В качестве приемного   выбран\rзаблокированный слой.");
        const QString fromLocked = QStringLiteral("В качестве исходного выбран\rзаблокированный слой.");
        const QStringList row3 = rowTexts(m, 3);
        auto run = [&](int from, int to, int op) {
            f.prompter.clear();
            r.userSelect("lst1_0", from - 1);
            r.userSelect("lst1_1", to - 1);
            r.userCheck(QStringLiteral("opt1_%1").arg(op), true);
            r.userClick("cmdOk");
            return f.prompter.texts();
        };
        m.userCheck("chkIskl_3", true);
        QCOMPARE(run(3, 1, 3), QStringList{fromLocked});
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(f.prompter.shown[0].icon, MessageIcon::Exclamation);
        m.userCheck("chkIskl_3", false);
        m.userCheck("chkIskl_7", true);
        QCOMPARE(run(3, 7, 3), QStringList{toLocked});  // emptying does not use the target, refused all the same
        QCOMPARE(rowTexts(m, 3), row3);
        m.userCheck("chkIskl_3", true);
        QCOMPARE(run(3, 7, 0), QStringList{fromLocked});  // both locked: the lower row decides
        QCOMPARE(run(7, 3, 0), QStringList{toLocked});
    }

    void materialsWindow()
    {
        Fixture f, g;
        auto& w = *static_cast<MaterialsForm*>(f.app->form(QStringLiteral("frmMaterial")));
        w.loadForm();
        QCOMPARE(w.items("cboM"), f.main().items("cboM"));
        // "3 Туфобетон (1800);1800;0,87;0,99;11,38;12,79;0,09" in the catalogue
        w.userSelect("cboM", 2);
        QCOMPARE(w.text("lblM"), QStringLiteral("3 Туфобетон (1800). Коэффициент теплопроводности для условий "
                                                "эксплуатации А - 0,87, Б  - 0,99. Коэффициент паропроницания  - 0,09"));
        QCOMPARE(w.text("txtM"), QStringLiteral("1800"));
        w.userSelect("lstM", 1);
        w.userDblClick("lstM");
        QCOMPARE(rowTexts(f.main(), 2),
                 (QStringList{"J=1800. Туфобетон (1800)", "2", "250", "3", "0,87", "0,99", "11,38", "12,79", "0,09"}));
        // the main window's own picker changes the grid the same way
        g.main().userSelect("cboM", 2);
        g.main().userSelect("lstM", 1);
        g.main().userDblClick("lstM");
        QCOMPARE(rowTexts(g.main(), 2), rowTexts(f.main(), 2));

        const QRect mainTwips(1470, 60, 15960, 12225);
        QCOMPARE(w.placement(mainTwips), std::optional<QPoint>(QPoint(1470 + 15960 - w.widthTwips(), 60)));
        QCOMPARE(f.rows().placement(mainTwips), std::optional<QPoint>(QPoint(1470, 60 + 8850)));
    }

    void windowsAndTheirControls()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Результаты"));
        test::AppFixture f;
        AppContext& ctx = f.ctx;
        Application& app = *f.app;
        ctx.settings = defaultDirectories(dir.path());

        auto& save = static_cast<SaveDialogForm&>(*app.form(QStringLiteral("FileSave")));
        auto& rows = static_cast<RowOperationsForm&>(*app.form(QStringLiteral("frmMove")));
        auto& materials = static_cast<MaterialsForm&>(*app.form(QStringLiteral("frmMaterial")));
        save.loadForm();
        rows.loadForm();
        materials.loadForm();
        SaveDialogWindow saveWindow(save);
        RowOperationsWindow rowsWindow(rows);
        MaterialsWindow materialsWindow(materials);
        for (FormWindow* w : {static_cast<FormWindow*>(&saveWindow), static_cast<FormWindow*>(&rowsWindow),
                              static_cast<FormWindow*>(&materialsWindow)}) {
            for (const Control& c : w->model().controls())
                QVERIFY2(w->findChild<QWidget*>(c.name), qPrintable(w->model().formName() + u' ' + c.name));
        }

        // typing a name shows the results path
        saveWindow.show();
        auto* name = saveWindow.findChild<QLineEdit*>("NameFile");
        name->selectAll();
        QTest::keyClicks(name, "report");
        QCOMPARE(saveWindow.findChild<QLabel*>("lblNameFileOut")->text(),
                 QDir(dir.path()).absolutePath() + QStringLiteral("/Результаты/report.doc"));

        // copy row 1 into row 7 with the window's own controls
        rowsWindow.show();
        rowsWindow.findChild<QListWidget*>("lst1_1")->setCurrentRow(6);
        QTest::mouseClick(rowsWindow.findChild<QRadioButton*>("opt1_0"), Qt::LeftButton);
        QTest::mouseClick(rowsWindow.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        QCOMPARE(app.mainForm().cell(7, 0), QStringLiteral("Штукатурка изв.-песч"));
        QCOMPARE(app.mainForm().cell(7, 1), QStringLiteral("7"));
        QTest::mouseClick(rowsWindow.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!rows.isLoaded());
        QVERIFY(!rowsWindow.isVisible());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
