// SPDX-License-Identifier: MIT
#include "list/glyphlist.h"

#include "core/editorstate.h"
#include "core/entrylist.h"
#include "core/platformservices.h"
#include "glyph/glypheditor.h"
#include "list/listentry.h"

namespace glimra {

GlyphList::GlyphList(EditorState &state, EntryList &entries, PlatformServices &platform,
                     GlyphEditor &editor)
    : m_state(state), m_entries(entries), m_platform(platform), m_editor(editor)
{
}

bool GlyphList::allCodesZero() const
{
    for (Field field : CodeFields) {
        if (m_state.text(field) != u"00")
            return false;
    }
    return true;
}

void GlyphList::add()
{
    const CodeCheck check = m_editor.normaliseCodeFields();
    switch (check.refusal) {
    case CodeRefusal::TooLong:
    case CodeRefusal::OutOfRange:
        m_platform.message(refusalMessage(check.refusal));
        return;
    case CodeRefusal::NotHexadecimal:
        // Whatever the fields hold that is not a code gives way to the grid, silently;
        // the grid's codes are always in range.
        m_editor.gridToData();
        break;
    case CodeRefusal::None:
        break;
    }
    if (allCodesZero())
        m_editor.gridToData();
    m_editor.dataToGrid();
    if (allCodesZero()) {
        m_platform.beep();
        m_state.setFocus(FocusTarget::DataA);
        m_state.setStatus(QString::fromUtf16(messages::EnterData));
        return;
    }
    const QString name = m_state.text(Field::DataName);
    if (name.isEmpty()) {
        m_platform.beep();
        m_state.setStatus(QString::fromUtf16(messages::EnterName));
        m_state.setFocus(FocusTarget::DataName);
        return;
    }
    // A full list takes no more: the glyph stays in the editor rather than be lost.
    if (!m_entries.append(FormatListEntry(m_editor.codeTexts(), name))) {
        m_platform.beep();
        return;
    }
    m_editor.reset2();
}

void GlyphList::remove()
{
    const int index = m_state.selectedIndex();
    if (index < 0)
        return;
    m_entries.removeAt(index);
    m_state.setFocus(FocusTarget::DataList);
}

void GlyphList::select()
{
    // Loading "nothing" would empty the editor and lose the glyph being drawn.
    if (m_state.quickPreview() && m_state.selectedIndex() >= 0)
        loadSelected();
}

void GlyphList::read()
{
    loadSelected();
}

void GlyphList::loadSelected()
{
    const int index = m_state.selectedIndex();
    const GlyphEntry entry = ParseListEntry(m_entries.entry(index));
    m_state.setText(Field::DataName, entry.name);
    for (int i = 0; i < ColumnCount; ++i)
        m_state.setText(CodeFields[i], entry.codes[i]);
    m_editor.dataToGrid();
}

} // namespace glimra
