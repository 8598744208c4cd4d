// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/envelope_calc.h"

#include "common/app_error.h"
#include "common/colors.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/envelope_run.h"
#include "engine/saturation.h"

#include <array>

#include <cmath>

namespace ogrado {

namespace {

// Control names of the main window by number, built once: the calculation runs often.
enum class Named { Cell, FiSl, T, Pm, Pr, Rptr, Rpv, Tn, Count };

const QString& indexedName(Named kind, int k)
{
    static const auto names = [] {
        const char* bases[] = {"txt1", "txtFiSl", "txtT", "txtPm", "txtPr", "txtRptr", "txtRpv", "txtTn"};
        std::array<QVector<QString>, size_t(Named::Count)> all;
        for (size_t b = 0; b < all.size(); ++b)
            for (int i = 0; i < 72; ++i)
                all[b].append(QLatin1String(bases[b]) + u'_' + QString::number(i));
        return all;
    }();
    return names[size_t(kind)][k];
}

const QString& cellNameOf(int sourceRow, int column)
{
    return indexedName(Named::Cell, (sourceRow - 1) * 9 + column);
}

// Rт or Rп of zero: the layers give no resistance at all.
const QString kZeroRt = QStringLiteral("Сопротивление теплопередаче Rт равно 0 — деление на ноль. Проверьте "
                                       "коэффициенты теплоотдачи, толщины и коэффициенты теплопроводности слоев.");
const QString kZeroRp = QStringLiteral("Сопротивление паропроницанию Rп равно 0 — деление на ноль. Проверьте "
                                       "толщины и коэффициенты паропроницаемости слоев.");

// The vapour pressures of the air on both sides; a temperature outside the saturation
// table is named with its field.
void setAirPressures(CalcState& state, const SaturationTable& sat, double tIn, double phiIn, double tOut,
                     double phiOut)
{
    state.Ev = SaturationPressure(sat, tIn, QStringLiteral("Температура внутреннего воздуха t(в)"), {},
                                  mainWindowField(QStringLiteral("txtTv")));
    state.ev = PartialPressure(phiIn, state.Ev);
    state.En = SaturationPressure(sat, tOut, QStringLiteral("Средняя температура отопительного периода t(от.)"), {},
                                  mainWindowField(QStringLiteral("txtTot_1")));
    state.en = PartialPressure(phiOut, state.En);
}

// The values of the header the point field is computed with.
struct FieldAir {
    double alphaIn = 0, alphaOut = 0, tIn = 0, phiIn = 0, tOut = 0, phiOut = 0;
};

// The point field of RecalculateField on layers and header values already read.
void recalculateField(const LayerTable& table, const QVector<LayerValues>& values, const FieldAir& air,
                      CalcState& state, bool refine, const SaturationTable& sat)
{
    const LayerTableHeader& h = table.header;
    // With the refine flag each layer takes its own condition; without it every layer
    // takes the preliminary condition's column, as the preliminary Rт does.
    const bool conditionA = state.conditionA;
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < values.size(); ++i) {
        const std::optional<double> phiMean = i < state.layers.size() ? state.layers[i].phiMean : std::nullopt;
        const bool a = refine ? phiMean && *phiMean <= 75 : conditionA;
        sumR += layerResistance(table, values, i, a);
        rp += layerVapourResistance(values, i);
    }
    const double rt = requireFinite(
        divideOrFail(1, air.alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn,
                     mainWindowField(QStringLiteral("txtAlv"))) +
            sumR +
            divideOrFail(1, air.alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut,
                         mainWindowField(QStringLiteral("txtAln"))),
        QStringLiteral("Сопротивление теплопередаче Rт"));
    requireFinite(rp, QStringLiteral("Сопротивление паропроницанию Rп"));
    if (rt == 0)
        throw AppError(kZeroRt);
    if (rp == 0)
        throw AppError(kZeroRp);
    fillTemperatureField(
        table, state.points, state.pointLabels,
        [refine, conditionA](const CalcPoint& p) { return refine ? p.phiMean <= 75 : conditionA; }, air.tIn, air.tOut,
        air.alphaIn, rt, sat);
    setAirPressures(state, sat, air.tIn, air.phiIn, air.tOut, air.phiOut);
    fillVapourField(state.points, state.pointLabels, state.ev, state.en, rp);
}

}  // namespace

