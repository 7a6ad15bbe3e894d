// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

class EditorState;
class GlyphEditor;
class FileCommands;

/// The choice made in the "new" dialog.
enum class NewChoice { None, NewData, NewFile };

/// What OK in the "new" dialog does.
class NewCommand
{
public:
    NewCommand(EditorState &state, GlyphEditor &editor, FileCommands &files);

    /// Carries out the choice; false when nothing was chosen and the dialog stays open.
    bool confirm(NewChoice choice);

private:
    EditorState &m_state;
    GlyphEditor &m_editor;
    FileCommands &m_files;
};

} // namespace glimra
