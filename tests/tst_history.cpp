// SPDX-License-Identifier: MIT
#include "testeditor.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QTemporaryDir>

using namespace glimra;

// One history for the whole editor: each change is one step, which Ctrl+Z takes back to
// exactly what was shown before it and Ctrl+Y or Ctrl+Shift+Z bring again, wherever the
// focus is in the window.
class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void eachChangeIsOneStep_data();
    void eachChangeIsOneStep();
    void aRunOfTypingStaysInItsField_data();
    void aRunOfTypingStaysInItsField();
    void aNewChangeClearsWhatCouldBeRedone();
    void whatIsNoStepIsNotUndone();
    void theHistoryIsBounded();
    void endingWithAFieldFocused_data();
    void endingWithAFieldFocused();

private:
    TestEditor &e() { return *m_editor; }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    /// All that the user sees and that the history takes back, one line each.
    QStringList shown();
    void key(Qt::KeyboardModifiers modifiers, Qt::Key key);
    void clickEntry(int row);
    void act(const QString &action);

    std::unique_ptr<TestEditor> m_editor;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHistory::init()
{
    m_editor = std::make_unique<TestEditor>();
    m_dir = std::make_unique<QTemporaryDir>();
    // A list, a glyph being drawn and a current file to start from.
    e().entries().append(QStringList{u"41 00 00 00 00    A"_qs, u"7f 0a 00 00 00    b"_qs,
                                     u"43 00 00 00 00    漢字"_qs});
    e().clickDot(2, 2);
    e().field(Field::DataName)->setFocus();
    QTest::keyClicks(e().field(Field::DataName), u"x"_qs);
    e().window().list()->setFocus();
    e().editor->fileCommands().setFileName(path(u"current.glm"_qs));
    e().editor->fileCommands().setFileReady(FileCommands::Ready);
    writeFileBytes(path(u"three.glm"_qs), "31,00,00,00,00,\"1\"\r\n32,00,00,00,00,\"2\"\r\n"
                                          "33,00,00,00,00,\"3\"\r\n");
    writeFileBytes(path(u"partly.glm"_qs), "31,00,00,00,00,\"1\"\r\n\r\n32,00,00,00,00,\"2\"\r\n");
}

void TestHistory::cleanup()
{
    m_editor.reset();
    m_dir.reset();
}

QStringList TestHistory::shown()
{
    const FileCommands &files = e().editor->fileCommands();
    return {u"dots "_qs + e().dotCodes().join(u' '),
            e().previewMatchesDots() ? u"preview as the dots"_qs : u"preview differs"_qs,
            u"codes "_qs + e().codes().join(u' '),
            u"name "_qs + e().text(Field::DataName),
            u"entries "_qs + e().entryTexts().join(u" | "_qs),
            u"selected %1"_qs.arg(e().window().selectedIndex()),
            u"file %1 %2"_qs.arg(files.fileName()).arg(files.fileReady())};
}

void TestHistory::key(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &e().window(), key, modifiers);
}

void TestHistory::clickEntry(int row)
{
    ListBox *list = e().window().list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(row).center());
}

void TestHistory::act(const QString &action)
{
    TestEditor &e = this->e();
    if (action == "dot") {
        e.clickDot(5, 7);
    } else if (action == "code typed") {
        e.field(Field::DataC)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(e.field(Field::DataC), u"7f"_qs);
    } else if (action == "name typed") {
        e.field(Field::DataName)->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(e.field(Field::DataName), u"yz"_qs);
    } else if (action == "name pasted") {
        QGuiApplication::clipboard()->setText(u"貼付"_qs);
        e.field(Field::DataName)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(e.field(Field::DataName), Qt::Key_V, Qt::ControlModifier);
    } else if (action == "invert") {
        e.clickControl("reverse");
    } else if (action == "add") {
        e.clickControl("data_add");
    } else if (action == "delete") {
        clickEntry(1);
        e.platform.beeps = 0;
        e.clickControl("data_delete");
    } else if (action == "read") {
        clickEntry(1);
        e.clickControl("data_read");
    } else if (action == "select") {
        e.window().setQuickPreview(true);
        clickEntry(2);
    } else if (action == "new data" || action == "new file") {
        e.clickControl("icon_new");
        NewDataDialog *dialog = e.editor->newDataDialog();
        dialog->findChild<QAbstractButton *>(action == "new file" ? "newfile" : "newdata")
            ->setChecked(true);
        dialog->findChild<QAbstractButton *>("Command1")->click();
        e.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e.window()));
    } else if (action == "open" || action == "open in part") {
        e.platform.openAnswers << path(action == "open" ? u"three.glm"_qs : u"partly.glm"_qs);
        e.clickControl("icon_open");
    } else if (action == "file dropped") {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path(u"three.glm"_qs))});
        QVERIFY(e.drop(&e.window(), data, QPoint(1, 1)));
    }
}

