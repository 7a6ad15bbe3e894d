// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

class EditorState;
class EntryList;
class PlatformServices;
class GlyphEditor;

/// Add, Delete, Select and Read: the named glyphs in the list, and the editor.
class GlyphList
{
public:
    GlyphList(EditorState &state, EntryList &entries, PlatformServices &platform,
              GlyphEditor &editor);

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
    EntryList &m_entries;
    PlatformServices &m_platform;
    GlyphEditor &m_editor;
};

namespace messages {
inline constexpr char16_t EnterData[] = u"データを入力してください";
inline constexpr char16_t EnterName[] = u"データ名を入力してください";
} // namespace messages

} // namespace glimra
