// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace glimra {

/// The editor as its design describes it, in plain data: what the user can see, and the
/// focus and caret that decide what typing does. Each user action is one small function,
/// written from the design's steps and nothing else, to hold the real window against.
struct EditorModel
{
    enum Focus { A, B, C, D, E, Name, List, Elsewhere };

    std::array<std::array<bool, 7>, 5> dots{}; // [column - 1][row - 1]
    std::array<QString, 5> codes{u"00"_qs, u"00"_qs, u"00"_qs, u"00"_qs, u"00"_qs};
    QString name;
    QStringList entries;
    int selected = -1;
    bool quickPreview = false;
    QString status;
    int beeps = 0;
    QStringList messages; // every modal message shown, in order
    QString clipboard;
    // The files of the session, by name: bytes, or none for a folder. A name that is not
    // here is missing. The design's fixtures are there from the start.
    std::map<QString, std::optional<QByteArray>> files;
    std::map<QString, QStringList> savedEntries; // what each saved file reads back as
    QString fileName;
    int fileReady = 0;
    int openDialogs = 0;
    int saveDialogs = 0;
    Focus focus = Elsewhere;
    // The focused code field's caret and selection, as the change handling reads them.
    int caret = 0;
    int selectionLength = 0;

    /// The dots a stroke went over, the pressed one first; a click is a stroke of one dot.
    void stroke(const std::vector<std::pair<int, int>> &cells);
    void focusCode(int field);
    void typeCode(QChar c);              // into the focused code field
    void typeName(QChar c);              // at the end of the name, the field focused by a click
    void pasteName(const QString &text); // likewise
    void add();
    void remove();
    void clickEntry(int row);
    void ctrlClickEntry(int row);
    void arrowKey(int step); // Down (+1) or Up (-1) in the focused list
    void read();
    void toggleQuickPreview() { quickPreview = !quickPreview; }
    void invert();
    void copy(bool fromMenu);
    void newData() { reset2(); }
    void newFile();
    /// Alt+arrows: the glyph moves one dot, and what leaves an edge comes back at the other.
    void move(int columns, int rows);
    /// Alt+H (left to right) and Alt+V (top to bottom).
    void mirror(bool leftToRight);
    /// Ctrl+V of a glyph line, with the focus anywhere but the name field: the codes as the
    /// line writes them, their values, and the line's name. Loaded as Read loads an entry.
    void pasteGlyphLine(const std::array<QString, 5> &written, const std::array<int, 5> &values,
                        const QString &lineName);
    void open(const QString &chosen, bool fromToolbar); // "" cancels the dialog
    void saveFromToolbar(const QString &chosen);        // `chosen` answers a dialog if one asks
    void saveWithName(const QString &chosen);

    // The history, as its user is told what a step is: every change made is one, the
    // characters typed into one field in a row are one, and Undo brings back exactly what
    // was shown before it.
    enum class StepKind { Change, FileChange, Typing, Pasting, None };
    /// Runs `action` as one step of `kind`; `field` is the field typed or pasted into.
    void step(StepKind kind, int field, const std::function<void()> &action);
    void undo();
    void redo();

private:
    struct Shown
    {
        std::array<std::array<bool, 7>, 5> dots;
        std::array<QString, 5> codes;
        QString name;
        QStringList entries;
        QString fileName;
        int fileReady;
        int selected;
        bool operator==(const Shown &) const = default;
    };
    struct Step
    {
        Shown before, after;
        bool file; // an Open or a new file: the current file comes back too
    };
    Shown shown() const;
    /// Shows `to`, as undoing or redoing `step` does.
    void show(const Shown &to, const Step &step);
    /// Undoes (`undoing`) or redoes the last step of `from`, and keeps it in `to`.
    void travel(std::vector<Step> &from, std::vector<Step> &to, bool undoing);
    bool listReplaced = false; // by the action under way
    std::vector<Step> undoSteps, redoSteps;
    int typingField = -1; // the field whose typing step may still grow

    void gridToData();
    bool dataToGrid();
    void reset2();
    void load();
    void selectRow(int row);
    void save(const QString &name);
    void writeCode(int field, const QString &text);
    void refuse(const QString &message) { messages << message; }
};

} // namespace glimra
