// SPDX-License-Identifier: MIT
#include "document/entrymodel.h"
#include "testeditor.h"
#include "ui/listbox.h"
#include "ui/listboxaccessible.h"

#include <QAccessible>
#include <QClipboard>
#include <QSignalSpy>
#include <QStringListModel>

using namespace glimra;

namespace {
const QString EnterData = u"データを入力してください"_qs;
const QString EnterName = u"データ名を入力してください"_qs;
/// As many rows as a list can count, none of them kept anywhere.
class EveryRowModel : public QAbstractListModel
{
public:
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : EntryModel::MostEntries;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(u"01 00 00 00 00    %1"_qs.arg(index.row()))
                                       : QVariant();
    }
};

} // namespace

// The glyph list's Add, Delete, Select and Read, and the clipboard copy.
class TestGlyphList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void add_data();
    void add();
    void addTwiceGivesTwoEntries();
    void addedEntryIsNotSelected();
    void deleteRemovesTheSelectedEntry_data();
    void deleteRemovesTheSelectedEntry();
    void deleteWithNothingSelectedDoesNothing();
    void selectLoadsOnlyWithQuickPreview();
    void selectByKeyboardLoads();
    void firstDownArrowSelectsTheFirstEntry_data();
    void firstDownArrowSelectsTheFirstEntry();
    void keysMoveThroughALongList_data();
    void keysMoveThroughALongList();
    void scrollHintsPlaceTheRow_data();
    void scrollHintsPlaceTheRow();
    void aListOfAsManyRowsAsCanBeCountedKeepsItsPlaces();
    void aListHearsOnlyTheModelItShows();
    void selectionCannotBeTakenAway_data();
    void selectionCannotBeTakenAway();
    void readLoadsAsStored_data();
    void readLoadsAsStored();
    void readWithNothingSelectedClears();
    void glyphLinePastedLoadsTheEditor_data();
    void glyphLinePastedLoadsTheEditor();
    void programListChangesAreNoSelect();
    void copy_data();
    void copy();
    void copyTwiceGivesTheSameText();

private:
    TestEditor &e() { return *m_editor; }
    void selectRow(int row) { e().window().list()->setCurrentRow(row); }
    std::unique_ptr<TestEditor> m_editor;
};

void TestGlyphList::init()
{
    m_editor = std::make_unique<TestEditor>();
}

void TestGlyphList::cleanup()
{
    QVERIFY(e().previewMatchesDots());
    m_editor.reset();
}

