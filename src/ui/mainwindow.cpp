// SPDX-License-Identifier: MIT
#include "ui/mainwindow.h"

#include "ui/announcer.h"
#include "ui/dotgrid.h"
#include "ui/fitcaptions.h"
#include "ui/historykeys.h"
#include "ui/linewidget.h"
#include "ui/listbox.h"
#include "ui/listboxaccessible.h"
#include "ui/menuaccessible.h"
#include "ui/picturebutton.h"
#include "ui/pictures.h"
#include "ui/returnpress.h"
#include "ui/textfield.h"
#include "ui/twips.h"
#include "ui/typinglimitvalidator.h"

#include "files/fileline.h"

#include <algorithm>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

namespace glimra {

namespace {

constexpr int ClientWidth = 8310;
constexpr int ClientHeight = 2610;
constexpr int CodeTypingLimit = 2;
constexpr int NameTypingLimit = 17;

QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName("main");
    setWindowTitle(u16(MainCaption));
    setWindowIcon(programIcon());
    setAcceptDrops(true);

    m_clientArea = new QWidget(this);
    m_clientArea->setFixedSize(px(ClientWidth), px(ClientHeight));
    m_clientArea->installEventFilter(this);
    setCentralWidget(m_clientArea);

    buildToolbar(m_clientArea);
    buildGrids(m_clientArea);
    buildFields(m_clientArea);
    buildButtonsAndList(m_clientArea);

    m_stbar = placed(new QStatusBar(m_clientArea), "stbar", twipsRect(0, 2355, 8310, 255));
    m_stbar->setSizeGripEnabled(false);
    m_stbar->setAccessibleName(QStringLiteral("ステータスバー"));
    // A permanent label rather than showMessage(): a message would vanish as soon as a menu
    // item is hovered, and ours stays until the program writes another.
    m_statusText = new QLabel(m_stbar);
    m_stbar->addWidget(m_statusText, 1);
    // Outside the bar's layout, it takes no room: a screen reader reads the label only
    // when asked, and hears nothing of its changes.
    m_announcer = new Announcer(m_stbar);

    buildMenus();
    buildKeys();
    // After the menu bar's own watch on the window, so that this one sees Alt first; and
    // every key as the system gives it, to count the presses of Alt.
    installEventFilter(this);
    qApp->installEventFilter(this);

