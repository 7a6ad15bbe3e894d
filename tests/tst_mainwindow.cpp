// SPDX-License-Identifier: MIT
#include "testeditor.h"
#include "ui/announcer.h"
#include "ui/dotgrid.h"
#include "ui/linewidget.h"
#include "ui/listbox.h"
#include "ui/textfield.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QWindow>

using namespace glimra;

// The window design, compared control by control in twips.
class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void lines_data();
    void lines();
    void gridLinesLieAboveTheCells();
    void everyPixelOfTheGridIsADot();
    void windowAndClientArea();
    void menus_data();
    void menus();
    void menuVersionActsOnTheBar();
    void gridsDescribeTheGlyph();
    void fieldsAreReadWhole_data();
    void fieldsAreReadWhole();
    void menuItemsSayWhetherTheyAreTicked();
    void menuItemsOutliveTheirMenu();
    void keysReachTheMenuBar_data();
    void keysReachTheMenuBar();
    void tabOrder();
    void pictureButtonsShowTheirPictures();
    void focusShows_data();
    void focusShows();
    void returnPressesAFocusedButton_data();
    void returnPressesAFocusedButton();
    void screenReaderNames_data();
    void screenReaderNames();
    void whatIsSaidWithoutBeingShown_data();
    void whatIsSaidWithoutBeingShown();

private:
    TestEditor m_editor;
};

void TestMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<int>("typingLimit");

    const auto row = [](const QString &name, QRect twips, const QString &caption = {},
                        const QString &tooltip = {}, int limit = -1) {
        QTest::newRow(qPrintable(name)) << name << twips << caption << tooltip << limit;
    };
    row("icon_new", {120, 60, 270, 270});
    row("icon_open", {480, 60, 270, 270});
    row("icon_save", {840, 60, 270, 270});
    row("icon_copy", {1200, 60, 270, 270}, {}, u"クリップボードにデータをコピー"_qs);
    row("reverse", {1560, 60, 255, 255}, {}, u"ドットの反転処理"_qs);
    row("Label1", {120, 480, 1215, 1695});
    row("Label4", {1680, 1920, 225, 315});
    row("Label2", {1680, 1320, 855, 255}, u"データ名"_qs);
    row("data_name", {1680, 1560, 2175, 270}, {}, u"17文字以内で名前を付けてください。"_qs, 17);
    row("data_a", {2040, 1920, 300, 260}, {}, {}, 2);
    row("data_b", {2400, 1920, 300, 260}, {}, {}, 2);
    row("data_c", {2760, 1920, 300, 260}, {}, {}, 2);
    row("data_d", {3120, 1920, 300, 260}, {}, {}, 2);
    row("data_e", {3480, 1920, 300, 260}, {}, {}, 2);
    row("data_add", {2760, 480, 1095, 255}, u"追加 >"_qs);
    row("data_delete", {2760, 840, 1095, 255}, u"削除"_qs);
    row("data_read", {2760, 1200, 1095, 255}, u"<　読み込み"_qs);
    row("data_list", {3960, 0, 4215, 2220});
    row("stbar", {0, 2355, 8310, 255});
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= 7; ++r) {
            row(QStringLiteral("dot%1%2").arg(c).arg(r),
                {120 + 240 * (c - 1), 480 + 240 * (r - 1), 255, 255});
            row(QStringLiteral("smalldot%1%2").arg(c).arg(r),
                {1680 + 45 * (c - 1), 1920 + 45 * (r - 1), 45, 45});
        }
    }
}

void TestMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QFETCH(int, typingLimit);

    MainWindow &window = m_editor.window();
    // A cell is a place in its grid, no control of its own.
    if (name.startsWith(u"dot") || name.startsWith(u"smalldot")) {
        DotGrid *grid = name.startsWith(u"dot") ? window.grid() : window.preview();
        const QRect cell = grid->cellRect(name.right(2).left(1).toInt(), name.right(1).toInt());
        QCOMPARE(cell.translated(grid->pos()), designedPixels(twips));
        return;
    }
    auto *widget = window.findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget(), window.centralWidget());
    QCOMPARE(widget->geometry(), designedPixels(twips));
    QCOMPARE(widget->toolTip(), tooltip);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), caption);
    if (auto *field = qobject_cast<TextField *>(widget))
        QCOMPARE(field->typingLimit(), typingLimit);
    else
        QCOMPARE(typingLimit, -1);
}

void TestMainWindow::lines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QLine>("twips");
    const auto row = [](const char *name, QLine line) { QTest::newRow(name) << name << line; };
    row("Line15", {120, 0, 3840, 0});
    row("Line16", {120, 360, 3840, 360});
    row("Line1", {120, 480, 120, 2160});
    row("Line5", {360, 480, 360, 2160});
    row("Line6", {600, 480, 600, 2160});
    row("Line7", {840, 480, 840, 2160});
    row("Line8", {1080, 480, 1080, 2160});
    row("Line3", {1320, 480, 1320, 2160});
    row("Line2", {120, 480, 1320, 480});
    row("Line9", {120, 720, 1320, 720});
    row("Line10", {120, 960, 1320, 960});
    row("Line11", {120, 1200, 1320, 1200});
    row("Line12", {120, 1440, 1320, 1440});
    row("Line13", {120, 1680, 1320, 1680});
    row("Line14", {120, 1920, 1320, 1920});
    row("Line4", {120, 2160, 1320, 2160});
}

