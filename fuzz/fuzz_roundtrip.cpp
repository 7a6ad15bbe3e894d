// SPDX-License-Identifier: MIT
// Every entry read from any bytes is written and read again unchanged, and the written
// file reads back whole: Open then Save never alters or loses a glyph that was read.
#include "files/glyphfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const glimra::GlyphFileContents first =
        glimra::ReadGlyphLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const std::optional<QList<QByteArray>> lines = glimra::EncodeGlyphLines(first.entries);
    if (!lines)
        std::abort(); // a glyph that was read could not be saved
    const glimra::GlyphFileContents second = glimra::ReadGlyphLines(lines->join());
    if (second.entries != first.entries || !second.complete)
        std::abort();
    return 0;
}