    const char *tabOrder[] = {"icon_new",  "icon_save", "icon_open", "icon_copy", "data_a",
                              "data_b",    "data_c",    "data_d",    "data_e",    "reverse",
                              "data_list", "data_add",  "data_read", "data_name", "data_delete"};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(findChild<QWidget *>(tabOrder[i - 1]), findChild<QWidget *>(tabOrder[i]));

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::buildToolbar(QWidget *area)
{
    (new LineWidget(120, 0, 3840, 0, area))->setObjectName("Line15");
    (new LineWidget(120, 360, 3840, 360, area))->setObjectName("Line16");
    // Pictures have no words of their own: a screen reader says what each button does.
    pictureButton(area, "icon_new", Picture::New, twipsRect(120, 60, 270, 270), Command::New,
                  QStringLiteral("新規作成"));
    pictureButton(area, "icon_open", Picture::Open, twipsRect(480, 60, 270, 270), Command::Open,
                  QStringLiteral("ファイルを開く"));
    pictureButton(area, "icon_save", Picture::Save, twipsRect(840, 60, 270, 270), Command::Save,
                  QStringLiteral("ファイルに保存"));
    pictureButton(area, "icon_copy", Picture::Copy, twipsRect(1200, 60, 270, 270), Command::Copy,
                  QStringLiteral("クリップボードにデータをコピー"))
        ->setToolTip(QStringLiteral("クリップボードにデータをコピー"));
    pictureButton(area, "reverse", Picture::Reverse, twipsRect(1560, 60, 255, 255), Command::Invert,
                  QStringLiteral("ドットの反転処理"))
        ->setToolTip(QStringLiteral("ドットの反転処理"));
}

QToolButton *MainWindow::pictureButton(QWidget *area, const char *name, Picture picture,
                                       QRect place, Command command, const QString &spoken)
{
    auto *button = placed(new PictureButton(glimra::picture(picture), area), name, place);
    button->setAccessibleName(spoken);
    connect(button, &QToolButton::clicked, this, [this, command] { emit commandChosen(command); });
    return button;
}

void MainWindow::buildGrids(QWidget *area)
{
    m_grid = new DotGrid({QRect(120, 480, 1215, 1695), 240, 255, true, "dot", u"ドット"}, area);
    m_grid->setObjectName("Label1");
    m_grid->setAccessibleName(QStringLiteral("ドットの格子"));
    connect(m_grid, &DotGrid::pressed, this, &MainWindow::dotPressed);
    connect(m_grid, &DotGrid::stroked, this, &MainWindow::dotStroked);
    connect(m_grid, &DotGrid::released, this, &MainWindow::strokeEnded);

    m_preview =
        new DotGrid({QRect(1680, 1920, 225, 315), 45, 45, false, "smalldot", u"プレビュー"}, area);
    m_preview->setObjectName("Label4");
    m_preview->setAccessibleName(QStringLiteral("プレビュー"));
}

void MainWindow::buildFields(QWidget *area)
{
    placed(new QLabel(QStringLiteral("データ名"), area), "Label2", twipsRect(1680, 1320, 855, 255));

    m_data_name =
        placed(new TextField(NameTypingLimit, area), "data_name", twipsRect(1680, 1560, 2175, 270));
    m_data_name->setToolTip(QStringLiteral("17文字以内で名前を付けてください。"));
    m_data_name->setAccessibleName(QStringLiteral("データ名"));
    m_data_name->typingValidator()->setCharacterCheck(NameHolds);
    connect(m_data_name, &TextField::edited, this,
            [this] { emit nameChanged(m_data_name->lastChange()); });

    const char *names[ColumnCount] = {"data_a", "data_b", "data_c", "data_d", "data_e"};
    for (int i = 0; i < ColumnCount; ++i) {
        auto *code = placed(new TextField(CodeTypingLimit, area), names[i],
                            twipsRect(2040 + 360 * i, 1920, 300, 260));
        // Codes are plain ASCII: an input method would only swallow the keys.
        code->setPlainAscii();
        // A glyph line pasted here loads the whole glyph: the window decides what a paste is.
        code->leavePasteToWindow();
        code->setAccessibleName(QStringLiteral("%1列のコード").arg(i + 1));
        const Field field = CodeFields[i];
        connect(code, &TextField::changed, this,
                [this, field, code] { emit codeChanged(field, code->lastChange()); });
        connect(code, &TextField::gotFocus, this, [this, field] { emit codeFocused(field); });
        m_codeFields[i] = code;
    }
}

QPushButton *MainWindow::pushButton(QWidget *area, const char *name, const QString &caption,
                                    QRect place, Command command)
{
    auto *button = placed(new QPushButton(caption, area), name, place);
    button->setAutoDefault(false);
    pressOnReturn(button);
    connect(button, &QPushButton::clicked, this, [this, command] { emit commandChosen(command); });
    return button;
}

void MainWindow::buildButtonsAndList(QWidget *area)
{
    fitCaptions({pushButton(area, "data_add", QStringLiteral("追加 >"),
                            twipsRect(2760, 480, 1095, 255), Command::Add),
                 pushButton(area, "data_delete", QStringLiteral("削除"),
                            twipsRect(2760, 840, 1095, 255), Command::Delete),
                 pushButton(area, "data_read", QStringLiteral("<　読み込み"),
                            twipsRect(2760, 1200, 1095, 255), Command::Read)});

    InstallListBoxAccessibility();
    m_data_list = placed(new ListBox(area), "data_list", twipsRect(3960, 0, 4215, 2220));
    m_data_list->setAccessibleName(QStringLiteral("データ一覧"));
    connect(m_data_list, &ListBox::selectionChanged, this,
            [this] { emit commandChosen(Command::Select); });
}

QAction *MainWindow::menuItem(QMenu *menu, const char *name, const QString &caption,
                              Command command)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, [this, command] { emit commandChosen(command); });
    m_actions.emplace_back(command, item);
    return item;
}

