// SPDX-License-Identifier: MIT
#include "files/newcommand.h"

#include "core/newchoice.h"
#include "files/filecommands.h"
#include "files/fileentries.h"
#include "glyph/glypheditor.h"

namespace glimra {

NewCommand::NewCommand(FileEntries &entries, GlyphEditor &editor, FileCommands &files)
    : m_entries(entries), m_editor(editor), m_files(files)
{
}

bool NewCommand::confirm(NewChoice choice)
{
    switch (choice) {
    case NewChoice::NewData:
        m_editor.reset2();
        return true;
    case NewChoice::NewFile:
        m_editor.reset2();
        m_files.setFileName(QString());
        m_files.setFileReady(0);
        m_entries.clear();
        return true;
    case NewChoice::None:
        break;
    }
    return false;
}

} // namespace glimra
