// SPDX-License-Identifier: MIT
#include "files/fileline.h"

#include "files/cp932codec.h"

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

std::optional<QByteArray> EncodeFileLine(const QString &entry)
{
    return cp932::encode(FormatFileLine(ParseListEntry(entry)));
}

bool NameHolds(QStringView text)
{
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return cp932::canEncode(text);
}

bool FileLineHoldsEntry(qsizetype characters)
{
    return characters > TailStart;
}

bool FileLineRunsPastName(qsizetype characters)
{
    return characters > TailStart + TailLength;
}

bool FileLineIsAsWritten(QByteArrayView bytes, qsizetype characters)
{
    // With one byte to each of the first characters, byte and character places agree. The
    // closing quote is a whole character, as no second byte of a pair is that low.
    if (!FileLineHoldsEntry(characters) || FileLineRunsPastName(characters) ||
        cp932::characterCount(bytes.first(TailStart)) != TailStart)
        return false;
    for (int i = 0; i < ColumnCount; ++i) {
        if (bytes[3 * i + 2] != ',')
            return false;
    }
    return bytes[TailStart - 1] == '"' && bytes.back() == '"';
}

std::optional<QString> ListEntryOfFileLine(QStringView line)
{
    if (!FileLineHoldsEntry(line.size()))
        return std::nullopt;
    const QStringView tail = line.mid(TailStart, TailLength);
    return FormatListEntry(codesAtFixedPositions(line), tail.first(tail.size() - 1));
}

} // namespace glimra
