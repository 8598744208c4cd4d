// SPDX-License-Identifier: GPL-3.0-or-later
// The layer-stack library: its file written and read back byte for byte, damaged
// files refused without a change, the operations of the two library windows, the
// stack put into the main window's grid, and `ogrado_calc --stack`.
#include "program/application.h"
#include "batch/batch.h"
#include "common/app_error.h"
#include "common/guide_text.h"
#include "library/layer_stack_library.h"
#include "library/open_pir_form.h"
#include "library/pir_form.h"
#include "library/library_windows.h"
#include "test_app.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextStream>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace ogrado;

namespace {

// The bytes the file must hold: Windows-1251, every line ended by CR LF.
QByteArray fileBytes(const QStringList& lines)
{
    QStringEncoder cp1251("windows-1251");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray(cp1251.encode(line)) + "\r\n";
    return bytes;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString cell(int row, int column)
{
    return MainForm::cellName(row, column);
}

// Two stacks of the same name and a third; the cells are those of the example wall.
const QStringList kThreeStacks = {
    "\\Стена",
    "первая",
    "Штукатурка изв.-песч;20;0;0,7;0,81;8,69;9,76;0,12",
    "Газосиликат D=500;250;3;0,15;0,16;2,38;2,48;0,2",
    "\\Стена",
    "вторая",
    "Кирпич;380;2;0,7;0,81;9,2;10,12;0,11",
    "\\Кровля",
    "третья",
    "Плита;100;3;0,041;0,042;0,58;0,65;0,48",
    "END",
};

struct Fixture : test::AppFixture {
    Fixture() { ctx.settings.dataDir = dir.path(); }
    QString path() const { return libraryFilePath(dir.path()); }
    PirForm& pir() { return app->formAs<PirForm>(); }
    OpenPirForm& openPir() { return app->formAs<OpenPirForm>(); }
    // "Сохранить пирожок": collect the grid, open frmPir.
    PirForm& openEditor()
    {
        main().userClick("cmdSp");
        return pir();
    }
    PirForm& openEditorOn(const QStringList& lines)
    {
        writeBytes(path(), fileBytes(lines));
        return openEditor();
    }
    OpenPirForm& openLoader()
    {
        main().userClick("cmdOp");
        return openPir();
    }

    QTemporaryDir dir;
};

}  // namespace

class TestLibrary : public QObject {
    Q_OBJECT
private slots:
    void writeAndReadBack()
    {
        QTemporaryDir dir;
        const QString path = libraryFilePath(dir.path());
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Стенарий пирожки.txt"));

        LayerStackLibrary lib;
        lib.stacks.append({"  Стена Б-1 ", " газосиликат и утеплитель  ",
                           {{"Газосиликат D=500", "250", "3", "0,15", "0,16", "2,38", "2,48", "0,2"},
                            {" Белтеп ПП100 ", " 60", "3 ", "0,041", "0,042", "0,58", "0,65", " 0,48 "}}});
        lib.stacks.append({"Пустой", "", {}});
        SaveLibraryFile(path, lib);
        // The file as written, worked out by hand: "\" name lines, ";" between cells.
        QCOMPARE(readBytes(path), fileBytes({"\\  Стена Б-1 ", " газосиликат и утеплитель  ",
                                             "Газосиликат D=500;250;3;0,15;0,16;2,38;2,48;0,2",
                                             " Белтеп ПП100 ; 60;3 ;0,041;0,042;0,58;0,65; 0,48 ", "\\Пустой", "",
                                             "END"}));

        const LayerStackLibrary back = LoadLibraryFile(path);
        QCOMPARE(back.stackCount(), 2);
        QCOMPARE(back.stacks[0].name, QStringLiteral("Стена Б-1"));
        QCOMPARE(back.stacks[0].description, QStringLiteral("газосиликат и утеплитель"));
        QCOMPARE(back.stacks[0].layerCount(), 2);
        QCOMPARE(back.stacks[0].layers[0], lib.stacks[0].layers[0]);
        const StackLayer trimmed = {"Белтеп ПП100", "60", "3", "0,041", "0,042", "0,58", "0,65", "0,48"};
        QCOMPARE(back.stacks[0].layers[1], trimmed);
        QCOMPARE(back.stacks[1].name, QStringLiteral("Пустой"));
        QCOMPARE(back.stacks[1].layerCount(), 0);
        QCOMPARE(back.find(" Пустой "), 2);
        QCOMPARE(back.find("Нет такого"), 0);
    }

