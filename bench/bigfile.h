// SPDX-License-Identifier: MIT
// What the benchmarks share: the big glyph file they read.
#pragma once

#include "files/cp932codec.h"

#include <QFile>
#include <unistd.h>

namespace glimra {

/// A glyph file of `count` lines like those users keep, half of them with Japanese names,
/// on the disk before anything is timed: its write-back would otherwise slow what follows.
inline bool writeBigFile(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes +=
            *cp932::encode(i % 2 ? QStringLiteral("01,02,03,04,05,\"glyph%1\"\r\n").arg(i)
                                 : QStringLiteral("7F,08,08,08,7F,\"外字の名前%1\"\r\n").arg(i));
        if (bytes.size() > 1 << 20 || i == count - 1) {
            if (file.write(bytes) != bytes.size())
                return false;
            bytes.clear();
        }
    }
    return file.flush() && ::fsync(file.handle()) == 0;
}

} // namespace glimra
