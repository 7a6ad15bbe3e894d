// SPDX-License-Identifier: MIT
#include "convert/conversion.h"
#include "testeditor.h"
#include "testfiles.h"

#include "document/entrymodel.h"
#include "files/glyphfile.h"
#include "ui/newdatadialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using namespace glimra;

namespace {
const QString Saved = u"データを保存しました"_qs;
const QString NothingToWrite = u"書き込むデータがありません"_qs;
const QString CannotWrite = u"ファイルに書き込めません。ファイル属性を確認してください"_qs;
const QString CannotOpen = u"ファイルを開けません"_qs;
const QString PartlyRead = u"ファイルの一部しか読み込めませんでした"_qs;
const QByteArray ThreeLines =
    "41,00,00,00,00,\"A\"\r\n42,00,00,00,00,\"B\"\r\n43,00,00,00,00,\"C\"\r\n";
} // namespace

// Open and save through the editor, with the current file and file_ready.
class TestFileCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void toolbarSaveAsksOnlyTheFirstTime();
    void saveWithNameAlwaysAsks();
    void saveWithAnEmptyListWritesNothing();
    void cancelledDialogsChangeNothing();
    void openFromToolbarAndMenu_data();
    void openFromToolbarAndMenu();
    void openLeavesTheEditorAlone();
    void failedOpenLosesNothing_data();
    void failedOpenLosesNothing();
    void partlyReadFileWarnsAndSaveAsks_data();
    void partlyReadFileWarnsAndSaveAsks();
    void completeOpenTakesBackAnOpenWarning_data();
    void completeOpenTakesBackAnOpenWarning();
    void failedSaveKeepsOldFileAndState_data();
    void failedSaveKeepsOldFileAndState();
    void failedSaveThatCannotGoBackNamesTheCopy();
    void saveThenOpenGivesTheSameList();
    void aPathPastTheOldLimitOpensAndSaves();
    void whatArrivesDuringLongWorkWaitsForItsEnd_data();
    void whatArrivesDuringLongWorkWaitsForItsEnd();
    void droppedFileOpensAsTheToolbarOpenDoes_data();
    void droppedFileOpensAsTheToolbarOpenDoes();
    void otherProgramsFilesOpenWithoutAFile_data();
    void otherProgramsFilesOpenWithoutAFile();
    void nameFieldRefusesWhatAFileCannotHold_data();
    void nameFieldRefusesWhatAFileCannotHold();

private:
    TestEditor &e() { return *m_editor; }
    FileCommands &files() { return e().editor->fileCommands(); }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList entries();
    void fill(const QStringList &texts);

    std::unique_ptr<TestEditor> m_editor;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileCommands::init()
{
    m_editor = std::make_unique<TestEditor>();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestFileCommands::cleanup()
{
    m_editor.reset();
    m_dir.reset();
}

QStringList TestFileCommands::entries()
{
    QStringList texts;
    for (int i = 0; i < e().entries().count(); ++i)
        texts << e().entries().entry(i);
    return texts;
}

void TestFileCommands::fill(const QStringList &texts)
{
    e().entries().clear();
    for (const QString &text : texts)
        e().entries().append(text);
}

void TestFileCommands::toolbarSaveAsksOnlyTheFirstTime()
{
    fill({"7F 08 08 08 7F    H"});
    e().platform.saveAnswers << path("h.glm");
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked, QStringList{QString()});
    QCOMPARE(fileBytes(path("h.glm")), QByteArray("7F,08,08,08,7F,\"H\"\r\n"));
    QCOMPARE(e().window().status(), Saved);
    QCOMPARE(files().fileReady(), FileCommands::Ready);
    QCOMPARE(files().fileName(), path("h.glm"));

    e().entries().append("01 00 00 00 00    I");
    e().window().setStatus(QString());
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked.size(), 1); // no second dialog
    QCOMPARE(fileBytes(path("h.glm")),
             QByteArray("7F,08,08,08,7F,\"H\"\r\n01,00,00,00,00,\"I\"\r\n"));
    QCOMPARE(e().window().status(), Saved);
    QVERIFY(e().platform.messages.isEmpty());
    QCOMPARE(e().platform.beeps, 0);
}