void TestMainWindow::lines()
{
    QFETCH(QString, name);
    QFETCH(QLine, twips);
    // Both end points are drawn, so a line is one pixel longer than its span.
    const QRect drawn(twips.x1() / 15, twips.y1() / 15, (twips.x2() - twips.x1()) / 15 + 1,
                      (twips.y2() - twips.y1()) / 15 + 1);
    if (auto *line = m_editor.window().findChild<LineWidget *>(name)) {
        QCOMPARE(line->geometry(), drawn);
        return;
    }
    // The grid draws its own lines, over the cells, which are all on here.
    MainWindow &window = m_editor.window();
    const auto setAll = [&window](bool on) {
        for (int c = 1; c <= ColumnCount; ++c) {
            for (int r = 1; r <= RowCount; ++r)
                window.setDot(c, r, on);
        }
    };
    setAll(true);
    const QImage image = window.centralWidget()->grab().toImage();
    setAll(false);
    for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
        for (int x = drawn.left(); x <= drawn.right(); ++x)
            QVERIFY2(image.pixelColor(x, y) == LineWidget::LineColor,
                     qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
    }
    // One pixel thick: beside it, halfway along, a cell.
    const QPoint across = drawn.width() == 1 ? QPoint(1, 0) : QPoint(0, 1);
    for (const QPoint &beside : {drawn.center() - across, drawn.center() + across}) {
        if (window.grid()->geometry().contains(beside))
            QCOMPARE(image.pixelColor(beside), QColor(Qt::black));
    }
}

void TestMainWindow::gridLinesLieAboveTheCells()
{
    MainWindow &window = m_editor.window();
    QWidget *client = window.centralWidget();
    // Off cells let the white backdrop through; on cells are black; the grey lines show on
    // both. dot34 covers x 40..56 and y 80..96; Line7 runs down x = 56, Line11 along y = 80.
    window.setDot(3, 4, true);
    const QImage image = client->grab().toImage();
    window.setDot(3, 4, false);
    QCOMPARE(image.pixelColor(48, 88), QColor(Qt::black));
    QCOMPARE(image.pixelColor(20, 40), QColor(Qt::white));
    QCOMPARE(image.pixelColor(115, 135), QColor(Qt::white)); // the preview backdrop
    for (const QPoint &line : {QPoint(56, 88), QPoint(48, 80), QPoint(8, 40), QPoint(30, 32)})
        QCOMPARE(image.pixelColor(line), LineWidget::LineColor);
    QVERIFY(LineWidget::LineColor != QColor(Qt::black) && LineWidget::LineColor != Qt::white);
}

void TestMainWindow::everyPixelOfTheGridIsADot()
{
    MainWindow &window = m_editor.window();
    QWidget *client = window.centralWidget();
    DotGrid *grid = window.grid();
    QCOMPARE(grid->geometry(), designedPixels({120, 480, 1215, 1695}));
    for (int y = 0; y < grid->height(); ++y) {
        for (int x = 0; x < grid->width(); ++x)
            QVERIFY2(grid->cellAt({x, y}), qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
    }
    QVERIFY(!grid->cellAt({-1, 0}) && !grid->cellAt({0, grid->height()}));
    // A real click on line pixels: down Line7 in row 4, along Line11 in column 3.
    for (const QPoint &point : {QPoint(56, 88), QPoint(48, 80)}) {
        const QString before = m_editor.codes().join(u' ');
        m_editor.stroke({grid->mapFrom(client, point)});
        QVERIFY(m_editor.codes().join(u' ') != before);
    }
}

void TestMainWindow::windowAndClientArea()
{
    MainWindow &window = m_editor.window();
    QCOMPARE(window.objectName(), u"main"_qs);
    QCOMPARE(window.windowTitle(),
             u"Glimra絵エディッタVer2.0\u3000[テストリリースバージョン-1]"_qs);
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
    QWidget *client = window.centralWidget();
    QCOMPARE(client->size(), QSize(8310 / 15, 2610 / 15));
    QCOMPARE(client->y(), window.menuBar()->height());
    QCOMPARE(window.size(), QSize(554, 174 + window.menuBar()->height()));
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("menu_file") << "menu_file" << u"ファイル"_qs
                               << QStringList{"menunew", "menu_fileopen", "menusave", "menuend"}
                               << QStringList{u"新規作成"_qs, u"ファイルを開く"_qs,
                                              u"名前をつけてファイルに保存"_qs, u"終了"_qs};
    QTest::newRow("view") << "view" << u"表示"_qs << QStringList{"quickPreview"}
                          << QStringList{u"クイックプレビューを有効"_qs};
    QTest::newRow("menuedit") << "menuedit" << u"編集"_qs << QStringList{"menu_datcopy"}
                              << QStringList{u"データをクリップボードにコピー"_qs};
}

void TestMainWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    auto *dropDown = m_editor.window().findChild<QMenu *>(menu);
    QVERIFY(dropDown);
    QCOMPARE(dropDown->title(), caption);
    QStringList names;
    QStringList texts;
    for (QAction *item : dropDown->actions()) {
        QVERIFY(!item->isSeparator());
        QVERIFY(item->shortcut().isEmpty());
        QVERIFY(item->isEnabled() && item->isVisible());
        QCOMPARE(item->isCheckable(), item->objectName() == u"quickPreview");
        QVERIFY(!item->isChecked());
        names << item->objectName();
        texts << item->text();
    }
    QCOMPARE(names, items);
    QCOMPARE(texts, captions);
}

