// SPDX-License-Identifier: MIT
// Every entry read from any bytes is written and read again unchanged, and the written
// file reads back whole: Open then Save never alters or loses a glyph that was read. The
// list, which keeps the lines as they were read, saves exactly those bytes too.
#include "files/entrylines.h"
#include "files/glyphfile.h"

#include <cstdlib>
#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const glimra::GlyphFileContents first = glimra::ReadGlyphLines(bytes);
    const std::optional<QList<QByteArray>> lines = glimra::EncodeGlyphLines(first.entries);
    if (!lines)
        std::abort(); // a glyph that was read could not be saved
    const glimra::GlyphFileContents second = glimra::ReadGlyphLines(lines->join());
    if (second.entries != first.entries || !second.complete)
        std::abort();

    glimra::EntryLines kept;
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    glimra::StreamFileLines(device, [&](const glimra::CheckedFileLines &read) {
        kept.appendFileLines(read);
        return true;
    });
    if (kept.size() != first.entries.size() || kept.fileLines().value().join() != lines->join())
        std::abort();
    return 0;
}
