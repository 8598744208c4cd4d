// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/input_check.h"

#include "common/app_error.h"
#include "common/number_text.h"

namespace ogrado {

const char* const kInputErrorTitle = "Ошибка в исходных данных!!";

QString rangeText(const InputRange& range)
{
    QString text = (range.lowIncluded ? QStringLiteral("не меньше ") : QStringLiteral("больше ")) +
                   generalText(range.low);
    if (range.high)
        text += QStringLiteral(" и не более ") + generalText(*range.high);
    if (*range.unit)
        text += u' ' + QString::fromUtf8(range.unit);
    return text;
}

bool inRange(double value, const InputRange& range)
{
    const bool aboveLow = range.lowIncluded ? value >= range.low : value > range.low;
    return aboveLow && (!range.high || value <= *range.high);
}

void requireInRange(double value, const QString& text, const QString& what, const InputRange& range,
                    const FieldRef& field)
{
    if (!inRange(value, range))
        throw AppError(QStringLiteral("%1: значение «%2» недопустимо. Укажите значение %3.")
                           .arg(what, text.trimmed(), rangeText(range)),
                       QString::fromUtf8(kInputErrorTitle), field);
}

}  // namespace ogrado
