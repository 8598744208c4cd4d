// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's form model: start state, the results of the example wall, list
// fills, exclusion, material insertion, key filter, clearing, collection and the checks
// of "Расчет"; the case files of the batch front end; source-data files.
#include "program/application.h"
#include "airlayer/airlayer_form.h"
#include "tools/limits_form.h"
#include "batch/batch.h"
#include "batch/batch_output.h"
#include "batch/case_file.h"
#include "mainwindow/main_window.h"
#include "mainwindow/source_data_file.h"
#include "common/app_error.h"
#include "common/text_file.h"
#include "test_app.h"

#include <QMimeData>
#include <sys/stat.h>

#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>
#include <QAction>
#include <QtTest>

using namespace ogrado;

namespace {

struct Fixture : test::AppFixture {
    MainForm& form() { return main(); }
};

QString cell(int row, int column)
{
    return MainForm::cellName(row, column);
}

// The windowed program started in a working folder of its own.
struct Program : test::WorkdirProgram {
    using WorkdirProgram::WorkdirProgram;
    AirLayerForm& air()
    {
        app->openWindow(AirLayerForm::windowName());
        return app->formAs<AirLayerForm>();
    }
    // "Сохранить" with a name and a summary, "ОК".
    void saveAs(const QString& name, const QString& summary = {})
    {
        host.onModal = [=](FormModel& f) {
            f.userEdit("NameFile", name);
            f.userEdit("Sv", summary);
            f.userClick("cmdOk");
        };
        main().userClick("cmdSave");
        host.onModal = nullptr;
    }
};

// Everything a window holds, control by control, for comparisons.
QStringList stateOf(const FormModel& f, bool withPicker = false)
{
    QStringList state{f.caption()};
    for (const Control& c : f.controls()) {
        if (!withPicker && (c.name == u"cboM" || c.name == u"lblM" || c.name == u"txtM" || c.name == u"lstM"))
            continue;
        state.append(QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                         .arg(c.name, c.text, c.items.join(u';'))
                         .arg(c.current)
                         .arg(c.checked)
                         .arg(c.enabled)
                         .arg(c.background)
                         .arg(c.foreground));
    }
    return state;
}

}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void startState()
    {
        Fixture f;
        MainForm& m = f.form();
        QCOMPARE(m.caption(), QStringLiteral("Теплотехнические расчеты по ТКП 45-2.04-43-2006 (Беларусь). Версия  1.0"));
        QCOMPARE(m.currentIndex("cboTipZd"), 0);
        QCOMPARE(m.text("lblTipZd"), f.ctx.tables.buildingTypes[0].name);
        QCOMPARE(m.text("txtTv"), QStringLiteral("18"));
        QCOMPARE(m.text("txtFiv"), QStringLiteral("55"));
        QCOMPARE(m.currentIndex("cboObl"), 1);
        const Region& vitebsk = f.ctx.tables.regions[1];
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(m.text(QStringLiteral("txtTn_%1").arg(k)), f.ctx.tables.designTemperatures[k - 1][1]);
            QCOMPARE(m.text(QStringLiteral("txtTot_%1").arg(k)), vitebsk.set1[k - 1]);
        }
        QCOMPARE(m.currentIndex("cboGorod"), 1);
        QVERIFY(!m.isEnabled("cboGorod"));
        QCOMPARE(m.text("txtN"), QStringLiteral("1"));
        QCOMPARE(m.text("txtAlv"), QStringLiteral("8,7"));
        QCOMPARE(m.text("txtAln"), QStringLiteral("23"));
        QCOMPARE(m.text("txtTp"), QStringLiteral("6"));
        QCOMPARE(m.text("lblTp"), m.text("cboTp_0") + QStringLiteral(" Тип конструкции - ") + m.text("cboTp_1"));
        QCOMPARE(m.items("lstM").size(), 8);
        QCOMPARE(m.currentIndex("cboM"), 0);
        QCOMPARE(m.text(cell(2, 0)), QStringLiteral("Газосиликат D=500"));
        QCOMPARE(m.text(cell(3, 4)), QStringLiteral("0,041"));
        QCOMPARE(m.text(cell(6, 1)), QStringLiteral("6"));
        QVERIFY(m.text(cell(6, 2)).isEmpty());
        QVERIFY(!m.isEnabled("cmdVpr"));
    }

    void mainWindowShowsTheResults()
    {
        test::AppFixture f;
        AppContext& ctx = f.ctx;
        test::RecordingPrompter& prompter = f.prompter;
        MainForm& m = f.main();
        m.userCheck("chkPr", true);
        m.userClick("cmdOk");
        QCOMPARE(m.text("txtRt"), QStringLiteral("3,33"));
        QCOMPARE(m.background("txtRt"), kHighlight);
        QCOMPARE(m.text("txtRp"), QStringLiteral("1,65"));
        QCOMPARE(m.text("txtD"), QStringLiteral("5,18"));
        QCOMPARE(m.text("txtTnras"), QStringLiteral("-27"));
        QCOMPARE(m.text("txtRtr"), QStringLiteral("0,86"));
        QCOMPARE(m.text("txtFiSl_4"), QStringLiteral("85,3"));
        QCOMPARE(m.text("txtT_1"), QStringLiteral("17,14"));
        QCOMPARE(m.text("lblRezList"), QStringLiteral("Результаты предварительных расчетов"));
        QCOMPARE(m.items("lstRez_1").size(), 11);
        QCOMPARE(m.background(MainForm::cellName(2, 4)), kHighlight);  // λА of row 2 after refinement
        QCOMPARE(m.background(MainForm::cellName(2, 5)), kWhite);
        m.userClick("cmdPR");
        QCOMPARE(m.text("lblRezList"), QStringLiteral("Результаты по уточненному Rt"));
        QCOMPARE(m.items("lstRez_2")[1], QStringLiteral("17,14"));

        // a missing temperature difference: the warning, and the fields of the stages not reached stay empty
        m.setText("txtTp", "");
        m.userClick("cmdOk");
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
        QVERIFY(m.text("txtT_1").isEmpty());
        QCOMPARE(ctx.report.lineCount(), 66 + 13 + 13 + 35 + 6 + 8);
    }

    void listFills()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userSelect("cboN", 2);
        QCOMPARE(m.text("txtN"), QStringLiteral("0,75"));
        QCOMPARE(m.text("lblN"), f.ctx.tables.coefficientN[2].name);
        m.userSelect("cboAlv", 1);
        QCOMPARE(m.text("txtAlv"), QStringLiteral("7,6"));
        m.userSelect("cboAln", 2);
        QCOMPARE(m.text("txtAln"), QStringLiteral("12"));
        m.userSelect("cboTp_0", 1);
        m.userSelect("cboTp_1", 2);
        QCOMPARE(m.text("txtTp"), f.ctx.tables.envelopeTypes[1].tempDiff[2]);
        QCOMPARE(m.text("lblTp"), f.ctx.tables.envelopeTypes[1].name + QStringLiteral(" Тип конструкции - ") +
                                      f.ctx.tables.tempDiffColumns[2]);
        m.userEdit("cboTipZd", QStringLiteral("Свой тип"));
        QCOMPARE(m.text("lblTipZd"), QStringLiteral("Свой тип"));
        m.userCheck("chkVlaga", true);
        QVERIFY(m.isEnabled("cboGorod"));
        m.userSelect("cboM", 3);
        const Material& mat = f.ctx.tables.materials[3];
        QCOMPARE(m.text("txtM"), mat.field(2));
        QCOMPARE(m.text("lblM"), mat.field(1) + QStringLiteral(". Коэффициент теплопроводности для условий эксплуатации А - ") +
                                     mat.field(3) + QStringLiteral(", Б  - ") + mat.field(4) +
                                     QStringLiteral(". Коэффициент паропроницания  - ") + mat.field(7));
    }

    void thirdBuildingTypeTakesTheSecondSet()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userSelect("cboTipZd", 2);
        QCOMPARE(m.text("txtTot_1"), f.ctx.tables.regions[1].set2[0]);
        QCOMPARE(m.text("txtTv"), f.ctx.tables.buildingTypes[2].tIn);
        m.userSelect("cboObl", 4);
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(m.text(QStringLiteral("txtTot_%1").arg(k)), f.ctx.tables.regions[4].set2[k - 1]);
        m.userSelect("cboTipZd", 0);
        QCOMPARE(m.text("txtTot_4"), f.ctx.tables.regions[4].set1[3]);
    }

    // «Город» follows «Область» until the user chooses a city: the station of the region's
    // name; a region without one leaves the city alone.
    void cityFollowsTheRegionUntilChosen()
    {
        Fixture f;
        MainForm& m = f.form();
        const auto city = [&m] { return m.currentItem("cboGorod"); };
        QCOMPARE(city(), QStringLiteral("Витебск"));
        const std::pair<int, const char*> regions[] = {
            {4, "Минск"}, {0, "Брест"}, {3, "Гродно"}, {2, "Гомель"}, {5, "Могилев"}, {1, "Витебск"}};
        for (const auto& [region, station] : regions) {
            m.userSelect("cboObl", region);
            QCOMPARE(city(), QString::fromUtf8(station));
        }
        // a region whose name no station begins: the city stays
        m.userSelect("cboObl", 5);
        f.ctx.tables.climate[1].name = QStringLiteral("Лепель");
        m.userSelect("cboObl", 1);
        QCOMPARE(city(), QStringLiteral("Могилев"));
        f.ctx.tables.climate[1].name = QStringLiteral("Витебск");

        // chosen by the user: it stays whatever region comes next
        m.userSelect("cboGorod", 6);  // Василевичи
        m.userSelect("cboObl", 4);
        QCOMPARE(city(), QStringLiteral("Василевичи"));
        QCOMPARE(m.text("txtTot_1"), f.ctx.tables.regions[4].set1[0]);  // the region's own values still

        // a case file's city wins over its region, whatever their order
        Fixture g;
        applyCase(g.form(), QJsonObject{{"cboObl", 4}, {"cboGorod", 0}});
        QCOMPARE(g.form().currentItem("cboGorod"), QStringLiteral("Брест"));
        Fixture h;
        applyCase(h.form(), QJsonObject{{"cboObl", 4}});
        QCOMPARE(h.form().currentItem("cboGorod"), QStringLiteral("Минск"));

        // an opened file: a city of another region counts as chosen, the region's own follows
        test::Workdir w;
        Program a(w.root);
        a.main().userSelect("cboObl", 2);
        a.main().userSelect("cboGorod", 0);  // Гомельская with Брест
        a.main().saveSourceData(w.isx("chosen"), QString());
        a.main().userSelect("cboGorod", 2);  // Гомельская with Гомель
        a.main().saveSourceData(w.isx("own"), QString());
        Program b(w.root);
        QVERIFY(b.main().openSourceData(w.isx("chosen")));
        b.main().userSelect("cboObl", 4);
        QCOMPARE(b.main().currentItem("cboGorod"), QStringLiteral("Брест"));
        b.prompter.answers = {MessageAnswer::No};
        QVERIFY(b.main().openSourceData(w.isx("own")));
        b.main().userSelect("cboObl", 4);
        QCOMPARE(b.main().currentItem("cboGorod"), QStringLiteral("Минск"));
    }

    void excludingRowThreeRenumbersAndCollectsThreeLayers()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userCheck("chkIskl_3", true);
        QCOMPARE(m.text(cell(3, 1)), QStringLiteral("---"));
        QCOMPARE(m.text(cell(1, 1)), QStringLiteral("1"));
        QCOMPARE(m.text(cell(2, 1)), QStringLiteral("2"));
        QCOMPARE(m.text(cell(4, 1)), QStringLiteral("3"));
        QVERIFY(!m.isEnabled(cell(3, 5)));
        QVERIFY(!m.isEnabled("optVlaga_3"));
        m.collectInput();
        const LayerTable& t = f.ctx.layerTable;
        QCOMPARE(t.count(), 3);
        QCOMPARE(t.layers[2].sourceRow, 4);
        QCOMPARE(t.layers[2].cell(kColNumber), QStringLiteral("3"));
        QCOMPARE(t.layers[2].name, QStringLiteral("Штукатурка ц-песчаная"));
        m.userCheck("chkIskl_3", false);
        QCOMPARE(m.text(cell(3, 1)), QStringLiteral("3"));
        QCOMPARE(m.text(cell(4, 1)), QStringLiteral("4"));
        QVERIFY(m.isEnabled(cell(3, 5)));
    }

    void excludingTheMarkedRowMovesTheMark()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userCheck("optVlaga_2", true);
        m.userCheck("chkIskl_3", true);
        m.userCheck("chkIskl_2", true);  // row 3 is excluded too: the mark goes to row 4
        QVERIFY(!m.isChecked("optVlaga_2"));
        QVERIFY(m.isChecked("optVlaga_4"));
        m.userCheck("chkIskl_4", true);  // rows 3 and above move the mark one row up
        QVERIFY(m.isChecked("optVlaga_3"));
    }

    void materialInsertion()
    {
        Fixture f;
        f.ctx.tables.materials = {Material{{"5.1 Бетон", "1800", "1,2", "1,3", "10", "11", "0,03"}},
                                  Material{{"Кирпич", "1700", "0,7", "0,8", "9", "9,5", "0,11"}}};
        MainForm& m = f.form();
        m.userSelect("lstM", 1);
        m.userSelect("cboM", 0);
        m.userDblClick("lstM");
        QCOMPARE(m.text(cell(2, 0)), QStringLiteral("J=1800. Бетон"));
        QCOMPARE(m.text(cell(2, 4)), QStringLiteral("1,2"));
        QCOMPARE(m.text(cell(2, 8)), QStringLiteral("0,03"));
        QCOMPARE(m.text(cell(2, 2)), QStringLiteral("250"));  // thickness and number stay
        QCOMPARE(m.text(cell(2, 1)), QStringLiteral("2"));
        m.userSelect("cboM", 1);
        m.userDblClick("lstM");
        QCOMPARE(m.text(cell(2, 0)), QStringLiteral("J=1700. Кирпич"));
    }

    void materialListShowsWhatTheUserTypes()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userSelect("cboM", 27);  // "28 Газосиликат D=500"
        const QString chosen = m.text("lblM");
        auto numbers = [&] {
            QStringList n;
            for (const QString& entry : m.items("cboM"))
                n.append(entry.section(u' ', 0, 0));
            return n.join(u' ');
        };
        // every shipped name holding "мин" in any case, "Алюминий" among them
        m.userEdit("cboM", "МИН");
        QCOMPARE(numbers(), QStringLiteral("73 74 75 76 77 78 79 80 81 82 83 86 87 88 89 90 91 92 134"));
        QCOMPARE(m.text("cboM"), QStringLiteral("МИН"));
        QCOMPARE(m.currentIndex("cboM"), -1);
        // typing chooses nothing: the material described is still the one inserted
        QCOMPARE(m.text("lblM"), chosen);
        m.userSelect("lstM", 4);
        m.userDblClick("lstM");
        QCOMPARE(m.text(cell(5, 0)), QStringLiteral("J=500. Газосиликат D=500"));

        // "е" typed finds "ё" in the name; the second entry shown is material 58
        m.userEdit("cboM", "поперек");
        QCOMPARE(m.items("cboM"),
                 (QStringList{"56 Сосна и ель поперёк волокон", "58 Дуб поперёк волокон"}));
        m.userSelect("cboM", 1);
        QCOMPARE(m.text("lblM"), QStringLiteral("58 Дуб поперёк волокон. Коэффициент теплопроводности для условий "
                                                "эксплуатации А - 0,18, Б  - 0,23. Коэффициент паропроницания  - 0,05"));
        QCOMPARE(m.text("txtM"), QStringLiteral("700"));
        // after the choice the list is whole again, on the chosen entry
        QCOMPARE(m.items("cboM").size(), 136);
        QCOMPARE(m.currentIndex("cboM"), 57);
        QCOMPARE(m.text("cboM"), QStringLiteral("58 Дуб поперёк волокон"));
        m.userSelect("lstM", 2);
        m.userDblClick("lstM");
        QCOMPARE(m.text(cell(3, 0)), QStringLiteral("J=700. Дуб поперёк волокон"));
        QCOMPARE(m.text(cell(3, 4)), QStringLiteral("0,18"));
        QCOMPARE(m.text(cell(3, 8)), QStringLiteral("0,05"));
        QCOMPARE(m.text(cell(3, 2)), QStringLiteral("60"));

        // nothing found, then the text cleared: the whole list
        m.userEdit("cboM", "ЖЁСТКИЕ");
        QCOMPARE(numbers(), QStringLiteral("76 77 78 79 80 82 83 86 87 88 89 90 91 92"));  // "полужёсткие" too
        m.userEdit("cboM", "пенобетонн");
        QVERIFY(m.items("cboM").isEmpty());
        m.userEdit("cboM", "");
        QCOMPARE(m.items("cboM").size(), 136);
        QCOMPARE(m.items("cboM").first(), QStringLiteral("1 Железобетон"));
        QCOMPARE(m.text("txtM"), QStringLiteral("700"));  // still material 58
    }

    void keyFilter()
    {
        Fixture f;
        MainForm& m = f.form();
        QCOMPARE(*m.userKey(cell(1, 4), u'.'), QChar(u','));
        QCOMPARE(*m.userKey("txtTv", u'-'), QChar(u'-'));
        QCOMPARE(*m.userKey("txtTot_3", u'7'), QChar(u'7'));
        QVERIFY(!m.userKey(cell(1, 4), u'a'));
        QVERIFY(!m.userKey("txtAln", u'e'));
        QCOMPARE(f.prompter.beeps, 2);
        QCOMPARE(*m.userKey(cell(1, 0), u'a'), QChar(u'a'));  // names take every key
    }

    void clearingKeepsTheNumbers()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userClick("Комманда1");
        for (int r = 1; r <= 8; ++r) {
            QCOMPARE(m.text(cell(r, 1)), QString::number(r));
            for (int c : {0, 2, 3, 4, 5, 6, 7, 8})
                QVERIFY(m.text(cell(r, c)).isEmpty());
        }
        QCOMPARE(m.text("txtTv"), QStringLiteral("18"));
    }

    void collectionSkipsRowsWithoutThicknessAndFillsPoints()
    {
        Fixture f;
        MainForm& m = f.form();
        m.setText(cell(5, 0), QStringLiteral("Только имя"));
        m.setText(cell(5, 4), QStringLiteral("0,5"));
        m.setText(cell(1, 3), QStringLiteral(" "));
        m.userClick("cmdOk");  // the question about row 5 is answered Да
        QCOMPARE(f.ctx.layerTable.count(), 4);
        QCOMPARE(m.text(cell(1, 3)), QStringLiteral("0"));
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(m.isEnabled("cmdVpr"));
        QCOMPARE(f.ctx.layerTable.header.tIn, QStringLiteral("18"));
        QCOMPARE(f.ctx.layerTable.header.tHeat, m.text("txtTot_1"));
    }

    // The message names every incomplete layer (counted among collected layers) with
    // its empty cells; those cells are marked and the first takes the focus.
    void incompleteLayerMessageNamesTheEmptyCells()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userCheck("chkIskl_1", true);  // rows 2, 3, 4 become layers 1, 2, 3
        m.setText(cell(2, 6), QString());
        m.setText(cell(4, 5), QString());
        m.setText(cell(4, 8), QStringLiteral("  "));
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(f.prompter.shown[0].text,
                 QStringLiteral("В слое №1 не заполнены: s(А). В слое №3 не заполнены: λ(Б), μ. Заполните пустые "
                                "графы или исключите эти слои из расчета."));
        QCOMPARE(m.markedControls(), (QStringList{cell(2, 6), cell(4, 5), cell(4, 8)}));
        QCOMPARE(m.focusRequest(), cell(2, 6));
        QVERIFY(!f.ctx.lastCalc);
        QVERIFY(m.isEnabled("cmdVpr"));

        // one layer: the advice speaks of it alone; editing a cell takes its mark away
        m.setText(cell(2, 6), QStringLiteral("2,38"));
        m.setText(cell(4, 8), QStringLiteral("0,09"));
        QCOMPARE(m.markedControls(), QStringList{cell(4, 5)});
        f.prompter.clear();
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("В слое №3 не заполнены: λ(Б). Заполните пустые графы "
                                                                "или исключите слой из расчета.")});
        QCOMPARE(m.markedControls(), QStringList{cell(4, 5)});
        const int serial = m.focusSerial();
        m.userEdit(cell(4, 5), QStringLiteral("0,93"));
        QVERIFY(m.markedControls().isEmpty());
        f.prompter.clear();
        m.userClick("cmdOk");
        QVERIFY(f.prompter.shown.isEmpty());
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
        QCOMPARE(m.focusSerial(), serial);  // nothing to focus after a run that finished
    }

    // A message about a header field or a layer's cell marks that field and asks for the
    // focus on it; the next message moves the mark, a finished run clears it, and an
    // edit of the field (typed or filled from its list) takes it away.
    void aMessageMarksTheFieldItNames_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("αв zero") << "txtAlv" << "0"
                                 << "Коэффициент теплоотдачи внутренней поверхности альфа(в): значение «0» "
                                    "недопустимо. Укажите значение больше 0.";
        QTest::newRow("фи(в) above 100") << "txtFiv" << "120"
                                         << "Влажность внутреннего воздуха фи(в): значение «120» недопустимо. Укажите "
                                            "значение больше 0 и не более 100 %.";
        QTest::newRow("t(в) not a number") << "txtTv" << "1-8"
                                           << "Температура внутреннего воздуха t(в): «1-8» не является числом. "
                                              "Введите число.";
        QTest::newRow("t(в) empty") << "txtTv" << " "
                                    << "Температура внутреннего воздуха t(в): значение не задано. Введите число.";
        QTest::newRow("t(в) outside the table") << "txtTv" << "45"
                                                << "Температура внутреннего воздуха t(в) 45 °С лежит вне таблицы "
                                                   "максимальных парциальных давлений водяного пара (от -40 до 40 °С). "
                                                   "Укажите температуру от -40 до 40 °С.";
        QTest::newRow("t(от.) not a number") << "txtTot_1" << "-"
                                             << "Средняя температура отопительного периода t(от.): «-» не является "
                                                "числом. Введите число.";
        QTest::newRow("n zero") << "txtN" << "0" << "Коэффициент n: значение «0» недопустимо. Укажите значение больше 0.";
        QTest::newRow("Δt(в) negative") << "txtTp" << "-1"
                                        << "Температурный перепад дельта(tв): значение «-1» недопустимо. Укажите "
                                           "значение не меньше 0.";
        QTest::newRow("Δt(в) zero") << "txtTp" << "0" << "Нет данных по температурному перепаду!!!";
        // layer 2 is grid row 2: its λБ (condition Б at 18 °С / 55 %) and its thickness
        QTest::newRow("λБ zero") << cell(2, 5) << "0"
                                 << "Слой №2: коэффициент теплопроводности для условий Б «0» — деление на ноль. "
                                    "Укажите коэффициент теплопроводности больше нуля.";
        QTest::newRow("thickness too large") << cell(2, 2) << "10001"
                                             << "Слой №2, толщина: значение «10001» недопустимо. Укажите значение "
                                                "больше 0 и не более 10000 мм.";
        QTest::newRow("μ not a number") << cell(2, 8) << "0,2,"
                                        << "Слой №2: коэффициент паропроницаемости «0,2,» не является числом. Введите "
                                           "число.";
        QTest::newRow("points not whole") << cell(2, 3) << "2,5"
                                          << "Слой №2: количество промежуточных точек «2,5» недопустимо. Укажите целое "
                                             "число от 0 до 100.";
    }
    void aMessageMarksTheFieldItNames()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        Fixture f;
        MainForm& m = f.form();
        const QString original = m.text(field);
        m.userEdit(field, value);
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.texts().value(0), message);
        QCOMPARE(m.markedControls(), QStringList{field});
        QCOMPARE(m.focusRequest(), field);
        QVERIFY(m.isMarked(field));

        // the same message again: marked again, a new request for the focus
        const int serial = m.focusSerial();
        m.userClick("cmdOk");
        QCOMPARE(m.markedControls(), QStringList{field});
        QVERIFY(m.focusSerial() > serial);

        // another message moves the mark: the layers are read first, and row 1's thickness
        // is not a number
        m.userEdit(cell(1, 2), QStringLiteral("2o"));
        m.userClick("cmdOk");
        QCOMPARE(m.markedControls(), QStringList{cell(1, 2)});
        QCOMPARE(m.focusRequest(), cell(1, 2));
        // put right, the first field's message comes back; its own edit takes the mark away
        m.userEdit(cell(1, 2), QStringLiteral("20"));
        m.userClick("cmdOk");
        QCOMPARE(m.markedControls(), QStringList{field});
        m.userEdit(field, original);
        QVERIFY(!m.isMarked(field));
        f.prompter.clear();
        m.userClick("cmdOk");
        QVERIFY2(f.prompter.shown.isEmpty(), qPrintable(f.prompter.texts().join(u'|')));
        QVERIFY(m.markedControls().isEmpty());
    }

    // A mark taken away by a value filled in from a list, as by typing.
    void aFieldFilledFromItsListLosesItsMark()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userEdit("txtAlv", "0");
        m.userClick("cmdOk");
        QVERIFY(m.isMarked("txtAlv"));
        m.userSelect("cboAlv", 0);
        QCOMPARE(m.text("txtAlv"), QStringLiteral("8,7"));
        QVERIFY(!m.isMarked("txtAlv"));
    }

    // "Нет" to the question about a row without a thickness: the thickness cell of
    // that row takes the focus.
    void aRowWithoutThicknessAnsweredNoPointsAtTheThickness()
    {
        Fixture f;
        MainForm& m = f.form();
        m.setText(cell(6, 0), QStringLiteral("Кирпич"));
        f.prompter.answers = {MessageAnswer::No};
        m.userClick("cmdOk");
        QCOMPARE(m.markedControls(), QStringList{cell(6, 2)});
        QCOMPARE(m.focusRequest(), cell(6, 2));
        m.userEdit(cell(6, 2), QStringLiteral("120"));
        QVERIFY(m.markedControls().isEmpty());
    }

    void aGridWithoutLayersIsRefused()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userClick("Комманда1");
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Нет слоев для расчета")));
        QVERIFY(!f.ctx.lastCalc);
    }

    // A row with data but no thickness would silently compute another wall: "Расчет"
    // asks first; Нет leaves everything as it was, an excluded row is not asked about.
    void aLayerWithoutThicknessIsAskedAbout()
    {
        Fixture f;
        MainForm& m = f.form();
        m.setText(cell(6, 0), QStringLiteral(" Кирпич "));
        m.setText(cell(6, 5), QStringLiteral("0,81"));
        f.prompter.answers = {MessageAnswer::No};
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("В строке №6 заполнены данные слоя «Кирпич», но не указана "
                                                          "толщина: слой не войдет в расчет. Продолжить?"));
        // Enter answers «Нет»: a forgotten thickness is not calculated away by a keystroke
        QCOMPARE(f.prompter.shown[0].buttons, MessageButtons::YesNoDefaultNo);
        QVERIFY(!f.ctx.lastCalc);
        QCOMPARE(f.ctx.layerTable.count(), 0);  // nothing collected either
        QVERIFY(m.text("txtRt").isEmpty());

        f.prompter.clear();
        m.userClick("cmdOk");  // Да
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
        QCOMPARE(f.ctx.layerTable.count(), 4);

        f.prompter.clear();
        m.userCheck("chkIskl_6", true);
        m.userClick("cmdOk");
        QVERIFY(f.prompter.shown.isEmpty());
    }

    // A run refused before the calculation leaves no earlier result behind: the
    // moisture balance, the air gap, the variants and the save dialog see none.
    void aRefusedRunClearsTheLastCalculation()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userCheck("chkVlaga", true);
        m.userCheck("optVlaga_3", true);
        m.userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
        QVERIFY(f.ctx.report.lineCount() > 0);
        QVERIFY(!m.text("txtT_3").isEmpty());
        f.prompter.clear();

        m.userClick("Комманда1");
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral(
                                         "Нет слоев для расчета: ни в одной строке таблицы слоев не указана толщина. "
                                         "Заполните слои конструкции, указав их толщину.")});
        QVERIFY(!f.ctx.lastCalc);
        QCOMPARE(f.ctx.report.lineCount(), 0);
        for (const char* name : {"txtRt", "txtRp", "txtD", "txtRtr", "txtTnras", "txtT_1", "txtT_3", "txtRpv_2",
                                 "txtFiSl_1"})
            QVERIFY2(m.text(QLatin1String(name)).isEmpty(), name);
        QVERIFY(m.items("lstRez_2").isEmpty());

        f.prompter.clear();
        f.app->openWindow(LimitsForm::windowName());
        f.app->formAs<LimitsForm>().userClick("cvdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Нет конструкции для расчета вариантов")));
        f.prompter.clear();
        f.app->openWindow(AirLayerForm::windowName());
        f.app->formAs<AirLayerForm>().setText("txtHst", "10");
        f.app->formAs<AirLayerForm>().userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Нет результатов теплотехнического расчета")));
    }

    void anIncompleteOrImpossibleInputClearsTheLastCalculation()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc);
        m.setText(cell(2, 6), QString());
        m.userClick("cmdOk");
        QVERIFY(!f.ctx.lastCalc);
        QVERIFY(m.text("txtRt").isEmpty());
        m.setText(cell(2, 6), QStringLiteral("2,38"));
        m.userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc);
        f.prompter.clear();
        m.setText("txtFiv", QStringLiteral("150"));
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
        QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("фи(в)")) &&
                     f.prompter.shown[0].text.contains(QStringLiteral("не более 100")),
                 qPrintable(f.prompter.shown[0].text));
        QVERIFY(!f.ctx.lastCalc);
        QCOMPARE(f.ctx.report.lineCount(), 0);
        QVERIFY(m.text("txtRt").isEmpty());
    }

    // Names go into a Windows-1251 results file: what it cannot hold does not enter.
    void nameCellsTakeOnlyWhatTheResultsFileCanHold()
    {
        Fixture f;
        MainForm& m = f.form();
        QVERIFY(!m.userKey(cell(1, 0), u'λ'));
        QCOMPARE(f.prompter.beeps, 1);
        QCOMPARE(*m.userKey(cell(1, 0), u'№'), QChar(u'№'));
        m.userEdit(cell(1, 0), QStringLiteral("Кирпич λ≤0,7"));  // pasted
        QCOMPARE(m.text(cell(1, 0)), QStringLiteral("Кирпич 0,7"));
        QCOMPARE(f.prompter.beeps, 2);
        QVERIFY(!m.userKey(cell(1, 4), QChar(u'\u0663')));  // an Arabic-Indic three is no digit here
    }

    void aboutAndExit()
    {
        Fixture f;
        f.form().userClick("cmdAbout");
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("О программе."));
        // the five lines of the program, a blank line, the licences
        const QStringList lines = f.prompter.shown[0].text.split(u'\r');
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines[1], QStringLiteral("Версия  1.0"));
        QCOMPARE(lines[3], QStringLiteral("Применение - читай ReadMe."));
        QVERIFY(lines[5].isEmpty());
        QVERIFY(lines[6].contains(QStringLiteral("GPL-3.0-or-later")));
        QVERIFY(lines[7].contains(QStringLiteral("БЕЗ КАКИХ-ЛИБО ГАРАНТИЙ")));
        // the Qt the program runs on, not the one it was built with
        QVERIFY(lines[8].startsWith(QStringLiteral("Qt %1: ").arg(QLatin1String(qVersion()))));
        QVERIFY(lines[8].contains(QStringLiteral("Qt Charts — по лицензии GNU GPL 3.0")));
        QVERIFY(lines[8].contains(QStringLiteral("по GNU LGPL 3.0")));
        f.form().userClick("cmdCancel");
        QCOMPARE(f.host.quits, 1);
    }

    void caseFileKeys()
    {
        Fixture f;
        MainForm& m = f.form();
        applyCase(m, QJsonObject{{"cboObl", 4}, {"txtTv", "20"}, {"chkIskl_3", true}, {"txt1_2", "30"}});
        QCOMPARE(m.text("txtTot_1"), f.ctx.tables.regions[4].set1[0]);
        QCOMPARE(m.text("txtTv"), QStringLiteral("20"));
        QCOMPARE(m.text(cell(4, 1)), QStringLiteral("3"));
        QCOMPARE(m.text(cell(1, 2)), QStringLiteral("30"));
        // a list by the exact text of its entry; the building type also takes a typed caption
        applyCase(m, QJsonObject{{"cboObl", m.items("cboObl")[2]}, {"cboTipZd", "Склад"}});
        QCOMPARE(m.currentIndex("cboObl"), 2);
        QCOMPARE(m.text("txtTot_1"), f.ctx.tables.regions[2].set1[0]);
        QCOMPARE(m.currentIndex("cboTipZd"), -1);
        QCOMPARE(m.text("lblTipZd"), QStringLiteral("Склад"));
        for (const QJsonObject& bad : {QJsonObject{{"txtNothing", "1"}}, QJsonObject{{"txtTv", 20}},
                                        QJsonObject{{"cboObl", 9}}, QJsonObject{{"chkPr", "да"}},
                                        QJsonObject{{"cmdOk", true}}, QJsonObject{{"txtRt", "1"}},
                                        QJsonObject{{"cboObl", "Нет такой"}}}) {
            EXPECT_APP_ERROR(applyCase(m, bad), "no error", [&](const AppError& e) {
                QVERIFY2(e.message().contains(bad.begin().key()), qPrintable(e.message()));
            });
        }
    }

    void batchJsonShowsWhatTheWindowShows()
    {
        QTemporaryDir dir;
        auto write = [&](const QString& name, const QByteArray& json) {
            QFile c(dir.filePath(name));
            c.open(QIODevice::WriteOnly);
            c.write(json);
            return c.fileName();
        };
        const QString casePath = write("case.json", R"({"chkPr": true, "chkVlaga": true, "optVlaga_3": true})");
        const QString airPath = write("air.json", R"({"txtHst": "10", "txtTn_0": "-24"})");
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--json", "--moisture", "--airlayer", airPath, casePath}, o, e), 0);
        o.flush();
        const QJsonObject j = QJsonDocument::fromJson(out.toUtf8()).object();

        // the same case in the window
        Fixture f;
        applyCase(f.form(), QJsonDocument::fromJson(R"({"chkPr": true})").object());
        f.form().userClick("cmdOk");
        const QJsonObject fields = j["fields"].toObject();
        for (const QString& name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr", "txtFiSl_2", "txtRpv_3", "lblRezList"})
            QCOMPARE(fields[name].toString(), f.form().text(name));
        QCOMPARE(fields["lstRez_2"].toArray().size(), f.form().items("lstRez_2").size());
        QCOMPARE(j["conditionLetter"].toString(), QStringLiteral("Б"));
        QCOMPARE(j["tnIndex"].toInt(), 3);
        QCOMPARE(j["complies"].toInt(), 1);
        QCOMPARE(j["Rt"].toDouble(), f.ctx.lastCalc->state.rt);
        QCOMPARE(j["boundaries"].toArray().size(), 3);
        QCOMPARE(j["points"].toArray().size(), 11);
        QCOMPARE(j["report"].toArray().size(), 172);  // with the line of Rт.норм (table 5.1)
        QVERIFY(j["error"].isNull());

        const QJsonObject m = j["moisture"].toObject();
        QCOMPARE(m["caption"].toString(), QStringLiteral("Влагонакопление между слоями 3-4."));
        QCOMPARE(m["months"].toArray().size(), 12);
        QCOMPARE(m["months"].toArray()[5].toObject()["tn"].toString(), QStringLiteral("12"));
        QCOMPARE(m["totals"].toArray().size(), 3);
        QVERIFY(m["messages"].toArray().isEmpty());

        const QJsonObject a = j["airlayer"].toObject();
        QCOMPARE(a["fields"].toObject()["txtOut_0"].toString(), QStringLiteral("30"));
        QCOMPARE(a["values"].toObject()["d"].toDouble(), 0.03);
        QCOMPARE(a["report"].toArray()[3].toString(),
                 QStringLiteral(" Расчет вентилируемой воздушной прослойки в соответствии с ТКП 45-3.02-113."));
        QVERIFY(a["error"].isNull());
    }

    void batchExitStatusAndErrors()
    {
        QTemporaryDir dir;
        QFile c(dir.filePath("case.json"));
        c.open(QIODevice::WriteOnly);
        c.write(R"({"txtTp": "0"})");
        c.close();
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--json", c.fileName()}, o, e), 1);
        o.flush();
        const QJsonObject j = QJsonDocument::fromJson(out.toUtf8()).object();
        QCOMPARE(j["error"].toString(), QStringLiteral("Нет данных по температурному перепаду!!!"));
        QVERIFY(j["complies"].isNull());
        QVERIFY(j["Rtr"].isNull());
        QCOMPARE(j["report"].toArray().size(), 66);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, dir.filePath("missing.json")}, o, e), 2);
        // the results file of the example wall
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--out", dir.filePath("r.doc")}, o, e), 0);
        QFile r(dir.filePath("r.doc"));
        QVERIFY(r.open(QIODevice::ReadOnly));
        QCOMPARE(r.readAll().count("\r\n"), 97);  // with the line of Rт.норм (table 5.1)
    }

    void batchDumpsTheCollectedInput()
    {
        QTemporaryDir dir;
        const QString casePath = dir.filePath("case.json");
        QFile c(casePath);
        QVERIFY(c.open(QIODevice::WriteOnly));
        c.write(R"({"chkIskl_3": true})");
        c.close();
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--dump-input", casePath}, o, e), 0);
        o.flush();
        const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[1].startsWith(QStringLiteral("3;8,7;23;18;55;")));
        QCOMPARE(lines[5], QStringLiteral("3;Штукатурка ц-песчаная;10;0;0,76;0,93;9,6;11,09;0,09;4"));
        out.clear();
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--dump-input"}, o, e), 0);
        o.flush();
        QCOMPARE(out.split(u'\n', Qt::SkipEmptyParts).size(), 7);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--bogus"}, o, e), 2);
        QCOMPARE(runBatch({"--data", dir.path()}, o, e), 2);  // no reference data there
    }

    void everyControlHasItsWidget()
    {
        test::AppFixture f;
        AppContext& ctx = f.ctx;
        test::FakeHost& host = f.host;
        Application& app = *f.app;
        MainWindow window(app.mainForm(), host);
        for (const Control& c : app.mainForm().controls()) {
            if (c.kind == ControlKind::MenuItem || c.kind == ControlKind::Submenu)
                QVERIFY2(window.findChild<QAction*>(c.name), qPrintable(c.name));
            else
                QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));
        }

        auto* tv = window.findChild<QLineEdit*>("txtTv");
        QCOMPARE(tv->text(), QStringLiteral("18"));
        window.show();
        QTest::keyClicks(tv, "2.5");
        QCOMPARE(app.mainForm().text("txtTv"), QStringLiteral("182,5"));
        QTest::mouseClick(window.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        QVERIFY(ctx.lastCalc);
        QVERIFY(!window.findChild<QLineEdit*>("txtRt")->text().isEmpty());
        QVERIFY(window.findChild<QPushButton*>("cmdVpr")->isEnabled());
    }

    void initTestCase()
    {
        // nothing here may touch the user's own settings
        QStandardPaths::setTestModeEnabled(true);
    }

    void sourceDataRoundTrip()
    {
        test::Workdir w;
        Program a(w.root);
        MainForm& m = a.main();
        // every input changed: the last entry of each list, every box ticked, a caption
        // typed into the building type, then a text of its own in every field (the
        // number cells of excluded rows included)
        for (const QString& list : mainWindowLists())
            m.userSelect(list, int(m.items(list).size()) - 1);
        m.userEdit("cboTipZd", QStringLiteral("Склад «Б»"));
        for (int k = 1; k <= LayerGridRows; ++k)
            m.userCheck(QStringLiteral("chkIskl_%1").arg(k), true);
        for (const char* box : {"optVlaga_5", "chkVlaga", "chkPr"})
            m.userCheck(box, true);
        int n = 0;
        for (const auto& [name, value] : mainWindowInputs(m)) {
            if (value.isString() && !mainWindowLists().contains(name))
                m.userEdit(name, QStringLiteral("%1,5 \"№\" \\ %2").arg(++n).arg(name));
        }
        AirLayerForm& air = a.air();
        for (const auto& [name, value] : windowInputs(air)) {
            if (value.isBool())
                air.userCheck(name, true);
            else
                air.userEdit(name, QStringLiteral("-%1,25").arg(++n));
        }
        QVERIFY(m.inputModified());
        a.saveAs(QStringLiteral("Стена 1"), QStringLiteral("Наружная стена\nвариант «2»"));
        QCOMPARE(a.prompter.texts().size(), 1);  // saved without a calculation: said so
        QVERIFY(a.prompter.texts()[0].contains(QStringLiteral("Результаты расчета не записаны")));
        QVERIFY(!m.inputModified());
        QCOMPARE(m.caption(), QStringLiteral("Стена 1.isx — ") + MainForm::windowCaption());

        // the file: indented UTF-8 JSON, keys in the window's order
        const QString path = w.isx(QStringLiteral("Стена 1"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QJsonObject o = QJsonDocument::fromJson(bytes).object();
        QCOMPARE(o["format"].toString(), QStringLiteral("ogrado-isx"));
        QCOMPARE(o["version"].toInt(), 1);
        QCOMPARE(o["summary"].toString(), QStringLiteral("Наружная стена\nвариант «2»"));
        QCOMPARE(o["main"].toObject()["cboObl"].toString(), QStringLiteral("Могилевская"));
        QVERIFY(bytes.contains("\n        \"txtTv\": \"1,5 \\\"№\\\" \\\\ txtTv\",\n"));
        qsizetype last = -1;
        for (const auto& [name, value] : mainWindowInputs(m)) {
            const qsizetype at = bytes.indexOf(QByteArray("        \"" + name.toUtf8() + "\": "));
            QVERIFY2(at > last, qPrintable(name));
            last = at;
        }

        // a fresh program opens it: every control as it was
        Program b(w.root);
        QVERIFY(b.main().openSourceData(path));
        QCOMPARE(stateOf(b.main()), stateOf(m));
        QCOMPARE(stateOf(b.air()), stateOf(air));
        QVERIFY(!b.main().inputModified());
        QVERIFY(b.prompter.shown.isEmpty());
    }

    // «Тип констр.» preselects the row of table 5.1 of its kind, for each of the eight
    // types; a type with no single row empties the field; the list fills the field; a
    // value typed stays until the type is chosen again.
    void normativeResistanceFollowsTheEnvelopeType()
    {
        Fixture f;
        MainForm& m = f.form();
        QCOMPARE(m.items("cboRtNorm").size(), 4);
        QCOMPARE(m.currentIndex("cboRtNorm"), 0);  // the start: external walls
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("3,2"));
        const char* const expected[8] = {"3,2", "6,0", "", "1,0", "3,2", "6,0", "3,2", "6,0"};
        const int rows[8] = {0, 1, -1, 3, 0, 1, 0, 1};
        for (int type = 0; type < 8; ++type) {
            m.userEdit("txtRtNorm", "2,8");
            m.userSelect("cboTp_0", type);
            QVERIFY2(m.text("txtRtNorm") == QLatin1String(expected[type]), qPrintable(m.text("cboTp_0")));
            QCOMPARE(m.currentIndex("cboRtNorm"), rows[type]);
        }
        // the column of Δt(в) does not touch it
        m.userEdit("txtRtNorm", "2,8");
        m.userSelect("cboTp_1", 1);
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("2,8"));
        m.userSelect("cboRtNorm", 2);
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("2,5"));
        // the run reads it: the envelope inputs carry what the field holds
        QCOMPARE(m.envelopeInputs().rtNorm, QStringLiteral("2,5"));
        // the heat loss is a result: it goes with the others
        m.userClick("cmdOk");
        QVERIFY(!m.text("lblQot").isEmpty());
        m.clearResults();
        QVERIFY(m.text("lblQot").isEmpty());
    }

    // Without the file of table 5.1 the list is empty and the field stays as typed.
    void normativeResistanceWithoutItsFile()
    {
        test::Workdir w;
        QVERIFY(QFile::remove(w.root + QStringLiteral("/СтенарийТКП Rт.норм.txt")));
        Program p(w.root);
        MainForm& m = p.main();
        QVERIFY(m.items("cboRtNorm").isEmpty());
        QVERIFY(m.text("txtRtNorm").isEmpty());
        QVERIFY(p.prompter.shown.isEmpty());  // no message for a missing optional file
        m.userEdit("txtRtNorm", "3,2");
        m.userSelect("cboTp_0", 1);
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("3,2"));
    }

    // txtRtNorm goes into the source-data file and comes back as it was saved — a typed
    // value and an empty field — over the row that «Тип констр.» preselects on opening;
    // a file without the key takes the preselection.
    void normativeResistanceInSourceDataFiles()
    {
        test::Workdir w;
        for (const char* value : {"2,75", ""}) {
            Program a(w.root);
            a.main().userEdit("txtRtNorm", QLatin1String(value));
            a.saveAs(QStringLiteral("Rт.норм"));
            QFile file(w.isx(QStringLiteral("Rт.норм")));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QJsonObject main = QJsonDocument::fromJson(file.readAll()).object()["main"].toObject();
            QCOMPARE(main["txtRtNorm"].toString(), QLatin1String(value));
            QVERIFY(!main.contains("cboRtNorm"));
            Program b(w.root);
            QVERIFY(b.main().openSourceData(w.isx(QStringLiteral("Rт.норм"))));
            QCOMPARE(b.main().text("txtRtNorm"), QLatin1String(value));
            QVERIFY(!b.main().inputModified());
        }
        // a file of before table 5.1: no key; a roof chosen in it
        QFile saved(w.isx(QStringLiteral("Rт.норм")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QJsonObject file = QJsonDocument::fromJson(saved.readAll()).object();
        QJsonObject main = file["main"].toObject();
        main.remove("txtRtNorm");
        main["cboTp_0"] = QStringLiteral("Покрытия и чердачные перекрытия");
        file["main"] = main;
        const QString old = w.write(QStringLiteral("Старый"), QJsonDocument(file).toJson());
        Program c(w.root);
        QVERIFY(c.main().openSourceData(old));
        QCOMPARE(c.main().text("txtRtNorm"), QStringLiteral("6,0"));
    }

    void listEntriesAreFoundByTheirText()
    {
        // a city chosen by name is found again after the climate files gain a city in front
        test::Workdir w;
        Program a(w.root);
        a.main().userSelect("cboGorod", 2);
        QCOMPARE(a.main().currentItem("cboGorod"), QStringLiteral("Гомель"));
        a.saveAs(QStringLiteral("Город"));
        for (const char* name : {"СтенарийКлиматТемпература.txt", "СтенарийКлиматВлажность.txt"}) {
            QFile f(w.root + u'/' + QString::fromUtf8(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray old = f.readAll();
            f.close();
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(encodeCp1251(QStringLiteral("Пинск;-5;-4;0;7;13;16;18;17;13;7;2;-2;7\r\n")) + old);
        }
        Program b(w.root);
        QCOMPARE(b.main().items("cboGorod")[2], QStringLiteral("Витебск"));  // what an index would pick
        QVERIFY(b.main().openSourceData(w.isx(QStringLiteral("Город"))));
        QCOMPARE(b.main().currentIndex("cboGorod"), 3);
        QCOMPARE(b.main().currentItem("cboGorod"), QStringLiteral("Гомель"));
    }

    void badFilesLeaveTheWindowsAsTheyWere()
    {
        test::Workdir w;
        Program p(w.root);
        MainForm& m = p.main();
        p.saveAs(QStringLiteral("Стена"));
        m.userEdit(cell(2, 2), QStringLiteral("300"));
        m.userClick("cmdOk");
        p.air().userEdit("txtHst", QStringLiteral("9"));
        const QStringList mainBefore = stateOf(m, true);
        const QStringList airBefore = stateOf(p.air());
        const QString head = R"({"format": "ogrado-isx", "version": 1, )";
        const QString dir = w.root + QStringLiteral("/Isx");
        ::mkfifo(QFile::encodeName(dir + QStringLiteral("/канал.isx")).constData(), 0600);
        const QList<std::pair<QString, QStringList>> cases = {
            {R"({"format": "ogrado-isx", "version": 1, "main": {)", {"JSON"}},
            {"[1, 2]", {"JSON"}},
            {R"({"format": "ogrado-csv", "version": 1, "main": {}})", {"format"}},
            {R"({"format": "ogrado-isx", "version": 3, "main": {}})", {"более новой версией"}},
            {R"({"format": "ogrado-isx", "version": 1})", {"main"}},
            {head + R"("main": {}, "extra": 1})", {"extra"}},
            {head + R"("main": {"txtTv": "25", "txtNothing": "1"}})", {"txtNothing"}},
            {head + R"("main": {"txtTv": 25}})", {"txtTv"}},
            {head + R"("main": {"txtRt": "1"}})", {"txtRt"}},
            {head + R"("main": {"txtTv": "25", "cboObl": "Полесская"}})", {"cboObl", "Полесская"}},
            {head + R"("main": {"cboObl": 6}})", {"cboObl"}},
            {head + R"("main": {"txtTv": "25"}, "airlayer": {"txtNothing": "1"}})", {"txtNothing", "airlayer"}},
            {head + R"("main": {"txtTv": "25"}, "airlayer": {"chkEps_0": "да"}})", {"chkEps_0"}},
            {QStringLiteral("@missing"), {"не найден"}},
            {QStringLiteral("@канал"), {"не обычный файл"}},
        };
        int k = 0;
        for (const auto& [content, expected] : cases) {
            const QString path = content.startsWith(u'@') ? w.isx(content.mid(1))
                                                          : w.write(QStringLiteral("bad%1").arg(++k), content.toUtf8());
            p.prompter.clear();
            p.prompter.answers = {MessageAnswer::No};  // the unsaved changes may go
            QVERIFY2(!m.openSourceData(path), qPrintable(content));
            QCOMPARE(p.prompter.shown.size(), 2);
            QCOMPARE(p.prompter.shown[1].title, QStringLiteral("Ошибка"));
            for (const QString& part : QStringList{path} + expected)
                QVERIFY2(p.prompter.shown[1].text.contains(part), qPrintable(p.prompter.shown[1].text));
            // the message ends with what to do: a file that cannot be read names the
            // remedy of its reason, one that does not fit says to put it right
            const QString& text = p.prompter.shown[1].text;
            QVERIFY2(text.endsWith(QStringLiteral("Исправьте файл или откройте другой.")) ||
                         text.endsWith(QStringLiteral("Проверьте имя файла и каталог.")) ||
                         text.endsWith(QStringLiteral("Укажите обычный файл.")),
                     qPrintable(text));
            QCOMPARE(stateOf(m, true), mainBefore);
            QCOMPARE(stateOf(p.air()), airBefore);
            QCOMPARE(m.sourceDataPath(), w.isx(QStringLiteral("Стена")));
            QVERIFY(p.ctx.lastCalc && p.ctx.report.lineCount() > 0);
        }
    }

    void unsavedChangesQuestion()
    {
        test::Workdir w;
        {
            Program fresh(w.root);
            fresh.main().userClick("cmdCancel");  // nothing typed: ends at once
            QCOMPARE(fresh.host.quits, 1);
            QVERIFY(fresh.prompter.shown.isEmpty());
        }
        Program p(w.root);
        MainForm& m = p.main();

        m.userEdit(cell(1, 2), QStringLiteral("25"));
        QCOMPARE(m.caption(), QStringLiteral("Без имени* — ") + MainForm::windowCaption());
        p.prompter.answers = {MessageAnswer::Cancel};
        m.userClick("mnuExit");
        QCOMPARE(p.prompter.shown.last().text, QStringLiteral("Сохранить изменения исходных данных?"));
        p.host.onModal = [](FormModel& f) { f.userClick("cmdCancel"); };
        p.prompter.answers = {MessageAnswer::Yes};  // Да, then the save dialog cancelled
        m.userClick("cmdCancel");
        QCOMPARE(p.host.opened.count("FileSave"), 1);
        QCOMPARE(p.host.quits, 0);
        QVERIFY(m.inputModified());
        p.prompter.answers = {MessageAnswer::Yes};  // Да, saved: the program ends
        p.host.onModal = [](FormModel& f) {
            f.userEdit("NameFile", QStringLiteral("При выходе"));
            f.userClick("cmdOk");
        };
        m.userClick("cmdCancel");
        QCOMPARE(p.host.quits, 1);
        QVERIFY(QFile::exists(w.isx(QStringLiteral("При выходе"))));

        // another program: "Нет" ends without saving; opening a file asks the same
        Program q(w.root);
        q.main().userEdit(cell(1, 2), QStringLiteral("40"));
        q.prompter.answers = {MessageAnswer::Cancel};
        QVERIFY(!q.main().openSourceData(w.isx(QStringLiteral("При выходе"))));
        QCOMPARE(q.main().cell(1, 2), QStringLiteral("40"));
        q.prompter.answers = {MessageAnswer::No};
        QVERIFY(q.main().openSourceData(w.isx(QStringLiteral("При выходе"))));
        QCOMPARE(q.main().cell(1, 2), QStringLiteral("25"));
        QCOMPARE(q.main().caption(), QStringLiteral("При выходе.isx — ") + MainForm::windowCaption());
        q.air().userEdit("txtHst", QStringLiteral("5"));  // an edit in the air-gap window counts
        QVERIFY(q.main().inputModified());
        q.prompter.answers = {MessageAnswer::No};
        q.main().userClick("cmdCancel");
        QCOMPARE(q.host.quits, 1);
        QCOMPARE(QDir(w.root + QStringLiteral("/Isx")).entryList(QDir::Files).size(), 1);
    }

    void airGapInputsFromAFile()
    {
        test::Workdir w;
        Program a(w.root);
        a.main().userClick("cmdOk");
        AirLayerForm& air = a.air();
        const QString loaded = air.text("txtTn_0");
        for (const auto& [name, text] : {std::pair{"txtTn_0", "-30"}, {"txtTn_2", "21"}, {"txtHst", "12"}, {"txtEps", "3"}})
            air.userEdit(name, text);
        air.userCheck("chkEps_2", true);
        air.userClick("cmdSave");  // a report block, which opening a file forgets
        auto airBlock = [&a] { return a.ctx.reportBlocks.last().lines(); };
        QVERIFY(!airBlock().isEmpty());
        a.saveAs(QStringLiteral("Прослойка"));
        QVERIFY(a.main().openSourceData(w.isx(QStringLiteral("Прослойка"))));  // open window: shown at once
        QVERIFY(airBlock().isEmpty() && air.text("txtOut_0").isEmpty() && !a.ctx.lastCalc);
        QCOMPARE(air.text("txtTn_0"), QStringLiteral("-30"));

        // not yet shown: kept for the window and saved as loaded; its Load does not win
        Program b(w.root);
        QVERIFY(b.main().openSourceData(w.isx(QStringLiteral("Прослойка"))));
        b.main().saveSourceData(w.isx(QStringLiteral("Копия")), QString());
        auto airlayer = [&](const QString& name) {
            QFile f(w.isx(name));
            f.open(QIODevice::ReadOnly);
            return QJsonDocument::fromJson(f.readAll()).object()["airlayer"].toObject();
        };
        QCOMPARE(airlayer(QStringLiteral("Копия")), airlayer(QStringLiteral("Прослойка")));
        AirLayerForm& shown = b.air();
        QCOMPARE(shown.text("txtTn_0"), QStringLiteral("-30"));
        QCOMPARE(shown.text("txtTn_2"), QStringLiteral("21"));
        QVERIFY(shown.isChecked("chkEps_2") && shown.isEnabled("txtEps"));
        QVERIFY(!b.main().inputModified());
        // closed and opened again: the window starts afresh, as it always does
        shown.userClick("cmdCancel");
        b.air();
        QCOMPARE(shown.text("txtTn_0"), loaded);
        QVERIFY(shown.text("txtHst").isEmpty());
        QVERIFY(b.main().inputModified());

        // a window never opened and no air-gap inputs in the file: none are written
        Program c(w.root);
        c.main().saveSourceData(w.isx(QStringLiteral("Без прослойки")), QString());
        QVERIFY(airlayer(QStringLiteral("Без прослойки")).isEmpty());
        QVERIFY(!QFile(w.isx(QStringLiteral("Без прослойки"))).readAll().contains("airlayer"));
    }

    // «Файл → Сохранить исходные данные…» (Ctrl+Shift+S): the .isx alone, through a file
    // dialog, no save dialog and no results file; the source-data folder of a fresh
    // working folder is created first.
    void saveSourceDataAlone()
    {
        test::Workdir w;
        QVERIFY(QDir(w.root + QStringLiteral("/Isx")).removeRecursively());
        Program p(w.root);
        MainForm& m = p.main();
        QCOMPARE(m.control("mnuSaveIsx").group, QStringLiteral("Файл"));
        QCOMPARE(m.control("mnuSaveIsx").shortcut, QStringLiteral("Ctrl+Shift+S"));
        m.userClick("cmdOk");
        m.userEdit("txtTv", "20");

        // cancelled: nothing written, the folder made for the dialog is said once
        m.userClick("mnuSaveIsx");
        QCOMPARE(p.prompter.fileRequests.size(), 1);
        const auto request = p.prompter.fileRequests[0];
        QCOMPARE(request.kind, Prompter::FileChoice::Save);
        QCOMPARE(request.path, w.isx(QStringLiteral("Теплотехнический расчет")));
        QVERIFY(request.filter.contains(QStringLiteral("*.isx")));
        QCOMPARE(m.text("lblStatus"), QStringLiteral("Создан каталог «%1».").arg(w.root + QStringLiteral("/Isx")));
        QVERIFY(QDir(w.root + QStringLiteral("/Isx")).isEmpty());
        QVERIFY(m.inputModified());

        // a name without extension gets «.isx»; no other window, no results file
        p.prompter.fileAnswers = {w.root + QStringLiteral("/Isx/Стена")};
        m.userClick("mnuSaveIsx");
        QVERIFY(p.host.opened.isEmpty());
        QVERIFY(p.prompter.shown.isEmpty());
        QCOMPARE(m.sourceDataPath(), w.isx(QStringLiteral("Стена")));
        QVERIFY(!m.inputModified());
        QCOMPARE(m.text("lblStatus"),
                 QStringLiteral("Исходные данные сохранены в файле «%1».").arg(w.isx(QStringLiteral("Стена"))));
        QVERIFY(QDir(w.root + QStringLiteral("/Результаты")).isEmpty());
        Program q(w.root);
        QVERIFY(q.main().openSourceData(w.isx(QStringLiteral("Стена"))));
        QCOMPARE(q.main().text("txtTv"), QStringLiteral("20"));

        // next time the file the input came from is proposed; a failure is shown
        m.userEdit("txtTv", "21");
        p.prompter.fileAnswers = {w.root + QStringLiteral("/Нет/Стена.isx")};
        m.userClick("mnuSaveIsx");
        QCOMPARE(p.prompter.fileRequests.last().path, w.isx(QStringLiteral("Стена")));
        QCOMPARE(p.prompter.shown.size(), 1);
        QVERIFY(p.prompter.shown[0].text.contains(QStringLiteral("не существует")));
        QVERIFY(m.inputModified());
    }

    void recentFiles()
    {
        test::Workdir w;
        const QString store = w.root + QStringLiteral("/recent.conf");
        Program p(w.root, store);
        for (int k = 1; k <= 9; ++k)
            p.main().saveSourceData(w.isx(QStringLiteral("f%1").arg(k)), QString());
        QCOMPARE(p.main().recentFiles().size(), 8);
        QCOMPARE(p.main().recentFiles().first(), w.isx("f9"));
        QCOMPARE(p.main().recentFiles().last(), w.isx("f2"));
        QCOMPARE(p.main().items("mnuRecent"), p.main().recentFiles());

        Program q(w.root, store);  // kept for the next start
        QCOMPARE(q.main().recentFiles(), p.main().recentFiles());
        q.main().userSelect("mnuRecent", 2);
        QCOMPARE(q.main().sourceDataPath(), w.isx("f7"));
        QCOMPARE(q.main().recentFiles().first(), w.isx("f7"));
        QVERIFY(QFile::remove(w.isx("f9")));
        q.main().userSelect("mnuRecent", 1);  // gone: a message, and out of the list
        QVERIFY(q.prompter.shown[0].text.contains(QStringLiteral("не найден")));
        QVERIFY(!q.main().recentFiles().contains(w.isx("f9")));
        QCOMPARE(q.main().sourceDataPath(), w.isx("f7"));
    }

    void batchOpensSourceDataFiles()
    {
        test::Workdir w;
        Program a(w.root);
        a.main().userSelect("cboObl", 4);
        a.main().userCheck("chkPr", true);
        a.main().userEdit(cell(3, 2), QStringLiteral("80"));
        a.main().userClick("cmdOk");
        a.air().userEdit("txtHst", QStringLiteral("10"));
        a.saveAs(QStringLiteral("Пакет"));
        const QString path = w.isx(QStringLiteral("Пакет"));
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        QCOMPARE(runBatch({"--data", w.root, "--json", path}, o, e), 0);
        o.flush();
        const QJsonObject j = QJsonDocument::fromJson(out.toUtf8()).object();

        // the window's "Расчет" after opening the same file, and its air-gap run
        Program b(w.root);
        QVERIFY(b.main().openSourceData(path));
        b.main().userClick("cmdOk");
        const QJsonObject window = calcJson(b.main(), b.ctx.report, b.ctx.lastCalc, QString());
        for (auto it = window.begin(); it != window.end(); ++it)
            QVERIFY2(j[it.key()] == it.value(), qPrintable(it.key()));
        b.air().userClick("cmdSave");
        QCOMPARE(j["airlayer"].toObject(), airLayerJson(b.air()));
        QCOMPARE(j["fields"].toObject()["txtRt"].toString(), a.main().text("txtRt"));

        w.write(QStringLiteral("Новее"), R"({"format": "ogrado-isx", "version": 3, "main": {}})");
        QCOMPARE(runBatch({"--data", w.root, w.isx(QStringLiteral("Новее"))}, o, e), 2);
        e.flush();
        QVERIFY(err.contains(w.isx(QStringLiteral("Новее"))) && err.contains(QStringLiteral("более новой")));
        QCOMPARE(sourceDataArgument({"ogrado_n", "-x", "Стена.isx", "b"}), QStringLiteral("Стена.isx"));
        QVERIFY(sourceDataArgument({"ogrado_n"}).isEmpty());
    }

    void mainWindowOpensDroppedFilesAndAsksOnClose()
    {
        test::Workdir w;
        Program p(w.root);
        p.saveAs(QStringLiteral("Брошенный"));
        p.main().userEdit(cell(1, 2), QStringLiteral("33"));
        MainWindow window(p.main(), p.host);
        window.show();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(w.isx(QStringLiteral("Брошенный")))});
        auto* field = window.findChild<QLineEdit*>(cell(2, 0));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        p.prompter.answers = {MessageAnswer::No};  // the typed change is given up
        QApplication::sendEvent(field, &drop);
        QCOMPARE(p.main().cell(1, 2), QStringLiteral("20"));
        QCOMPARE(field->text(), p.main().cell(2, 0));  // not the path typed into the field

        p.main().userEdit(cell(1, 2), QStringLiteral("34"));
        QVERIFY(!QApplication::activePopupWidget());  // the recent-files menu stays closed
        p.prompter.answers = {MessageAnswer::Cancel};
        QVERIFY(!window.close());  // the close box: "Отмена" keeps the window
        QCOMPARE(p.host.quits, 0);
        p.prompter.answers = {MessageAnswer::No};
        QVERIFY(window.close());
        QCOMPARE(p.host.quits, 1);
    }
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
