// SPDX-License-Identifier: MIT
#include "convert/naming.h"

#include "files/fileline.h"
#include "files/linepaste.h"

#include <bit>

namespace glimra::convert {

QString GlyphName(QStringView given, qint64 place)
{
    qsizetype kept = 0;
    while (kept < given.size() && kept < LinePaste::LongestName && NameHolds(given.sliced(kept, 1)))
        ++kept;
    return kept > 0 ? given.first(kept).toString() : QString::number(place);
}

QString Identifier(QStringView base)
{
    QString identifier;
    for (const QChar c : base) {
        const bool ascii = c.unicode() < 0x80;
        identifier += ascii && (c.isLetterOrNumber() || c == u'_') ? c : u'_';
    }
    if (identifier.isEmpty())
        return QStringLiteral("glyphs");
    if (identifier.front().isDigit())
        identifier.prepend(u'_');
    return identifier;
}

std::array<quint8, 8> RowsOf(const Glyph &glyph)
{
    std::array<quint8, 8> rows{};
    for (int row = 0; row < RowCount; ++row)
        for (int column = 0; column < ColumnCount; ++column)
            if (glyph.codes[column] >> row & 1)
                rows[row] |= quint8(1 << (ColumnCount - 1 - column));
    return rows;
}

std::optional<QString> TakeByte(Glyph &glyph, Layout layout, int index, quint64 value, bool crop)
{
    const auto hex = [](quint64 v) {
        return u"0x"_qs + QString::number(v, 16).toUpper().rightJustified(2, u'0');
    };
    if (layout == Layout::Columns) {
        if (value > 0x7F && !crop)
            return u"%1 needs %2 rows; --crop keeps the top 7"_qs.arg(hex(value))
                .arg(std::bit_width(value));
        glyph.codes[index] = quint8(value & 0x7F);
        return {};
    }
    if (index == RowCount) {
        if (value != 0 && !crop)
            return u"%1 in row 8 needs 8 rows; --crop keeps the top 7"_qs.arg(hex(value));
        return {};
    }
    if (value > 0x1F && !crop)
        return u"%1 needs %2 columns; --crop keeps the left 5"_qs.arg(hex(value))
            .arg(std::bit_width(value));
    for (int column = 0; column < ColumnCount; ++column)
        if (value >> (ColumnCount - 1 - column) & 1)
            glyph.codes[column] |= quint8(1 << index);
    return {};
}

} // namespace glimra::convert