void TestMainWindow::menuVersionActsOnTheBar()
{
    QMenuBar *bar = m_editor.window().menuBar();
    QStringList captions;
    for (QAction *entry : bar->actions())
        captions << entry->text();
    QCOMPARE(captions, (QStringList{u"ファイル"_qs, u"表示"_qs, u"編集"_qs, u"バージョン情報"_qs}));
    QAction *version = bar->actions().last();
    QCOMPARE(version->objectName(), u"menu_ver"_qs);
    QVERIFY(!version->menu());
}

// The glyph is heard row by row from either grid; the preview is one picture, whose 35
// cells would only repeat the grid's.
void TestMainWindow::gridsDescribeTheGlyph()
{
    TestEditor editor;
    MainWindow &window = editor.window();
    editor.setDots({"7F", "08", "08", "08", "7F"});
    const QString h = u"1行 1 5、2行 1 5、3行 1 5、4行 1 2 3 4 5、5行 1 5、6行 1 5、7行 1 5"_qs;
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(window.grid());
    QAccessibleInterface *preview = QAccessible::queryAccessibleInterface(window.preview());
    QCOMPARE(grid->text(QAccessible::Description), h);
    QCOMPARE(preview->text(QAccessible::Description), h);
    QCOMPARE(preview->role(), QAccessible::Graphic);
    QCOMPARE(preview->text(QAccessible::Name), u"プレビュー"_qs);
    QCOMPARE(preview->childCount(), 0);
    QVERIFY(!preview->child(0));
    QCOMPARE(grid->role(), QAccessible::Grouping);
    editor.setDots({"00", "00", "00", "00", "00"});
    QCOMPARE(grid->text(QAccessible::Description),
             u"1行 なし、2行 なし、3行 なし、4行 なし、5行 なし、6行 なし、7行 なし"_qs);
}

void TestMainWindow::fieldsAreReadWhole_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("a code") << int(Field::DataB) << "7F";
    QTest::newRow("a name") << int(Field::DataName) << u"ABCあい"_qs;
    QTest::newRow("an empty name") << int(Field::DataName) << QString();
}

// A screen reader reads a field's line as far as its text attributes reach: one run
// must cover all of it, or the last character goes unsaid.
void TestMainWindow::fieldsAreReadWhole()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    TestEditor editor;
    TextField *typed = editor.field(Field(field));
    typed->writeText(text);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(typed);
    QAccessibleTextInterface *reading = accessible->textInterface();
    QVERIFY(reading && accessible->editableTextInterface());
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QCOMPARE(reading->characterCount(), text.size());
    int start = -1, end = -1;
    for (int offset = 0; offset <= text.size(); ++offset) {
        reading->attributes(offset, &start, &end);
        QCOMPARE(QPair(start, end), QPair(0, int(text.size())));
        QCOMPARE(reading->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), text);
    }
    if (!text.isEmpty()) {
        QCOMPARE(reading->textAtOffset(1, QAccessible::CharBoundary, &start, &end), text.mid(1, 1));
        QCOMPARE(reading->textAfterOffset(0, QAccessible::CharBoundary, &start, &end),
                 text.mid(1, 1));
        QCOMPARE(reading->textBeforeOffset(1, QAccessible::CharBoundary, &start, &end),
                 text.left(1));
        reading->setSelection(0, 0, 1);
        reading->selection(0, &start, &end);
        QCOMPARE(QPair(start, end), QPair(0, 1));
        QCOMPARE(typed->selectedText(), text.left(1));
        QCOMPARE(reading->selectionCount(), 1);
        reading->removeSelection(0);
        QCOMPARE(reading->selectionCount(), 0);
        reading->setCursorPosition(1);
        QCOMPARE(reading->cursorPosition(), 1);
        // Where each character stands, and which stands at a point, agree.
        typed->show();
        const QRect second = reading->characterRect(1);
        QVERIFY(second.isValid());
        QCOMPARE(reading->offsetAtPoint(second.center()), 1);
        QVERIFY(!reading->characterRect(int(text.size())).isValid());
        const QString word = reading->textAtOffset(0, QAccessible::WordBoundary, &start, &end);
        QCOMPARE(word, text.mid(start, end - start));
        QVERIFY(start == 0 && end > 0);
        QCOMPARE(reading->textAfterOffset(0, QAccessible::LineBoundary, &start, &end), QString());
        QCOMPARE(QPair(start, end), QPair(-1, -1));
        QCOMPARE(reading->textBeforeOffset(0, QAccessible::CharBoundary, &start, &end), QString());
        // A screen reader's edits are typing's: one past the field's limit is refused.
        QAccessibleEditableTextInterface *editing = accessible->editableTextInterface();
        editing->deleteText(0, 1);
        QCOMPARE(typed->text(), text.mid(1));
        editing->insertText(0, text.left(1));
        QCOMPARE(typed->text(), text);
        const QString tooLong(typed->typingLimit() + 1, u'1');
        editing->replaceText(0, int(text.size()), tooLong);
        QCOMPARE(typed->text(), text);
        editing->replaceText(0, int(text.size()), u"1"_qs);
        QCOMPARE(typed->text(), u"1"_qs);
    } else {
        QVERIFY(!reading->characterRect(0).isValid());
        QCOMPARE(reading->textAtOffset(0, QAccessible::CharBoundary, &start, &end), QString());
    }
    QCOMPARE(accessible->text(QAccessible::Value), typed->text());
    // Places outside the text, and selections a field cannot have, give nothing.
    QCOMPARE(reading->textAtOffset(-1, QAccessible::CharBoundary, &start, &end), QString());
    QCOMPARE(QPair(start, end), QPair(-1, -1));
    reading->setSelection(1, 0, 1);
    reading->selection(1, &start, &end);
    QCOMPARE(QPair(start, end), QPair(0, 0));
    reading->removeSelection(1);
    reading->addSelection(0, 0);
    reading->scrollToSubstring(0, 0);
    const QString nextWord = reading->textAfterOffset(0, QAccessible::WordBoundary, &start, &end);
    QCOMPARE(nextWord.isEmpty(), start == -1);
    QVERIFY(accessible->state().editable && !accessible->state().readOnly);
    typed->setReadOnly(true);
    QVERIFY(!accessible->editableTextInterface() && accessible->state().readOnly);
}

