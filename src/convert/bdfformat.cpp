// SPDX-License-Identifier: MIT
// Glyph lists written as BDF fonts of 5 x 7 cells. The font's properties keep the list's
// order and names, so that reading it back gives the same list.
#include "convert/fontrecord.h"
#include "convert/formats.h"

#include <charconv>
#include <QSet>

namespace glimra::convert {

namespace {

constexpr char32_t FirstPrivateUse = 0xE000;
constexpr char32_t LastCodePoint = 0x10FFFF;

/// Gathers the list, for the font's head holds its count, and writes it at the end.
class BdfWriter : public GlyphWriter
{
public:
    explicit BdfWriter(const Options &options) : m_family(options.name) {}

    bool write(const Glyph &glyph, const PutPiece &) override
    {
        // Kept as bytes, not as glyphs: a million names would each be an allocation.
        m_codes.push_back(glyph.codes);
        m_names += RecordName(glyph.name);
        m_nameEnds.push_back(m_names.size());
        const QString &name = glyph.name;
        m_characters.push_back(name.size() == 1 ? name[0].unicode()
                               : name.size() == 2 && name[0].isHighSurrogate() &&
                                       name[1].isLowSurrogate()
                                   ? QChar::surrogateToUcs4(name[0], name[1])
                                   : 0);
        return true;
    }

    bool finish(const PutPiece &put) override
    {
        const std::optional<std::vector<char32_t>> codes = codePoints();
        if (!codes)
            return false;
        const qsizetype count = qsizetype(m_codes.size());
        QList<QByteArray> record(1);
        for (qsizetype i = 0; i < count; ++i) {
            const qsizetype start = i ? m_nameEnds[std::size_t(i) - 1] : 0;
            const QByteArray entry = RecordEntry(
                codes->at(std::size_t(i)),
                QByteArrayView(m_names).sliced(start, m_nameEnds[std::size_t(i)] - start));
            if (!record.last().isEmpty() &&
                record.last().size() + 1 + entry.size() > LongestRecordValue)
                record.append(QByteArray());
            record.last() += (record.last().isEmpty() ? "" : " ") + entry;
        }
        QByteArray block = QStringLiteral(R"(STARTFONT 2.1
COMMENT Glyphs of 5 x 7 dots, written by glimra-convert.
FONT -glimra-%1-medium-r-normal--7-70-75-75-c-60-iso10646-1
SIZE 7 75 75
FONTBOUNDINGBOX 5 7 0 0
STARTPROPERTIES %2
FOUNDRY "glimra"
FAMILY_NAME "%1"
WEIGHT_NAME "Medium"
SLANT "R"
SETWIDTH_NAME "Normal"
PIXEL_SIZE 7
POINT_SIZE 70
RESOLUTION_X 75
RESOLUTION_Y 75
SPACING "C"
AVERAGE_WIDTH 60
CHARSET_REGISTRY "ISO10646"
CHARSET_ENCODING "1"
FONT_ASCENT 7
FONT_DESCENT 0
%3 %4
)")
                               .arg(m_family)
                               .arg(record.size() + 16)
                               .arg(QLatin1StringView(RecordCountProperty))
                               .arg(count)
                               .toLatin1();
        for (qsizetype part = 0; part < record.size(); ++part)
            block += RecordProperty(part) + " \"" + record[part] + "\"\n";
        block += "ENDPROPERTIES\nCHARS " + QByteArray::number(count) + '\n';
        // Made in a buffer of its own, a glyph at a time: a million glyphs must cost little
        // more than their bytes.
        constexpr char Digits[] = "0123456789ABCDEF";
        for (qsizetype i = 0; i < count; ++i) {
            const std::array<quint8, ColumnCount> &columns = m_codes[std::size_t(i)];
            const char32_t code = codes->at(std::size_t(i));
            char hex[9];
            int digits = 0;
            for (int shift = 20; shift >= 0; shift -= 4)
                if (shift < 16 || code >> shift)
                    hex[digits++] = Digits[code >> shift & 15];
            block.append("STARTCHAR U+").append(hex, digits).append("\nENCODING ");
            char decimal[12];
            const auto end = std::to_chars(decimal, decimal + sizeof decimal, quint32(code)).ptr;
            block.append(decimal, end - decimal)
                .append("\nSWIDTH 823 0\nDWIDTH 6 0\nBBX 5 7 0 0\nBITMAP\n");
            for (int row = 0; row < RowCount; ++row) {
                int bits = 0;
                for (int column = 0; column < ColumnCount; ++column)
                    if (columns[column] >> row & 1)
                        bits |= 0x80 >> column;
                const char line[] = {Digits[bits >> 4], Digits[bits & 15], '\n'};
                block.append(line, 3);
            }
            block += "ENDCHAR\n";
            if (block.size() > 64 * 1024) {
                if (!put(block))
                    return false;
                block.resize(0);
            }
        }
        return put(block + "ENDFONT\n");
    }

private:
    /// A glyph named by one character takes that character's code point, unless an earlier
    /// one took it; the others take the free ones from U+E000 up, in list order. Empty when
    /// there are more glyphs than code points.
    std::optional<std::vector<char32_t>> codePoints() const
    {
        std::vector<char32_t> codes(m_characters.size(), 0);
        QSet<char32_t> taken;
        for (std::size_t i = 0; i < m_characters.size(); ++i) {
            const char32_t character = m_characters[i];
            if (character != 0 && !taken.contains(character)) {
                codes[i] = character;
                taken.insert(character);
            }
        }
        char32_t next = FirstPrivateUse;
        for (char32_t &code : codes) {
            if (code != 0)
                continue;
            while (taken.contains(next))
                ++next;
            if (next > LastCodePoint)
                return {};
            code = next++;
        }
        return codes;
    }

    QString m_family;
    std::vector<std::array<quint8, ColumnCount>> m_codes;
    QByteArray m_names;                 // each as the record holds it, one after another
    std::vector<qsizetype> m_nameEnds;  // where each name ends in m_names
    std::vector<char32_t> m_characters; // a name's one character, or 0
};

} // namespace

std::unique_ptr<GlyphWriter> MakeBdfWriter(const Options &options)
{
    return std::make_unique<BdfWriter>(options);
}

} // namespace glimra::convert
