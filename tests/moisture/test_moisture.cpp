// SPDX-License-Identifier: GPL-3.0-or-later
// The monthly moisture balance and its window. Expected numbers come from a separate
// hand calculation of the example wall (plane 3-4, λБ, Минск) with the formulas
// g(в.) = 0,72·(ев − E)/Rп.в and g(н.) = 0,72·(E − ен)/Rп.н.
#include "program/application.h"
#include "moisture/moisture_form.h"
#include "moisture/moisture_window.h"
#include "test_app.h"

#include <QLabel>
#include <QtTest>

using namespace ogrado;

namespace {

struct Fixture : test::AppFixture {
    Fixture()
    {
        main().userCheck("chkVlaga", true);
        main().userSelect("cboGorod", 4);  // Минск
    }
    MoistureForm& moisture() { return app->formAs<MoistureForm>(); }
    QStringList column(int k) { return moisture().items(QStringLiteral("lstV_%1").arg(k)); }
    void calculate(int markRow)
    {
        if (markRow > 0)
            main().userCheck(QStringLiteral("optVlaga_%1").arg(markRow), true);
        main().userClick("cmdOk");
    }

};

}  // namespace

class TestMoisture : public QObject {
    Q_OBJECT
private slots:
    void wrongMarkStopsTheRun_data()
    {
        QTest::addColumn<int>("markRow");
        QTest::addColumn<int>("excludedRow");
        QTest::newRow("no mark") << 0 << 0;
        QTest::newRow("last layer") << 4 << 0;
        QTest::newRow("first layer") << 2 << 1;  // row 2 is layer 1 when row 1 is excluded
    }
    void wrongMarkStopsTheRun()
    {
        QFETCH(int, markRow);
        QFETCH(int, excludedRow);
        Fixture f;
        if (excludedRow)
            f.main().userCheck(QStringLiteral("chkIskl_%1").arg(excludedRow), true);
        f.calculate(markRow);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("В качестве увлажняемого выбран\rпервый, или последний слой.\r"
                                                          "Расчет влагонакопления не выполнен."));
        QVERIFY(!f.moisture().isLoaded());
        QVERIFY(f.column(1).isEmpty());
        // the mark in the main window takes the focus: the marked row's, or the first one
        const QString mark = QStringLiteral("optVlaga_%1").arg(markRow ? markRow : 2);
        QCOMPARE(f.main().markedControls(), QStringList{mark});
        QCOMPARE(f.main().focusRequest(), mark);
        // another mark takes it away
        f.main().userCheck(QStringLiteral("optVlaga_3"), true);
        QVERIFY(f.main().markedControls().isEmpty());
    }

    void notThePenultimateLayerWarnsAndGoesOn()
    {
        Fixture f;
        f.calculate(2);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Внимание!"));
        QCOMPARE(f.prompter.shown[0].text,
                 QStringLiteral("В качестве увлажняемого выбран не предпоследний\r слой. Возможно Вы ошиблись. Если это "
                                "так, то пометьте\rнужный слой и повторите расчет."));
        QCOMPARE(f.moisture().caption(), QStringLiteral("Влагонакопление между слоями 2-3."));
        QCOMPARE(f.column(8).size(), 12);
    }

    void monthlyBalanceOfTheExampleWall()
    {
        Fixture f;
        f.calculate(3);
        QVERIFY(f.prompter.shown.isEmpty());
        MoistureForm& m = f.moisture();
        QVERIFY(m.isLoaded());
        QCOMPARE(m.caption(), QStringLiteral("Влагонакопление между слоями 3-4."));
        QCOMPARE(m.widthTwips(), 6000);
        // January: t(гр.) = -6,48, E = 353,7, ев = 1135,2, ен = 293,3:
        // g(в.) = 0,72·781,5/1,5417 = 365,0; g(н.) = 0,72·60,5/0,1111 = 391,8
        QCOMPARE(f.column(1)[0], QStringLiteral("-6,9"));
        QCOMPARE(f.column(2)[0], QStringLiteral("86"));
        QCOMPARE(f.column(3)[0], QStringLiteral("18"));
        QCOMPARE(f.column(4)[0], QStringLiteral("55"));
        QCOMPARE(f.column(5)[0], QStringLiteral("365"));
        QCOMPARE(f.column(6)[0], QStringLiteral("392"));
        QCOMPARE(f.column(7)[0], QStringLiteral("-6,5"));
        QCOMPARE(f.column(8)[0], QStringLiteral("-27"));
        // summer months always 12 °С and 70 %, drying both ways: 196 + 2725
        for (int m6 = 5; m6 <= 7; ++m6) {
            QCOMPARE(f.column(1)[m6], QStringLiteral("12"));
            QCOMPARE(f.column(2)[m6], QStringLiteral("70"));
            QCOMPARE(f.column(3)[m6], QStringLiteral("12"));
            QCOMPARE(f.column(4)[m6], QStringLiteral("70"));
            QCOMPARE(f.column(5)[m6], QStringLiteral("196"));
            QCOMPARE(f.column(6)[m6], QStringLiteral("2725"));
            QCOMPARE(f.column(8)[m6], QStringLiteral("--"));
        }
        // May and September take the city's own air (Минск: 12,7 °С, 68 %; 11,6 °С, 80 %)
        // and the design inside air: only June to August are summer months.
        const QStringList may = {"12,7", "68", "18", "55"};
        const QStringList september = {"11,6", "80", "18", "55"};
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(f.column(k)[4], may[k - 1]);
            QCOMPARE(f.column(k)[8], september[k - 1]);
        }
        // ... and the plane follows that air: t(3-4) = tв − (tв − tн)·3,13070/3,18494
        // (λБ, R to the plane over Rт): May 18 − 5,3·0,98297 = 12,79; September
        // 18 − 6,4·0,98297 = 11,71 (a summer month would give 12,0).
        QCOMPARE(f.column(7)[4], QStringLiteral("12,8"));
        QCOMPARE(f.column(7)[8], QStringLiteral("11,7"));
        QCOMPARE(f.column(7)[6], QStringLiteral("12,0"));
        // May and September: no condensation conditions, a plane temperature but no fluxes
        for (int row : {4, 8}) {
            QCOMPARE(f.column(5)[row], QStringLiteral("--"));
            QCOMPARE(f.column(6)[row], QStringLiteral("--"));
            QCOMPARE(f.column(8)[row], QStringLiteral("--"));
            QVERIFY(!f.column(7)[row].isEmpty());
        }
        QVERIFY(qAbs(m.totals().accumulated) < 1e-12);
        QVERIFY(qAbs(m.totals().summerDrying - 8765.7587027027) < 1e-6);
        // January to April dry: 26,8 + 104,5 + 521,3 + 1624,3; October to December count nothing
        QVERIFY(qAbs(m.totals().heatingDrying - 2276.849274427392) < 1e-6);
        QCOMPARE(m.text("txtV_0"), QStringLiteral("0"));
        QCOMPARE(m.text("txtV_1"), QStringLiteral("8766"));
        QCOMPARE(m.text("txtV_2"), QStringLiteral("-2277"));
    }

    // The balance returns numbers; the window writes them. January condenses (flows and
    // their difference), May neither condenses nor is a summer month (the plane only),
    // June dries (flows without a difference); the point field is kept on request only.
    void monthResultsAreNumbers()
    {
        Fixture f;
        f.calculate(3);
        MoistureSetup setup;
        setup.input = f.main().envelopeInput();
        setup.saturation = &f.ctx.tables.saturation;
        setup.planeLayer = 3;
        QVector<MoistureMonthResult> months;
        MoistureYearHooks hooks;
        hooks.monthDone = [&](int, const MoistureMonthResult& r) { months.append(r); };
        const ClimateRecord& minsk = f.ctx.tables.climate[4];
        const MoistureTotals totals = RunMoistureYear(setup, minsk, hooks);
        QCOMPARE(months.size(), 12);
        const MoistureMonthResult& january = months[0];
        QVERIFY(january.tPlane && qAbs(*january.tPlane - -6.48) < 0.01);
        QVERIFY(january.gIn && qAbs(*january.gIn - 365.0) < 0.1);
        QVERIFY(january.gOut && qAbs(*january.gOut - 391.8) < 0.1);
        QCOMPARE(*january.balance, *january.gIn - *january.gOut);
        QCOMPARE(january.points.size(), january.labels.size());
        QCOMPARE(january.points.size(), qsizetype(f.ctx.lastCalc->state.pointCount()));
        QVERIFY(months[4].tPlane && !months[4].gIn && !months[4].gOut && !months[4].balance);
        QVERIFY(months[5].gIn && months[5].gOut && !months[5].balance);
        QVERIFY(qAbs(*months[5].gIn - 196) < 0.5 && qAbs(*months[5].gOut - 2725) < 0.5);

        setup.pointLists = false;
        months.clear();
        const MoistureTotals quiet = RunMoistureYear(setup, minsk, hooks);
        QCOMPARE(quiet.summerDrying, totals.summerDrying);
        QCOMPARE(quiet.heatingDrying, totals.heatingDrying);
        QVERIFY(months[0].points.isEmpty() && months[0].labels.isEmpty());
        QCOMPARE(months[0].condensation, january.condensation);
    }

    void aTightCladdingCollectsWater()
    {
        Fixture f;
        f.main().setText(MainForm::cellName(4, 8), QStringLiteral("0,01"));
        f.calculate(3);
        MoistureForm& m = f.moisture();
        // inflow above outflow in January to March, November and December; April dries
        QCOMPARE(f.column(8)[0], QStringLiteral("321"));
        QCOMPARE(f.column(8)[3], QStringLiteral("-90"));
        QCOMPARE(f.column(8)[9], QStringLiteral("-22"));  // October: negative, no total
        QVERIFY(qAbs(m.totals().accumulated - 1265.9433304685645) < 1e-6);
        QVERIFY(qAbs(m.totals().heatingDrying - 89.8523063511468) < 1e-6);
        QVERIFY(qAbs(m.totals().summerDrying - 1497.7907027027022) < 1e-6);
        QCOMPARE(m.text("txtV_0"), QStringLiteral("1266"));
        QCOMPARE(m.text("txtV_2"), QStringLiteral("-90"));
    }

    void singleCaseWithTheInitialEntries()
    {
        Fixture f;
        f.calculate(3);
        MoistureForm& m = f.moisture();
        m.userClick("cmdRs");
        QCOMPARE(m.text("lblRezList"), QStringLiteral("tн=-15°С, фи(н)=75%, L=10 суток."));
        // (g(в.) − g(н.))/30 = 4,112 g/m² a day, over 10 days
        QCOMPARE(m.text("txtT_3"), QStringLiteral("41"));
        QCOMPARE(m.items("lstRez_1").size(), 11);
        QCOMPARE(m.items("lstRez_1").first(), QStringLiteral("Внутренняя поверхность"));
    }

    void monthDetailAndTheRightHalf()
    {
        Fixture f;
        f.calculate(3);
        MoistureForm& m = f.moisture();
        QVERIFY(!m.isVisible("cmdRs"));
        m.userDblClick("lstV_3");  // nothing chosen yet: nothing happens
        QCOMPARE(m.widthTwips(), 6000);
        m.userSelect("lstV_6", 6);  // a row chosen in one column is the month
        QCOMPARE(m.currentIndex("lstV_0"), 6);
        m.userDblClick("lstV_6");
        QCOMPARE(m.widthTwips(), 10650);
        QVERIFY(m.isVisible("cmdRs"));
        QCOMPARE(m.text("lblRezList"), QStringLiteral("Июль, L=30 суток."));
        QCOMPARE(m.text("txtT_3"), QStringLiteral("---"));  // the July row is "--"
        m.userSelect("lstV_0", 0);
        m.userDblClick("lstV_0");
        QCOMPARE(m.text("txtT_3"), QStringLiteral("-27"));
    }

    void minimumTemperatureSearch()
    {
        Fixture f;
        f.calculate(3);
        MoistureForm& m = f.moisture();
        m.setText("txtT_0", "5");
        m.userClick("cmdPodbor");  // no condensation at 5 °С: stops at once
        QCOMPARE(m.text("txtT_0"), QStringLiteral("5,0"));
        QCOMPARE(m.text("lblRezList"), QStringLiteral("tн=5,0°С, фи(н)=75%, L=10 суток."));
        QVERIFY(m.isEnabled("cmdPodbor"));
        // a wall that condenses: the search climbs until no point is above 100 %
        f.main().setText(MainForm::cellName(4, 8), QStringLiteral("0,001"));
        f.main().userClick("cmdOk");
        m.setText("txtT_0", "-20");
        m.setText("txtT_1", "95");
        m.userClick("cmdRs");
        QVERIFY(m.items("lstRez_5").contains(QStringLiteral("100% !!!")));
        m.userClick("cmdPodbor");
        const double found = m.text("txtT_0").replace(u',', u'.').toDouble();
        QVERIFY(found > -20 && found <= 20);
        QVERIFY(!m.items("lstRez_5").contains(QStringLiteral("100% !!!")));
    }

    void badValuesGiveMessages()
    {
        Fixture f;
        f.ctx.tables.climate[4].temperature[1] = QStringLiteral("нет");
        f.calculate(3);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].text,
                 QStringLiteral("Климатические данные «Минск», февраль: температура наружного воздуха «нет» не является "
                                "числом. Исправьте это значение в файле справочных данных "
                                "«СтенарийКлиматТемпература.txt»."));
        QVERIFY(f.column(8).isEmpty());  // the year is checked before the first month
        QVERIFY(f.column(1).isEmpty());
        MoistureForm& m = f.moisture();
        f.prompter.clear();
        m.setText("txtT_1", "-");
        m.userClick("cmdRs");
        QCOMPARE(f.prompter.texts(),
                 QStringList{QStringLiteral("Влажность нар. воздуха: «-» не является числом. Введите число.")});
        QCOMPARE(m.markedControls(), QStringList{"txtT_1"});
        QVERIFY(f.main().markedControls().isEmpty());
    }

    void windowHasEveryControl()
    {
        Fixture f;
        f.calculate(3);
        MoistureWindow window(f.moisture(), nullptr);
        for (const Control& c : f.moisture().controls())
            QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));
        window.show();
        QCOMPARE(window.width(), px(6000));
        QVERIFY(!window.findChild<QWidget*>("cmdRs")->isVisible());
        f.moisture().userSelect("lstV_0", 1);
        f.moisture().userDblClick("lstV_0");
        QCOMPARE(window.width(), px(10650));
        QVERIFY(window.findChild<QWidget*>("cmdRs")->isVisible());
        // 0,72 turns mg/(m²·h) into grams per m² over a month: the notes say г/м2
        int notes = 0;
        QString all;
        for (const QLabel* l : window.findChildren<QLabel*>()) {
            QVERIFY2(!l->text().contains(QStringLiteral("мг/м2")), qPrintable(l->text()));
            notes += l->text().count(QStringLiteral("масса воды г/м2"));
            all += l->text() + u'\n';
        }
        QCOMPARE(notes, 4);
        QVERIFY(all.contains(QStringLiteral("подсчитано за весенние месяцы со средней")));
        QVERIFY(all.contains(QStringLiteral("приняты по DIN 4108.\n")));
        QVERIFY(!all.contains(QStringLiteral("наших не нашел")));
    }

    // Under condition А without refinement the plane's temperature in the month table
    // and in the month's detail is one value, taken with λА.
    void monthTableAndDetailShowOnePlaneTemperature()
    {
        Fixture f;
        f.main().setText("txtFiv", "50");
        f.calculate(3);
        // January, Минск: t(гр.) = 18 − 24,9·(1/8,7 + 0,02/0,7 + 0,25/0,15 + 0,06/0,041)/3,330231 = −6,48
        QCOMPARE(f.column(7)[0], QStringLiteral("-6,5"));
        MoistureForm& m = f.moisture();
        m.userSelect("lstV_0", 0);
        m.userDblClick("lstV_0");
        const qsizetype plane = m.items("lstRez_1").indexOf(QStringLiteral("Граница слоев 3-4"));
        QCOMPARE(m.items("lstRez_2")[plane], QStringLiteral("-6,5"));
    }

    // Humidities are refused outside 0 < фи ≤ 100 before anything is calculated; an
    // overflow is named.
    void impossibleHumiditiesAndOverflows()
    {
        Fixture f;
        f.ctx.tables.climate[4].humidity[0] = QStringLiteral("1e308");
        f.calculate(3);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
        QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("«Минск», январь")) &&
                     f.prompter.shown[0].text.contains(QStringLiteral("больше 0 и не более 100 %")),
                 qPrintable(f.prompter.shown[0].text));
        QVERIFY(f.column(8).isEmpty());
        QVERIFY(f.moisture().text("txtV_0").isEmpty());

        Fixture g;
        g.calculate(3);
        MoistureForm& m = g.moisture();
        g.prompter.clear();
        m.setText("txtT_1", "0");
        m.userClick("cmdRs");
        QCOMPARE(g.prompter.shown.size(), 1);
        QCOMPARE(g.prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
        QVERIFY(g.prompter.shown[0].text.contains(QStringLiteral("Влажность нар. воздуха")));
        g.prompter.clear();
        m.setText("txtT_1", "75");
        m.setText("txtT_2", "1e308");
        m.userClick("cmdRs");
        QCOMPARE(g.prompter.shown.size(), 1);
        QVERIFY2(g.prompter.shown[0].text.contains(QStringLiteral("не определяется")), qPrintable(g.prompter.shown[0].text));
        QCOMPARE(m.text("txtT_3"), QString());
    }

    // A run refused in the main window leaves the moisture window nothing to work on.
    void singleCasesNeedAFinishedCalculation()
    {
        Fixture f;
        f.calculate(3);
        f.main().setText("txtFiv", "0");
        f.main().userClick("cmdOk");
        f.prompter.clear();
        f.moisture().userClick("cmdRs");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Нет результатов теплотехнического расчета")));
    }

    void planeWithoutVapourResistanceOutside()
    {
        Fixture f;
        // a cladding so thin that its vapour resistance vanishes beside the rest
        f.main().setText(MainForm::cellName(4, 2), QStringLiteral("1e-300"));
        f.calculate(3);
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("до наружной поверхности равно 0")));
    }
};

QTEST_MAIN(TestMoisture)
#include "test_moisture.moc"
