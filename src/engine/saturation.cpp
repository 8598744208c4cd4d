#include "engine/saturation.h"

#include "common/app_error.h"
#include "common/number_text.h"

#include <algorithm>
#include <cmath>

namespace ogrado {

double SaturationPressure(const SaturationTable& table, double t, const QString& what)
{
    const auto& rows = table.rows;
    const qsizetype n = rows.size();
    if (!std::isfinite(t))
        requireFinite(t, what);
    if (n < 2 || t < double(rows.first().t) || t > double(rows.last().t)) {
        const QString range = n > 0 ? QStringLiteral("от %1 до %2 °С")
                                          .arg(generalTextSingle(rows.first().t), generalTextSingle(rows.last().t))
                                    : QStringLiteral("таблица пуста");
        throw AppError(QStringLiteral("%1 %2 °С лежит вне таблицы максимальных парциальных давлений "
                                      "водяного пара (%3).")
                           .arg(what, shortNumberText(t), range));
    }
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

float RelativeHumidity(double e, double E, const QString& what)
{
    if (E == 0)
        throw AppError(QStringLiteral("%1: максимальное парциальное давление водяного пара равно 0 — "
                                      "относительную влажность определить нельзя (деление на ноль).")
                           .arg(what));
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
                                      "парциальных давлений (%2).")
                           .arg(shortNumberText(E), range));
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
