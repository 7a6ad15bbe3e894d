// SPDX-License-Identifier: MIT
#include "list/clipboardexport.h"

#include "core/editorstate.h"
#include "core/platformservices.h"
#include "glyph/glypheditor.h"
#include "list/listentry.h"

namespace glimra {

ClipboardExport::ClipboardExport(EditorState &state, PlatformServices &platform,
                                 GlyphEditor &editor)
    : m_state(state), m_platform(platform), m_editor(editor)
{
}

void ClipboardExport::copyData()
{
    m_editor.gridToData();
    m_platform.clearClipboard();
    m_platform.setClipboardText(
        FormatListEntry(m_editor.codeTexts(), m_state.text(Field::DataName)));
}

void ClipboardExport::copyFromToolbar()
{
    copyData();
    m_platform.beep();
    m_state.setStatus(QString::fromUtf16(messages::CopiedToolbar));
}

void ClipboardExport::copyFromMenu()
{
    copyData();
    m_state.setStatus(QString::fromUtf16(messages::CopiedMenu));
}

} // namespace glimra