    void readingEdgeCases()
    {
        const QString path = QStringLiteral("/x/Стенарий пирожки.txt");
        QCOMPARE(parseLibraryLines({"END"}, path).stackCount(), 0);
        QCOMPARE(parseLibraryLines({}, path).stackCount(), 0);
        QTemporaryDir dir;
        QCOMPARE(LoadLibraryFile(libraryFilePath(dir.path())).stackCount(), 0);  // no file yet

        // Reading stops at "END", whatever follows; an empty line holds no layer.
        const LayerStackLibrary lib =
            parseLibraryLines({"\\А", "описание", "", "a;1;2;3;4;5;6;7", "", "END", "\\Б", "мусор", "", "END"}, path);
        QCOMPARE(lib.stackCount(), 1);
        QCOMPARE(lib.stacks[0].layerCount(), 1);
        // A ninth field stays in the last cell: ";" only separates the first eight.
        const LayerStackLibrary nine = parseLibraryLines({"\\А", "", "a;b;1;2;3;4;5;6;7", "END"}, path);
        const StackLayer shifted = {"a", "b", "1", "2", "3", "4", "5", "6;7"};
        QCOMPARE(nine.stacks[0].layers[0], shifted);

        // No fixed capacity: 600 stacks of 12 layers each.
        QStringList many;
        for (int s = 1; s <= 600; ++s) {
            many << QStringLiteral("\\Стек %1").arg(s) << QString();
            for (int l = 1; l <= 12; ++l)
                many << QStringLiteral("Слой %1;%2;0;1;1;1;1;1").arg(l).arg(s);
        }
        many << "END";
        const LayerStackLibrary big = parseLibraryLines(many, path);
        QCOMPARE(big.stackCount(), 600);
        QCOMPARE(big.stacks[599].layerCount(), 12);
        QCOMPARE(big.stacks[599].layers[11][1], QStringLiteral("600"));
    }

    void damagedFilesAreReportedWithTheirLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("where");
        QTest::newRow("short layer line") << QStringList{"\\А", "", "a;1;2;3;4;5;6;7", "b;1;2;3;4;5;6", "END"}
                                          << "в строке 4 у слоя меньше восьми граф";
        QTest::newRow("no name line") << QStringList{"Стена", "", "a;1;2;3;4;5;6;7", "END"}
                                      << "в строке 1 ожидается имя пирожка";
        QTest::newRow("no END after layers") << QStringList{"\\А", "", "a;1;2;3;4;5;6;7"}
                                             << "после строки 3 файл кончается без завершающей строки «END»";
        QTest::newRow("no END after a name") << QStringList{"\\А", "", "a;1;2;3;4;5;6;7", "\\Б"}
                                             << "после строки 4 файл кончается";
    }
    void damagedFilesAreReportedWithTheirLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, where);
        Fixture f;
        const QByteArray before = fileBytes(lines);
        writeBytes(f.path(), before);
        EXPECT_APP_ERROR(LoadLibraryFile(f.path()), "a damaged file was read", [&](const AppError& e) {
            QVERIFY2(e.message().contains(where), qPrintable(e.message()));
            QVERIFY(e.message().contains(QDir::toNativeSeparators(f.path())));
        });

        // Both windows open on an empty list with nothing to press but "Выход", and
        // the file stays as it is.
        PirForm& pir = f.openEditor();
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.contains(where));
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QVERIFY(pir.items("cbo1").isEmpty());
        for (const char* b : {"cmdSave", "cmdRen", "cmdDel"})
            QVERIFY2(!pir.isEnabled(b), b);
        pir.userClick("cmdSave");
        OpenPirForm& open = f.openLoader();
        QVERIFY(open.items("lst1").isEmpty());
        QVERIFY(!open.isEnabled("cmdOpen"));
        QCOMPARE(f.prompter.shown.size(), 2);
        QCOMPARE(readBytes(f.path()), before);
    }

    void newStackProposalAndAdd()
    {
        Fixture f;
        MainForm& m = f.main();
        // Rows of 380, 100 and 20 mm; row 2 excluded and row 5 without a thickness
        // are not collected.
        m.setText(cell(1, 2), "380");
        m.userCheck("chkIskl_2", true);
        m.setText(cell(3, 2), "100");
        m.setText(cell(4, 2), "20");
        m.setText(cell(5, 0), "Без толщины");
        PirForm& pir = f.openEditor();
        QVERIFY(f.prompter.shown.isEmpty());
        QCOMPARE(pir.text("txt1_0"), QStringLiteral("380+100+20"));
        QCOMPARE(pir.text("txt1_1"), QStringLiteral("Штукатурка изв.-песч - 380 мм.  + Белтеп ПП100 - 100 мм.  + "
                                                     "Штукатурка ц-песчаная - 20 мм. "));
        // No file: an empty list, only "Добавить" to press, and no file created.
        QVERIFY(pir.items("cbo1").isEmpty());
        QVERIFY(pir.isEnabled("cmdSave"));
        QVERIFY(!pir.isEnabled("cmdRen"));
        QVERIFY(!pir.isEnabled("cmdDel"));
        QVERIFY(!QFile::exists(f.path()));

        pir.userClick("cmdSave");
        QVERIFY(f.prompter.shown.isEmpty());
        QCOMPARE(readBytes(f.path()),
                 fileBytes({"\\380+100+20",
                            "Штукатурка изв.-песч - 380 мм.  + Белтеп ПП100 - 100 мм.  + Штукатурка ц-песчаная - 20 мм.",
                            "Штукатурка изв.-песч;380;0;0,7;0,81;8,69;9,76;0,12",
                            "Белтеп ПП100;100;3;0,041;0,042;0,58;0,65;0,48",
                            "Штукатурка ц-песчаная;20;0;0,76;0,93;9,6;11,09;0,09", "END"}));
        QVERIFY(pir.isEnabled("cmdRen"));

        // A second stack goes last; the first is chosen again.
        pir.setText("txt1_0", "  Вторая  ");
        pir.userClick("cmdSave");
        QCOMPARE(pir.items("cbo1"), (QStringList{"380+100+20", "Вторая"}));
        QCOMPARE(pir.selectedStack(), 1);

        // "Сохранить пирожок" again while the window is open proposes the grid anew.
        m.setText(cell(4, 2), "30");
        m.userClick("cmdSp");
        QCOMPARE(pir.text("txt1_0"), QStringLiteral("380+100+30"));
    }

    void addRefusesTextsTheFileCannotHold_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("separator in a name") << 2 << 0 << "Газосиликат; D=500"
                                             << "в строке 2 таблицы слоев в графе «Наименование» стоит знак «;»";
        QTest::newRow("separator in μ") << 4 << 8 << "0,09;1"
                                        << "в строке 4 таблицы слоев в графе «μ» стоит знак «;»";
        QTest::newRow("name line mark") << 3 << 0 << " \\Белтеп"
                                        << "в графе «Наименование» текст начинается со знака «\\»";
        QTest::newRow("outside the code page") << 1 << 0 << "Штукатурка λ=0,7"
                                               << "стоит знак «λ», которого нет в кодировке Windows-1251";
    }
    void addRefusesTextsTheFileCannotHold()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Fixture f;
        f.main().setText(cell(row, column), text);
        PirForm& pir = f.openEditorOn(kThreeStacks);
        const QByteArray before = readBytes(f.path());
        pir.userClick("cmdSave");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.startsWith("Пирожок не добавлен."), qPrintable(f.prompter.shown[0].text));
        QVERIFY2(f.prompter.shown[0].text.contains(expected, Qt::CaseInsensitive), qPrintable(f.prompter.shown[0].text));
        QCOMPARE(readBytes(f.path()), before);
        QCOMPARE(pir.library().stackCount(), 3);
        QCOMPARE(pir.items("cbo1").size(), 3);
    }

    void renameAndDeleteByPosition()
    {
        Fixture f;
        PirForm& pir = f.openEditorOn(kThreeStacks);
        QCOMPARE(pir.items("cbo1"), (QStringList{"Стена", "Стена", "Кровля"}));
        QCOMPARE(pir.selectedStack(), 1);
        QCOMPARE(pir.text("txtOp"), QStringLiteral("первая"));

        // The second "Стена" is chosen; a typed name that happens to be the third
        // stack's does not change which stack is renamed.
        pir.userSelect("cbo1", 1);
        QCOMPARE(pir.selectedStack(), 2);
        QCOMPARE(pir.text("txtOp"), QStringLiteral("вторая"));
        pir.userEdit("cbo1", "Кровля");
        pir.userEdit("txtOp", " кирпич 380 ");
        pir.userClick("cmdRen");
        QVERIFY(f.prompter.shown.isEmpty());
        QCOMPARE(readBytes(f.path()),
                 fileBytes({"\\Стена", "первая", "Штукатурка изв.-песч;20;0;0,7;0,81;8,69;9,76;0,12",
                            "Газосиликат D=500;250;3;0,15;0,16;2,38;2,48;0,2", "\\Кровля", "кирпич 380",
                            "Кирпич;380;2;0,7;0,81;9,2;10,12;0,11", "\\Кровля", "третья",
                            "Плита;100;3;0,041;0,042;0,58;0,65;0,48", "END"}));
        QCOMPARE(pir.items("cbo1"), (QStringList{"Стена", "Кровля", "Кровля"}));
        QCOMPARE(pir.selectedStack(), 1);

        // Deleting the first moves the others forward.
        pir.userClick("cmdDel");
        QCOMPARE(pir.items("cbo1"), (QStringList{"Кровля", "Кровля"}));
        QCOMPARE(pir.library().stacks[0].description, QStringLiteral("кирпич 380"));
        QCOMPARE(pir.library().stacks[0].layers[0][0], QStringLiteral("Кирпич"));
        QCOMPARE(pir.library().stacks[1].description, QStringLiteral("третья"));

        // A name typed that is none of the list's: nothing is deleted in its place.
        const QByteArray before = readBytes(f.path());
        pir.userEdit("cbo1", "Новое имя");
        QCOMPARE(pir.currentIndex("cbo1"), -1);
        pir.userClick("cmdDel");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith("Пирожок не удален"));
        QCOMPARE(readBytes(f.path()), before);
        // ... and a double click loads nothing.
        pir.userDblClick("cbo1");
        QCOMPARE(f.main().text(cell(1, 0)), QStringLiteral("Штукатурка изв.-песч"));

        // Deleting the last two leaves the single line "END" and nothing to rename.
        pir.userSelect("cbo1", 0);
        pir.userClick("cmdDel");
        pir.userClick("cmdDel");
        QCOMPARE(readBytes(f.path()), fileBytes({"END"}));
        QVERIFY(pir.text("txtOp").isEmpty());
        QVERIFY(!pir.isEnabled("cmdRen"));
    }

    // A library read from a UTF-8 file may hold a character that the Windows-1251 file
    // cannot: a change is refused naming it, instead of turning it into "?" on disk.
    void aLibraryWithATextOutsideTheCodePageIsNotRewrittenWithQuestionMarks()
    {
        Fixture f;
        QStringList lines = kThreeStacks;
        lines[6] = QStringLiteral("Кирпич λ≤0,7;380;2;0,7;0,81;9,2;10,12;0,11");
        const QByteArray utf8 = (QStringLiteral("\uFEFF") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
        writeBytes(f.path(), utf8);
        PirForm& pir = f.openEditor();
        QCOMPARE(pir.items("cbo1").size(), 3);
        pir.userSelect("cbo1", 2);
        pir.userClick("cmdDel");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("«λ»")) &&
                     f.prompter.shown[0].text.contains(QStringLiteral("строке 7")),
                 qPrintable(f.prompter.shown[0].text));
        QCOMPARE(readBytes(f.path()), utf8);
        QCOMPARE(pir.items("cbo1").size(), 3);
    }

    // Windows-1251 bytes that are valid UTF-8 throughout would read back as other
    // characters: such a library is refused, not stored to change.
    void aLibraryThatWouldReadBackAsUtf8IsRefused()
    {
        QTemporaryDir dir;
        const QString path = libraryFilePath(dir.path());
        LayerStackLibrary lib;
        lib.stacks.append({QStringLiteral("В°"), QStringLiteral("x"), {{"A", "1", "0", "1", "1", "1", "1", "1"}}});
        QVERIFY_THROWS_EXCEPTION(AppError, SaveLibraryFile(path, lib));
        QVERIFY(!QFile::exists(path));
        lib.stacks[0].name = QStringLiteral("Стена В°");
        SaveLibraryFile(path, lib);
        QCOMPARE(LoadLibraryFile(path).stacks[0].name, QStringLiteral("Стена В°"));
    }

    void failedSaveLeavesTheFile()
    {
#ifdef Q_OS_UNIX
        Fixture f;
        PirForm& pir = f.openEditorOn(kThreeStacks);
        const QByteArray before = readBytes(f.path());
        // Files may not grow beyond a few bytes: the new library cannot be written.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
        pir.userClick("cmdSave");
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.contains("Не удается записать файл"), qPrintable(f.prompter.shown[0].text));
        QVERIFY(f.prompter.shown[0].text.contains("Библиотека пирожков не изменена"));
        QCOMPARE(readBytes(f.path()), before);
        QCOMPARE(pir.items("cbo1").size(), 3);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