void TestFileCommands::saveWithNameAlwaysAsks()
{
    fill({"01 00 00 00 00    a"});
    e().platform.saveAnswers << path("one.glm") << path("two.glm");
    e().window().action(Command::SaveWithName)->trigger();
    e().window().action(Command::SaveWithName)->trigger();
    QCOMPARE(e().platform.saveAsked, (QStringList{QString(), path("one.glm")}));
    QCOMPARE(fileBytes(path("one.glm")), fileBytes(path("two.glm")));
    QCOMPARE(files().fileName(), path("two.glm"));
}

void TestFileCommands::saveWithAnEmptyListWritesNothing()
{
    e().platform.saveAnswers << path("empty.glm");
    e().clickControl("icon_save");
    QCOMPARE(e().window().status(), NothingToWrite);
    QVERIFY(!QFile::exists(path("empty.glm")));
    QCOMPARE(files().fileReady(), qint16(0));
}

void TestFileCommands::cancelledDialogsChangeNothing()
{
    writeFileBytes(path("kept.glm"), ThreeLines);
    fill({"01 00 00 00 00    a"});
    files().setFileName(path("kept.glm"));
    files().setFileReady(0);
    e().window().setStatus("before");

    e().platform.saveAnswers << QString();
    e().clickControl("icon_save");
    e().window().action(Command::SaveWithName)->trigger();
    e().platform.openAnswers << QString();
    e().clickControl("icon_open");
    e().window().action(Command::OpenFromMenu)->trigger();

    QCOMPARE(e().platform.saveAsked, QStringList(2, path("kept.glm")));
    QCOMPARE(e().platform.openAsked, QStringList(2, path("kept.glm")));
    QCOMPARE(fileBytes(path("kept.glm")), ThreeLines);
    QCOMPARE(entries(), QStringList{"01 00 00 00 00    a"});
    QCOMPARE(files().fileName(), path("kept.glm"));
    QCOMPARE(files().fileReady(), qint16(0));
    QCOMPARE(e().window().status(), u"before"_qs);
}

void TestFileCommands::openFromToolbarAndMenu_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<int>("readyBefore");
    QTest::addColumn<bool>("saveAsks");
    QTest::newRow("toolbar Open after start-up") << false << 0 << false;
    QTest::newRow("menu Open after start-up") << true << 0 << true;
    QTest::newRow("menu Open after a save") << true << -1 << false;
}

void TestFileCommands::openFromToolbarAndMenu()
{
    QFETCH(bool, fromMenu);
    QFETCH(int, readyBefore);
    QFETCH(bool, saveAsks);
    writeFileBytes(path("three.glm"), ThreeLines);
    fill({"7F 7F 7F 7F 7F    old"});
    files().setFileName(readyBefore ? path("other.glm") : QString());
    files().setFileReady(qint16(readyBefore));

    e().platform.openAnswers << path("three.glm");
    if (fromMenu)
        e().window().action(Command::OpenFromMenu)->trigger();
    else
        e().clickControl("icon_open");
    QCOMPARE(entries(),
             (QStringList{"41 00 00 00 00    A", "42 00 00 00 00    B", "43 00 00 00 00    C"}));
    QCOMPARE(files().fileName(), path("three.glm"));
    QCOMPARE(files().fileReady(), qint16(fromMenu ? readyBefore : -1));

    e().window().list()->setCurrentRow(2);
    e().clickControl("data_delete");
    e().platform.saveAnswers << path("asked.glm");
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked.size(), saveAsks ? 1 : 0);
    const QByteArray two = ThreeLines.left(ThreeLines.lastIndexOf("43"));
    QCOMPARE(fileBytes(path(saveAsks ? "asked.glm" : "three.glm")), two);
}

