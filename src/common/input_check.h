// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Physical limits of the values a user types: a value outside them is refused before
// anything is calculated, with a message naming the field and the allowed range under
// the title "Ошибка в исходных данных!!".
#include "common/app_error.h"

#include <QString>

#include <optional>

namespace ogrado {

extern const char* const kInputErrorTitle;  // "Ошибка в исходных данных!!"

struct InputRange {
    double low = 0;
    bool lowIncluded = false;
    std::optional<double> high;  // included when given
    const char* unit = "";
};

// A relative humidity: 0 < фи ≤ 100 %.
constexpr InputRange kHumidityRange{0, false, 100, "%"};
// A coefficient that divides or scales: above 0.
constexpr InputRange kPositiveRange{0, false, std::nullopt, ""};
// A material value or a temperature difference: 0 or more.
constexpr InputRange kNonNegativeRange{0, true, std::nullopt, ""};
// A layer thickness: above 0, at most 10 m.
constexpr InputRange kThicknessRange{0, false, 10000, "мм"};

// "больше 0 и не более 100 %", "не меньше 0" ...
QString rangeText(const InputRange& range);

bool inRange(double value, const InputRange& range);

// Throws AppError titled kInputErrorTitle: "<what>: значение «text» недопустимо.
// Укажите значение <range>." about the input `field` when the value lies outside the range.
void requireInRange(double value, const QString& text, const QString& what, const InputRange& range,
                    const FieldRef& field = {});

}  // namespace ogrado