void EnvelopeRun::highlightColumns(int i, bool lambdaA, bool sA, bool resetOthers)
{
    const int row = table.layers[i].sourceRow;
    if (!writing || row < 1 || row > 8)
        return;
    const int lambdaCol = lambdaA ? kColLambdaA : kColLambdaB;
    const int sCol = sA ? kColSA : kColSB;
    if (resetOthers) {
        for (int c : {kColLambdaA, kColLambdaB, kColSA, kColSB})
            update(cellNameOf(row, c), std::nullopt, kWhite);
    }
    update(cellNameOf(row, lambdaCol), std::nullopt, kHighlight);
    update(cellNameOf(row, sCol), std::nullopt, kHighlight);
}

static QVector<FieldUpdate> clearedResultFields()
{
    QVector<FieldUpdate> updates;
    updates.reserve(48);
    for (const char* name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr", "lblQot"})
        updates.append({QLatin1String(name), QString(), std::nullopt});
    for (int k = 1; k <= 8; ++k)
        updates.append({indexedName(Named::FiSl, k), QString(), std::nullopt});
    for (int k = 1; k <= 7; ++k) {
        for (Named name : {Named::T, Named::Pm, Named::Pr, Named::Rptr})
            updates.append({indexedName(name, k), QString(), std::nullopt});
        updates.append({indexedName(Named::Rpv, k), QString(), kWhite});
    }
    updates.append({QStringLiteral("lblRezList"), QStringLiteral("Результаты предварительных расчетов"), std::nullopt});
    return updates;
}

void EnvelopeRun::readInputs()
{
    const int N = table.count();
    if (N == 0)
        throw AppError(QStringLiteral("Нет слоев для расчета: ни в одной строке таблицы слоев не указана толщина. "
                                      "Заполните слои конструкции, указав их толщину."));
    values = input.layerValues();
    alphaIn = input.alphaIn.checked();
    alphaOut = input.alphaOut.checked();
    tIn = input.tIn.checked();
    phiIn = input.phiIn.checked();
    tOut = input.tHeat.checked();
    phiOut = input.phiHeat.checked();
    n = input.n.checked();
    // an empty or zero temperature difference ends the run later with its own warning
    tempDiff = input.tempDiff.text.trimmed().isEmpty() ? 0 : input.tempDiff.checked();
    // empty: Rт.норм is not checked, the heat loss is not calculated
    if (!input.rtNorm.text.trimmed().isEmpty())
        rtNorm = input.rtNorm.checked();
    if (!input.zHeat.text.trimmed().isEmpty())
        zHeat = input.zHeat.checked();
}

void EnvelopeRun::run()
{
    const int N = table.count();
    st.layerCount = N;
    st.refined = in.refine;
    if (writing) {
        out.updates.reserve(160);
        // results of an earlier run must not stay beside this one if it stops early
        out.updates = clearedResultFields();
    }
    st.complies = true;
    report.restart();

    // Everything is read and checked before anything is calculated or reported.
    readInputs();
    if (writing)
        reportSourceData();
    preliminaryResistances();
    pointField();
    layerSums();
    inertiaAndDesignTemperature();
    heatLossOverHeatingPeriod();
    if (!requiredResistance())
        return;  // no Δt(в): the run ends with its warning

    if (in.refine && writing)
        out.lists = resultListsOf(st, QStringLiteral("Результаты предварительных расчетов"));
    checkBoundaries();
    if (writing) {
        reportVapourCheck();
        reportVerdict();
    }
    if (!in.refine) {
        // the field of the preliminary condition, on the layers as read for this run
        recalculateField(table, values, FieldAir{alphaIn, alphaOut, tIn, phiIn, tOut, phiOut}, st, false, sat);
        if (writing)
            out.lists = resultListsOf(st, QStringLiteral("Результаты предварительных расчетов"));
    }
    st.finished = true;
    st.reached = CalcState::kFinished;
}

void EnvelopeRun::preliminaryResistances()
{
    const int N = table.count();
    const LayerTableHeader& h = table.header;
    invAlphaIn = divideOrFail(1, alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn,
                              mainWindowField(QStringLiteral("txtAlv")));
    invAlphaOut = divideOrFail(1, alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut,
                               mainWindowField(QStringLiteral("txtAln")));

    // Operating condition after table 4.2
    st.conditionA = conditionIsA(tIn, phiIn);
    st.conditionLetter = st.conditionA ? QStringLiteral("А") : QStringLiteral("Б");
    st.reached = CalcState::kCondition;
    for (int i = 0; i < N; ++i)
        highlightColumns(i, st.conditionA, st.conditionA, true);
    update(QStringLiteral("txtRt"), std::nullopt, kWhite);
    if (writing)
        reportCondition();

    replaceZeroPermeability(table, values);

    // Preliminary resistances
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < N; ++i) {
        sumR += layerResistance(table, values, i, st.conditionA);
        rp += layerVapourResistance(values, i);
    }
    st.rtPreliminary = requireFinite(invAlphaIn + sumR + invAlphaOut, QStringLiteral("Сопротивление теплопередаче Rт"));
    st.rt = st.rtPreliminary;
    st.rp = requireFinite(rp, QStringLiteral("Сопротивление паропроницанию Rп"));
    st.reached = CalcState::kResistances;
    updateNumber(QStringLiteral("txtRt"), st.rt, "0.00");
    updateNumber(QStringLiteral("txtRp"), st.rp, "0.00");
    if (writing) {
        reportResistances();
        reportRefineIntro();
    }
}

