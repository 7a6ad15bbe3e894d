// SPDX-License-Identifier: MIT
#pragma once

#include "core/platformservices.h"

#include <functional>
#include <QStringList>

namespace glimra {

/// Records what the editor asked of the desktop and answers file dialogs from a script.
class ScriptedPlatform : public PlatformServices
{
public:
    void message(const QString &text) override;
    void beep() override { ++beeps; }
    QString openFileName(const QString &current) override;
    QString saveFileName(const QString &current) override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    /// What the system's clipboard holds, as tests put it there.
    QString clipboardText() override;
    void endProgram() override { ++ends; }
    void stillWorking() override
    {
        ++stillWorkingCalls;
        if (whileWorking)
            whileWorking();
    }
    void workDone() override { ++workDoneCalls; }

    QStringList messages;
    /// The focused control's name as each message came up.
    QStringList focusAtMessage;
    int beeps = 0;
    int ends = 0;
    int stillWorkingCalls = 0;
    /// Runs as the window's events would while long work lets it paint.
    std::function<void()> whileWorking;
    int workDoneCalls = 0;
    /// Names the next dialogs answer with, first first; an empty text is a cancel.
    QStringList openAnswers;
    QStringList saveAnswers;
    /// The current file name each dialog was opened with.
    QStringList openAsked;
    QStringList saveAsked;
    QString clipboard;
    /// "clear" and "set" in the order they came.
    QStringList clipboardCalls;
};

} // namespace glimra
