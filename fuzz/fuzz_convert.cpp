// SPDX-License-Identifier: MIT
// Any bytes, read by the converter's readers of glyph files, C and Python sources, fonts and
// PNG sheets, the first byte choosing the reader and its options: no crash; every glyph fits
// 5 x 7 dots, and one from another format than a glyph file has a name that such a file
// holds; and a whole read, written in that same format and read again, gives the same glyphs.
#include "convert/formats.h"
#include "files/fileline.h"

#include <cstdlib>
#include <QBuffer>

namespace {

using namespace glimra::convert;

QList<Glyph> readGlyphs(Format format, QByteArray bytes, const Options &options, bool &whole)
{
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    QList<Glyph> glyphs;
    whole = MakeReader(format, options)->read(input, [&](Glyph &&glyph) {
        glyphs << glyph;
        return true;
    });
    return glyphs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const Format formats[] = {Format::Glm, Format::C, Format::Python, Format::Bdf, Format::Png};
    const Format format = formats[data[0] % 5];
    Options options;
    options.layout = data[0] & 4 ? Layout::Rows : Layout::Columns;
    options.crop = data[0] & 8;
    if (data[0] & 16)
        options.cell = QSize(5 + data[0] % 7, 7 + data[0] % 5); // another program's picture
    options.name = QStringLiteral("fuzzed");
    bool whole = false;
    const QList<Glyph> glyphs = readGlyphs(
        format, QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1)), options,
        whole);
    for (const Glyph &glyph : glyphs) {
        for (const quint8 code : glyph.codes)
            if (code > 0x7F)
                std::abort();
        // A glyph file's names come as they stand; the others are made as a pasted line's.
        if (format != Format::Glm && (glyph.name.isEmpty() || !glimra::NameHolds(glyph.name)))
            std::abort();
    }
    // Writing a sheet takes fonts, and so a window system: its reading is enough here.
    if (!whole || glyphs.isEmpty() || format == Format::Png)
        return 0;
    QByteArray written;
    const auto put = [&](QByteArrayView piece) {
        written += piece;
        return true;
    };
    const std::unique_ptr<GlyphWriter> writer = MakeWriter(format, options);
    for (const Glyph &glyph : glyphs)
        writer->write(glyph, put);
    writer->finish(put);
    options.crop = false;
    if (readGlyphs(format, written, options, whole) != glyphs || !whole)
        std::abort();
    return 0;
}
