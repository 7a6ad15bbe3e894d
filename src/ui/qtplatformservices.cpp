// SPDX-License-Identifier: MIT
#include "ui/qtplatformservices.h"

#include "core/deployment.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

namespace glimra {

namespace {

QString askFileName(QWidget *owner, QFileDialog::AcceptMode mode, const QString &caption,
                    const QString &current)
{
    // Qt's own dialog behaves the same on every desktop and can be answered by tests.
    QFileDialog dialog(owner, caption);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf16(GlyphFileFilter));
    // The open form would apply it too and look for "plain.glm" when "plain" was typed.
    if (mode == QFileDialog::AcceptSave)
        dialog.setDefaultSuffix(QStringLiteral("glm"));
    if (!current.isEmpty())
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

void QtPlatformServices::endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace glimra
