// SPDX-License-Identifier: MIT
#include "app/commandline.h"
#include "testeditor.h"
#include "testfiles.h"
#include "ui/typinglimitvalidator.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace glimra;

// Start-up, the window's own events, the typing limits and the version dialog.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_editor = std::make_unique<TestEditor>(); }
    void cleanup() { m_editor.reset(); }

    void startUpState();
    void programWriteLeavesCaretAtZeroAndRunsChangeHandling();
    void typingLimits_data();
    void typingLimits();
    void programWrittenLongTextIsKeptButCannotGrow();
    void statusSurvivesOpeningAMenu();
    void backgroundClickClearsStatus_data();
    void backgroundClickClearsStatus();
    void versionDialogTexts_data();
    void versionDialogTexts();
    void versionDialogIsOneModelessWindow();
    void versionDialogIsPlacedAgainstMainOnEachCreation();
    void closingMainClosesTheDialogs();
    void menuEndEndsWithoutCloseHandling();
    void commandLine_data();
    void commandLine();
    void fileGivenAtStartOpensAsTheToolbarOpenDoes_data();
    void fileGivenAtStartOpensAsTheToolbarOpenDoes();

private:
    void openVersion() { m_editor->window().action(Command::Version)->trigger(); }
    std::unique_ptr<TestEditor> m_editor;
};

void TestStartup::startUpState()
{
    TestEditor &e = *m_editor;
    QCOMPARE(e.codes(), QStringList(5, "00"));
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= 7; ++r) {
            QVERIFY(!e.window().dot(c, r));
            QVERIFY(!e.window().previewDot(c, r));
        }
    }
    QCOMPARE(e.text(Field::DataName), QString());
    QCOMPARE(e.entries().count(), 0);
    QCOMPARE(e.window().selectedIndex(), -1);
    QCOMPARE(e.window().status(), QString());
    QVERIFY(!e.window().quickPreview());
    QVERIFY(e.platform.messages.isEmpty());
    QCOMPARE(e.platform.beeps, 0);
    QVERIFY(!e.editor->versionDialog());
    QVERIFY(!e.editor->newDataDialog());
    QCOMPARE(e.editor->fileCommands().fileName(), QString());
    QCOMPARE(e.editor->fileCommands().fileReady(), qint16(0));
}

void TestStartup::programWriteLeavesCaretAtZeroAndRunsChangeHandling()
{
    TestEditor &e = *m_editor;
    TextField *field = e.field(Field::DataB);
    field->setFocus();
    field->selectAll();
    QList<int> caretsSeen;
    connect(&e.window(), &MainWindow::codeChanged, this, [&](Field which) {
        if (which == Field::DataB)
            caretsSeen << e.window().caret(Field::DataB);
    });
    e.window().setText(Field::DataB, "41");
    QCOMPARE(caretsSeen, QList<int>{0}); // raised once, nested, with the caret already at 0
    QCOMPARE(field->cursorPosition(), 0);
    QVERIFY(!field->hasSelectedText());
    // The handling did nothing: the focus stayed and the grid was not decoded.
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(e.dotCodes(), QStringList(5, "00"));
    QVERIFY(e.platform.messages.isEmpty());
}

void TestStartup::typingLimits_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("third character in a code field") << int(Field::DataC) << "00"
                                                     << "1"
                                                     << "00";
    QTest::newRow("18th character in the name") << int(Field::DataName) << ""
                                                << "ABCDEFGHIJKLMNOPQR"
                                                << "ABCDEFGHIJKLMNOPQ";
    QTest::newRow("18th Japanese character in the name")
        << int(Field::DataName) << "" << u"あいうえおかきくけこさしすせそたちつ"_qs
        << u"あいうえおかきくけこさしすせそたち"_qs;
}

void TestStartup::typingLimits()
{
    QFETCH(int, field);
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    TextField *target = m_editor->field(Field(field));
    m_editor->window().setText(Field(field), start);
    target->setFocus();
    target->end(false);
    if (typed.front().unicode() < 128)
        QTest::keyClicks(target, typed);
    else
        TestEditor::commit(target, typed);
    QCOMPARE(target->text(), result);
}

