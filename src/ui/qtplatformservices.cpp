// SPDX-License-Identifier: MIT
#include "ui/qtplatformservices.h"

#include "core/deployment.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace glimra {

namespace {

// Icons and type names from the file name alone. Qt's own provider asks the contents of
// any file whose name says nothing, and blocks on special files such as /proc/kmsg.
class IconsByName : public QFileIconProvider
{
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isDir())
            return icon(Folder);
        const QIcon themed = QIcon::fromTheme(mimeType(info).iconName());
        return themed.isNull() ? icon(File) : themed;
    }
    QString type(const QFileInfo &info) const override
    {
        return info.isDir() ? QFileIconProvider::type(info) : mimeType(info).comment();
    }

private:
    QMimeType mimeType(const QFileInfo &info) const
    {
        return m_types.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }

    QMimeDatabase m_types;
};

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

QString askFileName(QWidget *owner, QFileDialog::AcceptMode mode, const QString &caption,
                    const QString &current)
{
    // Qt's own dialog behaves the same on every desktop and can be answered by tests.
    IconsByName icons;
    QFileDialog dialog(owner, caption);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf16(GlyphFileFilter));
    // The open form would apply it too and look for "plain.glm" when "plain" was typed.
    if (mode == QFileDialog::AcceptSave)
        dialog.setDefaultSuffix(QStringLiteral("glm"));
    if (current.isEmpty())
        dialog.setDirectory(startFolder());
    else
        dialog.selectFile(current);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void QtPlatformServices::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(deployment::ApplicationTitle), text,
                    QMessageBox::Ok, m_owner);
    box.exec();
}

void QtPlatformServices::beep()
{
    QApplication::beep();
}

QString QtPlatformServices::openFileName(const QString &current)
{
    return askFileName(m_owner, QFileDialog::AcceptOpen, QStringLiteral("ファイルを開く"), current);
}

QString QtPlatformServices::saveFileName(const QString &current)
{
    return askFileName(m_owner, QFileDialog::AcceptSave,
                       QStringLiteral("名前をつけてファイルに保存"), current);
}

void QtPlatformServices::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

void QtPlatformServices::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString QtPlatformServices::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void QtPlatformServices::endProgram()
{
    QCoreApplication::exit(0);
}

void QtPlatformServices::stillWorking()
{
    // Work that ends within a blink shows nothing; beyond that a frozen window looks hung.
    constexpr qint64 Blink = 200;
    constexpr qint64 PaintEvery = 50;
    if (!m_working.isValid()) {
        m_working.start();
        return;
    }
    if (m_working.elapsed() < Blink)
        return;
    if (!m_waitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_waitCursor = true;
    } else if (m_lastPaint.isValid() && m_lastPaint.elapsed() < PaintEvery) {
        return;
    }
    // Clicks and keys wait in the window system's queue: one now would act on a list that
    // is half read or half written. What else comes now, a screen reader's press or a
    // timer, the editor holds until the work ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_lastPaint.start();
}

void QtPlatformServices::workDone()
{
    if (m_waitCursor)
        QApplication::restoreOverrideCursor();
    m_waitCursor = false;
    m_working.invalidate();
    m_lastPaint.invalidate();
}

} // namespace glimra