// A screen reader hears "not checked" as well as "checked" only from a check box.
void TestMainWindow::menuItemsSayWhetherTheyAreTicked()
{
    TestEditor editor;
    MainWindow &window = editor.window();
    // The items of a menu, each knowing its place in it.
    const auto itemsOf = [&](const char *name) {
        QAccessibleInterface *menu =
            QAccessible::queryAccessibleInterface(window.findChild<QMenu *>(name));
        QList<QAccessibleInterface *> items;
        for (int i = 0; i < menu->childCount(); ++i) {
            QAccessibleInterface *item = menu->child(i);
            if (item->parent() == menu && menu->indexOfChild(item) == i)
                items << item;
        }
        return items;
    };
    const QList<QAccessibleInterface *> file = itemsOf("menu_file");
    QCOMPARE(file.size(), 4);
    QCOMPARE(file[3]->text(QAccessible::Name), u"終了"_qs);
    QCOMPARE(file[3]->role(), QAccessible::MenuItem);
    QVERIFY(!file[3]->state().checkable);

    QCOMPARE(file[0]->text(QAccessible::Accelerator), QString());
    QVERIFY(!file[0]->child(0) && !file[0]->childAt(0, 0) && file[0]->childCount() == 0 &&
            file[0]->indexOfChild(file[1]) == -1 && file[0]->object());
    QVERIFY(file[0]
                ->actionInterface()
                ->keyBindingsForAction(QAccessibleActionInterface::pressAction())
                .isEmpty());
    // Dropped down, each item lies where the menu shows it, and is found there.
    auto *fileMenu = window.findChild<QMenu *>("menu_file");
    QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(fileMenu);
    QCOMPARE(menu->role(), QAccessible::PopupMenu);
    QCOMPARE(menu->text(QAccessible::Name), u"ファイル"_qs);
    QVERIFY(file[0]->state().invisible);
    window.menuBar()->setActiveAction(fileMenu->menuAction());
    QTRY_VERIFY(fileMenu->isVisible());
    QCOMPARE(menu->parent(), QAccessible::queryAccessibleInterface(window.menuBar()));
    const QPoint centre = file[1]->rect().center();
    QCOMPARE(menu->childAt(centre.x(), centre.y()), file[1]);
    QCOMPARE(file[1]->window(), fileMenu->windowHandle());
    QVERIFY(!menu->child(4) && menu->indexOfChild(nullptr) == -1);
    fileMenu->setActiveAction(fileMenu->actions().at(1));
    QVERIFY(file[1]->state().focused && !file[1]->state().invisible);
    fileMenu->hide();

    QAccessibleInterface *quickPreview = itemsOf("view").value(0);
    QCOMPARE(quickPreview->text(QAccessible::Name), u"クイックプレビューを有効"_qs);
    QCOMPARE(quickPreview->role(), QAccessible::CheckBox);
    QVERIFY(quickPreview->state().checkable && !quickPreview->state().checked);
    quickPreview->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(quickPreview->state().checked);
    QVERIFY(window.quickPreview());
}

