// SPDX-License-Identifier: MIT
#include "testeditor.h"

#include <QClipboard>

using namespace glimra;

// Drawing a glyph: dots, typed codes, the decode and its refusals, invert and clear.
class TestGlyphEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dotClicksRewriteAllCodes();
    void strokes_data();
    void strokes();
    void dotClickReplacesWhatWasTyped_data();
    void dotClickReplacesWhatWasTyped();
    void dotClickLeavesFocusAndSelectionAlone();
    void dotClickSetsItsPreviewWithQuickPreviewOff();

    void decode_data();
    void decode();
    void clickIntoCodeFieldSelectsItsText();
    void typingTwoDigitsMovesOnAndDecodes();
    void tenDigitsFillTheFiveFields();
    void returningToTheWindowKeepsAHalfTypedCode();
    void typedRangeFaultKeepsGridAndText();
    void typedCharacterFaultKeepsGrid();
    void editsThatDoNotDecode_data();
    void editsThatDoNotDecode();
    void pastingTwoCharactersDecodes_data();
    void pastingTwoCharactersDecodes();
    void codeFieldsTakeNoInputMethod();
    void codesThroughAnInputMethodAreTypedAsKeys_data();
    void codesThroughAnInputMethodAreTypedAsKeys();

    void invert_data();
    void invert();
    void invertTwiceRestoresInWrittenForm();
    void movesAndMirrorsByKey_data();
    void movesAndMirrorsByKey();
    void copyKeyCopiesTheGlyphWhereNoTextIsSelected();
    void invertFollowsTheGridNotTheField();
    void clearEmptiesTheEditorOnly();
    void quickPreviewToggleOnlyFlipsTheMark();

private:
    TestEditor &e() { return *m_editor; }
    std::unique_ptr<TestEditor> m_editor;
};

void TestGlyphEditor::init()
{
    m_editor = std::make_unique<TestEditor>();
}

void TestGlyphEditor::cleanup()
{
    // Whatever an operation did, each preview cell must show its dot afterwards.
    QVERIFY(e().previewMatchesDots());
    m_editor.reset();
}

void TestGlyphEditor::dotClicksRewriteAllCodes()
{
    e().window().setText(Field::DataC, "7f");
    e().clickDot(1, 1);
    QVERIFY(e().window().dot(1, 1));
    QVERIFY(e().window().previewDot(1, 1));
    QCOMPARE(e().codes(), (QStringList{"01", "00", "00", "00", "00"}));
    e().clickDot(1, 7);
    QCOMPARE(e().text(Field::DataA), u"41"_qs);
    e().clickDot(1, 1);
    QCOMPARE(e().text(Field::DataA), u"40"_qs);
    QVERIFY(!e().window().previewDot(1, 1));
    for (int r = 1; r <= 7; ++r)
        e().clickDot(5, r);
    QCOMPARE(e().codes(), (QStringList{"40", "00", "00", "00", "7F"}));
    e().clickDot(3, 5);
    QCOMPARE(e().text(Field::DataC), u"10"_qs);
    QVERIFY(e().platform.messages.isEmpty());
    QCOMPARE(e().window().status(), QString());
}

