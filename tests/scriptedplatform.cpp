// SPDX-License-Identifier: MIT
#include "scriptedplatform.h"

#include <QApplication>
#include <QClipboard>
#include <QWidget>

namespace glimra {

void ScriptedPlatform::message(const QString &text)
{
    messages.append(text);
    const QWidget *focus = QApplication::focusWidget();
    focusAtMessage.append(focus ? focus->objectName() : QString());
}

QString ScriptedPlatform::openFileName(const QString &current)
{
    openAsked.append(current);
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString ScriptedPlatform::saveFileName(const QString &current)
{
    saveAsked.append(current);
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

void ScriptedPlatform::clearClipboard()
{
    clipboard.clear();
    clipboardCalls.append(QStringLiteral("clear"));
}

void ScriptedPlatform::setClipboardText(const QString &text)
{
    clipboard = text;
    clipboardCalls.append(QStringLiteral("set"));
}

QString ScriptedPlatform::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace glimra
