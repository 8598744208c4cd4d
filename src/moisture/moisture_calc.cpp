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
    const auto v = parseNumber(text);
    if (v && (!humidity || inRange(*v, kHumidityRange)))
        return *v;
    const QString what = QStringLiteral("Климатические данные «%1», %2: %3")
                             .arg(city.name, QString::fromUtf8(kMonthNames[month - 1]).toLower(),
                                  humidity ? QStringLiteral("влажность наружного воздуха")
                                           : QStringLiteral("температура наружного воздуха"));
    // the values come from a reference file: that is where they are put right
    const QString fix = QStringLiteral("Исправьте это значение в файле справочных данных «%1».")
                            .arg(QString::fromUtf8(humidity ? kHumidityFile : kTemperatureFile));
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

MoistureEnvelope prepareMoistureEnvelope(const MoistureSetup& setup)
{
    const LayerTable& table = *setup.table;
    const int N = table.count();
    MoistureEnvelope env;
    env.values = convertLayers(table);
    for (LayerValues& v : env.values) {
        if (v.mu == 0)
            v.mu = 0.00001;
    }
    const LayerTableHeader& h = table.header;
    env.alphaIn = headerNumber(h.alphaIn, QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в)"),
                               mainWindowField(QStringLiteral("txtAlv")));
    env.alphaOut = headerNumber(h.alphaOut, QStringLiteral("Коэффициент теплоотдачи наружной поверхности альфа(н)"),
                                mainWindowField(QStringLiteral("txtAln")));
    // the operating condition of the design inside air, as in the main calculation
    env.conditionA = conditionIsA(
        headerNumber(h.tIn, QStringLiteral("Температура внутреннего воздуха t(в)"), mainWindowField(QStringLiteral("txtTv"))),
        headerNumber(h.phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"),
                     mainWindowField(QStringLiteral("txtFiv"))));
    double sumR = 0;
    double rp = 0;
    for (int i = 0; i < N; ++i) {
        sumR += layerResistance(table, env.values, i, env.conditionA);
        rp += layerVapourResistance(env.values, i);
    }
    const double rt = divideOrFail(1, env.alphaIn, QStringLiteral("Коэффициент теплоотдачи альфа(в)"), h.alphaIn,
                                   mainWindowField(QStringLiteral("txtAlv"))) +
                      sumR +
                      divideOrFail(1, env.alphaOut, QStringLiteral("Коэффициент теплоотдачи альфа(н)"), h.alphaOut,
                                   mainWindowField(QStringLiteral("txtAln")));
    if (rp == 0)
        throw AppError(QStringLiteral("Сопротивление паропроницанию Rп равно 0 — деление на ноль. Проверьте толщины и "
                                      "коэффициенты паропроницаемости слоев."));

    env.rt = requireFinite(rt, QStringLiteral("Сопротивление теплопередаче Rт"));
    env.rp = requireFinite(rp, QStringLiteral("Сопротивление паропроницанию Rп"));
    buildPointList(table, env.values, env.points, env.labels);
    return env;
}