void TestGlyphEditor::strokes_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("button");
    QTest::addColumn<QList<QPoint>>("path"); // in the grid's pixels: press, moves, release
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("steps"); // of the history
    const QStringList none{"00", "00", "00", "00", "00"};
    const QStringList column1{"7F", "00", "00", "00", "00"};
    const int left = Qt::LeftButton;
    QTest::newRow("click") << none << left << QList<QPoint>{{8, 8}}
                           << QStringList{"01", "00", "00", "00", "00"} << 1;
    QTest::newRow("right click") << none << int(Qt::RightButton) << QList<QPoint>{{8, 8}} << none
                                 << 0;
    QTest::newRow("middle click") << none << int(Qt::MiddleButton) << QList<QPoint>{{8, 8}} << none
                                  << 0;
    QTest::newRow("click on a lit dot") << column1 << left << QList<QPoint>{{8, 104}}
                                        << QStringList{"3F", "00", "00", "00", "00"} << 1;
    QTest::newRow("down column 1")
        << none << left << QList<QPoint>{{8, 8}, {8, 104}} << column1 << 1;
    QTest::newRow("a lit dot first erases; unlit ones stay")
        << QStringList{"7F", "01", "00", "00", "00"} << left
        << QList<QPoint>{{8, 40}, {72, 40}, {72, 8}} << QStringList{"7B", "01", "00", "00", "00"}
        << 1;
    QTest::newRow("a fast move draws the dots between")
        << none << left << QList<QPoint>{{8, 8}, {72, 72}}
        << QStringList{"01", "02", "04", "08", "10"} << 1;
    QTest::newRow("a fast shallow move draws a dot in every column")
        << none << left << QList<QPoint>{{8, 8}, {72, 40}}
        << QStringList{"01", "03", "02", "06", "04"} << 1;
    QTest::newRow("off the grid and back: the preview takes no part")
        << none << left << QList<QPoint>{{8, 8}, {8, -20}, {110, 100}, {40, 104}}
        << QStringList{"01", "00", "40", "00", "00"} << 1;
    QTest::newRow("released off the window") << none << left << QList<QPoint>{{72, 104}, {500, 500}}
                                             << QStringList{"00", "00", "00", "00", "40"} << 1;
    // The release went to another window: the next press begins a stroke of its own.
    QTest::newRow("a press after a lost release")
        << none << left << QList<QPoint>{{8, 8}, {8, 24}, {8, 24}}
        << QStringList{"01", "00", "00", "00", "00"} << 2;
}

void TestGlyphEditor::strokes()
{
    QFETCH(QStringList, before);
    QFETCH(int, button);
    QFETCH(QList<QPoint>, path);
    QFETCH(QStringList, after);
    QFETCH(int, steps);
    e().setDots(before);
    e().setCodes(before);
    DotGrid *grid = e().window().grid();
    QTest::mousePress(grid, Qt::MouseButton(button), {}, path.first());
    for (qsizetype i = 1; i < path.size(); ++i) {
        if (steps > 1 && i == path.size() - 1)
            QTest::mousePress(grid, Qt::MouseButton(button), {}, path[i]);
        else
            QTest::mouseMove(grid, path[i]);
    }
    QTest::mouseRelease(grid, Qt::MouseButton(button), {}, path.last());
    QCOMPARE(e().dotCodes(), after);
    QCOMPARE(e().codes(), after);
    QVERIFY(e().previewMatchesDots());
    // The whole stroke is one step.
    QCOMPARE(e().editor->history().undoCount(), steps);
    for (int i = 0; i < steps; ++i)
        e().editor->history().undo();
    QCOMPARE(e().dotCodes(), before);
}

void TestGlyphEditor::dotClickReplacesWhatWasTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("one digit") << "4";
    QTest::newRow("lower case code") << "7f";
    QTest::newRow("not a code") << "zz";
}

void TestGlyphEditor::dotClickReplacesWhatWasTyped()
{
    QFETCH(QString, typed);
    e().window().setText(Field::DataC, typed);
    e().clickDot(2, 2);
    QCOMPARE(e().codes(), (QStringList{"00", "02", "00", "00", "00"}));
}

void TestGlyphEditor::dotClickLeavesFocusAndSelectionAlone()
{
    TextField *name = e().field(Field::DataName);
    name->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), name);
    e().clickDot(4, 3);
    QCOMPARE(QApplication::focusWidget(), name);
    for (Field f : CodeFields)
        QVERIFY(!e().field(f)->hasSelectedText());
}

void TestGlyphEditor::dotClickSetsItsPreviewWithQuickPreviewOff()
{
    QVERIFY(!e().window().quickPreview());
    e().clickDot(3, 4);
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= 7; ++r)
            QCOMPARE(e().window().previewDot(c, r), c == 3 && r == 4);
    }
    e().clickDot(3, 4);
    QVERIFY(!e().window().previewDot(3, 4));
}

