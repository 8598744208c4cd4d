// SPDX-License-Identifier: GPL-3.0-or-later
// The envelope calculation: saturation lookup, resistances, field, the п. 9.1 check,
// the verdict and the report. Expected numbers are worked out by hand from the
// formulas of ТКП 45-2.04-43 (see the comments), not taken from the program.
#include "common/app_error.h"
#include "common/text_file.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/envelope_calc.h"
#include "engine/envelope_input.h"
#include "engine/point_field.h"
#include "engine/saturation.h"
#include "engine/verdict.h"
#include "test_support.h"
#include "test_tables.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

namespace {

struct Layer {
    QString thickness, points, lambdaA, lambdaB, sA, sB, mu;
};

LayerTable table(const QVector<Layer>& layers, const QString& tIn = "18", const QString& phiIn = "55",
                 const QString& tHeat = "-2", const QString& phiHeat = "83", const QString& alphaIn = "8,7",
                 const QString& alphaOut = "23")
{
    LayerTable t;
    t.header = {alphaIn, alphaOut, tIn, phiIn, tHeat, phiHeat, "429", "207"};
    int row = 0;
    for (const Layer& l : layers) {
        LayerRow r;
        ++row;
        r.cells = {QString(), QString::number(row), l.thickness, l.points, l.lambdaA, l.lambdaB, l.sA, l.sB, l.mu};
        r.sourceRow = row;
        r.name = QStringLiteral("Слой %1").arg(row);
        t.layers.append(r);
    }
    return t;
}

// The example wall of the main window.
LayerTable exampleWall()
{
    return table({{"20", "0", "0,7", "0,81", "8,69", "9,76", "0,12"},
                  {"250", "3", "0,15", "0,16", "2,38", "2,48", "0,2"},
                  {"60", "3", "0,041", "0,042", "0,58", "0,65", "0,48"},
                  {"10", "0", "0,76", "0,93", "9,6", "11,09", "0,09"}});
}

EnvelopeInputs exampleInputs(bool refine)
{
    EnvelopeInputs in;
    in.tn = {"-31", "-28", "-27", "-25"};  // Витебская
    in.n = "1";
    in.tempDiff = "6";
    in.refine = refine;
    in.buildingType = "Жилые здания (общежития)";
    in.nCaption = "Наружные стены";
    in.alphaInCaption = "Стен";
    in.alphaOutCaption = "Наружных стен";
    in.envelopeCaption = "Наружные стены Тип конструкции - Жилые здания";
    in.region = "Витебская";
    return in;
}

// A straight-line table E = 10·t + 1000 between -100 and +100 °С: values by hand.
SaturationTable linearTable()
{
    SaturationTable s;
    s.rows = {{-100, 0}, {100, 2000}};
    return s;
}

const SaturationTable& shippedSaturation()
{
    static const SaturationTable s = test::shippedTables().saturation;
    return s;
}

QString fieldText(const EnvelopeOutcome& o, const QString& name)
{
    QString text;
    for (const FieldUpdate& u : o.updates)
        if (u.name == name && u.text)
            text = *u.text;
    return text;
}

std::optional<Rgb> fieldColour(const EnvelopeOutcome& o, const QString& name)
{
    std::optional<Rgb> colour;
    for (const FieldUpdate& u : o.updates)
        if (u.name == name && u.background)
            colour = u.background;
    return colour;
}

}  // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    // The main window's input read once: each value keeps its text, number, field and
    // range; reading refuses nothing, each value is refused where a calculation uses it,
    // and the run refuses with the message the layers give first.
    void typedInputReadOnce()
    {
        LayerTable t = exampleWall();
        t.header.alphaIn = "восемь";
        t.header.phiIn = "120";
        t.layers[1].cells[kColLambdaB] = "x";
        EnvelopeInputs in = exampleInputs(false);
        in.tempDiff = " ";
        const EnvelopeInput input = readEnvelopeInput(t, in);
        QCOMPARE(input.layerCount(), 4);
        QCOMPARE(input.tIn.number(), 18.0);
        QCOMPARE(input.tn[3].number(), -25.0);
        QCOMPARE(input.tn[3].field.controls, QStringList{"txtTn_4"});
        // е(от.) and z(от.), printed verbatim, are typed values with their fields too
        QCOMPARE(input.eHeat.text, QStringLiteral("429"));
        QCOMPARE(input.zHeat.number(), 207.0);
        QCOMPARE(input.zHeat.field.controls, QStringList{"txtTot_4"});
        QVERIFY(input.zHeat.range && !inRange(0, *input.zHeat.range));

        QVERIFY(!input.alphaIn.value);
        EXPECT_APP_ERROR(input.alphaIn.number(), "α(в) not a number was taken", [](const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в): «восемь» не "
                                                 "является числом. Введите число."));
            QCOMPARE(e.field().controls, QStringList{"txtAlv"});
        });
        QCOMPARE(input.phiIn.number(), 120.0);  // a number, refused by its range only
        EXPECT_APP_ERROR(input.phiIn.checked(), "фи(в) = 120 % was taken", [](const AppError& e) {
            QCOMPARE(e.title(), QString::fromUtf8(kInputErrorTitle));
            QCOMPARE(e.field().controls, QStringList{"txtFiv"});
        });
        EXPECT_APP_ERROR(input.tempDiff.number(), "an empty Δt(в) was taken", [](const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Температурный перепад дельта(tв): значение не задано. Введите число."));
        });
        QString layerMessage;
        EXPECT_APP_ERROR(input.layerValues(), "λ(Б) «x» was taken", [&](const AppError& e) {
            layerMessage = e.message();
            QVERIFY2(layerMessage.startsWith(QStringLiteral("Слой №2:")), qPrintable(layerMessage));
            QCOMPARE(e.field().controls, QStringList{gridCellName(2, kColLambdaB)});
        });
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(input, shippedSaturation(), &r);
        QVERIFY(o.refused());
        QCOMPARE(o.error->text, layerMessage);
        QVERIFY(r.lines().isEmpty());
    }

    // A search hands the run its value as a number: the run on the changed input is the
    // run on the same values typed, and a stepped value is the decimal the lists show.
    void valuesASearchTries()
    {
        EnvelopeInput input = readEnvelopeInput(exampleWall(), exampleInputs(true));
        const EnvelopeInput typed = input;
        QVERIFY(input == typed);
        input.setThickness(3, 100);
        QCOMPARE(*input.cells[2][kColThickness], 100.0);
        QVERIFY(!(input == typed));
        input.setInsideAir(20, 45.5);
        QCOMPARE(input.phiIn.number(), 45.5);

        LayerTable t = exampleWall();
        t.layers[2].cells[kColThickness] = "100";
        t.header.tIn = "20";
        t.header.phiIn = "45,5";
        QVERIFY(readEnvelopeInput(t, exampleInputs(true)) == input);
        CalcReport a;
        CalcReport b;
        const EnvelopeOutcome x = RunEnvelopeCalculation(input, shippedSaturation(), &a);
        const EnvelopeOutcome y = RunEnvelopeCalculation(t, exampleInputs(true), shippedSaturation(), b);
        QVERIFY(x.finished() && y.finished());
        QCOMPARE(x.state.rt, y.state.rt);
        QCOMPARE(a.lines(), b.lines());
        // without the report the results are the same
        const EnvelopeOutcome quiet = RunEnvelopeCalculation(input, shippedSaturation(), nullptr);
        QCOMPARE(quiet.state.rt, x.state.rt);
        QCOMPARE(quiet.complies(), x.complies());

        const double stepped = 0.1 * 3;
        QVERIFY(stepped != 0.3);
        QCOMPARE(generalValue(stepped), 0.3);
    }

    // A layer whose mean humidity is exactly 75 % takes condition А ("75 itself gives
    // А"): with tв = t(от.) = 0 °С and фи(в) = фи(от.) = 75 % every point of the field has
    // e = 0,75·E, so φ = 75 exactly, while the inside air alone gives condition Б
    // (tв ≤ 12 and фи(в) > 60). One layer, 100 mm: λА 0,1, λБ 0,2; sА 1, sБ 3.
    void meanHumidityOfExactly75GivesConditionA()
    {
        const LayerTable base = table({{"100", "0", "0,1", "0,2", "1", "3", "0,1"}}, "0", "75", "0", "75");
        const double rA = 1 / 8.7 + 0.1 / 0.1 + 1 / 23.0;  // 1,15841
        const double rB = 1 / 8.7 + 0.1 / 0.2 + 1 / 23.0;  // 0,65841
        for (bool refine : {false, true}) {
            LayerTable t = base;
            CalcReport r;
            const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(refine), linearTable(), r);
            QVERIFY(o.finished());
            QCOMPARE(o.state.conditionLetter, QStringLiteral("Б"));
            if (!refine) {
                QVERIFY(qAbs(o.state.rt - rB) < 1e-12);
                QVERIFY(qAbs(o.state.D - 0.1 * 3 / 0.2) < 1e-12);
                continue;
            }
            QCOMPARE(*o.state.layers[0].phiMean, 75.0);
            QVERIFY(qAbs(o.state.rtPreliminary - rB) < 1e-12);
            QVERIFY2(qAbs(o.state.rt - rA) < 1e-12, qPrintable(QString::number(o.state.rt)));
            // D with the layer's own condition: 0,1·1/0,1 = 1 (Б would give 1,5)
            QVERIFY2(qAbs(o.state.D - 1.0) < 1e-12, qPrintable(QString::number(o.state.D)));
        }
    }

    // "Пересчитать" follows the same rule: with the layer's and its points' mean humidity
    // at exactly 75 % the refined field uses λА. One layer, tв = 20, t(от.) = 0: the outer
    // surface is at 20 − 20·(1/8,7 + 0,1/λ)/(1/8,7 + 0,1/λ + 1/23), 0,75 °С with λА = 0,1
    // and 1,32 °С with λБ = 0,2.
    void refinedFieldAtExactly75UsesLambdaA()
    {
        LayerTable t = table({{"100", "0", "0,1", "0,2", "1", "3", "0,1"}}, "20", "55", "0", "75");
        CalcReport r;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(true), linearTable(), r);
        QVERIFY(o.finished());
        o.state.layers[0].phiMean = 75.0;
        for (CalcPoint& p : o.state.points)
            p.phiMean = 75.0f;
        RecalculateRefinedField(o.input, o.state, true, linearTable());
        const double inner = 1 / 8.7 + 0.1 / 0.1;
        const double expected = 20 - 20 * inner / (inner + 1 / 23.0);
        QVERIFY2(qAbs(o.state.points.last().t - expected) < 1e-4, qPrintable(QString::number(o.state.points.last().t)));
    }

    void saturationLookup()
    {
        const SaturationTable& s = shippedSaturation();
        QCOMPARE(SaturationPressure(s, 18, "t"), 2064.0);  // a table row gives its own E
        QCOMPARE(SaturationPressure(s, 17.5, "t"), (1938.0 + 2064.0) / 2);
        QCOMPARE(SaturationPressure(s, -40, "t"), 12.6f * 1.0);  // first row
        QCOMPARE(SaturationPressure(s, 40, "t"), 7375.0);         // last row
        for (double t : {-40.5, 40.01}) {
            EXPECT_APP_ERROR(SaturationPressure(s, t, "t"), "no error", [&](const AppError& e) {
                QVERIFY2(e.message().contains(QStringLiteral("от -40 до 40 °С")), qPrintable(e.message()));
            });
        }
        QCOMPARE(PartialPressure(0, 2064), 0.0);
        QCOMPARE(PartialPressure(100, 2064), 2064.0);
    }

    void operatingCondition()
    {
        QVERIFY(conditionIsA(12, 60));
        QVERIFY(!conditionIsA(12, 61));
        QVERIFY(conditionIsA(24, 50));
        QVERIFY(!conditionIsA(25, 41));
        QVERIFY(conditionIsA(25, 40));
        QVERIFY(!conditionIsA(18, 55));
    }

    void exampleWallWithoutRefinement()
    {
        LayerTable t = exampleWall();
        CalcReport report;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), report);
        QVERIFY(o.finished());
        const CalcState& s = o.state;
        QCOMPARE(s.conditionLetter, QStringLiteral("Б"));  // 18 °С, 55 % > 50 %
        // Rт = 1/8,7 + 0,02/0,81 + 0,25/0,16 + 0,06/0,042 + 0,01/0,93 + 1/23 = 3,18494
        QVERIFY(qAbs(s.rtPreliminary - 3.1849362643733605) < 1e-12);
        QCOMPARE(fieldText(o, "txtRt"), QStringLiteral("3,18"));
        // Rп = 0,02/0,12 + 0,25/0,2 + 0,06/0,48 + 0,01/0,09 = 1,65278
        QVERIFY(qAbs(s.rp - 1.652777777777778) < 1e-12);
        QCOMPARE(fieldText(o, "txtRp"), QStringLiteral("1,65"));
        // D = 0,02·9,76/0,81 + 0,25·2,48/0,16 + 0,06·0,65/0,042 + 0,01·11,09/0,93 = 5,164: three days
        QVERIFY(qAbs(s.D - 5.163806394720373) < 1e-12);
        QCOMPARE(s.tnIndex, 3);
        QCOMPARE(fieldText(o, "txtTnras"), QStringLiteral("-27"));
        QCOMPARE(fieldColour(o, "txtTn_3"), std::optional<Rgb>(kHighlight));
        // Rт.тр. = 1·(18 + 27)/(8,7·6) = 0,862
        QVERIFY(qAbs(*s.rtRequired - 0.8620689655172414) < 1e-12);
        QCOMPARE(fieldText(o, "txtRtr"), QStringLiteral("0,86"));
        // boundaries with λБ and the preliminary Rт; E from the table between whole degrees
        struct B {
            double t, E, e, rpIn, rpOut, req;
        };
        const B expected[3] = {
            {17.123160558518766, 1953.5182303733645, 1063.9976470588235, 0.16666666666666669, 1.4861111111111112,
             -0.7977599374970469},
            {7.311347258026085, 1024.105655319852, 529.98, 1.4166666666666667, 0.23611111111111116,
             0.04408537932346699},
            {-1.6594534738529312, 532.3245936766181, 476.5782352941177, 1.5416666666666667, 0.11111111111111116,
             0.6489988854485841},
        };
        for (int i = 0; i < 3; ++i) {
            const LayerResult& r = s.layers[i];
            QVERIFY(qAbs(r.tBoundary - expected[i].t) < 1e-9);
            QVERIFY(qAbs(r.eSatBoundary - expected[i].E) < 1e-6);
            QVERIFY(qAbs(r.eBoundary - expected[i].e) < 1e-6);
            QVERIFY(qAbs(r.rpFromInside - expected[i].rpIn) < 1e-12);
            QVERIFY(qAbs(r.rpToOutside - expected[i].rpOut) < 1e-12);
            QVERIFY(qAbs(r.rpRequired - expected[i].req) < 1e-9);
            QVERIFY(r.passes);
        }
        QCOMPARE(fieldText(o, "txtT_3"), QStringLiteral("-1,66"));
        QCOMPARE(fieldText(o, "txtRpv_2"), QStringLiteral("1,417"));
        QCOMPARE(fieldText(o, "txtRptr_2"), QStringLiteral("0,044"));
        QVERIFY(s.complies);
        // the result lists: the field with the preliminary condition's column (Б) for every layer
        QVERIFY(o.lists);
        QCOMPARE(o.lists->caption, QStringLiteral("Результаты предварительных расчетов"));
        QCOMPARE(o.lists->columns[0].size(), 11);
        QCOMPARE(o.lists->columns[0][0], QStringLiteral("Внутренняя поверхность"));
        QCOMPARE(o.lists->columns[0][2], QStringLiteral("1пр. точка.  Слой 2"));
        QCOMPARE(o.lists->columns[0][5], QStringLiteral("Граница слоев 2-3"));
        QCOMPARE(o.lists->columns[0][10], QStringLiteral("Наружная поверхность"));
        QCOMPARE(o.lists->columns[1][0], QStringLiteral("17,28"));  // 18 − 20·(1/8,7)/3,18494
        QCOMPARE(o.lists->listHeightTwips, 2220);
    }

    void exampleWallReportWithoutRefinement()
    {
        LayerTable t = exampleWall();
        CalcReport r;
        RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        // 11 source-data lines + 31 + 10 (region), 4 + 3 + 3 + 2 results, 4 + 4 air,
        // 3 + 1 + 3 inertia and Rт.тр., 9 + 5 + 11 boundaries, 2 verdict
        QCOMPARE(r.lineCount(), 96);
        QCOMPARE(r.line(1), QStringLiteral(" Теплотехнический расчет ограждающей конструкции в соответствии с ТКП 45-2.04-43."));
        QCOMPARE(r.line(7), QStringLiteral(";;;;А; Б;А; Б;"));
        QCOMPARE(r.line(8), QStringLiteral("1;Слой 1;20;0;0,7;0,81;8,69;9,76;0,12"));
        QCOMPARE(r.line(34), QStringLiteral("7. Место расположения объекта - Витебская область:"));
        QCOMPARE(r.line(46), QStringLiteral("    При заданных параметрах внутреннего воздуха в соответствии с таблицей 4.2 ТКП "
                                            "45-2.04-43 приняты условия эксплуатации ограждающих конструкций - Б."));
        QCOMPARE(r.line(49), QStringLiteral("Rт=1/8,7+0,02/0,81+0,25/0,16+0,06/0,042+0,01/0,93+1/23=3,185 м2*градус/Вт."));
        QCOMPARE(r.line(52), QStringLiteral("Rп =0,02/0,12+0,25/0,2+0,06/0,48+0,01/0,09=1,653 м2*ч*Па/мг."));
        QCOMPARE(r.line(53), QStringLiteral(" "));
        QCOMPARE(r.line(58), QStringLiteral("ев=0,01*55*2064,0=1135,2 Па."));
        QCOMPARE(r.line(62), QStringLiteral("ен=0,01*83*517,0=429,1 Па."));
        QCOMPARE(r.line(65), QStringLiteral("D=0,02*9,76/0,81+0,25*2,48/0,16+0,06*0,65/0,042+0,01*11,09/0,93=5,16."));
        QCOMPARE(r.line(69), QStringLiteral("Rт.тр.=1*( 18-(-27))/(8,7*6)=0,86 м2*градус/Вт."));
        // the signed texts: Δt(в) named as what it is; no refinement announced where none ran
        QVERIFY(r.lines().contains(QStringLiteral("   - нормируемый температурный перепад дельта(tв)=6°С.")));
        QVERIFY(r.lines().contains(QStringLiteral("    По решению пользователя уточнение значения сопротивления "
                                                  "теплопередаче в соответствии с п. 5.14 ТКП 45-2.04-43 не "
                                                  "производится.")));
        QCOMPARE(r.line(72), QStringLiteral("   Определим расчетную температуру на границах слоев ограждающей конструкции при "
                                            "условиях эксплуатации материалов предварительного расчета и "
                                            "соответствующие максимальные парциальные давления водяного пара:"));
        QCOMPARE(r.line(73), QStringLiteral("t(1-2)=18-(18-(-2))/3,185*(1/8,7+0,02/0,81)= 17,12°С."));
        QCOMPARE(r.line(74), QStringLiteral("Е(1-2)=1953,5Па."));
        QCOMPARE(r.line(81), QStringLiteral("Rп.н.(1-2)=1,653-0,167=1,486 м2*ч*Па/мг."));
        QCOMPARE(r.line(87), QStringLiteral("Rп.тр.(1-2)=1,486*(1135,2-1953,5)/(1953,5-429,1)=-0,798 м2*ч*Па/мг."));
        QVERIFY(r.line(88).endsWith(QStringLiteral("составляет Rп.в.=0,167, что больше требуемого сопротивления "
                                                   "Rп.тр.=-0,798. Требования п. 9.1 ТКП 45-2.04-43 выполнены.")));
        QCOMPARE(r.line(96), QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43."));
    }

    void exampleWallRefined()
    {
        LayerTable t = exampleWall();
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(true), shippedSaturation(), r);
        QVERIFY(o.finished());
        const CalcState& s = o.state;
        // φ of the preliminary field, by hand: 57,54 54,47 55,73 56,01 54,87 51,75 58,95 67,20 76,81 89,53 81,07;
        // layer means (57,54+54,47)/2, (54,47..51,75)/5, (51,75..89,53)/5, (89,53+81,07)/2
        const double means[4] = {56.000433204095614, 54.56590721489317, 68.84845861118114, 85.30055323214556};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(qAbs(*s.layers[i].phiMean - means[i]) < 1e-3, qPrintable(QString::number(*s.layers[i].phiMean)));
        // layers 1..3 А, layer 4 Б: Rт = 1/8,7 + 0,02/0,7 + 0,25/0,15 + 0,06/0,041 + 0,01/0,93 + 1/23
        QVERIFY(qAbs(s.rt - 3.327826207161677) < 1e-12);
        QCOMPARE(fieldText(o, "txtRt"), QStringLiteral("3,33"));
        QCOMPARE(fieldColour(o, "txtRt"), std::optional<Rgb>(kHighlight));
        QCOMPARE(fieldText(o, "txtFiSl_3"), QStringLiteral("68,8"));
        QCOMPARE(fieldColour(o, "txt1_32"), std::optional<Rgb>(kHighlight));  // row 4, λБ
        QCOMPARE(fieldColour(o, "txt1_31"), std::optional<Rgb>(kWhite));      // row 4, λА
        QVERIFY(qAbs(s.rLayersButLast - float(0.02 / 0.7 + 0.25 / 0.15 + 0.06 / 0.041)) < 1e-6);
        QVERIFY(qAbs(s.rLayersAll - float(0.02 / 0.7 + 0.25 / 0.15 + 0.06 / 0.041 + 0.01 / 0.93)) < 1e-6);
        // D = 0,02·8,69/0,7 + 0,25·2,38/0,15 + 0,06·0,58/0,041 + 0,01·11,09/0,93 = 5,183
        QVERIFY(qAbs(s.D - 5.182980180585216) < 1e-12);
        const double tb[3] = {17.13749127284225, 7.120942553561765, -1.6740758340991455};
        const double req[3] = {-0.7985743286296579, 0.050599656482026044, 0.6538757745027177};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(qAbs(s.layers[i].tBoundary - tb[i]) < 1e-9);
            QVERIFY(qAbs(s.layers[i].rpRequired - req[i]) < 1e-9);
        }
        // a layer without intermediate points keeps its mean in the point that ends it
        QCOMPARE(s.points[1].phiMean, float(*s.layers[0].phiMean));
        QCOMPARE(s.points[10].phiMean, float(*s.layers[3].phiMean));
        QCOMPARE(o.lists->caption, QStringLiteral("Результаты предварительных расчетов"));
        QCOMPARE(o.lists->columns[4][9], QStringLiteral("89,5"));

        // + 13 temperature lines, 13 saturation lines, 35 vapour lines, 6 means, 8 refined Rт
        QCOMPARE(r.lineCount(), 171);
        QCOMPARE(r.line(57), QStringLiteral("tв.п.=18-(18-(-2))/3,185*(1/8,7)= 18-6,28*(1/8,7)= 17,28°С."));
        QCOMPARE(r.line(59), QStringLiteral("t2=18-6,28*(1/8,7+0,02/0,81+0,063/0,16)= 14,67°С."));
        QCOMPARE(r.line(68), QStringLiteral(" "));
        QCOMPARE(r.line(70), QStringLiteral("tв.п.=17,28°С. Ев.п.=1973,1 Па."));
        QCOMPARE(r.line(71), QStringLiteral("t1=17,12°С. Е1=1953,5 Па."));
        QCOMPARE(r.line(80), QStringLiteral("tн.п.=-1,73°С. Ен.п.=529,3 Па."));
        QCOMPARE(r.line(92), QStringLiteral("е(в.п.)=ев=1135,2Па."));
        QCOMPARE(r.line(93), QStringLiteral("фи(в.п.)=1135,2*100/1973,1=57,5%."));
        QCOMPARE(r.line(96), QStringLiteral("фи1=1064,0*100/1953,5=54,5%."));
        QCOMPARE(r.line(123), QStringLiteral("фи(н.п.)=429,1*100/529,3=81,1%."));
        QCOMPARE(r.line(126), QStringLiteral("фи(ср.)1=(57,5+54,5)/2=56,0%."));
        QCOMPARE(r.line(127), QStringLiteral("фи(ср.)2=(54,5+55,7+56,0+54,9+51,8)/5=54,6%."));
        QCOMPARE(r.line(132), QStringLiteral("Слой №1. Средняя влажность 56,0% <75% - принимаем условия эксплуатации А."));
        QCOMPARE(r.line(135), QStringLiteral("Слой №4. Средняя влажность 85,3% >75% - принимаем условия эксплуатации Б."));
        QCOMPARE(r.line(137), QStringLiteral("Rт=1/8,7+0,02/0,7+0,25/0,15+0,06/0,041+0,01/0,93+1/23=3,328 м2*градус/Вт."));
        QCOMPARE(r.line(147), QStringLiteral("   Определим расчетную температуру на границах слоев ограждающей конструкции при "
                                             "уточненных условиях эксплуатации  материалов и соответствующие "
                                             "максимальные парциальные давления водяного пара:"));
        QCOMPARE(r.line(148), QStringLiteral("t(1-2)=18-(18-(-2))/3,328*(1/8,7+0,02/0,7)= 17,14°С."));
        QCOMPARE(r.line(171), QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43."));
    }

    void refinedFieldWithPerLayerConditions()
    {
        LayerTable t = exampleWall();
        CalcReport r;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(true), shippedSaturation(), r);
        const ResultLists l = RecalculateRefinedField(o.input, o.state, true, shippedSaturation());
        QCOMPARE(l.caption, QStringLiteral("Результаты по уточненному Rt"));
        // point 2 lies at 1/8,7 + 0,02/0,7 (layer 1 А): 18 − 20·0,143514/3,327826 = 17,1375
        QCOMPARE(l.columns[1][1], QStringLiteral("17,14"));
    }

    void designTemperatureBandEdges_data()
    {
        QTest::addColumn<QString>("s");
        QTest::addColumn<int>("index");
        // one layer of 1000 mm with λ = 1: D equals s
        QTest::newRow("1,5") << "1,5" << 1;
        QTest::newRow("4") << "4" << 2;
        QTest::newRow("7") << "7" << 3;
        QTest::newRow("7,01") << "7,01" << 4;
    }
    void designTemperatureBandEdges()
    {
        QFETCH(QString, s);
        QFETCH(int, index);
        LayerTable t = table({{"1000", "0", "1", "1", s, s, "0,1"}});
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QCOMPARE(o.state.tnIndex, index);
    }

    void equalityPassesBothChecks()
    {
        // E = 10·t + 1000. Rт = 1/8 + 0,5/2 + 1/1 + 1/8 = 1,5; the boundary lies at
        // 20 − 40·(0,125 + 0,25)/1,5 = 10 °С, E = 1100; ев = 1200, ен = 400;
        // Rп.в. = 0,5/3,5 = 1/7, Rп.н. = 1, Rп.тр. = (1200 − 1100)·1/(1100 − 400) = 1/7.
        // Rт.тр. = 1·(20 + 40)/(8·5) = 1,5 with D = 1 (coldest day 0,98).
        LayerTable t = table({{"500", "0", "2", "2", "0", "0", "3,5"}, {"1000", "0", "1", "1", "1", "1", "1"}}, "20",
                             "100", "-20", "50", "8", "8");
        EnvelopeInputs in = exampleInputs(false);
        in.tn = {"-40", "-30", "-30", "-30"};
        in.tempDiff = "5";
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, in, linearTable(), r);
        QVERIFY(o.finished());
        QCOMPARE(o.state.rt, 1.5);
        QCOMPARE(*o.state.rtRequired, 1.5);
        QCOMPARE(o.state.layers[0].rpFromInside, o.state.layers[0].rpRequired);
        QVERIFY(o.state.layers[0].passes);
        QVERIFY(o.state.complies);
        QCOMPARE(fieldColour(o, "txtRpv_1"), std::optional<Rgb>(kWhite));
        QVERIFY(r.line(r.lineCount() - 2).contains(QStringLiteral("что больше требуемого сопротивления Rп.тр.=0,143")));
    }

    void singleLayerHasNoBoundary()
    {
        // Rт = 1/8,7 + 1/0,81 + 1/23 = 1,393; D = 9,76/0,81 = 12: tн = -25, Rт.тр. = 43/52,2 = 0,82
        LayerTable t = table({{"1000", "2", "0,7", "0,81", "8,69", "9,76", "0,12"}});
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.finished());
        QVERIFY(o.state.complies);
        // a thin single layer fails on Rт alone
        LayerTable thin = table({{"100", "0", "0,7", "0,81", "8,69", "9,76", "0,12"}});
        QVERIFY(!RunEnvelopeCalculation(thin, exampleInputs(false), shippedSaturation(), r).state.complies);
        QVERIFY(!r.lines().join(u'\n').contains(QStringLiteral("Rп.тр.(")));
        QVERIFY(!r.lines().join(u'\n').contains(QStringLiteral("t(1-2)")));
    }

    void severalFailingBoundaries()
    {
        // an open insulation inside, dense layers outside: the vapour has nowhere to go
        LayerTable t = table({{"100", "0", "0,045", "0,05", "0,6", "0,7", "0,5"},
                              {"100", "0", "0,045", "0,05", "0,6", "0,7", "0,5"},
                              {"150", "0", "1,92", "2,04", "17,98", "18,95", "0,03"},
                              {"100", "0", "1,92", "2,04", "17,98", "18,95", "0,03"}});
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.finished());
        QVERIFY(!o.state.complies);
        int failing = 0;
        for (int i = 0; i < 3; ++i) {
            if (!o.state.layers[i].passes) {
                ++failing;
                QCOMPARE(fieldColour(o, QStringLiteral("txtRpv_%1").arg(i + 1)), std::optional<Rgb>(kRed));
            }
        }
        QVERIFY(failing >= 2);
        QCOMPARE(r.lines().filter(QStringLiteral("Требования п. 9.1 ТКП 45-2.04-43 не выполнены!!!")).size(), failing);
        QCOMPARE(r.line(r.lineCount()),
                 QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43."));
    }

    void missingTemperatureDifferenceEndsTheRun()
    {
        LayerTable t = exampleWall();
        EnvelopeInputs in = exampleInputs(false);
        in.tempDiff = "0";
        CalcReport r;
        for (int i = 0; i < 120; ++i)
            r.add("old");
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, in, shippedSaturation(), r);
        QVERIFY(!o.finished());
        QVERIFY(o.warning);
        QCOMPARE(o.warning->text, QStringLiteral("Нет данных по температурному перепаду!!!"));
        QCOMPARE(o.warning->title, QStringLiteral("Ошибка в исходных данных!!"));
        QCOMPARE(r.lineCount(), 66);  // through the design temperature line, no old line after it
        QVERIFY(r.line(66).startsWith(QStringLiteral("   Согласно таблице 5.2")));
        QVERIFY(!o.lists);
        in.tempDiff = "";
        QVERIFY(RunEnvelopeCalculation(t, in, shippedSaturation(), r).warning);
    }

    void badInputStopsWithAMessage_data()
    {
        QTest::addColumn<int>("layer");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("lines");  // what was written before the stop stays
        QTest::newRow("λ = 0") << 2 << int(kColLambdaB) << "0"
                               << "Слой №2: коэффициент теплопроводности для условий Б «0» — деление на ноль. Укажите "
                                  "коэффициент теплопроводности больше нуля."
                               << 46;
        QTest::newRow("not a number") << 3 << int(kColThickness) << "6o"
                                      << "Слой №3: толщина «6o» не является числом. Введите число." << 0;
        QTest::newRow("points") << 1 << int(kColPoints) << "1,5"
                                << "Слой №1: количество промежуточных точек «1,5» недопустимо. Укажите целое число от 0 "
                                   "до 100."
                                << 0;
        QTest::newRow("s negative") << 4 << int(kColSA) << "-1"
                                    << "Слой №4, коэффициент теплоусвоения для условий А: значение «-1» недопустимо. "
                                       "Укажите значение не меньше 0."
                                    << 0;
    }
    void badInputStopsWithAMessage()
    {
        QFETCH(int, layer);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(int, lines);
        LayerTable t = exampleWall();
        t.layers[layer - 1].cells[size_t(column)] = value;
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(!o.finished());
        QVERIFY(o.error);
        QCOMPARE(o.error->text, message);
        QCOMPARE(r.lineCount(), lines);
        // the cell of the main window's grid the layer came from
        QCOMPARE(o.error->field.form, QStringLiteral("frm1"));
        QCOMPARE(o.error->field.controls, QStringList{QStringLiteral("txt1_%1").arg((layer - 1) * 9 + column)});
        // a layer that came from no grid row names no cell
        t = exampleWall();
        t.layers[layer - 1].cells[size_t(column)] = value;
        t.layers[layer - 1].sourceRow = 0;
        QVERIFY(RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r).error->field.isEmpty());
    }

    void badHeaderFieldsAndTooManyPoints()
    {
        LayerTable t = exampleWall();
        t.header.alphaIn = "0";
        CalcReport r;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.refused() && o.error->text.contains(QStringLiteral("альфа(в)")));
        t = exampleWall();
        t.header.tIn = "18x";
        o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QCOMPARE(o.error->text,
                 QStringLiteral("Температура внутреннего воздуха t(в): «18x» не является числом. Введите число."));
        QCOMPARE(o.error->field.controls, QStringList{"txtTv"});
        // too many points: every layer with intermediate points is named (rows 2 and 3)
        t = exampleWall();
        t.layers[1].cells[kColPoints] = "99";
        o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.error && o.error->text.startsWith(QStringLiteral("Слишком много расчетных точек: 107")));
        QVERIFY(o.error->text.endsWith(QStringLiteral("Уменьшите количество промежуточных точек.")));
        QCOMPARE(o.error->field.controls, (QStringList{"txt1_12", "txt1_21"}));
        t = exampleWall();
        t.header.tHeat = "-45";  // below the table
        o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QCOMPARE(o.error->text, QStringLiteral("Средняя температура отопительного периода t(от.) -45 °С лежит вне "
                                               "таблицы максимальных парциальных давлений водяного пара (от -40 до "
                                               "40 °С). Укажите температуру от -40 до 40 °С."));
        QCOMPARE(o.error->field.controls, QStringList{"txtTot_1"});
        // the design temperature D chose not a number: D = 5,16 of the example wall takes
        // item 3 (the three coldest days)
        EnvelopeInputs in = exampleInputs(false);
        in.tn[2] = "-27а";
        o = RunEnvelopeCalculation(t = exampleWall(), in, shippedSaturation(), r);
        QVERIFY(o.error);
        QCOMPARE(o.error->text, QStringLiteral("Расчетная температура наружного воздуха tн: «-27а» не является числом. "
                                               "Введите число."));
        QCOMPARE(o.error->field.controls, QStringList{"txtTn_3"});
        // the missing temperature difference names its field too
        in = exampleInputs(false);
        in.tempDiff = "0";
        o = RunEnvelopeCalculation(t = exampleWall(), in, shippedSaturation(), r);
        QVERIFY(o.warning);
        QCOMPARE(o.warning->field.controls, QStringList{"txtTp"});
    }

    // The incomplete layers of a table: each with its empty columns, the cells in grid
    // order, numbered among the collected layers.
    void incompleteLayersAreNamedWithTheirCells()
    {
        LayerTable t = exampleWall();
        QVERIFY(!incompleteLayersError(t));
        t.layers[1].cells[kColLambdaB] = " ";
        t.layers[1].cells[kColMu].clear();
        t.layers[1].sourceRow = 5;  // rows above it excluded
        const std::optional<AppError> e = incompleteLayersError(t);
        QVERIFY(e);
        QCOMPARE(e->message(), QStringLiteral("В слое №2 не заполнены: λ(Б), μ. Заполните пустые графы или исключите "
                                              "слой из расчета."));
        QCOMPARE(e->title(), QStringLiteral("Ошибка"));
        QCOMPARE(e->field().form, QStringLiteral("frm1"));
        QCOMPARE(e->field().controls, (QStringList{"txt1_41", "txt1_44"}));
    }

    // Under condition А without refinement every temperature divided by the
    // preliminary Rт takes the λА column: the boundary fields, the report lines and the
    // result lists show one temperature for one boundary.
    void conditionAWithoutRefinementTakesOneColumn()
    {
        LayerTable t = exampleWall();
        t.header.phiIn = "50";  // 18 °С, 50 %: condition А
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.finished());
        QCOMPARE(o.state.conditionLetter, QStringLiteral("А"));
        // Rт = 1/8,7 + 0,02/0,7 + 0,25/0,15 + 0,06/0,041 + 0,01/0,76 + 1/23 = 3,330231;
        // t(1-2) = 18 − 20·(1/8,7 + 0,02/0,7)/3,330231 = 17,138; t(2-3) = 7,129; t(3-4) = −1,660
        const double tb[3] = {17.138114206024675, 7.1287997794233515, -1.6598665463729283};
        for (int i = 0; i < 3; ++i)
            QVERIFY2(qAbs(o.state.layers[i].tBoundary - tb[i]) < 1e-9, qPrintable(QString::number(i)));
        QCOMPARE(fieldText(o, "txtT_3"), QStringLiteral("-1,66"));
        QVERIFY(r.lines().contains(
            QStringLiteral("t(3-4)=18-(18-(-2))/3,330*(1/8,7+0,02/0,7+0,25/0,15+0,06/0,041)= -1,66°С.")));
        QVERIFY(o.lists);
        QCOMPARE(o.lists->caption, QStringLiteral("Результаты предварительных расчетов"));
        const QStringList expected = {"17,14", "7,13", "-1,66"};
        for (int b = 1; b <= 3; ++b) {
            const qsizetype j = o.lists->columns[0].indexOf(QStringLiteral("Граница слоев %1-%2").arg(b).arg(b + 1));
            QCOMPARE(o.lists->columns[1][j], expected[b - 1]);
            QCOMPARE(fieldText(o, QStringLiteral("txtT_%1").arg(b)), expected[b - 1]);
        }
        // "Пересчитать" without the flag: the same column and caption
        CalcState st = o.state;
        const ResultLists again = RecalculateRefinedField(o.input, st, false, shippedSaturation());
        QCOMPARE(again.caption, QStringLiteral("Результаты предварительных расчетов"));
        QCOMPARE(again.columns[1], o.lists->columns[1]);
    }

    // With refinement each layer's thermal inertia takes its own condition: a wet
    // insulation layer of a condition-А wall takes λБ and sБ.
    void thermalInertiaTakesEachLayersOwnCondition()
    {
        LayerTable t = exampleWall();
        t.header.phiIn = "50";
        t.layers[3].cells[kColMu] = "0,03";  // a tighter plaster keeps the insulation wet
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(true), shippedSaturation(), r);
        QVERIFY(o.finished());
        // by hand: фи(ср.) 51,1 54,2 76,7 91,0 %: layers 3 and 4 Б
        QVERIFY(qAbs(*o.state.layers[2].phiMean - 76.745) < 0.05);
        // D = 0,02·8,69/0,7 + 0,25·2,38/0,15 + 0,06·0,65/0,042 + 0,01·11,09/0,93 = 5,263
        QVERIFY(qAbs(o.state.D - 5.262771121351767) < 1e-12);
        QCOMPARE(fieldText(o, "txtD"), QStringLiteral("5,26"));
    }

    // A value that is not finite stops the run with a message naming it, and no field
    // ever shows "0" or hundreds of digits in its place.
    void aNonFiniteValueStopsTheRunNamingIt()
    {
        struct Case {
            int layer, column;
            QString value;
            bool refine;
            QString named;
            QStringList field;  // a point inside a layer: the layer's first cell
        };
        const Case cases[] = {
            {2, kColMu, "1e-308", false, "Граница слоев 1-2", {}},          // Rп.тр. overflows
            {2, kColLambdaB, "3e-308", false, "Rт", {}},                     // 0,25/3E-308 is beyond double
            {2, kColLambdaA, "1e-40", true, "Слой 2", {"txt1_9"}},           // beyond single precision in the field
        };
        for (const Case& c : cases) {
            LayerTable t = exampleWall();
            t.layers[c.layer - 1].cells[size_t(c.column)] = c.value;
            if (c.column == kColLambdaB)
                t.layers[c.layer - 1].cells[kColThickness] = "10000";
            if (c.column == kColLambdaA)
                t.header.phiIn = "50";
            CalcReport r;
            const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(c.refine), shippedSaturation(), r);
            QVERIFY(!o.finished());
            QVERIFY(o.error);
            QVERIFY2(o.error->text.contains(c.named) && o.error->text.contains(QStringLiteral("не определяется")),
                     qPrintable(o.error->text));
            QCOMPARE(o.error->field.controls, c.field);
            for (const FieldUpdate& u : o.updates) {
                if (u.text && !u.name.startsWith(u'l'))
                    QVERIFY2(u.text->size() < 30, qPrintable(u.name + u' ' + *u.text));
            }
            for (const QString& line : r.lines())
                QVERIFY2(!line.contains(QStringLiteral("0000000000000000")), qPrintable(line));
        }
    }

    // A run for a search (no report) gives what the full run gives: the state, the
    // flags and the messages, for walls that comply, fail, end at a warning or stop at
    // an error, with and without refinement, and for inside air around the thresholds.
    void resultsOnlyRunAgreesWithTheFullRun()
    {
        QVector<std::pair<LayerTable, EnvelopeInputs>> cases;
        for (bool refine : {false, true}) {
            for (const char* tIn : {"-40", "12", "18", "24,5", "40"}) {
                for (const char* phiIn : {"5", "40", "60", "75", "99,5"}) {
                    LayerTable t = exampleWall();
                    t.header.tIn = QLatin1String(tIn);
                    t.header.phiIn = QLatin1String(phiIn);
                    cases.append({t, exampleInputs(refine)});
                }
            }
            LayerTable bad = exampleWall();
            bad.layers[1].cells[kColLambdaB] = "0";  // division by zero
            bad.header.phiIn = "90";
            cases.append({bad, exampleInputs(refine)});
            LayerTable overflow = exampleWall();
            overflow.layers[1].cells[kColMu] = "1e-308";
            cases.append({overflow, exampleInputs(refine)});
            EnvelopeInputs noDifference = exampleInputs(refine);
            noDifference.tempDiff = "0";
            cases.append({exampleWall(), noDifference});
            LayerTable zeroMu = exampleWall();
            zeroMu.layers[2].cells[kColMu] = "0";
            cases.append({zeroMu, exampleInputs(refine)});
        }
        const SaturationTable& sat = shippedSaturation();
        int finished = 0;
        for (const auto& [input, inputs] : cases) {
            LayerTable full = input;
            LayerTable quiet = input;
            CalcReport report;
            report.add(QStringLiteral("earlier"));
            const EnvelopeOutcome a = RunEnvelopeCalculation(full, inputs, sat, report);
            const EnvelopeOutcome b = RunEnvelopeCalculation(quiet, inputs, sat, nullptr);
            const QString at = input.header.tIn + u'/' + input.header.phiIn;
            QVERIFY2(a.finished() == b.finished() && a.complies() == b.complies(), qPrintable(at));
            QCOMPARE(a.error.has_value(), b.error.has_value());
            if (a.error) {
                QCOMPARE(b.error->text, a.error->text);
                QCOMPARE(b.error->field.controls, a.error->field.controls);
            }
            QCOMPARE(a.warning.has_value(), b.warning.has_value());
            const CalcState& x = a.state;
            const CalcState& y = b.state;
            QCOMPARE(y.reached, x.reached);
            QCOMPARE(y.conditionA, x.conditionA);
            QCOMPARE(y.rt, x.rt);
            QCOMPARE(y.rp, x.rp);
            QCOMPARE(y.D, x.D);
            QCOMPARE(y.tnText, x.tnText);
            QCOMPARE(y.rtRequired, x.rtRequired);
            QCOMPARE(y.rLayersButLast, x.rLayersButLast);
            QCOMPARE(y.layers.size(), x.layers.size());
            for (qsizetype i = 0; i < x.layers.size(); ++i) {
                QCOMPARE(y.layers[i].rpRequired, x.layers[i].rpRequired);
                QCOMPARE(y.layers[i].passes, x.layers[i].passes);
                QCOMPARE(y.layers[i].phiMean, x.layers[i].phiMean);
            }
            QCOMPARE(y.points.size(), x.points.size());
            for (qsizetype j = 0; j < x.points.size(); ++j)
                QVERIFY(y.points[j].t == x.points[j].t && y.points[j].phi == x.points[j].phi);
            QCOMPARE(quiet.layers[2].cells[kColMu], full.layers[2].cells[kColMu]);  // μ = 0 written back
            // nothing of the window's texts
            QVERIFY(b.updates.isEmpty());
            QVERIFY(!b.lists);
            QVERIFY2(a.finished() ? report.lineCount() > 60 : true, qPrintable(QString::number(report.lineCount())));
            finished += a.finished();
        }
        QVERIFY(finished >= 40);  // most of them complete the run
    }

    // Physically impossible inputs are refused before anything is calculated.
    void impossibleInputsAreRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("range");
        const QString humidity = "больше 0 и не более 100 %";
        QTest::newRow("фи(в) 0") << "phiIn" << "0" << "фи(в)" << humidity;
        QTest::newRow("фи(в) above 100") << "phiIn" << "100,5" << "фи(в)" << humidity;
        QTest::newRow("фи(от.) 1e308") << "phiHeat" << "1e308" << "фи(от.)" << humidity;
        QTest::newRow("фи(от.) negative") << "phiHeat" << "-83" << "фи(от.)" << humidity;
        QTest::newRow("альфа(в) 0") << "alphaIn" << "0" << "альфа(в)" << "больше 0";
        QTest::newRow("альфа(н) negative") << "alphaOut" << "-23" << "альфа(н)" << "больше 0";
        QTest::newRow("n 0") << "n" << "0" << "n" << "больше 0";
        QTest::newRow("дельта(tв) negative") << "tempDiff" << "-6" << "дельта(tв)" << "не меньше 0";
        QTest::newRow("thickness 0") << "thickness" << "0" << "толщина" << "больше 0 и не более 10000 мм";
        QTest::newRow("thickness 10 m and more") << "thickness" << "10000,5" << "толщина"
                                                 << "больше 0 и не более 10000 мм";
        QTest::newRow("λ negative") << "lambdaA" << "-0,15" << "теплопроводности" << "не меньше 0";
        QTest::newRow("s negative") << "sB" << "-2" << "теплоусвоения" << "не меньше 0";
        QTest::newRow("μ negative") << "mu" << "-0,2" << "паропроницаемости" << "не меньше 0";
    }
    void impossibleInputsAreRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, named);
        QFETCH(QString, range);
        LayerTable t = exampleWall();
        EnvelopeInputs in = exampleInputs(true);
        LayerRow& layer = t.layers[1];
        if (field == "phiIn") t.header.phiIn = value;
        if (field == "phiHeat") t.header.phiHeat = value;
        if (field == "alphaIn") t.header.alphaIn = value;
        if (field == "alphaOut") t.header.alphaOut = value;
        if (field == "n") in.n = value;
        if (field == "tempDiff") in.tempDiff = value;
        if (field == "thickness") layer.cells[kColThickness] = value;
        if (field == "lambdaA") layer.cells[kColLambdaA] = value;
        if (field == "sB") layer.cells[kColSB] = value;
        if (field == "mu") layer.cells[kColMu] = value;
        CalcReport r;
        r.add("старая строка");
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, in, shippedSaturation(), r);
        QVERIFY(o.error);
        QCOMPARE(o.error->title, QStringLiteral("Ошибка в исходных данных!!"));
        QVERIFY2(o.error->text.contains(named) && o.error->text.contains(range) && o.error->text.contains(value),
                 qPrintable(o.error->text));
        QCOMPARE(o.state.reached, CalcState::kNothing);
        QCOMPARE(r.lineCount(), 0);
        QVERIFY(fieldText(o, "txtRt").isEmpty());
    }

    void limitValuesAreAccepted()
    {
        LayerTable t = exampleWall();
        t.header.phiIn = "100";
        t.layers[1].cells[kColThickness] = "10000";
        EnvelopeInputs in = exampleInputs(false);
        in.tempDiff = "0,5";
        CalcReport r;
        QVERIFY(RunEnvelopeCalculation(t, in, shippedSaturation(), r).finished());
    }

    // A temperature outside the saturation table is named by what it is.
    void temperatureOutsideTheTableIsNamed()
    {
        LayerTable t = exampleWall();
        t.header.tHeat = "-45";
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.error);
        QVERIFY2(o.error->text.startsWith(QStringLiteral("Средняя температура отопительного периода t(от.) -45 °С "
                                                         "лежит вне таблицы")),
                 qPrintable(o.error->text));
    }

    void zeroPermeabilityIsWrittenBack()
    {
        LayerTable t = exampleWall();
        t.layers[3].cells[kColMu] = "0";
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QVERIFY(o.finished());
        QCOMPARE(t.layers[3].cell(kColMu), QStringLiteral("1E-05"));
        // 0,01/0,00001 = 1000 in Rп
        QVERIFY(qAbs(o.state.rp - (0.02 / 0.12 + 0.25 / 0.2 + 0.06 / 0.48 + 0.01 / 0.00001)) < 1e-9);
        QCOMPARE(r.line(52), QStringLiteral("Rп =0,02/0,12+0,25/0,2+0,06/0,48+0,01/1E-05=1001,542 м2*ч*Па/мг."));
    }

    void manyPointsEnlargeTheLists()
    {
        LayerTable t = exampleWall();
        t.layers[1].cells[kColPoints] = "9";  // P = 1 + 1 + 10 + 4 + 1 = 17
        CalcReport r;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QCOMPARE(o.lists->columns[0].size(), 17);
        QCOMPARE(o.lists->listHeightTwips, 2220 + 200 * 6);
        QCOMPARE(o.lists->windowHeightTwips, 11930 + 200 * 6);
    }

    void reportFileIsWindows1251WithCrLf()
    {
        LayerTable t = exampleWall();
        CalcReport r;
        RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), r);
        QTemporaryDir dir;
        const QString path = dir.filePath("Теплотехнический расчет.doc");
        test::RecordingPrompter p;
        QStringList offered;  // the lines of a block that follows the report on request
        const ReportBlocks blocks = {
            {QStringLiteral("Расчет"), QString(), [&r] { return r.lines(); }},
            {QStringLiteral("Прослойка"), QStringLiteral("Имеются результаты расчета воздушной прослойки."),
             [&offered] { return offered; }},
        };
        WriteCalcReport(path, blocks, p);
        QVERIFY(p.shown.isEmpty());  // the offered block holds nothing: nothing asked
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(bytes.count("\r\n"), 96);
        QVERIFY(bytes.startsWith(QByteArray(encodeCp1251(r.line(1)) + "\r\n\r\n")));
        QVERIFY(bytes.contains("R\xF2=1/8,7+"));  // "Rт" in Windows-1251
        QVERIFY(bytes.endsWith(QByteArray(encodeCp1251(r.line(96)) + "\r\n")));

        // with lines in the offered block: asked, and appended on OK only
        offered = {"A", "B"};
        WriteCalcReport(path, blocks, p);
        QCOMPARE(p.shown.size(), 1);
        QCOMPARE(p.shown[0].title, QStringLiteral("Подтверждение записи"));
        QCOMPARE(p.shown[0].text, QStringLiteral("Имеются результаты расчета воздушной прослойки. Сохранить их?"));
        QCOMPARE(readTextLines(path).size(), 98);
        QCOMPARE(readTextLines(path).mid(96), offered);
        p.answers = {MessageAnswer::Cancel};
        WriteCalcReport(path, blocks, p);
        QCOMPARE(readTextLines(path).size(), 96);
    }

    // Rт.норм of table 5.1: the example wall (Rт = 3,185) fails 3,2 in the flag, the
    // report line after Rт.тр. and the verdict; without it the report has no such line
    // and the wall complies as before.
    void normativeResistanceOfTheExampleWall()
    {
        const QString rtrLine = QStringLiteral("Rт.тр.=1*( 18-(-27))/(8,7*6)=0,86 м2*градус/Вт.");
        EnvelopeInputs in = exampleInputs(false);
        LayerTable t = exampleWall();
        CalcReport plain;
        const EnvelopeOutcome without = RunEnvelopeCalculation(t, in, shippedSaturation(), plain);
        QVERIFY(without.complies());
        QVERIFY(!without.state.rtNormative);
        const qsizetype at = plain.lines().indexOf(rtrLine);
        QVERIFY(at > 0);
        QCOMPARE(plain.line(int(at) + 2), QStringLiteral(" "));  // the vapour check follows as before
        QVERIFY(!plain.lines().join(u'|').contains(QStringLiteral("Rт.норм")));
        QCOMPARE(verdictOf(without.state, shippedSaturation()).normative,
                 QStringLiteral("Rт.норм не задано — требование табл. 5.1 не проверялось"));

        in.rtNorm = QStringLiteral(" 3,2 ");
        t = exampleWall();
        CalcReport report;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, in, shippedSaturation(), report);
        QVERIFY(o.finished());
        QVERIFY(!o.complies());
        QCOMPARE(*o.state.rtNormative, 3.2);
        // the same lines with one more after Rт.тр.
        QCOMPARE(report.lineCount(), plain.lineCount() + 1);
        QCOMPARE(report.line(int(at) + 2),
                 QStringLiteral("Согласно таблице 5.1 ТКП 45-2.04-43 нормативное сопротивление теплопередаче "
                                "Rт.норм=3,2 м2·°С/Вт; Rт=3,185 < Rт.норм — требование не выполнено."));
        QCOMPARE(report.lines().last(),
                 QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43."));
        const CalcVerdict v = verdictOf(o.state, shippedSaturation());
        QCOMPARE(v.status, CalcVerdict::Status::Fails);
        QCOMPARE(v.normative, QStringLiteral("Rт = 3,18 < Rт.норм = 3,2 — не выполнено"));
        QCOMPARE(v.resistance, QStringLiteral("Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"));

        // a value that is not a number, or not above 0, refuses the run naming the field
        for (const char* bad : {"3.2x", "0", "-1"}) {
            in.rtNorm = QLatin1String(bad);
            t = exampleWall();
            const EnvelopeOutcome refused = RunEnvelopeCalculation(t, in, shippedSaturation(), report);
            QVERIFY2(refused.refused(), bad);
            QVERIFY(refused.error->field.controls.contains(QStringLiteral("txtRtNorm")));
        }
    }

    // The edge: Rт exactly Rт.норм complies; Rт a little below shows the digits that
    // decide. One layer of 1 m with λ 1 between αв = αн = 1: Rт = 1 + 1 + 1 = 3 exactly;
    // D = 1 takes tн = −31: Rт.тр. = 1·(18 − (−31))/(1·20) = 2,45; no boundary to check.
    void normativeResistanceEdge()
    {
        EnvelopeInputs in = exampleInputs(false);
        in.tempDiff = QStringLiteral("20");
        in.rtNorm = QStringLiteral("3");
        LayerTable t = table({{"1000", "0", "1", "1", "1", "1", "1"}}, "18", "55", "-2", "83", "1", "1");
        CalcReport report;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, in, shippedSaturation(), report);
        QCOMPARE(o.state.rt, 3.0);
        QVERIFY(o.complies());
        QVERIFY(report.lines().contains(QStringLiteral("Согласно таблице 5.1 ТКП 45-2.04-43 нормативное сопротивление "
                                                       "теплопередаче Rт.норм=3 м2·°С/Вт; Rт=3,000 >= Rт.норм — "
                                                       "требование выполнено.")));
        QCOMPARE(verdictOf(o.state, shippedSaturation()).normative, QStringLiteral("Rт = 3,00 ≥ Rт.норм = 3 — выполнено"));

        // 1199,6 mm: Rт = 3,1996 < 3,2, which "0.000" would write as 3,200
        in.rtNorm = QStringLiteral("3,2");
        t = table({{"1199,6", "0", "1", "1", "1", "1", "1"}}, "18", "55", "-2", "83", "1", "1");
        o = RunEnvelopeCalculation(t, in, shippedSaturation(), report);
        QVERIFY(o.finished());
        QVERIFY(!o.complies());
        QVERIFY(report.lines().join(u'|').contains(QStringLiteral("Rт=3,1996 < Rт.норм — требование не выполнено.")));
        QCOMPARE(verdictOf(o.state, shippedSaturation()).normative,
                 QStringLiteral("Rт = 3,1996 < Rт.норм = 3,2 — не выполнено"));
    }

    // Heat loss over the heating period, by hand for the example wall (condition Б):
    // Rт = 1/8,7 + 0,02/0,81 + 0,25/0,16 + 0,06/0,042 + 0,01/0,93 + 1/23 = 3,184937;
    // q = 0,024·(18 − (−2))·207/3,184937 = 99,36/3,184937 = 31,197 кВт·ч/м2. Without
    // z(от.) there is none; it is no criterion: the same wall complies at any q.
    void heatLossByHand()
    {
        LayerTable t = exampleWall();
        CalcReport report;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), report);
        QVERIFY(o.state.heatLoss);
        QVERIFY(qAbs(*o.state.heatLoss - 31.197) < 0.001);
        QCOMPARE(fieldText(o, QStringLiteral("lblQot")), QStringLiteral("31,2"));
        QVERIFY(o.complies());
        QVERIFY(!report.lines().join(u'|').contains(QStringLiteral("Теплопотери")));  // not in the report

        t = exampleWall();
        t.header.zHeat = QString();
        o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), report);
        QVERIFY(o.finished());
        QVERIFY(!o.state.heatLoss);
        QCOMPARE(fieldText(o, QStringLiteral("lblQot")), QString());

        t = exampleWall();
        t.header.zHeat = QStringLiteral("0");
        o = RunEnvelopeCalculation(t, exampleInputs(false), shippedSaturation(), report);
        QVERIFY(o.refused());
        QVERIFY(o.error->field.controls.contains(QStringLiteral("txtTot_4")));
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "test_engine.moc"
