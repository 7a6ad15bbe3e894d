// SPDX-License-Identifier: MIT
// Any bytes, read as Open reads a glyph file: no crash, and every entry has the shape that
// the reader promises.
#include "files/glyphfile.h"

#include <cstdlib>
#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const glimra::GlyphFileContents contents = glimra::ReadGlyphLines(device);
    for (const QString &entry : contents.entries) {
        // Five two-character codes, their separators, then at most 29 name characters.
        if (entry.size() < 18 || entry.size() > 18 + 29 || entry.mid(14, 4) != u"    ")
            std::abort();
    }
    return 0;
}
