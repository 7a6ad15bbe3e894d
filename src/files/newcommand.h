// SPDX-License-Identifier: MIT
#pragma once

namespace glimra {

class FileEntries;
class GlyphEditor;
class FileCommands;
enum class NewChoice;

/// What OK in the "new" dialog does.
class NewCommand
{
public:
    NewCommand(FileEntries &entries, GlyphEditor &editor, FileCommands &files);

    /// Carries out the choice; false when nothing was chosen and the dialog stays open.
    bool confirm(NewChoice choice);

private:
    FileEntries &m_entries;
    GlyphEditor &m_editor;
    FileCommands &m_files;
};

} // namespace glimra
