// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace glimra {

enum class Stream { Output, Error };
enum class Written { Done, Failed, NoConsole };

/// Writes the program's own text (usage, version) to standard output or standard error. A
/// window program on Windows has neither when started from a console, so there it writes to
/// the console it was started from, and says when there was none.
Written writeConsoleText(const QString &text, Stream stream);
/// Lets a program that shows no window draw text, with no display needed; called before
/// the application object is made.
void drawWithoutDisplay();

} // namespace glimra
