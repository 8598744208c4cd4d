#include "moisture/moisture_calc.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/point_field.h"
#include "engine/saturation.h"
#include "refdata/ref_reader.h"

namespace ogrado {

const char* const kMonthNames[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                     "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

bool isSummerMonth(int month)
{
    return month >= 6 && month <= 8;
}

MonthAir monthAir(const ClimateRecord& city, int month, const QString& tIn, const QString& phiIn)
{
    // DIN 4108: the summer months with 12 °С and 70 % on both sides
    if (isSummerMonth(month))
        return {QStringLiteral("12"), QStringLiteral("70"), QStringLiteral("12"), QStringLiteral("70")};
    return {city.monthTemperature(month), city.monthHumidity(month), tIn, phiIn};
}

double climateNumber(const QString& text, const ClimateRecord& city, int month, bool humidity)
{
    const QString what = QStringLiteral("Климатические данные «%1», %2: %3")
                             .arg(city.name, QString::fromUtf8(kMonthNames[month - 1]).toLower(),
                                  humidity ? QStringLiteral("влажность наружного воздуха")
                                           : QStringLiteral("температура наружного воздуха"));
    // the values come from a reference file: that is where they are put right
    const QString fix = QStringLiteral("Исправьте это значение в файле справочных данных «%1».")
                            .arg(QString::fromUtf8(humidity ? kHumidityFile : kTemperatureFile));
    const auto v = parseNumber(text);
    if (!v)
        throw AppError(QStringLiteral("%1 «%2» не является числом. %3").arg(what, text.trimmed(), fix));
    if (humidity && !inRange(*v, kHumidityRange))
        throw AppError(QStringLiteral("%1: значение «%2» недопустимо (допускается %3). %4")
                           .arg(what, text.trimmed(), rangeText(kHumidityRange), fix),
                       QString::fromUtf8(kInputErrorTitle));
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
    const double alphaIn = headerNumber(h.alphaIn, QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в)"),
                                        mainWindowField(QStringLiteral("txtAlv")));
    const double alphaOut = headerNumber(h.alphaOut, QStringLiteral("Коэффициент теплоотдачи наружной поверхности альфа(н)"),
                                         mainWindowField(QStringLiteral("txtAln")));
    // the operating condition of the design inside air, as in the main calculation
    const bool conditionA = conditionIsA(
        headerNumber(h.tIn, QStringLiteral("Температура внутреннего воздуха t(в)"), mainWindowField(QStringLiteral("txtTv"))),
        headerNumber(h.phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"),
                     mainWindowField(QStringLiteral("txtFiv"))));
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < N; ++i) {
        sumR += layerResistance(table, values, i, conditionA);
        rp += layerVapourResistance(values, i);
    }
    double rt = divideOrFail(1, alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn,
                             mainWindowField(QStringLiteral("txtAlv"))) +
                sumR +
                divideOrFail(1, alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut,
                             mainWindowField(QStringLiteral("txtAln")));
    if (rp == 0)
        throw AppError(QStringLiteral("Сопротивление паропроницанию Rп равно 0 — деление на ноль. Проверьте толщины и "
                                      "коэффициенты паропроницаемости слоев."));

    rt = requireFinite(rt, QStringLiteral("Сопротивление теплопередаче Rт"));
    requireFinite(rp, QStringLiteral("Сопротивление паропроницанию Rп"));
    const double Ev = SaturationPressure(sat, tv, QStringLiteral("Температура внутреннего воздуха tв"));
    const double ev = 0.01 * phiV * Ev;
    const double En = SaturationPressure(sat, tn, QStringLiteral("Температура наружного воздуха tн"));
    const double en = 0.01 * phiN * En;

    QVector<CalcPoint> points;
    QStringList labels;
    buildPointList(table, values, points, labels);
    // The field of the month with the condition's λ (for the point lists; with the
    // refine flag also for each layer's mean humidity).
    fillTemperatureField(table, points, labels, [conditionA](const CalcPoint&) { return conditionA; }, tv, tn, alphaIn,
                         rt, sat);
    fillVapourField(points, labels, ev, en, rp);

    QVector<bool> layerA(N, false);
    if (setup.refine) {
        const QVector<double> means = layerMeanHumidity(points, values);
        double refined = 0;
        for (int i = 0; i < N; ++i) {
            layerA[i] = means[i] <= 75;
            refined += layerResistance(table, values, i, layerA[i]);
        }
        rt = requireFinite(1 / alphaIn + refined + 1 / alphaOut, QStringLiteral("Уточненное сопротивление теплопередаче Rт"));
    }

