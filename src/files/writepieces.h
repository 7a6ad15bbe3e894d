// SPDX-License-Identifier: MIT
#pragma once

#include "files/replacefile.h"

#include <QByteArray>
#include <QList>

namespace glimra {

/// Hands the pieces to `write` gathered into large blocks, asking `fault` before each: a
/// system call per line would double a save's time. False as soon as either says no.
template <typename Write>
bool WritePieces(const QList<QByteArray> &pieces, const WriteFault &fault, Write write)
{
    constexpr qsizetype BlockSize = 256 * 1024;
    QByteArray block;
    block.reserve(BlockSize);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (fault && !fault(int(i)))
            return false;
        if (block.size() + pieces[i].size() > BlockSize) {
            if (!write(block.constData(), block.size()))
                return false;
            block.resize(0);
        }
        block.append(pieces[i]);
    }
    return write(block.constData(), block.size());
}

} // namespace glimra