void EnvelopeRun::pointField()
{
    const int N = table.count();
    for (int i = 0; i < N; ++i) {
        LayerResult r;
        r.sourceRow = table.layers[i].sourceRow;
        r.name = table.layers[i].name;
        r.inputs = values[i];
        st.layers.append(r);
    }
    // The air on both sides: a temperature outside the saturation table is named here.
    setAirPressures(st, sat, tIn, phiIn, tOut, phiOut);

    buildPointList(table, values, st.points, st.pointLabels);
    if (in.refine) {
        if (st.rt == 0)
            throw AppError(kZeroRt);
        const bool a = st.conditionA;
        fillTemperatureField(table, st.points, st.pointLabels, [a](const CalcPoint&) { return a; }, tIn, tOut,
                             alphaIn, st.rt, sat);
        if (writing) {
            reportTemperatureField();
            reportSaturationField();
        }
    }
    if (writing)
        reportAir();

    layerA.fill(false, N);
    if (in.refine) {
        if (st.rp == 0)
            throw AppError(kZeroRp);
        fillVapourField(st.points, st.pointLabels, st.ev, st.en, st.rp);
        if (writing)
            reportVapourField();
        const QVector<double> means = layerMeanHumidity(st.points, values, writing ? &averagedPhi : nullptr);
        for (int i = 0; i < N; ++i) {
            st.layers[i].phiMean = means[i];
            layerA[i] = means[i] <= 75;
        }
        if (writing)
            reportMeanHumidity();
    }
}

void EnvelopeRun::layerSums()
{
    // Layer sums without the surfaces: with each layer's refined λ, or the condition's λ
    const int N = table.count();
    double butLast = 0;
    double all = 0;
    for (int i = 0; i < N; ++i) {
        const double r = layerResistance(table, values, i, boundaryA(i));
        all += r;
        if (i < N - 1)
            butLast += r;
    }
    const QString layerSum = QStringLiteral("Сумма термических сопротивлений слоев");
    st.rLayersButLast = requireFiniteSingle(butLast, layerSum);
    st.rLayersAll = requireFiniteSingle(all, layerSum);
    if (in.refine) {
        st.rt = requireFinite(invAlphaIn + all + invAlphaOut, QStringLiteral("Уточненное сопротивление теплопередаче Rт"));
        for (int i = 0; i < N; ++i) {
            updateNumber(indexedName(Named::FiSl, i + 1), *st.layers[i].phiMean, "0.0");
            highlightColumns(i, layerA[i], layerA[i], true);
        }
        if (writing)
            reportRefinedResistance();
    }
}

