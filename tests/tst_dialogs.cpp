// SPDX-License-Identifier: MIT
#include "testeditor.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace glimra;

// The "new" dialog: its design, its single modeless instance and its two choices.
class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newDialogDesign_data();
    void newDialogDesign();
    void newDialogOpensWithNewDataChosenAndFocused();
    void newDialogIsOneModelessWindowPlacedAgainstMain();
    void newDataClearsOnlyTheEditor();
    void newFileStartsOver();
    void cancelAndCloseBoxChangeNothing_data();
    void cancelAndCloseBoxChangeNothing();
    void okWithNothingChosenDoesNothing();
    void minimisedDialogComesBack_data();
    void minimisedDialogComesBack();

private:
    TestEditor &e() { return *m_editor; }
    NewDataDialog *openNew();
    void prepareWork();
    std::unique_ptr<TestEditor> m_editor;
};

void TestDialogs::init()
{
    m_editor = std::make_unique<TestEditor>();
}

void TestDialogs::cleanup()
{
    m_editor.reset();
}

NewDataDialog *TestDialogs::openNew()
{
    e().clickControl("icon_new");
    return e().editor->newDataDialog();
}

void TestDialogs::prepareWork()
{
    e().entries().append("41 00 00 00 00    A");
    e().clickDot(3, 3);
    e().window().setText(Field::DataName, "work");
    e().window().setStatus("before");
    e().editor->fileCommands().setFileName("/tmp/current.glm");
    e().editor->fileCommands().setFileReady(FileCommands::Ready);
}

void TestDialogs::newDialogDesign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char *name, QRect twips, const QString &caption) {
        QTest::newRow(name) << name << twips << caption;
    };
    row("newdata", {1080, 480, 2055, 225}, u"新規データの作成"_qs);
    row("newfile", {1080, 1080, 2295, 255}, u"新規ファイルの作成"_qs);
    row("Command1", {480, 1680, 975, 255}, u"OK"_qs);
    row("Command2", {2280, 1680, 975, 255}, u"キャンセル"_qs);
    row("Picture1", {720, 480, 270, 270}, QString());
    row("Picture2", {720, 1080, 270, 270}, QString());
}

void TestDialogs::newDialogDesign()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    NewDataDialog *dialog = openNew();
    QCOMPARE(dialog->objectName(), u"new_data"_qs);
    QCOMPARE(dialog->windowTitle(), u"新規作成"_qs);
    QCOMPARE(dialog->size(), QSize(4035 / 15, 2070 / 15));
    auto *widget = dialog->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), designedPixels(twips));
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), caption);
    if (auto *picture = qobject_cast<QLabel *>(widget))
        QCOMPARE(picture->pixmap().size(), QSize(16, 16));
}

void TestDialogs::newDialogOpensWithNewDataChosenAndFocused()
{
    NewDataDialog *dialog = openNew();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    auto *newdata = dialog->findChild<QRadioButton *>("newdata");
    QVERIFY(newdata->isChecked());
    QVERIFY(!dialog->findChild<QRadioButton *>("newfile")->isChecked());
    QTRY_COMPARE(QApplication::focusWidget(), newdata);
    QCOMPARE(dialog->choice(), NewChoice::NewData);
}

void TestDialogs::newDialogIsOneModelessWindowPlacedAgainstMain()
{
    e().window().move(120, 60);
    QTRY_COMPARE(e().window().frameGeometry().topLeft(), QPoint(120, 60));
    QPointer<NewDataDialog> dialog = openNew();
    QCOMPARE(dialog->frameGeometry().topLeft(), QPoint(133, 73));
    QVERIFY(!dialog->isModal() && !dialog->parentWidget());
    dialog->findChild<QRadioButton *>("newfile")->setChecked(true);
    e().window().action(Command::New)->trigger(); // the menu item: same dialog, same choice
    QCOMPARE(e().editor->newDataDialog(), dialog.data());
    QVERIFY(dialog->findChild<QRadioButton *>("newfile")->isChecked());
    e().clickDot(1, 1); // the main window still works
    QCOMPARE(e().text(Field::DataA), u"01"_qs);

    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    e().window().move(240, 30);
    QTRY_COMPARE(e().window().frameGeometry().topLeft(), QPoint(240, 30));
    QCOMPARE(openNew()->frameGeometry().topLeft(), QPoint(253, 43));
    QVERIFY(e().editor->newDataDialog()->findChild<QRadioButton *>("newdata")->isChecked());
}