void TestStartup::programWrittenLongTextIsKeptButCannotGrow()
{
    TestEditor &e = *m_editor;
    const QString longName(20, u'N');
    e.window().setText(Field::DataName, longName);
    QCOMPARE(e.text(Field::DataName), longName);
    TextField *name = e.field(Field::DataName);
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "x");
    QCOMPARE(e.text(Field::DataName), longName);
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(e.text(Field::DataName).size(), 19);
    QTest::keyClicks(name, "x");
    QCOMPARE(e.text(Field::DataName).size(), 19); // still over the limit: no growing back
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClicks(name, "xyz"); // back under the limit, typing works up to it
    QCOMPARE(e.text(Field::DataName), QString(16, u'N') + u'x');

    e.window().setText(Field::DataA, "abc");
    QCOMPARE(e.text(Field::DataA), u"abc"_qs);
    TextField *code = e.field(Field::DataA);
    code->setFocus();
    code->setCursorPosition(1);
    QTest::keyClicks(code, "9");
    QCOMPARE(e.text(Field::DataA), u"abc"_qs);
    QTest::keyClick(code, Qt::Key_Delete);
    QCOMPARE(e.text(Field::DataA), u"ac"_qs);
}

void TestStartup::statusSurvivesOpeningAMenu()
{
    TestEditor &e = *m_editor;
    e.window().setStatus(u"白黒反転処理をしました"_qs);
    auto *file = e.window().findChild<QMenu *>("menu_file");
    file->popup(e.window().mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    for (QAction *item : file->actions()) {
        QTest::mouseMove(file, file->actionGeometry(item).center());
        QTest::qWait(20);
    }
    file->close();
    QCOMPARE(e.window().status(), u"白黒反転処理をしました"_qs);
}

void TestStartup::backgroundClickClearsStatus_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("releasedOff"); // released off the window, which is no click
    QTest::addColumn<bool>("clears");
    const int left = Qt::LeftButton;
    QTest::newRow("window background") << QString() << left << false << true;
    QTest::newRow("the grid") << "Label1" << left << false << false;
    QTest::newRow("caption label") << "Label2" << left << false << false;
    QTest::newRow("toolbar rule: only drawn, the background takes it")
        << "Line15" << left << false << true;
    QTest::newRow("the preview") << "Label4" << left << false << false;
    QTest::newRow("status bar") << "stbar" << left << false << false;
    QTest::newRow("right button on the background")
        << QString() << int(Qt::RightButton) << false << false;
    QTest::newRow("pressed on the background, released off the window")
        << QString() << left << true << false;
}

void TestStartup::backgroundClickClearsStatus()
{
    QFETCH(QString, target);
    QFETCH(int, button);
    QFETCH(bool, releasedOff);
    QFETCH(bool, clears);
    TestEditor &e = *m_editor;
    e.window().setStatus("before");
    QWidget *client = e.window().centralWidget();
    QWidget *widget = target.isEmpty() ? client : client->findChild<QWidget *>(target);
    const QPoint at = target.isEmpty() ? QPoint(250, 100) : widget->rect().center();
    if (target.isEmpty())
        QVERIFY(!client->childAt(at));
    QTest::mousePress(widget, Qt::MouseButton(button), {}, at);
    QTest::mouseRelease(widget, Qt::MouseButton(button), {}, releasedOff ? QPoint(-5, -5) : at);
    QCOMPARE(e.window().status(), clears ? QString() : u"before"_qs);
}

void TestStartup::versionDialogTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, QRect twips, const QString &text) {
        QTest::newRow(name) << name << twips << text;
    };
    row("Label1", {1080, 480, 2775, 255}, u"Glimra絵エディッタ\u3000Ver2.0"_qs);
    row("Label2", {240, 840, 3975, 255}, u"作者：\u3000\u3000 Glimra絵エディッタ開発チーム"_qs);
    row("Label4", {240, 1080, 735, 255}, u"メール："_qs);
    row("Text2", {1920, 1080, 2775, 255}, u"glimra-editor@example.org"_qs);
    row("Label9", {240, 1320, 3015, 255},
        u"ソフトの種類：\u3000\u3000\u3000\u3000   フリーウェア"_qs);
    row("Label8", {240, 1560, 3975, 255}, u"作者ホームページ：\u3000  無し"_qs);
    row("Label3", {240, 1920, 3135, 255}, u"このソフトウェアに対する感想・ご要望は"_qs);
    row("Label5", {2160, 2160, 2535, 255}, u"メールでお願いします。"_qs);
    row("Label6", {120, 2640, 3495, 255}, u"サンプルデータ提供：Glimra絵エディッタ開発チーム"_qs);
    row("Text1", {120, 2880, 3735, 270}, u"https://example.org/glimra/"_qs);
    row("close_ver", {3960, 2880, 855, 255}, u"閉じる"_qs);
    row("icon", {240, 120, 480, 480}, QString());
}

