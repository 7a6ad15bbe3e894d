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

std::optional<QString> ListEntryOfFileLine(QStringView line)
{
    if (line.size() <= TailStart)
        return std::nullopt;
    const QStringView tail = line.mid(TailStart, TailLength);
    return FormatListEntry(codesAtFixedPositions(line), tail.first(tail.size() - 1));
}

bool FileLineRunsPastName(QStringView line)
{
    return line.size() > TailStart + TailLength;
}

} // namespace glimra