void TestFileCommands::openLeavesTheEditorAlone()
{
    writeFileBytes(path("three.glm"), ThreeLines);
    e().clickDot(2, 2);
    e().window().setText(Field::DataName, "mine");
    e().window().setStatus("before");
    e().platform.openAnswers << path("three.glm");
    e().clickControl("icon_open");
    QCOMPARE(e().codes(), (QStringList{"00", "02", "00", "00", "00"}));
    QCOMPARE(e().text(Field::DataName), u"mine"_qs);
    QCOMPARE(e().window().selectedIndex(), -1);
    QCOMPARE(e().window().status(), u"before"_qs);
}

void TestFileCommands::failedOpenLosesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("readyBefore");
    for (const QString &kind : nonRegularKinds())
        QTest::newRow(qPrintable(kind)) << kind << -1;
    QTest::newRow("missing, file not ready") << "missing" << 0;
}

void TestFileCommands::failedOpenLosesNothing()
{
    QFETCH(QString, kind);
    QFETCH(int, readyBefore);
    const QString odd = makeNonRegularFile(kind, m_dir->path());
    QVERIFY(!odd.isEmpty());
    fill({"01 00 00 00 00    a", "02 00 00 00 00    b"});
    files().setFileName(path("current.glm"));
    files().setFileReady(qint16(readyBefore));
    e().platform.openAnswers << odd;
    e().clickControl("icon_open");
    QCOMPARE(entries(), (QStringList{"01 00 00 00 00    a", "02 00 00 00 00    b"}));
    QCOMPARE(files().fileName(), path("current.glm"));
    QCOMPARE(files().fileReady(), qint16(readyBefore));
    QCOMPARE(e().window().status(), CannotOpen);
}

void TestFileCommands::partlyReadFileWarnsAndSaveAsks_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("capacity"); // how many entries the list holds
    const QByteArray gap = "41,00,00,00,00,\"A\"\r\n\r\n42,00,00,00,00,\"B\"\r\n";
    const int most = EntryModel::MostEntries;
    QTest::newRow("toolbar, a gap hides a line") << false << gap << most;
    QTest::newRow("menu while the file was ready") << true << gap << most;
    QTest::newRow("toolbar, a name the reader cuts")
        << false << "41,00,00,00,00,\"" + QByteArray(29, 'n') + "X\"\r\n"
        << most;
    QTest::newRow("toolbar, more entries than the list holds") << false << ThreeLines << 2;
}

void TestFileCommands::partlyReadFileWarnsAndSaveAsks()
{
    QFETCH(bool, fromMenu);
    QFETCH(QByteArray, bytes);
    QFETCH(int, capacity);
    e().entries().setCapacity(capacity);
    writeFileBytes(path("partly.glm"), bytes);
    files().setFileReady(FileCommands::Ready);
    files().setFileName(path("earlier.glm"));
    e().platform.openAnswers << path("partly.glm");
    if (fromMenu)
        e().window().action(Command::OpenFromMenu)->trigger();
    else
        e().clickControl("icon_open");
    QCOMPARE(entries().value(0).left(19), u"41 00 00 00 00    "_qs + bytes[16]);
    QCOMPARE(e().window().status(), PartlyRead);
    QVERIFY(files().fileReady() != FileCommands::Ready);

    e().platform.saveAnswers << QString();
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked, QStringList{path("partly.glm")});
    QCOMPARE(fileBytes(path("partly.glm")), bytes);
}

void TestFileCommands::completeOpenTakesBackAnOpenWarning_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("after");
    QTest::newRow("partly-read warning") << PartlyRead << ThreeLines << QString();
    QTest::newRow("cannot-open warning") << CannotOpen << ThreeLines << QString();
    QTest::newRow("any other text stays")
        << u"白黒反転処理をしました"_qs << ThreeLines << u"白黒反転処理をしました"_qs;
    QTest::newRow("empty file") << CannotOpen << QByteArray() << QString();
}

