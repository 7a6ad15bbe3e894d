// SPDX-License-Identifier: MIT
// Bitmap fonts (BDF, PCF and gzipped PCF) read through FreeType.
#include "convert/fontrecord.h"
#include "convert/formats.h"
#include "convert/naming.h"
#include "files/fileline.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H

#include <QIODevice>

namespace glimra::convert {

namespace {

QString codePointName(char32_t code)
{
    return u"U+"_qs + QString::number(code, 16).toUpper().rightJustified(4, u'0');
}

/// The entries of a font written here come in the list's order with their names; those of
/// any other come in code point order, named by their characters.
class FontReader : public GlyphReader
{
public:
    explicit FontReader(const Options &options) : m_options(options) {}

    ~FontReader() override
    {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }

    bool read(QIODevice &input, const TakeGlyph &take) override
    {
        m_bytes = input.readAll();
        if (FT_Init_FreeType(&m_library) != 0)
            return refuse(-1, -1, u"FreeType could not start"_qs);
        if (FT_New_Memory_Face(m_library, reinterpret_cast<const FT_Byte *>(m_bytes.constData()),
                               FT_Long(m_bytes.size()), 0, &m_face) != 0)
            return refuse(-1, -1, u"not a font that FreeType reads"_qs);
        if (m_face->num_fixed_sizes < 1 || FT_Select_Size(m_face, 0) != 0)
            return refuse(-1, -1, u"a font without bitmaps"_qs);
        m_ascent = int(m_face->size->metrics.ascender >> 6);
        m_take = &take;
        // BDF gives an unknown property as text, PCF as a number.
        BDF_PropertyRec property;
        std::optional<qint64> count;
        if (FT_Get_BDF_Property(m_face, RecordCountProperty, &property) == 0) {
            bool number = property.type != BDF_PROPERTY_TYPE_ATOM;
            count = number ? qint64(property.u.integer)
                           : QByteArray(property.u.atom ? property.u.atom : "").toLongLong(&number);
            if (!number || *count < 0)
                count.reset();
        }
        if (count && FT_Select_Charmap(m_face, FT_ENCODING_UNICODE) == 0)
            return readRecorded(*count);
        return readAll();
    }

private:
    bool readRecorded(qint64 count)
    {
        qint64 place = 0;
        for (qsizetype part = 0; place < count; ++part) {
            BDF_PropertyRec property;
            const QByteArray key = RecordProperty(part);
            std::optional<QList<RecordedGlyph>> glyphs;
            if (FT_Get_BDF_Property(m_face, key.constData(), &property) == 0 &&
                property.type == BDF_PROPERTY_TYPE_ATOM && property.u.atom)
                glyphs = ParseRecordValue(property.u.atom);
            if (!glyphs || glyphs->isEmpty())
                return refuse(-1, place, u"the font's record of its list is broken"_qs);
            for (const RecordedGlyph &glyph : *glyphs) {
                const FT_UInt index = FT_Get_Char_Index(m_face, glyph.code);
                if (index == 0 || place == count)
                    return refuse(-1, place, u"the font's record of its list is broken"_qs);
                if (!takeGlyph(index, place++, glyph.name, codePointName(glyph.code)))
                    return false;
            }
        }
        return true;
    }

    bool readAll()
    {
        const bool unicode = FT_Select_Charmap(m_face, FT_ENCODING_UNICODE) == 0;
        if (!unicode && m_face->num_charmaps > 0)
            FT_Set_Charmap(m_face, m_face->charmaps[0]);
        std::vector<bool> reached(std::size_t(qMax<FT_Long>(m_face->num_glyphs, 0)), false);
        qint64 place = 0;
        if (m_face->charmap) {
            FT_UInt index = 0;
            for (FT_ULong code = FT_Get_First_Char(m_face, &index); index != 0;
                 code = FT_Get_Next_Char(m_face, code, &index)) {
                if (index < reached.size())
                    reached[index] = true;
                const QString character =
                    unicode ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1)
                            : QString();
                const QString name =
                    unicode ? (NameHolds(character) ? character : codePointName(char32_t(code)))
                            : QString();
                if (!takeGlyph(index, place, name, codePointName(char32_t(code))))
                    return false;
                ++place;
            }
        }
        // FreeType's own glyph 0 stands for the font's default character.
        const auto uncoded =
            std::count(reached.begin() + qMin<qsizetype>(1, reached.size()), reached.end(), false);
        if (uncoded > 0)
            addWarning(u"%1 glyphs have no code and were left out"_qs.arg(uncoded));
        return true;
    }

    bool takeGlyph(FT_UInt index, qint64 place, const QString &name, const QString &what)
    {
        if (FT_Load_Glyph(m_face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            return refuse(-1, place, u"FreeType cannot draw %1"_qs.arg(what));
        const FT_GlyphSlot slot = m_face->glyph;
        const FT_Bitmap &bitmap = slot->bitmap;
        Glyph glyph;
        int columns = 0, rows = 0, left = 0, top = 0;
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            const unsigned char *line = bitmap.buffer + qptrdiff(y) * bitmap.pitch;
            for (unsigned x = 0; x < bitmap.width; ++x) {
                const bool lit = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                     ? line[x / 8] & (0x80 >> (x % 8))
                                     : line[x] >= 0x80;
                if (!lit)
                    continue;
                const int column = slot->bitmap_left + int(x);
                const int row = m_ascent - slot->bitmap_top + int(y);
                columns = qMax(columns, column + 1);
                rows = qMax(rows, row + 1);
                left = qMin(left, column);
                top = qMin(top, row);
                if (column >= 0 && column < ColumnCount && row >= 0 && row < RowCount)
                    glyph.codes[column] |= quint8(1 << row);
            }
        }
        if ((columns > ColumnCount || rows > RowCount || left < 0 || top < 0) && !m_options.crop)
            return refuse(-1, place,
                          u"%1 is %2 x %3 dots; --crop keeps the top-left 5 x 7"_qs.arg(what)
                              .arg(columns - left)
                              .arg(rows - top));
        glyph.name = GlyphName(name, place);
        return (*m_take)(std::move(glyph));
    }

    const Options &m_options;
    QByteArray m_bytes;
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
    int m_ascent = 0;
    const TakeGlyph *m_take = nullptr;
};

} // namespace

std::unique_ptr<GlyphReader> MakeFontReader(const Options &options)
{
    return std::make_unique<FontReader>(options);
}

} // namespace glimra::convert