void TestGlyphList::add_data()
{
    QTest::addColumn<QStringList>("grid");   // dots on before Add
    QTest::addColumn<QStringList>("fields"); // code texts before Add
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");   // appended entry, or empty for none
    QTest::addColumn<QString>("message"); // message box, if any
    QTest::addColumn<QString>("status");  // status text afterwards
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QStringList>("after"); // code texts afterwards
    QTest::addColumn<QString>("focus");     // focused control afterwards, if moved

    const QStringList zeros(5, "00");
    const QStringList empty(5, "");
    QTest::newRow("empty fields, empty grid") << zeros << empty << "A"
                                              << ""
                                              << "" << EnterData << 1 << zeros << "data_a";
    QTest::newRow("empty glyph and empty name: the glyph is asked for first")
        << zeros << zeros << ""
        << ""
        << "" << EnterData << 1 << zeros << "data_a";
    QTest::newRow("all 00 with dots on takes the grid")
        << QStringList{"41", "00", "00", "00", "01"} << zeros << "A"
        << "41 00 00 00 01    A"
        << ""
        << "" << 0 << zeros << "";
    QTest::newRow("one digit completed") << zeros << QStringList{"01", "5", "00", "00", "00"} << "A"
                                         << "01 05 00 00 00    A"
                                         << ""
                                         << "" << 0 << zeros << "";
    QTest::newRow("lower case kept in the entry")
        << zeros << QStringList{"7f", "00", "00", "00", "00"} << "A"
        << "7f 00 00 00 00    A"
        << ""
        << "" << 0 << zeros << "";
    QTest::newRow("non-hexadecimal replaced by the grid")
        << QStringList{"00", "02", "00", "00", "00"} << QStringList{"G1", "00", "00", "00", "00"}
        << "A"
        << "00 02 00 00 00    A"
        << ""
        << "" << 0 << zeros << "";
    QTest::newRow("non-hexadecimal on an empty grid is an empty glyph")
        << zeros << QStringList{"G1", "00", "00", "00", "00"} << "A"
        << ""
        << "" << EnterData << 1 << zeros << "data_a";
    QTest::newRow("out of range refused, editor kept")
        << zeros << QStringList{"80", "", "3", "00", "00"} << "A"
        << "" << RangeMessage << "" << 0 << QStringList{"80", "00", "03", "00", "00"} << "";
    QTest::newRow("over-long field refused")
        << zeros << QStringList{"", "123", "3", "00", "00"} << "A"
        << "" << InvalidMessage << "" << 0 << QStringList{"00", "123", "3", "00", "00"} << "";
    QTest::newRow("empty name") << zeros << QStringList{"41", "00", "00", "00", "00"} << ""
                                << ""
                                << "" << EnterName << 1 << QStringList{"41", "00", "00", "00", "00"}
                                << "data_name";
    QTest::newRow("name of spaces accepted")
        << zeros << QStringList{"41", "00", "00", "00", "00"} << "   "
        << "41 00 00 00 00       "
        << ""
        << "" << 0 << zeros << "";
    QTest::newRow("list full: the glyph stays, with a beep")
        << zeros << QStringList{"41", "00", "00", "00", "00"} << "A"
        << ""
        << ""
        << "" << 1 << QStringList{"41", "00", "00", "00", "00"} << "";
    QTest::newRow("Japanese name") << zeros << QStringList{"7F", "08", "08", "08", "7F"}
                                   << u"エイチ"_qs << u"7F 08 08 08 7F    エイチ"_qs << ""
                                   << "" << 0 << zeros << "";
}

void TestGlyphList::add()
{
    QFETCH(QStringList, grid);
    QFETCH(QStringList, fields);
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(QString, status);
    QFETCH(int, beeps);
    QFETCH(QStringList, after);
    QFETCH(QString, focus);

    e().entries().append(u"01 00 00 00 00    old"_qs);
    if (QByteArray(QTest::currentDataTag()).startsWith("list full"))
        e().entries().setCapacity(1);
    e().setDots(grid);
    e().setCodes(fields);
    e().window().setText(Field::DataName, name);
    e().clickControl("data_add");

    QStringList expected{u"01 00 00 00 00    old"_qs};
    if (!entry.isEmpty())
        expected << entry;
    QStringList entries;
    for (int i = 0; i < e().entries().count(); ++i)
        entries << e().entries().entry(i);
    QCOMPARE(entries, expected);
    QCOMPARE(e().platform.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(e().window().status(), status);
    QCOMPARE(e().platform.beeps, beeps);
    QCOMPARE(e().codes(), after);
    if (!focus.isEmpty())
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    if (!entry.isEmpty()) {
        // A successful Add clears the editor.
        QCOMPARE(e().dotCodes(), QStringList(5, "00"));
        QCOMPARE(e().text(Field::DataName), QString());
    } else if (message.isEmpty()) {
        // Refused at the empty glyph or the empty name: the grid shows the checked codes.
        QCOMPARE(e().dotCodes(), QStringList(after).replaceInStrings("7f", "7F"));
        QCOMPARE(e().text(Field::DataName), name);
    } else {
        QCOMPARE(e().dotCodes(), grid); // the grid is not redrawn
    }
}

void TestGlyphList::addTwiceGivesTwoEntries()
{
    e().window().setStatus("before");
    for (int i = 0; i < 2; ++i) {
        e().clickDot(1, 1);
        e().window().setText(Field::DataName, "dot");
        e().clickControl("data_add");
    }
    QCOMPARE(e().entries().count(), 2);
    QCOMPARE(e().entries().entry(0), u"01 00 00 00 00    dot"_qs);
    QCOMPARE(e().entries().entry(1), e().entries().entry(0));
    QCOMPARE(e().window().status(), u"before"_qs);
    QCOMPARE(e().platform.beeps, 0);
}

void TestGlyphList::addedEntryIsNotSelected()
{
    e().clickDot(1, 1);
    e().window().setText(Field::DataName, "x");
    e().clickControl("data_add");
    QCOMPARE(e().window().selectedIndex(), -1);
}

void TestGlyphList::deleteRemovesTheSelectedEntry_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("left");
    const QString a = "01 00 00 00 00    a", b = "02 00 00 00 00    b", c = "03 00 00 00 00    c";
    QTest::newRow("middle entry") << 1 << QStringList{a, c};
    QTest::newRow("first entry") << 0 << QStringList{b, c};
    QTest::newRow("last entry") << 2 << QStringList{a, b};
}

