// SPDX-License-Identifier: MIT
#include "app/editor.h"

#include "core/newchoice.h"
#include "core/platformservices.h"
#include "ui/listbox.h"
#include "ui/twips.h"

#include <QApplication>

namespace glimra {

Editor::Editor(PlatformServices &platform)
    : m_gate(platform), m_glyphs(m_main, m_gate), m_list(m_main, m_entries, m_gate, m_glyphs),
      m_clipboard(m_main, m_gate, m_glyphs), m_files(m_main, m_entries, m_gate),
      m_new(m_entries, m_glyphs, m_files), m_import(m_main, m_entries, m_files, m_gate),
      m_paste(m_main, m_gate, m_glyphs), m_history(m_main, m_entries, m_files)
{
    m_main.list()->setModel(&m_entries);
    connect(&m_main, &MainWindow::dotPressed, this, [this](int column, int row) {
        perform(StepKind::Stroke, [=, this] { m_glyphs.toggleDot(column, row); });
    });
    connect(&m_main, &MainWindow::dotStroked, this, [this](int column, int row, bool on) {
        perform(StepKind::Stroke, [=, this] { m_glyphs.setDot(column, row, on); });
    });
    // Held with the strokes, so that a stroke held whole stays one step.
    connect(&m_main, &MainWindow::strokeEnded, this,
            [this] { m_gate.run([this] { m_history.endRun(); }); });
    connect(&m_main, &MainWindow::codeChanged, this, [this](Field field, TextField::Change how) {
        perform(
            stepOf(how), [=, this] { m_glyphs.codeFieldChanged(field); }, field);
    });
    // The name has no handling of its own; the history keeps what was typed or pasted.
    connect(&m_main, &MainWindow::nameChanged, this,
            [this](TextField::Change how) { perform(stepOf(how), [] {}); });
    connect(&m_main, &MainWindow::codeFocused, this, [this](Field field) {
        perform(StepKind::Change, [=, this] { m_glyphs.codeFieldFocused(field); });
    });
    connect(&m_main, &MainWindow::commandChosen, this,
            [this](Command command) { perform(stepOf(command), [=, this] { run(command); }); });
    connect(&m_main, &MainWindow::backgroundClicked, this,
            [this] { perform(StepKind::None, [this] { m_main.setStatus({}); }); });
    connect(&m_main, &MainWindow::filesDropped, this, [this](const QStringList &names) {
        perform(StepKind::FileChange, [=, this] {
            if (names.size() == 1 && ImportCommand::opens(names.first()))
                m_import.open(names.first());
            else
                m_files.openDropped(names);
        });
    });
    connect(&m_main, &MainWindow::closing, this,
            [this] { perform(StepKind::None, [this] { closeDialogs(); }); });
    // Characters typed after the focus has moved, even back, are a step of their own.
    connect(qApp, &QApplication::focusChanged, this, [this] { m_history.endRun(); });
    // Start-up writes the codes, which no one need hear.
    m_gate.run(
        [this] { m_history.record(StepKind::None, Field::DataName, [this] { startUp(); }); });
}

void Editor::perform(StepKind kind, std::function<void()> handler, Field field)
{
    m_gate.run([=, this] {
        const CodeTexts before = m_glyphs.codeTexts();
        const int undoable = m_history.undoCount(), redoable = m_history.redoCount();
        // An entry added or taken away shows only in the list: it is said.
        QStringList said;
        const auto listChanged = [this, &said](int first, int last, const char16_t *one,
                                               const char16_t *many) {
            said << (first == last ? QString::fromUtf16(one).arg(m_entries.entry(first))
                                   : QString::fromUtf16(many).arg(last - first + 1));
        };
        const QMetaObject::Connection added = connect(
            &m_entries, &EntryModel::rowsInserted, this,
            [&listChanged](const QModelIndex &, int first, int last) {
                listChanged(first, last, u"一覧に追加しました：%1", u"一覧に%1件追加しました");
            });
        const QMetaObject::Connection removed = connect(
            &m_entries, &EntryModel::rowsAboutToBeRemoved, this,
            [&listChanged](const QModelIndex &, int first, int last) {
                listChanged(first, last, u"一覧から削除しました：%1", u"一覧から%1件削除しました");
            });
        m_history.record(kind, field, handler);
        disconnect(added);
        disconnect(removed);
        // Undo and redo are steps of no kind; a new step also empties the redo list.
        if (kind == StepKind::None && m_history.undoCount() < undoable)
            said.prepend(QStringLiteral("元に戻しました"));
        else if (kind == StepKind::None && m_history.redoCount() < redoable)
            said.prepend(QStringLiteral("やり直しました"));
        // Whoever did not type the change into the field hears what the glyph came to.
        const CodeTexts after = m_glyphs.codeTexts();
        if (kind != StepKind::Typing && kind != StepKind::Pasting && after != before)
            said << QStringList(after.begin(), after.end()).join(u' ');
        for (const QString &text : std::as_const(said))
            m_main.announce(text);
    });
}

StepKind Editor::stepOf(TextField::Change how)
{
    switch (how) {
    case TextField::Change::Typed:
        return StepKind::Typing;
    case TextField::Change::Pasted:
        return StepKind::Pasting;
    case TextField::Change::Written:
        break;
    }
    // A write of the program's own is part of the command that makes it, or of none.
    return StepKind::None;
}

StepKind Editor::stepOf(Command command)
{
    switch (command) {
    case Command::Open:
    case Command::OpenFromMenu:
        return StepKind::FileChange;
    case Command::Save:
    case Command::SaveWithName:
    case Command::Copy:
    case Command::CopyFromMenu:
    case Command::QuickPreview:
    case Command::Version:
    case Command::End:
    case Command::New: // the dialog's OK is the step
    case Command::Undo:
    case Command::Redo:
    case Command::CopyByKey:
        return StepKind::None;
    case Command::Invert:
    case Command::Add:
    case Command::Delete:
    case Command::Read:
    case Command::Select:
    case Command::PasteByKey:
    case Command::MoveLeft:
    case Command::MoveRight:
    case Command::MoveUp:
    case Command::MoveDown:
    case Command::MirrorLeftRight:
    case Command::MirrorTopBottom:
        break;
    }
    return StepKind::Change;
}

Editor::~Editor()
{
    // The window goes after the history, and its focused field with it: the focus change
    // that this raises must find no history to end a run of.
    disconnect(qApp, nullptr, this, nullptr);
    delete m_version;
    delete m_newData;
}

void Editor::startUp()
{
    for (Field field : CodeFields)
        m_main.setText(field, QStringLiteral("00"));
}

void Editor::show()
{
    m_main.show();
}

void Editor::run(Command command)
{
    switch (command) {
    case Command::New:
        openNewDataDialog();
        break;
    case Command::Open:
        m_files.openFromToolbar();
        break;
    case Command::OpenFromMenu:
        m_files.openFromMenu();
        break;
    case Command::Save:
        m_files.saveFromToolbar();
        break;
    case Command::SaveWithName:
        m_files.saveWithName();
        break;
    case Command::Copy:
        m_clipboard.copyFromToolbar();
        break;
    case Command::CopyFromMenu:
        m_clipboard.copyFromMenu();
        break;
    case Command::Invert:
        m_glyphs.invert();
        break;
    case Command::Add:
        m_list.add();
        break;
    case Command::Delete:
        m_list.remove();
        break;
    case Command::Read:
        m_list.read();
        break;
    case Command::Select:
        m_list.select();
        break;
    case Command::QuickPreview:
        m_glyphs.toggleQuickPreview();
        break;
    case Command::Version:
        openVersionDialog();
        break;
    case Command::End:
        m_gate.endProgram();
        break;
    case Command::Undo:
        m_history.undo();
        break;
    case Command::CopyByKey:
        m_clipboard.copyFromMenu();
        break;
    case Command::PasteByKey:
        // Anything but a glyph line pastes as text, as it always has.
        if (!m_paste.paste(m_gate.clipboardText()))
            m_main.pasteIntoCodeField();
        break;
    case Command::MoveLeft:
        m_glyphs.move(-1, 0);
        break;
    case Command::MoveRight:
        m_glyphs.move(1, 0);
        break;
    case Command::MoveUp:
        m_glyphs.move(0, -1);
        break;
    case Command::MoveDown:
        m_glyphs.move(0, 1);
        break;
    case Command::MirrorLeftRight:
        m_glyphs.mirror(Qt::Horizontal);
        break;
    case Command::MirrorTopBottom:
        m_glyphs.mirror(Qt::Vertical);
        break;
    case Command::Redo:
        m_history.redo();
        break;
    }
}

void Editor::place(QWidget *dialog)
{
    dialog->move(offsetByTwips(m_main.frameGeometry().topLeft(), 200, 200));
}

void Editor::openVersionDialog()
{
    if (!m_version) {
        m_version = new VersionDialog;
        place(m_version);
    }
    bringForward(m_version);
}

void Editor::openNewDataDialog()
{
    if (!m_newData) {
        m_newData = new NewDataDialog;
        place(m_newData);
        connect(m_newData, &NewDataDialog::confirmed, this, [this](NewChoice choice) {
            const StepKind kind =
                choice == NewChoice::NewFile ? StepKind::FileChange : StepKind::Change;
            perform(kind, [=, this] {
                if (m_new.confirm(choice) && m_newData)
                    m_newData->close();
            });
        });
    }
    bringForward(m_newData);
}

void Editor::openFile(const QString &name)
{
    perform(StepKind::FileChange, [=, this] {
        if (ImportCommand::opens(name))
            m_import.open(name);
        else
            m_files.openNamed(name);
    });
}

void Editor::bringForward(QWidget *dialog)
{
    // Chosen again, a minimised dialog comes back too, not only to the top of the stack.
    dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void Editor::closeDialogs()
{
    if (m_version)
        m_version->close();
    if (m_newData)
        m_newData->close();
}

} // namespace glimra
