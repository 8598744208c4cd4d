// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of the layer-stack library on arbitrary bytes. A library that was read
// and can be written must read back the same from its own lines.
#include "common/app_error.h"
#include "common/text_file.h"
#include "library/layer_stack_library.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace ogrado;

namespace {

bool same(const LayerStackLibrary& a, const LayerStackLibrary& b)
{
    if (a.stackCount() != b.stackCount())
        return false;
    for (int k = 0; k < a.stackCount(); ++k) {
        const LayerStack& x = a.stacks[k];
        const LayerStack& y = b.stacks[k];
        if (x.name != y.name || x.description != y.description || x.layers != y.layers)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        splitLines(decodeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));
    LayerStackLibrary library;
    try {
        library = parseLibraryLines(lines, QStringLiteral("fuzz"));
    } catch (const AppError&) {
        return 0;
    }
    for (int k = 1; k <= library.stackCount(); ++k)
        library.find(library.stack(k).name);
    // What the file would hold, through the code page, read again. The writer refuses
    // a text that Windows-1251 cannot hold (a UTF-8 file may bring one) and bytes that
    // would be read back as UTF-8: no file is written then.
    QString text;
    for (const QString& line : libraryFileLines(library))
        text += line + QStringLiteral("\r\n");
    if (!firstOutsideCp1251(text).isEmpty())
        return 0;
    const QString reread = decodeText(encodeCp1251(text));
    if (reread != text)
        return 0;
    const QStringList written = splitLines(reread);
    try {
        if (!same(library, parseLibraryLines(written, QStringLiteral("fuzz"))))
            std::abort();  // a stack does not come back as it was read
    } catch (const AppError&) {
        std::abort();
    }
    return 0;
}
