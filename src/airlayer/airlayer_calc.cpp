#include "airlayer/airlayer_calc.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/layer_table.h"
#include "engine/saturation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace ogrado {

namespace {

constexpr double kP0 = 1.2932;        // air density at 0 °С, kg/m³
constexpr double kTwoG = 19.62;       // 2·g, formula (2)
constexpr double kE = 2.718;          // the base of both exponentials
constexpr double kHeatFactor = 1.004;  // formula (5): divisor 1.004·i
constexpr double kStep = 0.01;        // height step of the mean-temperature integral, m
constexpr double kMaxThickness = 1.0;  // m: a wider gap is not searched
// The mean temperatures tried at one thickness are kept in a list: at most this many.
// With ε ≥ 0,001 °С only a saturation table wider than 1000 °С reaches it.
constexpr int kMaxTcSteps = 1000000;

// Limits of the inputs. A trial costs the same at every height (the integral of
// formula (9) is summed in closed form); what stays bounded is the number of trials:
// at most 1001 thicknesses, each with about log2((Tint − Text)/ε) + 2 trials.
constexpr InputRange kHeightRange{0, false, 100, "м"};            // at most 10 000 terms of 0,01 m
constexpr InputRange kIncrementRange{1, true, 1000, "мм"};        // at most 1001 thicknesses
constexpr InputRange kInitialRange{0, true, 1000, "мм"};
constexpr InputRange kAccuracyRange{0.001, true, 10, "°С"};       // a bounded list of Tc

// A field of the air-gap window frmPr, which messages about its inputs name.
FieldRef airField(const char* control)
{
    return fieldOf(QStringLiteral("frmPr"), QLatin1String(control));
}

// The value when it is finite; the message is written only when it is not (every trial
// checks its values).
double checked(double v, const char* what)
{
    return requireFiniteNamed(v, [what]() -> QString {
        return QStringLiteral("Расчет вентилируемой прослойки: величина %1").arg(QString::fromUtf8(what));
    });
}

// Metres typed in millimetres: compared in millimetres, a hair of binary rounding allowed.
void requireMillimetres(double metres, const char* what, const InputRange& range, const FieldRef& field)
{
    const double mm = metres * 1000;
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(mm));
    const double nearest = std::round(mm);
    const double shown = std::fabs(mm - nearest) <= tolerance ? nearest : mm;
    requireInRange(shown, generalText(shown), QString::fromUtf8(what), range, field);
}

// The flow and the mean temperature of one trial of the mean gap-air temperature Tc at
// thickness d, formulas (2), (3), (5), (9).
struct Trial {
    double Pmid = 0, V = 0, i = 0, Th = 0, Tcalc = 0;
};

struct Search {
    const AirLayerInputs& in;
    const AirLayerHooks& hooks;
    ProfileTerms terms;
    double Pext = 0, SymEp = 0;
    std::vector<double> tcs;  // the mean temperatures tried at every thickness
    qint64 trials = 0;

    Trial trial(double Tc, double d) const
    {
        Trial t;
        t.Pmid = 273 * kP0 / (Tc + 273);
        t.V = std::sqrt(kTwoG * in.h * (Pext - t.Pmid) / (t.Pmid * SymEp));
        t.i = 3600 * t.V * t.Pmid * in.k * d;
        const GapProfile p = hooks.profile ? hooks.profile(terms, t.i) : gapProfile(terms, t.i);
        t.Tcalc = checked(p.Tcalc, "Tcalc");
        t.Th = checked(p.Th, "Th");
        return t;
    }

    Trial tryAt(size_t n, double d)
    {
        if (hooks.cancelled && hooks.cancelled())
            throw AppError(QStringLiteral("Расчет вентилируемой прослойки прерван."), QStringLiteral("Расчет прерван"));
        ++trials;
        const Trial t = trial(tcs[n], d);
        if (hooks.tcStep)
            hooks.tcStep(tcs[n], t.Tcalc);
        return t;
    }

    bool meets(size_t n, const Trial& t) const { return std::fabs(tcs[n] - t.Tcalc) <= in.eps; }

