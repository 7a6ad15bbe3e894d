// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace glimra {

/// What the program was asked to do by its arguments.
struct CommandLine
{
    enum class Action { Run, Help, Version, Misuse };
    Action action = Action::Run;
    /// The glyph file to open at start, made absolute; empty for none.
    QString file;
    /// For a misuse, what was wrong, as the first line of `misuseText` says it.
    QString error;
};

/// Reads the arguments that follow the program's name. `--help` and `--version` win
/// wherever they stand; one argument that is not an option is the file to open. Qt's own
/// options (`-platform offscreen`, `-style=fusion`) pass with their values, as the window
/// system takes them out later.
CommandLine parseCommandLine(const QStringList &arguments);

/// The `--help` text, ending in a line break.
QString helpText();
/// The `--version` text of `program`, ending in a line break.
QString versionText(const QString &program = QStringLiteral("glimra-editor"));
/// What a misuse prints on standard error: the error, the usage line and a pointer to --help.
QString misuseText(const QString &error);

} // namespace glimra
