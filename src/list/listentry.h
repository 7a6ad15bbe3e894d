// SPDX-License-Identifier: MIT
#pragma once

#include "glyph/columncode.h"

#include <QString>

namespace glimra {

/// One glyph as the list shows it: five codes and a name, text kept exactly as it stood.
struct GlyphEntry
{
    CodeTexts codes;
    QString name;

    friend bool operator==(const GlyphEntry &, const GlyphEntry &) = default;
};

using CodeViews = std::array<QStringView, ColumnCount>;

/// "a b c d e" + four spaces + name, nothing trimmed or added.
QString FormatListEntry(const CodeViews &codes, QStringView name);
QString FormatListEntry(const CodeTexts &codes, const QString &name);
inline QString FormatListEntry(const GlyphEntry &entry)
{
    return FormatListEntry(entry.codes, entry.name);
}

/// Fixed slices by position, never failing: codes at 1, 4, 7, 10, 13 (two characters each),
/// the name as up to 30 characters from position 19. Slices past the end come back short
/// or empty.
GlyphEntry ParseListEntry(const QString &text);

/// The two characters at positions 1, 4, 7, 10 and 13, where both the list entry and the
/// file line keep their codes.
CodeViews codesAtFixedPositions(QStringView text);

} // namespace glimra
