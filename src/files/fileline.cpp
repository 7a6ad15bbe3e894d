// SPDX-License-Identifier: MIT
#include "files/fileline.h"

namespace glimra {

namespace {
constexpr int TailStart = 16;
constexpr int TailLength = 30;
} // namespace

QString FormatFileLine(const GlyphEntry &entry)
{
    QString line;
    for (const QString &code : entry.codes)
        line += code + u',';
    return line + u'"' + entry.name + u'"';
}

std::optional<GlyphEntry> ParseFileLine(const QString &line)
{
    if (line.size() <= TailStart)
        return std::nullopt;
    const QString tail = line.mid(TailStart, TailLength);
    return GlyphEntry{codesAtFixedPositions(line), tail.left(tail.size() - 1)};
}

bool FileLineRunsPastName(const QString &line)
{
    return line.size() > TailStart + TailLength;
}

} // namespace glimra
