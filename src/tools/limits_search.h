// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The limits of use of an envelope over inside air conditions: for each inside
// temperature of a range, the interval of inside humidities in which the envelope
// meets п. 9.1 ТКП 45-2.04-43, and the report block of that table.
#include "common/number_text.h"
#include "refdata/ref_tables.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

namespace ogrado {

// A counted loop over decimal values: value i = first + i·step, i = 0 .. count − 1.
// The count is fixed once, so a step like 0,1 reaches the last value exactly as
// often as the user meant, without the drift of repeated addition.
struct SearchRange {
    double first = 0;
    double last = 0;
    double step = 1;
    int count = 1;
    bool landsOnLast = true;  // the last value of the loop is `last` itself

    // Value i as the lists show it (the general text of first + i·step).
    double value(int i) const { return generalValue(landsOnLast && i == count - 1 ? last : first + i * step); }
};

// Which range an entry belongs to, for the messages.
enum class RangeQuantity { InsideTemperature, InsideHumidity };

// The range of the three entry texts first, last and step. Throws AppError naming the
// entry when a text is empty or not a number, when the step is 0, or when its sign
// leads away from the last value.
SearchRange makeSearchRange(const QString& first, const QString& last, const QString& step, RangeQuantity what);

// Refuses, before the first calculation, a temperature range that reaches outside the
// saturation table (every calculation of the search looks up E at its tв): throws
// AppError "Начальное (Конечное) значение температуры внутреннего воздуха t(в) … °С
// лежит вне таблицы …" naming the entry ("Последнее значение перебора …" when the step
// does not land on the last entry). The loop's values lie between its first and its
// last one, so those two are checked.
void checkTemperaturesInTable(const SearchRange& t, const SaturationTable& sat);

// At most this many main calculations per search.
constexpr qint64 kMaxLimitsCalculations = 100000;

// Throws AppError when the two ranges together need more calculations than allowed.
void checkSearchSize(const SearchRange& t, const SearchRange& phi);

// One row of the result: t(в) and the interval of фи(в) in which the envelope
// complies. No "от": it fails at the first humidity. No "до" after an "от": it
// complies up to the last humidity of the loop, which the step does not land on.
struct LimitsRow {
    double t = 0;
    std::optional<double> from;
    std::optional<double> to;
};

// A row as the lists, the report block and the JSON show it: "--" in both columns when
// the envelope fails at the first humidity, an empty "до" when the step does not land
// on the last humidity.
struct LimitsRowText {
    QString t, from, to;
};
LimitsRowText limitsRowText(const LimitsRow& row);

// Whether the envelope complies at inside air t, фи; nullopt stops the search.
using ComplianceCheck = std::function<std::optional<bool>(double t, double phi)>;
// Called after each finished row; false stops the search.
using RowDone = std::function<bool(const LimitsRow& row)>;

// Runs the search: for each temperature the humidities in order, the interval opens
// at the first complying humidity and closes at the humidity before the first one
// that fails after it; a failing first humidity gives "--". Returns true when every
// row was searched; an unfinished row is not reported.
bool SearchLimits(const SearchRange& t, const SearchRange& phi, const ComplianceCheck& complies,
                  const RowDone& rowDone);

// The block "Добавить к результатам расчетов" appends to the report: an empty line,
// the heading, the column line and one line per row.
QStringList limitsReportLines(const QVector<LimitsRow>& rows);

}  // namespace ogrado