void TestFileCommands::completeOpenTakesBackAnOpenWarning()
{
    QFETCH(QString, before);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, after);
    writeFileBytes(path("whole.glm"), bytes);
    e().window().setStatus(before);
    e().platform.openAnswers << path("whole.glm");
    e().clickControl("icon_open");
    QCOMPARE(e().window().status(), after);
    QCOMPARE(entries().size(), bytes.count('\n'));
    QCOMPARE(files().fileReady(), FileCommands::Ready);
}

void TestFileCommands::failedSaveKeepsOldFileAndState_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("parent folder missing") << "no parent";
    QTest::newRow("a name code page 932 cannot hold") << "unencodable";
    QTest::newRow("read-only file, even for root") << "read-only";
}

void TestFileCommands::failedSaveKeepsOldFileAndState()
{
    QFETCH(QString, fault);
    writeFileBytes(path("keep.glm"), ThreeLines);
    fill({"01 00 00 00 00    new"});
    QString target = path("keep.glm");
    if (fault == "folder") {
        target = path("folder.glm");
        QVERIFY(QDir(m_dir->path()).mkdir("folder.glm"));
    } else if (fault == "no parent") {
        target = path("gone/keep.glm");
    } else if (fault == "read-only") {
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup));
    } else {
        e().entries().append(u"02 00 00 00 00    \u00F6"_qs);
    }
    const QFile::Permissions permissionsBefore = QFile::permissions(target);
    files().setFileName(target);
    files().setFileReady(FileCommands::Ready);
    e().clickControl("icon_save");
    QCOMPARE(e().window().status(), CannotWrite);
    QCOMPARE(fileBytes(path("keep.glm")), ThreeLines);
    QCOMPARE(files().fileReady(), FileCommands::Ready);
    QCOMPARE(files().fileName(), target);

    files().setFileReady(0);
    e().platform.saveAnswers << target;
    e().window().action(Command::SaveWithName)->trigger();
    QCOMPARE(files().fileReady(), qint16(0));
    QCOMPARE(fileBytes(path("keep.glm")), ThreeLines);
    if (fault == "read-only")
        QCOMPARE(QFile::permissions(target), permissionsBefore);
}

// A file with two names is written in place; when the disk fails as its old bytes are put
// back from their copy, that copy stays and the user is told where it is.
void TestFileCommands::failedSaveThatCannotGoBackNamesTheCopy()
{
    writeFileBytes(path("keep.glm"), ThreeLines);
    QVERIFY(linkFile(path("keep.glm"), path("other.glm")));
    fill({"01 00 00 00 00    new"});
    files().setFileName(path("keep.glm"));
    files().setFileReady(FileCommands::Ready);
    bool failing = false;
    e().platform.whileWorking = [&] {
        if (!failing && !keptCopies(m_dir->path()).isEmpty())
            failing = failFileWrites(true);
    };
    e().clickControl("icon_save");
    if (!failing)
        QSKIP("this system cannot make writes fail");
    QVERIFY(failFileWrites(false));
    QCOMPARE(e().window().status(), CannotWrite);
    QCOMPARE(keptCopies(m_dir->path()), QByteArrayList{ThreeLines});
    const QStringList copy = QDir(m_dir->path()).entryList({"glimra-copy-*.glm"});
    QCOMPARE(e().platform.messages, QStringList{QString::fromUtf16(messages::CopyKept) +
                                                QDir::toNativeSeparators(path(copy.value(0)))});
}

void TestFileCommands::saveThenOpenGivesTheSameList()
{
    const QStringList list{u"7F 08 08 08 7F    H"_qs, u"7f 0a 00 00 00    "_qs,
                           u"01 02 03 04 05    漢字の名前は十七文字まで入ります"_qs,
                           u"01 02 03 04 05    \"quoted\", comma"_qs};
    fill(list);
    // A file dropped while the window is painted during the work is opened once it ends.
    writeFileBytes(path("dropped.glm"), ThreeLines);
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(path("dropped.glm"))});
    bool dropping = true;
    e().platform.whileWorking = [&] {
        if (!std::exchange(dropping, false))
            return;
        QVERIFY(e().drop(&e().window(), dropped, QPoint(1, 1)));
        QCOMPARE(entries(), list);
    };
    e().platform.saveAnswers << path("round.glm");
    e().clickControl("icon_save");
    QCOMPARE(entries().size(), 3);
    QCOMPARE(files().fileName(), path("dropped.glm"));
    e().platform.openAnswers << path("round.glm");
    e().window().action(Command::OpenFromMenu)->trigger();
    QCOMPARE(entries(), list);
    QCOMPARE(e().window().status(), Saved);
    // Each long-work spell ended: the Save's, the drop's and the Open's.
    QVERIFY(e().platform.stillWorkingCalls >= 3);
    QCOMPARE(e().platform.workDoneCalls, 3);
}

