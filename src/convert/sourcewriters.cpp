// SPDX-License-Identifier: MIT
// Glyphs written as a C header and as a Python module, a line a glyph, made in bytes: a
// million glyphs must cost little more than their bytes.
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

/// The glyph's bytes in `layout`: the first `BytesPerGlyph(layout)` of them.
std::array<quint8, 8> bytesOf(const Glyph &glyph, Layout layout)
{
    if (layout == Layout::Rows)
        return RowsOf(glyph);
    std::array<quint8, 8> bytes{};
    std::copy(glyph.codes.begin(), glyph.codes.end(), bytes.begin());
    return bytes;
}

constexpr char UpperDigits[] = "0123456789ABCDEF";
constexpr char LowerDigits[] = "0123456789abcdef";

void appendHex(QByteArray &out, quint8 byte, const char *digits)
{
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

/// `utf8` as a Python string literal that gives it back exactly.
void appendPythonString(QByteArray &out, QByteArrayView utf8)
{
    out += '"';
    for (const char c : utf8) {
        const auto byte = quint8(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            appendHex(out, byte, LowerDigits);
        } else {
            out += c;
        }
    }
    out += '"';
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
        m_line.resize(0);
        if (!std::exchange(m_started, true))
            m_line = uR"(/* %1: glyphs of 5 x 7 dots, %2.
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
                         .arg(BytesPerGlyph(m_layout))
                         .toUtf8();
        m_line += "    {";
        const std::array<quint8, 8> bytes = bytesOf(glyph, m_layout);
        for (int i = 0; i < BytesPerGlyph(m_layout); ++i) {
            m_line += i ? ", 0x" : "0x";
            appendHex(m_line, bytes[std::size_t(i)], UpperDigits);
        }
        m_line += "}, /* ";
        AppendCStringLiteral(m_line, glyph.name.toUtf8());
        m_line += " */\n";
        return put(m_line);
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
    QByteArray m_line;
};

/// A module with one list of pairs: a name and the glyph's bytes.
class PythonWriter : public GlyphWriter
{
public:
    explicit PythonWriter(const Options &options) : m_layout(options.layout), m_name(options.name)
    {
    }

    bool write(const Glyph &glyph, const PutPiece &put) override
    {
        m_line.resize(0);
        if (!std::exchange(m_started, true))
            m_line = u"# %1: glyphs of 5 x 7 dots, %2.\n# Written by glimra-convert.\n%1 = [\n"_qs
                         .arg(m_name, layoutWords(m_layout))
                         .toUtf8();
        m_line += "    (";
        appendPythonString(m_line, glyph.name.toUtf8());
        m_line += ", b\"";
        const std::array<quint8, 8> bytes = bytesOf(glyph, m_layout);
        for (int i = 0; i < BytesPerGlyph(m_layout); ++i) {
            m_line += "\\x";
            appendHex(m_line, bytes[std::size_t(i)], LowerDigits);
        }
        m_line += "\"),\n";
        return put(m_line);
    }

    bool finish(const PutPiece &put) override { return put("]\n"); }

private:
    Layout m_layout;
    QString m_name;
    bool m_started = false;
    QByteArray m_line;
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