// Any menu bar's menus get the same view: separators, items turned off, and an item whose
// menu has gone, which then answers nothing.
void TestMainWindow::menuItemsOutliveTheirMenu()
{
    QMenuBar bar;
    auto *menu = new QMenu(u"M"_qs, &bar);
    bar.addMenu(menu);
    QAction kept(u"&K"_qs);
    kept.setCheckable(true);
    kept.setEnabled(false);
    menu->addAction(&kept);
    QAction *separator = menu->addSeparator();
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(&kept);
    QVERIFY(item && item->isValid());
    QCOMPARE(item->text(QAccessible::Name), u"K"_qs);
    QCOMPARE(item->text(QAccessible::Description), QString());
    QVERIFY(item->state().disabled && item->state().checkable);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(!kept.isChecked());
    QCOMPARE(QAccessible::queryAccessibleInterface(separator)->role(), QAccessible::Separator);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(menu);
    QVERIFY(!list->childAt(-1, -1));
    QMenu loose;
    QAction elsewhere(u"E"_qs);
    loose.addAction(&elsewhere);
    // A menu of no menu bar keeps Qt's own view, which Qt makes itself.
    QVERIFY(!QAccessible::queryAccessibleInterface(&elsewhere));
    delete menu;
    QVERIFY(!item->isValid());
    QVERIFY(item->text(QAccessible::Name).isEmpty() && item->rect().isNull() && !item->window() &&
            item->state().checked == false);
    QCOMPARE(item->role(), QAccessible::CheckBox);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

void TestMainWindow::keysReachTheMenuBar_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("leave"); // the key that gives the focus back
    QTest::newRow("F10, then Escape") << int(Qt::Key_F10) << int(Qt::Key_Escape);
    QTest::newRow("F10, then F10") << int(Qt::Key_F10) << int(Qt::Key_F10);
    QTest::newRow("Alt alone, then Escape") << int(Qt::Key_Alt) << int(Qt::Key_Escape);
}

// The keyboard reaches the menus without a mouse, and comes back where it was.
void TestMainWindow::keysReachTheMenuBar()
{
    QFETCH(int, key);
    QFETCH(int, leave);
    TestEditor editor;
    MainWindow &window = editor.window();
    QMenuBar *bar = window.menuBar();
    QWidget *codeField = editor.field(Field::DataC);
    codeField->setFocus();
    QTRY_VERIFY(codeField->hasFocus());
    const auto press = [&](int which) {
        QWidget *target = QApplication::focusWidget();
        if (which == Qt::Key_Alt) {
            QTest::keyPress(target, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(target, Qt::Key_Alt);
        } else {
            QTest::keyClick(target, Qt::Key(which));
        }
    };
    press(key);
    QTRY_VERIFY(bar->hasFocus());
    QCOMPARE(bar->activeAction(), window.findChild<QMenu *>("menu_file")->menuAction());
    QVERIFY(!window.findChild<QMenu *>("menu_file")->isVisible());
    press(leave);
    QTRY_VERIFY(codeField->hasFocus());
    QCOMPARE(bar->activeAction(), nullptr);
    // Alt with a key is that key's command, not the menu bar, even where a screen reader
    // has Alt's press delivered again after the command has run.
    QWindow *system = window.windowHandle();
    const auto fromSystem = [system](bool press, Qt::Key key, Qt::KeyboardModifiers held) {
        QTest::simulateEvent(system, press, key, held, QString(), false);
    };
    fromSystem(true, Qt::Key_Alt, Qt::NoModifier);
    fromSystem(true, Qt::Key_Right, Qt::AltModifier);
    fromSystem(false, Qt::Key_Right, Qt::AltModifier);
    QKeyEvent late(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(codeField, &late);
    fromSystem(false, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::processEvents();
    QVERIFY(codeField->hasFocus());
    QCOMPARE(bar->activeAction(), nullptr);
    // And Alt alone still reaches the bar afterwards.
    fromSystem(true, Qt::Key_Alt, Qt::NoModifier);
    fromSystem(false, Qt::Key_Alt, Qt::AltModifier);
    QTRY_VERIFY(bar->hasFocus());
}

void TestMainWindow::tabOrder()
{
    const QStringList designed{"icon_new",  "icon_save", "icon_open", "icon_copy", "data_a",
                               "data_b",    "data_c",    "data_d",    "data_e",    "reverse",
                               "data_list", "data_add",  "data_read", "data_name", "data_delete"};
    QStringList chain;
    QWidget *start = m_editor.window().findChild<QWidget *>("icon_new");
    QWidget *w = start;
    do {
        if (designed.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start && chain.size() < designed.size());
    QCOMPARE(chain, designed);
}

void TestMainWindow::pictureButtonsShowTheirPictures()
{
    for (const char *name : {"icon_new", "icon_open", "icon_save", "icon_copy", "reverse"}) {
        auto *button = m_editor.window().findChild<QAbstractButton *>(name);
        QVERIFY2(!button->icon().isNull(), name);
        QCOMPARE(button->icon().availableSizes().value(0), QSize(16, 16));
    }
}

void TestMainWindow::focusShows_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         {"icon_new", "icon_save", "icon_open", "icon_copy", "data_a", "data_b", "data_c", "data_d",
          "data_e", "reverse", "data_list", "data_add", "data_read", "data_name", "data_delete"})
        QTest::newRow(name) << name;
}

void TestMainWindow::focusShows()
{
    QFETCH(QString, name);
    auto *widget = m_editor.window().findChild<QWidget *>(name);
    // Other tests' windows may have taken the keyboard.
    m_editor.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_editor.window()));
    // As after a Tab key: styles show focus frames only once the keyboard has moved it.
    m_editor.window().setAttribute(Qt::WA_KeyboardFocusChange);
    widget->clearFocus();
    QTRY_VERIFY(!widget->hasFocus());
    const QImage before = widget->grab().toImage();
    widget->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(widget->hasFocus());
    QVERIFY2(widget->grab().toImage() != before, "the focus does not show");
}

