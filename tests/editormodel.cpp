// SPDX-License-Identifier: MIT
#include "editormodel.h"

namespace glimra {

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

/// Shift-JIS of the few characters that sessions type into names, besides ASCII; empty for
/// text that holds anything else.
QByteArray shiftJis(const QString &text)
{
    static const std::map<QChar, QByteArray> table{
        {u'か', "\x82\xa9"}, {u'な', "\x82\xc8"}, {u'カ', "\x83\x4a"}, {u'ナ', "\x83\x69"},
        {u'漢', "\x8a\xbf"}, {u'字', "\x8e\x9a"}, {u'絵', "\x8a\x47"}};
    QByteArray bytes;
    for (QChar c : text) {
        const auto found = table.find(c);
        if (c.unicode() >= 0x80 && found == table.end())
            return {}; // none of the design's code page: ö, €
        bytes += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode())) : found->second;
    }
    return bytes;
}

bool allZero(const std::array<QString, 5> &codes)
{
    return std::all_of(codes.begin(), codes.end(), [](const QString &t) { return t == u"00"; });
}

} // namespace

void EditorModel::stroke(const std::vector<std::pair<int, int>> &cells)
{
    // The first dot toggles; every other one takes the state the first one took.
    const bool on = !dots[cells[0].first - 1][cells[0].second - 1];
    for (const auto &[column, row] : cells)
        dots[column - 1][row - 1] = on;
    gridToData();
}

void EditorModel::focusCode(int field)
{
    if (focus == field) // no new visit: the got-focus handling does not run
        return;
    focus = Focus(field);
    typingField = -1; // characters typed now are a step of their own
    caret = 0;
    selectionLength = int(codes[field].size());
}

void EditorModel::typeCode(QChar c)
{
    const int field = focus;
    QString text = codes[field];
    text.replace(caret, selectionLength, c);
    if (text.size() > 2) // the field takes at most two typed characters
        return;
    codes[field] = text;
    caret += 1;
    selectionLength = 0;
    if (caret != 2)
        return;
    if (field == E)
        focus = Name;
    else
        focusCode(field + 1);
    dataToGrid();
}

void EditorModel::typeName(QChar c)
{
    pasteName(c);
}

void EditorModel::pasteName(const QString &text)
{
    focus = Name;
    // As much as fits in 17 characters, and nothing when that holds what a file cannot.
    const QString part = text.left(17 - name.size());
    if (std::all_of(part.begin(), part.end(), [](QChar c) { return !shiftJis(c).isEmpty(); }))
        name += part;
}

void EditorModel::gridToData()
{
    for (int c = 0; c < 5; ++c) {
        int value = 0;
        for (int r = 0; r < 7; ++r)
            value += dots[c][r] ? 1 << r : 0;
        writeCode(c, QString::number(value, 16).toUpper().rightJustified(2, u'0'));
    }
}

void EditorModel::writeCode(int field, const QString &text)
{
    codes[field] = text;
    if (focus == field) { // a write from the program leaves the caret at the start
        caret = 0;
        selectionLength = 0;
    }
}

bool EditorModel::dataToGrid()
{
    for (int f = 0; f < 5; ++f)
        if (codes[f].isEmpty())
            writeCode(f, u"00"_qs);
    for (const QString &text : codes)
        if (text.size() > 2)
            return refuse(u"データに不正な値が格納されたので、処理を中止します。"_qs), false;
    for (int f = 0; f < 5; ++f)
        if (codes[f].size() < 2)
            writeCode(f, u'0' + codes[f]);
    for (const QString &text : codes)
        if (!isHexDigit(text[0]) || !isHexDigit(text[1]))
            return refuse(u"データには１６進法を入力してください。"_qs), false;
    for (const QString &text : codes)
        if (text.toInt(nullptr, 16) > 0x7F)
            return refuse(u"データの有効範囲は7Fまでです。"_qs), false;
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 7; ++r)
            dots[c][r] = codes[c].toInt(nullptr, 16) >> r & 1;
    return true;
}

void EditorModel::reset2()
{
    dots = {};
    for (int f = 0; f < 5; ++f)
        writeCode(f, u"00"_qs);
    name.clear();
}

