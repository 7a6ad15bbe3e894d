// SPDX-License-Identifier: MIT
// Glyphs written as a C header and as a Python module.
#include "convert/formats.h"

#include "convert/naming.h"
#include "convert/sourcearray.h"

namespace glimra::convert {

namespace {

QString layoutWords(Layout layout)
{
    return layout == Layout::Columns
               ? u"5 bytes a glyph, one a column from the left, the top row bit 0"_qs
               : u"8 bytes a glyph, one a row from the top, the left column bit 4"_qs;
}

QList<quint8> bytesOf(const Glyph &glyph, Layout layout)
{
    if (layout == Layout::Columns)
        return {glyph.codes.begin(), glyph.codes.end()};
    const std::array<quint8, 8> rows = RowsOf(glyph);
    return {rows.begin(), rows.end()};
}

/// A header that compiles as C and as C++, with the glyphs in flash memory on AVR. The
/// count is left to the compiler, so that the glyphs can be written as they come.
class CWriter : public GlyphWriter
{
public:
    explicit CWriter(const Options &options)
        : m_layout(options.layout), m_name(options.name),
          m_macro(u"GLIMRA_"_qs + options.name.toUpper())
    {
    }

    bool write(const Glyph &glyph, const PutPiece &put) override
    {
        QString line;
        if (!std::exchange(m_started, true))
            line = uR"(/* %1: glyphs of 5 x 7 dots, %2.
   Written by glimra-convert. */
#ifndef %3_H
#define %3_H

#ifdef __AVR__
#include <avr/pgmspace.h>
#define %3_MEMORY PROGMEM
#else
#define %3_MEMORY
#endif

static const unsigned char %1[][%4] %3_MEMORY = {
)"_qs.arg(m_name, layoutWords(m_layout), m_macro)
                       .arg(BytesPerGlyph(m_layout));
        line += u"    {"_qs;
        const QList<quint8> bytes = bytesOf(glyph, m_layout);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            line += (i ? u", 0x"_qs : u"0x"_qs) +
                    QString::number(bytes[i], 16).toUpper().rightJustified(2, u'0');
        line += u"}, /* "_qs + CStringLiteral(glyph.name) + u" */\n"_qs;
        return put(line.toUtf8());
    }

    bool finish(const PutPiece &put) override
    {
        return put(uR"(};

#define %1_COUNT (sizeof %2 / sizeof %2[0])

#endif
)"_qs.arg(m_macro, m_name)
                       .toUtf8());
    }

private:
    Layout m_layout;
    QString m_name;
    QString m_macro;
    bool m_started = false;
};

QString pythonString(QStringView text)
{
    QString literal = u"\""_qs;
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            literal += u'\\';
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            literal += u"\\x"_qs + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            literal += c;
    }
    return literal + u'"';
}

/// A module with one list of pairs: a name and the glyph's bytes.
class PythonWriter : public GlyphWriter
{
public:
    explicit PythonWriter(const Options &options) : m_layout(options.layout), m_name(options.name)
    {
    }

    bool write(const Glyph &glyph, const PutPiece &put) override
    {
        QString line;
        if (!std::exchange(m_started, true))
            line =
                u"# %1: glyphs of 5 x 7 dots, %2.\n# Written by glimra-convert.\n%1 = [\n"_qs.arg(
                    m_name, layoutWords(m_layout));
        line += u"    ("_qs + pythonString(glyph.name) + u", b\""_qs;
        for (const quint8 byte : bytesOf(glyph, m_layout))
            line += u"\\x"_qs + QString::number(byte, 16).rightJustified(2, u'0');
        line += u"\"),\n"_qs;
        return put(line.toUtf8());
    }

    bool finish(const PutPiece &put) override { return put("]\n"); }

private:
    Layout m_layout;
    QString m_name;
    bool m_started = false;
};

} // namespace

std::unique_ptr<GlyphWriter> MakeCWriter(const Options &options)
{
    return std::make_unique<CWriter>(options);
}

std::unique_ptr<GlyphWriter> MakePythonWriter(const Options &options)
{
    return std::make_unique<PythonWriter>(options);
}

} // namespace glimra::convert