void TestGlyphEditor::decode_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("grid"); // codes the grid shows afterwards

    const QStringList before{"01", "02", "03", "04", "05"};
    QTest::newRow("41 turns on rows 1 and 7")
        << QStringList{"41", "00", "00", "00", "00"} << QString()
        << QStringList{"41", "00", "00", "00", "00"} << QStringList{"41", "00", "00", "00", "00"};
    QTest::newRow("lower case accepted and kept")
        << QStringList{"0a", "7f", "00", "00", "00"} << QString()
        << QStringList{"0a", "7f", "00", "00", "00"} << QStringList{"0A", "7F", "00", "00", "00"};
    QTest::newRow("empty and one character completed")
        << QStringList{"", "5", "A", "00", ""} << QString()
        << QStringList{"00", "05", "0A", "00", "00"} << QStringList{"00", "05", "0A", "00", "00"};
    QTest::newRow("80 refused for range")
        << QStringList{"00", "80", "00", "00", "00"} << RangeMessage
        << QStringList{"00", "80", "00", "00", "00"} << before;
    QTest::newRow("ff refused for range") << QStringList{"ff", "", "00", "00", "00"} << RangeMessage
                                          << QStringList{"ff", "00", "00", "00", "00"} << before;
    QTest::newRow("g1 not hexadecimal") << QStringList{"g1", "00", "00", "00", "00"} << HexMessage
                                        << QStringList{"g1", "00", "00", "00", "00"} << before;
    QTest::newRow("space five not hexadecimal")
        << QStringList{" 5", "7", "00", "00", "00"} << HexMessage
        << QStringList{" 5", "07", "00", "00", "00"} << before;
    QTest::newRow("full-width digit not hexadecimal")
        << QStringList{u"１"_qs, "00", "00", "00", "00"} << HexMessage
        << QStringList{u"0１"_qs, "00", "00", "00", "00"} << before;
    QTest::newRow("three characters too long")
        << QStringList{"", "123", "4", "00", "00"} << InvalidMessage
        << QStringList{"00", "123", "4", "00", "00"} << before;
    QTest::newRow("character fault beats range fault")
        << QStringList{"80", "zz", "00", "00", "00"} << HexMessage
        << QStringList{"80", "zz", "00", "00", "00"} << before;
}

void TestGlyphEditor::decode()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    QFETCH(QStringList, grid);
    e().setDots({"01", "02", "03", "04", "05"});
    e().setCodes(fields);
    e().editor->glyphEditor().dataToGrid();
    QCOMPARE(e().platform.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(e().codes(), after);
    QCOMPARE(e().dotCodes(), grid);
}

void TestGlyphEditor::clickIntoCodeFieldSelectsItsText()
{
    TextField *a = e().field(Field::DataA);
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(a->width() - 3, a->height() / 2));
    QCOMPARE(QApplication::focusWidget(), a);
    QCOMPARE(a->selectedText(), u"00"_qs);
    QTest::keyClicks(a, "4");
    QCOMPARE(a->text(), u"4"_qs);
}

void TestGlyphEditor::typingTwoDigitsMovesOnAndDecodes()
{
    TextField *a = e().field(Field::DataA);
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(2, a->height() / 2));
    QTest::keyClicks(a, "4");
    QCOMPARE(QApplication::focusWidget(), a);
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
    QTest::keyClicks(a, "1");
    TextField *b = e().field(Field::DataB);
    QCOMPARE(QApplication::focusWidget(), b);
    QCOMPARE(b->selectedText(), u"00"_qs);
    QCOMPARE(a->text(), u"41"_qs);
    QCOMPARE(e().dotCodes(), (QStringList{"41", "00", "00", "00", "00"}));
    QVERIFY(e().window().previewDot(1, 1) && e().window().previewDot(1, 7));
    QVERIFY(e().platform.messages.isEmpty());

    // Typed in lower case, the code stays as typed.
    QTest::keyClicks(b, "7f");
    QCOMPARE(b->text(), u"7f"_qs);
    QCOMPARE(e().dotCodes(), (QStringList{"41", "7F", "00", "00", "00"}));
}