void EditorModel::add()
{
    focus = Elsewhere; // a click on a button gives it the focus
    for (int f = 0; f < 5; ++f)
        if (codes[f].isEmpty())
            writeCode(f, u"00"_qs);
    for (const QString &text : codes)
        if (text.size() > 2)
            return refuse(u"データに不正な値が格納されたので、処理を中止します。"_qs);
    for (int f = 0; f < 5; ++f)
        if (codes[f].size() < 2)
            writeCode(f, u'0' + codes[f]);
    for (const QString &text : codes)
        if (!isHexDigit(text[0]) || !isHexDigit(text[1])) {
            gridToData();
            break;
        }
    for (const QString &text : codes)
        if (text.toInt(nullptr, 16) > 0x7F)
            return refuse(u"データの有効範囲は7Fまでです。"_qs);
    if (allZero(codes))
        gridToData();
    dataToGrid();
    if (allZero(codes)) {
        ++beeps;
        focusCode(A);
        status = u"データを入力してください"_qs;
        return;
    }
    if (name.isEmpty()) {
        ++beeps;
        status = u"データ名を入力してください"_qs;
        focus = Name;
        return;
    }
    entries << QStringList(codes.begin(), codes.end()).join(u' ') + u"    "_qs + name;
    reset2();
}

void EditorModel::remove()
{
    focus = Elsewhere;
    if (selected < 0)
        return;
    entries.removeAt(selected);
    selected = -1; // the selection goes with the entry
    focus = List;
}

void EditorModel::clickEntry(int row)
{
    focus = List;
    selectRow(row);
}

void EditorModel::ctrlClickEntry(int row)
{
    focus = List;
    if (row != selected) // Ctrl never takes the selection away
        selectRow(row);
}

void EditorModel::arrowKey(int step)
{
    if (selected < 0)
        selectRow(0); // from nothing selected, Down starts at the first entry
    else if (selected + step >= 0 && selected + step < entries.size())
        selectRow(selected + step);
}

void EditorModel::selectRow(int row)
{
    if (row == selected)
        return;
    selected = row;
    if (quickPreview)
        load();
}

void EditorModel::read()
{
    focus = Elsewhere;
    load();
}

void EditorModel::load()
{
    const QString entry = selected >= 0 ? entries[selected] : QString();
    name = entry.mid(18, 30);
    for (int f = 0; f < 5; ++f)
        writeCode(f, entry.mid(3 * f, 2));
    dataToGrid();
}

void EditorModel::copy(bool fromMenu)
{
    gridToData();
    clipboard = QStringList(codes.begin(), codes.end()).join(u' ') + u"    "_qs + name;
    if (!fromMenu)
        ++beeps;
    status = fromMenu ? u"データをクリップボードにコピーしました"_qs
                      : u"データをクリップボードにコピーしました。"_qs;
}

void EditorModel::newFile()
{
    listReplaced = !entries.isEmpty();
    reset2();
    fileName.clear();
    fileReady = 0;
    entries.clear();
    selected = -1;
}

namespace {

const QString CannotOpen = u"ファイルを開けません"_qs;
const QString PartlyRead = u"ファイルの一部しか読み込めませんでした"_qs;

/// The entries that a file holds, and whether all of it could be read; only the session's
/// own files and the partly readable fixture are ever opened.
std::pair<QStringList, bool> readFile(const QByteArray &bytes)
{
    QStringList entries;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString line = QString::fromLatin1(lines[i].chopped(1)); // ASCII in the fixture
        if (line.size() < 17)
            return {entries, i + 2 == lines.size()};
        entries << line.left(2) + u' ' + line.mid(3, 2) + u' ' + line.mid(6, 2) + u' ' +
                       line.mid(9, 2) + u' ' + line.mid(12, 2) + u"    "_qs +
                       line.mid(16, 30).chopped(1);
    }
    return {entries, true};
}

} // namespace

void EditorModel::open(const QString &chosen, bool fromToolbar)
{
    ++openDialogs;
    if (chosen.isEmpty())
        return;
    const auto file = files.find(chosen);
    if (file == files.end() || !file->second) { // missing, or a folder: nothing changes
        status = CannotOpen;
        return;
    }
    fileName = chosen;
    selected = -1;
    listReplaced = true;
    if (chosen == u"partial.glm") {
        entries = readFile(*file->second).first;
        fileReady = 0; // saving this list over the file would lose what was not read
        status = PartlyRead;
        return;
    }
    entries = savedEntries.at(chosen);
    if (status == PartlyRead || status == CannotOpen)
        status.clear();
    if (fromToolbar)
        fileReady = -1;
}

void EditorModel::saveFromToolbar(const QString &chosen)
{
    if (!fileName.isEmpty() && fileReady == -1)
        save(fileName);
    else
        saveWithName(chosen);
}

void EditorModel::saveWithName(const QString &chosen)
{
    ++saveDialogs;
    if (chosen.isEmpty())
        return;
    fileName = chosen;
    save(chosen);
}

