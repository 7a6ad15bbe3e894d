// SPDX-License-Identifier: MIT
#pragma once

#include "files/replacefile.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QStandardPaths>

namespace glimra {

/// Hands the pieces that `make` makes to `write` gathered into large blocks, asking `fault`
/// before each: a system call per line would double a save's time. False as soon as any of
/// them says no.
template <typename Write>
bool WritePieces(const MakeContents &make, const WriteFault &fault, Write write)
{
    constexpr qsizetype BlockSize = 256 * 1024;
    QByteArray block;
    block.reserve(BlockSize);
    int piece = 0;
    const bool made = make([&](QByteArrayView bytes) {
        if (fault && !fault(piece++))
            return false;
        if (block.size() + bytes.size() > BlockSize) {
            if (!write(block.constData(), block.size()))
                return false;
            block.resize(0);
        }
        block.append(bytes);
        return true;
    });
    return made && write(block.constData(), block.size());
}

/// Where the copy of a file written in place goes when the file's own folder takes no new
/// file: a folder of the user's own, made when asked for; empty when it cannot be made.
inline QString KeptCopyFolder()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/glimra-editor";
    return QDir().mkpath(folder) ? folder : QString();
}

/// The name of a copy of the old file, to which this random part is added: it says what
/// the file is, and a double-click opens it in the editor.
inline constexpr char KeptCopyStem[] = "glimra-copy-";
inline constexpr char KeptCopySuffix[] = ".glm";

} // namespace glimra