void TestStartup::versionDialogTexts()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    openVersion();
    VersionDialog *dialog = m_editor->editor->versionDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), u"バージョン情報"_qs);
    QCOMPARE(dialog->size(), QSize(4980 / 15, 3210 / 15));
    auto *widget = dialog->findChild<QWidget *>(name);
    QVERIFY(widget);
    const QRect designed = designedPixels(twips);
    const QRect g = widget->geometry();
    QCOMPARE(g.topLeft(), designed.topLeft());
    QCOMPARE(g.height(), designed.height());
    // Only the two labels naming the deployment's people may grow, and only to the right.
    if (name == u"Label2" || name == u"Label6")
        QVERIFY(g.width() >= designed.width() && g.right() < dialog->width());
    else
        QCOMPARE(g.width(), designed.width());
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        shown = label->text();
        QVERIFY2(label->fontMetrics().horizontalAdvance(shown) <= g.width(), "text cut off");
    } else if (auto *field = qobject_cast<QLineEdit *>(widget)) {
        shown = field->text();
        // A screen reader names the field by the label it stands by.
        const auto *by = dialog->findChild<QLabel *>(name == u"Text2" ? "Label4" : "Label6");
        QCOMPARE(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), by->text());
    } else if (auto *button = qobject_cast<QPushButton *>(widget))
        shown = button->text();
    QCOMPARE(shown, text);
}

void TestStartup::versionDialogIsOneModelessWindow()
{
    TestEditor &e = *m_editor;
    openVersion();
    QPointer<VersionDialog> first = e.editor->versionDialog();
    QVERIFY(first && first->isVisible());
    QVERIFY(!first->isModal());
    QVERIFY(!first->parentWidget());
    QVERIFY(!QApplication::activeModalWidget());
    first->move(first->pos() + QPoint(40, 30)); // the user drags it
    const QPoint dragged = first->pos();
    openVersion();
    QCOMPARE(e.editor->versionDialog(), first.data());
    QCOMPARE(first->pos(), dragged);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(
                 windows.begin(), windows.end(),
                 [](QWidget *w) { return qobject_cast<VersionDialog *>(w) && w->isVisible(); }),
             1);
    // The main window goes on working while the dialog is open.
    e.clickDot(1, 1);
    QCOMPARE(e.text(Field::DataA), u"01"_qs);

    QTest::mouseClick(first->findChild<QPushButton *>("close_ver"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QVERIFY(!e.editor->versionDialog());
}

void TestStartup::versionDialogIsPlacedAgainstMainOnEachCreation()
{
    TestEditor &e = *m_editor;
    e.window().move(150, 90);
    QTRY_COMPARE(e.window().frameGeometry().topLeft(), QPoint(150, 90));
    openVersion();
    QPointer<VersionDialog> dialog = e.editor->versionDialog();
    // 200 twips is 13.3 pixels.
    QCOMPARE(dialog->frameGeometry().topLeft(), QPoint(163, 103));
    dialog->close(); // the close box does what close_ver does
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);

    e.window().move(300, 45);
    QTRY_COMPARE(e.window().frameGeometry().topLeft(), QPoint(300, 45));
    openVersion();
    QCOMPARE(e.editor->versionDialog()->frameGeometry().topLeft(), QPoint(313, 58));
}

void TestStartup::closingMainClosesTheDialogs()
{
    TestEditor &e = *m_editor;
    openVersion();
    e.window().action(Command::New)->trigger();
    QPointer<QWidget> version = e.editor->versionDialog();
    QPointer<QWidget> newData = e.editor->newDataDialog();
    QVERIFY(version && version->isVisible() && newData && newData->isVisible());
    QVERIFY(e.window().close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!version);
    QVERIFY(!newData);
    QVERIFY(e.platform.messages.isEmpty());
}

