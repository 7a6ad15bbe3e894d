// SPDX-License-Identifier: MIT
#pragma once

#include "convert/conversion.h"

#include <QStringList>

namespace glimra {

/// What glimra-convert was asked to do by its arguments.
struct ConvertCommandLine
{
    enum class Action { Convert, Help, Version, Misuse };
    Action action = Action::Convert;
    convert::Conversion conversion;
    /// For a misuse, what was wrong.
    QString error;
};

/// Reads the arguments that follow the program's name. `--help` and `--version` win
/// wherever they stand.
ConvertCommandLine parseConvertCommandLine(const QStringList &arguments);
/// The `--help` text, ending in a line break.
QString convertHelpText();
/// What a misuse prints on standard error: the error, the usage line and a pointer to --help.
QString convertMisuseText(const QString &error);

} // namespace glimra
