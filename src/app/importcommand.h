// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace glimra {

class EditorState;
class EntryModel;
class FileCommands;
class PlatformServices;

/// Opens a file of another program's format (a C header, a Python module, a font, a PNG
/// sheet) as glimra-convert reads it. The list then has no file: the next toolbar Save
/// asks for a name, so that the source is never written over.
class ImportCommand
{
public:
    ImportCommand(EditorState &state, EntryModel &entries, FileCommands &files,
                  PlatformServices &platform);

    /// Whether `name` is of a format that this command opens, rather than Open.
    static bool opens(const QString &name);
    /// Replaces the list with the file's glyphs; a refused file leaves it as it was and
    /// says why in a message box.
    void open(const QString &name);

private:
    EditorState &m_state;
    EntryModel &m_entries;
    FileCommands &m_files;
    PlatformServices &m_platform;
};

} // namespace glimra
