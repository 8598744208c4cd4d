// SPDX-License-Identifier: GPL-3.0-or-later
// The save dialog, the row operations and the materials window as form models.
#include "program/application.h"
#include "common/text_file.h"
#include "airlayer/airlayer_form.h"
#include "dialogs/material_edit_form.h"
#include "dialogs/material_edit_window.h"
#include "dialogs/materials_form.h"
#include "refdata/material_catalogue.h"
#include "dialogs/row_operations.h"
#include "dialogs/materials_window.h"
#include "dialogs/row_operations_window.h"
#include "dialogs/save_dialog.h"
#include "dialogs/save_dialog_window.h"
#include "test_app.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
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
    SaveDialogForm& save() { return app->formAs<SaveDialogForm>(); }
    SaveDialogForm& openSave()
    {
        save().loadForm();
        return save();
    }
    RowOperationsForm& rows()
    {
        auto& r = app->formAs<RowOperationsForm>();
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

MaterialsForm& catalogue(Fixture& f)
{
    auto& w = f.app->formAs<MaterialsForm>();
    w.loadForm();
    return w;
}

// What the user does in the entry window of an own material when it opens: each step
// types the texts given (an empty list types nothing) and presses "ОК", or "Отмена"
// for a step of one text "Отмена". What the window showed on opening is kept.
struct EntrySteps {
    QVector<QStringList> steps;
    QString caption;
    QStringList shown;
    bool stillOpen = false;  // after the last step
    QVector<QStringList> marked;  // the fields marked after each "ОК"
    void install(Fixture& f)
    {
        f.host.onModal = [this](FormModel& form) {
            auto& e = static_cast<MaterialEditForm&>(form);
            caption = e.caption();
            shown = e.texts();
            for (const QStringList& texts : steps) {
                if (texts == QStringList{"Отмена"}) {
                    e.userClick("cmdCancel");
                    break;
                }
                for (int k = 0; k < texts.size(); ++k)
                    e.userEdit(MaterialEditForm::fieldNames()[k], texts[k]);
                e.userClick("cmdOk");
                marked.append(e.markedControls());
            }
            stillOpen = e.isLoaded();
        };
    }
};

// The table's first column (the numbers), joined by blanks.
QString tableNumbers(const MaterialsForm& w)
{
    QStringList n;
    for (const QStringList& row : w.rows("grdM"))
        n.append(row.value(0));
    return n.join(u' ');
}

int rowOfNumber(const MaterialsForm& w, const QString& number)
{
    const QVector<QStringList>& rows = w.rows("grdM");
    for (int r = 0; r < rows.size(); ++r)
        if (rows[r].value(0) == number)
            return r;
    return -1;
}

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

        // a missing results directory (a fresh working folder): created, said so once in
        // the status line, and the dialog opens there without a message
        Fixture n;
        const QString fresh = n.root + QStringLiteral("/Новая папка/Результаты");
        n.ctx.settings.resultsDir = fresh;
        QCOMPARE(n.openSave().treePath(), fresh);
        QVERIFY(n.prompter.shown.isEmpty());
        QCOMPARE(n.main().text("lblStatus"), QStringLiteral("Создан каталог «%1».").arg(fresh));
        n.save().userClick("cmdCancel");
        n.main().showStatus(QString());
        n.openSave();
        QVERIFY(n.main().text("lblStatus").isEmpty());  // once: it exists now

        // one that cannot be created (below a file): said so, and the nearest folder above opens
        Fixture h;
        touch(h.root + QStringLiteral("/Нет"));
        h.ctx.settings.resultsDir = h.root + QStringLiteral("/Нет/Такого");
        QCOMPARE(h.openSave().treePath(), h.root);
        QCOMPARE(h.prompter.shown.size(), 1);
        QVERIFY(h.prompter.shown[0].text.contains(QStringLiteral("/Нет/Такого")));
        QVERIFY(h.main().text("lblStatus").isEmpty());
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
        auto& air = f.app->formAs<AirLayerForm>();
        air.loadForm();
        air.userEdit("txtHst", QStringLiteral("3"));
        air.userClick("cmdSave");
        const QStringList airLines = air.report().resultLines();
        QVERIFY(!airLines.isEmpty());
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        f.main().userClick("cmdSave");
        QCOMPARE(readAll(path), bytes);
        f.main().userClick("cmdSave");
        QCOMPARE(readAll(path), bytes + encodeCp1251(airLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        QCOMPARE(f.prompter.shown.size(), 2);
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("Имеются результаты расчета воздушной прослойки. Сохранить их?"));
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

        // the source-data directory is gone (a fresh working folder): created again, said
        // so in the status line, both files written
        QVERIFY(QDir(isxDir).removeRecursively());
        SaveDialogForm& third = f.openSave();
        third.userEdit("NameFile", QStringLiteral("Новый"));
        third.userClick("cmdOk");
        QVERIFY(f.prompter.shown.isEmpty());
        QVERIFY(!third.isLoaded());
        QVERIFY(QFile::exists(isxDir + QStringLiteral("/Новый.isx")));
        QVERIFY(QFile::exists(f.results + QStringLiteral("/Новый.doc")));
        QCOMPARE(f.main().text("lblStatus"), QStringLiteral("Создан каталог «%1».").arg(isxDir));

        // one that cannot be created (below a file): a message naming the file, nothing written
        touch(f.root + QStringLiteral("/Файл"));
        const QString impossible = f.root + QStringLiteral("/Файл/Isx");
        f.ctx.settings.isxDir = impossible;
        SaveDialogForm& fourth = f.openSave();
        fourth.userEdit("NameFile", QStringLiteral("Другой"));
        fourth.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Не удается записать файл \"") + impossible +
                                                    QStringLiteral("/Другой.isx\": каталог")));
        QVERIFY(fourth.isLoaded());
        QVERIFY(!QFile::exists(f.results + QStringLiteral("/Другой.doc")));
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
        auto& w = f.app->formAs<MaterialsForm>();
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

        QCOMPARE(f.main().text("lblStatus"), QStringLiteral("В строку 2 вставлен материал «Туфобетон (1800)»."));

        // a double click on a material of the table: into the grid row with the focus
        const int tuff = w.materialOfRow(2);
        QCOMPARE(f.ctx.tables.materials[tuff].name(), QStringLiteral("3 Туфобетон (1800)"));
        f.main().setFocusedGridRow(4);
        w.userSelect("grdM", 0);  // Железобетон
        w.userDblClick("grdM");
        QCOMPARE(f.main().cell(4, 0), QStringLiteral("J=2500. Железобетон"));
        QCOMPARE(f.main().cell(4, 8), QStringLiteral("0,03"));
        QCOMPARE(f.main().cell(4, 2), QStringLiteral("10"));  // the thickness stays
        QCOMPARE(f.main().text("lblStatus"), QStringLiteral("В строку 4 вставлен материал «Железобетон»."));
        // no row with the focus: nothing inserted (a shipped material is not edited either)
        f.main().setFocusedGridRow(0);
        w.userSelect("grdM", 2);
        w.userDblClick("grdM");
        QCOMPARE(f.main().cell(4, 0), QStringLiteral("J=2500. Железобетон"));
        QVERIFY(f.host.opened.isEmpty());

        const QRect mainTwips(1470, 60, 15960, 12225);
        QCOMPARE(w.placement(mainTwips), std::optional<QPoint>(QPoint(1470 + 15960 - w.widthTwips(), 60)));
        QCOMPARE(f.rows().placement(mainTwips), std::optional<QPoint>(QPoint(1470, 60 + 8850)));
    }

    void ownMaterialAddedChangedCopiedDeleted()
    {
        Fixture f;
        MaterialsForm& w = catalogue(f);
        const QString file = userMaterialsPath(f.ctx.settings.dataDir);
        QCOMPARE(w.rows("grdM").size(), 136);
        QCOMPARE(w.rows("grdM")[0], (QStringList{"1", "Железобетон", "2500", "1,92", "2,04", "17,98", "18,95", "0,03", "ТКП"}));
        QCOMPARE(w.control("grdM").columns,
                 (QStringList{"№", "Наименование", "Объемная масса,\nкг/м3", "λА", "λБ", "sА", "sБ", "μ", "Источник"}));
        QCOMPARE(w.currentIndex("grdM"), 0);  // the material chosen in the picker
        QVERIFY(w.isEnabled("cmdAdd") && w.isEnabled("cmdCopy"));
        QVERIFY(!w.isEnabled("cmdEdit") && !w.isEnabled("cmdDel"));  // shipped

        // "Добавить": a taken name is refused and the window stays open with the texts;
        // a decimal point becomes a comma
        EntrySteps add{{{"железобетон", "35", "0.037", "0,039", "0,35", "0,4", "0,05"}, {"Плита ПП-35 «Тест»"}}};
        add.install(f);
        w.userClick("cmdAdd");
        QCOMPARE(add.caption, QStringLiteral("Новый материал"));
        QCOMPARE(add.shown, QStringList(7));
        QCOMPARE(f.prompter.texts(), QStringList{"Поле «Наименование»: материал «Железобетон» уже есть в каталоге "
                                                 "(№ 1). Введите другое наименование."});
        // the name field is marked until the second name is typed
        QCOMPARE(add.marked.value(0), QStringList{"txtName"});
        QVERIFY(!add.stillOpen);
        const QString line137 = QStringLiteral("137 Плита ПП-35 «Тест»;35;0,037;0,039;0,35;0,4;0,05");
        QCOMPARE(readAll(file), encodeCp1251(line137 + "\r\n"));
        QCOMPARE(f.ctx.tables.materials.size(), 137);
        // the new material is chosen and shown as the user's own
        QCOMPARE(w.currentIndex("grdM"), 136);
        QCOMPARE(w.rows("grdM")[136],
                 (QStringList{"137", "Плита ПП-35 «Тест»", "35", "0,037", "0,039", "0,35", "0,4", "0,05", "свой"}));
        QVERIFY(w.isEnabled("cmdEdit") && w.isEnabled("cmdDel"));
        QCOMPARE(w.text("cboM"), QStringLiteral("137 Плита ПП-35 «Тест»"));
        QCOMPARE(w.text("txtM"), QStringLiteral("35"));
        // it goes into a row of the main window from here and from the main window's list
        w.userSelect("lstM", 2);
        w.userDblClick("lstM");
        const QStringList row3{"J=35. Плита ПП-35 «Тест»", "3", "60", "3", "0,037", "0,039", "0,35", "0,4", "0,05"};
        QCOMPARE(rowTexts(f.main(), 3), row3);
        QCOMPARE(f.main().items("cboM").last(), QStringLiteral("137 Плита ПП-35 «Тест»"));
        f.main().userEdit("cboM", "тест");
        QCOMPARE(f.main().items("cboM"), QStringList{"137 Плита ПП-35 «Тест»"});
        f.main().userSelect("cboM", 0);
        f.main().userSelect("lstM", 5);
        f.main().userDblClick("lstM");
        QCOMPARE(rowTexts(f.main(), 6),
                 (QStringList{"J=35. Плита ПП-35 «Тест»", "6", "", "", "0,037", "0,039", "0,35", "0,4", "0,05"}));

        // "Изменить" starts from the stored values
        f.prompter.clear();
        EntrySteps change{{{"", "", "0,036"}}};
        change.install(f);
        w.userClick("cmdEdit");
        QCOMPARE(change.shown, (QStringList{"Плита ПП-35 «Тест»", "35", "0,037", "0,039", "0,35", "0,4", "0,05"}));
        QCOMPARE(f.prompter.texts(), QStringList{"Поле «Наименование» не заполнено. Введите наименование материала."});
        QCOMPARE(change.marked.value(0), QStringList{"txtName"});
        QVERIFY(change.stillOpen);
        QCOMPARE(readAll(file), encodeCp1251(line137 + "\r\n"));  // nothing written
        change.steps = {{"Плита ПП-35 «Тест»", "35", "0,036"}};
        w.userClick("cmdEdit");
        QVERIFY(!change.stillOpen);
        QCOMPARE(readAll(file), encodeCp1251("137 Плита ПП-35 «Тест»;35;0,036;0,039;0,35;0,4;0,05\r\n"));
        QVERIFY(f.main().text("lblM").contains(QStringLiteral("А - 0,036")));  // the main window's choice
        QCOMPARE(f.main().cell(6, 4), QStringLiteral("0,037"));  // rows already filled stay

        // "Копировать" from a shipped material, under a name not taken
        w.userSelect("grdM", 0);
        QCOMPARE(w.text("cboM"), QStringLiteral("1 Железобетон"));
        EntrySteps copy{{{}}};
        copy.install(f);
        w.userClick("cmdCopy");
        QCOMPARE(copy.shown, (QStringList{"Железобетон (копия)", "2500", "1,92", "2,04", "17,98", "18,95", "0,03"}));
        w.userSelect("grdM", 0);
        copy.steps = {{"Отмена"}};
        w.userClick("cmdCopy");
        QCOMPARE(copy.shown.value(0), QStringLiteral("Железобетон (копия 2)"));
        QCOMPARE(f.ctx.tables.materials.size(), 138);  // the cancelled one is not stored
        QCOMPARE(f.ctx.tables.materials[137].name(), QStringLiteral("138 Железобетон (копия)"));

        // "Удалить": only own materials, after a question; the later ones are numbered on
        w.userSelect("grdM", 1);
        QVERIFY(!w.isEnabled("cmdDel"));
        w.userClick("cmdDel");
        QCOMPARE(f.ctx.tables.materials.size(), 138);
        f.main().userSelect("cboM", 137);  // the main window has the copy chosen
        w.userSelect("grdM", rowOfNumber(w, "137"));
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::No};
        w.userClick("cmdDel");
        QCOMPARE(f.ctx.tables.materials.size(), 138);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("Удалить свой материал «Плита ПП-35 «Тест»»?\rСлои, в "
                                                          "которые он уже вставлен, не изменятся."));
        w.userClick("cmdDel");  // answered Yes
        QCOMPARE(readAll(file), encodeCp1251("137 Железобетон (копия);2500;1,92;2,04;17,98;18,95;0,03\r\n"));
        QCOMPARE(f.main().items("cboM").size(), 137);
        QCOMPARE(f.main().text("cboM"), QStringLiteral("137 Железобетон (копия)"));  // the same material, renumbered
        QCOMPARE(w.currentIndex("grdM"), -1);  // the deleted one was chosen here
        QCOMPARE(w.text("lblM"), QString());
        QVERIFY(!w.isEnabled("cmdEdit") && !w.isEnabled("cmdDel") && !w.isEnabled("cmdCopy"));
        w.userSelect("lstM", 0);
        w.userDblClick("lstM");  // nothing chosen: nothing inserted
        QCOMPARE(f.main().cell(1, 0), QStringLiteral("Штукатурка изв.-песч"));
        QCOMPARE(rowTexts(f.main(), 3), row3);

        // the file is read back at the next start with the same numbers
        RefTables again = f.ctx.tables;
        again.materials = test::shippedTables().materials + readUserMaterials(readTextLines(file), file, 137);
        QCOMPARE(again.materials.last().fields, f.ctx.tables.materials.last().fields);
    }

    void ownMaterialThatCannotBeWrittenIsNotKept()
    {
        Fixture f;
        f.ctx.settings.dataDir = f.root + QStringLiteral("/нет такой папки");
        MaterialsForm& w = catalogue(f);
        EntrySteps add{{{"Плита", "35", "0,037", "0,039", "0,35", "0,4", "0,05"}}};
        add.install(f);
        w.userClick("cmdAdd");
        QVERIFY(add.stillOpen);
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("нет такой папки")),
                 qPrintable(f.prompter.shown[0].text));
        QCOMPARE(f.ctx.tables.materials.size(), 136);
        QCOMPARE(f.main().items("cboM").size(), 136);
        QCOMPARE(w.rows("grdM").size(), 136);
    }

    void damagedOwnFileIsReportedAndNotWritten()
    {
        QTemporaryDir dir;
        test::RecordingPrompter prompter;
        test::FakeHost host;
        AppContext ctx(prompter);
        ctx.settings = defaultDirectories(dir.path());
        ctx.tables = test::shippedTables();
        ctx.tables.userMaterialsProblem = QStringLiteral("Файл своих материалов \"x\", строка 2: нет наименования "
                                                         "материала.\rФайл оставлен без изменений.");
        ctx.host = &host;
        Application app(ctx);
        app.mainForm().loadForm();
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, ctx.tables.userMaterialsProblem);
        QCOMPARE(prompter.shown[0].title, QStringLiteral("Внимание!"));
        QCOMPARE(app.mainForm().items("cboM").size(), 136);
        auto& w = app.formAs<MaterialsForm>();
        w.loadForm();
        QCOMPARE(w.text("lblOwn"), QStringLiteral("Файл своих материалов \"x\", строка 2: нет наименования материала. "
                                                  "Файл оставлен без изменений."));
        QCOMPARE(w.foreground("lblOwn"), kRed);
        for (const char* b : {"cmdAdd", "cmdEdit", "cmdCopy", "cmdDel"})
            QVERIFY2(!w.isEnabled(b), b);
        w.userClick("cmdAdd");
        QVERIFY(host.opened.isEmpty());
        QVERIFY(!QFile::exists(userMaterialsPath(dir.path())));
    }

    void catalogueSortsAndFilters()
    {
        Fixture f;
        MaterialsForm& w = catalogue(f);
        w.userEdit("txtFind", "КИРПИЧ");
        QCOMPARE(tableNumbers(w), QStringLiteral("38 39 40 41 42 43 44 45 46 47 48 49"));
        // density up, then down; equal densities keep the catalogue order
        w.userSort("grdM", 2);
        QCOMPARE(tableNumbers(w), QStringLiteral("43 42 47 46 49 44 48 40 45 39 38 41"));
        w.userSort("grdM", 2);
        QCOMPARE(tableNumbers(w), QStringLiteral("38 41 39 40 45 44 48 46 49 42 47 43"));
        QVERIFY(w.control("grdM").sortDescending);
        // a row chosen in the table is the picker's material
        w.userSelect("grdM", 2);
        QVERIFY(w.text("lblM").startsWith(QStringLiteral("39 Кладка из глиняного")));
        QCOMPARE(w.text("txtM"), QStringLiteral("1700"));
        // by number, the numbers as numbers ("100" after "99")
        w.userEdit("txtFind", "пенопол");
        w.userSort("grdM", 0);
        QCOMPARE(tableNumbers(w), QStringLiteral("94 95 96 99 100 101"));
        w.userSort("grdM", 0);
        QCOMPARE(tableNumbers(w), QStringLiteral("101 100 99 96 95 94"));
        // by name, alphabetically without regard to case
        w.userEdit("txtFind", "");
        w.userSort("grdM", 1);
        QCOMPARE(w.rows("grdM").first().value(1), QStringLiteral("Алюминий"));
        QCOMPARE(w.rows("grdM").last().value(1), QStringLiteral("Щебень из доменного шлака (ГОСТ 5578)"));
        // own materials only
        w.userCheck("chkOwn", true);
        QVERIFY(w.rows("grdM").isEmpty());
        EntrySteps add{{{"Блок ячеистый D400", "400", "0,1", "0,11", "1,9", "2", "0,23"}}};
        add.install(f);
        w.userClick("cmdAdd");
        QCOMPARE(tableNumbers(w), QStringLiteral("137"));
        QCOMPARE(w.rows("grdM")[0].value(8), QStringLiteral("свой"));
    }

    void windowsAndTheirControls()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Результаты"));
        test::AppFixture f;
        AppContext& ctx = f.ctx;
        Application& app = *f.app;
        ctx.settings = defaultDirectories(dir.path());

        auto& save = app.formAs<SaveDialogForm>();
        auto& rows = app.formAs<RowOperationsForm>();
        auto& materials = app.formAs<MaterialsForm>();
        save.loadForm();
        rows.loadForm();
        materials.loadForm();
        SaveDialogWindow saveWindow(save);
        RowOperationsWindow rowsWindow(rows);
        MaterialsWindow materialsWindow(materials);
        MaterialEditWindow editWindow(materials.editForm());
        for (FormWindow* w : {static_cast<FormWindow*>(&saveWindow), static_cast<FormWindow*>(&rowsWindow),
                              static_cast<FormWindow*>(&materialsWindow), static_cast<FormWindow*>(&editWindow)}) {
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

        // the catalogue: typing into the list, a click on a heading, a row chosen
        materialsWindow.show();
        auto* list = materialsWindow.findChild<QComboBox*>("cboM");
        QVERIFY(list->isEditable());
        list->lineEdit()->selectAll();
        for (QChar c : QStringLiteral("белт"))  // keyClicks takes Latin letters only
            QTest::sendKeyEvent(QTest::Click, list->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(materials.items("cboM"), QStringList{"93 Белтеп ПП100"});
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->currentText(), QStringLiteral("белт"));
        QCOMPARE(list->lineEdit()->cursorPosition(), 4);
        auto* grid = materialsWindow.findChild<QTableWidget*>("grdM");
        QCOMPARE(grid->rowCount(), 136);
        QCOMPARE(grid->item(92, 1)->text(), QStringLiteral("Белтеп ПП100"));
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grid->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
        QCOMPARE(materials.control("grdM").sortColumn, 2);
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("40"));  // the lightest: 40 kg/m3
        // the row list stays where it is, whatever the description above it
        auto* rowList = materialsWindow.findChild<QListWidget*>("lstM");
        QCoreApplication::processEvents();
        const QPoint listAt = rowList->mapTo(&materialsWindow, QPoint(0, 0));
        materials.userSelect("cboM", 0);
        QCoreApplication::processEvents();
        QCOMPARE(rowList->mapTo(&materialsWindow, QPoint(0, 0)), listAt);
        grid->setCurrentCell(3, 1);
        QCOMPARE(materials.currentIndex("grdM"), 3);
        QCOMPARE(materials.text("cboM"), f.ctx.tables.materials[materials.materialOfRow(3)].name());

        // Enter in a field of the entry window is "ОК"
        QStringList accepted;
        materials.editForm().prepare(QStringLiteral("Новый материал"), {}, [&](const QStringList& t) { accepted = t; });
        materials.editForm().loadForm();
        editWindow.show();
        auto* density = editWindow.findChild<QLineEdit*>("txtDensity");
        density->setFocus();
        QTest::keyClicks(density, "35.5");
        QTest::keyClick(density, Qt::Key_Return);
        QCOMPARE(accepted, (QStringList{"", "35,5", "", "", "", "", ""}));
        QVERIFY(!materials.editForm().isLoaded());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
