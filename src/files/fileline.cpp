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

bool FileLineHoldsEntry(QStringView line)
{
    return line.size() > TailStart;
}

bool FileLineIsAsWritten(QStringView line)
{
    if (!FileLineHoldsEntry(line) || FileLineRunsPastName(line))
        return false;
    for (int i = 0; i < ColumnCount; ++i) {
        if (line[3 * i + 2] != u',')
            return false;
    }
    return line[TailStart - 1] == u'"' && line.back() == u'"';
}

std::optional<QString> ListEntryOfFileLine(QStringView line)
{
    if (!FileLineHoldsEntry(line))
        return std::nullopt;
    const QStringView tail = line.mid(TailStart, TailLength);
    return FormatListEntry(codesAtFixedPositions(line), tail.first(tail.size() - 1));
}

bool FileLineRunsPastName(QStringView line)
{
    return line.size() > TailStart + TailLength;
}

} // namespace glimra
