// SPDX-License-Identifier: MIT
#pragma once

#include "core/editorstate.h"
#include "ui/pictures.h"
#include "ui/textfield.h"

#include <array>
#include <deque>
#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace glimra {

class Announcer;
class DotGrid;
class ListBox;
class TextField;

/// The commands of the main window's buttons and menus.
enum class Command {
    New,
    Open,
    OpenFromMenu,
    Save,
    SaveWithName,
    Copy,
    CopyFromMenu,
    Invert,
    Add,
    Delete,
    Read,
    Select,
    QuickPreview,
    Version,
    End,
    // By key only, anywhere in the window:
    Undo,
    Redo,
    CopyByKey,  ///< Ctrl+C where no text is selected: as the Edit menu's copy
    PasteByKey, ///< Ctrl+V or Shift+Insert anywhere but the name field: a glyph line, or text
    MoveLeft,
    MoveRight,
    MoveUp,
    MoveDown,
    MirrorLeftRight,
    MirrorTopBottom,
};

/// The main window, built from its design in twips. Its controls are the editor's state.
class MainWindow : public QMainWindow, public EditorState
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    bool dot(int column, int row) const override;
    void setDot(int column, int row, bool on) override;
    bool previewDot(int column, int row) const override;
    void setPreviewDot(int column, int row, bool on) override;

    QString text(Field field) const override;
    void setText(Field field, const QString &text) override;
    int caret(Field field) const override;
    void select(Field field, int start, int length) override;
    void setFocus(FocusTarget target) override;

    int selectedIndex() const override;
    void setSelectedIndex(int index) override;

    bool quickPreview() const override;
    void setQuickPreview(bool on) override;

    /// Shows the status text, and says it to a screen reader.
    void setStatus(const QString &text) override;
    QString status() const override;
    /// Says `text` to a screen reader, and shows nothing.
    void announce(const QString &text);
    Announcer *announcer() const { return m_announcer; }

    TextField *field(Field field) const;
    DotGrid *grid() const { return m_grid; }
    DotGrid *preview() const { return m_preview; }
    ListBox *list() const { return m_data_list; }
    /// Pastes the clipboard's text into the focused code field, if one has the focus.
    void pasteIntoCodeField();
    QAction *action(Command command) const;

signals:
    /// A stroke on the grid began on a cell, which is to toggle.
    void dotPressed(int column, int row);
    /// The stroke went over another cell, which is to be `on`.
    void dotStroked(int column, int row, bool on);
    void strokeEnded();
    /// A code field's text changed, and how.
    void codeChanged(glimra::Field field, glimra::TextField::Change how);
    /// The name changed by the user's hand, and how.
    void nameChanged(glimra::TextField::Change how);
    void codeFocused(glimra::Field field);
    void commandChosen(glimra::Command command);
    void backgroundClicked();
    /// Files dropped on the window, each by its local name (empty where it has none).
    void filesDropped(const QStringList &names);
    void closing();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildToolbar(QWidget *area);
    void buildGrids(QWidget *area);
    void buildFields(QWidget *area);
    void buildButtonsAndList(QWidget *area);
    void buildMenus();
    void buildKeys();
    void toggleMenuBarKeys();
    void connectHistoryMenu(TextField *field);
    QToolButton *pictureButton(QWidget *area, const char *name, Picture picture, QRect place,
                               Command command, const QString &spoken);
    QPushButton *pushButton(QWidget *area, const char *name, const QString &caption, QRect place,
                            Command command);
    QAction *menuItem(QMenu *menu, const char *name, const QString &caption, Command command);

    DotGrid *m_grid = nullptr;
    DotGrid *m_preview = nullptr;
    std::array<TextField *, ColumnCount> m_codeFields{};
    TextField *m_data_name = nullptr;
    ListBox *m_data_list = nullptr;
    QStatusBar *m_stbar = nullptr;
    QLabel *m_statusText = nullptr;
    Announcer *m_announcer = nullptr;
    QAction *m_quickPreview = nullptr;
    std::vector<std::pair<Command, QAction *>> m_actions;
    QWidget *m_clientArea = nullptr;
    bool m_backgroundPressed = false;
    // Each press of Alt not yet let go, oldest first, and whether an Alt+key command ran
    // while it was held: letting that Alt go is no visit to the menus.
    std::deque<bool> m_altPresses;
};

/// The caption of the main window.
inline constexpr char16_t MainCaption[] = u"Glimra絵エディッタVer2.0　[テストリリースバージョン-1]";

} // namespace glimra