// Past the 260 characters where Windows stops a path that does not say it is a long one.
void TestFileCommands::aPathPastTheOldLimitOpensAndSaves()
{
    QString folder = m_dir->path();
    while (folder.size() < 300)
        folder += u'/' + QString(60, u'd');
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + u"/長い.glm"_qs;
    const QStringList list{u"01 00 00 00 00    a"_qs, u"02 00 00 00 00    b"_qs};
    const QByteArray bytes = "01,00,00,00,00,\"a\"\r\n02,00,00,00,00,\"b\"\r\n";
    fill({list[0]});
    e().platform.saveAnswers << file;
    e().window().action(Command::SaveWithName)->trigger();
    QCOMPARE(e().window().status(), Saved);
    e().entries().append(list[1]);
    e().clickControl("icon_save");
    QCOMPARE(e().platform.saveAsked.size(), 1);
    QCOMPARE(fileBytes(file), bytes);
    QCOMPARE(folderEntries(folder), QStringList{u"長い.glm"_qs});
    fill({});
    e().platform.openAnswers << file;
    e().clickControl("icon_open");
    QCOMPARE(entries(), list);
    fill({});
    e().editor->openFile(file); // as the command line opens it
    QCOMPARE(entries(), list);
    QCOMPARE(e().window().status(), Saved);
}

void TestFileCommands::whatArrivesDuringLongWorkWaitsForItsEnd_data()
{
    QTest::addColumn<bool>("saving");     // else opening
    QTest::addColumn<QString>("control"); // or two, pressed one after the other
    QTest::addColumn<bool>("spoken");     // pressed by a screen reader, else clicked by a timer
    QTest::newRow("Save, 削除 pressed by a screen reader") << true << "data_delete" << true;
    QTest::newRow("Save, 読み込み then 削除 clicked by a timer: in that order")
        << true << "data_read data_delete" << false;
    QTest::newRow("Save, 追加 clicked by a timer") << true << "data_add" << false;
    QTest::newRow("Save, OK of 新規ファイルの作成 pressed by a screen reader")
        << true << "Command1" << true;
    QTest::newRow("Open, 追加 pressed by a screen reader") << false << "data_add" << true;
    QTest::newRow("Open, OK of 新規ファイルの作成 clicked by a timer")
        << false << "Command1" << false;
}

