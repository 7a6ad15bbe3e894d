// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"

#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/regularfile.h"

#include <cstring>
#include <QBuffer>
#include <QFile>
#include <vector>

namespace glimra {

namespace {

// Hands out a device's lines one at a time, split at CR LF, LF or CR, reading 64 KiB at a
// time, so that memory stays bounded however large the file is.
class LineReader
{
public:
    explicit LineReader(QIODevice &device) : m_device(device) {}

    enum class Result { Line, End, TooLong, Error };

    /// Appends the next line, without its line end, to `out`.
    Result next(QByteArray &out)
    {
        const qsizetype start = out.size();
        for (;;) {
            if (m_pos == m_buffer.size() && !fill()) {
                // DOS programs ended a text file with Ctrl+Z; it is no part of the last line.
                if (out.size() > start && out.back() == EndOfFileMark)
                    out.chop(1);
                return m_failed ? Result::Error : out.size() == start ? Result::End : Result::Line;
            }
            if (m_afterCR) {
                m_afterCR = false;
                if (m_buffer[m_pos] == '\n') {
                    ++m_pos;
                    continue;
                }
            }
            const char *begin = m_buffer.constData() + m_pos;
            const char *const end =
                m_buffer.constData() + qMin(next(m_nextCR, '\r'), next(m_nextLF, '\n'));
            const char *const stop = m_buffer.constData() + m_buffer.size();
            // Grown and copied by hand: Qt 6.4's append made the editor's whole Open of a
            // large file take twice as long (measured at 100,000 lines).
            const qsizetype had = out.size();
            out.resize(had + (end - begin));
            std::memcpy(out.data() + had, begin, std::size_t(end - begin));
            m_pos += end - begin;
            if (out.size() - start > LongestGlyphFileLine)
                return Result::TooLong;
            if (end != stop) {
                m_afterCR = *end == '\r';
                ++m_pos;
                return Result::Line;
            }
        }
    }

private:
    static constexpr char EndOfFileMark = '\x1A';

    // Where the next `c` is from m_pos on, or the buffer's end. Each is looked for again
    // only once passed, so the buffer is searched once whichever line ends it holds.
    qsizetype next(qsizetype &found, char c) const
    {
        if (found < m_pos) {
            const auto *at = static_cast<const char *>(
                std::memchr(m_buffer.constData() + m_pos, c, std::size_t(m_buffer.size() - m_pos)));
            found = at ? at - m_buffer.constData() : m_buffer.size();
        }
        return found;
    }

    bool fill()
    {
        m_nextCR = m_nextLF = -1;
        m_buffer.resize(64 * 1024);
        const qint64 got = m_device.read(m_buffer.data(), m_buffer.size());
        m_failed = got < 0;
        m_buffer.resize(qMax<qint64>(got, 0));
        m_pos = 0;
        return got > 0;
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_nextCR = -1;
    qsizetype m_nextLF = -1;
    bool m_afterCR = false; // a CR ended the last line; an LF right after it belongs to it
    bool m_failed = false;
};

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
