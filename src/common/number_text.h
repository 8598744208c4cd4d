// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers live as texts; this is the one place where texts and numbers meet.
// Parsing takes a decimal comma or point; writing always uses the comma.
#include <QString>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

namespace ogrado {

// The number a text stands for: surrounding blanks ignored, comma or point as the
// decimal sign, an optional exponent. Anything else (also an empty text) is not a number.
std::optional<double> parseNumber(const QString& text);

// Formats by a pattern of "0" (digit always shown), "#" (digit shown when significant)
// and "." (decimal sign), e.g. "0.00", "0.0##", "#.0#", "#". Rounds half away from zero
// on the value's 15-digit decimal form (7 digits for single precision). A magnitude of
// 1E+15 and more is written in the general form. Every formatter throws AppError for a
// value that is not finite: NaN or an infinity never becomes a digit string.
QString formatNumber(double value, std::string_view pattern);
QString formatSingle(float value, std::string_view pattern);

// The same by way of the full decimal conversion, for checking the quick way.
QString formatNumberExact(double value, std::string_view pattern, int significant);

// General form: up to 15 significant digits (7 for single), no trailing zeros,
// an exponent below 1E-04 and from 1E+15.
QString generalText(double value);
// The number the general text of a value names: a value stepped in binary (3·0,1 =
// 0,30000000000000004) becomes the decimal its text shows (0,3).
double generalValue(double value);
QString generalTextSingle(float value);

// A number for a message: two decimals at most, the general form for a huge magnitude.
QString shortNumberText(double value);

// The value itself; AppError "<what> не определяется: ..." when it is not finite.
double requireFinite(double value, const QString& what);
// The value in single precision; the same error when it is not finite as a float.
float requireFiniteSingle(double value, const QString& what);

// Whether requireFiniteSingle accepts the value.
inline bool isFiniteSingle(double value)
{
    return std::fabs(value) <= double(std::numeric_limits<float>::max());
}

// The same checks with the name of the quantity built only when the value fails: the
// loops over points and boundaries check every value of every run, the name is needed
// for the message alone. `name` is a function returning the QString (declared
// `-> QString`: a concatenation returned as it is would be a string builder that
// refers to temporaries already gone).
template <class Name>
constexpr bool kIsNameFunction = std::is_same_v<std::invoke_result_t<const Name&>, QString>;

template <class Name>
double requireFiniteNamed(double value, const Name& name)
{
    static_assert(kIsNameFunction<Name>, "the name function returns a QString");
    return std::isfinite(value) ? value : requireFinite(value, name());
}
template <class Name>
float requireFiniteSingleNamed(double value, const Name& name)
{
    static_assert(kIsNameFunction<Name>, "the name function returns a QString");
    return isFiniteSingle(value) ? float(value) : requireFiniteSingle(value, name());
}

}  // namespace ogrado
