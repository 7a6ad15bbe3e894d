// SPDX-License-Identifier: MIT
#pragma once

#include "core/editorstate.h"

#include <array>
#include <optional>
#include <QString>

namespace glimra {

class GlyphEditor;
class PlatformServices;

/// One glyph as a pasted line of text gives it: the five code texts and the name.
struct GlyphLine
{
    std::array<QString, ColumnCount> codes;
    QString name;
};

/// The glyph that `text` holds when it is one glyph line: the editor's own clipboard text
/// (a list entry), a line of a glyph file, or five codes alone, apart by commas, spaces or
/// both, each as `7F`, `0x7F`, `&H7F`, `$7F` or `7Fh`, inside braces or not. The first two
/// keep their codes as written; the codes alone are written in the usual two capitals.
/// Empty for anything else. A line break at the end is no part of the line.
std::optional<GlyphLine> ParseGlyphLine(QStringView text);

/// A glyph line pasted into the editor, loaded as Read loads an entry.
class LinePaste
{
public:
    /// The longest name the name field takes by typing.
    static constexpr int LongestName = 17;

    LinePaste(EditorState &state, PlatformServices &platform, GlyphEditor &editor);

    /// Loads `text` when it is one glyph line: the name, cut to what the name field takes,
    /// then the codes, and the grid drawn from them. A code above 7F is refused with the
    /// range message and changes nothing. False, with nothing done, for other text.
    bool paste(const QString &text);

private:
    EditorState &m_state;
    PlatformServices &m_platform;
    GlyphEditor &m_editor;
};

} // namespace glimra