    // The first Tc within the accuracy at thickness d; nothing when Tc would pass the
    // inside temperature.
    std::optional<std::pair<double, Trial>> findTc(double d, bool straightforward)
    {
        if (straightforward) {
            for (size_t n = 0; n < tcs.size(); ++n) {
                const Trial t = tryAt(n, d);
                if (meets(n, t))
                    return std::pair{tcs[n], t};
            }
            return std::nullopt;
        }
        // Tc − Tcalc grows with Tc (a warmer gap draws more air and cools less), so the
        // first Tc within the accuracy is the first with Tc − Tcalc ≥ −ε, if it is within.
        size_t lo = 0;
        size_t hi = tcs.size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            const Trial t = tryAt(mid, d);
            if (tcs[mid] - t.Tcalc >= -in.eps)
                hi = mid;
            else
                lo = mid + 1;
        }
        if (lo < tcs.size()) {
            const Trial t = tryAt(lo, d);
            if (meets(lo, t))
                return std::pair{tcs[lo], t};
        }
        return std::nullopt;
    }
};

// The mean temperatures tried at every thickness: Text + ε, Text + 2ε, … up to the
// inside temperature, by repeated addition.
std::vector<double> meanTemperaturesToTry(const AirLayerInputs& in)
{
    std::vector<double> tcs;
    const double expected = (in.Tint - in.Text) / in.eps;
    if (expected > 0)
        tcs.reserve(size_t(std::min(expected + 2, double(kMaxTcSteps))));
    for (double tc = in.Text + in.eps; tc <= in.Tint; tc += in.eps) {
        if (int(tcs.size()) >= kMaxTcSteps)
            throw AppError(QStringLiteral("Точность определения средней температуры воздуха в прослойке слишком мала: "
                                          "более %1 шагов подбора Tc. Укажите значение точности больше, например "
                                          "0,01 °С.")
                               .arg(kMaxTcSteps),
                           airField("txtTocn"));
        tcs.push_back(tc);
    }
    return tcs;
}

// Everything of a run that does not depend on the thickness: E of both airs, ALm, the
// heat-transfer coefficients, 1/Rп and SymEp, formulas (6) to (8).
AirLayerResults prepare(const AirLayerInputs& in, const SaturationTable& sat)
{
    AirLayerResults r;
    r.Eext = SaturationPressure(sat, in.Text, QStringLiteral("Расчетная температура наружного воздуха Text"), {},
                                airField("txtTn_0"));
    r.Eint = SaturationPressure(sat, in.Tint, QStringLiteral("Расчетная температура внутреннего воздуха Tint"), {},
                                airField("txtTn_2"));
    r.ALm = airGapSurfaceCoefficient(in.h);
    r.LAint = 1 / (double(in.R1) + 1 / r.ALm + 1 / in.ALint);  // formula (8)
    r.LAext = 1 / (double(in.R2) + 1 / r.ALm + 1 / in.ALext);  // formula (7)
    r.KSIint = 1 / in.Rp1;
    r.KSIext = 1 / in.Rp2;
    r.SymEp = 1.5;
    if (in.gridIn)
        r.SymEp += 1;
    if (in.gridOut)
        r.SymEp += 1;
    if (in.turns)
        r.SymEp += in.turnCount;
    r.A = r.LAint * in.Tint + r.LAext * in.Text;  // formula (6)
    checked(r.LAint, "LAint");
    checked(r.LAext, "LAext");
    checked(r.KSIint, "KSIint (1/Rп1)");
    checked(r.KSIext, "KSIext (1/Rп2)");
    checked(r.A, "A");
    r.Pext = 273 * kP0 / (in.Text + 273);
    r.eint = 0.01 * in.FIv * r.Eint;
    r.eext = 0.01 * in.FIn * r.Eext;
    return r;
}