// Work long enough to paint the window in between runs whole: a press that comes meanwhile,
// from a screen reader or a timer, acts once the work has ended, on what the work left.
void TestFileCommands::whatArrivesDuringLongWorkWaitsForItsEnd()
{
    QFETCH(bool, saving);
    QFETCH(QString, control);
    QFETCH(bool, spoken);
    // Lines enough for a save in three pieces and an open in two batches.
    QStringList list;
    for (int i = 0; i < 6000; ++i)
        list << u"%1 00 00 00 00    名前%2"_qs.arg(i % 128, 2, 16, QChar(u'0')).arg(i);
    fill(list);
    e().window().list()->setCurrentRow(0);
    if (!saving) {
        QVERIFY(WriteGlyphFile(path("big.glm"), list) == WriteResult::Written);
        fill({u"7F 7F 7F 7F 7F    before"_qs});
    }
    e().clickDot(1, 1);
    e().window().setText(Field::DataName, u"added"_qs);
    if (control == "Command1") {
        e().editor->openNewDataDialog();
        e().editor->newDataDialog()->findChild<QAbstractButton *>("newfile")->setChecked(true);
    }
    const QWidget &owner =
        control == "Command1" ? static_cast<QWidget &>(*e().editor->newDataDialog()) : e().window();
    bool pressing = true;
    e().platform.whileWorking = [&] {
        if (!std::exchange(pressing, false))
            return;
        for (const QString &name : control.split(u' ')) {
            auto *button = owner.findChild<QAbstractButton *>(name);
            QVERIFY(button);
            QSignalSpy clicks(button, &QAbstractButton::clicked);
            if (spoken)
                QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            else
                QTimer::singleShot(0, button, &QAbstractButton::click);
            QTRY_COMPARE(clicks.size(), 1);
        }
    };
    if (saving) {
        e().platform.saveAnswers << path("big.glm");
        e().clickControl("icon_save");
        QCOMPARE(fileBytes(path("big.glm")), EncodeGlyphLines(list).value().join());
        QCOMPARE(e().window().status(), Saved);
    } else {
        e().platform.openAnswers << path("big.glm");
        e().clickControl("icon_open");
    }
    QVERIFY(!pressing);
    // Read ran before Delete took its entry away.
    if (control.startsWith("data_read"))
        QCOMPARE(e().text(Field::DataName), u"名前0"_qs);
    if (control.endsWith("data_delete"))
        list.removeFirst();
    else if (control == "data_add")
        list << u"01 00 00 00 00    added"_qs;
    else
        list.clear();
    QCOMPARE(entries(), list);
}

void TestFileCommands::droppedFileOpensAsTheToolbarOpenDoes_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("dropped"); // names in the test folder, or a URL
    QTest::addColumn<bool>("opens");
    QTest::newRow("one file on the window") << "main" << QStringList{"three.glm"} << true;
    QTest::newRow("one file on the name field") << "data_name" << QStringList{"three.glm"} << true;
    QTest::newRow("one file on a code field") << "data_b" << QStringList{"three.glm"} << true;
    QTest::newRow("two files") << "main" << QStringList{"three.glm", "three.glm"} << false;
    QTest::newRow("a folder") << "main" << QStringList{"folder"} << false;
    QTest::newRow("not a local file")
        << "main" << QStringList{"https://example.org/a.glm"} << false;
}

void TestFileCommands::droppedFileOpensAsTheToolbarOpenDoes()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(bool, opens);
    writeFileBytes(path("three.glm"), ThreeLines);
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    fill({"01 00 00 00 00    a"});
    // A complete open takes an earlier warning back; a refused drop gives one.
    e().window().setStatus(opens ? CannotOpen : u"before"_qs);
    QList<QUrl> urls;
    for (const QString &name : dropped)
        urls << (name.contains(':') ? QUrl(name) : QUrl::fromLocalFile(path(name)));
    QMimeData data;
    data.setUrls(urls);
    auto *widget = target == "main" ? &e().window() : e().window().findChild<QWidget *>(target);
    const QString textBefore = widget == &e().window() ? QString() : e().text(Field::DataName);
    QVERIFY(e().drop(widget, data, widget->rect().center()));
    QCOMPARE(e().text(Field::DataName), textBefore);
    QCOMPARE(e().platform.openAsked, QStringList());
    if (opens) {
        QCOMPARE(entries().size(), 3);
        QCOMPARE(e().window().status(), QString());
        QCOMPARE(files().fileReady(), FileCommands::Ready);
        QCOMPARE(files().fileName(), path("three.glm"));
    } else {
        QCOMPARE(entries(), QStringList{"01 00 00 00 00    a"});
        QCOMPARE(e().window().status(), CannotOpen);
        QCOMPARE(files().fileReady(), qint16(0));
        QCOMPARE(files().fileName(), QString());
    }
}

