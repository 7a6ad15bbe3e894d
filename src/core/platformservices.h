// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace glimra {

/// What the editor asks of the desktop beyond its own window: modal questions, sound, the
/// file dialog and the clipboard. Tests answer these with a scripted double.
class PlatformServices
{
public:
    virtual ~PlatformServices() = default;

    /// Modal, OK only, no icon, captioned with the application's title.
    virtual void message(const QString &text) = 0;
    virtual void beep() = 0;

    /// The open form of the glyph file dialog, starting at `current`.
    /// Returns the chosen file name, or an empty text when the user cancelled.
    virtual QString openFileName(const QString &current) = 0;
    /// The save form; the dialog itself asks before replacing a file.
    virtual QString saveFileName(const QString &current) = 0;

    virtual void clearClipboard() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    /// The clipboard's plain text, empty when it holds none.
    virtual QString clipboardText() = 0;

    /// Called between the pieces of long work, an Open or a Save of a big list, which runs
    /// on the one thread: once the work has taken a while, shows that the program is busy
    /// and lets the window paint. Events other than user input may be handled meanwhile.
    virtual void stillWorking() = 0;
    /// The long work has ended; the pointer is as it was before.
    virtual void workDone() = 0;

    /// Ends the program at once, without any window's close handling.
    virtual void endProgram() = 0;
};

} // namespace glimra