void TestMainWindow::returnPressesAFocusedButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("command");
    QTest::newRow("icon_copy, Return") << "icon_copy" << int(Qt::Key_Return) << int(Command::Copy);
    QTest::newRow("reverse, Enter") << "reverse" << int(Qt::Key_Enter) << int(Command::Invert);
    QTest::newRow("data_read, Return") << "data_read" << int(Qt::Key_Return) << int(Command::Read);
    QTest::newRow("data_add, Enter") << "data_add" << int(Qt::Key_Enter) << int(Command::Add);
}

void TestMainWindow::returnPressesAFocusedButton()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, command);
    auto *button = m_editor.window().findChild<QWidget *>(name);
    button->setFocus(Qt::TabFocusReason);
    QSignalSpy chosen(&m_editor.window(), &MainWindow::commandChosen);
    QTest::keyClick(button, Qt::Key(key));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().value<Command>(), Command(command));
}

void TestMainWindow::screenReaderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    const auto row = [](const char *name, const QString &spoken) {
        QTest::newRow(name) << name << spoken;
    };
    row("dot11", u"ドット 1列 1行"_qs);
    row("dot57", u"ドット 5列 7行"_qs);
    row("Label1", u"ドットの格子"_qs);
    row("Label4", u"プレビュー"_qs);
    row("data_a", u"1列のコード"_qs);
    row("data_e", u"5列のコード"_qs);
    row("data_name", u"データ名"_qs);
    row("icon_new", u"新規作成"_qs);
    row("icon_open", u"ファイルを開く"_qs);
    row("icon_save", u"ファイルに保存"_qs);
    row("icon_copy", u"クリップボードにデータをコピー"_qs);
    row("reverse", u"ドットの反転処理"_qs);
    row("data_add", u"追加 >"_qs);
    row("data_read", u"<　読み込み"_qs);
    row("Label2", u"データ名"_qs);
    row("data_list", u"データ一覧"_qs);
    row("stbar", u"ステータスバー"_qs);
}