void TestFileCommands::otherProgramsFilesOpenWithoutAFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("how");     // "drop" or "command line"
    QTest::addColumn<QString>("refusal"); // empty for a file that opens
    QTest::newRow("a C header, dropped") << "three.h"
                                         << "drop"
                                         << "";
    QTest::newRow("a PNG sheet, dropped") << "three.png"
                                          << "drop"
                                          << "";
    QTest::newRow("a Python module, named") << "three.py"
                                            << "command line"
                                            << "";
    QTest::newRow("a code over 7F, dropped")
        << "bad.h"
        << "drop"
        << "bad.h:1: glyph 0: 0xFF needs 8 rows; --crop keeps the top 7";
    QTest::newRow("a long list") << "many.py"
                                 << "drop"
                                 << "many";
    QTest::newRow("an empty list") << "empty.py"
                                   << "drop"
                                   << "empty.py: holds no glyph";
    QTest::newRow("a font that is not there") << "none.bdf"
                                              << "drop"
                                              << "none.bdf: cannot be read";
    QTest::newRow("a picture of another program")
        << "other.png"
        << "command line"
        << "other.png: a picture not written here: --cell=WxH (and --dot=N) say how to cut it";
}

void TestFileCommands::otherProgramsFilesOpenWithoutAFile()
{
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(QString, refusal);
    writeFileBytes(path("three.glm"), ThreeLines);
    for (const QString &made : {u"three.h"_qs, u"three.png"_qs, u"three.py"_qs}) {
        convert::Conversion conversion;
        conversion.input = path("three.glm");
        conversion.output = path(made);
        conversion.to = *convert::FormatOfFileName(made);
        conversion.options.name = u"three"_qs;
        QVERIFY(convert::Convert(conversion).written);
    }
    writeFileBytes(path("bad.h"), "char g[] = {0xFF, 0, 0, 0, 0};");
    writeFileBytes(path("empty.py"), "G = []\n");
    // Enough glyphs that the window is kept painted while they are read.
    writeFileBytes(path("many.py"), "G = [" + QByteArray("0, 0, 0, 0, 0, ").repeated(5000) + "]");
    QImage other(10, 10, QImage::Format_RGB32);
    other.fill(Qt::white);
    QVERIFY(other.save(path("other.png")));
    fill({"01 00 00 00 00    a"});
    files().setFileName(path("earlier.glm"));
    files().setFileReady(FileCommands::Ready);
    // A warning about the earlier file goes once the list is another's.
    e().window().setStatus(how == "drop" ? PartlyRead : CannotOpen);
    if (how == "drop") {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path(name))});
        QVERIFY(e().drop(&e().window(), data, QPoint(1, 1)));
    } else {
        e().editor->openFile(path(name));
    }
    if (!refusal.isEmpty() && refusal != u"many") {
        QCOMPARE(e().platform.messages, QStringList{CannotOpen + u'\n' + refusal});
        QCOMPARE(entries(), QStringList{"01 00 00 00 00    a"});
        QCOMPARE(files().fileName(), path("earlier.glm"));
        return;
    }
    QCOMPARE(e().platform.messages, QStringList());
    QCOMPARE(e().window().status(), QString());
    if (refusal == u"many") {
        QCOMPARE(entries().size(), 5000);
        QCOMPARE_GT(e().platform.stillWorkingCalls, 0);
        return;
    }
    QCOMPARE(entries(),
             (QStringList{"41 00 00 00 00    A", "42 00 00 00 00    B", "43 00 00 00 00    C"}));
    // The next toolbar Save asks, so that the source is never written over.
    QCOMPARE(files().fileName(), QString());
    QCOMPARE(files().fileReady(), qint16(0));
    // One step, as an Open is.
    QTest::keyClick(&e().window(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(entries(), QStringList{"01 00 00 00 00    a"});
    QCOMPARE(files().fileName(), path("earlier.glm"));
}

void TestFileCommands::nameFieldRefusesWhatAFileCannotHold_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("kept");
    const auto row = [](const char *name, const char *how, const QString &before,
                        const QString &given, const QString &kept) {
        QTest::newRow(name) << how << before << given << kept;
    };
    row("kanji and kana", "commit", {}, u"漢字かなｶﾅ"_qs, u"漢字かなｶﾅ"_qs);
    row("wave dash", "commit", {}, u"\u301C"_qs, u"\u301C"_qs);
    row("o umlaut", "commit", {}, u"a\u00F6b"_qs, u"ab"_qs);
    row("emoji", "commit", {}, u"a\U0001F600b"_qs, u"ab"_qs);
    row("tab", "commit", {}, u"a\tb"_qs, u"ab"_qs);
    // A name read from a file may hold what typing refuses; it must not open the door.
    row("o umlaut after a tab the program wrote", "commit", u"a\tb"_qs, u"\u00F6"_qs, u"a\tb"_qs);
    row("kana after a tab the program wrote", "commit", u"a\tb"_qs, u"か"_qs, u"かa\tb"_qs);
    row("pasted Japanese", "paste", {}, u"名前"_qs, u"名前"_qs);
    row("pasted line break", "paste", {}, u"a\nb"_qs, QString());
    row("pasted o umlaut", "paste", {}, u"\u00F6"_qs, QString());
    row("pasted o umlaut after a tab", "paste", u"\t"_qs, u"\u00F6"_qs, u"\t"_qs);
    row("paste cut to 17", "paste", {}, u"ABCDEFGHIJKLMNOPQRST"_qs, u"ABCDEFGHIJKLMNOPQ"_qs);
    row("paste fills what is left", "paste", u"0123456789"_qs, u"ABCDEFGHIJ"_qs,
        u"ABCDEFG0123456789"_qs);
    row("paste into a full field", "paste", QString(17, u'x'), u"A"_qs, QString(17, u'x'));
    row("paste from the context menu, cut to 17", "menu", {}, u"ABCDEFGHIJKLMNOPQRST"_qs,
        u"ABCDEFGHIJKLMNOPQ"_qs);
    row("20 kana in one conversion, cut to 17", "conversion", {}, QString(20, u'か'),
        QString(17, u'か'));
    row("20 kana in one conversion, cut to the 15 left", "conversion", u"数字"_qs,
        QString(20, u'か'), QString(15, u'か') + u"数字"_qs);
    row("conversion with an o umlaut still refused", "conversion", {}, u"か\u00F6"_qs, {});
    row("drop cut to 17", "drop", {}, u"ABCDEFGHIJKLMNOPQRST"_qs, u"ABCDEFGHIJKLMNOPQ"_qs);
    row("drop fills what is left", "drop", u"0123456789"_qs, u"ABCDEFGHIJ"_qs,
        u"ABCDEFG0123456789"_qs);
    row("drop into a full field", "drop", QString(17, u'x'), u"A"_qs, QString(17, u'x'));
}

