// SPDX-License-Identifier: MIT
#include "files/entrylines.h"

#include "files/cp932codec.h"
#include "files/fileline.h"

#include <algorithm>
#include <cstring>

namespace glimra {

namespace {

constexpr std::size_t BlockEntries = 1024;

// The entry that a kept line's bytes give; every line kept was checked to decode and to
// hold an entry when it came in.
QString entryOfLine(QByteArrayView line)
{
    return ListEntryOfFileLine(cp932::decode(line).value_or(QString())).value_or(QString());
}

} // namespace

QByteArrayView EntryLines::entryBytes(const Block &block, int index)
{
    const quint32 start = index == 0 ? 0 : block.ends[index - 1];
    return QByteArrayView(block.bytes).sliced(start, block.ends[index] - start);
}

std::pair<std::size_t, int> EntryLines::locate(int row) const
{
    const auto after = std::upper_bound(m_firstRows.begin(), m_firstRows.end(), row);
    const std::size_t block = std::size_t(after - m_firstRows.begin()) - 1;
    return {block, row - m_firstRows[block]};
}

QString EntryLines::text(int row) const
{
    const auto [block, index] = locate(row);
    const QByteArrayView bytes = entryBytes(m_blocks[block], index);
    const QByteArrayView content = bytes.sliced(1);
    if (bytes.front() == EntryText) {
        QString text(content.size() / 2, Qt::Uninitialized);
        std::memcpy(text.data(), content.data(), content.size());
        return text;
    }
    return entryOfLine(content);
}

EntryLines::Block &EntryLines::blockForAppend()
{
    if (m_blocks.empty() || m_blocks.back().ends.size() >= BlockEntries) {
        // A full block will not grow again: give back what growing left spare.
        if (!m_blocks.empty())
            m_blocks.back().bytes.squeeze();
        m_firstRows.push_back(m_count);
        m_blocks.emplace_back();
        m_blocks.back().ends.reserve(BlockEntries);
    }
    return m_blocks.back();
}

void EntryLines::push(Block &block, Form form, QByteArrayView bytes)
{
    block.bytes.append(char(form));
    block.bytes.append(bytes);
    block.ends.push_back(quint32(block.bytes.size()));
    ++m_count;
}

void EntryLines::append(const QString &entry)
{
    // Kept as a file line when that line gives this very entry back, as Add's always do.
    const std::optional<QByteArray> line = EncodeFileLine(entry);
    Block &block = blockForAppend();
    if (line && entryOfLine(*line) == entry)
        push(block, LineAsWritten, *line);
    else
        push(block, EntryText,
             QByteArrayView(reinterpret_cast<const char *>(entry.utf16()), entry.size() * 2));
}

void EntryLines::appendFileLines(const CheckedFileLines &lines)
{
    // A file's lines come by the hundred thousand: each block is grown once per batch and
    // filled in place.
    const std::size_t count = lines.ends.size();
    qsizetype start = 0;
    for (std::size_t line = 0; line < count;) {
        Block &block = blockForAppend();
        const std::size_t taken = std::min(count - line, BlockEntries - block.ends.size());
        // Each line's form takes the place of the separator after it.
        const qsizetype size = lines.ends[line + taken - 1] + 1 - start;
        const qsizetype oldSize = block.bytes.size();
        block.bytes.resize(oldSize + size);
        char *const begin = block.bytes.data();
        char *out = begin + oldSize;
        for (const std::size_t last = line + taken; line < last; ++line) {
            const qsizetype length = lines.ends[line] - start;
            *out++ = lines.asWritten[line] ? LineAsWritten : OtherLine;
            std::memcpy(out, lines.bytes.data() + start, std::size_t(length));
            out += length;
            block.ends.push_back(quint32(out - begin));
            start = lines.ends[line] + 1;
        }
        m_count += int(taken);
    }
}

void EntryLines::remove(int row)
{
    const auto [blockIndex, index] = locate(row);
    Block &block = m_blocks[blockIndex];
    const quint32 start = index == 0 ? 0 : block.ends[index - 1];
    const quint32 length = block.ends[index] - start;
    block.bytes.remove(start, length);
    block.ends.erase(block.ends.begin() + index);
    for (auto end = block.ends.begin() + index; end != block.ends.end(); ++end)
        *end -= length;
    std::size_t later = blockIndex + 1;
    if (block.ends.empty()) {
        m_blocks.erase(m_blocks.begin() + qsizetype(blockIndex));
        m_firstRows.erase(m_firstRows.begin() + qsizetype(blockIndex));
        later = blockIndex;
    }
    for (; later < m_firstRows.size(); ++later)
        --m_firstRows[later];
    --m_count;
}

QByteArray EntryLines::kept(int row) const
{
    const auto [block, index] = locate(row);
    return entryBytes(m_blocks[block], index).toByteArray();
}

void EntryLines::insertKept(int row, QByteArrayView kept)
{
    if (row >= m_count) {
        push(blockForAppend(), Form(kept.front()), kept.sliced(1));
        return;
    }
    const auto [blockIndex, index] = locate(row);
    Block &block = m_blocks[blockIndex];
    const quint32 start = index == 0 ? 0 : block.ends[index - 1];
    block.bytes.insert(start, kept);
    block.ends.insert(block.ends.begin() + index, start);
    for (auto end = block.ends.begin() + index; end != block.ends.end(); ++end)
        *end += quint32(kept.size());
    for (std::size_t later = blockIndex + 1; later < m_firstRows.size(); ++later)
        ++m_firstRows[later];
    ++m_count;
    if (block.ends.size() > 2 * BlockEntries)
        split(blockIndex);
}

void EntryLines::split(std::size_t blockIndex)
{
    Block &block = m_blocks[blockIndex];
    const std::size_t kept = block.ends.size() / 2;
    const quint32 cut = block.ends[kept - 1];
    Block rest;
    rest.bytes = block.bytes.sliced(cut);
    for (std::size_t i = kept; i < block.ends.size(); ++i)
        rest.ends.push_back(block.ends[i] - cut);
    block.bytes.truncate(cut);
    block.ends.resize(kept);
    const int firstRest = m_firstRows[blockIndex] + int(kept);
    m_blocks.insert(m_blocks.begin() + qsizetype(blockIndex) + 1, std::move(rest));
    m_firstRows.insert(m_firstRows.begin() + qsizetype(blockIndex) + 1, firstRest);
}

qsizetype EntryLines::memory() const
{
    qsizetype bytes = qsizetype(m_blocks.capacity() * sizeof(Block));
    for (const Block &block : m_blocks)
        bytes += block.bytes.capacity() + qsizetype(block.ends.capacity() * sizeof(quint32));
    return bytes + qsizetype(m_firstRows.capacity() * sizeof(int));
}

int EntryLines::findStartingWith(QStringView prefix, int from) const
{
    // Typing in the list looks at the start of the entries, the codes: there a file line of
    // one-byte characters is its entry with commas for spaces, so it need not be decoded.
    constexpr qsizetype CodesLength = 14;
    const QString folded = prefix.toString().toCaseFolded();
    const auto startsWith = [&](const Block &block, int index, int row) {
        const QByteArrayView bytes = entryBytes(block, index);
        if (bytes.front() != EntryText && prefix.size() <= CodesLength) {
            qsizetype k = 0;
            for (; k < prefix.size() && uchar(bytes[k + 1]) < 0x80; ++k) {
                char16_t c = k % 3 == 2 ? u' ' : char16_t(bytes[k + 1]);
                if (c >= u'A' && c <= u'Z')
                    c += u'a' - u'A';
                if (c != folded[k])
                    return false;
            }
            if (k == prefix.size())
                return true;
        }
        return text(row).startsWith(prefix, Qt::CaseInsensitive);
    };
    if (from < 0 || from >= m_count)
        return -1;
    auto [block, index] = locate(from);
    int row = from;
    for (int step = 0; step < m_count; ++step) {
        if (startsWith(m_blocks[block], index, row))
            return row;
        ++row;
        if (++index == int(m_blocks[block].ends.size())) {
            index = 0;
            if (++block == m_blocks.size()) {
                block = 0;
                row = 0;
            }
        }
    }
    return -1;
}

void EntryLines::clear()
{
    m_blocks = {};
    m_firstRows = {};
    m_count = 0;
}

std::optional<QList<QByteArray>> EntryLines::fileLines(const std::function<void()> &working) const
{
    QList<QByteArray> pieces;
    pieces.reserve(qsizetype(m_blocks.size()));
    int row = 0;
    for (const Block &block : m_blocks) {
        // Each line's CR LF takes the place of its form byte, and one more: lines written
        // as they are fill the piece exactly. Filled by hand, as in reading.
        QByteArray piece(block.bytes.size() + qsizetype(block.ends.size()), Qt::Uninitialized);
        qsizetype used = 0;
        const auto put = [&](QByteArrayView bytes) {
            if (used + bytes.size() > piece.size())
                piece.resize(qMax(2 * piece.size(), used + bytes.size()));
            std::memcpy(piece.data() + used, bytes.data(), std::size_t(bytes.size()));
            used += bytes.size();
        };
        for (int index = 0; index < int(block.ends.size()); ++index, ++row) {
            const QByteArrayView bytes = entryBytes(block, index);
            if (bytes.front() == LineAsWritten && cp932::encodesBackAlike(bytes.sliced(1))) {
                put(bytes.sliced(1));
            } else {
                const std::optional<QByteArray> line = EncodeFileLine(text(row));
                if (!line)
                    return std::nullopt;
                put(*line);
            }
            put("\r\n");
        }
        piece.truncate(used);
        pieces.append(piece);
        if (working)
            working();
    }
    return pieces;
}

} // namespace glimra
