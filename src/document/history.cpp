// SPDX-License-Identifier: MIT
#include "document/history.h"

#include "files/filecommands.h"

#include <QScopedValueRollback>

namespace glimra {

History::History(EditorState &state, EntryModel &entries, FileCommands &files)
    : m_state(state), m_entries(entries), m_files(files), m_shown(glyph())
{
}

History::Glyph History::glyph() const
{
    Glyph glyph;
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r) {
            if (m_state.dot(c, r))
                glyph.dots |= quint64(1) << (RowCount * (c - 1) + r - 1);
        }
        glyph.codes[c - 1] = m_state.text(codeField(c));
    }
    glyph.name = m_state.text(Field::DataName);
    return glyph;
}

void History::show(const Glyph &glyph)
{
    for (int c = 1; c <= ColumnCount; ++c) {
        for (int r = 1; r <= RowCount; ++r) {
            const bool on = glyph.dots >> (RowCount * (c - 1) + r - 1) & 1;
            m_state.setDot(c, r, on);
            m_state.setPreviewDot(c, r, on);
        }
    }
    for (int c = 1; c <= ColumnCount; ++c)
        m_state.setText(codeField(c), glyph.codes[c - 1]);
    m_state.setText(Field::DataName, glyph.name);
}

History::File History::file() const
{
    return {m_files.fileName(), m_files.fileReady()};
}

void History::setFile(const File &file)
{
    m_files.setFileName(file.name);
    m_files.setFileReady(file.ready);
}

bool History::changesList(const std::vector<ListEdit> &edits) const
{
    // An empty list replaced by an empty list is none the different.
    for (const ListEdit &edit : edits) {
        if (edit.kind != ListEdit::Replaced || edit.other->size() > 0 || m_entries.count() > 0)
            return true;
    }
    return false;
}

void History::record(StepKind kind, Field field, const std::function<void()> &command)
{
    if (m_depth > 0) {
        command();
        return;
    }
    // Typing, and a stroke, go on as one step only when nothing came between.
    const bool isRun = kind == StepKind::Typing || kind == StepKind::Stroke;
    const bool runGoesOn = isRun && m_runGoesOn && !m_undo.empty() && m_undo.back().kind == kind &&
                           m_undo.back().field == field;
    m_runGoesOn = false;
    Step step;
    step.kind = kind;
    step.field = field;
    // Typing and pasting have changed their field before anyone hears of it: the step
    // starts from what the last one left. Anything else starts from what is shown now.
    step.before = kind == StepKind::Typing || kind == StepKind::Pasting ? m_shown : glyph();
    step.fileBefore = file();
    // A click in the list has selected its entry before Select hears of it.
    step.selectedBefore = m_selected;
    {
        const QScopedValueRollback<int> running(m_depth, 1);
        m_entries.setJournal(&step.edits);
        command();
        m_entries.setJournal(nullptr);
    }
    step.after = glyph();
    step.fileAfter = file();
    step.selectedAfter = m_selected = m_state.selectedIndex();
    // What a command that is no step changed (Copy rewrites the codes from the grid) is
    // where the next step starts from.
    m_shown = step.after;
    const bool changed = step.after != step.before || changesList(step.edits) ||
                         (kind == StepKind::FileChange && step.fileAfter != step.fileBefore);
    if (kind == StepKind::None || !changed) {
        m_runGoesOn = runGoesOn;
        return;
    }
    m_runGoesOn = isRun;
    dropRedo();
    if (runGoesOn) {
        Step &run = m_undo.back();
        run.after = step.after;
        run.selectedAfter = step.selectedAfter;
        // Typed and taken back: nothing to undo, and what comes next is a step of its own.
        if (run.after == run.before && run.edits.empty()) {
            count(run, -1);
            m_undo.pop_back();
            m_runGoesOn = false;
        }
        return;
    }
    step.keepsFile = kind == StepKind::FileChange;
    count(step, 1);
    m_undo.push_back(std::move(step));
    // The oldest steps go first; the one just made stays, whatever it holds.
    while (m_undo.size() > 1 &&
           (m_undo.size() > std::size_t(MostSteps) || m_keptBytes > MostKeptBytes)) {
        count(m_undo.front(), -1);
        m_undo.pop_front();
    }
}

void History::count(Step &step, int sign)
{
    if (sign > 0) {
        step.keptBytes = 0;
        for (const ListEdit &edit : step.edits) {
            if (edit.kind == ListEdit::Replaced)
                step.keptBytes += edit.other->memory();
        }
    }
    m_keptBytes += sign * step.keptBytes;
}

void History::dropRedo()
{
    for (Step &step : m_redo)
        count(step, -1);
    m_redo.clear();
}

void History::goBack(Step &step, bool undo)
{
    const QScopedValueRollback<int> running(m_depth, 1);
    // A replaced list comes back and the other takes its place in the step.
    count(step, -1);
    if (undo) {
        for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit)
            m_entries.apply(*edit, true);
    } else {
        for (ListEdit &edit : step.edits)
            m_entries.apply(edit, false);
    }
    count(step, 1);
    m_shown = undo ? step.before : step.after;
    show(m_shown);
    // A way back is no removal: the entry selected then is selected again.
    m_selected = undo ? step.selectedBefore : step.selectedAfter;
    m_state.setSelectedIndex(m_selected);
    if (step.keepsFile)
        setFile(undo ? step.fileBefore : step.fileAfter);
    m_runGoesOn = false;
}

void History::undo()
{
    travel(m_undo, m_redo, true);
}

void History::redo()
{
    travel(m_redo, m_undo, false);
}

void History::travel(std::deque<Step> &from, std::deque<Step> &to, bool undo)
{
    if (from.empty())
        return;
    Step step = std::move(from.back());
    from.pop_back();
    goBack(step, undo);
    to.push_back(std::move(step));
}

} // namespace glimra