void TestGlyphList::deleteRemovesTheSelectedEntry()
{
    QFETCH(int, row);
    QFETCH(QStringList, left);
    for (const char *entry : {"01 00 00 00 00    a", "02 00 00 00 00    b", "03 00 00 00 00    c"})
        e().entries().append(entry);
    e().window().action(Command::QuickPreview)->trigger();
    selectRow(row);
    e().setCodes({"11", "11", "11", "11", "11"}); // the editor is no business of Delete
    e().clickControl("data_delete");
    QCOMPARE(e().entries().count(), 2);
    QCOMPARE((QStringList{e().entries().entry(0), e().entries().entry(1)}), left);
    const QAbstractItemModel *model = e().window().list()->model();
    QVERIFY(!model->index(2, 0).isValid() && !model->index(-1, 0).isValid());
    QVERIFY(!model->index(0, 1).isValid() && model->index(1, 0).isValid());
    QCOMPARE(e().window().selectedIndex(), -1);
    QCOMPARE(QApplication::focusWidget(), e().window().list());
    QCOMPARE(e().codes(), QStringList(5, "11"));
    e().clickControl("data_delete"); // nothing selected now
    QCOMPARE(e().entries().count(), 2);
}

void TestGlyphList::deleteWithNothingSelectedDoesNothing()
{
    e().entries().append("01 00 00 00 00    a");
    e().clickControl("data_delete");
    QCOMPARE(e().entries().count(), 1);
    // The click itself focuses the button, as any button click does; Delete moves it no further.
    QCOMPARE(QApplication::focusWidget()->objectName(), u"data_delete"_qs);
    QVERIFY(e().platform.messages.isEmpty());
}

void TestGlyphList::selectLoadsOnlyWithQuickPreview()
{
    e().entries().append("41 00 00 00 00    A");
    auto *list = e().window().list();
    const QRect first = list->rowRect(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(e().window().selectedIndex(), 0);
    QCOMPARE(e().codes(), QStringList(5, "00"));
    QCOMPARE(e().text(Field::DataName), QString());

    e().clickControl("data_read");
    QCOMPARE(e().codes(), (QStringList{"41", "00", "00", "00", "00"}));
    QCOMPARE(e().text(Field::DataName), u"A"_qs);
    QCOMPARE(e().dotCodes(), (QStringList{"41", "00", "00", "00", "00"}));

    e().editor->glyphEditor().reset2();
    e().entries().append("00 7f 00 00 00    B");
    e().window().action(Command::QuickPreview)->trigger();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(1).center());
    QCOMPARE(e().codes(), (QStringList{"00", "7f", "00", "00", "00"}));
    QCOMPARE(e().dotCodes(), (QStringList{"00", "7F", "00", "00", "00"}));
    QCOMPARE(e().text(Field::DataName), u"B"_qs);
    QCOMPARE(e().window().selectedIndex(), 1);
    QCOMPARE(e().entries().count(), 2);
}

