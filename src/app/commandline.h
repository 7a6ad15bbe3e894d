// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace glimra {

/// What the program was asked to do by its arguments.
struct CommandLine
{
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    /// The glyph file to open at start, made absolute; empty for none.
    QString file;
    /// Set when the arguments made no sense: say `usage` and start with no file.
    bool misused = false;
};

/// Reads the arguments that follow the program's name. `--help` and `--version` win
/// wherever they stand; one argument that is not an option is the file to open.
CommandLine parseCommandLine(const QStringList &arguments);

/// The one-line usage text, ending in a line break.
QString usage();
/// The `--version` text, ending in a line break.
QString versionText();

} // namespace glimra
