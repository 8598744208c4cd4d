#include "engine/envelope_calc.h"

#include "common/app_error.h"
#include "common/colors.h"
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

void requireFinite(double value, const QString& what)
{
    if (!std::isfinite(value))
        throw AppError(QStringLiteral("%1 не определяется: результат вычисления не является конечным числом.")
                           .arg(what));
}

}  // namespace

void EnvelopeRun::highlightColumns(int i, bool lambdaA, bool sA, bool resetOthers)
{
    const int row = table.layers[i].sourceRow;
    if (row < 1 || row > 8)
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

void EnvelopeRun::run()
{
    const int N = table.count();
    st.layerCount = N;
    st.refined = in.refine;
    out.updates.reserve(160);
    // results of an earlier run must not stay beside this one if it stops early
    for (const char* name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr"})
        update(QLatin1String(name), QString());
    for (int k = 1; k <= 8; ++k)
        update(indexedName(Named::FiSl, k), QString());
    for (int k = 1; k <= 7; ++k) {
        for (Named name : {Named::T, Named::Pm, Named::Pr, Named::Rptr})
            update(indexedName(name, k), QString());
        update(indexedName(Named::Rpv, k), QString(), kWhite);
    }
    update(QStringLiteral("lblRezList"), QStringLiteral("Результаты предварительных расчетов"));
    st.complies = true;
    report.restart();

    reportSourceData();
    if (N == 0)
        throw AppError(QStringLiteral("Нет слоев для расчета: ни в одной строке таблицы слоев не указана толщина."));

    values = convertLayers(table);
    const LayerTableHeader& h = table.header;
    alphaIn = headerNumber(h.alphaIn, QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в)"));
    alphaOut = headerNumber(h.alphaOut, QStringLiteral("Коэффициент теплоотдачи наружной поверхности альфа(н)"));
    tIn = headerNumber(h.tIn, QStringLiteral("Температура внутреннего воздуха t(в)"));
    phiIn = headerNumber(h.phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"));
    tOut = headerNumber(h.tHeat, QStringLiteral("Средняя температура отопительного периода t(от.)"));
    phiOut = headerNumber(h.phiHeat, QStringLiteral("Средняя влажность отопительного периода фи(от.)"));
    const double invAlphaIn = divideOrFail(1, alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn);
    const double invAlphaOut =
        divideOrFail(1, alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut);

    // Operating condition after table 4.2
    st.conditionA = conditionIsA(tIn, phiIn);
    st.conditionLetter = st.conditionA ? QStringLiteral("А") : QStringLiteral("Б");
    st.reached = CalcState::kCondition;
    for (int i = 0; i < N; ++i)
        highlightColumns(i, st.conditionA, st.conditionA, true);
    update(QStringLiteral("txtRt"), std::nullopt, kWhite);
    reportCondition();

    replaceZeroPermeability(table, values);

    // Preliminary resistances
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < N; ++i) {
        sumR += layerResistance(table, values, i, st.conditionA);
        rp += layerVapourResistance(values, i);
    }
    st.rtPreliminary = invAlphaIn + sumR + invAlphaOut;
    st.rt = st.rtPreliminary;
    st.rp = rp;
    requireFinite(st.rt, QStringLiteral("Сопротивление теплопередаче Rт"));
    requireFinite(st.rp, QStringLiteral("Сопротивление паропроницанию Rп"));
    st.reached = CalcState::kResistances;
    update(QStringLiteral("txtRt"), formatNumber(st.rt, "0.00"));
    update(QStringLiteral("txtRp"), formatNumber(st.rp, "0.00"));
    reportResistances();
    reportRefineIntro();

    for (int i = 0; i < N; ++i) {
        LayerResult r;
        r.sourceRow = table.layers[i].sourceRow;
        r.name = table.layers[i].name;
        r.inputs = values[i];
        st.layers.append(r);
    }
    buildPointList(table, values, st.points, st.pointLabels);
    if (in.refine) {
        if (st.rt == 0)
            throw AppError(QStringLiteral("Сопротивление теплопередаче Rт равно 0 — деление на ноль."));
        const bool a = st.conditionA;
        fillTemperatureField(table, st.points, [a](const CalcPoint&) { return a; }, tIn, tOut, alphaIn, st.rt, sat);
        reportTemperatureField();
        reportSaturationField();
    }

    st.Ev = SaturationPressure(sat, tIn);
    st.ev = PartialPressure(phiIn, st.Ev);
    st.En = SaturationPressure(sat, tOut);
    st.en = PartialPressure(phiOut, st.En);
    reportAir();

    layerA.fill(false, N);
    if (in.refine) {
        if (st.rp == 0)
            throw AppError(QStringLiteral("Сопротивление паропроницанию Rп равно 0 — деление на ноль."));
        fillVapourField(st.points, st.ev, st.en, st.rp);
        reportVapourField();
        const QVector<double> means = layerMeanHumidity(st.points, values, &averagedPhi);
        for (int i = 0; i < N; ++i) {
            st.layers[i].phiMean = means[i];
            layerA[i] = means[i] <= 75;
        }
        reportMeanHumidity();
    }

    // Layer sums without the surfaces: with each layer's refined λ, or the condition's λ
    double butLast = 0;
    double all = 0;
    for (int i = 0; i < N; ++i) {
        const double r = layerResistance(table, values, i, in.refine ? layerA[i] : st.conditionA);
        all += r;
        if (i < N - 1)
            butLast += r;
    }
    st.rLayersButLast = float(butLast);
    st.rLayersAll = float(all);
    if (in.refine) {
        st.rt = invAlphaIn + all + invAlphaOut;
        for (int i = 0; i < N; ++i) {
            update(indexedName(Named::FiSl, i + 1), formatNumber(*st.layers[i].phiMean, "0.0"));
            highlightColumns(i, layerA[i], layerA[i], true);
        }
        reportRefinedResistance();
    }

    // Thermal inertia
    double D = 0;
    for (int i = 0; i < N; ++i) {
        const bool a = in.refine ? layerA[i] : st.conditionA;
        const double lambda = a ? values[i].lambdaA : values[i].lambdaB;
        if (lambda == 0)
            layerResistance(table, values, i, a);  // reports the division by zero
        D += values[i].thickness * 0.001 * (a ? values[i].sA : values[i].sB) / lambda;
    }
    st.D = D;
    update(QStringLiteral("txtD"), formatNumber(D, "0.00"));
    reportInertia();

    // Design winter outside temperature by table 5.2
    st.tnIndex = D <= 1.5 ? 1 : D <= 4 ? 2 : D <= 7 ? 3 : 4;
    st.tnText = in.tn[size_t(st.tnIndex - 1)];
    for (int k = 1; k <= 4; ++k)
        update(indexedName(Named::Tn, k), std::nullopt, k == st.tnIndex ? kHighlight : kWhite);
    update(QStringLiteral("txtTnras"), st.tnText);
    st.reached = CalcState::kInertia;
    if (in.refine)
        update(QStringLiteral("txtRt"), formatNumber(st.rt, "0.00"), kHighlight);
    else
        update(QStringLiteral("txtRt"), std::nullopt, kWhite);
    reportDesignTemperature();

    // Required resistance, formula 5.2
    tempDiff = in.tempDiff.trimmed().isEmpty()
                   ? 0
                   : headerNumber(in.tempDiff, QStringLiteral("Температурный перепад дельта(tв)"));
    if (tempDiff == 0) {
        out.warning = EnvelopeMessage{QStringLiteral("Нет данных по температурному перепаду!!!"),
                                      QStringLiteral("Ошибка в исходных данных!!")};
        return;
    }
    n = headerNumber(in.n, QStringLiteral("Коэффициент n"));
    st.tn = headerNumber(st.tnText, QStringLiteral("Расчетная температура наружного воздуха tн"));
    const double rtr = n * (tIn - st.tn) / (alphaIn * tempDiff);
    requireFinite(rtr, QStringLiteral("Требуемое сопротивление теплопередаче Rт.тр."));
    st.rtRequired = rtr;
    st.reached = CalcState::kRequired;
    update(QStringLiteral("txtRtr"), formatNumber(rtr, "0.00"));
    reportRequiredResistance();
    if (st.rt < rtr)
        st.complies = false;

    if (in.refine)
        out.lists = resultListsOf(st, QStringLiteral("Результаты предварительных расчетов"));

    checkBoundaries();
    reportVapourCheck();
    reportVerdict();
    if (!in.refine)
        out.lists = RecalculateRefinedField(table, st, false, sat);
    st.finished = true;
    st.reached = CalcState::kFinished;
}

void EnvelopeRun::checkBoundaries()
{
    const int N = table.count();
    if (N > 1 && st.rp == 0)
        throw AppError(QStringLiteral("Сопротивление паропроницанию Rп равно 0 — деление на ноль."));
    double rSum = 0;
    double rpIn = 0;
    for (int i = 0; i < N - 1; ++i) {
        rSum += layerResistance(table, values, i, refinedA(i));
        rpIn += layerVapourResistance(values, i);
        LayerResult& r = st.layers[i];
        r.tBoundary = tIn - (tIn - tOut) * (1 / alphaIn + rSum) / st.rt;
        r.rpFromInside = rpIn;
        r.rpToOutside = st.rp - rpIn;
        r.eSatBoundary = SaturationPressure(sat, r.tBoundary);
        r.eBoundary = st.ev - (st.ev - st.en) * rpIn / st.rp;
        if (r.eSatBoundary - st.en == 0)
            throw AppError(QStringLiteral("Граница слоев %1-%2: максимальное парциальное давление E равно "
                                          "парциальному давлению наружного воздуха ен (%3 Па) — деление на ноль.")
                               .arg(i + 1)
                               .arg(i + 2)
                               .arg(formatNumber(st.en, "0.0")));
        r.rpRequired = (st.ev - r.eSatBoundary) * r.rpToOutside / (r.eSatBoundary - st.en);
        r.passes = !(r.rpFromInside < r.rpRequired);
        if (!r.passes)
            st.complies = false;
        if (i < 7) {
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
    EnvelopeRun run(table, inputs, sat, report);
    try {
        run.run();
    } catch (const AppError& e) {
        run.st.finished = false;
        run.out.error = EnvelopeMessage{e.message(), e.title()};
    }
    run.out.table = table;
    run.out.inputs = inputs;
    return std::move(run.out);
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

ResultLists RecalculateRefinedField(const LayerTable& table, CalcState& state, bool refine,
                                    const SaturationTable& sat)
{
    const QVector<LayerValues> values = convertLayers(table);
    const LayerTableHeader& h = table.header;
    const double alphaIn = headerNumber(h.alphaIn, QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в)"));
    const double alphaOut = headerNumber(h.alphaOut, QStringLiteral("Коэффициент теплоотдачи наружной поверхности альфа(н)"));
    const double tIn = headerNumber(h.tIn, QStringLiteral("Температура внутреннего воздуха t(в)"));
    const double phiIn = headerNumber(h.phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"));
    const double tOut = headerNumber(h.tHeat, QStringLiteral("Средняя температура отопительного периода t(от.)"));
    const double phiOut = headerNumber(h.phiHeat, QStringLiteral("Средняя влажность отопительного периода фи(от.)"));
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < values.size(); ++i) {
        const std::optional<double> phiMean = i < state.layers.size() ? state.layers[i].phiMean : std::nullopt;
        const bool a = refine && phiMean && *phiMean <= 75;
        sumR += layerResistance(table, values, i, a);
        rp += layerVapourResistance(values, i);
    }
    const double rt = divideOrFail(1, alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn) + sumR +
                      divideOrFail(1, alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut);
    if (rt == 0 || rp == 0)
        throw AppError(QStringLiteral("Сопротивление теплопередаче или паропроницанию равно 0 — деление на ноль."));
    fillTemperatureField(table, state.points, [refine](const CalcPoint& p) { return refine && p.phiMean <= 75; },
                         tIn, tOut, alphaIn, rt, sat);
    state.Ev = SaturationPressure(sat, tIn);
    state.ev = PartialPressure(phiIn, state.Ev);
    state.En = SaturationPressure(sat, tOut);
    state.en = PartialPressure(phiOut, state.En);
    fillVapourField(state.points, state.ev, state.en, rp);
    return resultListsOf(state, QStringLiteral("Результаты по уточненному Rt"));
}

}  // namespace ogrado