void TestMainWindow::screenReaderNames()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    MainWindow &window = m_editor.window();
    QAccessibleInterface *accessible = nullptr;
    // A cell is a check box among its grid's children, in the order the glyph is walked.
    if (name.contains(u"dot")) {
        DotGrid *grid = name.startsWith(u"dot") ? window.grid() : window.preview();
        const int column = name.right(2).left(1).toInt(), row = name.right(1).toInt();
        QAccessibleInterface *parent = QAccessible::queryAccessibleInterface(grid);
        accessible = parent->child(DotGrid::index(column, row));
        QVERIFY(accessible && accessible->isValid());
        QCOMPARE(parent->childCount(), 35);
        QCOMPARE(parent->indexOfChild(accessible), DotGrid::index(column, row));
        QCOMPARE(accessible->parent(), parent);
        QCOMPARE(accessible->role(), QAccessible::CheckBox);
        QCOMPARE(accessible->text(QAccessible::Description), name);
        QVERIFY(accessible->state().checkable && !accessible->state().checked);
        QCOMPARE(accessible->state().readOnly, grid == window.preview());
        const QPoint centre = accessible->rect().center();
        QCOMPARE(parent->childAt(centre.x(), centre.y()), accessible);
        QVERIFY(!parent->child(35) && !accessible->child(0) && accessible->childCount() == 0 &&
                !accessible->childAt(centre.x(), centre.y()) && !accessible->object() &&
                accessible->indexOfChild(parent) == -1 && parent->indexOfChild(nullptr) == -1 &&
                accessible->text(QAccessible::Help).isEmpty());
        accessible->setText(QAccessible::Name, u"ignored"_qs);
    } else {
        accessible = QAccessible::queryAccessibleInterface(window.findChild<QWidget *>(name));
    }
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), spoken);
    if (name == u"dot11") {
        m_editor.clickDot(1, 1);
        QCOMPARE(accessible->text(QAccessible::Name), u"ドット 1列 1行"_qs);
        QVERIFY(accessible->state().checked);
        QAccessibleInterface *preview = QAccessible::queryAccessibleInterface(window.preview());
        QVERIFY(preview->text(QAccessible::Description).startsWith(u"1行 1、"));
        // A screen reader's press acts as a click does; no other action does anything.
        QAccessibleActionInterface *actions = accessible->actionInterface();
        QVERIFY(actions->keyBindingsForAction(actions->actionNames().first()).isEmpty());
        actions->doAction(QAccessibleActionInterface::increaseAction());
        QVERIFY(accessible->state().checked);
        QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_editor.codes(), (QStringList{"00", "00", "00", "00", "00"}));
        QVERIFY(!accessible->state().checked);
    }
    if (name == u"data_list") {
        m_editor.entries().append("01 02 03 04 05    a");
        QCOMPARE(accessible->child(0)->text(QAccessible::Name), u"01 02 03 04 05    a"_qs);
        // A long list: the children are the rows on screen and the selected one, and the
        // list's size and the row's place come as a table gives them.
        QStringList more;
        for (int i = 1; i < 50000; ++i)
            more << u"7F 08 08 08 7F    外字%1"_qs.arg(i);
        m_editor.entries().append(more);
        ListBox *list = m_editor.window().list();
        list->setCurrentRow(40000);
        list->verticalScrollBar()->setValue(0);
        QCOMPARE(accessible->role(), QAccessible::List);
        QCOMPARE(accessible->childCount(), list->visibleRowCount() + 1);
        QAccessibleTableInterface *table = accessible->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 50000);
        QCOMPARE(table->selectedRows(), QList<int>{40000});
        QAccessibleInterface *selected = table->selectedCells().value(0);
        QVERIFY(selected);
        QCOMPARE(selected->text(QAccessible::Name), u"7F 08 08 08 7F    外字40000"_qs);
        QCOMPARE(selected->tableCellInterface()->rowIndex(), 40000);
        QVERIFY(selected->state().selected && selected->state().offscreen);
        QCOMPARE(accessible->indexOfChild(selected), accessible->childCount() - 1);
        QCOMPARE(accessible->child(accessible->childCount() - 1), selected);
        QCOMPARE(accessible->child(1)->text(QAccessible::Name), u"7F 08 08 08 7F    外字1"_qs);
        QVERIFY(!table->unselectRow(40000)); // once selected, an entry stays selected
        QVERIFY(table->isRowSelected(40000) && !table->isColumnSelected(0));
        QCOMPARE(table->selectedCellCount(), 1);
        QCOMPARE(table->selectedColumnCount(), 0);
        QVERIFY(table->selectedColumns().isEmpty() && !table->selectColumn(0) &&
                !table->unselectColumn(0) && !table->selectRow(50000));
        QVERIFY(!table->caption() && !table->summary() && table->columnDescription(0).isEmpty() &&
                table->rowDescription(0).isEmpty());
        QCOMPARE(table->columnCount(), 1);
        QVERIFY(!table->cellAt(5, 1) && !table->cellAt(50000, 0));
        QVERIFY(!accessible->interface_cast(QAccessible::TextInterface));

        // Each row: a list item, placed on screen, with no children of its own.
        QAccessibleInterface *row = table->cellAt(2, 0);
        QCOMPARE(row, accessible->child(2));
        QCOMPARE(row->role(), QAccessible::ListItem);
        QCOMPARE(row->parent(), accessible);
        QVERIFY(row->isValid() && !row->object() && row->childCount() == 0 && !row->child(0) &&
                !row->childAt(0, 0) && row->indexOfChild(row) == -1);
        QVERIFY(row->text(QAccessible::Description).isEmpty());
        row->setText(QAccessible::Name, u"ignored"_qs);
        QCOMPARE(row->text(QAccessible::Name), u"7F 08 08 08 7F    外字2"_qs);
        QCOMPARE(accessible->childAt(row->rect().center().x(), row->rect().center().y()), row);
        QVERIFY(!accessible->childAt(-10000, -10000));
        QAccessibleTableCellInterface *cell = row->tableCellInterface();
        QVERIFY(cell && cell->table() == accessible && cell->columnIndex() == 0 &&
                cell->rowExtent() == 1 && cell->columnExtent() == 1 &&
                cell->rowHeaderCells().isEmpty() && cell->columnHeaderCells().isEmpty());
        QCOMPARE(accessible->indexOfChild(accessible), -1);
        QCOMPARE(accessible->indexOfChild(nullptr), -1);
        QVERIFY(!accessible->child(accessible->childCount()) &&
                !row->interface_cast(QAccessible::TextInterface));
        QVERIFY(!table->cellAt(-1, 0) && !table->selectRow(-1) && !accessible->child(-1));
        QAccessibleInterface *away = table->cellAt(30000, 0); // neither on screen nor selected
        QVERIFY(away->rect().isNull() && away->state().offscreen && !away->state().focused);
        QCOMPARE(accessible->indexOfChild(away), -1);
        // A caller may gather many rows and then ask for more, as a selection provider
        // does: nothing it holds is freed under it, until the list scrolls or changes.
        QList<QAccessibleInterface *> gathered;
        for (int r = 0; r < 600; ++r)
            gathered << table->cellAt(r, 0);
        gathered << table->selectedCells();
        for (QAccessibleInterface *held : std::as_const(gathered))
            QCOMPARE(QAccessible::accessibleInterface(QAccessible::uniqueId(held)), held);
        const QAccessible::Id farId = QAccessible::uniqueId(gathered[500]);
        const QAccessible::Id selectedId = QAccessible::uniqueId(gathered.last());
        list->verticalScrollBar()->setValue(1);
        QVERIFY(!QAccessible::accessibleInterface(farId));
        QCOMPARE(QAccessible::accessibleInterface(selectedId), gathered.last());

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(accessible->focusChild()->text(QAccessible::Name),
                 u"7F 08 08 08 7F    外字40001"_qs);
        QVERIFY(accessible->focusChild()->state().focused);
        m_editor.window().findChild<QWidget *>("data_name")->setFocus();
        QVERIFY(!accessible->focusChild());
        QVERIFY(table->selectRow(3));
        QCOMPARE(m_editor.window().selectedIndex(), 3);
        QCOMPARE(accessible->childCount(), list->visibleRowCount());
        m_editor.entries().clear();
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(accessible->childCount(), 0);
        QVERIFY(table->selectedCells().isEmpty() && table->selectedRows().isEmpty() &&
                !accessible->focusChild());
    }
}

