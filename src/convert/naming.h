// SPDX-License-Identifier: MIT
#pragma once

#include "convert/glyphs.h"

#include <QString>

namespace glimra::convert {

/// A name as a pasted glyph line's becomes one: cut at 17 characters and at the first
/// character that a glyph file cannot hold; the glyph's place, counted from 0, when
/// nothing is left.
QString GlyphName(QStringView given, qint64 place);

/// `base` made into a C and Python identifier: what is neither a letter, a digit nor `_`
/// becomes `_`, and a leading digit gets a `_` before it; "glyphs" when nothing is left.
QString Identifier(QStringView base);

/// The eight row bytes of a glyph, the left column bit 4, the eighth byte 0.
std::array<quint8, 8> RowsOf(const Glyph &glyph);

/// Takes one number of a program's array as the next byte of a glyph, in `layout`: the
/// reason when it does not fit in 5 x 7 dots and `crop` is not set. `index` is its place
/// within the glyph.
std::optional<QString> TakeByte(Glyph &glyph, Layout layout, int index, quint64 value, bool crop);

/// How many bytes a glyph takes in `layout`.
constexpr int BytesPerGlyph(Layout layout)
{
    return layout == Layout::Columns ? ColumnCount : 8;
}

} // namespace glimra::convert
