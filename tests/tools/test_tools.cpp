// SPDX-License-Identifier: GPL-3.0-or-later
// The dew-point tool and the limits of use over inside air: the dew point in the
// shipped table, the counted ranges and the search's state machine, the search on
// real walls with the design case restored, the report block, every refusal, and
// the two batch options. Expected values are worked out by hand from the table of
// appendix Е and the formulas of ТКП 45-2.04-43 (see the comments).
#include "program/application.h"
#include "batch/batch.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "test_app.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"
#include "tools/limits_search.h"
#include "tools/dew_point_window.h"
#include "tools/limits_window.h"

#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace ogrado;

namespace {

struct Fixture : test::AppFixture {
    DewPointForm& dew()
    {
        auto& f = app->formAs<DewPointForm>();
        f.loadForm();
        return f;
    }
    LimitsForm& limits()
    {
        auto& f = app->formAs<LimitsForm>();
        f.loadForm();
        return f;
    }

    // Two layers with equal А and Б columns, so that only п. 9.1 depends on the
    // inside air: 100 mm, λ 0,045, s 0,5, μ 0,1 inside; 20 mm, λ 0,8, s 9, μ 0,13
    // outside. With the Витебская climate (tот = -2, фи(от.) = 83) and no refinement:
    //   Rт = 1/8,7 + 0,1/0,045 + 0,02/0,8 + 1/23 = 2,406; D = 1,336, so tн = -31 and
    //   Rт.тр. = (tв + 31)/52,2 stays below 1,1 for tв up to 24;
    //   boundary 1-2 at tв = 18: t = 18 - 20·(1/8,7 + 2,2222)/2,406 = -1,431 °С,
    //   E = 562 - 45·0,431 = 542,6 Па; ен = 517·0,83 = 429,1 Па;
    //   Rп.в. = 1, Rп.н. = 0,1538: п. 9.1 holds while ев <= E + Rп.в.·(E - ен)/Rп.н.,
    //   that is фи(в) <= 62,04 % at 18 °С; the same way 77,72 % at 14 °С, 69,37 % at
    //   16 °С, 55,59 % at 20 °С and 49,88 % at 22 °С.
    void twoLayerWall()
    {
        MainForm& m = main();
        m.clearGrid();
        const QStringList inner = {"Минвата", "", "100", "0", "0,045", "0,045", "0,5", "0,5", "0,1"};
        const QStringList outer = {"Штукатурка", "", "20", "0", "0,8", "0,8", "9", "9", "0,13"};
        for (int c = 0; c <= 8; ++c) {
            if (c == 1)
                continue;
            m.setText(MainForm::cellName(1, c), inner[c]);
            m.setText(MainForm::cellName(2, c), outer[c]);
        }
    }
    void setRanges(const QStringList& t, const QStringList& phi)
    {
        LimitsForm& f = limits();
        for (int k = 0; k < 3; ++k) {
            f.userEdit(LimitsForm::temperatureEntry(k), t[k]);
            f.userEdit(LimitsForm::humidityEntry(k), phi[k]);
        }
    }
    QStringList column(int k) { return limits().items(LimitsForm::list(k)); }

};

QString entry(int k)
{
    return DewPointForm::entry(k);
}

// Runs the batch front end on the shipped data; returns the exit status.
int batch(const QStringList& args, QString& out, QString& err)
{
    QTextStream o(&out);
    QTextStream e(&err);
    return runBatch(QStringList{"--data", QStringLiteral(OGRADO_SHIPPED_DATA)} + args, o, e);
}

const QString kHeading = QStringLiteral(
    "   Возможность применения данной ограждающей конструкции в зависимости от температуры и влажности внутреннего "
    "воздуха при соблюдении требование п. 9.1 ТКП 45-2.04-43 по сопротивлению паропроницанию ограждающей "
    "конструкции от внутренней поверхности до плоскости возможной конденсации:");

}  // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    // ---- dew point ----

    void dewPointInTheShippedTable_data()
    {
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("phi");
        QTest::addColumn<QString>("E");
        QTest::addColumn<QString>("dew");
        // 18 °С is a table row: E = 2064; e = 0,55·2064 = 1135,2 lies between 8 °С
        // (1073) and 9 °С (1148): tр = 9 - (1148 - 1135,2)/75 = 8,829
        QTest::newRow("initial entries") << "18" << "55" << "2064,0" << "8,8";
        // E(18,5) = 2197 - 133·0,5 = 2130,5; e = 1278,3: tр = 11 - (1313 - 1278,3)/85 = 10,592
        QTest::newRow("between rows") << "18,5" << "60" << "2130,5" << "10,6";
        // the range ends are computed: e = 0,55·62,9 = 34,595: tр = -30 - (37,6 - 34,595)/3,7
        QTest::newRow("lowest -25") << "-25" << "55" << "62,9" << "-30,8";
        // e = 0,55·4243 = 2333,65: tр = 20 - (2338 - 2333,65)/141 = 19,969
        QTest::newRow("highest 30") << "30" << "55" << "4243,0" << "20,0";
        // saturated air condenses at its own temperature
        QTest::newRow("фи 100") << "18,5" << "100" << "2130,5" << "18,5";
        QTest::newRow("фи 100 on a row") << "18" << "100" << "2064,0" << "18,0";
    }
    void dewPointInTheShippedTable()
    {
        QFETCH(QString, t);
        QFETCH(QString, phi);
        QFETCH(QString, E);
        QFETCH(QString, dew);
        Fixture f;
        DewPointForm& d = f.dew();
        d.userEdit(entry(DewPointForm::kTemperature), t);
        d.userEdit(entry(DewPointForm::kHumidity), phi);
        d.userClick("cmdOk");
        QCOMPARE(d.text(entry(DewPointForm::kPressure)), E);
        QCOMPARE(d.text(entry(DewPointForm::kDewPoint)), dew);
        QVERIFY(f.prompter.shown.isEmpty());
    }

    void dewPointStartStateAndPlacement()
    {
        Fixture f;
        DewPointForm& d = f.dew();
        QCOMPARE(d.caption(), QStringLiteral("Точка росы"));
        QCOMPARE(d.text(entry(0)), QStringLiteral("55"));
        QCOMPARE(d.text(entry(1)), QStringLiteral("18"));
        QVERIFY(d.text(entry(2)).isEmpty() && d.text(entry(3)).isEmpty());
        QVERIFY(d.control(entry(2)).readOnly && d.control(entry(3)).readOnly);
        QVERIFY(d.selectsAllOnClick(entry(0)) && d.selectsAllOnClick(entry(1)));
        QVERIFY(!d.selectsAllOnClick(entry(2)) && !d.selectsAllOnClick(entry(3)));
        for (int k = 0; k <= 3; ++k) {
            QCOMPARE(*d.userKey(entry(k), u'.'), QChar(u','));
            QVERIFY(!d.userKey(entry(k), u'e'));
        }
        QCOMPARE(f.prompter.beeps, 4);
        QCOMPARE(d.placement(QRect(1470, 60, 15000, 12000)).value_or(QPoint()), QPoint(1470, 60));
        // opened from the main window's button, not modal
        f.main().userClick("cmdTr");
        QCOMPARE(f.host.opened, QStringList{"frmTrosa"});
        QVERIFY(!d.isModal());
    }

    // Outside -25 … 30 °С, or with no temperature, nothing is computed: both results are
    // emptied (no E of an earlier run beside an empty dew point) and the window says why
    // under the entries, without a message box. The next run that computes clears it.
    void dewPointOutsideTheRangeComputesNothing()
    {
        Fixture f;
        DewPointForm& d = f.dew();
        const QString note = DewPointForm::noteName();
        d.userClick("cmdOk");
        QCOMPARE(d.text(entry(3)), QStringLiteral("2064,0"));
        QVERIFY(d.text(note).isEmpty());
        const QString range = QStringLiteral("от \u221225 до 30 °С");
        const std::pair<const char*, QString> cases[] = {
            {"-25,1", QStringLiteral("Температура -25,1 °С вне диапазона ") + range},
            {"30,1", QStringLiteral("Температура 30,1 °С вне диапазона ") + range},
            {"", QStringLiteral("Введите температуру воздуха ") + range + u'.'},
            {"  ", QStringLiteral("Введите температуру воздуха ") + range + u'.'},
        };
        for (const auto& [t, why] : cases) {
            d.userEdit(entry(1), "18");
            d.userClick("cmdOk");
            QCOMPARE(d.text(entry(3)), QStringLiteral("2064,0"));
            d.userEdit(entry(1), QLatin1String(t));
            d.userClick("cmdOk");
            QVERIFY2(d.text(entry(2)).isEmpty(), t);
            QVERIFY2(d.text(entry(3)).isEmpty(), t);
            QCOMPARE(d.text(note), why);
            QCOMPARE(d.foreground(note), kRed);
        }
        QVERIFY(f.prompter.shown.isEmpty());
        // the range ends themselves are computed, and the note goes
        d.userEdit(entry(1), "30");
        d.userClick("cmdOk");
        QCOMPARE(d.text(entry(3)), QStringLiteral("4243,0"));
        QVERIFY(d.text(note).isEmpty());
    }

    // Where the table cannot answer, a message instead of a value.
    void dewPointMessages()
    {
        Fixture f;
        DewPointForm& d = f.dew();
        d.userClick("cmdOk");

        // фи = 0,01 %: e = 0,2 Па lies below the first row (12,6 Па at -40 °С)
        d.userEdit(entry(0), "0,01");
        d.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("ниже наименьшего")));
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("12,6 Па при -40 °С")));
        QCOMPARE(d.text(entry(3)), QStringLiteral("2064,0"));
        QVERIFY(d.text(entry(2)).isEmpty());

        // not numbers: the entries keep their texts
        d.userEdit(entry(0), "55");
        d.userEdit(entry(1), "18");
        d.userClick("cmdOk");
        f.prompter.clear();
        d.userEdit(entry(1), "1-8");
        d.userClick("cmdOk");
        QCOMPARE(f.prompter.texts(), QStringList{"Температура воздуха «1-8» не является числом. Введите число."});
        QCOMPARE(d.markedControls(), QStringList{entry(1)});
        d.userEdit(entry(1), "18");
        QVERIFY(d.markedControls().isEmpty());
        d.userEdit(entry(0), "-");
        d.userClick("cmdOk");
        QCOMPARE(f.prompter.texts().last(), QStringLiteral("Влажность воздуха «-» не является числом. Введите число."));
        QCOMPARE(d.markedControls(), QStringList{entry(0)});
        QCOMPARE(d.focusRequest(), entry(0));
        QCOMPARE(d.text(entry(3)), QStringLiteral("2064,0"));
        QCOMPARE(d.text(entry(2)), QStringLiteral("8,8"));
    }

    // The humidity of the air is a relative humidity: 0 < фи ≤ 100.
    void dewPointHumidityRange()
    {
        Fixture f;
        DewPointForm& d = f.dew();
        for (const char* phi : {"0", "-5", "100,1"}) {
            f.prompter.clear();
            d.userEdit(entry(0), QLatin1String(phi));
            d.userClick("cmdOk");
            QCOMPARE(f.prompter.shown.size(), 1);
            QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
            QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("Влажность воздуха")) &&
                         f.prompter.shown[0].text.contains(QStringLiteral("больше 0 и не более 100 %")),
                     qPrintable(f.prompter.shown[0].text));
            QVERIFY(d.text(entry(2)).isEmpty());
        }
        // saturated air: the dew point is the air temperature
        d.userEdit(entry(0), "100");
        d.userClick("cmdOk");
        QCOMPARE(d.text(entry(2)), QStringLiteral("18,0"));
    }

    void limitsHumidityRange()
    {
        for (const QStringList& texts : {QStringList{"0", "70", "1"}, QStringList{"50", "100,5", "1"}}) {
            EXPECT_APP_ERROR(makeSearchRange(texts[0], texts[1], texts[2], RangeQuantity::InsideHumidity), "accepted",
                             [&](const AppError& e) {
                QCOMPARE(e.title(), QStringLiteral("Ошибка в исходных данных!!"));
                QVERIFY2(e.message().contains(QStringLiteral("больше 0 и не более 100 %")), qPrintable(e.message()));
            });
        }
        QCOMPARE(makeSearchRange("100", "1", "-1", RangeQuantity::InsideHumidity).count, 100);
    }

    void dewPointTemperatureOutsideAShortTable()
    {
        Fixture f;
        f.ctx.tables.saturation.rows = {{-10, 259}, {0, 611}, {20, 2338}};
        DewPointForm& d = f.dew();
        // E = 2338 - 1727·2/20 = 2165,3; e = 1190,9: tр = 20 - (2338 - 1190,9)·20/1727 = 6,72
        d.userClick("cmdOk");
        QCOMPARE(d.text(entry(3)), QStringLiteral("2165,3"));
        QCOMPARE(d.text(entry(2)), QStringLiteral("6,7"));
        // inside -25 … 30 °С but beyond the table: a message, and no stale values
        d.userEdit(entry(1), "25");
        d.userClick("cmdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.startsWith(QStringLiteral("Температура воздуха 25 °С лежит вне таблицы")));
        QVERIFY(d.text(entry(3)).isEmpty());
        QVERIFY(d.text(entry(2)).isEmpty());
    }

    // ---- counted ranges ----

    void countedRanges()
    {
        const auto range = [](const char* a, const char* b, const char* s) {
            return makeSearchRange(QLatin1String(a), QLatin1String(b), QLatin1String(s),
                                   RangeQuantity::InsideTemperature);
        };
        SearchRange r = range("50", "70", "1");
        QCOMPARE(r.count, 21);
        QVERIFY(r.landsOnLast);
        QCOMPARE(r.value(20), 70.0);
        // a decimal step reaches the last value exactly, without drift
        r = range("0", "1", "0,1");
        QCOMPARE(r.count, 11);
        QVERIFY(r.landsOnLast);
        QCOMPARE(r.value(10), 1.0);
        QCOMPARE(generalText(r.value(3)), QStringLiteral("0,3"));
        // a step that does not land stops before passing the last value
        r = range("50", "70", "3");
        QCOMPARE(r.count, 7);
        QVERIFY(!r.landsOnLast);
        QCOMPARE(r.value(6), 68.0);
        // downwards, and a single value
        r = range("20", "5", "-5");
        QCOMPARE(r.count, 4);
        QCOMPARE(r.value(3), 5.0);
        r = range("60", "60", "-1");
        QCOMPARE(r.count, 1);
        QVERIFY(r.landsOnLast);
    }

    void rangeRefusals_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<QString>("message");
        const int t = int(RangeQuantity::InsideTemperature);
        const int phi = int(RangeQuantity::InsideHumidity);
        QTest::newRow("zero step") << QStringList{"5", "20", "0"} << t
                                   << "Шаг температуры внутреннего воздуха t(в) равен нулю: перебор значений не "
                                      "закончится. Задайте шаг, отличный от нуля.";
        QTest::newRow("step leads away") << QStringList{"20", "5", "1"} << t
                                         << "Шагом 1 нельзя пройти от начального значения 20 до конечного "
                                            "значения 5 температуры внутреннего воздуха t(в). Задайте "
                                            "отрицательный шаг.";
        QTest::newRow("negative step upwards") << QStringList{"50", "70", "-2,5"} << phi
                                               << "Шагом -2,5 нельзя пройти от начального значения 50 до "
                                                  "конечного значения 70 влажности внутреннего воздуха фи(в). "
                                                  "Задайте положительный шаг.";
        QTest::newRow("first not a number") << QStringList{"5а", "20", "1"} << t
                                            << "Начальное значение температуры внутреннего воздуха t(в) «5а» не "
                                               "является числом. Введите число.";
        QTest::newRow("last empty") << QStringList{"50", " ", "1"} << phi
                                    << "Не задано конечное значение влажности внутреннего воздуха фи(в). Введите "
                                       "число.";
        QTest::newRow("endless") << QStringList{"0", "1E300", "1"} << t
                                 << "Слишком мелкий шаг температуры внутреннего воздуха t(в): от 0 до 1E+300 "
                                    "получается более 100000 значений. Увеличьте шаг.";
    }
    void rangeRefusals()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, quantity);
        QFETCH(QString, message);
        EXPECT_APP_ERROR(makeSearchRange(texts[0], texts[1], texts[2], RangeQuantity(quantity)), "accepted",
                         [&](const AppError& e) {
            QCOMPARE(e.message(), message);
        });
    }

    // ---- the state machine, on a compliance given by hand ----

    void searchStateMachine()
    {
        const auto run = [](const SearchRange& t, const SearchRange& phi, std::function<bool(double, double)> ok,
                            int* calls = nullptr) {
            QVector<LimitsRow> rows;
            const bool done = SearchLimits(
                t, phi,
                [&](double a, double b) -> std::optional<bool> {
                    if (calls)
                        ++*calls;
                    return ok(a, b);
                },
                [&](const LimitsRow& r) {
                    rows.append(r);
                    return true;
                });
            Q_ASSERT(done);
            return rows;
        };
        const auto range = [](const char* a, const char* b, const char* s) {
            return makeSearchRange(QLatin1String(a), QLatin1String(b), QLatin1String(s),
                                   RangeQuantity::InsideHumidity);
        };
        const SearchRange t = range("10", "12", "1");
        const SearchRange phi = range("50", "70", "5");
        const auto cells = [](const QVector<LimitsRow>& rows) {
            QStringList c;
            for (const LimitsRow& r : rows) {
                const LimitsRowText text = limitsRowText(r);
                c << text.t << text.from << text.to;
            }
            return c;
        };

        // complies everywhere: the first and the last humidity
        QCOMPARE(cells(run(t, phi, [](double, double) { return true; })),
                 QStringList({"10", "50", "70", "11", "50", "70", "12", "50", "70"}));
        // fails at the first humidity: "--" in both columns, the row stops there
        int calls = 0;
        QCOMPARE(cells(run(t, phi, [](double tt, double) { return tt < 11; }, &calls)),
                 QStringList({"10", "50", "70", "11", "--", "--", "12", "--", "--"}));
        QCOMPARE(calls, 5 + 1 + 1);
        // compliance ends inside: "до" is the humidity before the first failing one,
        // and the rest of the row is not computed
        calls = 0;
        QCOMPARE(cells(run(t, phi, [](double tt, double p) { return p <= 72 - 4 * tt + 40; }, &calls)),
                 QStringList({"10", "50", "70", "11", "50", "65", "12", "50", "60"}));
        QCOMPARE(calls, 5 + 5 + 4);
        // a later complying humidity does not reopen a closed interval
        QCOMPARE(cells(run(range("1", "1", "1"), phi, [](double, double p) { return p != 60; })),
                 QStringList({"1", "50", "55"}));
        // a single humidity: the pass that opens the interval closes it too
        QCOMPARE(cells(run(t, range("60", "60", "1"), [](double tt, double) { return tt != 11; })),
                 QStringList({"10", "60", "60", "11", "--", "--", "12", "60", "60"}));
        // a step that does not land on the last value: complying to the end leaves
        // "до" empty in its own row; a row that closes inside is not affected
        QCOMPARE(cells(run(t, range("50", "71", "5"), [](double tt, double p) { return tt != 11 || p < 62; })),
                 QStringList({"10", "50", "", "11", "50", "60", "12", "50", ""}));
        // decimal steps write their values in the general form
        QCOMPARE(cells(run(range("0,5", "0,7", "0,1"), range("50", "50,2", "0,1"),
                           [](double, double p) { return p < 50.15; })),
                 QStringList({"0,5", "50", "50,1", "0,6", "50", "50,1", "0,7", "50", "50,1"}));
    }

    // ---- the window on real walls ----

    void limitsStartState()
    {
        Fixture f;
        LimitsForm& l = f.limits();
        QCOMPARE(l.caption(), QStringLiteral("Границы использования пирожка"));
        const QStringList t = {"5", "20", "1"};
        const QStringList phi = {"50", "70", "1"};
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(l.text(LimitsForm::temperatureEntry(k)), t[k]);
            QCOMPARE(l.text(LimitsForm::humidityEntry(k)), phi[k]);
            QVERIFY(l.selectsAllOnClick(LimitsForm::temperatureEntry(k)));
        }
        f.main().userClick("cmdVariant");
        QCOMPARE(f.host.opened, QStringList{"frmVariant"});
    }

    // One search over a wall that complies at every humidity of a row, one where
    // compliance ends inside and one that fails at the first humidity (thresholds in
    // the comment of twoLayerWall).
    void searchOnATwoLayerWall()
    {
        Fixture f;
        f.twoLayerWall();
        f.main().userEdit("txtRtNorm", "");  // Rт 2,41 would miss table 5.1; the search leaves it out anyway
        f.main().userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished() && f.ctx.lastCalc->complies());
        const QString designPm = f.main().text("txtPm_1");
        QCOMPARE(designPm, QStringLiteral("542,6"));
        const QStringList designReport = f.ctx.report.lines();

        f.setRanges({"14", "22", "2"}, {"50", "80", "5"});
        f.limits().userClick("cvdOk");
        QVERIFY(f.prompter.shown.isEmpty());
        QVERIFY(f.limits().lastSearchCompleted());
        QCOMPARE(f.column(0), QStringList({"14", "16", "18", "20", "22"}));
        QCOMPARE(f.column(1), QStringList({"50", "50", "50", "50", "--"}));
        QCOMPARE(f.column(2), QStringList({"75", "65", "60", "55", "--"}));
        // each humidity up to the first that fails after the interval, once: 7 at 14 °С
        // (80 % fails), 5 at 16, 4 at 18, 3 at 20 and the failing 50 % at 22 °С
        QCOMPARE(f.limits().calculationsRun(), 7 + 5 + 4 + 3 + 1);

        // the design case again, though the last run tried 22 °С and 50 %
        QCOMPARE(f.ctx.layerTable.header.tIn, QStringLiteral("18"));
        QCOMPARE(f.ctx.layerTable.header.phiIn, QStringLiteral("55"));
        QVERIFY(f.ctx.lastCalc->finished());
        QVERIFY(qAbs(f.ctx.lastCalc->state.ev - 1135.2) < 1e-9);  // 0,55·2064
        QCOMPARE(f.main().text("txtPm_1"), designPm);
        QCOMPARE(f.ctx.report.lines(), designReport);

        // below every threshold up to 18 °С: complies from the first to the last humidity
        f.setRanges({"14", "18", "2"}, {"40", "60", "5"});
        f.limits().userClick("cvdOk");
        QCOMPARE(f.column(1), QStringList({"40", "40", "40"}));
        QCOMPARE(f.column(2), QStringList({"60", "60", "60"}));
        // above every threshold: "--" throughout
        f.setRanges({"14", "22", "4"}, {"80", "90", "5"});
        f.limits().userClick("cvdOk");
        QCOMPARE(f.column(0), QStringList({"14", "18", "22"}));
        QCOMPARE(f.column(1), QStringList({"--", "--", "--"}));
        QCOMPARE(f.column(2), QStringList({"--", "--", "--"}));
        // 40, 43 … 64 does not land on 65: 14 °С complies to the end and gets an empty
        // "до" in its own row; 18 °С closes at 61 (64 fails, threshold 62,04)
        f.setRanges({"14", "18", "4"}, {"40", "65", "3"});
        f.limits().userClick("cvdOk");
        QCOMPARE(f.column(0), QStringList({"14", "18"}));
        QCOMPARE(f.column(1), QStringList({"40", "40"}));
        QCOMPARE(f.column(2), QStringList({"", "61"}));
    }

    // The default search on the example wall with refinement lists one row per
    // temperature. The search and the design case after it read the main window's
    // inputs as they stand at the click, as "Пересчитать" does.
    void defaultSearchOnTheExampleWall()
    {
        Fixture f;
        f.main().userClick("cmdOk");
        QVERIFY(!f.ctx.lastCalc->state.refined);
        f.main().userCheck("chkPr", true);
        f.limits().userClick("cvdOk");
        QVERIFY(f.prompter.shown.isEmpty());
        QCOMPARE(f.column(0).size(), 16);
        QCOMPARE(f.column(0).first(), QStringLiteral("5"));
        QCOMPARE(f.column(0).last(), QStringLiteral("20"));
        QCOMPARE(f.column(1).size(), 16);
        QCOMPARE(f.column(2).size(), 16);
        QVERIFY(f.ctx.lastCalc->state.refined);
        QCOMPARE(f.ctx.layerTable.header.tIn, QStringLiteral("18"));
    }

    void reportBlock()
    {
        Fixture f;
        f.twoLayerWall();
        f.main().userClick("cmdOk");
        f.setRanges({"14", "22", "4"}, {"50", "80", "5"});
        f.limits().userClick("cvdOk");
        const int n = f.ctx.report.lineCount();
        f.limits().userClick("cmdSave");
        const QStringList block = {QString(), kHeading, "Тв ;Фи(в.) - от;Фи(в.) - до", "14;50;75", "18;50;60",
                                   "22;--;--"};
        QCOMPARE(f.ctx.report.lineCount(), n + 6);
        QCOMPARE(f.ctx.report.lines().mid(n), block);
        // each press appends the block again
        f.limits().userClick("cmdSave");
        QCOMPARE(f.ctx.report.lines().mid(n + 6), block);
        // the next calculation starts the report anew
        f.main().userClick("cmdOk");
        QCOMPARE(f.ctx.report.lineCount(), n);

        // rows with an empty "до" keep their place
        QCOMPARE(limitsReportLines({{14, 40, std::nullopt}, {18, 40, 61}, {20, std::nullopt, std::nullopt}}).mid(3),
                 QStringList({"14;40;", "18;40;61", "20;--;--"}));
    }

    void searchRefusals()
    {
        Fixture f;
        // no "Расчет" yet: no collected layers
        f.limits().userClick("cvdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("сначала выполните «Расчет» в главном окне")));
        QVERIFY(!f.ctx.lastCalc);

        f.main().userClick("cmdOk");
        const CalcState before = f.ctx.lastCalc->state;
        const QStringList reportBefore = f.ctx.report.lines();
        f.prompter.clear();
        const QList<std::pair<QStringList, QStringList>> bad = {
            {{"5", "20", "0"}, {"50", "70", "1"}},      // zero step
            {{"5", "20", "1"}, {"50", "70", "-1"}},     // step leads away
            {{"5", "x", "1"}, {"50", "70", "1"}},       // not a number
            {{"5", "20", "1"}, {"", "70", "1"}},        // empty
            {{"5", "20", "0,01"}, {"0,1", "100", "0,1"}}  // 1501·1000 calculations
        };
        for (const auto& [t, phi] : bad) {
            f.setRanges(t, phi);
            f.limits().userClick("cvdOk");
        }
        QCOMPARE(f.prompter.shown.size(), bad.size());
        for (const test::Shown& s : f.prompter.shown)
            QCOMPARE(s.title, QStringLiteral("Ошибка"));
        QVERIFY(f.prompter.shown[2].text.contains(QStringLiteral("Конечное значение температуры")));
        QVERIFY(f.prompter.shown[4].text.startsWith(QStringLiteral("Слишком много вариантов: 1501 значений t(в)")));
        // nothing ran
        QVERIFY(f.limits().items(LimitsForm::list(0)).isEmpty());
        QCOMPARE(f.ctx.report.lines(), reportBefore);
        QCOMPARE(f.ctx.lastCalc->state.ev, before.ev);
        QVERIFY(f.limits().isEnabled("cvdOk"));
    }

    // A temperature range that reaches beyond the saturation table is refused before
    // the first calculation, naming its entry: no row, the design case as it was. The
    // values of the loop count, not the entry: 5 to 40,5 by 2 ends at 39 °С.
    void searchRangeBeyondTheTableIsRefusedFirst()
    {
        Fixture f;
        f.twoLayerWall();
        f.main().userClick("cmdOk");
        const QString designPm = f.main().text("txtPm_1");
        const QStringList reportBefore = f.ctx.report.lines();
        const struct {
            QStringList t;
            const char* said;
            const char* marked;
        } beyond[] = {
            {{"30", "50", "10"}, "Конечное значение температуры внутреннего воздуха t(в) 50 °С лежит вне таблицы", "txtTv_1"},
            {{"5", "41,5", "0,5"}, "Конечное значение температуры внутреннего воздуха t(в) 41,5 °С лежит вне", "txtTv_1"},
            {{"5", "41", "2"}, "Конечное значение температуры внутреннего воздуха t(в) 41 °С лежит вне", "txtTv_1"},
            {{"5", "41,5", "1"}, "Последнее значение перебора температуры внутреннего воздуха t(в) 41 °С лежит вне",
             "txtTv_1"},
            {{"-40,5", "20", "1"}, "Начальное значение температуры внутреннего воздуха t(в) -40,5 °С лежит вне", "txtTv_0"},
            {{"45", "10", "-5"}, "Начальное значение температуры внутреннего воздуха t(в) 45 °С лежит вне", "txtTv_0"},
        };
        for (const auto& b : beyond) {
            f.setRanges(b.t, {"50", "52", "1"});
            f.prompter.clear();
            f.limits().userClick("cvdOk");
            QCOMPARE(f.prompter.shown.size(), 1);
            QVERIFY2(f.prompter.shown[0].text.startsWith(QString::fromUtf8(b.said)), qPrintable(f.prompter.shown[0].text));
            QVERIFY(f.prompter.shown[0].text.endsWith(QStringLiteral("Укажите температуру от -40 до 40 °С.")));
            QCOMPARE(f.limits().markedControls(), QStringList{QLatin1String(b.marked)});
            QCOMPARE(f.limits().calculationsRun(), 0);
            QVERIFY(f.column(0).isEmpty());
            QVERIFY(!f.limits().lastSearchCompleted());
        }
        QCOMPARE(f.ctx.report.lines(), reportBefore);
        QVERIFY(f.ctx.lastCalc->finished());
        QVERIFY(qAbs(f.ctx.lastCalc->state.ev - 1135.2) < 1e-9);
        QCOMPARE(f.main().text("txtPm_1"), designPm);
        QVERIFY(f.main().markedControls().isEmpty());
        QVERIFY(f.limits().isEnabled("cvdOk") && f.limits().isEnabled("cmdSave"));
        QCOMPARE(f.ctx.activeRuns, 0);

        // the table's own ends are within it; a step that stops short of the entry counts
        // the values it reaches
        for (const QStringList& t : {QStringList{"-40", "40", "80"}, QStringList{"5", "40,5", "2"}}) {
            f.setRanges(t, {"50", "50", "1"});
            f.prompter.clear();
            f.limits().userClick("cvdOk");
            QVERIFY2(f.prompter.shown.isEmpty(), qPrintable(f.prompter.texts().join(u'|')));
            QVERIFY(f.limits().lastSearchCompleted());
        }
        QCOMPARE(f.column(0).last(), QStringLiteral("39"));
    }

    // A run that stops with an error ends the search; the design case is calculated
    // again and shown, and the rows searched so far stay. (A saturation table without
    // water vapour above 31 °С: the inner surface at tв = 40 °С has E = 0.)
    void searchStoppedByAnError()
    {
        Fixture f;
        for (SaturationRow& row : f.ctx.tables.saturation.rows)
            if (row.t >= 31)
                row.E = 0;
        f.twoLayerWall();
        f.main().userClick("cmdOk");
        const QString designPm = f.main().text("txtPm_1");
        f.setRanges({"30", "40", "10"}, {"50", "50", "1"});
        f.limits().userClick("cvdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.startsWith(
                     QStringLiteral("Расчет вариантов остановлен при t(в)=40 °С, фи(в)=50 %:\rОтносительная влажность в "
                                    "точке «Внутренняя поверхность»: максимальное парциальное давление водяного пара "
                                    "равно 0")),
                 qPrintable(f.prompter.shown[0].text));
        QVERIFY(!f.limits().lastSearchCompleted());
        QCOMPARE(f.limits().calculationsRun(), 2);
        QCOMPARE(f.column(0), QStringList({"30"}));
        QCOMPARE(f.column(2).size(), 1);
        QVERIFY(f.ctx.lastCalc->finished());
        QVERIFY(qAbs(f.ctx.lastCalc->state.ev - 1135.2) < 1e-9);
        QCOMPARE(f.main().text("txtPm_1"), designPm);
        QVERIFY(f.limits().isEnabled("cvdOk") && f.limits().isEnabled("cmdSave"));
        QCOMPARE(f.ctx.activeRuns, 0);
        QVERIFY(f.main().markedControls().isEmpty());
        // an entry the range check refuses is marked itself
        f.setRanges({"30", "50", "0"}, {"50", "50", "1"});
        f.prompter.clear();
        f.limits().userClick("cvdOk");
        QCOMPARE(f.limits().markedControls(), QStringList{"txtTv_2"});
    }

    // A problem of the case itself stops at the first run and is said once.
    void searchOnACaseThatCannotBeCalculated()
    {
        Fixture f;
        f.main().userClick("cmdOk");
        f.main().setText("txtTp", "0");
        f.prompter.clear();
        f.limits().userClick("cvdOk");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.shown[0].text.endsWith(QStringLiteral("\rНет данных по температурному перепаду!!!")));
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
        QCOMPARE(f.main().markedControls(), QStringList{"txtTp"});  // a field of the main window, marked there
        QVERIFY(f.column(0).isEmpty());
        QVERIFY(f.ctx.lastCalc->warning);
    }

    // While the search runs: rows appear one by one, the buttons are off, no second
    // run starts, and closing the window stops the search with the design case restored.
    void searchProgressAndClosing()
    {
        Fixture f;
        f.twoLayerWall();
        f.main().userClick("cmdOk");
        LimitsForm& l = f.limits();
        f.setRanges({"14", "22", "2"}, {"50", "80", "5"});
        QList<int> rowsSeen;
        f.ctx.processEvents = [&] {
            rowsSeen << int(l.items(LimitsForm::list(2)).size());
            QVERIFY(!l.isEnabled("cvdOk") && !l.isEnabled("cmdSave") && !l.isEnabled("cmdCancel"));
            QVERIFY(f.ctx.busy());
            // a second start from a pending event: refused with a beep
            l.search();
            f.main().calculate();
            if (rowsSeen.size() == 2)
                l.unloadForm();  // the close box
        };
        l.userClick("cvdOk");
        QCOMPARE(rowsSeen, QList<int>({1, 2}));
        QCOMPARE(f.prompter.beeps, 4);
        QVERIFY(!l.lastSearchCompleted());
        QVERIFY(!f.ctx.busy());
        QVERIFY(qAbs(f.ctx.lastCalc->state.ev - 1135.2) < 1e-9);
        QVERIFY(l.isEnabled("cvdOk"));
    }

    // ---- ogrado_calc ----

    void batchDewPoint()
    {
        QString out, err;
        QCOMPARE(batch({"--dewpoint", "18;55"}, out, err), 0);
        QCOMPARE(out, QStringLiteral("2064,0\n8,8\n"));
        out.clear();
        QCOMPARE(batch({"--dewpoint", "18.5 ; 60"}, out, err), 0);
        QCOMPARE(out, QStringLiteral("2130,5\n10,6\n"));
        // nothing computed: two empty lines, the reason on stderr
        out.clear();
        err.clear();
        QCOMPARE(batch({"--dewpoint", "30,1;55"}, out, err), 1);
        QCOMPARE(out, QStringLiteral("\n\n"));
        QVERIFY(err.contains(QStringLiteral("от -25 до 30 °С")));
        // a message case
        out.clear();
        err.clear();
        QCOMPARE(batch({"--dewpoint", "18;0,01"}, out, err), 1);
        QCOMPARE(out, QStringLiteral("2064,0\n\n"));
        QVERIFY(err.startsWith(QStringLiteral("Ошибка: Влажность воздуха 0,01 % слишком мала")));
        // not two values
        QCOMPARE(batch({"--dewpoint", "18"}, out, err), 2);
    }

    void batchLimits()
    {
        QTemporaryDir dir;
        const QString casePath = dir.filePath("case.json");
        QFile c(casePath);
        QVERIFY(c.open(QIODevice::WriteOnly));
        c.write(R"({"chkPr": true})");
        c.close();

        QString out, err;
        QCOMPARE(batch({"--limits", "5;20;1;50;70;1", casePath}, out, err), 0);
        const QStringList lines = out.split(u'\n');
        QCOMPARE(lines.mid(lines.size() - 20, 3), QStringList({QString(), kHeading, "Тв ;Фи(в.) - от;Фи(в.) - до"}));

        out.clear();
        QCOMPARE(batch({"--json", "--limits", "5.5;6,5;1;50;70;5", casePath}, out, err), 0);
        const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
        const QJsonArray rows = o.value("limits").toArray();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].toArray(), QJsonArray({"6,5", "50", "70"}));
        QVERIFY(o.value("limitsError").isNull());

        // a refused search: exit 1, the message on stderr, no block in the report
        out.clear();
        err.clear();
        QCOMPARE(batch({"--limits", "5;20;0;50;70;1"}, out, err), 1);
        QVERIFY(err.contains(QStringLiteral("Шаг температуры внутреннего воздуха t(в) равен нулю")));
        QVERIFY(!out.contains(QStringLiteral("Тв ;Фи(в.) - от")));
        QCOMPARE(batch({"--limits", "5;20;1;50;70"}, out, err), 2);
        // a temperature beyond the table: refused before the search, no row
        out.clear();
        err.clear();
        QCOMPARE(batch({"--json", "--limits", "5;41,5;0,1;5;99,5;0,5"}, out, err), 1);
        const QJsonObject refused = QJsonDocument::fromJson(out.toUtf8()).object();
        QVERIFY(refused.value("limits").toArray().isEmpty());
        QVERIFY(refused.value("limitsError").toString().startsWith(
            QStringLiteral("Конечное значение температуры внутреннего воздуха t(в) 41,5 °С лежит вне таблицы")));
        // the design case as «Расчет» left it: the example wall, Rт 3,185 < Rт.норм 3,2
        QCOMPARE(refused.value("complies").toInt(), 0);
        QCOMPARE(refused.value("RtNorm").toDouble(), 3.2);
    }

    void dewPointWindow()
    {
        test::AppFixture f;
        auto& form = f.app->formAs<DewPointForm>();
        form.loadForm();
        DewPointWindow window(form);
        for (const Control& c : form.controls())
            QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Точка росы"));
        auto* t = window.findChild<QLineEdit*>("txt1_1");
        t->clear();
        form.userEdit("txt1_1", QString());
        QTest::keyClicks(t, "18.5x");
        QCOMPARE(form.text("txt1_1"), QStringLiteral("18,5"));
        QCOMPARE(f.prompter.beeps, 1);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        // E(18,5) = 2130,5; e = 0,55·2130,5 = 1171,8: tр = 10 - (1228 - 1171,8)/80 = 9,30
        QCOMPARE(window.findChild<QLineEdit*>("txt1_3")->text(), QStringLiteral("2130,5"));
        QCOMPARE(window.findChild<QLineEdit*>("txt1_2")->text(), QStringLiteral("9,3"));
        QVERIFY(window.findChild<QLineEdit*>("txt1_2")->isReadOnly());
        // out of range: both results empty, the reason in the window
        t->selectAll();
        QTest::keyClicks(t, "35");
        QTest::mouseClick(window.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        QVERIFY(window.findChild<QLineEdit*>("txt1_3")->text().isEmpty());
        auto* note = window.findChild<QLabel*>(DewPointForm::noteName());
        QVERIFY(note && note->isVisible());
        QVERIFY(note->text().startsWith(QStringLiteral("Температура 35 °С вне диапазона")));
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(!form.isLoaded());
    }

    void limitsWindow()
    {
        test::AppFixture f;
        f.app->mainForm().userClick("cmdOk");
        auto& form = f.app->formAs<LimitsForm>();
        form.loadForm();
        LimitsWindow window(form);
        for (const Control& c : form.controls())
            QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Границы использования пирожка"));
        auto* last = window.findChild<QLineEdit*>("txtTv_1");
        QCOMPARE(last->text(), QStringLiteral("20"));
        last->clear();
        QTest::keyClicks(last, "8");
        QCOMPARE(form.text("txtTv_1"), QStringLiteral("8"));
        QTest::mouseClick(window.findChild<QPushButton*>("cvdOk"), Qt::LeftButton);
        QVERIFY(f.prompter.shown.isEmpty());
        for (int k = 0; k < 3; ++k)
            QCOMPARE(window.findChild<QListWidget*>(LimitsForm::list(k))->count(), 4);
        QCOMPARE(window.findChild<QListWidget*>("lst1_0")->item(3)->text(), QStringLiteral("8"));
        QVERIFY(window.findChild<QPushButton*>("cvdOk")->isEnabled());
        const int lines = f.ctx.report.lineCount();
        QTest::mouseClick(window.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(f.ctx.report.lineCount(), lines + 3 + 4);
    }
};

QTEST_MAIN(TestTools)
#include "test_tools.moc"
