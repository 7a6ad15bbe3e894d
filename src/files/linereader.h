// SPDX-License-Identifier: MIT
#pragma once

#include "files/glyphfile.h"

#include <cstring>
#include <QIODevice>

namespace glimra {

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

} // namespace glimra