// The air of the accepted trial at thickness d and the moisture at the outlet,
// formulas (10) to (12).
void outletMoisture(AirLayerResults& r, const AirLayerInputs& in, const SaturationTable& sat, double d, double Tc,
                    const Trial& accepted)
{
    r.d = d;
    r.Tc = Tc;
    r.Tcalc = accepted.Tcalc;
    r.Pmid = accepted.Pmid;
    r.V = accepted.V;
    r.i = accepted.i;
    r.Th = accepted.Th;
    r.Eh = SaturationPressure(sat, r.Th, QStringLiteral("Температура воздуха на выходе из прослойки Th"),
                              kComputedTemperatureAdvice);
    const double ksiSum = r.KSIint + r.KSIext;
    r.M = checked(r.KSIext * r.eext + r.KSIint * r.eint, "M");
    r.B = checked(7.935 / (r.Pmid * (1 + r.Th / 273)), "B");
    r.eh = checked((r.M + (r.eext * ksiSum - r.M) * std::pow(kE, -ksiSum * in.h / (r.i * r.B))) / ksiSum, "eh");
    checked(r.V, "V");
    checked(r.i, "i");
    checked(r.Pmid, "Pmid");
}

}  // namespace

ProfileSteps profileSteps(double h)
{
    ProfileSteps s;
    for (double x = 0; x <= h; x += kStep) {
        ++s.count;
        s.lastX = x;
    }
    return s;
}

GapProfile gapProfile(const ProfileTerms& p, double i)
{
    // Th(x) = A/LAsum + (Text − A/LAsum)·q^k at x = k·0,01 with one ratio
    // q = e^(−r), r = 3,6·LAsum·0,01/(1,004·i)·ln 2,718: the sum of the terms k = 0 … n − 1
    // is a geometric series, Σ q^k = (1 − q^n)/(1 − q), written with expm1 so that a
    // ratio near 1 (a strong flow) keeps its digits.
    const double n = double(p.steps.count);
    static const double lnE = std::log(kE);
    const double r = 3.6 * p.LAsum * kStep / (kHeatFactor * i) * lnE;
    const double series = r == 0 ? n : std::expm1(-n * r) / std::expm1(-r);
    const double sum = kStep * (n * p.A + (p.LAsum * p.Text - p.A) * series) / p.LAsum;
    GapProfile g;
    g.Tcalc = sum / p.h;
    // the outlet: the last term as the summation reaches it
    g.Th = (p.A + (p.LAsum * p.Text - p.A) * std::pow(kE, -3.6 * p.LAsum * p.steps.lastX / (kHeatFactor * i))) /
           p.LAsum;
    return g;
}

double airGapSurfaceCoefficient(double h)
{
    if (h < 6)
        return 5;
    if (h < 12)
        return 8;
    return 12;
}

void checkAirLayerInputs(const AirLayerInputs& in)
{
    auto plain = [](double v, const char* what, const InputRange& range, const FieldRef& field) {
        requireInRange(v, generalText(v), QString::fromUtf8(what), range, field);
    };
    plain(in.h, "Разность высот входного и выходного отверстия h (не более 10000 шагов интегрирования по 0,01 м)",
          kHeightRange, airField("txtHst"));
    requireMillimetres(in.dd, "Приращение толщины прослойки", kIncrementRange, airField("txtDpr"));
    requireMillimetres(in.d0, "Начальная толщина прослойки", kInitialRange, airField("txtDnac"));
    plain(in.eps, "Точность определения средней температуры воздуха в прослойке", kAccuracyRange, airField("txtTocn"));
    plain(in.FIn, "Влажность наружного воздуха", kHumidityRange, airField("txtTn_1"));
    plain(in.FIv, "Влажность внутреннего воздуха", kHumidityRange, airField("txtTn_3"));
    plain(in.ALint, "Коэффициент теплоотдачи внутренней поверхности альфа(в)", kPositiveRange,
          mainWindowField(QStringLiteral("txtAlv")));
    plain(in.ALext, "Коэффициент теплоотдачи наружной поверхности альфа(н)", kPositiveRange,
          mainWindowField(QStringLiteral("txtAln")));
    plain(in.k, "Коэффициент k", kPositiveRange, airField("txtK"));
    plain(in.turnCount, "Количество поворотов потока воздуха", kNonNegativeRange, airField("txtEps"));
}