void TestGlyphEditor::tenDigitsFillTheFiveFields()
{
    TextField *a = e().field(Field::DataA);
    a->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), a);
    QCOMPARE(a->selectedText(), u"00"_qs);
    QTest::keyClicks(QApplication::focusWidget(), "1");
    for (const char *digit : {"2", "3", "4", "5", "6", "7", "1", "2", "3"})
        QTest::keyClicks(QApplication::focusWidget(), digit);
    QCOMPARE(e().codes(), (QStringList{"12", "34", "56", "71", "23"}));
    QCOMPARE(e().dotCodes(), (QStringList{"12", "34", "56", "71", "23"}));
    QCOMPARE(QApplication::focusWidget(), e().field(Field::DataName));
}

void TestGlyphEditor::returningToTheWindowKeepsAHalfTypedCode()
{
    TextField *a = e().field(Field::DataA);
    a->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(a, "4");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(a, &away);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(a, &back);
    QVERIFY(!a->hasSelectedText());
    QTest::keyClicks(a, "1");
    QCOMPARE(a->text(), u"41"_qs);
    QCOMPARE(e().dotCodes(), (QStringList{"41", "00", "00", "00", "00"}));
}

void TestGlyphEditor::typedRangeFaultKeepsGridAndText()
{
    e().clickDot(2, 2);
    TextField *b = e().field(Field::DataB);
    b->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(b, "80");
    QCOMPARE(e().platform.messages, QStringList{RangeMessage});
    QCOMPARE(e().platform.focusAtMessage, QStringList{"data_c"}); // moved on before it
    QCOMPARE(b->text(), u"80"_qs);
    QCOMPARE(e().dotCodes(), (QStringList{"00", "02", "00", "00", "00"}));
    QCOMPARE(QApplication::focusWidget(), e().field(Field::DataC));
}

void TestGlyphEditor::typedCharacterFaultKeepsGrid()
{
    TextField *a = e().field(Field::DataA);
    a->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(a, "g1");
    QCOMPARE(e().platform.messages, QStringList{HexMessage});
    QCOMPARE(e().platform.focusAtMessage, QStringList{"data_b"});
    QCOMPARE(a->text(), u"g1"_qs);
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
}

void TestGlyphEditor::editsThatDoNotDecode_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");
    QTest::newRow("delete the second character") << "41" << 2 << int(Qt::Key_Backspace) << "4";
    QTest::newRow("delete the first character") << "41" << 0 << int(Qt::Key_Delete) << "1";
    QTest::newRow("type in front of the only character") << "1" << 0 << int(Qt::Key_4) << "41";
    QTest::newRow("cursor key to position 2") << "41" << 1 << int(Qt::Key_Right) << "41";
}

void TestGlyphEditor::editsThatDoNotDecode()
{
    QFETCH(QString, start);
    QFETCH(int, caret);
    QFETCH(int, key);
    QFETCH(QString, after);
    TextField *a = e().field(Field::DataA);
    e().window().setText(Field::DataA, start);
    a->setFocus();
    a->setCursorPosition(caret);
    QTest::keyClick(a, Qt::Key(key));
    QCOMPARE(a->text(), after);
    QCOMPARE(QApplication::focusWidget(), a);
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
    QVERIFY(e().platform.messages.isEmpty());
}

void TestGlyphEditor::pastingTwoCharactersDecodes_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<bool>("dropped");
    QTest::newRow("two characters") << "7F" << false;
    QTest::newRow("four characters, cut to two") << "7F00" << false;
    QTest::newRow("four characters dropped in an empty field, cut to two") << "7F00" << true;
}

