// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/saturation.h"

#include "common/app_error.h"
#include "common/number_text.h"

#include <algorithm>
#include <cmath>

namespace ogrado {

namespace {

const QString kTableAdvice =
    QStringLiteral("Проверьте таблицу максимальных парциальных давлений в файле справочных данных «СтенарийТКП.txt».");

}  // namespace

std::optional<double> saturationWithin(const SaturationTable& table, double t)
{
    const auto& rows = table.rows;
    // a NaN fails both comparisons and is not within
    if (rows.size() < 2 || !(t >= double(rows.first().t) && t <= double(rows.last().t)))
        return std::nullopt;
    if (t == double(rows.last().t))
        return double(rows.last().E);
    // first row whose temperature exceeds t
    const auto it = std::upper_bound(rows.begin(), rows.end(), t,
                                     [](double value, const SaturationRow& r) { return value < double(r.t); });
    const qsizetype k = it - rows.begin();  // k >= 1 because t >= t[first]
    const SaturationRow& hi = rows[k];
    const SaturationRow& lo = rows[k - 1];
    const float dE = hi.E - lo.E;
    const float dT = hi.t - lo.t;
    return double(hi.E) - double(dE) * (double(hi.t) - t) / double(dT);
}

double SaturationPressure(const SaturationTable& table, double t, const QString& what, const QString& advice,
                          const FieldRef& field)
{
    if (const std::optional<double> E = saturationWithin(table, t))
        return *E;
    const auto& rows = table.rows;
    const qsizetype n = rows.size();
    if (!std::isfinite(t)) {
        try {
            requireFinite(t, what);
        } catch (AppError& e) {
            throw e.orField(field);
        }
    }
    // outside the table, or a table of fewer than two rows
    const QString low = n > 0 ? generalTextSingle(rows.first().t) : QString();
    const QString high = n > 0 ? generalTextSingle(rows.last().t) : QString();
    const QString range = n > 0 ? QStringLiteral("от %1 до %2 °С").arg(low, high) : QStringLiteral("таблица пуста");
    QString todo = advice;
    if (n < 2)
        todo = kTableAdvice;
    else if (todo.isEmpty())
        todo = QStringLiteral("Укажите температуру от %1 до %2 °С.").arg(low, high);
    throw AppError(QStringLiteral("%1 %2 °С лежит вне таблицы максимальных парциальных давлений "
                                  "водяного пара (%3). %4")
                       .arg(what, shortNumberText(t), range, todo),
                   field);
}

float RelativeHumidity(double e, double E, const QString& what)
{
    if (E == 0)
        throw AppError(QStringLiteral("%1: максимальное парциальное давление водяного пара равно 0 — "
                                      "относительную влажность определить нельзя (деление на ноль). %2")
                           .arg(what, kTableAdvice));
    return requireFiniteSingle(e * 100.0 / E, what);
}

double SaturationTemperature(const SaturationTable& table, double E)
{
    const auto& rows = table.rows;
    const qsizetype n = rows.size();
    if (n < 2 || !std::isfinite(E) || E < double(rows.first().E) || E > double(rows.last().E)) {
        const QString range = n > 0 ? QStringLiteral("от %1 до %2 Па")
                                          .arg(generalTextSingle(rows.first().E), generalTextSingle(rows.last().E))
                                    : QStringLiteral("таблица пуста");
        throw AppError(QStringLiteral("Парциальное давление водяного пара %1 Па лежит вне таблицы максимальных "
                                      "парциальных давлений (%2). %3")
                           .arg(shortNumberText(E), range,
                                n > 1 ? QStringLiteral("Проверьте температуру и влажность воздуха.") : kTableAdvice));
    }
    if (E == double(rows.last().E))
        return double(rows.last().t);
    qsizetype k = 0;
    while (k < n && !(E < double(rows[k].E)))
        ++k;
    const SaturationRow& hi = rows[k];
    const SaturationRow& lo = rows[k - 1];
    return double(hi.t) - (double(hi.E) - E) * double(hi.t - lo.t) / double(hi.E - lo.E);
}

}  // namespace ogrado
