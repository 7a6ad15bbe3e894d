// SPDX-License-Identifier: MIT
#include "editormodel.h"
#include "testeditor.h"
#include "testfiles.h"
#include "ui/dotgrid.h"
#include "ui/newdatadialog.h"

#include <rapidcheck.h>
#include <rapidcheck/state.h>
#include <sstream>

// Random sessions of user actions, each run through the real main window and through the
// model of the design; after every step everything the user can see must agree. A
// mismatch is shrunk by RapidCheck to the shortest session that still fails.

namespace glimra {

using Model = EditorModel;

/// The files every session starts with: a folder with a glyph file's name, and a file of
/// which only the first line can be read.
const QByteArray PartlyReadable = "41,00,00,00,00,\"A\"\r\n\r\n42,00,00,00,00,\"B\"\r\n";

Model startingModel()
{
    Model m;
    m.files[u"folder.glm"_qs] = std::nullopt;
    m.files[u"partial.glm"_qs] = PartlyReadable;
    return m;
}

struct Sut
{
    QTemporaryDir dir;
    TestEditor e;
    Sut()
    {
        QDir(dir.path()).mkdir(u"folder.glm"_qs);
        writeFileBytes(dir.filePath(u"partial.glm"_qs), PartlyReadable);
    }
    QString path(const QString &name) const { return name.isEmpty() ? name : dir.filePath(name); }
};

namespace {

int stepsRun = 0;
int pastesRun = 0;
int strokesRun = 0; // that went further than the pressed dot

/// Fails the step with both sides spelled out.
template <typename T> void expectSame(const char *what, const T &model, const T &window)
{
    if (model == window)
        return;
    QString text;
    QDebug(&text) << what << "\n  model: " << model << "\n  window:" << window;
    RC_FAIL(text.toStdString());
}

Model::Focus focusOf(TestEditor &e)
{
    const QWidget *focus = QApplication::focusWidget();
    for (int f = 0; f <= int(Field::DataName); ++f)
        if (focus == e.field(Field(f)))
            return Model::Focus(f);
    return focus == e.window().list() ? Model::List : Model::Elsewhere;
}

void compare(const Model &m, Sut &sut)
{
    TestEditor &e = sut.e;
    QStringList modelDots, windowDots, previews;
    for (int c = 1; c <= ColumnCount; ++c)
        for (int r = 1; r <= RowCount; ++r) {
            modelDots << (m.dots[c - 1][r - 1] ? u"#"_qs : u"."_qs);
            windowDots << (e.window().dot(c, r) ? u"#"_qs : u"."_qs);
            previews << (e.window().previewDot(c, r) ? u"#"_qs : u"."_qs);
        }
    expectSame("dots", modelDots.join(QString()), windowDots.join(QString()));
    expectSame("preview cells", windowDots.join(QString()), previews.join(QString()));
    expectSame("codes", QStringList(m.codes.begin(), m.codes.end()), e.codes());
    expectSame("name", m.name, e.text(Field::DataName));
    QStringList entries;
    for (int i = 0; i < e.entries().count(); ++i)
        entries << e.entries().entry(i);
    expectSame("entries", m.entries, entries);
    expectSame("selected entry", m.selected, e.window().selectedIndex());
    expectSame("quick preview", m.quickPreview, e.window().quickPreview());
    expectSame("status", m.status, e.window().status());
    expectSame("messages", m.messages, e.platform.messages);
    expectSame("beeps", m.beeps, e.platform.beeps);
    expectSame("clipboard", m.clipboard, e.platform.clipboard);
    expectSame("focus", int(m.focus), int(focusOf(e)));
    expectSame("file name", sut.path(m.fileName), e.editor->fileCommands().fileName());
    expectSame("file_ready", m.fileReady, int(e.editor->fileCommands().fileReady()));
    expectSame("open dialogs", m.openDialogs, int(e.platform.openAsked.size()));
    expectSame("save dialogs", m.saveDialogs, int(e.platform.saveAsked.size()));
    for (const auto &[name, bytes] : m.files) {
        const QFileInfo info(sut.path(name));
        if (!bytes)
            expectSame(qPrintable(name + u" is a folder"_qs), true, info.isDir());
        else
            expectSame(qPrintable(name), *bytes, fileBytes(info.filePath()));
    }
    // No file that the model does not know of.
    QStringList names;
    for (const auto &file : m.files)
        names << file.first;
    expectSame("files", names, folderEntries(sut.dir.path()));
}

/// One user action: `act` on the model, `drive` on the window, `name` for the printout.
template <typename Derived> struct Step : rc::state::Command<Model, Sut>
{
    /// What kind of step of the history the action is.
    Model::StepKind kind() const { return Model::StepKind::Change; }
    /// The field typed or pasted into.
    int typedField(const Model &) const { return -1; }
    void apply(Model &m) const override
    {
        const Derived &self = *static_cast<const Derived *>(this);
        m.step(self.kind(), self.typedField(m), [&] { self.act(m); });
    }
    void run(const Model &m0, Sut &sut) const override
    {
        static_cast<const Derived *>(this)->drive(sut);
        ++stepsRun;
        compare(nextState(m0), sut);
    }
    void show(std::ostream &os) const override
    {
        os << static_cast<const Derived *>(this)->name().toStdString();
    }
};

/// A press on a dot, then the pointer moved with the button held: to a neighbouring cell,
/// off the grid, and from there back at any cell; a plain click moves nowhere.
struct Stroke : Step<Stroke>
{
    Stroke() = default;
    Stroke(int c, int r) : column(c), row(r), moves() {} // a click
    int column = *rc::gen::inRange(1, ColumnCount + 1);
    int row = *rc::gen::inRange(1, RowCount + 1);
    // 0 to 3 a step left, right, up or down (off the grid past an edge), 4 off the grid,
    // 5 on back at cell 5 + index when off the grid, else a step as 0 to 3.
    std::vector<int> moves = *rc::gen::weightedOneOf<std::vector<int>>(
        {{1, rc::gen::just(std::vector<int>())},
         {2,
          rc::gen::container<std::vector<int>>(rc::gen::inRange(0, 5 + ColumnCount * RowCount))}});