void TestGlyphEditor::pastingTwoCharactersDecodes()
{
    QFETCH(QString, clip);
    QFETCH(bool, dropped);
    QGuiApplication::clipboard()->setText(clip);
    TextField *c = e().field(Field::DataC);
    c->setFocus(Qt::TabFocusReason);
    c->selectAll();
    if (dropped) {
        c->del();
        QMimeData text;
        text.setText(clip);
        QVERIFY(e().drop(c, text, c->rect().center()));
    } else {
        QTest::keyClick(c, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(c->text(), u"7F"_qs);
    QCOMPARE(QApplication::focusWidget(), e().field(Field::DataD));
    QCOMPARE(e().dotCodes(), (QStringList{"00", "00", "7F", "00", "00"}));
}

void TestGlyphEditor::codeFieldsTakeNoInputMethod()
{
    // What an input method asks before it takes a field's keys.
    for (Field f : CodeFields)
        QVERIFY(!e().takesInputMethod(e().field(f)));
    QVERIFY(e().takesInputMethod(e().field(Field::DataName)));
}

void TestGlyphEditor::codesThroughAnInputMethodAreTypedAsKeys_data()
{
    QTest::addColumn<QStringList>("commits");
    QTest::newRow("full-width, a key per commit")
        << QStringList{u"４"_qs, u"１"_qs, u"４"_qs, u"１"_qs, u"７"_qs,
                       u"Ｆ"_qs, u"４"_qs, u"１"_qs, u"４"_qs, u"１"_qs};
    QTest::newRow("full-width, all at once") << QStringList{u"４１４１７Ｆ４１４１"_qs};
    QTest::newRow("ASCII, two at a time") << QStringList{"41", "41", "7F", "41", "41"};
}

void TestGlyphEditor::codesThroughAnInputMethodAreTypedAsKeys()
{
    QFETCH(QStringList, commits);
    TextField *a = e().field(Field::DataA);
    QTest::mouseClick(a, Qt::LeftButton, {}, a->rect().center());
    QTRY_COMPARE(QApplication::focusWidget(), a);
    for (const QString &commit : commits) {
        QInputMethodEvent preedit(commit, {});
        QApplication::sendEvent(QApplication::focusWidget(), &preedit);
        QInputMethodEvent committed;
        committed.setCommitString(commit);
        QApplication::sendEvent(QApplication::focusWidget(), &committed);
    }
    QCOMPARE(e().codes(), (QStringList{"41", "41", "7F", "41", "41"}));
    QCOMPARE(e().dotCodes(), (QStringList{"41", "41", "7F", "41", "41"}));
    QCOMPARE(QApplication::focusWidget(), e().field(Field::DataName));
    QVERIFY(e().platform.messages.isEmpty());
}

void TestGlyphEditor::invert_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty glyph") << QStringList(5, "00") << QStringList(5, "7F");
    QTest::newRow("mixed glyph") << QStringList{"41", "00", "7F", "08", "1C"}
                                 << QStringList{"3E", "7F", "00", "77", "63"};
}

void TestGlyphEditor::invert()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    e().setDots(before);
    e().setCodes(before);
    e().window().setQuickPreview(false);
    e().clickControl("reverse");
    QCOMPARE(e().codes(), after);
    QCOMPARE(e().dotCodes(), after);
    QCOMPARE(e().platform.beeps, 1);
    QCOMPARE(e().window().status(), u"白黒反転処理をしました"_qs);
    QVERIFY(e().platform.messages.isEmpty());
}

void TestGlyphEditor::movesAndMirrorsByKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("after"); // of 41 03 7F 08 1C
    const auto row = [](const char *name, Qt::Key key, const char *focus, const char *after) {
        QTest::newRow(name) << int(key) << focus << QString(after).split(u' ');
    };
    // What leaves one edge comes back at the other; the top row is bit 0.
    row("Alt+Right, in a code field", Qt::Key_Right, "data_c", "1C 41 03 7F 08");
    row("Alt+Left, in the name field", Qt::Key_Left, "data_name", "03 7F 08 1C 41");
    row("Alt+Down, in the list", Qt::Key_Down, "data_list", "03 06 7F 10 38");
    row("Alt+Up, on a button", Qt::Key_Up, "data_add", "60 41 7F 04 0E");
    row("Alt+H, in the name field", Qt::Key_H, "data_name", "1C 08 7F 03 41");
    row("Alt+V, in a code field", Qt::Key_V, "data_a", "41 60 7F 08 1C");
}