void TestGlyphList::selectByKeyboardLoads()
{
    e().entries().append("01 00 00 00 00    a");
    e().entries().append("02 00 00 00 00    b");
    e().window().setQuickPreview(true);
    selectRow(0);
    QCOMPARE(e().text(Field::DataName), u"a"_qs);
    QTest::keyClick(e().window().list(), Qt::Key_Down);
    QCOMPARE(e().text(Field::DataName), u"b"_qs);
    QCOMPARE(e().dotCodes(), (QStringList{"02", "00", "00", "00", "00"}));
}

void TestGlyphList::firstDownArrowSelectsTheFirstEntry_data()
{
    QTest::addColumn<bool>("afterDelete");
    QTest::newRow("nothing chosen yet") << false;
    QTest::newRow("after a Delete") << true;
}

void TestGlyphList::firstDownArrowSelectsTheFirstEntry()
{
    QFETCH(bool, afterDelete);
    for (const char *entry : {"01 00 00 00 00    a", "02 00 00 00 00    b", "03 00 00 00 00    c"})
        e().entries().append(entry);
    if (afterDelete) {
        selectRow(1);
        e().clickControl("data_delete");
    }
    e().window().setQuickPreview(true);
    auto *list = e().window().list();
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(e().window().selectedIndex(), 0);
    QCOMPARE(e().text(Field::DataName), u"a"_qs);
}

void TestGlyphList::keysMoveThroughALongList_data()
{
    // Where each key leaves the selection, from a row, in rows wholly on screen ("page").
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::newRow("End") << 5 << int(Qt::Key_End) << "last";
    QTest::newRow("Home") << 9000 << int(Qt::Key_Home) << "0";
    QTest::newRow("PageDown: the last row wholly on screen")
        << 0 << int(Qt::Key_PageDown) << "page - 1";
    QTest::newRow("PageDown again: a page less one row on")
        << 0 << int(Qt::Key_PageDown) << "twice";
    QTest::newRow("PageUp near the top") << 2 << int(Qt::Key_PageUp) << "0";
    QTest::newRow("PageDown near the end") << 9998 << int(Qt::Key_PageDown) << "last";
    QTest::newRow("Down on the last row") << 9999 << int(Qt::Key_Down) << "last";
    QTest::newRow("Up on the first row") << 0 << int(Qt::Key_Up) << "0";
    QTest::newRow("7 typed: the next entry starting with it") << 5 << int(Qt::Key_7) << "70";
}

void TestGlyphList::keysMoveThroughALongList()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    QStringList entries;
    for (int i = 0; i < 10000; ++i)
        entries << u"%1 00 00 00 00    %2"_qs.arg(i % 100, 2, 10, QChar(u'0')).arg(i);
    e().entries().append(entries);
    e().window().setQuickPreview(true);
    ListBox *list = e().window().list();
    list->setFocus();
    selectRow(from);
    const int page = list->viewport()->height() / list->rowRect(from).height();
    QTest::keyClick(list, Qt::Key(key));
    if (to == "twice")
        QTest::keyClick(list, Qt::Key(key));
    const int expected = to == "last"       ? 9999
                         : to == "page - 1" ? page - 1
                         : to == "twice"    ? 2 * (page - 1)
                                            : to.toInt();
    QCOMPARE(e().window().selectedIndex(), expected);
    QCOMPARE(e().text(Field::DataName), QString::number(expected));
    // The selected row is wholly on screen.
    QVERIFY(list->viewport()->rect().contains(list->rowRect(expected)));
}

