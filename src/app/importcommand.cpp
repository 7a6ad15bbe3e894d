// SPDX-License-Identifier: MIT
#include "app/importcommand.h"

#include "convert/conversion.h"
#include "core/platformservices.h"
#include "document/entrymodel.h"
#include "files/filecommands.h"
#include "files/regularfile.h"
#include "glyph/columncode.h"
#include "list/listentry.h"

#include <QFile>
#include <QFileInfo>

namespace glimra {

ImportCommand::ImportCommand(EditorState &state, EntryModel &entries, FileCommands &files,
                             PlatformServices &platform)
    : m_state(state), m_entries(entries), m_files(files), m_platform(platform)
{
}

bool ImportCommand::opens(const QString &name)
{
    const std::optional<convert::Format> format = convert::FormatOfFileName(name);
    return format && *format != convert::Format::Glm;
}

void ImportCommand::open(const QString &name)
{
    const QString shown = QFileInfo(name).fileName();
    const auto refuse = [&](const QString &why) {
        m_platform.workDone();
        m_platform.message(QString::fromUtf16(messages::CannotOpen) + u'\n' + why);
    };
    QFile file;
    if (!OpenRegularFile(name, file))
        return refuse(convert::RefusalMessage(shown, {-1, -1, u"cannot be read"_qs}));
    const convert::Options options;
    const std::unique_ptr<convert::GlyphReader> reader =
        convert::MakeReader(*convert::FormatOfFileName(name), options);
    QStringList entries;
    const bool whole = reader->read(file, [&](convert::Glyph &&glyph) {
        CodeTexts codes;
        for (int column = 0; column < ColumnCount; ++column)
            codes[column] = FormatColumnCode(glyph.codes[column]);
        entries.append(FormatListEntry(codes, glyph.name));
        if (entries.size() % 4096 == 0)
            m_platform.stillWorking();
        return entries.size() < EntryModel::MostEntries;
    });
    if (!whole)
        return refuse(convert::RefusalMessage(
            shown, reader->refusal().value_or(convert::Refusal{-1, -1, u"is too long"_qs})));
    if (entries.isEmpty())
        return refuse(convert::RefusalMessage(shown, {-1, -1, u"holds no glyph"_qs}));
    m_entries.clear();
    m_entries.append(entries);
    m_platform.workDone();
    m_files.setFileName({});
    m_files.setFileReady(0);
    // A warning about an earlier file would now seem to speak of this one.
    const QString status = m_state.status();
    if (status == messages::PartlyRead || status == messages::CannotOpen)
        m_state.setStatus(QString());
}

} // namespace glimra
