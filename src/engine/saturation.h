// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Maximum (saturation) partial pressure of water vapour after appendix Е of
// ТКП 45-2.04-43 and the two air-moisture relations built on it.
#include "common/app_error.h"
#include "common/number_text.h"
#include "refdata/ref_tables.h"

#include <optional>

namespace ogrado {

// What to do when a temperature the calculation computed (at a boundary, a point, the
// outlet of the air gap) lies outside the table: it lies between the inside and the
// outside air temperatures.
inline const QString kComputedTemperatureAdvice =
    QStringLiteral("Проверьте температуры внутреннего и наружного воздуха.");

// E(t), Па, by linear interpolation in the table: the first row whose temperature is
// greater than t and the row before it. A temperature equal to the last row's gives
// that row's E. Throws AppError "<what> <t> °С лежит вне таблицы ... (от -40 до 40 °С).
// <advice>" about the input `field` when t lies outside; `what` names the temperature
// ("Температура внутреннего воздуха t(в)", "Граница слоев 2-3: температура"); without
// an advice the message asks for a temperature within the table.
double SaturationPressure(const SaturationTable& table, double t, const QString& what, const QString& advice = {},
                          const FieldRef& field = {});

// E(t) as SaturationPressure gives it when t lies within the table; nothing when it
// does not (or the table has fewer than two rows).
std::optional<double> saturationWithin(const SaturationTable& table, double t);

// SaturationPressure with the name of the temperature built only when t lies outside
// the table (`name` is a function returning the QString): for the loops over points
// and boundaries.
template <class Name>
double SaturationPressureNamed(const SaturationTable& table, double t, const Name& name, const QString& advice = {},
                               const FieldRef& field = {})
{
    static_assert(kIsNameFunction<Name>, "the name function returns a QString");
    if (const std::optional<double> E = saturationWithin(table, t))
        return *E;
    return SaturationPressure(table, t, name(), advice, field);
}

// e = E·(phi·0.01): the actual partial pressure for the relative humidity phi, %
// (formulas (9.2) and (9.4)).
inline double PartialPressure(double phi, double E) { return E * (phi * 0.01); }

// φ = e·100/E, %, in single precision. Throws AppError naming `what` when E is 0 or φ
// is not finite in single precision.
float RelativeHumidity(double e, double E, const QString& what);
// The same with the name built only when φ cannot be given.
template <class Name>
float RelativeHumidityNamed(double e, double E, const Name& name)
{
    static_assert(kIsNameFunction<Name>, "the name function returns a QString");
    if (E != 0 && isFiniteSingle(e * 100.0 / E))
        return float(e * 100.0 / E);
    return RelativeHumidity(e, E, name());
}

// The inverse lookup: the temperature at which the table reaches E (the dew point
// of air with partial pressure E). Throws AppError when E lies outside the table.
double SaturationTemperature(const SaturationTable& table, double E);

}  // namespace ogrado