void TestGlyphList::scrollHintsPlaceTheRow_data()
{
    // Where row 500 comes to be shown: whole rows from the top of the list.
    QTest::addColumn<int>("hint");
    QTest::addColumn<QString>("place");
    QTest::newRow("at the top") << int(QAbstractItemView::PositionAtTop) << "top";
    QTest::newRow("at the bottom") << int(QAbstractItemView::PositionAtBottom) << "bottom";
    QTest::newRow("at the centre") << int(QAbstractItemView::PositionAtCenter) << "centre";
    QTest::newRow("just in sight, from above") << int(QAbstractItemView::EnsureVisible) << "bottom";
}

void TestGlyphList::scrollHintsPlaceTheRow()
{
    QFETCH(int, hint);
    QFETCH(QString, place);
    QStringList entries;
    for (int i = 0; i < 1000; ++i)
        entries << u"01 00 00 00 00    %1"_qs.arg(i);
    e().entries().append(entries);
    ListBox *list = e().window().list();
    const int whole = list->viewport()->height() / list->rowRect(0).height();
    list->scrollTo(list->model()->index(500, 0), QAbstractItemView::ScrollHint(hint));
    const int fromTop = place == "top" ? 0 : place == "bottom" ? whole - 1 : whole / 2;
    QCOMPARE(list->firstVisibleRow(), 500 - fromTop);
    QCOMPARE(list->indexAt(list->rowRect(500).center()).row(), 500);
    // Questions outside the list have empty answers, and change nothing.
    QVERIFY(!list->indexAt(QPoint(0, -1)).isValid() && list->visualRect({}).isEmpty());
    const int top = list->firstVisibleRow();
    list->scrollTo({});
    QCOMPARE(list->firstVisibleRow(), top);
    QStringListModel other({"x"});
    QVERIFY(list->visualRect(other.index(0)).isEmpty());
    const QAbstractItemModel *model = list->model();
    QVERIFY(model->rowCount(model->index(0, 0)) == 0 &&
            !model->data(model->index(0, 0), Qt::DecorationRole).isValid());
    e().entries().append(QStringList());
    e().entries().removeAt(1000);
    QVERIFY(list->text(-1).isEmpty() && list->text(1000).isEmpty() && list->count() == 1000);
    list->setCurrentRow(500);
    QTest::keyClick(list, Qt::Key_Left);
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(list->selectedRow(), 501);
    // A larger font makes every row higher.
    const int height = list->rowRect(500).height();
    QFont font = list->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    list->setFont(font);
    QCOMPARE_GT(list->rowRect(500).height(), height);
}

void TestGlyphList::aListOfAsManyRowsAsCanBeCountedKeepsItsPlaces()
{
    // Pixel places far down such a list pass what an int holds: rows must stay where the
    // view shows them, a click must land on its row, and the rows off screen stay off it.
    EveryRowModel rows;
    InstallListBoxAccessibility();
    ListBox list;
    list.setModel(&rows);
    list.resize(300, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const int last = EntryModel::MostEntries - 1;
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_End);
    QCOMPARE(list.selectedRow(), last);
    QVERIFY(list.viewport()->rect().contains(list.rowRect(last)));
    QCOMPARE(list.indexAt(list.rowRect(last).center()).row(), last);
    QCOMPARE_LT(list.rowRect(0).bottom(), 0);
    QCOMPARE_LT(list.rowRect(last / 2).bottom(), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.rowRect(last - 1).center());
    QCOMPARE(list.selectedRow(), last - 1);
    // A page on from there stops at the last row; a page back from the first, at the first.
    QTest::keyClick(&list, Qt::Key_PageDown);
    QCOMPARE(list.selectedRow(), last);
    QTest::keyClick(&list, Qt::Key_PageUp);
    QCOMPARE_LT(list.selectedRow(), last - 1);
    QCOMPARE_GT(list.selectedRow(), last - 100);
    QTest::keyClick(&list, Qt::Key_Home);
    QTest::keyClick(&list, Qt::Key_PageUp);
    QCOMPARE(list.selectedRow(), 0);
    QTest::keyClick(&list, Qt::Key_End);
    QVERIFY(!list.grab().isNull());
    QAccessibleTableInterface *table =
        QAccessible::queryAccessibleInterface(&list)->tableInterface();
    QCOMPARE(table->rowCount(), EntryModel::MostEntries);
    QVERIFY(table->cellAt(0, 0)->rect().isNull());
    QVERIFY(!table->cellAt(last, 0)->rect().isNull());
}

