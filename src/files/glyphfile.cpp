// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"

#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/linereader.h"
#include "files/regularfile.h"

#include <QBuffer>
#include <QFile>
#include <vector>

namespace glimra {

namespace {

// Hands out lines with how many characters each holds, gathering them a block at a time
// so that the lines that hold entries can be handed on from one buffer. Nothing is decoded:
// an entry becomes text only when it is shown.
class CountedLines
{
public:
    explicit CountedLines(QIODevice &device) : m_reader(device) {}

    struct Line
    {
        LineReader::Result result;
        qsizetype characters = -1; // -1 unless `result` is Line and it holds code page 932
        QByteArrayView bytes;
        qsizetype end = 0; // where its bytes end in `block()`
    };

    /// Valid until the next call.
    Line next()
    {
        if (m_next == m_ends.size() && !fill())
            return {m_stop, -1, {}, 0};
        const qsizetype start = m_next == 0 ? 0 : m_ends[m_next - 1] + 1;
        const qsizetype end = m_ends[m_next++];
        const QByteArrayView bytes = QByteArrayView(m_bytes).sliced(start, end - start);
        return {LineReader::Result::Line, cp932::characterCount(bytes), bytes, end};
    }

    /// The lines handed out since the last fill, each followed by an LF; valid until the
    /// line after the last of them is asked for.
    QByteArrayView block() const { return m_bytes; }
    bool blockDone() const { return m_next == m_ends.size(); }

private:
    bool fill()
    {
        if (m_stop != LineReader::Result::Line)
            return false;
        constexpr qsizetype BlockSize = 64 * 1024;
        // Room for a whole block and the line that ends it, so that no line grows it.
        m_bytes.reserve(BlockSize + LongestGlyphFileLine + 2);
        m_bytes.resize(0);
        m_ends.clear();
        m_next = 0;
        while (m_bytes.size() < BlockSize) {
            const qsizetype start = m_bytes.size();
            m_stop = m_reader.next(m_bytes);
            if (m_stop != LineReader::Result::Line) {
                m_bytes.resize(start);
                break;
            }
            m_ends.push_back(m_bytes.size());
            m_bytes.append('\n');
        }
        return !m_ends.empty();
    }

    LineReader m_reader;
    QByteArray m_bytes;            // the block's lines, each followed by an LF
    std::vector<qsizetype> m_ends; // where each line's bytes end
    std::size_t m_next = 0;        // the next line to hand out
    LineReader::Result m_stop = LineReader::Result::Line; // what ended the last block
};

} // namespace

bool StreamFileLines(QIODevice &device, const LineBatches &take)
{
    bool complete = true;
    CountedLines lines(device);
    // A block's lines go over in one batch, straight from the reader's buffer.
    CheckedFileLines batch;
    // False when the taker took only a part: the rest of the file is not read.
    const auto handOver = [&] {
        if (batch.ends.empty())
            return true;
        batch.bytes = lines.block();
        const bool taken = take(batch);
        batch.ends.clear();
        batch.asWritten.clear();
        return taken;
    };
    for (;;) {
        const CountedLines::Line line = lines.next();
        if (line.result == LineReader::Result::End)
            break;
        if (!FileLineHoldsEntry(line.characters)) {
            if (!handOver())
                return false;
            const auto blank = [](const CountedLines::Line &l) {
                return l.result == LineReader::Result::Line && l.bytes.isEmpty();
            };
            complete = complete && blank(line);
            // Reading has stopped; only whether anything follows still matters.
            while (complete) {
                const CountedLines::Line rest = lines.next();
                if (rest.result == LineReader::Result::End)
                    break;
                complete = blank(rest);
            }
            return complete;
        }
        complete = complete && !FileLineRunsPastName(line.characters);
        batch.ends.push_back(line.end);
        batch.asWritten.push_back(FileLineIsAsWritten(line.bytes, line.characters));
        if (lines.blockDone() && !handOver())
            return false;
    }
    return handOver() && complete;
}

bool StreamGlyphLines(QIODevice &device, const EntryBatches &take)
{
    QString line;
    return StreamFileLines(device, [&](const CheckedFileLines &lines) {
        QStringList batch;
        batch.reserve(qsizetype(lines.ends.size()));
        qsizetype start = 0;
        for (const qsizetype end : lines.ends) {
            cp932::decode(lines.bytes.sliced(start, end - start), line);
            batch.append(*ListEntryOfFileLine(line));
            start = end + 1;
        }
        take(batch);
        return true;
    });
}

namespace {

GlyphFileContents readEntries(QIODevice &device)
{
    GlyphFileContents contents;
    contents.complete =
        StreamGlyphLines(device, [&](const QStringList &batch) { contents.entries += batch; });
    return contents;
}

} // namespace

GlyphFileContents ReadGlyphLines(QByteArray bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return readEntries(device);
}

std::optional<bool> StreamGlyphFile(const QString &path, const std::function<void()> &opened,
                                    const LineBatches &take)
{
    QFile file;
    if (!OpenRegularFile(path, file))
        return std::nullopt;
    opened();
    return StreamFileLines(file, take);
}

std::optional<GlyphFileContents> ReadGlyphFile(const QString &path)
{
    QFile file;
    if (!OpenRegularFile(path, file))
        return std::nullopt;
    return readEntries(file);
}

std::optional<QList<QByteArray>> EncodeGlyphLines(const QStringList &entries)
{
    QList<QByteArray> lines;
    lines.reserve(entries.size());
    for (const QString &entry : entries) {
        std::optional<QByteArray> line = EncodeFileLine(entry);
        if (!line)
            return std::nullopt;
        lines.append(line->append("\r\n"));
    }
    return lines;
}

WriteResult WriteGlyphFile(const QString &path, const QStringList &entries, const WriteFault &fault)
{
    const std::optional<QList<QByteArray>> lines = EncodeGlyphLines(entries);
    if (!lines)
        return WriteResult::CannotEncode;
    const Replaced replaced = ReplaceFileContents(path, *lines, fault);
    if (replaced.written)
        return WriteResult::Written;
    return replaced.keptCopy.isEmpty() ? WriteResult::CannotWrite : WriteResult::CopyKept;
}

} // namespace glimra