    // The plane behind layer k. Its temperature is divided by the Rт of the month: with
    // the refine flag each layer's own condition, without it the condition of the
    // preliminary Rт for every layer, so that the plane shows the temperature of its
    // point in the field.
    const int k = setup.planeLayer;
    if (k < 1 || k > N - 1)
        throw AppError(QStringLiteral("Увлажняемый слой №%1 не граничит с другим слоем. Пометьте увлажняемым слой, "
                                      "за которым есть другой слой.")
                           .arg(k));
    const QString plane = QStringLiteral("%1-%2").arg(k).arg(k + 1);
    const QString at = QStringLiteral("Граница слоев %1: ").arg(plane);
    double R = 0;
    double rpIn = 0;
    double tPlane = 0;
    for (int i = 0; i < k; ++i) {
        R += layerResistance(table, values, i, setup.refine ? layerA[i] : conditionA);
        rpIn += layerVapourResistance(values, i);
        tPlane = requireFinite(tv - (tv - tn) * (1 / alphaIn + R) / rt, at + QStringLiteral("температура t(гр.)"));
    }
    const double rpOut = requireFinite(rp - rpIn, at + QStringLiteral("сопротивление паропроницанию Rп.н."));
    requireFinite(rpIn, at + QStringLiteral("сопротивление паропроницанию Rп.в."));
    const double Eplane =
        SaturationPressure(sat, tPlane, at + QStringLiteral("температура t(гр.)"), kComputedTemperatureAdvice);
    if (rpIn == 0)
        throw AppError(QStringLiteral("Граница слоев %1: сопротивление паропроницанию от внутренней поверхности "
                                      "равно 0 — деление на ноль. Проверьте толщины и коэффициенты "
                                      "паропроницаемости слоев до этой границы.")
                           .arg(plane));
    if (rpOut == 0)
        throw AppError(QStringLiteral("Граница слоев %1: сопротивление паропроницанию до наружной поверхности "
                                      "равно 0 — деление на ноль. Проверьте толщины и коэффициенты "
                                      "паропроницаемости слоев за этой границей.")
                           .arg(plane));

    const QString gInName = at + QStringLiteral("поток пара g(в.)");
    const QString gOutName = at + QStringLiteral("поток пара g(н.)");
    MoistureMonthResult r;
    if (month != 0) {
        r.tPlane = formatNumber(tPlane, "0.0");
        if (ev > Eplane) {
            const double gIn = requireFinite(0.72 * (ev - Eplane) / rpIn, gInName);
            const double gOut = requireFinite(0.72 * (Eplane - en) / rpOut, gOutName);
            r.gIn = formatNumber(gIn, "0");
            r.gOut = formatNumber(gOut, "0");
            if (gIn > gOut)
                totals.accumulated += gIn - gOut;
            else if (month < 6)
                totals.heatingDrying += gOut - gIn;
            r.balance = formatNumber(gIn - gOut, "0");
        } else {
            if (month > 5 && month < 9) {
                const double gIn = requireFinite(0.72 * (Eplane - ev) / rpIn, gInName);
                const double gOut = requireFinite(0.72 * (Eplane - en) / rpOut, gOutName);
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
        const double gIn = requireFinite(0.72 * (ev - Eplane) / rpIn, gInName);
        const double gOut = requireFinite(0.72 * (Eplane - en) / rpOut, gOutName);
        r.dailyBalance = requireFinite((gIn - gOut) / 30, at + QStringLiteral("суточный баланс влаги"));
    }

    const int P = int(points.size());
    if (!setup.pointLists) {
        for (const CalcPoint& p : points)
            r.condensation = r.condensation || p.phi > 100;
        return r;
    }
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = points[j];
        r.points[0].append(pointName(labels, j));
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
    const double tv = headerNumber(tIn, QStringLiteral("Температура внутреннего воздуха t(в)"),
                                   mainWindowField(QStringLiteral("txtTv")));
    const double phiV = headerNumber(phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"),
                                     mainWindowField(QStringLiteral("txtFiv")));
    // every climate value of the year is checked before the first month is shown
    for (int m = 1; m <= 12; ++m) {
        if (m < 6 || m > 8) {
            climateNumber(city.monthTemperature(m), city, m, false);
            climateNumber(city.monthHumidity(m), city, m, true);
        }
    }
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
    requireFinite(totals.accumulated + totals.summerDrying + totals.heatingDrying,
                  QStringLiteral("Количество воды за год"));
    return totals;
}

}  // namespace ogrado