void TestGlyphList::aListHearsOnlyTheModelItShows()
{
    QStringListModel before({"41 00 00 00 00    A"}), after({"42 00 00 00 00    B"});
    ListBox list;
    list.setModel(&before);
    list.setModel(&after);
    QSignalSpy rows(&list, &ListBox::rowsChanged);
    QSignalSpy selected(&list, &ListBox::selectionChanged);
    before.insertRows(0, 1);
    before.removeRows(0, 2);
    QCOMPARE(rows.size(), 0);
    list.setCurrentRow(0);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(list.text(0), "42 00 00 00 00    B");
    list.setModel(nullptr);
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.text(0), QString());
}

void TestGlyphList::selectionCannotBeTakenAway_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+click on the selected entry") << "click";
    QTest::newRow("Ctrl+Space") << "space";
    QTest::newRow("a click below the last entry") << "below";
    QTest::newRow("a Select with nothing selected") << "select";
}

void TestGlyphList::selectionCannotBeTakenAway()
{
    QFETCH(QString, how);
    e().entries().append("01 00 00 00 00    a");
    e().entries().append("02 00 00 00 00    b");
    e().window().setQuickPreview(true);
    auto *list = e().window().list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(1).center());
    e().clickDot(5, 7); // the user goes on drawing
    const QStringList drawn{"02", "00", "00", "00", "40"};
    QCOMPARE(e().codes(), drawn);
    if (how == "click") {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->rowRect(1).center());
    } else if (how == "space") {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    } else if (how == "below") {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->rowRect(1).center() + QPoint(0, 3 * list->rowRect(1).height()));
    } else {
        list->selectionModel()->clear();
        emit e().window().commandChosen(Command::Select);
    }
    QCOMPARE(e().window().selectedIndex(), how == "select" ? -1 : 1);
    QCOMPARE(e().codes(), drawn);
    QCOMPARE(e().text(Field::DataName), u"b"_qs);
    QCOMPARE(e().dotCodes(), drawn);
}

void TestGlyphList::readLoadsAsStored_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("lower case stays lower case")
        << "7f 0a 00 00 00    x" << QStringList{"7f", "0a", "00", "00", "00"} << "x"
        << QStringList();
    QTest::newRow("codes from a file that are not codes")
        << "7f zz 08 08 7F    x" << QStringList{"7f", "zz", "08", "08", "7F"} << "x"
        << QStringList{u"データには１６進法を入力してください。"_qs};
    QTest::newRow("long name from a file")
        << "01 00 00 00 00    " + QString(25, u'n') << QStringList{"01", "00", "00", "00", "00"}
        << QString(25, u'n') << QStringList();
}

void TestGlyphList::readLoadsAsStored()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, codes);
    QFETCH(QString, name);
    QFETCH(QStringList, messages);
    e().entries().append(entry);
    e().window().setStatus("kept");
    selectRow(0);
    e().clickControl("data_read");
    QCOMPARE(e().codes(), codes);
    QCOMPARE(e().text(Field::DataName), name);
    QCOMPARE(e().platform.messages, messages);
    QCOMPARE(e().window().status(), u"kept"_qs);
    QCOMPARE(e().window().selectedIndex(), 0);
}