namespace {

// The temperature and vapour field of a month over the envelope's points, with the
// condition's λ; returns the Rт of the month (with the refine flag each layer's own
// condition after its mean humidity, `layerA`).
double monthField(const MoistureSetup& setup, const MoistureEnvelope& env, double tv, double tn, double ev, double en,
                  QVector<CalcPoint>& points, QVector<bool>& layerA)
{
    const LayerTable& table = *setup.table;
    const int N = table.count();
    const bool conditionA = env.conditionA;
    // The field of the month with the condition's λ (for the point lists; with the
    // refine flag also for each layer's mean humidity).
    fillTemperatureField(table, points, env.labels, [conditionA](const CalcPoint&) { return conditionA; }, tv, tn,
                         env.alphaIn, env.rt, *setup.saturation);
    fillVapourField(points, env.labels, ev, en, env.rp);

    layerA.fill(false, N);
    if (!setup.refine)
        return env.rt;
    const QVector<double> means = layerMeanHumidity(points, env.values);
    double refined = 0;
    for (int i = 0; i < N; ++i) {
        layerA[i] = means[i] <= 75;
        refined += layerResistance(table, env.values, i, layerA[i]);
    }
    return requireFinite(1 / env.alphaIn + refined + 1 / env.alphaOut,
                         QStringLiteral("Уточненное сопротивление теплопередаче Rт"));
}

// "Граница слоев 3-4: <what>", a quantity of the plane behind layer k in a message.
QString planeQuantity(int k, const char* what)
{
    return QStringLiteral("Граница слоев %1-%2: ").arg(k).arg(k + 1) + QString::fromUtf8(what);
}

// The plane behind the moistened layer in the month's field.
struct MoisturePlane {
    double t = 0, E = 0, rpIn = 0, rpOut = 0;
};

MoisturePlane planeOfTheMonth(const MoistureSetup& setup, const MoistureEnvelope& env, double tv, double tn, double rt,
                              const QVector<bool>& layerA)
{
    const LayerTable& table = *setup.table;
    const int N = table.count();
    // The plane behind layer k. Its temperature is divided by the Rт of the month: with
    // the refine flag each layer's own condition, without it the condition of the
    // preliminary Rт for every layer, so that the plane shows the temperature of its
    // point in the field.
    const int k = setup.planeLayer;
    if (k < 1 || k > N - 1)
        throw AppError(QStringLiteral("Увлажняемый слой №%1 не граничит с другим слоем. Пометьте увлажняемым слой, "
                                      "за которым есть другой слой.")
                           .arg(k));
    // the plane's name only for a message
    auto at = [k](const char* what) { return planeQuantity(k, what); };
    MoisturePlane pl;
    double R = 0;
    for (int i = 0; i < k; ++i) {
        R += layerResistance(table, env.values, i, setup.refine ? layerA[i] : env.conditionA);
        pl.rpIn += layerVapourResistance(env.values, i);
        pl.t = requireFiniteNamed(tv - (tv - tn) * (1 / env.alphaIn + R) / rt, [&] { return at("температура t(гр.)"); });
    }
    pl.rpOut = requireFiniteNamed(env.rp - pl.rpIn, [&] { return at("сопротивление паропроницанию Rп.н."); });
    requireFiniteNamed(pl.rpIn, [&] { return at("сопротивление паропроницанию Rп.в."); });
    pl.E = SaturationPressureNamed(*setup.saturation, pl.t, [&] { return at("температура t(гр.)"); },
                                   kComputedTemperatureAdvice);
    if (pl.rpIn == 0)
        throw AppError(QStringLiteral("Граница слоев %1-%2: сопротивление паропроницанию от внутренней поверхности "
                                      "равно 0 — деление на ноль. Проверьте толщины и коэффициенты "
                                      "паропроницаемости слоев до этой границы.")
                           .arg(k)
                           .arg(k + 1));
    if (pl.rpOut == 0)
        throw AppError(QStringLiteral("Граница слоев %1-%2: сопротивление паропроницанию до наружной поверхности "
                                      "равно 0 — деление на ноль. Проверьте толщины и коэффициенты "
                                      "паропроницаемости слоев за этой границей.")
                           .arg(k)
                           .arg(k + 1));
    return pl;
}

// The vapour flows through the plane in month 1..12 and the month's part of the
// totals, or (month 0) the daily balance.
void planeFlows(MoistureMonthResult& r, const MoisturePlane& pl, int k, double ev, double en, int month,
                MoistureTotals& totals)
{
    auto named = [k](const char* what) { return planeQuantity(k, what); };
    auto gIn = [&](double difference) {
        return requireFiniteNamed(0.72 * difference / pl.rpIn, [&] { return named("поток пара g(в.)"); });
    };
    auto gOut = [&] { return requireFiniteNamed(0.72 * (pl.E - en) / pl.rpOut, [&] { return named("поток пара g(н.)"); }); };
    if (month == 0) {
        const double in = gIn(ev - pl.E);
        const double out = gOut();
        r.dailyBalance = requireFiniteNamed((in - out) / 30, [&] { return named("суточный баланс влаги"); });
        return;
    }
    r.tPlane = formatNumber(pl.t, "0.0");
    if (ev > pl.E) {
        const double in = gIn(ev - pl.E);
        const double out = gOut();
        r.gIn = formatNumber(in, "0");
        r.gOut = formatNumber(out, "0");
        if (in > out)
            totals.accumulated += in - out;
        else if (month < 6)
            totals.heatingDrying += out - in;
        r.balance = formatNumber(in - out, "0");
        return;
    }
    if (month > 5 && month < 9) {
        const double in = gIn(pl.E - ev);
        const double out = gOut();
        r.gIn = formatNumber(in, "0");
        r.gOut = formatNumber(out, "0");
        totals.summerDrying += in + out;
    } else {
        r.gIn = QStringLiteral("--");
        r.gOut = QStringLiteral("--");
    }
    r.balance = QStringLiteral("--");
}

}  // namespace