    /// Where the pointer is after each move: a cell, or none off the grid.
    std::vector<std::optional<std::pair<int, int>>> path() const
    {
        std::vector<std::optional<std::pair<int, int>>> places{std::pair{column, row}};
        for (int move : moves) {
            const auto at = places.back();
            if (move == 4 || (!at && move < 5)) {
                places.push_back(std::nullopt);
            } else if (!at) {
                places.push_back(std::pair{(move - 5) / RowCount + 1, (move - 5) % RowCount + 1});
            } else {
                const int steps[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
                const int c = at->first + steps[move % 4][0], r = at->second + steps[move % 4][1];
                const bool inside = c >= 1 && c <= ColumnCount && r >= 1 && r <= RowCount;
                places.push_back(inside ? std::optional{std::pair{c, r}} : std::nullopt);
            }
        }
        return places;
    }
    void act(Model &m) const
    {
        std::vector<std::pair<int, int>> cells;
        for (const auto &place : path()) {
            if (place)
                cells.push_back(*place);
        }
        m.stroke(cells);
    }
    void drive(Sut &sut) const
    {
        // Off the grid is over the preview, which takes no part.
        DotGrid *grid = sut.e.window().grid();
        DotGrid *preview = sut.e.window().preview();
        QList<QPoint> points;
        for (const auto &place : path())
            points << (place ? sut.e.cellCentre(place->first, place->second)
                             : preview->geometry().center() - grid->pos());
        sut.e.stroke(points);
        strokesRun += moves.empty() ? 0 : 1;
    }
    QString name() const
    {
        QStringList places;
        for (const auto &place : path())
            places << (place ? u"dot%1%2"_qs.arg(place->first).arg(place->second) : u"off"_qs);
        return u"stroke "_qs + places.join(u'-');
    }
};

struct FocusCode : Step<FocusCode>
{
    FocusCode() = default;
    explicit FocusCode(int f) : field(f) {}
    int field = *rc::gen::inRange(0, ColumnCount);
    void apply(Model &m) const override { act(m); } // moves the focus: no step
    void act(Model &m) const { m.focusCode(field); }
    void drive(Sut &sut) const { sut.e.field(Field(field))->setFocus(Qt::TabFocusReason); }
    QString name() const { return u"Tab to data_%1"_qs.arg(QChar(u'a' + field)); }
};

struct TypeCode : Step<TypeCode>
{
    Model::StepKind kind() const { return Model::StepKind::Typing; }
    int typedField(const Model &m) const { return m.focus; }
    TypeCode() = default;
    explicit TypeCode(char typed) : c(QChar(typed)) {}
    // Mostly hexadecimal digits of either case, sometimes what a code cannot hold.
    QChar c = QChar(*rc::gen::weightedOneOf<char>(
        {{8, rc::gen::elementOf(std::string("0123456789ABCDEFabcdef"))},
         {1, rc::gen::elementOf(std::string("gGxz !-+.8"))}}));
    void checkPreconditions(const Model &m) const override { RC_PRE(m.focus < Model::Name); }
    void act(Model &m) const { m.typeCode(c); }
    void drive(Sut &) const { QTest::keyClicks(QApplication::focusWidget(), QString(c)); }
    QString name() const { return u"type '%1'"_qs.arg(c); }
};

struct TypeName : Step<TypeName>
{
    Model::StepKind kind() const { return Model::StepKind::Typing; }
    int typedField(const Model &) const { return Model::Name; }
    TypeName() = default;
    explicit TypeName(char typed) : c(QChar(typed)) {}
    QChar c = QChar(*rc::gen::elementOf(std::u16string(u"AZaz09 _かなカナ漢字絵öö€")));
    void act(Model &m) const { m.typeName(c); }
    void drive(Sut &sut) const
    {
        TestEditor &e = sut.e;
        TextField *name = e.field(Field::DataName);
        name->setFocus(Qt::MouseFocusReason);
        name->end(false);
        TestEditor::commit(name, QString(c));
    }
    QString name() const { return u"type '%1' at the end of the name"_qs.arg(c); }
};

struct PasteName : Step<PasteName>
{
    Model::StepKind kind() const { return Model::StepKind::Pasting; }
    int typedField(const Model &) const { return Model::Name; }
    PasteName() = default;
    explicit PasteName(const QString &pasted) : text(pasted) {}
    QString text = QString::fromStdU16String(*rc::gen::container<std::u16string>(
        *rc::gen::inRange(1, 25), rc::gen::elementOf(std::u16string(u"AZ09 かな漢字絵ö"))));
    void act(Model &m) const { m.pasteName(text); }
    void drive(Sut &sut) const
    {
        TextField *name = sut.e.field(Field::DataName);
        name->setFocus(Qt::MouseFocusReason);
        name->end(false);
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    }
    QString name() const { return u"paste '%1' at the end of the name"_qs.arg(text); }
};

struct Add : Step<Add>
{
    void act(Model &m) const { m.add(); }
    void drive(Sut &sut) const { sut.e.clickControl("data_add"); }
    QString name() const { return u"Add"_qs; }
};

struct Delete : Step<Delete>
{
    void act(Model &m) const { m.remove(); }
    void drive(Sut &sut) const { sut.e.clickControl("data_delete"); }
    QString name() const { return u"Delete"_qs; }
};

/// A click on an entry of the list.
template <typename Derived> struct EntryStep : Step<Derived>
{
    EntryStep() = default;
    explicit EntryStep(int r) : row(r) {}
    int row = *rc::gen::inRange(0, 8);
    void checkPreconditions(const Model &m) const override { RC_PRE(row < m.entries.size()); }
    void click(Sut &sut, Qt::KeyboardModifiers modifiers) const
    {
        ListBox *list = sut.e.window().list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->rowRect(row).center());
    }
};

struct ClickEntry : EntryStep<ClickEntry>
{
    using EntryStep::EntryStep;
    void act(Model &m) const { m.clickEntry(row); }
    void drive(Sut &sut) const { click(sut, {}); }
    QString name() const { return u"click entry %1"_qs.arg(row); }
};

struct CtrlClickEntry : EntryStep<CtrlClickEntry>
{
    void act(Model &m) const { m.ctrlClickEntry(row); }
    void drive(Sut &sut) const { click(sut, Qt::ControlModifier); }
    QString name() const { return u"Ctrl+click entry %1"_qs.arg(row); }
};

struct ArrowKey : Step<ArrowKey>
{
    bool down = *rc::gen::arbitrary<bool>();
    void checkPreconditions(const Model &m) const override
    {
        // Up with nothing selected starts from wherever a removal left Qt's current row.
        RC_PRE(m.focus == Model::List && !m.entries.isEmpty() && (down || m.selected >= 0));
    }
    void act(Model &m) const { m.arrowKey(down ? 1 : -1); }
    void drive(Sut &sut) const
    {
        TestEditor &e = sut.e;
        QTest::keyClick(e.window().list(), down ? Qt::Key_Down : Qt::Key_Up);
    }
    QString name() const { return down ? u"Down in the list"_qs : u"Up in the list"_qs; }
};

struct Read : Step<Read>
{
    void act(Model &m) const { m.read(); }
    void drive(Sut &sut) const { sut.e.clickControl("data_read"); }
    QString name() const { return u"Read"_qs; }
};

struct QuickPreview : Step<QuickPreview>
{
    Model::StepKind kind() const { return Model::StepKind::None; }
    void act(Model &m) const { m.toggleQuickPreview(); }
    void drive(Sut &sut) const { sut.e.window().action(glimra::Command::QuickPreview)->trigger(); }
    QString name() const { return u"toggle quick preview"_qs; }
};

struct Invert : Step<Invert>
{
    void act(Model &m) const { m.invert(); }
    void drive(Sut &sut) const { sut.e.clickControl("reverse"); }
    QString name() const { return u"Invert"_qs; }
};

struct Copy : Step<Copy>
{
    Model::StepKind kind() const { return Model::StepKind::None; }
    Copy() = default;
    explicit Copy(bool menu) : fromMenu(menu) {}
    bool fromMenu = *rc::gen::arbitrary<bool>();
    void act(Model &m) const { m.copy(fromMenu); }
    void drive(Sut &sut) const
    {
        TestEditor &e = sut.e;
        if (fromMenu)
            e.window().action(glimra::Command::CopyFromMenu)->trigger();
        else
            e.clickControl("icon_copy");
    }
    QString name() const { return fromMenu ? u"Edit → copy"_qs : u"toolbar copy"_qs; }
};

struct New : Step<New>
{
    bool newFile = *rc::gen::arbitrary<bool>();
    Model::StepKind kind() const
    {
        return newFile ? Model::StepKind::FileChange : Model::StepKind::Change;
    }
    void act(Model &m) const { newFile ? m.newFile() : m.newData(); }
    void drive(Sut &sut) const
    {
        TestEditor &e = sut.e;
        e.clickControl("icon_new");
        NewDataDialog *dialog = e.editor->newDataDialog();
        RC_ASSERT(QTest::qWaitForWindowActive(dialog));
        auto *choice = dialog->findChild<QWidget *>(newFile ? "newfile" : "newdata");
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(4, choice->height() / 2));
        auto *ok = dialog->findChild<QWidget *>("Command1");
        QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
        // Back to the main window, as the user's desktop gives it back.
        e.window().activateWindow();
        RC_ASSERT(QTest::qWaitForWindowActive(&e.window()));
    }
    QString name() const
    {
        return newFile ? u"New → 新規ファイルの作成, OK"_qs : u"New → 新規データの作成, OK"_qs;
    }
};

/// A file name that the user picks in a dialog: one saved earlier in the session, or not
/// yet, a folder, or none (the dialog cancelled); and, to open, also the partly readable
/// file and one that is missing.
QString chosenName(bool toOpen)
{
    std::vector<std::string> names{"a.glm", "b.glm", "a.glm", "b.glm", "folder.glm", ""};
    if (toOpen)
        names.insert(names.end(), {"partial.glm", "missing.glm"});
    return QString::fromStdString(*rc::gen::elementOf(names));
}

struct Open : Step<Open>
{
    Model::StepKind kind() const { return Model::StepKind::FileChange; }
    Open() = default;
    Open(const QString &name, bool toolbar) : chosen(name), fromToolbar(toolbar) {}
    QString chosen = chosenName(true);
    bool fromToolbar = *rc::gen::arbitrary<bool>();
    void act(Model &m) const { m.open(chosen, fromToolbar); }
    void drive(Sut &sut) const
    {
        sut.e.platform.openAnswers = QStringList{sut.path(chosen)};
        if (fromToolbar)
            sut.e.clickControl("icon_open");
        else
            sut.e.window().action(glimra::Command::OpenFromMenu)->trigger();
    }
    QString name() const
    {
        return (fromToolbar ? u"toolbar Open"_qs : u"File → Open"_qs) +
               (chosen.isEmpty() ? u", cancelled"_qs : u" of "_qs + chosen);
    }
};

struct Save : Step<Save>
{
    Model::StepKind kind() const { return Model::StepKind::None; }
    Save() = default;
    Save(const QString &name, bool toolbar) : chosen(name), fromToolbar(toolbar) {}
    QString chosen = chosenName(false);
    bool fromToolbar = *rc::gen::arbitrary<bool>();
    void act(Model &m) const { fromToolbar ? m.saveFromToolbar(chosen) : m.saveWithName(chosen); }
    void drive(Sut &sut) const
    {
        sut.e.platform.saveAnswers = QStringList{sut.path(chosen)};
        if (fromToolbar)
            sut.e.clickControl("icon_save");
        else
            sut.e.window().action(glimra::Command::SaveWithName)->trigger();
        sut.e.platform.saveAnswers.clear(); // not asked: the toolbar Save wrote at once
    }
    QString name() const
    {
        return (fromToolbar ? u"toolbar Save"_qs : u"File → Save as"_qs) +
               (chosen.isEmpty() ? u", a dialog cancelled"_qs
                                 : u", a dialog would answer "_qs + chosen);
    }
};

/// Alt with an arrow, H or V, pressed where the focus is: the glyph moves or is mirrored.
struct MoveOrMirror : Step<MoveOrMirror>
{
    MoveOrMirror() = default;
    explicit MoveOrMirror(int which) : key(which) {}
    int key = *rc::gen::inRange(0, 6);
    static constexpr Qt::Key Keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                       Qt::Key_Down, Qt::Key_H,     Qt::Key_V};
    void act(Model &m) const
    {
        const int moves[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        if (key < 4)
            m.move(moves[key][0], moves[key][1]);
        else
            m.mirror(key == 4);
    }
    void drive(Sut &sut) const
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &sut.e.window(), Keys[key], Qt::AltModifier);
    }
    QString name() const
    {
        return u"Alt+"_qs +
               QStringList{u"Left"_qs, u"Right"_qs, u"Up"_qs, u"Down"_qs, u"H"_qs, u"V"_qs}[key];
    }
};