AirLayerResults AirLayerCalculation(const AirLayerInputs& in, const SaturationTable& sat, const AirLayerHooks& hooks,
                                    bool straightforward)
{
    checkAirLayerInputs(in);
    AirLayerResults r = prepare(in, sat);
    Search s{in, hooks, {r.A, r.LAint + r.LAext, in.Text, in.h, profileSteps(in.h)}, r.Pext, r.SymEp,
             meanTemperaturesToTry(in)};
    double d = in.d0 - in.dd;
    for (;;) {
        d = d + in.dd;
        if (d > kMaxThickness + 1e-9)
            throw AppError(QStringLiteral("Удаление влаги из прослойки не обеспечивается при толщине прослойки до "
                                          "1000 мм. Проверьте исходные данные прослойки: высоту h, решетки и "
                                          "повороты потока, температуры и влажности воздуха."));
        if (hooks.thickness)
            hooks.thickness(d);
        if (d <= 0)
            continue;  // no gap, no flow
        const std::optional<std::pair<double, Trial>> found = s.findTc(d, straightforward);
        if (!found)
            throw AppError(QStringLiteral(
                "Средняя температура воздуха в прослойке не подбирается с заданной точностью: Tc превысила температуру "
                "внутреннего воздуха. Проверьте исходные данные (точность, температуры, высоту)."));
        outletMoisture(r, in, sat, d, found->first, found->second);
        r.trials = s.trials;
        if (!(r.Eh < r.eh))
            return r;
    }
}

void AirLayerReport::replace(const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    lines_.clear();
    count_ = 0;
    write(1, in, r, t);
}

void AirLayerReport::append(const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    write(count_, in, r, t);
}

QStringList AirLayerReport::resultLines() const
{
    if (count_ == 0)
        return {};
    QStringList out;
    for (int k = 1; k <= count_; ++k)
        out.append(line(k));
    return out;
}

AirLayerReport AirLayerReport::fromResultLines(const QStringList& lines)
{
    AirLayerReport r;
    if (!lines.isEmpty()) {
        r.lines_ = QStringList{QString()} + lines;
        r.count_ = int(lines.size());
    }
    return r;
}

QStringList AirLayerReport::allLines() const
{
    QStringList out;
    for (int k = 0; k <= count_; ++k)
        out.append(line(k));
    return out;
}