MoistureMonthResult CalcMoistureMonth(const MoistureSetup& setup, double tv, double phiV, double tn, double phiN,
                                      int month, MoistureTotals& totals)
{
    return CalcMoistureMonth(setup, prepareMoistureEnvelope(setup), tv, phiV, tn, phiN, month, totals);
}

MoistureMonthResult CalcMoistureMonth(const MoistureSetup& setup, const MoistureEnvelope& env, double tv, double phiV,
                                      double tn, double phiN, int month, MoistureTotals& totals)
{
    const SaturationTable& sat = *setup.saturation;
    const double Ev = SaturationPressure(sat, tv, QStringLiteral("Температура внутреннего воздуха tв"));
    const double ev = 0.01 * phiV * Ev;
    const double En = SaturationPressure(sat, tn, QStringLiteral("Температура наружного воздуха tн"));
    const double en = 0.01 * phiN * En;

    QVector<CalcPoint> points = env.points;
    QVector<bool> layerA;
    const double rt = monthField(setup, env, tv, tn, ev, en, points, layerA);
    const MoisturePlane pl = planeOfTheMonth(setup, env, tv, tn, rt, layerA);
    MoistureMonthResult r;
    planeFlows(r, pl, setup.planeLayer, ev, en, month, totals);

    const int P = int(points.size());
    if (!setup.pointLists) {
        for (const CalcPoint& p : points)
            r.condensation = r.condensation || p.phi > 100;
        return r;
    }
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = points[j];
        r.points[0].append(pointName(env.labels, j));
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

YearClimate yearClimate(const ClimateRecord& city)
{
    YearClimate c;
    for (int m = 1; m <= 12; ++m) {
        const bool summer = m >= 6 && m <= 8;
        c.tn[size_t(m - 1)] = summer ? 12 : climateNumber(city.monthTemperature(m), city, m, false);
        c.phiN[size_t(m - 1)] = summer ? 70 : climateNumber(city.monthHumidity(m), city, m, true);
    }
    return c;
}

namespace {

// The twelve months in order on the climate already read; `starting` sees each month
// before it is calculated.
MoistureTotals runYear(const MoistureSetup& setup, const YearClimate& climate, double tv, double phiV,
                       const std::function<void(int month)>& starting,
                       const std::function<void(int month, const MoistureMonthResult& result)>& done)
{
    // what the months share, prepared once when the first month is calculated
    std::optional<MoistureEnvelope> env;
    MoistureTotals totals;
    for (int m = 1; m <= 12; ++m) {
        if (starting)
            starting(m);
        if (!env)
            env = prepareMoistureEnvelope(setup);
        const bool summer = m >= 6 && m <= 8;
        const MoistureMonthResult r = CalcMoistureMonth(setup, *env, summer ? 12 : tv, summer ? 70 : phiV,
                                                        climate.tn[size_t(m - 1)], climate.phiN[size_t(m - 1)], m, totals);
        if (done)
            done(m, r);
    }
    requireFinite(totals.accumulated + totals.summerDrying + totals.heatingDrying,
                  QStringLiteral("Количество воды за год"));
    return totals;
}

}  // namespace

MoistureTotals RunMoistureYear(const MoistureSetup& setup, const ClimateRecord& city, const QString& tIn,
                               const QString& phiIn, const MoistureYearHooks& hooks)
{
    const double tv = headerNumber(tIn, QStringLiteral("Температура внутреннего воздуха t(в)"),
                                   mainWindowField(QStringLiteral("txtTv")));
    const double phiV = headerNumber(phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"),
                                     mainWindowField(QStringLiteral("txtFiv")));
    // every climate value of the year is checked before the first month is shown
    const YearClimate climate = yearClimate(city);
    std::function<void(int)> starting;
    if (hooks.monthStarting)
        starting = [&](int m) { hooks.monthStarting(m, monthAir(city, m, tIn, phiIn)); };
    return runYear(setup, climate, tv, phiV, starting, hooks.monthDone);
}

MoistureTotals RunMoistureYear(const MoistureSetup& setup, const YearClimate& climate, double tv, double phiV)
{
    return runYear(setup, climate, tv, phiV, {}, {});
}

}  // namespace ogrado
