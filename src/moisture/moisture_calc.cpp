#include "moisture/moisture_calc.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "engine/point_field.h"
#include "engine/saturation.h"

namespace ogrado {

const char* const kMonthNames[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                     "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

MonthAir monthAir(const ClimateRecord& city, int month, const QString& tIn, const QString& phiIn)
{
    // DIN 4108: the summer months with 12 °С and 70 % on both sides
    if (month >= 6 && month <= 8)
        return {QStringLiteral("12"), QStringLiteral("70"), QStringLiteral("12"), QStringLiteral("70")};
    return {city.monthTemperature(month), city.monthHumidity(month), tIn, phiIn};
}

double climateNumber(const QString& text, const ClimateRecord& city, int month, bool humidity)
{
    const auto v = parseNumber(text);
    if (!v)
        throw AppError(QStringLiteral("Климатические данные «%1», %2: %3 «%4» не является числом.")
                           .arg(city.name, QString::fromUtf8(kMonthNames[month - 1]).toLower(),
                                humidity ? QStringLiteral("влажность наружного воздуха")
                                         : QStringLiteral("температура наружного воздуха"),
                                text.trimmed()));
    return *v;
}

MarkCheck checkMoistenedLayer(std::optional<int> k, int n)
{
    if (!k || *k < 2 || *k > n - 1)
        return MarkCheck::FirstOrLast;
    if (*k < n - 1)
        return MarkCheck::NotPenultimate;
    return MarkCheck::Ok;
}

MoistureMonthResult CalcMoistureMonth(const MoistureSetup& setup, double tv, double phiV, double tn, double phiN,
                                      int month, MoistureTotals& totals)
{
    const LayerTable& table = *setup.table;
    const SaturationTable& sat = *setup.saturation;
    const int N = table.count();
    QVector<LayerValues> values = convertLayers(table);
    for (LayerValues& v : values) {
        if (v.mu == 0)
            v.mu = 0.00001;
    }
    const LayerTableHeader& h = table.header;
    const double alphaIn = headerNumber(h.alphaIn, QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в)"));
    const double alphaOut = headerNumber(h.alphaOut, QStringLiteral("Коэффициент теплоотдачи наружной поверхности альфа(н)"));
    // the operating condition of the design inside air, as in the main calculation
    const bool conditionA =
        conditionIsA(headerNumber(h.tIn, QStringLiteral("Температура внутреннего воздуха t(в)")),
                     headerNumber(h.phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)")));
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < N; ++i) {
        sumR += layerResistance(table, values, i, conditionA);
        rp += layerVapourResistance(values, i);
    }
    double rt = divideOrFail(1, alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn) + sumR +
                divideOrFail(1, alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut);
    if (rp == 0)
        throw AppError(QStringLiteral("Сопротивление паропроницанию Rп равно 0 — деление на ноль."));

    QVector<CalcPoint> points;
    QStringList labels;
    buildPointList(table, values, points, labels);
    // The field of the month with the condition's λ (for the point lists; with the
    // refine flag also for each layer's mean humidity).
    fillTemperatureField(table, points, [conditionA](const CalcPoint&) { return conditionA; }, tv, tn, alphaIn, rt, sat);
    const double Ev = SaturationPressure(sat, tv);
    const double ev = 0.01 * phiV * Ev;
    const double En = SaturationPressure(sat, tn);
    const double en = 0.01 * phiN * En;
    fillVapourField(points, ev, en, rp);

    QVector<bool> layerA(N, false);
    if (setup.refine) {
        const QVector<double> means = layerMeanHumidity(points, values);
        double refined = 0;
        for (int i = 0; i < N; ++i) {
            layerA[i] = means[i] <= 75;
            refined += layerResistance(table, values, i, layerA[i]);
        }
        rt = 1 / alphaIn + refined + 1 / alphaOut;
    }

    // the plane behind layer k
    const int k = setup.planeLayer;
    if (k < 1 || k > N - 1)
        throw AppError(QStringLiteral("Увлажняемый слой №%1 не граничит с другим слоем.").arg(k));
    double R = 0;
    double rpIn = 0;
    double tPlane = 0;
    for (int i = 0; i < k; ++i) {
        R += layerResistance(table, values, i, setup.refine && layerA[i]);
        rpIn += layerVapourResistance(values, i);
        tPlane = tv - (tv - tn) * (1 / alphaIn + R) / rt;
    }
    const double rpOut = rp - rpIn;
    const double Eplane = SaturationPressure(sat, tPlane);
    const QString plane = QStringLiteral("%1-%2").arg(k).arg(k + 1);
    if (rpIn == 0)
        throw AppError(QStringLiteral("Граница слоев %1: сопротивление паропроницанию от внутренней поверхности "
                                      "равно 0 — деление на ноль.")
                           .arg(plane));
    if (rpOut == 0)
        throw AppError(QStringLiteral("Граница слоев %1: сопротивление паропроницанию до наружной поверхности "
                                      "равно 0 — деление на ноль.")
                           .arg(plane));

    MoistureMonthResult r;
    if (month != 0) {
        r.tPlane = formatNumber(tPlane, "0.0");
        if (ev > Eplane) {
            const double gIn = 0.72 * (ev - Eplane) / rpIn;
            const double gOut = 0.72 * (Eplane - en) / rpOut;
            r.gIn = formatNumber(gIn, "0");
            r.gOut = formatNumber(gOut, "0");
            if (gIn > gOut)
                totals.accumulated += gIn - gOut;
            else if (month < 6)
                totals.heatingDrying += gOut - gIn;
            r.balance = formatNumber(gIn - gOut, "0");
        } else {
            if (month > 5 && month < 9) {
                const double gIn = 0.72 * (Eplane - ev) / rpIn;
                const double gOut = 0.72 * (Eplane - en) / rpOut;
                r.gIn = formatNumber(gIn, "0");
                r.gOut = formatNumber(gOut, "0");
                totals.summerDrying += gIn + gOut;
            } else {
                r.gIn = QStringLiteral("--");
                r.gOut = QStringLiteral("--");
            }
            r.balance = QStringLiteral("--");
        }
    } else {
        const double gIn = 0.72 * (ev - Eplane) / rpIn;
        const double gOut = 0.72 * (Eplane - en) / rpOut;
        r.dailyBalance = (gIn - gOut) / 30;
    }

    const int P = int(points.size());
    if (!setup.pointLists) {
        for (const CalcPoint& p : points)
            r.condensation = r.condensation || p.phi > 100;
        return r;
    }
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = points[j];
        r.points[0].append(j == 0       ? QStringLiteral("Внутренняя поверхность")
                           : j == P - 1 ? QStringLiteral("Наружная поверхность")
                                        : labels[j]);
        r.points[1].append(formatSingle(p.t, "0.0"));
        r.points[2].append(formatSingle(p.E, "0"));
        r.points[3].append(formatSingle(p.e, "0"));
        if (p.phi > 100) {
            r.points[4].append(QStringLiteral("100% !!!"));
            r.condensation = true;
        } else {
            r.points[4].append(formatSingle(p.phi, "0.0"));
        }
    }
    return r;
}

MoistureTotals RunMoistureYear(const MoistureSetup& setup, const ClimateRecord& city, const QString& tIn,
                               const QString& phiIn, const MoistureYearHooks& hooks)
{
    const double tv = headerNumber(tIn, QStringLiteral("Температура внутреннего воздуха t(в)"));
    const double phiV = headerNumber(phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"));
    MoistureTotals totals;
    for (int m = 1; m <= 12; ++m) {
        const MonthAir air = monthAir(city, m, tIn, phiIn);
        if (hooks.monthStarting)
            hooks.monthStarting(m, air);
        const bool summer = m >= 6 && m <= 8;
        const double tn = summer ? 12 : climateNumber(air.tn, city, m, false);
        const double phiN = summer ? 70 : climateNumber(air.phiN, city, m, true);
        const MoistureMonthResult r = CalcMoistureMonth(setup, summer ? 12 : tv, summer ? 70 : phiV, tn, phiN, m, totals);
        if (hooks.monthDone)
            hooks.monthDone(m, r);
    }
    return totals;
}

}  // namespace ogrado