#else
        QSKIP("needs a file size limit");
#endif
    }

    void quickAndFullLoadIntoTheGrid()
    {
        for (const StackLoad variant : {StackLoad::Quick, StackLoad::Full}) {
            Fixture f;
            MainForm& m = f.main();
            m.setBackground(cell(2, 4), kHighlight);
            m.setBackground(cell(6, 8), kRed);
            m.userCheck("chkIskl_3", true);
            QCOMPARE(m.text(cell(4, 1)), QStringLiteral("3"));
            const LayerStack stack{"Кирпичная", "", {{"Кирпич", "380", "2", "0,7", "0,81", "9,2", "10,12", "0,11"},
                                                     {"Плита", "100", "3", "0,041", "0,042", "0,58", "0,65", "0,48"}}};
            LoadStackIntoTable(m, stack, variant);
            const bool full = variant == StackLoad::Full;
            for (int k = 1; k <= 8; ++k)
                QVERIFY(!m.isChecked(QStringLiteral("chkIskl_%1").arg(k)));
            for (int c = 0; c <= 8; ++c)
                QVERIFY(m.isEnabled(cell(3, c)));
            QCOMPARE(m.text(cell(1, 0)), QStringLiteral("Кирпич"));
            QCOMPARE(m.text(cell(1, 2)), QStringLiteral("380"));
            QCOMPARE(m.text(cell(1, 8)), QStringLiteral("0,11"));
            QCOMPARE(m.text(cell(2, 0)), QStringLiteral("Плита"));
            QCOMPARE(m.text(cell(2, 5)), QStringLiteral("0,042"));
            for (int r = 3; r <= 8; ++r)
                for (int c : {0, 2, 3, 4, 8})
                    QVERIFY(m.text(cell(r, c)).isEmpty());
            for (int r = 1; r <= 6; ++r)
                QCOMPARE(m.text(cell(r, 1)), QString::number(r));
            QCOMPARE(m.text(cell(7, 1)), full ? QStringLiteral("7") : QString());
            QCOMPARE(m.text(cell(8, 1)), full ? QStringLiteral("8") : QString());
            QCOMPARE(m.background(cell(2, 4)), full ? kWhite : kHighlight);
            QCOMPARE(m.background(cell(6, 8)), full ? kWhite : kRed);

            // The loaded grid calculates as the stack: two layers, numbered 1 and 2.
            m.collectInput();
            QCOMPARE(f.ctx.layerTable.count(), 2);
            QCOMPARE(f.ctx.layerTable.layers[1].cell(kColNumber), QStringLiteral("2"));
            QCOMPARE(f.ctx.layerTable.layers[1].cell(kColThickness), QStringLiteral("100"));
        }
    }

    void shippedTypicalWallsRunToAVerdict()
    {
        const LayerStackLibrary library = LoadLibraryFile(libraryFilePath(QStringLiteral(OGRADO_SHIPPED_DATA)));
        QCOMPARE(library.stackCount(), 5);
        const MaterialTable shipped = test::shippedTables().materials;
        // the ventilated facade fails п. 9.1 with its cladding, as its description says
        const QVector<bool> complies{true, true, true, false, true};
        for (int k = 1; k <= library.stackCount(); ++k) {
            const LayerStack& s = library.stack(k);
            QVERIFY2(s.description.contains(QStringLiteral("«Стенарий материалы ТКП.txt»")), qPrintable(s.name));
            // each layer is a shipped material as its insertion into a row writes it
            for (const StackLayer& l : s.layers) {
                auto same = [&](const Material& m) {
                    if (l[0] != QStringLiteral("J=") + m.field(2) + QStringLiteral(". ") + m.plainName())
                        return false;
                    for (int c = 3; c <= 7; ++c)
                        if (l[c] != m.field(c))
                            return false;
                    return true;
                };
                QVERIFY2(std::any_of(shipped.begin(), shipped.end(), same), qPrintable(s.name + u' ' + l[0]));
            }
            Fixture f;
            LoadStackIntoTable(f.main(), s, StackLoad::Full);
            f.main().userEdit("txtRtNorm", "");  // Rт.тр. and п. 9.1, as the README of the data says
            f.main().userClick("cmdOk");
            QVERIFY2(f.prompter.shown.isEmpty(), qPrintable(f.prompter.texts().join(u'|')));
            QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
            QCOMPARE(f.ctx.layerTable.count(), s.layerCount());
            const QString verdict = f.ctx.report.lines().last();
            QCOMPARE(verdict, complies[k - 1] ? QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция "
                                                               "СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43.")
                                              : QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция НЕ "
                                                               "СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43."));
            if (k == 1) {
                // condition Б: 1/8,7 + 0,02/0,81 + 0,4/0,16 + 0,02/0,93 + 1/23 = 2,7046
                QCOMPARE(f.main().text("txtRt"), QStringLiteral("2,70"));
            }
        }
    }

    // The ventilated facade's description says in which regions and from which inside
    // humidity its cladding fails п. 9.1; the calculation must bear out every claim.
    void ventilatedFacadeDescriptionNamesWhereItFails()
    {
        const LayerStackLibrary library = LoadLibraryFile(libraryFilePath(QStringLiteral(OGRADO_SHIPPED_DATA)));
        const LayerStack& facade = library.stack(4);
        QVERIFY(facade.name.startsWith(QStringLiteral("Вентилируемый фасад")));
        QVERIFY(facade.description.contains(
            QStringLiteral("не выполняются в Витебской и Могилевской областях (tот.=-2°С) и выполняются в остальных, "
                           "но не выполняются и там при фи(в) от 56% в Минской и Гомельской, от 58% в Брестской, "
                           "от 59% в Гродненской области")));
        // the guide's table of the shipped data says what the library holds
        const QString guide = guideMarkdown();
        QVERIFY(guide.contains(QStringLiteral("| Библиотека пирожков | пять типовых наружных стен")));
        QVERIFY(!guide.contains(QStringLiteral("поставляется пустой")));
        // region → the lowest inside humidity at which п. 9.1 fails
        const QList<QPair<QString, int>> firstFailing{{QStringLiteral("Брестская"), 58},
                                                      {QStringLiteral("Витебская"), 55},
                                                      {QStringLiteral("Гомельская"), 56},
                                                      {QStringLiteral("Гродненская"), 59},
                                                      {QStringLiteral("Минская"), 56},
                                                      {QStringLiteral("Могилевская"), 55}};
        for (const auto& [region, from] : firstFailing) {
            for (const int phi : {from - 1, from}) {
                if (phi < 55)
                    continue;
                Fixture f;
                LoadStackIntoTable(f.main(), facade, StackLoad::Full);
                const int index = f.main().items("cboObl").indexOf(region);
                QVERIFY2(index >= 0, qPrintable(region));
                f.main().userSelect("cboObl", index);
                f.main().userEdit("txtFiv", QString::number(phi));
                f.main().userClick("cmdOk");
                QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
                const bool fails = f.ctx.report.lines().join(u'\n').contains(QStringLiteral("Требования п. 9.1 ТКП 45-2.04-43 не выполнены"));
                QVERIFY2(fails == (phi >= from), qPrintable(region + u' ' + QString::number(phi)));
            }
        }
    }

    void stackLongerThanTheGridIsRefused()
    {
        Fixture f;
        QStringList lines{"\\Девять слоев", ""};
        for (int l = 1; l <= 9; ++l)
            lines << QStringLiteral("Слой %1;10;0;1;1;1;1;1").arg(l);
        lines << "END";
        writeBytes(f.path(), fileBytes(lines));
        OpenPirForm& open = f.openLoader();
        open.userClick("cmdOpen");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.contains("в нем 9 слоев"), qPrintable(f.prompter.shown[0].text));
        QVERIFY(open.isLoaded());
        QCOMPARE(f.main().text(cell(1, 0)), QStringLiteral("Штукатурка изв.-песч"));  // grid untouched
        QCOMPARE(f.main().text(cell(5, 0)), QString());
    }

    void windowsLoadTheChosenStack()
    {
        Fixture f;
        writeBytes(f.path(), fileBytes(kThreeStacks));
        PirForm& pir = f.openEditor();
        QCOMPARE(pir.placement(QRect(1500, 300, 15000, 12000)), QPoint(1500, 400));

        // frmPir: a double click fills the grid quickly and the window stays.
        pir.userSelect("cbo1", 2);
        pir.userDblClick("cbo1");
        QVERIFY(pir.isLoaded());
        QCOMPARE(f.main().text(cell(1, 0)), QStringLiteral("Плита"));
        QCOMPARE(f.main().text(cell(7, 1)), QString());

        // frmOpenPir: the list and the description of the first; a double click
        // loads quickly and closes.
        OpenPirForm& open = f.openLoader();
        QCOMPARE(open.placement(QRect(1500, 300, 15000, 12000)), QPoint(1500, 3000));
        QCOMPARE(open.items("lst1"), (QStringList{"Стена", "Стена", "Кровля"}));
        QCOMPARE(open.currentIndex("lst1"), 0);
        QCOMPARE(open.text("txt1"), QStringLiteral("первая"));
        open.userSelect("lst1", 1);
        QCOMPARE(open.text("txt1"), QStringLiteral("вторая"));
        open.userDblClick("lst1");
        QVERIFY(!open.isLoaded());
        QCOMPARE(f.main().text(cell(1, 0)), QStringLiteral("Кирпич"));
        QCOMPARE(f.main().text(cell(2, 0)), QString());

        // "Загрузить" loads fully and closes; reopened, the list is read afresh.
        pir.setText("txt1_0", "Новый");
        pir.userClick("cmdSave");
        f.main().userClick("cmdOp");
        QVERIFY(open.isLoaded());
        QCOMPARE(open.items("lst1").size(), 4);
        open.userSelect("lst1", 0);
        open.userClick("cmdOpen");
        QVERIFY(!open.isLoaded());
        QCOMPARE(f.main().text(cell(2, 0)), QStringLiteral("Газосиликат D=500"));
        QCOMPARE(f.main().text(cell(8, 1)), QStringLiteral("8"));

        // An empty library: nothing to load.
        writeBytes(f.path(), fileBytes({"END"}));
        f.main().userClick("cmdOp");
        QVERIFY(open.items("lst1").isEmpty());
        QVERIFY(!open.isEnabled("cmdOpen"));
        QVERIFY(f.prompter.shown.isEmpty());
    }

    void batchStartsFromAStoredStack()
    {
        QTemporaryDir dir;
        for (const QString& name : QDir(OGRADO_SHIPPED_DATA).entryList(QDir::Files))
            QVERIFY(QFile::copy(QDir(OGRADO_SHIPPED_DATA).filePath(name), dir.filePath(name)));
        QFile::remove(libraryFilePath(dir.path()));
        writeBytes(libraryFilePath(dir.path()), fileBytes(kThreeStacks));
        const QString casePath = dir.filePath("case.json");
        {
            QFile c(casePath);
            QVERIFY(c.open(QIODevice::WriteOnly));
            c.write(R"({"txt1_11": "200"})");  // thickness of row 2
        }
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        QCOMPARE(runBatch({"--data", dir.path(), "--stack", "Стена", "--dump-input", casePath}, o, e), 0);
        o.flush();
        // The first "Стена", with the case file's thickness over the stack's.
        QVERIFY2(out.contains("\n1;Штукатурка изв.-песч;20;0;0,7;0,81;8,69;9,76;0,12;1\n"), qPrintable(out));
        QVERIFY2(out.contains("\n2;Газосиликат D=500;200;3;0,15;0,16;2,38;2,48;0,2;2\n"), qPrintable(out));
        QVERIFY(!out.contains("Кирпич"));
        QVERIFY(!out.contains("ц-песчаная"));

        out.clear();
        QCOMPARE(runBatch({"--data", dir.path(), "--stack", "Фасад", "--dump-input"}, o, e), 2);
        e.flush();
        QVERIFY2(err.contains("нет пирожка «Фасад»"), qPrintable(err));

        // A damaged library stops the run before anything is calculated.
        writeBytes(libraryFilePath(dir.path()), fileBytes({"\\Стена", "", "a;1;2"}));
        err.clear();
        QCOMPARE(runBatch({"--data", dir.path(), "--stack", "Стена"}, o, e), 2);
        e.flush();
        QVERIFY2(err.contains("в строке 3 у слоя меньше восьми граф"), qPrintable(err));
        QVERIFY(!err.contains(u'\r'));
    }

    void windowsBuildAndForwardClicks()
    {
        QTemporaryDir dir;
        {
            QFile f(libraryFilePath(dir.path()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\\A\r\n\r\nx;1;0;1;1;1;1;1\r\nEND\r\n");
        }
        test::AppFixture f;
        AppContext& ctx = f.ctx;
        test::RecordingPrompter& prompter = f.prompter;
        Application& app = *f.app;
        ctx.settings.dataDir = dir.path();
        app.mainForm().userClick("cmdSp");
        app.mainForm().userClick("cmdOp");
        auto& pir = app.formAs<PirForm>();
        auto& open = app.formAs<OpenPirForm>();

        PirWindow pirWindow(pir);
        for (const Control& c : pir.controls())
            QVERIFY2(pirWindow.findChild<QWidget*>(c.name), qPrintable(c.name));
        QCOMPARE(pirWindow.windowTitle(), QStringLiteral("Запись и редактирование пирожков"));
        auto* combo = pirWindow.findChild<QComboBox*>("cbo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->currentText(), QStringLiteral("A"));
        pirWindow.show();
        QTest::mouseDClick(combo->lineEdit(), Qt::LeftButton);
        QCOMPARE(app.mainForm().text(MainForm::cellName(1, 0)), QStringLiteral("x"));
        QTest::mouseClick(pirWindow.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(combo->count(), 2);

        OpenPirWindow openWindow(open);
        for (const Control& c : open.controls())
            QVERIFY2(openWindow.findChild<QWidget*>(c.name), qPrintable(c.name));
        QCOMPARE(openWindow.windowTitle(), QStringLiteral("Загрузить пирожок"));
        QCOMPARE(openWindow.findChild<QListWidget*>("lst1")->count(), 1);
        // a description of several lines is shown whole, wrapped; the window can be made
        // larger and its list and description grow with it
        auto* description = openWindow.findChild<QPlainTextEdit*>("txt1");
        QVERIFY(description && description->isReadOnly());
        QCOMPARE(description->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        const QString longText = QString(QStringLiteral("Наружная стена с вентилируемым фасадом. ")).repeated(8);
        open.userEdit("txt1", longText);
        open.notifyChanged();
        QCOMPARE(description->toPlainText(), longText);
        QVERIFY(description->height() >= 5 * description->fontMetrics().lineSpacing());
        openWindow.resize(openWindow.openingSize());
        openWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&openWindow));
        QVERIFY(openWindow.width() >= px(10200) - 1);
        auto* names = openWindow.findChild<QListWidget*>("lst1");
        const QSize listBefore = names->size();
        const QSize descriptionBefore = description->size();
        openWindow.resize(openWindow.width() + 200, openWindow.height() + 150);
        QCoreApplication::processEvents();
        QVERIFY(names->width() >= listBefore.width() + 150);
        QVERIFY(names->height() > listBefore.height());
        QVERIFY(description->height() > descriptionBefore.height());
        QVERIFY(openWindow.minimumSize() != openWindow.maximumSize());
        QTest::mouseClick(openWindow.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!open.isLoaded());
        QVERIFY(!openWindow.isVisible());
        QVERIFY(prompter.shown.isEmpty());
    }
};

QTEST_MAIN(TestLibrary)
#include "test_library.moc"
