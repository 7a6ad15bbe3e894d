// SPDX-License-Identifier: MIT
#include "ui/qtplatformservices.h"

#include <functional>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace glimra;

namespace {

/// Answers the next modal window once it is the active window and `ready` agrees. A modal
/// window still open at the deadline (the one expected, or a question nobody expected) is
/// rejected and the answer counts as failed, so a test fails instead of hanging.
class ModalAnswer
{
public:
    ModalAnswer(std::function<bool(QWidget *)> ready, std::function<void(QWidget *)> answer)
        : m_ready(std::move(ready)), m_answer(std::move(answer))
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(20);
    }

    bool failed() const { return m_failed; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!m_answered && modal && modal->isActiveWindow() && m_ready(modal)) {
            m_answered = true;
            // Answered outside this timer's slot: a box that the answer opens runs its own
            // loop, and Qt never calls a timer's slot again while it is still running.
            QMetaObject::invokeMethod(
                modal, [this, modal] { m_answer(modal); }, Qt::QueuedConnection);
        } else if (m_clock.elapsed() > 10000) {
            m_timer.stop();
            m_failed = !m_answered || modal;
            for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i) {
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    dialog->reject();
            }
        }
    }

    std::function<bool(QWidget *)> m_ready;
    std::function<void(QWidget *)> m_answer;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_answered = false;
    bool m_failed = false;
};

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

bool anyWindow(QWidget *)
{
    return true;
}

} // namespace

// The real Qt side of the platform seam, each service driven once.
class TestQtPlatform : public QObject
{
    Q_OBJECT
private slots:
    void messageBoxIsPlainAndModal();
    void fileDialogs_data();
    void fileDialogs();
    void clipboardHoldsExactlyTheText();
    void endProgramLeavesTheEventLoop();
    void longWorkShowsTheWaitCursorAndPaints();

private:
    QtPlatformServices m_platform;
};

void TestQtPlatform::messageBoxIsPlainAndModal()
{
    QString title, text;
    int icon = -1;
    QStringList buttons;
    ModalAnswer answer(anyWindow, [&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            buttons << button->text();
        box->button(QMessageBox::Ok)->click();
    });
    m_platform.message(u"データの有効範囲は7Fまでです。"_qs);
    QVERIFY(!answer.failed());
    QCOMPARE(title, u"Glimra絵エディッタ"_qs);
    QCOMPARE(text, u"データの有効範囲は7Fまでです。"_qs);
    QCOMPARE(icon, int(QMessageBox::NoIcon));
    QCOMPARE(buttons.size(), 1);
}

void TestQtPlatform::fileDialogs_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("current"); // the current file; "old.glm" unless a row says
    QTest::addColumn<QString>("folder");  // where the dialog must start, if a row says
    QTest::newRow("no current file: starts in the documents folder")
        << false << QString() << QString() << QString() << documentsFolder();
    QTest::newRow("a folder of special files does not block")
        << false << QString() << QString() << "/proc/kmsg"
        << "/proc";
    const QString old = "old.glm";
    QTest::newRow("open an existing file") << false << old << old << old << QString();
    QTest::newRow("open a file without an extension") << false << "plain"
                                                      << "plain" << old << QString();
    QTest::newRow("save gets the glm extension") << true << "fresh"
                                                 << "fresh.glm" << old << QString();
    QTest::newRow("save keeps a typed extension") << true << "fresh.glm"
                                                  << "fresh.glm" << old << QString();
    QTest::newRow("cancel gives no name") << true << QString() << QString() << old << QString();
}

void TestQtPlatform::fileDialogs()
{
    QFETCH(bool, save);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QFETCH(QString, current);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    for (const char *name : {"old.glm", "plain"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QStringList filters;
    QString startedIn;
    int mode = -1;
    // Typing before the dialog has the focus would land elsewhere.
    const auto nameFocused = [](QWidget *modal) {
        auto *name = modal->findChild<QLineEdit *>("fileNameEdit");
        return name && name->hasFocus();
    };
    ModalAnswer answer(nameFocused, [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        mode = dialog->acceptMode();
        startedIn = dialog->directory().absolutePath();
        if (typed.isEmpty()) {
            dialog->reject();
            return;
        }
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        name->setText(typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    const QString path =
        current.startsWith(u'/') || current.isEmpty() ? current : dir.filePath(current);
    const QString result = save ? m_platform.saveFileName(path) : m_platform.openFileName(path);
    QVERIFY(!answer.failed());
    QCOMPARE(result, chosen.isEmpty() ? QString() : dir.filePath(chosen));
    QCOMPARE(filters, QStringList{u"Glimra絵ファイル(*.glm)"_qs});
    QCOMPARE(mode, int(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen));
    if (!folder.isEmpty()) // on Windows, with the drive it is on
        QCOMPARE(startedIn, QFileInfo(folder).absoluteFilePath());
}

void TestQtPlatform::clipboardHoldsExactlyTheText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText("something else");
    m_platform.clearClipboard();
    QCOMPARE(clipboard->text(), QString());
    m_platform.setClipboardText(u"7F 08 08 08 7F    H"_qs);
    QCOMPARE(clipboard->text(), u"7F 08 08 08 7F    H"_qs);
    QCOMPARE(clipboard->mimeData()->formats(), QStringList{"text/plain"});
}

void TestQtPlatform::endProgramLeavesTheEventLoop()
{
    QEventLoop loop;
    QTimer::singleShot(0, [this] { m_platform.endProgram(); });
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
    QCOMPARE(loop.exec(), 0);
}

void TestQtPlatform::longWorkShowsTheWaitCursorAndPaints()
{
    class Painted : public QWidget
    {
    public:
        int paints = 0;

    protected:
        void paintEvent(QPaintEvent *) override { ++paints; }
    } window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Work that ends at once shows nothing.
    m_platform.stillWorking();
    m_platform.stillWorking();
    QVERIFY(!QApplication::overrideCursor());
    m_platform.workDone();

    // Longer work: nothing here runs the event loop but the platform itself.
    window.update();
    const int paints = window.paints;
    QElapsedTimer working;
    working.start();
    while (!QApplication::overrideCursor() && working.elapsed() < 10000)
        m_platform.stillWorking();
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QCOMPARE_GT(window.paints, paints);
    m_platform.stillWorking(); // painted a moment ago: not again yet
    m_platform.workDone();
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