void TestMainWindow::whatIsSaidWithoutBeingShown_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("said"); // to a screen reader, once the command has run
    QTest::newRow("Invert: its status text and the glyph")
        << "invert" << u"白黒反転処理をしました　7F 7F 7F 7F 7F"_qs;
    QTest::newRow("a move by key: the glyph") << "move" << u"00 00 01 00 00"_qs;
    QTest::newRow("a refused Add: its status text") << "add" << u"データ名を入力してください"_qs;
    QTest::newRow("a code typed: nothing, the field says it") << "type" << QString();
    // The entry as the list shows it, then the glyph that Add clears or undo brings back.
    const QString entry = u"01 00 00 00 00    A"_qs;
    QTest::newRow("Add: the entry added")
        << "add named" << u"一覧に追加しました："_qs + entry + u"　00 00 00 00 00"_qs;
    QTest::newRow("Delete: the entry taken away")
        << "delete" << u"一覧から削除しました："_qs + entry;
    QTest::newRow("undo: what it took back")
        << "undo" << u"元に戻しました　一覧から削除しました："_qs + entry + u"　01 00 00 00 00"_qs;
    QTest::newRow("a change after undo: no redo said")
        << "invert after undo" << u"白黒反転処理をしました　7E 7F 7F 7F 7F"_qs;
    QTest::newRow("redo: what it brought again")
        << "redo" << u"やり直しました　一覧に追加しました："_qs + entry + u"　00 00 00 00 00"_qs;
}

// Status texts and a glyph changed by anything but typing are said to a screen reader,
// through a notification that takes no room in the window.
void TestMainWindow::whatIsSaidWithoutBeingShown()
{
    QFETCH(QString, action);
    QFETCH(QString, said);
    TestEditor editor;
    MainWindow &window = editor.window();
    Announcer *announcer = window.announcer();
    QCOMPARE(announcer->size(), QSize(0, 0));
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->role(), QAccessible::Notification);
    if (action == "invert") {
        editor.clickControl("reverse");
    } else if (action == "move") {
        editor.clickDot(2, 1);
        QTRY_COMPARE(announcer->text(), u"00 01 00 00 00"_qs);
        QTest::keyClick(&window, Qt::Key_Right, Qt::AltModifier);
    } else if (action == "add") {
        editor.clickDot(1, 1);
        QTRY_COMPARE(announcer->text(), u"01 00 00 00 00"_qs);
        editor.clickControl("data_add");
    } else if (action == "type") {
        editor.field(Field::DataC)->setFocus();
        QTest::keyClicks(editor.field(Field::DataC), u"7f"_qs);
    } else {
        editor.clickDot(1, 1);
        QTRY_COMPARE(announcer->text(), u"01 00 00 00 00"_qs);
        TestEditor::commit(editor.field(Field::DataName), u"A"_qs);
        editor.clickControl("data_add");
        if (action != "add named") {
            QTRY_VERIFY(announcer->text().startsWith(u"一覧に追加しました"));
            if (action == "delete") {
                editor.window().list()->selectRowQuietly(0);
                editor.clickControl("data_delete");
            } else {
                QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
                if (action != "undo")
                    QTRY_VERIFY(announcer->text().startsWith(u"元に戻しました"));
                if (action == "redo")
                    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
                else if (action == "invert after undo")
                    editor.clickControl("reverse");
            }
        }
    }
    if (said.isEmpty()) {
        QCoreApplication::processEvents();
        QCOMPARE(announcer->text(), QString());
    } else {
        QTRY_COMPARE(announcer->text(), said);
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->text(QAccessible::Name),
             announcer->text());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
