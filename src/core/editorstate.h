// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <QStringList>
#include <vector>

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

/// Glyph file lines that a reader has checked, each holding an entry, as they were read:
/// line i runs from one byte past the end of line i - 1 (the first from 0) to `ends[i]`.
struct CheckedFileLines
{
    QByteArrayView bytes;
    std::vector<qsizetype> ends;
    std::vector<bool> asWritten; // saving the line's entry writes this same line
};

/// Everything the editor knows lives in the main window's controls; this is all the
/// operations may do with them. Columns and rows count from 1.
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

    /// False, with nothing added, when the list is full.
    virtual bool appendEntry(const QString &text) = 0;
    /// The same for many entries at once, as many as fit.
    virtual void appendEntries(const QStringList &texts) = 0;
    /// The entries of lines read from a glyph file, as many as fit; false when some did not.
    virtual bool appendFileLines(const CheckedFileLines &lines) = 0;
    virtual void removeEntry(int index) = 0;
    virtual void clearEntries() = 0;
    virtual QString entry(int index) const = 0;
    virtual int entryCount() const = 0;
    /// Every entry as its glyph file line with CR LF, in pieces of many lines; empty when a
    /// name has no code page 932 form. `working` is called between pieces.
    virtual std::optional<QList<QByteArray>>
    entryFileLines(const std::function<void()> &working) const = 0;
    /// -1 when nothing is selected.
    virtual int selectedIndex() const = 0;

    virtual bool quickPreview() const = 0;
    virtual void setQuickPreview(bool on) = 0;

    virtual void setStatus(const QString &text) = 0;
    /// Read only to take back a warning that no longer describes what is shown.
    virtual QString status() const = 0;
};

} // namespace glimra
