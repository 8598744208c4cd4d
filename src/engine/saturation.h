#pragma once
// Maximum (saturation) partial pressure of water vapour after appendix Е of
// ТКП 45-2.04-43 and the two air-moisture relations built on it.
#include "refdata/ref_tables.h"

namespace ogrado {

// E(t), Па, by linear interpolation in the table: the first row whose temperature is
// greater than t and the row before it. A temperature equal to the last row's gives
// that row's E. Throws AppError "<what> <t> °С лежит вне таблицы ..." with the table's
// range when t lies outside; `what` names the temperature ("Температура внутреннего
// воздуха t(в)", "Граница слоев 2-3: температура").
double SaturationPressure(const SaturationTable& table, double t, const QString& what);

// e = E·(phi·0.01): the actual partial pressure for the relative humidity phi, %
// (formulas (9.2) and (9.4)).
inline double PartialPressure(double phi, double E) { return E * (phi * 0.01); }

// φ = e·100/E, %, in single precision. Throws AppError naming `what` when E is 0 or φ
// is not finite in single precision.
float RelativeHumidity(double e, double E, const QString& what);

// The inverse lookup: the temperature at which the table reaches E (the dew point
// of air with partial pressure E). Throws AppError when E lies outside the table.
double SaturationTemperature(const SaturationTable& table, double E);

}  // namespace ogrado