void EditorModel::save(const QString &name)
{
    if (entries.isEmpty()) {
        status = u"書き込むデータがありません"_qs;
        return;
    }
    const auto file = files.find(name);
    if (file != files.end() && !file->second) { // a folder in the way: nothing is written
        status = u"ファイルに書き込めません。ファイル属性を確認してください"_qs;
        return;
    }
    QByteArray bytes;
    for (const QString &entry : entries)
        bytes += shiftJis(entry.left(2) + u',' + entry.mid(3, 2) + u',' + entry.mid(6, 2) + u',' +
                          entry.mid(9, 2) + u',' + entry.mid(12, 2) + u",\""_qs +
                          entry.mid(18, 30) + u'"') +
                 "\r\n";
    files[name] = bytes;
    savedEntries[name] = entries;
    fileReady = -1;
    status = u"データを保存しました"_qs;
}

void EditorModel::move(int columns, int rows)
{
    const auto before = dots;
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 7; ++r)
            dots[(c + columns + 5) % 5][(r + rows + 7) % 7] = before[c][r];
    gridToData();
}

void EditorModel::mirror(bool leftToRight)
{
    const auto before = dots;
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 7; ++r)
            dots[leftToRight ? 4 - c : c][leftToRight ? r : 6 - r] = before[c][r];
    gridToData();
}

void EditorModel::pasteGlyphLine(const std::array<QString, 5> &written,
                                 const std::array<int, 5> &values, const QString &lineName)
{
    if (std::any_of(values.begin(), values.end(), [](int v) { return v > 0x7F; }))
        return refuse(u"データの有効範囲は7Fまでです。"_qs);
    // The name as the name field would have taken it typed: 17 characters at most, and none
    // from the first that a glyph file cannot hold.
    QString kept;
    for (QChar c : lineName.left(17)) {
        if (shiftJis(c).isEmpty())
            break;
        kept += c;
    }
    name = kept;
    for (int f = 0; f < 5; ++f)
        writeCode(f, written[f]);
    dataToGrid();
}

void EditorModel::invert()
{
    for (auto &column : dots)
        for (bool &dot : column)
            dot = !dot;
    gridToData();
    ++beeps;
    status = u"白黒反転処理をしました"_qs;
}

EditorModel::Shown EditorModel::shown() const
{
    return {dots, codes, name, entries, fileName, fileReady, selected};
}

void EditorModel::step(StepKind kind, int field, const std::function<void()> &action)
{
    const Shown before = shown();
    const Focus focusBefore = focus;
    const bool typingGoesOn = kind == StepKind::Typing && typingField == field;
    listReplaced = false;
    action();
    const Shown after = shown();
    const bool file = kind == StepKind::FileChange;
    // A list read from a file is a change, even where it reads as the one it replaced.
    const bool changed =
        after.dots != before.dots || after.codes != before.codes || after.name != before.name ||
        after.entries != before.entries || listReplaced ||
        (file && (after.fileName != before.fileName || after.fileReady != before.fileReady));
    if (!changed || kind == StepKind::None) {
        // Nothing happened that anyone heard of: a refused character, a click on the field
        // that has the focus. A move of the focus or any command ends a run of typing.
        if (focus != focusBefore || (kind != StepKind::Typing && kind != StepKind::Pasting))
            typingField = -1;
        return;
    }
    redoSteps.clear();
    typingField = kind == StepKind::Typing ? field : -1;
    if (typingGoesOn && !undoSteps.empty()) {
        undoSteps.back().after = after;
        // Typing taken back to where it began is no step.
        if (after == undoSteps.back().before) {
            undoSteps.pop_back();
            typingField = -1;
        }
        return;
    }
    undoSteps.push_back({before, after, file});
}

void EditorModel::show(const Shown &to, const Step &step)
{
    dots = to.dots;
    for (int f = 0; f < 5; ++f)
        writeCode(f, to.codes[f]);
    name = to.name;
    // Undo is a way back, not a removal: the selection is as it was.
    selected = to.selected;
    entries = to.entries;
    if (step.file) {
        fileName = to.fileName;
        fileReady = to.fileReady;
    }
    typingField = -1;
}

void EditorModel::undo()
{
    travel(undoSteps, redoSteps, true);
}

void EditorModel::redo()
{
    travel(redoSteps, undoSteps, false);
}

void EditorModel::travel(std::vector<Step> &from, std::vector<Step> &to, bool undoing)
{
    typingField = -1;
    if (from.empty())
        return;
    const Step step = from.back();
    from.pop_back();
    show(undoing ? step.before : step.after, step);
    to.push_back(step);
}

} // namespace glimra