/// Ctrl+C pressed where the focus is, with no text selected: the Edit menu's copy.
struct CopyKey : Step<CopyKey>
{
    Model::StepKind kind() const { return Model::StepKind::None; }
    void act(Model &m) const { m.copy(true); }
    void drive(Sut &sut) const
    {
        QWidget *focus = QApplication::focusWidget();
        if (auto *field = qobject_cast<QLineEdit *>(focus))
            field->deselect();
        QTest::keyClick(focus ? focus : &sut.e.window(), Qt::Key_C, Qt::ControlModifier);
    }
    QString name() const { return u"Ctrl+C"_qs; }
};

/// Ctrl+V with a glyph line on the clipboard, in one of the forms a line may take, with the
/// focus in a code field, the list or elsewhere; or with text that is no glyph line, where
/// the focus is not in a field.
struct PasteLine : Step<PasteLine>
{
    PasteLine() = default;
    PasteLine(int f, std::array<int, 5> v, const QString &n)
        : form(f), values(v), lower(false), lineName(n)
    {
    }
    int form = *rc::gen::inRange(0, 7); // 6: no glyph line
    std::array<int, 5> values = [] {
        std::array<int, 5> v{};
        for (int &value : v)
            value = *rc::gen::weightedOneOf<int>(
                {{12, rc::gen::inRange(0, 0x80)}, {1, rc::gen::inRange(0x80, 0x100)}});
        return v;
    }();
    bool lower = *rc::gen::arbitrary<bool>();
    QString lineName = QString::fromStdU16String(*rc::gen::container<std::u16string>(
        *rc::gen::inRange(0, 22), rc::gen::elementOf(std::u16string(u"AZ09 かな漢字ö,\""))));
    void checkPreconditions(const Model &m) const override
    {
        RC_PRE(m.focus != Model::Name && (form < 6 || m.focus >= Model::List));
    }
    std::array<QString, 5> written() const
    {
        std::array<QString, 5> codes;
        for (int f = 0; f < 5; ++f) {
            codes[f] = QString::number(values[f], 16).rightJustified(2, u'0');
            codes[f] = lower && form < 2 ? codes[f].toLower() : codes[f].toUpper();
        }
        return codes;
    }
    QString text() const
    {
        const std::array<QString, 5> codes = written();
        const QStringList list(codes.begin(), codes.end());
        QStringList bare;
        for (int v : values)
            bare << QString::number(v, 16).toUpper();
        switch (form) {
        case 0: // the editor's own copy
            return list.join(u' ') + u"    "_qs + lineName;
        case 1: // a glyph file line
            return list.join(u',') + u",\""_qs + lineName + u'"';
        case 2: // a C initialiser
            return u"{0x"_qs + bare.join(u", 0x"_qs) + u"};"_qs;
        case 3: // BASIC
            return u"&H"_qs + bare.join(u",&H"_qs);
        case 4:
            return u"$"_qs + bare.join(u" $"_qs);
        case 5:
            return bare.join(u"h "_qs) + u"h"_qs;
        }
        return u"not a glyph "_qs + lineName;
    }
    void act(Model &m) const
    {
        if (form == 6)
            return; // text pasted where no field is: nothing
        // Only the first two forms hold a name; the name of a line that holds a quote or a
        // comma in the wrong place is still the line's.
        m.pasteGlyphLine(written(), values, form < 2 ? lineName : QString());
    }
    void drive(Sut &sut) const
    {
        ++pastesRun;
        QGuiApplication::clipboard()->setText(text());
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &sut.e.window(), Qt::Key_V, Qt::ControlModifier);
    }
    QString name() const { return u"Ctrl+V of '%1'"_qs.arg(text()); }
};

