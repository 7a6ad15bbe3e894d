// SPDX-License-Identifier: MIT
#pragma once

#include "convert/formats.h"

namespace glimra::convert {

/// One run of the converter: `-` stands for standard input or output.
struct Conversion
{
    QString input;
    Format from = Format::Glm;
    QString output;
    Format to = Format::Glm;
    Options options;
};

struct Outcome
{
    bool written = false;
    /// Why nothing was written, as the program says it: the file, the line and the glyph.
    QString message;
    /// What a whole read left out, each as the program says it.
    QStringList warnings;
};

/// Reads the input and writes the output a glyph at a time. Nothing is written unless the
/// whole input was read: an output file that was there stays as it was, byte for byte.
Outcome Convert(const Conversion &conversion);

/// `Refusal` said as `file:line: glyph N: why`, leaving out what it does not know.
QString RefusalMessage(const QString &file, const Refusal &refusal);

} // namespace glimra::convert