void TestStartup::menuEndEndsWithoutCloseHandling()
{
    TestEditor &e = *m_editor;
    e.entries().append(u"01 00 00 00 00    A"_qs);
    openVersion();
    QSignalSpy closing(&e.window(), &MainWindow::closing);
    e.window().action(Command::End)->trigger();
    QCOMPARE(e.platform.ends, 1);
    QCOMPARE(closing.count(), 0);
    QVERIFY(e.editor->versionDialog()->isVisible());
    QVERIFY(e.platform.messages.isEmpty());
}

void TestStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    const int run = int(CommandLine::Action::Run);
    const int misuse = int(CommandLine::Action::Misuse);
    const QString here = QDir::currentPath();
    QTest::newRow("nothing") << QStringList() << run << QString() << QString();
    QTest::newRow("a file, made absolute")
        << QStringList{"a.glm"} << run << here + "/a.glm" << QString();
    const QString absolute = here.section(u'/', 0, 0) + "/x/b.glm"; // on this drive, if any
    QTest::newRow("an absolute file") << QStringList{absolute} << run << absolute << QString();
    QTest::newRow("a file named like an option, after --")
        << QStringList{"--", "-odd.glm"} << run << here + "/-odd.glm" << QString();
    QTest::newRow("Qt's options pass with their values")
        << QStringList{"-platform", "offscreen", "--style=fusion", "-reverse", "a.glm"} << run
        << here + "/a.glm" << QString();
    QTest::newRow("Qt's other flags")
        << QStringList{"-stylesheet=a.qss", "--qmljsdebugger=port:1", "-qdebug", "-"} << run
        << here + "/-" << QString();
    QTest::newRow("two files") << QStringList{"a.glm", "b.glm"} << misuse << QString()
                               << "extra operand 'b.glm'";
    QTest::newRow("an unknown option") << QStringList{"--frobnicate", "a.glm"} << misuse
                                       << QString() << "unrecognized option '--frobnicate'";
    QTest::newRow("an unknown short option")
        << QStringList{"-x"} << misuse << QString() << "invalid option -- 'x'";
    QTest::newRow("Qt's option without its value")
        << QStringList{"a.glm", "-style"} << misuse << QString()
        << "option '-style' requires an argument";
    QTest::newRow("--help wins") << QStringList{"a.glm", "--bad", "--help"}
                                 << int(CommandLine::Action::Help) << QString() << QString();
    QTest::newRow("-h") << QStringList{"-h"} << int(CommandLine::Action::Help) << QString()
                        << QString();
    QTest::newRow("--version") << QStringList{"--version"} << int(CommandLine::Action::Version)
                               << QString() << QString();
}

void TestStartup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, file);
    QFETCH(QString, error);
    const CommandLine line = parseCommandLine(arguments);
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.file, file);
    QCOMPARE(line.error, error);
}

void TestStartup::fileGivenAtStartOpensAsTheToolbarOpenDoes_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty for no file at all
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("ready");
    const QByteArray line = "41,00,00,00,00,\"A\"\r\n";
    QTest::newRow("read whole") << line + line << 2 << QString() << -1;
    QTest::newRow("read in part") << line + "\r\n" + line << 1
                                  << u"ファイルの一部しか読み込めませんでした"_qs << 0;
    QTest::newRow("missing") << QByteArray() << 0 << u"ファイルを開けません"_qs << 0;
}

void TestStartup::fileGivenAtStartOpensAsTheToolbarOpenDoes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, entries);
    QFETCH(QString, status);
    QFETCH(int, ready);
    QTemporaryDir dir;
    const QString path = dir.filePath("given.glm");
    if (!bytes.isEmpty())
        writeFileBytes(path, bytes);
    TestEditor &e = *m_editor;
    e.editor->fileCommands().openNamed(path);
    QVERIFY(e.platform.openAsked.isEmpty());
    QCOMPARE(e.entries().count(), entries);
    QCOMPARE(e.window().status(), status);
    QCOMPARE(e.editor->fileCommands().fileReady(), qint16(ready));
    QCOMPARE(e.editor->fileCommands().fileName(), bytes.isEmpty() ? QString() : path);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