void EnvelopeRun::inertiaAndDesignTemperature()
{
    // Thermal inertia: with refinement each layer's own condition, else the preliminary one
    const int N = table.count();
    double D = 0;
    for (int i = 0; i < N; ++i) {
        const bool a = boundaryA(i);
        const double lambda = a ? values[i].lambdaA : values[i].lambdaB;
        if (lambda == 0)
            layerResistance(table, values, i, a);  // reports the division by zero
        D += values[i].thickness * 0.001 * (a ? values[i].sA : values[i].sB) / lambda;
    }
    st.D = requireFinite(D, QStringLiteral("Тепловая инерция D"));
    updateNumber(QStringLiteral("txtD"), D, "0.00");
    if (writing)
        reportInertia();

    // Design winter outside temperature by table 5.2
    st.tnIndex = D <= 1.5 ? 1 : D <= 4 ? 2 : D <= 7 ? 3 : 4;
    st.tnText = in.tn[size_t(st.tnIndex - 1)];
    for (int k = 1; k <= 4; ++k)
        update(indexedName(Named::Tn, k), std::nullopt, k == st.tnIndex ? kHighlight : kWhite);
    update(QStringLiteral("txtTnras"), st.tnText);
    st.reached = CalcState::kInertia;
    if (in.refine)
        updateNumber(QStringLiteral("txtRt"), st.rt, "0.00", kHighlight);
    else
        update(QStringLiteral("txtRt"), std::nullopt, kWhite);
    if (writing)
        reportDesignTemperature();
}

void EnvelopeRun::heatLossOverHeatingPeriod()
{
    // through 1 m2 over the heating period, kWh: 24 h·(tв − t(от.))·z(от.)/Rт / 1000
    if (!zHeat)
        return;
    st.heatLoss = requireFinite(0.024 * (tIn - tOut) * *zHeat / st.rt,
                                QStringLiteral("Теплопотери за отопительный период"));
    updateNumber(QStringLiteral("lblQot"), *st.heatLoss, "0.0");
}

bool EnvelopeRun::requiredResistance()
{
    // Required resistance, formula 5.2
    if (tempDiff == 0) {
        out.warning = EnvelopeMessage{QStringLiteral("Нет данных по температурному перепаду!!!"),
                                      QString::fromUtf8(kInputErrorTitle), mainWindowField(QStringLiteral("txtTp"))};
        return false;
    }
    st.tn = input.tn[size_t(st.tnIndex - 1)].number();
    const double rtr = requireFinite(n * (tIn - st.tn) / (alphaIn * tempDiff),
                                     QStringLiteral("Требуемое сопротивление теплопередаче Rт.тр."));
    st.rtRequired = rtr;
    st.reached = CalcState::kRequired;
    updateNumber(QStringLiteral("txtRtr"), rtr, "0.00");
    if (writing)
        reportRequiredResistance();
    if (st.rt < rtr)
        st.complies = false;
    // table 5.1: Rт must reach the normative resistance too; equality complies
    if (rtNorm) {
        st.rtNormative = rtNorm;
        if (writing)
            reportNormativeResistance();
        if (st.rt < *rtNorm)
            st.complies = false;
    }
    return true;
}

void EnvelopeRun::checkBoundaries()
{
    const int N = table.count();
    if (N > 1 && st.rp == 0)
        throw AppError(kZeroRp);
    double rSum = 0;
    double rpIn = 0;
    for (int i = 0; i < N - 1; ++i) {
        rSum += layerResistance(table, values, i, boundaryA(i));
        rpIn += layerVapourResistance(values, i);
        LayerResult& r = st.layers[i];
        // the boundary's name only for a message
        auto b = [i](const char* what) -> QString {
            return QStringLiteral("Граница слоев %1-%2: ").arg(i + 1).arg(i + 2) + QString::fromUtf8(what);
        };
        r.tBoundary =
            requireFiniteNamed(tIn - (tIn - tOut) * (1 / alphaIn + rSum) / st.rt, [&] { return b("температура"); });
        r.rpFromInside = requireFiniteNamed(rpIn, [&] { return b("сопротивление паропроницанию Rп.в."); });
        r.rpToOutside = requireFiniteNamed(st.rp - rpIn, [&] { return b("сопротивление паропроницанию Rп.н."); });
        r.eSatBoundary = SaturationPressureNamed(sat, r.tBoundary, [&] { return b("температура"); },
                                                 kComputedTemperatureAdvice);
        r.eBoundary = requireFiniteNamed(st.ev - (st.ev - st.en) * rpIn / st.rp,
                                         [&] { return b("парциальное давление водяного пара e"); });
        if (r.eSatBoundary - st.en == 0)
            throw AppError(QStringLiteral("Граница слоев %1-%2: максимальное парциальное давление E равно "
                                          "парциальному давлению наружного воздуха ен (%3 Па) — деление на ноль. "
                                          "Проверьте среднюю температуру и влажность отопительного периода "
                                          "t(от.), фи(от.).")
                               .arg(i + 1)
                               .arg(i + 2)
                               .arg(formatNumber(st.en, "0.0")),
                           mainWindowField(QStringLiteral("txtTot_2")));
        r.rpRequired = requireFiniteNamed((st.ev - r.eSatBoundary) * r.rpToOutside / (r.eSatBoundary - st.en),
                                          [&] { return b("требуемое сопротивление паропроницанию Rп.тр."); });
        r.passes = !(r.rpFromInside < r.rpRequired);
        if (!r.passes)
            st.complies = false;
        if (i < 7 && writing) {
            update(indexedName(Named::T, i + 1), formatNumber(r.tBoundary, "0.00"));
            update(indexedName(Named::Pm, i + 1), formatNumber(r.eSatBoundary, "0.0"));
            update(indexedName(Named::Pr, i + 1), formatNumber(r.eBoundary, "0.0"));
            update(indexedName(Named::Rptr, i + 1), formatNumber(r.rpRequired, "0.000"));
            update(indexedName(Named::Rpv, i + 1), formatNumber(r.rpFromInside, "0.000"), r.passes ? kWhite : kRed);
        }
    }
}

