// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of the settings file on arbitrary bytes.
#include "common/text_file.h"
#include "session/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace ogrado;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        splitLines(decodeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));
    const ProgramSettings s = parseSettings(lines);
    // a directory never ends in a separator (a drive root "D:\" aside)
    for (const QString& dir : {s.progDir, s.isxDir, s.dataDir, s.tempDir})
        if (dir.size() > 1 && dir.endsWith(u'/'))
            std::abort();
    if (s.resultsDir != s.isxDir)
        std::abort();
    return 0;
}
