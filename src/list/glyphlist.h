// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

class EditorState;
class PlatformServices;
class GlyphEditor;

/// The named glyphs, held only as the list box's item texts.
class GlyphList
{
public:
    GlyphList(EditorState &state, PlatformServices &platform, GlyphEditor &editor);

    /// Checks the editor's glyph and name, appends the entry and clears the editor.
    void add();
    /// Removes the selected entry; with none selected nothing happens.
    void remove();
    /// The user changed the selected entry: loads it only while quick preview is ticked.
    void select();
    /// Loads the selected entry (or, with none, empty texts) into the editor.
    void read();

private:
    void loadSelected();
    bool allCodesZero() const;

    EditorState &m_state;
    PlatformServices &m_platform;
    GlyphEditor &m_editor;
};

namespace messages {
inline constexpr char16_t EnterData[] = u"データを入力してください";
inline constexpr char16_t EnterName[] = u"データ名を入力してください";
} // namespace messages

} // namespace glimra
