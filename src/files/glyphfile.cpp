// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"

#include "files/cp932codec.h"
#include "files/fileline.h"

#include <QFile>
#include <QSaveFile>

namespace glimra {

QList<QByteArray> splitGlyphFileLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

std::optional<GlyphFileContents> ReadGlyphFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    GlyphFileContents contents;
    const QList<QByteArray> lines = splitGlyphFileLines(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> text = cp932::decode(lines[i]);
        const std::optional<GlyphEntry> entry = text ? ParseFileLine(*text) : std::nullopt;
        if (!entry) {
            for (qsizetype rest = i; rest < lines.size(); ++rest)
                contents.complete = contents.complete && lines[rest].isEmpty();
            break;
        }
        contents.entries.append(FormatListEntry(*entry));
    }
    return contents;
}

WriteResult WriteGlyphFile(const QString &path, const QStringList &entries, const WriteFault &fault)
{
    QList<QByteArray> lines;
    for (const QString &entry : entries) {
        const std::optional<QByteArray> line = cp932::encode(FormatFileLine(ParseListEntry(entry)));
        if (!line)
            return WriteResult::CannotEncode;
        lines.append(*line + "\r\n");
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteResult::CannotWrite;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if ((fault && !fault(int(i))) || file.write(lines[i]) != lines[i].size()) {
            file.cancelWriting();
            return WriteResult::CannotWrite;
        }
    }
    return file.commit() ? WriteResult::Written : WriteResult::CannotWrite;
}

} // namespace glimra
