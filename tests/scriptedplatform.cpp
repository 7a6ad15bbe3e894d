// SPDX-License-Identifier: MIT
#include "scriptedplatform.h"

namespace glimra {

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

} // namespace glimra