void TestHistory::eachChangeIsOneStep_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("focus"); // where the keys are pressed
    const auto row = [](const char *action, const char *focus) {
        QTest::addRow("%s, keys in %s", action, focus) << action << focus;
    };
    row("dot", "data_name");
    row("code typed", "data_d"); // the typing moved the focus on
    row("name typed", "data_name");
    row("name pasted", "data_name");
    row("invert", "data_a");
    row("add", "data_list");
    row("delete", "data_list");
    row("read", "data_e");
    row("select", "data_list");
    row("new data", "data_b");
    row("new file", "data_list");
    row("open", "data_name");
    row("open in part", "data_c");
    row("file dropped", "data_list");
}

void TestHistory::eachChangeIsOneStep()
{
    QFETCH(QString, action);
    QFETCH(QString, focus);
    // The middle entry selected: the way back selects it again, also where the step took
    // it away or replaced the whole list.
    clickEntry(1);
    const QStringList before = shown();
    act(action);
    const QStringList after = shown();
    QVERIFY(after != before);
    e().window().findChild<QWidget *>(focus)->setFocus();
    e().window().setStatus(u"kept"_qs);
    const int beeps = e().platform.beeps;
    const QStringList messages = e().platform.messages;

    key(Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(shown(), before);
    key(Qt::ControlModifier, Qt::Key_Y);
    QCOMPARE(shown(), after);
    key(Qt::ControlModifier, Qt::Key_Z);
    key(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    QCOMPARE(shown(), after);
    // Nothing more to redo: nothing happens, without a beep or a word.
    key(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    QCOMPARE(shown(), after);
    QCOMPARE(e().window().status(), u"kept"_qs);
    QCOMPARE(e().platform.beeps, beeps);
    QCOMPARE(e().platform.messages, messages);
}

void TestHistory::aRunOfTypingStaysInItsField_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QStringList>("codes"); // after one Ctrl+Z
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fromMenu"); // the field's own menu asks for the undo
    QTest::newRow("a code typed, then a digit in the field it moved to: the digit goes")
        << "codes" << QStringList{"00", "02", "7f", "00", "00"} << "x" << false;
    QTest::newRow("a dot, then a letter typed and taken back: the dot goes")
        << "taken back" << QStringList{"00", "02", "00", "00", "00"} << "x" << false;
    QTest::newRow("the same, undone from the field's menu")
        << "taken back" << QStringList{"00", "02", "00", "00", "00"} << "x" << true;
}

void TestHistory::aRunOfTypingStaysInItsField()
{
    QFETCH(QString, run);
    QFETCH(QStringList, codes);
    QFETCH(QString, name);
    QFETCH(bool, fromMenu);
    if (run == "codes") {
        e().field(Field::DataC)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(e().field(Field::DataC), u"7f"_qs);
        QTest::keyClicks(e().field(Field::DataD), u"1"_qs);
        QCOMPARE(e().text(Field::DataD), u"1"_qs);
    } else {
        e().clickDot(3, 3);
        QLineEdit *field = e().field(Field::DataName);
        field->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(field, Qt::Key_A);
        QTest::keyClick(field, Qt::Key_Backspace);
    }
    if (fromMenu) {
        QVERIFY(TestEditor::triggerFromContextMenu(QApplication::focusWidget(),
                                                   QLineEdit::tr("&Undo")));
    } else {
        key(Qt::ControlModifier, Qt::Key_Z);
    }
    QCOMPARE(e().codes(), codes);
    QCOMPARE(e().text(Field::DataName), name);
}

void TestHistory::aNewChangeClearsWhatCouldBeRedone()
{
    e().clickDot(1, 1);
    const QStringList first = shown();
    e().clickDot(1, 2);
    key(Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(shown(), first);
    e().clickControl("reverse");
    const QStringList inverted = shown();
    key(Qt::ControlModifier, Qt::Key_Y);
    QCOMPARE(shown(), inverted);
    key(Qt::ControlModifier, Qt::Key_Z);
    key(Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(e().dotCodes(), (QStringList{"00", "02", "00", "00", "00"}));
}

void TestHistory::whatIsNoStepIsNotUndone()
{
    // Save, Copy and the quick-preview mark change no glyph: Undo goes past them.
    e().clickDot(4, 4);
    const QStringList drawn = shown();
    e().platform.saveAnswers << path(u"saved.glm"_qs);
    e().window().action(Command::SaveWithName)->trigger();
    e().clickControl("icon_copy");
    e().window().action(Command::QuickPreview)->trigger();
    key(Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(e().dotCodes(), (QStringList{"00", "02", "00", "00", "00"}));
    QVERIFY(e().window().quickPreview());
    QCOMPARE(fileBytes(path(u"saved.glm"_qs)).count('\n'), 3);
    // The toolbar Save after an Open undone goes where it went before the Open.
    key(Qt::ControlModifier, Qt::Key_Y);
    QCOMPARE(shown().mid(0, 5), drawn.mid(0, 5));
    act(u"open"_qs);
    key(Qt::ControlModifier, Qt::Key_Z);
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked.size(), 1);
    QCOMPARE(fileBytes(path(u"saved.glm"_qs)).count('\n'), 3);
    QCOMPARE(fileBytes(path(u"three.glm"_qs)).count('\n'), 3);
    QCOMPARE(e().editor->fileCommands().fileName(), path(u"saved.glm"_qs));
}

void TestHistory::theHistoryIsBounded()
{
    History &history = e().editor->history();
    for (int i = 0; i < History::MostSteps + 5; ++i)
        e().clickDot(1 + i % 5, 1);
    QCOMPARE(history.undoCount(), History::MostSteps);
    while (history.undoCount() > 0)
        key(Qt::ControlModifier, Qt::Key_Z);
    QCOMPARE(history.redoCount(), History::MostSteps);

    // A big list that could be redone, dropped by a new change, no longer counts against
    // what the history keeps: steps are still added after many.
    QByteArray lines;
    for (int i = 0; i < 1'000'000; ++i)
        lines += "41,00,00,00,00,\"" + QByteArray::number(i) + "\"\r\n";
    writeFileBytes(path(u"big.glm"_qs), lines);
    for (int round = 0; round < 16; ++round) {
        e().platform.openAnswers << path(u"big.glm"_qs);
        e().clickControl("icon_open");
        key(Qt::ControlModifier, Qt::Key_Z);
        e().clickDot(1, 1);
    }
    const int steps = history.undoCount();
    for (int i = 0; i < 3; ++i)
        e().clickDot(1, 1);
    QCOMPARE(history.undoCount(), steps + 3);
}

void TestHistory::endingWithAFieldFocused_data()
{
    QTest::addColumn<bool>("fromMenu"); // File → 終了, else the window's close button
    QTest::newRow("File → 終了") << true;
    QTest::newRow("the window closed") << false;
}

// The focused field goes with the window, after the history: the sanitizer build sees any
// use of what is gone.
void TestHistory::endingWithAFieldFocused()
{
    QFETCH(bool, fromMenu);
    e().window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e().window()));
    e().field(Field::DataName)->setFocus();
    QTest::keyClicks(e().field(Field::DataName), u"yz"_qs);
    QTRY_COMPARE(QApplication::focusWidget(), e().field(Field::DataName));
    if (fromMenu) {
        e().window().action(Command::End)->trigger();
        QCOMPARE(e().platform.ends, 1);
    } else {
        QVERIFY(e().window().close());
    }
    m_editor.reset();
    QCOMPARE(QApplication::focusWidget(), nullptr);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
