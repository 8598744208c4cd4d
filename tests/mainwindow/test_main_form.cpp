// The main window's form model: start state, list fills, exclusion, material
// insertion, key filter, clearing, collection and the checks of "Расчет"; the case
// files of the batch front end.
#include "program/application.h"
#include "batch/batch.h"
#include "batch/case_file.h"
#include "mainwindow/main_window.h"
#include "common/app_error.h"
#include "test_support.h"

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

    void incompleteLayerMessageNamesTheLastCollectedOne()
    {
        Fixture f;
        MainForm& m = f.form();
        m.userCheck("chkIskl_1", true);  // rows 2, 3, 4 become layers 1, 2, 3
        m.setText(cell(2, 6), QString());
        m.setText(cell(4, 8), QStringLiteral("  "));
        m.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("В слое №3 введены не \r все данные.\r"));
        QVERIFY(!f.ctx.lastCalc);
        QVERIFY(m.isEnabled("cmdVpr"));
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
                                         "Нет слоев для расчета: ни в одной строке таблицы слоев не указана толщина.")});
        QVERIFY(!f.ctx.lastCalc);
        QCOMPARE(f.ctx.report.lineCount(), 0);
        for (const char* name : {"txtRt", "txtRp", "txtD", "txtRtr", "txtTnras", "txtT_1", "txtT_3", "txtRpv_2",
                                 "txtFiSl_1"})
            QVERIFY2(m.text(QLatin1String(name)).isEmpty(), name);
        QVERIFY(m.items("lstRez_2").isEmpty());

        f.prompter.clear();
        f.app->openWindow("frmVariant");
        f.app->form("frmVariant")->userClick("cvdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Нет конструкции для расчета вариантов")));
        f.prompter.clear();
        f.app->openWindow("frmPr");
        f.app->form("frmPr")->setText("txtHst", "10");
        f.app->form("frmPr")->userClick("cmdOk");
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
        QCOMPARE(f.prompter.shown[0].text.split(u'\r').size(), 5);
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("Версия  1.0")));
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
        for (const QJsonObject& bad : {QJsonObject{{"txtNothing", "1"}}, QJsonObject{{"txtTv", 20}},
                                        QJsonObject{{"cboObl", 9}}, QJsonObject{{"chkPr", "да"}},
                                        QJsonObject{{"cmdOk", true}}}) {
            try {
                applyCase(m, bad);
                QFAIL("no error");
            } catch (const AppError& e) {
                QVERIFY2(e.message().contains(bad.begin().key()), qPrintable(e.message()));
            }
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
        QCOMPARE(j["report"].toArray().size(), 171);
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
        QCOMPARE(r.readAll().count("\r\n"), 96);
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
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