void TestGlyphList::glyphLinePastedLoadsTheEditor_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key"); // with Ctrl, V; else Shift+Insert
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const QStringList h{"7F", "08", "08", "08", "7F"};
    const QStringList before{"01", "00", "00", "00", "00"};
    const auto row = [](const char *tag, const QString &clip, const char *focus, Qt::Key key,
                        const QStringList &codes, const QString &name, const QString &message) {
        QTest::newRow(tag) << clip << focus << int(key) << codes << name << message;
    };
    row("the editor's own copy, in a code field", u"7f 08 08 08 7F    H"_qs, "data_b", Qt::Key_V,
        {"7f", "08", "08", "08", "7F"}, u"H"_qs, {});
    row("a glyph file line, in the list", u"7F,08,08,08,7F,\"漢字\""_qs, "data_list", Qt::Key_V, h,
        u"漢字"_qs, {});
    row("a C initialiser, on a button", u"{0x7F, 0x08, 0x8, 0x08, 0x7f},"_qs, "data_add", Qt::Key_V,
        h, {}, {});
    row("codes as BASIC writes them", u"&H7F,&H8,&h08, &H08,&H7F"_qs, "data_list", Qt::Key_V, h, {},
        {});
    row("codes with a dollar and an h", u"$7F $08 8h 08H 7fh"_qs, "data_e", Qt::Key_V, h, {}, {});
    row("Shift+Insert, a line end after", u"7F 08 08 08 7F    H\r\n"_qs, "data_list",
        Qt::Key_Insert, h, u"H"_qs, {});
    row("a name cut to 17", u"7F 08 08 08 7F    "_qs + QString(20, u'n'), "data_a", Qt::Key_V, h,
        QString(17, u'n'), {});
    row("a name cut before what no file holds", u"7F 08 08 08 7F    ab\u00F6cd"_qs, "data_a",
        Qt::Key_V, h, u"ab"_qs, {});
    row("a code above 7F refused, the editor as it was", u"80,08,08,08,7F,\"X\""_qs, "data_list",
        Qt::Key_V, before, u"old"_qs, RangeMessage);
    row("no glyph line, in a code field: pasted as text", u"7F"_qs, "data_c", Qt::Key_V,
        {"01", "00", "7F", "00", "00"}, u"old"_qs, {});
    row("no glyph line, in the list: nothing", u"four codes 1 2 3 4"_qs, "data_list", Qt::Key_V,
        before, u"old"_qs, {});
    row("six codes are no glyph line", u"1,2,3,4,5,6"_qs, "data_list", Qt::Key_V, before, u"old"_qs,
        {});
    row("two lines are no glyph line", u"7F 08 08 08 7F    H\n7F 08 08 08 7F    I"_qs, "data_list",
        Qt::Key_V, before, u"old"_qs, {});
    row("braces with text after are no glyph line", u"{1,2,3,4,5} x"_qs, "data_list", Qt::Key_V,
        before, u"old"_qs, {});
    row("braces with a comment after are no glyph line", u"{0x01,0x02,0x03,0x04,0x05}, // H"_qs,
        "data_list", Qt::Key_V, before, u"old"_qs, {});
    row("a code of three digits is none", u"{0X7F 0x08 0x08 0x08 0x17F}"_qs, "data_list", Qt::Key_V,
        before, u"old"_qs, {});
    row("the name field pastes text, even a glyph line", u"7F 08 08 08 7F    H"_qs, "data_name",
        Qt::Key_V, before, u"7F 08 08 08 7F   "_qs, {});
}

// A glyph line on the clipboard, pasted anywhere but the name field, loads the editor as
// Read loads an entry; anything else pastes as text, as it always has.
void TestGlyphList::glyphLinePastedLoadsTheEditor()
{
    QFETCH(QString, clip);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QStringList, codes);
    QFETCH(QString, name);
    QFETCH(QString, message);
    e().clickDot(1, 1);
    e().window().setText(Field::DataName, focus == "data_name" ? QString() : u"old"_qs);
    QGuiApplication::clipboard()->setText(clip);
    auto *target = e().window().findChild<QWidget *>(focus);
    target->setFocus(Qt::TabFocusReason);
    QTest::keyClick(target, Qt::Key(key),
                    key == Qt::Key_V ? Qt::ControlModifier : Qt::ShiftModifier);
    QCOMPARE(e().codes(), codes);
    QCOMPARE(e().dotCodes(), QStringList(codes).replaceInStrings("7f", "7F"));
    QCOMPARE(e().text(Field::DataName), name);
    QCOMPARE(e().platform.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(e().previewMatchesDots());
    QCOMPARE(e().entries().count(), 0);
}

