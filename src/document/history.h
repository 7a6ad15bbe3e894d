// SPDX-License-Identifier: MIT
#pragma once

#include "core/editorstate.h"
#include "document/entrymodel.h"

#include <array>
#include <deque>
#include <functional>

namespace glimra {

class FileCommands;

/// What a step of the history is.
enum class StepKind {
    Change,     ///< changes the glyph or the list
    FileChange, ///< also the current file: Open and a new file
    Typing,     ///< typing in one field: the characters typed there in a row are one step
    Pasting,    ///< a paste or a drop into a field
    Stroke,     ///< a stroke across the grid: from its press to its release, one step
    None,       ///< changes nothing the history keeps, or only what it does not take back
};

/// One history for the whole editor: every change the user makes is a step, which Undo
/// takes back to exactly what was shown before it and Redo brings again. A step keeps the
/// glyph before and after it (dots, codes as typed, name), the list's edits, and for an Open
/// or a new file the current file, and the list's selection; a list that an Open or a new
/// file replaced is kept whole, moved and not copied. A run of typing that ends where it
/// began is no step.
///
/// Keeps the last `MostSteps` steps, and of the lists replaced only as many as fit in
/// `MostKeptBytes`, the last one always.
class History
{
public:
    static constexpr int MostSteps = 1000;
    static constexpr qsizetype MostKeptBytes = qsizetype(256) << 20;

    History(EditorState &state, EntryModel &entries, FileCommands &files);

    /// Runs `command`, the handling of one event, and keeps what it changed as a step of
    /// `kind`. `field` is the field typed in, for `StepKind::Typing`. What the command raises
    /// itself runs as part of it.
    void record(StepKind kind, Field field, const std::function<void()> &command);
    /// The focus has moved, or a stroke has ended: what comes next is a step of its own.
    void endRun() { m_runGoesOn = false; }

    void undo();
    void redo();
    int undoCount() const { return int(m_undo.size()); }
    int redoCount() const { return int(m_redo.size()); }

private:
    struct Glyph
    {
        quint64 dots = 0; // bit 7 × (column - 1) + row - 1
        std::array<QString, ColumnCount> codes;
        QString name;
        bool operator==(const Glyph &) const = default;
    };
    struct File
    {
        QString name;
        qint16 ready = 0;
        bool operator==(const File &) const = default;
    };
    struct Step
    {
        StepKind kind = StepKind::None;
        Field field = Field::DataName;
        Glyph before, after;
        std::vector<ListEdit> edits;
        File fileBefore, fileAfter;                  // kept for an Open and a new file only
        int selectedBefore = -1, selectedAfter = -1; // the list's selected entry
        bool keepsFile = false;
        qsizetype keptBytes = 0;
    };

    Glyph glyph() const;
    void show(const Glyph &glyph);
    File file() const;
    void setFile(const File &file);
    /// Whether the edits changed what the list shows.
    bool changesList(const std::vector<ListEdit> &edits) const;
    /// Adds what the step keeps of replaced lists to the count (`sign` 1), counting it
    /// anew, or takes it away (-1).
    void count(Step &step, int sign);
    void dropRedo();
    void goBack(Step &step, bool undo);
    /// Takes the last step of `from` back (`undo`) or again, and keeps it in `to`.
    void travel(std::deque<Step> &from, std::deque<Step> &to, bool undo);

    EditorState &m_state;
    EntryModel &m_entries;
    FileCommands &m_files;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    Glyph m_shown;       // the glyph as the last step or command left it
    int m_selected = -1; // and the list's selected entry: none in a new window
    qsizetype m_keptBytes = 0;
    int m_depth = 0;          // commands and steps under way
    bool m_runGoesOn = false; // the last step is typing or a stroke that may go on
};

} // namespace glimra
