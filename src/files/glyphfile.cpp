// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"

#include "files/cp932codec.h"
#include "files/fileline.h"

#include <fcntl.h>
#include <QFile>
#include <QSaveFile>
#include <sys/stat.h>
#include <unistd.h>

namespace glimra {

namespace {

// Hands out a device's lines one at a time, split at CR LF, LF or CR, so that memory holds
// one line however large the file is.
class LineReader
{
public:
    explicit LineReader(QIODevice &device) : m_device(device) {}

    enum class Result { Line, End, TooLong, Error };

    Result next(QByteArray &line)
    {
        line.clear();
        for (;;) {
            if (m_pos == m_buffer.size() && !fill())
                return m_failed ? Result::Error : line.isEmpty() ? Result::End : Result::Line;
            if (m_afterCR) {
                m_afterCR = false;
                if (m_buffer[m_pos] == '\n') {
                    ++m_pos;
                    continue;
                }
            }
            const char *start = m_buffer.constData() + m_pos;
            const qsizetype left = m_buffer.size() - m_pos;
            const char *end = start;
            while (end != start + left && *end != '\r' && *end != '\n')
                ++end;
            line.append(start, end - start);
            m_pos += end - start;
            if (line.size() > LongestGlyphFileLine)
                return Result::TooLong;
            if (m_pos < m_buffer.size()) {
                m_afterCR = m_buffer[m_pos] == '\r';
                ++m_pos;
                return Result::Line;
            }
        }
    }

private:
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

// Only a regular file is read: a pipe would block in open() and a device may never end.
// O_NONBLOCK keeps the open itself from waiting; the second look closes the gap between
// the check and the open.
int openRegularFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool StreamGlyphLines(QIODevice &device, const EntryBatches &take)
{
    // Small batches: each one's strings are freed before the next is made, so a long file
    // leaves no trail of freed blocks behind.
    constexpr qsizetype BatchSize = 1024;
    bool complete = true;
    QStringList batch;
    batch.reserve(BatchSize);
    LineReader reader(device);
    cp932::Converter codec(cp932::Converter::Direction::Decode);
    QByteArray bytes;
    for (;;) {
        const LineReader::Result result = reader.next(bytes);
        if (result == LineReader::Result::End)
            break;
        const std::optional<QString> text =
            result == LineReader::Result::Line ? codec.decode(bytes) : std::nullopt;
        const std::optional<GlyphEntry> entry = text ? ParseFileLine(*text) : std::nullopt;
        if (!entry) {
            complete = complete && result == LineReader::Result::Line && bytes.isEmpty();
            // Reading has stopped; only whether anything follows still matters.
            while (complete) {
                const LineReader::Result rest = reader.next(bytes);
                if (rest == LineReader::Result::End)
                    break;
                complete = rest == LineReader::Result::Line && bytes.isEmpty();
            }
            break;
        }
        complete = complete && !FileLineRunsPastName(*text);
        batch.append(FormatListEntry(*entry));
        if (batch.size() == BatchSize) {
            take(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        take(batch);
    return complete;
}

GlyphFileContents ReadGlyphLines(QIODevice &device)
{
    GlyphFileContents contents;
    contents.complete =
        StreamGlyphLines(device, [&](const QStringList &batch) { contents.entries += batch; });
    return contents;
}

std::optional<bool> StreamGlyphFile(const QString &path, const std::function<void()> &opened,
                                    const EntryBatches &take)
{
    const int fd = openRegularFile(path);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
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
    cp932::Converter codec(cp932::Converter::Direction::Encode);
    for (const QString &entry : entries) {
        std::optional<QByteArray> line = codec.encode(FormatFileLine(ParseListEntry(entry)));
        if (!line)
            return std::nullopt;
        lines.append(line->append("\r\n"));
    }
    return lines;
}

WriteResult WriteGlyphFile(const QString &path, const QStringList &entries, const WriteFault &fault)
{
    const std::optional<QList<QByteArray>> encoded = EncodeGlyphLines(entries);
    if (!encoded)
        return WriteResult::CannotEncode;
    const QList<QByteArray> &lines = *encoded;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteResult::CannotWrite;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if ((fault && !fault(int(i))) || file.write(lines[i]) != lines[i].size()) {
            file.cancelWriting();
            return WriteResult::CannotWrite;
        }
    }
    // commit() renames the file over the old one even when its last buffered write fell
    // short (a full disk), so the buffer is pushed out and checked first.
    if (!file.flush()) {
        file.cancelWriting();
        return WriteResult::CannotWrite;
    }
    return file.commit() ? WriteResult::Written : WriteResult::CannotWrite;
}

} // namespace glimra
