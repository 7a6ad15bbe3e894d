// SPDX-License-Identifier: MIT
#include "app/editor.h"

#include "core/platformservices.h"
#include "ui/twips.h"

namespace glimra {

template <typename Sender, typename Signal, typename Handler>
void Editor::route(Sender *sender, Signal signal, Handler handler)
{
    connect(sender, signal, this,
            [this, handler](auto... arguments) { m_gate.run([=] { handler(arguments...); }); });
}

Editor::Editor(PlatformServices &platform)
    : m_gate(platform), m_glyphs(m_main, m_gate), m_list(m_main, m_gate, m_glyphs),
      m_clipboard(m_main, m_gate, m_glyphs), m_files(m_main, m_gate),
      m_new(m_main, m_glyphs, m_files)
{
    route(&m_main, &MainWindow::dotClicked,
          [this](int column, int row) { m_glyphs.toggleDot(column, row); });
    route(&m_main, &MainWindow::codeChanged,
          [this](Field field) { m_glyphs.codeFieldChanged(field); });
    route(&m_main, &MainWindow::codeFocused,
          [this](Field field) { m_glyphs.codeFieldFocused(field); });
    route(&m_main, &MainWindow::commandChosen, [this](Command command) { run(command); });
    route(&m_main, &MainWindow::backgroundClicked, [this] { m_main.setStatus({}); });
    route(&m_main, &MainWindow::filesDropped,
          [this](const QStringList &names) { m_files.openDropped(names); });
    route(&m_main, &MainWindow::closing, [this] { closeDialogs(); });
    startUp();
}

Editor::~Editor()
{
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
        route(m_newData.data(), &NewDataDialog::confirmed, [this](NewChoice choice) {
            if (m_new.confirm(choice) && m_newData)
                m_newData->close();
        });
    }
    bringForward(m_newData);
}

void Editor::openFile(const QString &name)
{
    m_gate.run([this, name] { m_files.openNamed(name); });
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
