// SPDX-License-Identifier: GPL-3.0-or-later
// The number texts: the parser on arbitrary text, and the formatters' quick way
// against the full decimal conversion on arbitrary doubles and floats. A value that is
// not finite is refused by both ways.
#include "common/app_error.h"
#include "common/number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace ogrado;

namespace {

constexpr std::string_view kPatterns[] = {"0.00", "0.000", "0.0", "0.0#", "0.0##", "0.0###", "0.0####",
                                          "#.0#", "#.0",   "#",   "0",    "0.##",  "0.00000000"};

template <typename F>
bool throws(F f)
{
    try {
        f();
    } catch (const AppError&) {
        return true;
    }
    return false;
}

void compare(double v)
{
    for (std::string_view p : kPatterns) {
        if (!std::isfinite(v)) {
            if (!throws([&] { formatNumber(v, p); }) || !throws([&] { formatNumberExact(v, p, 15); }))
                std::abort();
            continue;
        }
        if (formatNumber(v, p) != formatNumberExact(v, p, 15))
            std::abort();
        const float f = std::fabs(v) <= 3.4e38 ? float(v) : 0.0f;
        if (formatSingle(f, p) != formatNumberExact(double(f), p, 7))
            std::abort();
    }
    if (std::isfinite(v)) {
        // the general form reads back to the value it stands for (away from the ends of
        // the double range, where 15 digits round beyond it or into subnormals)
        const double m = std::fabs(v);
        if (m == 0 || (m > 1e-300 && m < 1e300)) {
            const std::optional<double> back = parseNumber(generalText(v));
            if (!back || std::fabs(*back - v) > m * 1e-14)
                std::abort();
        }
        shortNumberText(v);
    } else if (!throws([&] { generalText(v); })) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // the text itself
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<double> v = parseNumber(text)) {
        if (!std::isfinite(*v))
            std::abort();
        compare(*v);
    }
    // the bytes as a double
    if (size >= sizeof(double)) {
        double v = 0;
        std::memcpy(&v, data, sizeof v);
        compare(v);
    }
    return 0;
}