void MainWindow::buildMenus()
{
    InstallMenuAccessibility();
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル"));
    file->setObjectName("menu_file");
    menuItem(file, "menunew", QStringLiteral("新規作成"), Command::New);
    menuItem(file, "menu_fileopen", QStringLiteral("ファイルを開く"), Command::OpenFromMenu);
    menuItem(file, "menusave", QStringLiteral("名前をつけてファイルに保存"), Command::SaveWithName);
    menuItem(file, "menuend", QStringLiteral("終了"), Command::End);

    QMenu *view = menuBar()->addMenu(QStringLiteral("表示"));
    view->setObjectName("view");
    m_quickPreview = view->addAction(QStringLiteral("クイックプレビューを有効"));
    m_quickPreview->setObjectName("quickPreview");
    m_quickPreview->setCheckable(true);
    // Qt ticks a checkable item by itself before anyone hears of the click; the toggle is
    // the editor's own operation, so the item is put back first.
    connect(m_quickPreview, &QAction::triggered, this, [this](bool checked) {
        m_quickPreview->setChecked(!checked);
        emit commandChosen(Command::QuickPreview);
    });
    m_actions.emplace_back(Command::QuickPreview, m_quickPreview);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集"));
    edit->setObjectName("menuedit");
    menuItem(edit, "menu_datcopy", QStringLiteral("データをクリップボードにコピー"),
             Command::CopyFromMenu);

    QAction *version = menuBar()->addAction(QStringLiteral("バージョン情報"));
    version->setObjectName("menu_ver");
    connect(version, &QAction::triggered, this, [this] { emit commandChosen(Command::Version); });
    m_actions.emplace_back(Command::Version, version);
}

void MainWindow::buildKeys()
{
    // Undo, redo, the copy by key and the moves have no menu item of their own: only keys,
    // wherever the focus is in the window, the text fields included, whose own undo and copy
    // give way to them.
    struct Keys
    {
        Command command;
        QKeyCombination key, otherKey; // the other is Qt::Key_unknown where there is none
    };
    static constexpr Keys WindowKeys[] = {
        {Command::Undo, UndoKey, {}},
        {Command::Redo, RedoKey, OtherRedoKey},
        {Command::CopyByKey, CopyKey, {}},
        {Command::PasteByKey, PasteKey, OtherPasteKey},
        {Command::MoveLeft, Qt::ALT | Qt::Key_Left, {}},
        {Command::MoveRight, Qt::ALT | Qt::Key_Right, {}},
        {Command::MoveUp, Qt::ALT | Qt::Key_Up, {}},
        {Command::MoveDown, Qt::ALT | Qt::Key_Down, {}},
        {Command::MirrorLeftRight, Qt::ALT | Qt::Key_H, {}},
        {Command::MirrorTopBottom, Qt::ALT | Qt::Key_V, {}},
    };
    for (const Keys &keys : WindowKeys) {
        QList<QKeySequence> sequences{keys.key};
        if (keys.otherKey != QKeyCombination())
            sequences << keys.otherKey;
        auto *action = new QAction(this);
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        const Command command = keys.command;
        const bool withAlt = keys.key.keyboardModifiers().testFlag(Qt::AltModifier);
        connect(action, &QAction::triggered, this, [this, command, withAlt] {
            if (withAlt && !m_altPresses.empty())
                m_altPresses.back() = true;
            emit commandChosen(command);
        });
        addAction(action);
        m_actions.emplace_back(command, action);
    }
    auto *menuBarKey = new QAction(this);
    menuBarKey->setShortcut(Qt::Key_F10);
    menuBarKey->setShortcutContext(Qt::WindowShortcut);
    connect(menuBarKey, &QAction::triggered, this, &MainWindow::toggleMenuBarKeys);
    addAction(menuBarKey);
    for (Field field : CodeFields)
        connectHistoryMenu(this->field(field));
    connectHistoryMenu(m_data_name);
}

