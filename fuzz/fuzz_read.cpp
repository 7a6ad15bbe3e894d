// SPDX-License-Identifier: MIT
// Any bytes, read as Open reads a glyph file: no crash, every entry has the shape that the
// reader promises, and good lines before the bytes change nothing in how they read. The
// reader decodes about 64 KiB at a time, so those lines move the bytes across its blocks.
#include "files/glyphfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const glimra::GlyphFileContents alone = glimra::ReadGlyphLines(bytes);
    for (const QString &entry : alone.entries) {
        // Five two-character codes, their separators, then at most 29 name characters.
        if (entry.size() < 18 || entry.size() > 18 + 29 || entry.mid(14, 4) != u"    ")
            std::abort();
    }

    // Costly, so for one input in eight: 3,200 to 3,455 lines of 20 bytes reach past the
    // first 64 KiB of the file.
    if (size < 2 || data[0] % 8 != 0)
        return 0;
    const int goodLines = 3200 + data[1];
    const glimra::GlyphFileContents after =
        glimra::ReadGlyphLines(QByteArray("41,00,00,00,00,\"A\"\r\n").repeated(goodLines) + bytes);
    if (after.complete != alone.complete ||
        after.entries.size() != goodLines + alone.entries.size() ||
        after.entries.mid(goodLines) != alone.entries)
        std::abort();
    return 0;
}