void AirLayerReport::write(int start, const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    int n = start;
    auto put = [&](int advance, const QString& text) {
        n += advance;
        while (lines_.size() <= n)
            lines_.append(QString());
        lines_[n] = text;
    };
    auto plain = [](double v) { return generalText(v); };
    auto F = [](double v, const char* pattern) { return formatNumber(v, pattern); };

    put(2, QStringLiteral(" Расчет вентилируемой воздушной прослойки в соответствии с ТКП 45-3.02-113."));
    put(1, QString());
    put(1, QStringLiteral("ИСХОДНЫЕ ДАННЫЕ"));
    put(1, QString());
    put(1, QStringLiteral("1. Состав и расчет ограждающей конструкции см. выше"));
    put(1, QStringLiteral("2. Расчетная температура внутреннего воздуха: ") + plain(in.Tint) +
               QStringLiteral(" градусов Цельсия."));
    put(1, QStringLiteral("3. Расчетная влажность внутреннего воздуха - ") + plain(in.FIv) + QStringLiteral("%."));
    put(1, QStringLiteral("4. Расчетная температура наружного воздуха: ") + plain(in.Text) +
               QStringLiteral(" градусов Цельсия."));
    put(1, QStringLiteral("5. Расчетная влажность наружного воздуха - ") + plain(in.FIn) + QStringLiteral(" ."));
    put(1, QStringLiteral("6. Разность высот входного и выходного отверстия - ") + plain(in.h) + QStringLiteral(" м."));
    put(1, QStringLiteral("7. Толщина воздушной прослойки ") + plain(1000 * r.d) + QStringLiteral(" мм."));
    put(1, QStringLiteral("8. Точность определения средней температуры воздуха в прослойке ") + plain(in.eps) +
               QStringLiteral(" градусов Цельсия."));
    if (in.gridIn)
        put(1, QStringLiteral("9. Имеется решетка на входе в прослойку."));
    if (in.gridOut)
        put(1, QStringLiteral("10. Имеется решетка на выходе из прослойки."));
    if (in.turns)
        put(1, QStringLiteral("11. Имеются повороты потока воздуха в прослойке - ") + t.turnsText.trimmed() +
                   QStringLiteral(" шт."));
    put(1, QStringLiteral("Данные из теплотехнического расчета конструкции"));
    put(1, QStringLiteral("1. Сумма  сопротивлений теплопередачи слоев ограждающей конструкции, расположенной между "
                          "внутренней поверхность и вентилируемой прослойкой: R1 = ") +
               F(in.R1, "0.0###") + QStringLiteral(" м2 градус/Вт."));
    put(1, QStringLiteral("2. Сумма  сопротивлений теплопередачи слоев ограждающей конструкции, расположенной между "
                          "наружной поверхность и вентилируемой прослойкой - R2 = ") +
               F(in.R2, "0.0####") + QStringLiteral(" м2 градус/Вт."));
    put(1, QStringLiteral("3. Расчетное сопротивление паропроницанию части ограждающей конструкции, расположенной между "
                          "внутренней поверхность и вентилируемой прослойкой - Rп1 = ") +
               F(in.Rp1, "0.0##") + QStringLiteral(" м2 ч Па/мг."));
    put(1, QStringLiteral("4. Расчетное сопротивление паропроницанию части ограждающей конструкции, расположенной между "
                          "наружной поверхность и вентилируемой прослойкой - Rп2 = ") +
               F(in.Rp2, "0.0##") + QStringLiteral(" м2 ч Па/мг."));
    put(2, QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА"));
    put(1, QStringLiteral(" Коэффициент теплопередачи поверхности в прослойке по п. 6.3.7: ALm = ") + plain(r.ALm) +
               QStringLiteral(",  Вт/(м2 градус):"));
    put(2, QStringLiteral(" Коэффициент теплопередачи части ограждающей конструкции, расположенной между внутренней "
                          "поверхность и вентилируемой прослойкой по формуле (8),  Вт/(м2 градус):"));
    put(1, QStringLiteral("LAint =1/(1/ALint+1/R1+1/ALm)=1/(1/") + plain(in.ALint) + QStringLiteral("+1/") +
               F(in.R1, "0.0###") + QStringLiteral("+1/") + plain(r.ALm) + u'=' + F(r.LAint, "0.0##"));
    put(2, QStringLiteral(" Коэффициент теплопередачи части ограждающей конструкции, расположенной между наружной "
                          "поверхность и вентилируемой прослойкой по формуле (7),  Вт/(м2 градус):"));
    put(1, QStringLiteral("LAext=1/(1/ALext+1/R2+1/ALm)=1/(1/") + plain(in.ALext) + QStringLiteral("+1/") +
               F(in.R2, "0.0####") + QStringLiteral("+1/") + plain(r.ALm) + u'=' + F(r.LAext, "0.0##"));
    put(2, QStringLiteral("  Величина, обратная сопротивленю паропроницанию части ограждающей конструкции, расположенной "
                          "между внутренней поверхность и вентилируемой прослойкой, мг/(м2 ч Па:"));
    put(1, QStringLiteral("KSIint=1/RПint=1/") + F(in.Rp1, "0.0##") + u'=' + F(r.KSIint, "0.0##"));
    put(2, QStringLiteral("  Величина, обратная сопротивленю паропроницанию части ограждающей конструкции, расположенной "
                          "между наружной поверхность и вентилируемой прослойкой, мг/(м2 ч Па:"));
    put(1, QStringLiteral("KSIext=1/RПext=1/") + F(in.Rp2, "0.0##") + u'=' + F(r.KSIext, "0.0##"));

    // the mean temperature is written to the precision the thickness step allows
    QString tcText;
    if (in.dd <= 0.001)
        tcText = F(r.Tc, "0.0##");
    else if (in.dd <= 0.01)
        tcText = F(r.Tc, "0.0#");
    else if (in.dd <= 0.1)
        tcText = F(r.Tc, "0.0");
    if (in.dd <= 0.1)
        put(2, QStringLiteral("  Методом последовательных приближений при заданной точности по формуле (9) определена "
                              "средняя температура воздухе в прослойке: Тс =") +
                   tcText + QStringLiteral(" градусов Цельсия."));
    else
        n += 2;
    put(2, QStringLiteral("  Плотность воздуха в прослойке при средней температуре Тс:"));
    put(1, QStringLiteral("Рmid=P0*273/(273+Tc) =") + plain(kP0) + QStringLiteral("*273/(273") + tcText +
               QStringLiteral(")=") + F(r.Pmid, "0.0###") + QStringLiteral(" кг/м3 "));
    put(2, QStringLiteral("  Плотность наружного воздуха:"));
    put(1, QStringLiteral("Рext=P0*273/(273+Text)=") + plain(kP0) + QStringLiteral("*273/(273") + plain(in.Text) +
               QStringLiteral(")=") + F(r.Pext, "0.0###") + QStringLiteral(" кг/м3 "));
    put(2, QStringLiteral("  Сумма коэффициентов местных сопротивлений - SymEp = ") + plain(r.SymEp));
    put(2, QStringLiteral("  Средняя скорость движения воздуха в прослойке по формуле (2):"));
    put(1, QStringLiteral("V=(2*g*(Pext-Pmid)/(Pmid*SymEp))^0.5=(2*9.81*(") + F(r.Pext, "0.0###") + u'-' +
               F(r.Pmid, "0.0###") + QStringLiteral(")/(") + F(r.Pmid, "0.0###") + u'*' + plain(r.SymEp) +
               QStringLiteral("))^0.5=") + F(r.V, "0.0##") + QStringLiteral(" м/с."));
    put(2, QStringLiteral("  Массовый расход воздуха в прослойке по формуле (3):"));
    put(1, QStringLiteral("i=3600*V*Pmid*k*Dpr=3600*") + F(r.V, "0.0##") + u'*' + F(r.Pmid, "0.0###") + u'*' +
               plain(in.k) + u'*' + F(r.d, "0.0##") + u'=' + F(r.i, "0.0##") + QStringLiteral(" кг/ч."));
    put(2, QStringLiteral("  Величина А по формуле (6):"));
    put(1, QStringLiteral("A=LAint*Tint+LAext*Text=") + F(r.LAint, "0.0##") + u'*' + plain(in.Tint) + u'+' +
               F(r.LAext, "0.0##") + QStringLiteral("*(") + plain(in.Text) + QStringLiteral(")=") + F(r.A, "0.0##"));
    put(2, QStringLiteral("  Температура воздуха на выходе из прослойке по формуле (5):"));
    const QString A = F(r.A, "0.0##");
    const QString LAint = F(r.LAint, "0.0##");
    const QString LAext = F(r.LAext, "0.0##");
    put(1, QStringLiteral("Th={A+(Text*(LAint+LAexe)-A)*e^(-3.6*(LAint+LAext)*h/(1.005*i))}/( LAint+LAexe)={") + A +
               QStringLiteral("+(") + plain(in.Text) + QStringLiteral("*(") + LAint + u'+' + LAext + QStringLiteral(")-(") +
               A + QStringLiteral("))*2.718^(-3.6*(") + LAint + u'+' + LAext + QStringLiteral(")*") + plain(in.h) +
               QStringLiteral("/(1.005*") + F(r.i, "0.0##") + QStringLiteral("))}/(") + LAint + u'+' + LAext +
               QStringLiteral(")=") + F(r.Th, "0.0##") + QStringLiteral(" градусов Цельсия"));
    put(2, QStringLiteral("  Упругость насыщеного водяного пара внутреннего воздуха, определяемая по приложению Е ТКП "
                          "45-2.04-43 при Tint=") +
               plain(in.Tint) + QStringLiteral(": Eint=") + F(r.Eint, "0.0#") + QStringLiteral(" Па."));
    put(1, QStringLiteral("  Упругость насыщеного водяного пара наружного воздуха, определяемая по приложению Е ТКП "
                          "45-2.04-43 при Text=") +
               plain(in.Text) + QStringLiteral(": Eext=:") + F(r.Eext, "0.0#") + QStringLiteral(" Па."));
    put(2, QStringLiteral("  Действительная упругость водяного пара внутреннего воздуха:"));
    put(1, QStringLiteral("eint=0.01*FIv*Eint=0.01*") + plain(in.FIv) + u'*' + F(r.Eint, "0.0#") + u'=' +
               F(r.eint, "0.0#") + QStringLiteral(" Па."));
    put(1, QStringLiteral("  Действительная упругость водяного пара наружного воздуха:"));
    put(1, QStringLiteral("eint=0.01*FIn*Eext=0.01*") + plain(in.FIn) + u'*' + F(r.Eext, "0.0#") + u'=' +
               F(r.eext, "0.0#") + QStringLiteral(" Па."));
    put(2, QStringLiteral("  Величина М по формуле (11):"));
    put(1, QStringLiteral("M=KSIint*eint+KSIext*eext=") + F(r.KSIint, "0.0#") + u'*' + F(r.eint, "0.0#") + u'+' +
               F(r.KSIext, "0.0#") + u'*' + F(r.eext, "0.0#") + u'=' + F(r.M, "0.0##"));
    put(2, QStringLiteral("  Максимальная абсолютная влажность воздуха на выходе из прослойки по формуле (12):"));
    put(1, QStringLiteral("B=7.935/{Pmid*(1+Th/273)}=7.935/{") + F(r.Pmid, "0.0###") + QStringLiteral("*(1+(") +
               F(r.Th, "0.0##") + QStringLiteral(")/273}=") + F(r.B, "0.0##") + QStringLiteral(" мг/кг"));
    put(2, QStringLiteral("  Упругость водяного пара  на выходе из прослойки по формуле (10):"));
    put(1, QStringLiteral("eh={M+(eext*(KSIint+KSIext)-M)*e^(-(KSIint+KSIext)*h)/(i*B)}/ (KSIint+KSIext)={") +
               F(r.M, "0.0##") + QStringLiteral("+(") + F(r.eext, "0.0#") + QStringLiteral("*(") + F(r.KSIint, "0.0#") +
               u'+' + F(r.KSIext, "0.0#") + QStringLiteral(")-") + F(r.M, "0.0##") + QStringLiteral(")*2.718^(-(") +
               F(r.KSIint, "0.0#") + u'+' + F(r.KSIext, "0.0#") + QStringLiteral(")*") + plain(in.h) +
               QStringLiteral(")/(") + F(r.i, "0.0##") + u'*' + F(r.B, "0.0##") + QStringLiteral(")}/(") +
               F(r.KSIint, "0.0##") + u'+' + F(r.KSIext, "0.0#") + QStringLiteral(")=") + F(r.eh, "0.0#") +
               QStringLiteral(" Па"));
    put(2, QStringLiteral("  Упругость насыщеного водяного пара на выходе из прослойки, определяемая по приложению Е ТКП "
                          "45-2.04-43 при Th=") +
               F(r.Th, "0.0##") + QStringLiteral(": Eh=") + F(r.Eh, "0.0#") + QStringLiteral(" Па."));
    put(2, QStringLiteral("  ВЫВОД: так как действительная упругость водяного пара на выходе из прослойки меньше "
                          "упругости насыщенного водяного пара: ") +
               F(r.eh, "0.0#") + u'<' + F(r.Eh, "0.0#") + QStringLiteral(" - удаление влаги из прослойки обеспечено."));
    count_ = n + 2;
    while (lines_.size() <= count_)
        lines_.append(QString());
}

}  // namespace ogrado
