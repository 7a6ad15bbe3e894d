// SPDX-License-Identifier: MIT
#include "files/filecommands.h"

#include "core/editorstate.h"
#include "core/platformservices.h"
#include "files/fileentries.h"
#include "files/glyphfile.h"

#include <QDir>

namespace glimra {

FileCommands::FileCommands(EditorState &state, FileEntries &entries, PlatformServices &platform)
    : m_state(state), m_entries(entries), m_platform(platform)
{
}

void FileCommands::openFromToolbar()
{
    open(Origin::Toolbar);
}

void FileCommands::openFromMenu()
{
    open(Origin::Menu);
}

void FileCommands::openNamed(const QString &name)
{
    load(name, Origin::Toolbar);
}

void FileCommands::openDropped(const QStringList &names)
{
    if (names.size() == 1 && !names.first().isEmpty())
        openNamed(names.first());
    else
        m_state.setStatus(QString::fromUtf16(messages::CannotOpen));
}

void FileCommands::open(Origin origin)
{
    const QString name = m_platform.openFileName(m_fileName);
    if (!name.isEmpty())
        load(name, origin);
}

void FileCommands::load(const QString &name, Origin origin)
{
    // The list is only replaced once the file is known to be readable.
    const std::optional<bool> complete = StreamGlyphFile(
        name,
        [&] {
            m_fileName = name;
            m_entries.clear();
        },
        [&](const CheckedFileLines &lines) {
            const bool all = m_entries.appendFileLines(lines);
            m_platform.stillWorking();
            return all;
        });
    m_platform.workDone();
    if (!complete) {
        m_state.setStatus(QString::fromUtf16(messages::CannotOpen));
        return;
    }
    if (!*complete) {
        // Saving this list over the file would cut off the glyphs that could not be read,
        // so the next toolbar Save must ask for a name.
        m_fileReady = 0;
        m_state.setStatus(QString::fromUtf16(messages::PartlyRead));
        return;
    }
    // A warning about an earlier file would now seem to speak of this one.
    const QString status = m_state.status();
    if (status == messages::PartlyRead || status == messages::CannotOpen)
        m_state.setStatus(QString());
    if (origin == Origin::Toolbar)
        m_fileReady = Ready;
}

void FileCommands::saveFromToolbar()
{
    if (!m_fileName.isEmpty() && m_fileReady == Ready)
        save(m_fileName);
    else
        saveWithName();
}

void FileCommands::saveWithName()
{
    const QString name = m_platform.saveFileName(m_fileName);
    if (name.isEmpty())
        return;
    m_fileName = name;
    save(name);
}

void FileCommands::save(const QString &name)
{
    if (m_entries.count() == 0) {
        m_state.setStatus(QString::fromUtf16(messages::NothingToWrite));
        return;
    }
    const auto working = [this] { m_platform.stillWorking(); };
    const std::optional<QList<QByteArray>> lines = m_entries.fileLines(working);
    const Replaced replaced = lines ? ReplaceFileContents(name, *lines,
                                                          [&](int) {
                                                              working();
                                                              return true;
                                                          })
                                    : Replaced{};
    m_platform.workDone();
    if (!replaced.written) {
        m_state.setStatus(QString::fromUtf16(messages::CannotWrite));
        // The file may now hold neither list: the user must know where the old one is.
        if (!replaced.keptCopy.isEmpty())
            m_platform.message(QString::fromUtf16(messages::CopyKept) +
                               QDir::toNativeSeparators(replaced.keptCopy));
        return;
    }
    m_fileReady = Ready;
    m_state.setStatus(QString::fromUtf16(messages::Saved));
}

} // namespace glimra