/// Ctrl+Z, or Ctrl+Y or Ctrl+Shift+Z, pressed where the focus is.
struct UndoRedo : Step<UndoRedo>
{
    UndoRedo() = default;
    UndoRedo(bool undoing, bool shifted) : undo(undoing), shift(shifted) {}
    bool undo =
        *rc::gen::weightedOneOf<bool>({{2, rc::gen::just(true)}, {1, rc::gen::just(false)}});
    bool shift = *rc::gen::arbitrary<bool>();
    void apply(Model &m) const override { act(m); }
    void act(Model &m) const { undo ? m.undo() : m.redo(); }
    void drive(Sut &sut) const
    {
        QWidget *focus = QApplication::focusWidget();
        QWidget *target = focus ? focus : &sut.e.window();
        if (undo)
            QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        else
            QTest::keyClick(target, shift ? Qt::Key_Z : Qt::Key_Y,
                            shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    }
    QString name() const { return undo ? u"Ctrl+Z"_qs : shift ? u"Ctrl+Shift+Z"_qs : u"Ctrl+Y"_qs; }
};

/// Runs sessions from `seed` until `steps` actions have passed or one fails; the failure
/// message holds the seed and the shrunk session.
bool runSessions(std::uint64_t seed, int steps, std::string *failure)
{
    rc::detail::TestParams params;
    params.seed = seed;
    params.maxSize = 100;
    params.maxSuccess = std::max(1, steps / 26); // a session runs about 26 actions on average
    const auto result = rc::detail::checkTestable(
        [] {
            Sut sut;
            rc::state::check(
                startingModel(), sut,
                rc::state::gen::execOneOfWithArgs<
                    Stroke, FocusCode, TypeCode, TypeName, PasteName, Add, Delete, ClickEntry,
                    CtrlClickEntry, ArrowKey, Read, QuickPreview, Invert, Copy, New, Open, Save,
                    UndoRedo, UndoRedo, MoveOrMirror, CopyKey, PasteLine>());
        },
        rc::detail::TestMetadata{}, params);
    if (result.is<rc::detail::SuccessResult>())
        return true;
    std::ostringstream out;
    out << "seed " << seed << ": ";
    rc::detail::printResultMessage(result, out);
    *failure = out.str();
    return false;
}

using Session = rc::state::Commands<rc::state::Command<Model, Sut>>;
template <typename... Steps> Session session(Steps &&...steps)
{
    return {std::make_shared<const std::decay_t<Steps>>(std::forward<Steps>(steps))...};
}

/// Shrunk sessions that once failed, from the model or from a fault put in the window on
/// purpose, and the design rule each one holds to.
const std::vector<std::pair<const char *, Session>> &fixedSessions()
{
    static const std::vector<std::pair<const char *, Session>> sessions{
        {"focusing the field that has the focus selects nothing again",
         session(FocusCode(1), Invert(), FocusCode(1), TypeCode('C'))},
        {"a click on a push button takes the focus", session(FocusCode(0), Read())},
        {"the selection goes with the deleted entry",
         session(Stroke(1, 1), TypeName('A'), Add(), ClickEntry(0), Delete(), Read())},
        {"Add clears the code fields' typing",
         session(FocusCode(0), TypeCode('1'), TypeName('0'), Add())},
        {"the toolbar copy's own beep", session(Copy(false))},
        {"a complete open clears an earlier open's warning",
         session(Open(u"missing.glm"_qs, true), Save(u"a.glm"_qs, false), Open(u"a.glm"_qs, true))},
        {"a paste is cut to the room left",
         session(TypeName('A'), PasteName(u"かな漢字絵AZ09かな漢字絵AZ09"_qs))},
        {"Ctrl+Z right after start-up takes nothing back", session(UndoRedo(true, false))},
        {"a code typed in one field is one step with the grid it redrew",
         session(FocusCode(0), TypeCode('4'), TypeCode('f'), UndoRedo(true, false))},
        {"a pasted line's name cut to 17 and before what no file holds, a code above 7F refused",
         session(PasteLine(0, {0x7F, 8, 8, 8, 0x7F}, QString(20, u'n')),
                 PasteLine(1, {1, 2, 3, 4, 5}, u"ab\u00F6cd"_qs),
                 PasteLine(2, {0x80, 0, 0, 0, 0}, {}), UndoRedo(true, false))},
        {"an Open that reads the same list again is a step all the same",
         session(PasteName(u"A"_qs), Stroke(1, 1), Add(), Save(u"b.glm"_qs, false),
                 Open(u"b.glm"_qs, false), UndoRedo(true, false), UndoRedo(false, true))},
    };
    return sessions;
}

} // namespace