void TestGlyphEditor::movesAndMirrorsByKey()
{
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(QStringList, after);
    const QStringList before{"41", "03", "7F", "08", "1C"};
    e().setDots(before);
    e().window().setText(Field::DataA, u"41"_qs); // what GridToData writes again in capitals
    e().window().setText(Field::DataB, u"3"_qs);
    e().window().setText(Field::DataName, u"名前"_qs);
    e().window().findChild<QWidget *>(focus)->setFocus();
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(e().dotCodes(), after);
    QCOMPARE(e().codes(), after);
    QCOMPARE(e().text(Field::DataName), u"名前"_qs);
    QCOMPARE(QApplication::focusWidget(), focused);
    // One step of the history.
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e().dotCodes(), before);
}

void TestGlyphEditor::copyKeyCopiesTheGlyphWhereNoTextIsSelected()
{
    e().clickDot(1, 1);
    TextField *name = e().field(Field::DataName);
    name->setFocus();
    QTest::keyClicks(name, u"ab"_qs);
    QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(e().platform.clipboard, u"01 00 00 00 00    ab"_qs);
    QCOMPARE(e().window().status(), u"データをクリップボードにコピーしました"_qs);
    QCOMPARE(e().platform.beeps, 0);
    // With text selected, the field copies that text itself.
    e().window().setStatus({});
    name->selectAll();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"ab"_qs);
    QCOMPARE(e().window().status(), QString());
    e().window().list()->setFocus();
    QTest::keyClick(e().window().list(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(e().window().status(), u"データをクリップボードにコピーしました"_qs);
}

void TestGlyphEditor::invertTwiceRestoresInWrittenForm()
{
    e().setCodes({"0a", "00", "00", "00", "00"});
    e().editor->glyphEditor().dataToGrid();
    e().clickControl("reverse");
    e().clickControl("reverse");
    QCOMPARE(e().codes(), (QStringList{"0A", "00", "00", "00", "00"}));
    QCOMPARE(e().platform.beeps, 2);
    QCOMPARE(e().window().status(), u"白黒反転処理をしました"_qs);
}

void TestGlyphEditor::invertFollowsTheGridNotTheField()
{
    TextField *a = e().field(Field::DataA);
    a->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(a, "4");
    e().clickControl("reverse");
    QCOMPARE(e().text(Field::DataA), u"7F"_qs);
}

void TestGlyphEditor::clearEmptiesTheEditorOnly()
{
    e().entries().append(u"01 00 00 00 00    A"_qs);
    e().entries().append(u"02 00 00 00 00    B"_qs);
    e().window().list()->setCurrentRow(1);
    e().window().setStatus("kept");
    e().setDots({"41", "00", "7F", "08", "1C"});
    e().setCodes({"41", "00", "7f", "8", "1C"});
    e().window().setText(Field::DataName, u"名前"_qs);
    TextField *name = e().field(Field::DataName);
    name->setFocus();
    e().editor->glyphEditor().reset2();
    QCOMPARE(e().codes(), QStringList(5, "00"));
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
    QCOMPARE(e().text(Field::DataName), QString());
    QCOMPARE(e().entries().count(), 2);
    QCOMPARE(e().window().selectedIndex(), 1);
    QCOMPARE(e().window().status(), u"kept"_qs);
    QCOMPARE(e().platform.beeps, 0);
    QCOMPARE(QApplication::focusWidget(), name);
}

void TestGlyphEditor::quickPreviewToggleOnlyFlipsTheMark()
{
    e().clickDot(2, 3);
    QAction *item = e().window().action(Command::QuickPreview);
    item->trigger();
    QVERIFY(e().window().quickPreview());
    QVERIFY(item->isChecked());
    item->trigger();
    QVERIFY(!e().window().quickPreview());
    QCOMPARE(e().dotCodes(), (QStringList{"00", "04", "00", "00", "00"}));
    QCOMPARE(e().window().status(), QString());
}

QTEST_MAIN(TestGlyphEditor)
#include "tst_glypheditor.moc"
