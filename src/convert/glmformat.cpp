// SPDX-License-Identifier: MIT
// Glyph files, read and written as the editor does.
#include "convert/formats.h"

#include "convert/naming.h"

#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/linereader.h"
#include "glyph/columncode.h"
#include "list/listentry.h"

namespace glimra::convert {

namespace {

constexpr qsizetype NameStart = 16; // where a glyph file line's name starts, after its quote

/// Refuses every line that the editor's Open would stop at, or would read only in part,
/// so that what goes on holds all that the file does.
class GlmReader : public GlyphReader
{
public:
    explicit GlmReader(const Options &options) : m_options(options) {}

    bool read(QIODevice &input, const TakeGlyph &take) override
    {
        LineReader lines(input);
        QByteArray bytes;
        QString line;
        qint64 number = 0;
        qint64 glyphs = 0;
        qint64 emptyLine = 0; // the first empty line: nothing may follow it
        for (;;) {
            bytes.resize(0);
            const LineReader::Result result = lines.next(bytes);
            if (result == LineReader::Result::End)
                return true;
            ++number;
            if (result == LineReader::Result::Error)
                return refuse(number, glyphs, u"could not be read"_qs);
            if (result == LineReader::Result::TooLong)
                return refuse(number, glyphs, u"the line is too long to be a glyph's"_qs);
            if (!cp932::decode(bytes, line))
                return refuse(number, glyphs, u"the line is not Shift JIS (code page 932)"_qs);
            if (line.isEmpty()) {
                emptyLine = emptyLine ? emptyLine : number;
                continue;
            }
            if (emptyLine)
                return refuse(emptyLine, glyphs,
                              u"an empty line, where the editor stops reading"_qs);
            if (!FileLineHoldsEntry(line.size()))
                return refuse(number, glyphs,
                              u"the line is shorter than 17 characters, where the editor "
                              "stops reading"_qs);
            if (FileLineRunsPastName(line.size()))
                return refuse(number, glyphs,
                              u"the name runs past the 30th character of the line"_qs);
            // As the editor reads a line, by position, without copying the parts.
            const CodeViews codes = codesAtFixedPositions(line);
            Glyph glyph;
            for (int column = 0; column < ColumnCount; ++column) {
                const QStringView code = codes[column];
                if (code.size() != 2 || !isHexCodeCharacter(code[0]) ||
                    !isHexCodeCharacter(code[1]))
                    return refuse(number, glyphs,
                                  u"'%1' is not a code of two hexadecimal digits"_qs.arg(code));
                const auto digit = [](QChar c) {
                    return uint(c.isDigit() ? c.digitValue() : c.toLower().unicode() - u'a' + 10);
                };
                const uint value = digit(code[0]) * 16 + digit(code[1]);
                if (const auto why =
                        TakeByte(glyph, Layout::Columns, column, value, m_options.crop))
                    return refuse(number, glyphs, *why);
            }
            glyph.name = QStringView(line).sliced(NameStart).chopped(1).toString();
            ++glyphs;
            if (!take(std::move(glyph)))
                return false;
        }
    }

private:
    const Options &m_options;
};

/// Writes the lines that the editor's Save writes (`FormatFileLine`, in code page 932), made
/// in bytes: the codes and the separators are ASCII, which code page 932 keeps as it is.
class GlmWriter : public GlyphWriter
{
public:
    bool write(const Glyph &glyph, const PutPiece &put) override
    {
        constexpr char Digits[] = "0123456789ABCDEF";
        m_line.resize(0);
        for (const quint8 code : glyph.codes) {
            m_line += Digits[code >> 4];
            m_line += Digits[code & 15];
            m_line += ',';
        }
        const std::optional<QByteArray> name = cp932::encode(glyph.name);
        if (!name)
            return false;
        m_line += '"' + *name + "\"\r\n";
        return put(m_line);
    }
    bool finish(const PutPiece &) override { return true; }

private:
    QByteArray m_line;
};

} // namespace

std::unique_ptr<GlyphReader> MakeGlmReader(const Options &options)
{
    return std::make_unique<GlmReader>(options);
}

std::unique_ptr<GlyphWriter> MakeGlmWriter()
{
    return std::make_unique<GlmWriter>();
}

} // namespace glimra::convert
