// SPDX-License-Identifier: MIT
#include "ui/qtplatformservices.h"

#include <functional>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace glimra;

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

private:
    /// Waits for the next modal dialog and hands it to `answer`; gives up after five seconds.
    static void whenModal(std::function<void(QWidget *)> answer);
    QtPlatformServices m_platform;
};

void TestQtPlatform::whenModal(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [timer, started, answer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->deleteLater();
            answer(modal);
        } else if (started->elapsed() > 5000) {
            timer->deleteLater();
            qWarning("no modal dialog appeared");
        }
    });
    timer->start(20);
}

void TestQtPlatform::messageBoxIsPlainAndModal()
{
    QString title, text;
    int icon = -1;
    QStringList buttons;
    whenModal([&](QWidget *modal) {
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
    QTest::newRow("open an existing file") << false << "old.glm"
                                           << "old.glm";
    QTest::newRow("save gets the glm extension") << true << "fresh"
                                                 << "fresh.glm";
    QTest::newRow("save keeps a typed extension") << true << "fresh.glm"
                                                  << "fresh.glm";
    QTest::newRow("cancel gives no name") << true << QString() << QString();
}

void TestQtPlatform::fileDialogs()
{
    QFETCH(bool, save);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QTemporaryDir dir;
    QFile old(dir.filePath("old.glm"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();

    QStringList filters;
    int mode = -1;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        mode = dialog->acceptMode();
        if (typed.isEmpty()) {
            dialog->reject();
            return;
        }
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        name->setText(typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    const QString current = dir.filePath("old.glm");
    const QString result =
        save ? m_platform.saveFileName(current) : m_platform.openFileName(current);
    QCOMPARE(result, chosen.isEmpty() ? QString() : dir.filePath(chosen));
    QCOMPARE(filters, QStringList{u"Glimra絵ファイル(*.glm)"_qs});
    QCOMPARE(mode, int(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen));
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

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
