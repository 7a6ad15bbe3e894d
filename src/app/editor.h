// SPDX-License-Identifier: MIT
#pragma once

#include "app/commandgate.h"
#include "files/filecommands.h"
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

/// The running editor: the main window, the operations on it, and which event runs which
/// operation.
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
    GlyphEditor &glyphEditor() { return m_glyphs; }
    FileCommands &fileCommands() { return m_files; }
    VersionDialog *versionDialog() const { return m_version; }
    NewDataDialog *newDataDialog() const { return m_newData; }

    void openVersionDialog();
    void openNewDataDialog();
    /// Opens `name` as the toolbar Open does once its dialog has given it.
    void openFile(const QString &name);

private:
    void run(Command command);
    /// Connects `signal` of `sender` to `handler`, through the gate.
    template <typename Sender, typename Signal, typename Handler>
    void route(Sender *sender, Signal signal, Handler handler);
    void closeDialogs();
    void place(QWidget *dialog);
    void bringForward(QWidget *dialog);

    CommandGate m_gate; // every operation's platform
    MainWindow m_main;
    GlyphEditor m_glyphs;
    GlyphList m_list;
    ClipboardExport m_clipboard;
    FileCommands m_files;
    NewCommand m_new;
    QPointer<VersionDialog> m_version;
    QPointer<NewDataDialog> m_newData;
};

} // namespace glimra
