// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace glimra {

/// The text fields of the main window that the operations read and write.
enum class Field { DataA, DataB, DataC, DataD, DataE, DataName };

/// Controls that an operation may give the keyboard focus to: the text fields in the order
/// of `Field`, then the list.
enum class FocusTarget { DataA, DataB, DataC, DataD, DataE, DataName, DataList };

constexpr int ColumnCount = 5;
constexpr int RowCount = 7;

/// The five code fields in column order (column 1 first).
constexpr Field CodeFields[ColumnCount] = {Field::DataA, Field::DataB, Field::DataC, Field::DataD,
                                           Field::DataE};

inline Field codeField(int column)
{
    return CodeFields[column - 1];
}

/// The glyph being drawn and the window around it: all that the operations may do with the
/// main window's controls. The list's entries are an `EntryList` of their own; the window
/// shows them and keeps which one is selected. Columns and rows count from 1.
class EditorState
{
public:
    virtual ~EditorState() = default;

    virtual bool dot(int column, int row) const = 0;
    virtual void setDot(int column, int row, bool on) = 0;
    virtual bool previewDot(int column, int row) const = 0;
    virtual void setPreviewDot(int column, int row, bool on) = 0;

    virtual QString text(Field field) const = 0;
    /// Replaces the whole text, leaves the caret at 0 with nothing selected and runs the
    /// field's change handling before it returns. Never cut to the typing limit.
    virtual void setText(Field field, const QString &text) = 0;
    /// Start of the selection, or the caret position when nothing is selected.
    virtual int caret(Field field) const = 0;
    virtual void select(Field field, int start, int length) = 0;
    /// Runs the field's got-focus handling.
    virtual void setFocus(FocusTarget target) = 0;

    /// The selected entry of the list, -1 when none is.
    virtual int selectedIndex() const = 0;
    /// Selects the entry at `index` alone, or none for -1, as the program does: no Select.
    virtual void setSelectedIndex(int index) = 0;

    virtual bool quickPreview() const = 0;
    virtual void setQuickPreview(bool on) = 0;

    virtual void setStatus(const QString &text) = 0;
    /// Read only to take back a warning that no longer describes what is shown.
    virtual QString status() const = 0;
};

} // namespace glimra
