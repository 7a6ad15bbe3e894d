// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"

#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/regularfile.h"

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
            const char *const stop = m_buffer.constData() + m_buffer.size();
            const char *end = begin;
            while (end != stop && *end != '\r' && *end != '\n')
                ++end;
            out.append(begin, end - begin);
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

    bool fill()
    {
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
    bool m_afterCR = false; // a CR ended the last line; an LF right after it belongs to it
    bool m_failed = false;
};

// Decodes lines a block at a time: one conversion call per block costs far less than one
// per line. Code page 932 has no state, and CR and LF never occur inside a character, so
// a block joined with LF decodes to its lines joined with LF. A block that holds bad bytes
// is decoded line by line, to find which line they are in.
class DecodedLines
{
public:
    explicit DecodedLines(QIODevice &device) : m_reader(device) {}

    struct Line
    {
        LineReader::Result result;
        std::optional<QStringView> text; // empty unless `result` is Line and it decoded
        bool blank;                      // the line held no bytes at all
    };

    /// Valid until the next call.
    Line next()
    {
        if (m_next == m_ends.size() && !fill())
            return {m_stop, std::nullopt, false};
        const qsizetype start = m_next == 0 ? 0 : m_ends[m_next - 1] + 1;
        const qsizetype size = m_ends[m_next] - start;
        ++m_next;
        if (m_wholeBlock) {
            const QStringView text = QStringView(m_text).sliced(m_textPos);
            const qsizetype length = text.indexOf(u'\n');
            m_textPos += length + 1;
            return {LineReader::Result::Line, text.first(length), size == 0};
        }
        const bool decoded = cp932::decode(QByteArrayView(m_bytes).sliced(start, size), m_text);
        return {LineReader::Result::Line,
                decoded ? std::optional<QStringView>(m_text) : std::nullopt, size == 0};
    }

private:
    bool fill()
    {
        if (m_stop != LineReader::Result::Line)
            return false;
        constexpr qsizetype BlockSize = 64 * 1024;
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
        m_textPos = 0;
        // Counting the LFs costs little and keeps lines from shifting, should a converter
        // ever turn other bytes into one.
        m_wholeBlock =
            cp932::decode(m_bytes, m_text) && m_text.count(u'\n') == qsizetype(m_ends.size());
        return !m_ends.empty();
    }

    LineReader m_reader;
    QByteArray m_bytes;            // the block's lines, each followed by an LF
    std::vector<qsizetype> m_ends; // where each line's bytes end
    std::size_t m_next = 0;        // the next line to hand out
    QString m_text;                // the decoded block, or the last line decoded alone
    qsizetype m_textPos = 0;       // where the next line starts in a whole decoded block
    bool m_wholeBlock = false;
    LineReader::Result m_stop = LineReader::Result::Line; // what ended the last block
};

} // namespace

bool StreamGlyphLines(QIODevice &device, const EntryBatches &take)
{
    // Small batches: each one's strings are freed before the next is made, so a long file
    // leaves no trail of freed blocks behind.
    constexpr qsizetype BatchSize = 1024;
    bool complete = true;
    QStringList batch;
    batch.reserve(BatchSize);
    DecodedLines lines(device);
    for (;;) {
        const DecodedLines::Line line = lines.next();
        if (line.result == LineReader::Result::End)
            break;
        std::optional<QString> entry = line.text ? ListEntryOfFileLine(*line.text) : std::nullopt;
        if (!entry) {
            complete = complete && line.result == LineReader::Result::Line && line.blank;
            // Reading has stopped; only whether anything follows still matters.
            while (complete) {
                const DecodedLines::Line rest = lines.next();
                if (rest.result == LineReader::Result::End)
                    break;
                complete = rest.result == LineReader::Result::Line && rest.blank;
            }
            break;
        }
        complete = complete && !FileLineRunsPastName(*line.text);
        batch.append(std::move(*entry));
        if (batch.size() == BatchSize) {
            take(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        take(batch);
    return complete;
}

GlyphFileContents ReadGlyphLines(QByteArray bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    GlyphFileContents contents;
    contents.complete =
        StreamGlyphLines(device, [&](const QStringList &batch) { contents.entries += batch; });
    return contents;
}

std::optional<bool> StreamGlyphFile(const QString &path, const std::function<void()> &opened,
                                    const EntryBatches &take)
{
    QFile file;
    if (!OpenRegularFile(path, file))
        return std::nullopt;
    opened();
    return StreamGlyphLines(file, take);
}

std::optional<GlyphFileContents> ReadGlyphFile(const QString &path)
{
    GlyphFileContents contents;
    const std::optional<bool> complete = StreamGlyphFile(
        path, [] {}, [&](const QStringList &batch) { contents.entries += batch; });
    if (!complete)
        return std::nullopt;
    contents.complete = *complete;
    return contents;
}

std::optional<QList<QByteArray>> EncodeGlyphLines(const QStringList &entries)
{
    QList<QByteArray> lines;
    lines.reserve(entries.size());
    for (const QString &entry : entries) {
        std::optional<QByteArray> line = cp932::encode(FormatFileLine(ParseListEntry(entry)));
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
    return ReplaceFileContents(path, *lines, fault) ? WriteResult::Written
                                                    : WriteResult::CannotWrite;
}

} // namespace glimra