void TestDialogs::newDataClearsOnlyTheEditor()
{
    prepareWork();
    e().window().list()->setCurrentRow(0);
    QPointer<NewDataDialog> dialog = openNew();
    QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    QCOMPARE(e().codes(), QStringList(5, "00"));
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
    QVERIFY(e().previewMatchesDots());
    QCOMPARE(e().text(Field::DataName), QString());
    QCOMPARE(e().entries().count(), 1);
    QCOMPARE(e().window().selectedIndex(), 0);
    QCOMPARE(e().window().status(), u"before"_qs);
    QCOMPARE(e().editor->fileCommands().fileName(), u"/tmp/current.glm"_qs);
    QCOMPARE(e().editor->fileCommands().fileReady(), FileCommands::Ready);
}

void TestDialogs::newFileStartsOver()
{
    prepareWork();
    QPointer<NewDataDialog> dialog = openNew();
    QTest::mouseClick(dialog->findChild<QRadioButton *>("newfile"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    QCOMPARE(e().codes(), QStringList(5, "00"));
    QCOMPARE(e().dotCodes(), QStringList(5, "00"));
    QCOMPARE(e().text(Field::DataName), QString());
    QCOMPARE(e().entries().count(), 0);
    QCOMPARE(e().editor->fileCommands().fileName(), QString());
    QCOMPARE(e().editor->fileCommands().fileReady(), qint16(0));

    // The next toolbar Save asks, and with the list empty writes nothing.
    e().platform.saveAnswers << "/nonexistent-dir/never.glm";
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked, QStringList{QString()});
    QCOMPARE(e().window().status(), u"書き込むデータがありません"_qs);
}

void TestDialogs::cancelAndCloseBoxChangeNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestDialogs::cancelAndCloseBoxChangeNothing()
{
    QFETCH(bool, closeBox);
    prepareWork();
    QPointer<NewDataDialog> dialog = openNew();
    dialog->findChild<QRadioButton *>("newfile")->setChecked(true);
    if (closeBox)
        dialog->close();
    else
        QTest::mouseClick(dialog->findChild<QPushButton *>("Command2"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    QCOMPARE(e().codes(), (QStringList{"00", "00", "04", "00", "00"}));
    QCOMPARE(e().text(Field::DataName), u"work"_qs);
    QCOMPARE(e().entries().count(), 1);
    QCOMPARE(e().editor->fileCommands().fileReady(), FileCommands::Ready);
}

void TestDialogs::okWithNothingChosenDoesNothing()
{
    prepareWork();
    FileCommands &files = e().editor->fileCommands();
    NewCommand command(e().entries(), e().editor->glyphEditor(), files);
    QVERIFY(!command.confirm(NewChoice::None));
    QCOMPARE(e().codes(), (QStringList{"00", "00", "04", "00", "00"}));
    QCOMPARE(e().entries().count(), 1);
    QCOMPARE(files.fileReady(), FileCommands::Ready);
}

void TestDialogs::minimisedDialogComesBack_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("new dialog") << int(Command::New);
    QTest::newRow("version dialog") << int(Command::Version);
}

void TestDialogs::minimisedDialogComesBack()
{
    QFETCH(int, command);
    QAction *item = e().window().action(Command(command));
    item->trigger();
    QWidget *dialog = command == int(Command::New)
                          ? static_cast<QWidget *>(e().editor->newDataDialog())
                          : e().editor->versionDialog();
    QVERIFY(dialog);
    dialog->showMinimized();
    QTRY_VERIFY(dialog->isMinimized());
    item->trigger();
    QVERIFY(!dialog->isMinimized());
    QVERIFY(dialog->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), dialog);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
