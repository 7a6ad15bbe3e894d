// SPDX-License-Identifier: MIT
#pragma once

#include "core/platformservices.h"

#include <deque>
#include <functional>

namespace glimra {

/// Keeps every operation whole: while one waits on the desktop (a modal dialog, or long work
/// that lets the window paint), whatever arrives from elsewhere (a screen reader's press, a
/// timer, a posted event) is held and runs once that operation has ended. What an operation
/// raises itself, such as a field's change handling inside a write, runs at once.
///
/// It is the platform that the operations are given: each wait passes through it.
class CommandGate : public PlatformServices
{
public:
    explicit CommandGate(PlatformServices &platform) : m_platform(platform) {}

    /// Runs `command` now, or holds it until the operation under way has ended.
    void run(std::function<void()> command);

    void message(const QString &text) override;
    void beep() override { m_platform.beep(); }
    QString openFileName(const QString &current) override;
    QString saveFileName(const QString &current) override;
    void clearClipboard() override { m_platform.clearClipboard(); }
    void setClipboardText(const QString &text) override { m_platform.setClipboardText(text); }
    QString clipboardText() override { return m_platform.clipboardText(); }
    void stillWorking() override;
    void workDone() override { m_platform.workDone(); }
    void endProgram() override { m_platform.endProgram(); }

private:
    PlatformServices &m_platform;
    int m_running = 0; // operations under way, the ones they raised included
    int m_waits = 0;
    std::deque<std::function<void()>> m_held;
};

} // namespace glimra