EnvelopeOutcome RunEnvelopeCalculation(LayerTable& table, const EnvelopeInputs& inputs, const SaturationTable& sat,
                                       CalcReport& report)
{
    return RunEnvelopeCalculation(table, inputs, sat, &report);
}

EnvelopeOutcome RunEnvelopeCalculation(LayerTable& table, const EnvelopeInputs& inputs, const SaturationTable& sat,
                                       CalcReport* report)
{
    EnvelopeOutcome o = RunEnvelopeCalculation(readEnvelopeInput(table, inputs), sat, report);
    table = o.input.table;  // μ = 0 written back as 0,00001
    return o;
}

EnvelopeOutcome RunEnvelopeCalculation(const EnvelopeInput& input, const SaturationTable& sat, CalcReport* report)
{
    CalcReport unused;
    EnvelopeRun run(input, sat, report ? *report : unused, report != nullptr);
    try {
        run.run();
    } catch (const AppError& e) {
        run.st.finished = false;
        run.out.error = EnvelopeMessage{e.message(), e.title(), e.field()};
        if (run.st.reached == CalcState::kNothing)
            run.report.restart();  // refused: no line of it stays
    }
    run.out.input = std::move(run.input);
    return std::move(run.out);
}

EnvelopeOutcome RefusedEnvelopeRun(CalcReport& report, const EnvelopeMessage& why)
{
    EnvelopeOutcome o;
    o.updates = clearedResultFields();
    o.error = why;
    report.restart();
    return o;
}

ResultLists resultListsOf(const CalcState& state, const QString& caption)
{
    ResultLists lists;
    lists.caption = caption;
    const int P = state.pointCount();
    if (P > 11) {
        lists.listHeightTwips = 2220 + 200 * (P - 11);
        lists.windowHeightTwips = 11930 + 200 * (P - 11);
    }
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = state.points[j];
        QString label;
        if (j == 0)
            label = QStringLiteral("Внутренняя поверхность");
        else if (j == P - 1)
            label = QStringLiteral("Наружная поверхность");
        else
            label = state.pointLabels.value(j);
        lists.columns[0].append(label);
        lists.columns[1].append(formatSingle(p.t, "0.00"));
        lists.columns[2].append(formatSingle(p.E, "0.0"));
        lists.columns[3].append(formatSingle(p.e, "0.0"));
        lists.columns[4].append(p.phi > 100 ? QStringLiteral("100% !!!") : formatSingle(p.phi, "0.0"));
    }
    return lists;
}

ResultLists RecalculateRefinedField(const EnvelopeInput& input, CalcState& state, bool refine,
                                    const SaturationTable& sat)
{
    RecalculateField(input, state, refine, sat);
    return resultListsOf(state, refine ? QStringLiteral("Результаты по уточненному Rt")
                                       : QStringLiteral("Результаты предварительных расчетов"));
}

void RecalculateField(const EnvelopeInput& input, CalcState& state, bool refine, const SaturationTable& sat)
{
    const QVector<LayerValues> values = input.layerValues();
    FieldAir air;
    air.alphaIn = input.alphaIn.number();
    air.alphaOut = input.alphaOut.number();
    air.tIn = input.tIn.number();
    air.phiIn = input.phiIn.number();
    air.tOut = input.tHeat.number();
    air.phiOut = input.phiHeat.number();
    recalculateField(input.table, values, air, state, refine, sat);
}

}  // namespace ogrado
