// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

class EditorState;
class PlatformServices;
class GlyphEditor;

/// Puts the editor's glyph on the clipboard as one list entry text.
class ClipboardExport
{
public:
    ClipboardExport(EditorState &state, PlatformServices &platform, GlyphEditor &editor);

    void copyData();
    /// The toolbar button: copies, beeps, and says so with a full stop.
    void copyFromToolbar();
    /// The Edit menu item: copies and says so, without a beep.
    void copyFromMenu();

private:
    EditorState &m_state;
    PlatformServices &m_platform;
    GlyphEditor &m_editor;
};

namespace messages {
inline constexpr char16_t CopiedToolbar[] = u"データをクリップボードにコピーしました。";
inline constexpr char16_t CopiedMenu[] = u"データをクリップボードにコピーしました";
} // namespace messages

} // namespace glimra
