// SPDX-License-Identifier: MIT
#pragma once

#include "core/platformservices.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

namespace glimra {

/// The desktop as Qt offers it. Dialogs are centred on `owner`.
class QtPlatformServices : public PlatformServices
{
public:
    void setOwner(QWidget *owner) { m_owner = owner; }

    void message(const QString &text) override;
    void beep() override;
    QString openFileName(const QString &current) override;
    QString saveFileName(const QString &current) override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() override;
    void endProgram() override;
    void stillWorking() override;
    void workDone() override;

private:
    QPointer<QWidget> m_owner;
    QElapsedTimer m_working;   // since the long work began; invalid when there is none
    QElapsedTimer m_lastPaint; // since the window last had its events
    bool m_waitCursor = false;
};

/// The file dialog's only filter: description shown as is, pattern in brackets.
inline constexpr char16_t GlyphFileFilter[] = u"Glimra絵ファイル(*.glm)";

} // namespace glimra
