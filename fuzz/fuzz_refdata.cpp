// SPDX-License-Identifier: GPL-3.0-or-later
// The readers of the four reference data files on arbitrary bytes: every file is read
// as each of them, and what was read is used as the program uses it. A malformed file
// may only end in AppError.
#include "common/app_error.h"
#include "common/text_file.h"
#include "engine/saturation.h"
#include "moisture/moisture_calc.h"
#include "refdata/ref_reader.h"

#include <cstddef>
#include <cstdint>

using namespace ogrado;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        splitLines(decodeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));

    try {
        RefTables t;
        readNormativeTables(lines, QStringLiteral("fuzz"), t);
        // the lookups over a table that was accepted
        for (double temp = -60; temp <= 60; temp += 0.7) {
            try {
                const double E = SaturationPressure(t.saturation, temp, QStringLiteral("t"));
                SaturationTemperature(t.saturation, E * 0.55);
                RelativeHumidity(E * 0.5, E, QStringLiteral("фи"));
            } catch (const AppError&) {
            }
        }
    } catch (const AppError&) {
    }

    try {
        const MaterialTable materials = readMaterials(lines);
        for (const Material& m : materials)
            for (int k = 0; k <= 21; ++k)
                m.field(k);
    } catch (const AppError&) {
    }

    // the first half of the lines as temperatures, the rest as humidities
    const qsizetype half = lines.size() / 2;
    try {
        const ClimateTable climate = readClimate(lines.mid(0, half), lines.mid(half));
        for (const ClimateRecord& c : climate) {
            for (int m = 1; m <= 12; ++m) {
                try {
                    climateNumber(c.monthTemperature(m), c, m, false);
                    climateNumber(c.monthHumidity(m), c, m, true);
                } catch (const AppError&) {
                }
            }
        }
    } catch (const AppError&) {
    }
    return 0;
}
