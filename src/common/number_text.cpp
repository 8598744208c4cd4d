// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/number_text.h"

#include "common/app_error.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace ogrado {

std::optional<double> parseNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 64)
        return std::nullopt;
    std::string s;
    s.reserve(t.size());
    int i = 0;
    const int n = t.size();
    auto ch = [&](int k) { return k < n ? t[k].unicode() : char16_t(0); };
    if (ch(i) == u'-' || ch(i) == u'+') {
        if (ch(i) == u'-')
            s += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (ch(i) >= u'0' && ch(i) <= u'9') {
        s += char(ch(i));
        ++i;
        ++mantissaDigits;
    }
    if (ch(i) == u',' || ch(i) == u'.') {
        s += '.';
        ++i;
        while (ch(i) >= u'0' && ch(i) <= u'9') {
            s += char(ch(i));
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (ch(i) == u'e' || ch(i) == u'E') {
        s += 'e';
        ++i;
        if (ch(i) == u'-' || ch(i) == u'+') {
            s += char(ch(i));
            ++i;
        }
        int expDigits = 0;
        while (ch(i) >= u'0' && ch(i) <= u'9') {
            s += char(ch(i));
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    double value = 0;
    const char* first = s.data();
    if (*first == '-')
        ++first;  // from_chars takes no plus sign; keep the minus handling uniform
    auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return s[0] == '-' ? -value : value;
}

namespace {

// Decimal digits of |value| rounded to `significant` digits: the digit string and the
// decimal exponent of its first digit.
struct Decimal {
    char digits[24];
    int count = 0;
    int exponent = 0;  // value = d.ddd x 10^exponent
    bool negative = false;
    bool zero = true;
};

Decimal toDecimal(double value, int significant)
{
    Decimal d;
    if (value == 0 || !std::isfinite(value))
        return d;
    d.negative = value < 0;
    d.zero = false;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             significant - 1);
    *res.ptr = '\0';
    const char* p = buf;
    while (*p && *p != 'e') {
        if (*p >= '0' && *p <= '9')
            d.digits[d.count++] = *p;
        ++p;
    }
    d.exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    return d;
}

struct Pattern {
    bool integerRequired = false;  // a "0" before the decimal sign
    int minDecimals = 0;
    int maxDecimals = 0;
};

Pattern parsePattern(std::string_view pattern)
{
    Pattern p;
    const auto dot = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, dot);
    p.integerRequired = intPart.find('0') != std::string_view::npos;
    if (dot != std::string_view::npos) {
        for (char c : pattern.substr(dot + 1)) {
            if (c == '0') {
                ++p.minDecimals;
                ++p.maxDecimals;
            } else if (c == '#') {
                ++p.maxDecimals;
            }
        }
    }
    return p;
}

QString formatDecimal(const Decimal& d, std::string_view patternText)
{
    const Pattern p = parsePattern(patternText);
    const int dec = p.maxDecimals;
    // kept = the value times 10^dec, rounded half away from zero, as a digit string
    std::string kept;
    if (d.zero) {
        kept = "0";
    } else {
        const int k = d.exponent + dec + 1;  // digits before the rounding place
        if (k <= 0) {
            kept = (k == 0 && d.digits[0] >= '5') ? "1" : "0";
        } else if (k >= d.count) {
            kept.assign(d.digits, d.count);
            kept.append(size_t(k - d.count), '0');
        } else {
            kept.assign(d.digits, size_t(k));
            if (d.digits[k] >= '5') {
                int i = int(kept.size()) - 1;
                while (i >= 0 && kept[i] == '9') {
                    kept[i] = '0';
                    --i;
                }
                if (i < 0)
                    kept.insert(kept.begin(), '1');
                else
                    ++kept[i];
            }
        }
    }
    if (int(kept.size()) < dec + 1)
        kept.insert(kept.begin(), size_t(dec + 1 - int(kept.size())), '0');
    std::string intPart = kept.substr(0, kept.size() - dec);
    std::string frac = kept.substr(kept.size() - dec);
    size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? std::string("0") : intPart.substr(firstNonZero);
    const bool allZero = intPart == "0" && frac.find_first_not_of('0') == std::string::npos;
    while (int(frac.size()) > p.minDecimals && frac.back() == '0')
        frac.pop_back();
    if (intPart == "0" && !p.integerRequired)
        intPart.clear();
    std::string out;
    if (d.negative && !allZero)
        out += '-';
    out += intPart;
    if (!frac.empty()) {
        out += ',';
        out += frac;
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};

// |value|·10^dec rounded half away from zero on the value's `significant`-digit decimal
// form, computed without a decimal conversion. False when the result is not certain
// in floating point (a half-way case, or more digits than significant): the caller
// then takes the exact way.
bool roundScaled(double absValue, int dec, int significant, std::uint64_t& n)
{
    if (dec > 8)
        return false;
    const double y = absValue * kPow10[dec];
    if (!(y < kPow10[significant]))
        return false;
    int digits = 0;  // digits of the integer part of y
    while (digits < significant && y >= kPow10[digits])
        ++digits;
    const double fl = std::floor(y);
    const double f = y - fl;
    const double noise = 1e-15 * y + 1e-300;
    // Equal digit counts: the decimal form is the nearest integer itself. Fewer: the
    // decimal form lies within half a unit of its last significant digit.
    const double tolerance = digits == significant ? noise : 0.5 / kPow10[significant - digits] + noise;
    if (std::fabs(f - 0.5) <= tolerance)
        return false;
    n = std::uint64_t(fl) + (f > 0.5 ? 1 : 0);
    return true;
}

QString formatFast(double value, std::string_view patternText, int significant, bool& done)
{
    const Pattern p = parsePattern(patternText);
    std::uint64_t n = 0;
    done = std::isfinite(value) && roundScaled(std::fabs(value), p.maxDecimals, significant, n);
    if (!done)
        return {};
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    // digits hold the number backwards; pad so that there is an integer digit
    while (count < p.maxDecimals + 1)
        digits[count++] = '0';
    int fracLen = p.maxDecimals;
    while (fracLen > p.minDecimals && digits[p.maxDecimals - fracLen] == '0')
        --fracLen;
    const int intLen = count - p.maxDecimals;
    bool allZero = true;
    for (int i = 0; i < count; ++i)
        allZero = allZero && digits[i] == '0';
    char16_t out[32];
    int len = 0;
    if (value < 0 && !allZero)
        out[len++] = u'-';
    const bool intZero = intLen == 1 && digits[count - 1] == '0';
    if (!(intZero && !p.integerRequired)) {
        for (int i = count - 1; i >= p.maxDecimals; --i)
            out[len++] = char16_t(digits[i]);
    }
    if (fracLen > 0) {
        out[len++] = u',';
        for (int i = p.maxDecimals - 1; i >= p.maxDecimals - fracLen; --i)
            out[len++] = char16_t(digits[i]);
    }
    return QString(reinterpret_cast<const QChar*>(out), len);
}

QString generalDecimal(double value, int significant)
{
    if (value == 0)
        return QStringLiteral("0");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, significant);
    std::string s(buf, res.ptr);
    // to_chars writes "1e-05"; the program writes "1E-05"
    for (char& c : s) {
        if (c == '.')
            c = ',';
        else if (c == 'e')
            c = 'E';
    }
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

}  // namespace

namespace {

// A value that is not a number cannot be written as digits. The calculations check
// their values where they produce them and name them; this is the last guard.
void refuseNonFinite(double value)
{
    if (!std::isfinite(value))
        throw AppError(QStringLiteral("Значение не является конечным числом (переполнение или деление на ноль): "
                                      "вычисление остановлено. Проверьте, нет ли в исходных данных слишком больших "
                                      "или слишком малых значений."));
}

// From this magnitude on a fixed pattern would write a long row of digits of which
// only the first 15 mean anything.
constexpr double kFixedLimit = 1e15;

}  // namespace

QString formatNumber(double value, std::string_view pattern)
{
    refuseNonFinite(value);
    if (std::fabs(value) >= kFixedLimit)
        return generalDecimal(value, 15);
    bool done = false;
    QString fast = formatFast(value, pattern, 15, done);
    return done ? fast : formatDecimal(toDecimal(value, 15), pattern);
}

QString formatSingle(float value, std::string_view pattern)
{
    refuseNonFinite(double(value));
    if (std::fabs(double(value)) >= kFixedLimit)
        return generalDecimal(double(value), 7);
    bool done = false;
    QString fast = formatFast(double(value), pattern, 7, done);
    return done ? fast : formatDecimal(toDecimal(double(value), 7), pattern);
}

QString formatNumberExact(double value, std::string_view pattern, int significant)
{
    refuseNonFinite(value);
    if (std::fabs(value) >= kFixedLimit)
        return generalDecimal(value, significant);
    return formatDecimal(toDecimal(value, significant), pattern);
}

QString generalText(double value)
{
    refuseNonFinite(value);
    return generalDecimal(value, 15);
}

double generalValue(double value)
{
    return parseNumber(generalText(value)).value_or(value);
}

QString generalTextSingle(float value)
{
    refuseNonFinite(double(value));
    return generalDecimal(double(value), 7);
}

QString shortNumberText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("?");
    if (std::fabs(value) >= 1e9)
        return generalDecimal(value, 6);
    return formatNumber(value, "0.##");
}

double requireFinite(double value, const QString& what)
{
    if (!std::isfinite(value))
        throw AppError(QStringLiteral("%1 не определяется: результат вычисления не является конечным числом "
                                      "(переполнение или деление на ноль). Проверьте, нет ли в исходных данных "
                                      "слишком больших или слишком малых значений.")
                           .arg(what));
    return value;
}

float requireFiniteSingle(double value, const QString& what)
{
    if (!isFiniteSingle(value))
        requireFinite(HUGE_VAL, what);
    return float(value);
}

}  // namespace ogrado