void TestGlyphList::readWithNothingSelectedClears()
{
    e().entries().append("41 00 00 00 00    A");
    e().setDots({"01", "02", "03", "04", "05"});
    e().setCodes({"01", "02", "03", "04", "05"});
    e().window().setText(Field::DataName, "old");
    e().clickControl("data_read");
    QCOMPARE(e().codes(), QStringList(5, "00"));
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
    QCOMPARE(e().text(Field::DataName), QString());
    QVERIFY(e().platform.messages.isEmpty());
}

void TestGlyphList::programListChangesAreNoSelect()
{
    e().window().setQuickPreview(true);
    e().entries().append("41 00 00 00 00    A");
    e().entries().append("42 00 00 00 00    B");
    selectRow(0);
    e().editor->glyphEditor().reset2();
    e().entries().removeAt(0);
    e().entries().append("43 00 00 00 00    C");
    e().entries().clear();
    QCOMPARE(e().codes(), QStringList(5, "00"));
    QCOMPARE(e().text(Field::DataName), QString());
}

void TestGlyphList::copy_data()
{
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("clipboard");

    QTest::newRow("empty glyph, no name")
        << QStringList(5, "00") << QStringList(5, "00") << "" << false << "00 00 00 00 00    ";
    QTest::newRow("with a name") << QStringList{"7F", "08", "08", "08", "7F"}
                                 << QStringList{"7F", "08", "08", "08", "7F"} << "H" << true
                                 << "7F 08 08 08 7F    H";
    QTest::newRow("typed lower case written from the grid")
        << QStringList{"7F", "00", "00", "00", "00"} << QStringList{"7f", "00", "00", "00", "00"}
        << "n" << false << "7F 00 00 00 00    n";
    QTest::newRow("a single typed digit gives way to the grid")
        << QStringList{"00", "00", "00", "00", "00"} << QStringList{"4", "00", "00", "00", "00"}
        << "" << true << "00 00 00 00 00    ";
}

void TestGlyphList::copy()
{
    QFETCH(QStringList, grid);
    QFETCH(QStringList, fields);
    QFETCH(QString, name);
    QFETCH(bool, fromMenu);
    QFETCH(QString, clipboard);
    e().setDots(grid);
    e().setCodes(fields);
    e().window().setText(Field::DataName, name);
    if (fromMenu)
        e().window().action(Command::CopyFromMenu)->trigger();
    else
        e().clickControl("icon_copy");
    QCOMPARE(e().platform.clipboard, clipboard);
    QCOMPARE(e().platform.clipboardCalls, (QStringList{"clear", "set"}));
    QCOMPARE(e().codes(), grid);
    QCOMPARE(e().text(Field::DataName), name);
    QCOMPARE(e().platform.beeps, fromMenu ? 0 : 1);
    QCOMPARE(e().window().status(), fromMenu ? u"データをクリップボードにコピーしました"_qs
                                             : u"データをクリップボードにコピーしました。"_qs);
    QCOMPARE(e().dotCodes(), grid);
}

void TestGlyphList::copyTwiceGivesTheSameText()
{
    e().clickDot(2, 5);
    e().window().setText(Field::DataName, u"名"_qs);
    e().clickControl("icon_copy");
    const QString first = e().platform.clipboard;
    e().clickControl("icon_copy");
    QCOMPARE(e().platform.clipboard, first);
    QCOMPARE(first, u"00 10 00 00 00    名"_qs);
    QCOMPARE(e().codes(), (QStringList{"00", "10", "00", "00", "00"}));
}

QTEST_MAIN(TestGlyphList)
#include "tst_glyphlist.moc"