void MainWindow::toggleMenuBarKeys()
{
    // Qt gives the keyboard to the menu bar, and back, when Alt is pressed and let go on
    // its own, and offers no other way in: F10 is told to the menu bar as that Alt. The
    // modifiers are the state before each key, as a keyboard reports them.
    QKeyEvent altPressed(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &altPressed);
    QKeyEvent altReleased(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(menuBar(), &altReleased);
}

void MainWindow::connectHistoryMenu(TextField *field)
{
    connect(field, &TextField::undoAsked, this, [this] { emit commandChosen(Command::Undo); });
    connect(field, &TextField::redoAsked, this, [this] { emit commandChosen(Command::Redo); });
}

void MainWindow::pasteIntoCodeField()
{
    // The paste may move the focus on: the field is the one that had it.
    const auto focused = std::find_if(m_codeFields.begin(), m_codeFields.end(),
                                      [](TextField *code) { return code->hasFocus(); });
    if (focused != m_codeFields.end())
        (*focused)->pasteWithinLimit();
}

QAction *MainWindow::action(Command command) const
{
    for (const auto &[which, item] : m_actions) {
        if (which == command)
            return item;
    }
    return nullptr;
}

bool MainWindow::dot(int column, int row) const
{
    return m_grid->isOn(column, row);
}

void MainWindow::setDot(int column, int row, bool on)
{
    m_grid->setOn(column, row, on);
}

bool MainWindow::previewDot(int column, int row) const
{
    return m_preview->isOn(column, row);
}

void MainWindow::setPreviewDot(int column, int row, bool on)
{
    m_preview->setOn(column, row, on);
}

TextField *MainWindow::field(Field field) const
{
    return field == Field::DataName ? m_data_name : m_codeFields[int(field)];
}

QString MainWindow::text(Field which) const
{
    return field(which)->text();
}

void MainWindow::setText(Field which, const QString &text)
{
    field(which)->writeText(text);
}

int MainWindow::caret(Field which) const
{
    return field(which)->caret();
}

void MainWindow::select(Field which, int start, int length)
{
    TextField *target = field(which);
    const int available = qMax(0, int(target->text().size()) - start);
    target->setSelection(start, qMin(length, available));
}

void MainWindow::setFocus(FocusTarget target)
{
    static_assert(int(FocusTarget::DataName) == int(Field::DataName),
                  "the focus targets start with the text fields, in the same order");
    if (target == FocusTarget::DataList)
        m_data_list->setFocus(Qt::OtherFocusReason);
    else
        field(Field(int(target)))->setFocus(Qt::OtherFocusReason);
}

int MainWindow::selectedIndex() const
{
    return m_data_list->selectedRow();
}

void MainWindow::setSelectedIndex(int index)
{
    m_data_list->selectRowQuietly(index);
}

bool MainWindow::quickPreview() const
{
    return m_quickPreview->isChecked();
}

void MainWindow::setQuickPreview(bool on)
{
    m_quickPreview->setChecked(on);
}

void MainWindow::setStatus(const QString &text)
{
    m_statusText->setText(text);
    m_announcer->announce(text);
}

void MainWindow::announce(const QString &text)
{
    m_announcer->announce(text);
}

QString MainWindow::status() const
{
    return m_statusText->text();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // With a screen reader, Qt hands each key to it, and delivers it again once the reader
    // has let it pass: Alt's press and release come late, even after the next Alt+arrow,
    // and with nothing between them, as Alt tapped alone would, which arms the menu bar
    // and gives it the keyboard. Each press is counted as the system gives it, and where
    // an Alt+key command ran while it was held, its late delivery is kept from the bar.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Alt) {
            if (watched == static_cast<QObject *>(windowHandle()) && event->spontaneous() &&
                event->type() == QEvent::ShortcutOverride) {
                m_altPresses.push_back(false);
                if (m_altPresses.size() > 16) // releases lost to another window
                    m_altPresses.pop_front();
            } else if (event->type() == QEvent::KeyRelease) {
                // Once, where it is delivered: a field may keep it from the window.
                QWidget *focused = focusWidget();
                if (watched == (focused ? focused : this) && !m_altPresses.empty())
                    m_altPresses.pop_front();
            } else if (watched == this && !m_altPresses.empty() && m_altPresses.front()) {
                return true;
            }
        }
    }
    // Only a click on the window itself counts; a control's click is its own, even when
    // the control does nothing with it.
    if (watched == m_clientArea) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *press = static_cast<QMouseEvent *>(event);
            m_backgroundPressed = press->button() == Qt::LeftButton &&
                                  !m_clientArea->childAt(press->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *release = static_cast<QMouseEvent *>(event);
            if (m_backgroundPressed && m_clientArea->rect().contains(release->position().toPoint()))
                emit backgroundClicked();
            m_backgroundPressed = false;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QStringList names;
    for (const QUrl &url : event->mimeData()->urls())
        names.append(url.toLocalFile()); // empty for what is not a local file
    event->acceptProposedAction();
    emit filesDropped(names);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    emit closing();
    event->accept();
}

} // namespace glimra