void TestFileCommands::nameFieldRefusesWhatAFileCannotHold()
{
    QFETCH(QString, how);
    QFETCH(QString, before);
    QFETCH(QString, given);
    QFETCH(QString, kept);
    TextField *name = e().field(Field::DataName);
    e().window().setText(Field::DataName, before);
    name->setFocus();
    name->setCursorPosition(0);
    QGuiApplication::clipboard()->setText(given);
    if (how == "paste") {
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    } else if (how == "menu") {
        QVERIFY(TestEditor::triggerFromContextMenu(name, QLineEdit::tr("&Paste")));
    } else if (how == "conversion") {
        QInputMethodEvent preedit(given, {});
        QApplication::sendEvent(name, &preedit);
        QInputMethodEvent committed;
        committed.setCommitString(given);
        QApplication::sendEvent(name, &committed);
    } else if (how == "drop") {
        QMimeData text;
        text.setText(given);
        e().drop(name, text, QPoint(1, name->height() / 2));
    } else {
        // Committed as an input method hands text over, an emoji's two UTF-16 units at once.
        for (qsizetype i = 0; i < given.size(); ++i) {
            const qsizetype length = given[i].isHighSurrogate() ? 2 : 1;
            QInputMethodEvent event;
            event.setCommitString(given.mid(i, length));
            QApplication::sendEvent(name, &event);
            i += length - 1;
        }
    }
    QCOMPARE(name->text(), kept);
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
