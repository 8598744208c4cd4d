#pragma once
// Numbers live as texts; this is the one place where texts and numbers meet.
// Parsing takes a decimal comma or point; writing always uses the comma.
#include <QString>
#include <optional>
#include <string_view>

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
QString generalTextSingle(float value);

// A number for a message: two decimals at most, the general form for a huge magnitude.
QString shortNumberText(double value);

// The value itself; AppError "<what> не определяется: ..." when it is not finite.
double requireFinite(double value, const QString& what);
// The value in single precision; the same error when it is not finite as a float.
float requireFiniteSingle(double value, const QString& what);

}  // namespace ogrado