class TestSessions : public QObject
{
    Q_OBJECT
private slots:
    void sessionsAgreeWithTheModel_data();
    void sessionsAgreeWithTheModel();
    void fixedSessionsAgreeWithTheModel_data();
    void fixedSessionsAgreeWithTheModel();
};

void TestSessions::sessionsAgreeWithTheModel_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("steps");
    const QByteArray soak = qgetenv("GLIMRA_SOAK_SEED");
    if (!soak.isEmpty()) {
        QTest::newRow("soak") << soak.toULongLong()
                              << qEnvironmentVariableIntValue("GLIMRA_SOAK_STEPS");
        return;
    }
    for (quint64 seed : {1, 2, 3, 4})
        QTest::addRow("seed %llu", seed) << seed << 5000;
}

void TestSessions::sessionsAgreeWithTheModel()
{
    // Every session shows a new window, and the offscreen platform says so each time.
    static const QtMessageHandler qtHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.contains(u"propagateSizeHints"))
                qtHandler(type, context, text);
        });
    QFETCH(quint64, seed);
    QFETCH(int, steps);
    std::string failure;
    stepsRun = 0;
    pastesRun = 0;
    strokesRun = 0;
    QVERIFY2(runSessions(seed, steps, &failure), failure.c_str());
    qInfo("%d steps from seed %llu, %d glyph line pastes, %d strokes", stepsRun, seed, pastesRun,
          strokesRun);
}

void TestSessions::fixedSessionsAgreeWithTheModel_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < fixedSessions().size(); ++i)
        QTest::newRow(fixedSessions()[i].first) << int(i);
}

void TestSessions::fixedSessionsAgreeWithTheModel()
{
    QFETCH(int, index);
    Sut sut;
    try {
        rc::state::runAll(fixedSessions()[std::size_t(index)].second, startingModel(), sut);
    } catch (const rc::detail::CaseResult &result) {
        QFAIL(result.description.c_str());
    }
}

} // namespace glimra

QTEST_MAIN(glimra::TestSessions)
#include "tst_sessions.moc"
