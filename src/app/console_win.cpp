// SPDX-License-Identifier: MIT
#include "app/console.h"

#include <windows.h>

namespace glimra {

namespace {

/// The standard handle, or, when a window program has none, the console of the process that
/// started it. A redirected stream counts as it is.
HANDLE outputHandle(Stream stream)
{
    const HANDLE handle =
        ::GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle && handle != INVALID_HANDLE_VALUE)
        return handle;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED)
        return nullptr; // no console to attach to (access denied: attached already)
    const HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    return console == INVALID_HANDLE_VALUE ? nullptr : console;
}

} // namespace

Written writeConsoleText(const QString &text, Stream stream)
{
    const HANDLE handle = outputHandle(stream);
    if (!handle)
        return Written::NoConsole;
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 whatever its code page.
        DWORD written = 0;
        const bool whole =
            ::WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr) &&
            written == DWORD(text.size());
        return whole ? Written::Done : Written::Failed;
    }
    const QByteArray bytes = text.toUtf8();
    DWORD written = 0;
    const bool whole =
        ::WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr) &&
        written == DWORD(bytes.size());
    return whole ? Written::Done : Written::Failed;
}

void drawWithoutDisplay()
{
    // Windows always has its fonts at hand: its own platform draws without a window.
}

} // namespace glimra
