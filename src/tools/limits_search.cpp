// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/limits_search.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/saturation.h"

#include <cmath>

namespace ogrado {

namespace {

// A value within this share of a step from the last value counts as reaching it:
// (20 − 0)/0,1 is 199,99999999999997 in binary, and the loop must still run 201 times.
constexpr double kStepTolerance = 1e-9;

QString quantityName(RangeQuantity what)
{
    return what == RangeQuantity::InsideTemperature ? QStringLiteral("температуры внутреннего воздуха t(в)")
                                                    : QStringLiteral("влажности внутреннего воздуха фи(в)");
}

// Entry k (0 first, 1 last, 2 step) of the window frmVariant, which messages name.
FieldRef entryField(RangeQuantity what, int k)
{
    return fieldOf(QStringLiteral("frmVariant"),
                   (what == RangeQuantity::InsideTemperature ? QStringLiteral("txtTv_%1") : QStringLiteral("txtFiv_%1"))
                       .arg(k));
}

double entryValue(const QString& text, const QString& role, RangeQuantity what, int k)
{
    if (text.trimmed().isEmpty())
        throw AppError(QStringLiteral("Не задано %1 %2. Введите число.").arg(role, quantityName(what)),
                       entryField(what, k));
    const std::optional<double> v = parseNumber(text);
    if (!v)
        throw AppError(QStringLiteral("%1 %2 «%3» не является числом. Введите число.")
                           .arg(role.left(1).toUpper() + role.mid(1), quantityName(what), text.trimmed()),
                       entryField(what, k));
    return *v;
}

}  // namespace

SearchRange makeSearchRange(const QString& first, const QString& last, const QString& step, RangeQuantity what)
{
    SearchRange r;
    r.first = entryValue(first, QStringLiteral("начальное значение"), what, 0);
    r.last = entryValue(last, QStringLiteral("конечное значение"), what, 1);
    r.step = entryValue(step, QStringLiteral("шаг"), what, 2);
    if (what == RangeQuantity::InsideHumidity) {
        // every humidity of the loop lies between the first and the last one
        requireInRange(r.first, first, QStringLiteral("Начальное значение влажности внутреннего воздуха фи(в)"),
                       kHumidityRange, entryField(what, 0));
        requireInRange(r.last, last, QStringLiteral("Конечное значение влажности внутреннего воздуха фи(в)"),
                       kHumidityRange, entryField(what, 1));
    }
    if (r.step == 0)
        throw AppError(QStringLiteral("Шаг %1 равен нулю: перебор значений не закончится. Задайте шаг, отличный от нуля.")
                           .arg(quantityName(what)),
                       entryField(what, 2));
    const double q = (r.last - r.first) / r.step;
    if (q < 0)
        throw AppError(QStringLiteral("Шагом %1 нельзя пройти от начального значения %2 до конечного значения %3 "
                                      "%4. Задайте %5 шаг.")
                           .arg(generalText(r.step), generalText(r.first), generalText(r.last), quantityName(what),
                                r.step > 0 ? QStringLiteral("отрицательный") : QStringLiteral("положительный")),
                       entryField(what, 2));
    if (!std::isfinite(q) || q >= double(kMaxLimitsCalculations))
        throw AppError(QStringLiteral("Слишком мелкий шаг %1: от %2 до %3 получается более %4 значений. "
                                      "Увеличьте шаг.")
                           .arg(quantityName(what), generalText(r.first), generalText(r.last))
                           .arg(kMaxLimitsCalculations),
                       entryField(what, 2));
    const double steps = std::floor(q + kStepTolerance);
    r.count = int(steps) + 1;
    r.landsOnLast = std::abs(q - steps) <= kStepTolerance;
    return r;
}

void checkTemperaturesInTable(const SearchRange& t, const SaturationTable& sat)
{
    const double first = t.value(0);
    const double last = t.value(t.count - 1);
    if (!saturationWithin(sat, first))
        SaturationPressure(sat, first, QStringLiteral("Начальное значение температуры внутреннего воздуха t(в)"), {},
                           entryField(RangeQuantity::InsideTemperature, 0));
    // a step that does not land on the entry ends the loop before it: that value is named
    if (!saturationWithin(sat, last))
        SaturationPressure(sat, last,
                           t.landsOnLast ? QStringLiteral("Конечное значение температуры внутреннего воздуха t(в)")
                                         : QStringLiteral("Последнее значение перебора температуры внутреннего воздуха t(в)"),
                           {}, entryField(RangeQuantity::InsideTemperature, 1));
}

void checkSearchSize(const SearchRange& t, const SearchRange& phi)
{
    const qint64 runs = qint64(t.count) * qint64(phi.count);
    if (runs > kMaxLimitsCalculations)
        throw AppError(QStringLiteral("Слишком много вариантов: %1 значений t(в) на %2 значений фи(в) — %3 расчетов "
                                      "(допускается не более %4). Увеличьте шаг или сократите диапазон.")
                           .arg(t.count)
                           .arg(phi.count)
                           .arg(runs)
                           .arg(kMaxLimitsCalculations));
}

bool SearchLimits(const SearchRange& t, const SearchRange& phi, const ComplianceCheck& complies,
                  const RowDone& rowDone)
{
    for (int i = 0; i < t.count; ++i) {
        const double tIn = t.value(i);
        LimitsRow row;
        row.t = tIn;
        // 0: no complying humidity yet, 1: the interval is open, 2: it closed
        int state = 0;
        for (int j = 0; j < phi.count; ++j) {
            const double phiIn = phi.value(j);
            const std::optional<bool> ok = complies(tIn, phiIn);
            if (!ok)
                return false;
            if (*ok && state == 0) {
                row.from = phiIn;
                state = 1;
            }
            if (!*ok && state == 1) {
                row.to = phi.value(j - 1);  // фи − step
                state = 2;
            }
            // the pass that opens the interval may close it too, at the last humidity
            if (*ok && state == 1 && j == phi.count - 1 && phi.landsOnLast)
                row.to = phiIn;
            // fails at the first humidity: no interval
            if (!*ok && state == 0)
                break;
            // Once closed, nothing later in the row changes it: spare the remaining runs.
            if (state == 2)
                break;
        }
        if (!rowDone(row))
            return false;
    }
    return true;
}

LimitsRowText limitsRowText(const LimitsRow& row)
{
    if (!row.from)
        return {generalText(row.t), QStringLiteral("--"), QStringLiteral("--")};
    return {generalText(row.t), generalText(*row.from), row.to ? generalText(*row.to) : QString()};
}

QStringList limitsReportLines(const QVector<LimitsRow>& rows)
{
    QStringList lines;
    lines.append(QString());
    lines.append(QStringLiteral("   Возможность применения данной ограждающей конструкции в зависимости от температуры "
                                "и влажности внутреннего воздуха при соблюдении ") +
                 QStringLiteral("требование п. 9.1 ТКП 45-2.04-43 по сопротивлению паропроницанию ограждающей "
                                "конструкции от внутренней поверхности до плоскости возможной конденсации:"));
    lines.append(QStringLiteral("Тв ;Фи(в.) - от;Фи(в.) - до"));
    for (const LimitsRow& row : rows) {
        const LimitsRowText text = limitsRowText(row);
        lines.append(text.t + u';' + text.from + u';' + text.to);
    }
    return lines;
}

}  // namespace ogrado
