// SPDX-License-Identifier: MIT
#pragma once

#include "app/commandgate.h"
#include "app/importcommand.h"
#include "document/entrymodel.h"
#include "document/history.h"
#include "files/filecommands.h"
#include "files/linepaste.h"
#include "files/newcommand.h"
#include "glyph/glypheditor.h"
#include "list/clipboardexport.h"
#include "list/glyphlist.h"
#include "ui/mainwindow.h"
#include "ui/newdatadialog.h"
#include "ui/versiondialog.h"

#include <QObject>
#include <QPointer>

namespace glimra {

class PlatformServices;

/// The running editor: the main window, the list it shows, the operations on them, their
/// history, and which event runs which operation.
class Editor : public QObject
{
    Q_OBJECT
public:
    explicit Editor(PlatformServices &platform);
    ~Editor() override;

    /// The main window's load: five "00" codes, nothing else.
    void startUp();
    void show();

    MainWindow &mainWindow() { return m_main; }
    EntryModel &entries() { return m_entries; }
    History &history() { return m_history; }
    GlyphEditor &glyphEditor() { return m_glyphs; }
    FileCommands &fileCommands() { return m_files; }
    VersionDialog *versionDialog() const { return m_version; }
    NewDataDialog *newDataDialog() const { return m_newData; }

    void openVersionDialog();
    void openNewDataDialog();
    /// Opens `name` as the toolbar Open does once its dialog has given it, or, for a file
    /// of another program's format, as glimra-convert reads it.
    void openFile(const QString &name);

private:
    /// Runs an event's `handler` through the gate, as a step of `kind` of the history.
    void perform(StepKind kind, std::function<void()> handler, Field field = Field::DataName);
    void run(Command command);
    static StepKind stepOf(Command command);
    static StepKind stepOf(TextField::Change how);
    void closeDialogs();
    void place(QWidget *dialog);
    void bringForward(QWidget *dialog);

    CommandGate m_gate;   // every operation's platform
    EntryModel m_entries; // before the window that shows it, so that it outlives it
    MainWindow m_main;
    GlyphEditor m_glyphs;
    GlyphList m_list;
    ClipboardExport m_clipboard;
    FileCommands m_files;
    NewCommand m_new;
    ImportCommand m_import;
    LinePaste m_paste;
    History m_history;
    QPointer<VersionDialog> m_version;
    QPointer<NewDataDialog> m_newData;
};

} // namespace glimra
