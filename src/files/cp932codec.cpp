// SPDX-License-Identifier: MIT
#include "files/cp932codec.h"

#include "files/cp932table.h"

#include <cstring>
#include <vector>

namespace glimra::cp932 {

namespace {

constexpr quint16 NoCode = 0xFFFF; // FF leads nothing, so no sequence is written so

// Each UTF-16 unit's bytes, one or two, as one number. A character takes its first
// sequence in byte order, except that rows ED and EE give way to their duplicates in FA to
// FC, as Windows does, and the one-way look-alikes are added.
const std::vector<quint16> &encodingTable()
{
    static const std::vector<quint16> codes = [] {
        std::vector<quint16> table(0x10000, NoCode);
        for (int byte = 0; byte < 256; ++byte) {
            const char16_t unit = table::SingleByte[byte];
            if (unit != table::None && table[unit] == NoCode)
                table[unit] = quint16(byte);
        }
        for (int lead = 0; lead < 256; ++lead) {
            const int row = table::LeadRow[lead];
            for (int trail = 0; row >= 0 && trail < table::TrailCount; ++trail) {
                const char16_t unit = table::DoubleByte[row][trail];
                if (unit == table::None)
                    continue;
                const int earlierLead = table[unit] >> 8;
                if (table[unit] == NoCode ||
                    (lead >= 0xFA && (earlierLead == 0xED || earlierLead == 0xEE)))
                    table[unit] = quint16(lead << 8 | (trail + table::FirstTrail));
            }
        }
        for (const table::OneWay &oneWay : table::OneWayUnits)
            table[oneWay.unit] = oneWay.code;
        return table;
    }();
    return codes;
}

// The character at `in` and the sequence it came from; `table::None` for bad bytes.
char16_t nextUnit(const unsigned char *&in, const unsigned char *end, quint16 &sequence)
{
    sequence = *in++;
    const char16_t unit = table::SingleByte[sequence];
    if (unit != table::None)
        return unit;
    const int row = table::LeadRow[sequence];
    if (row < 0 || in == end)
        return table::None;
    const int trail = *in - table::FirstTrail;
    if (trail < 0 || trail >= table::TrailCount)
        return table::None;
    sequence = quint16(sequence << 8 | *in++);
    return table::DoubleByte[row][trail];
}

} // namespace

bool decode(QByteArrayView bytes, QString &text)
{
    // Every character takes at least one byte and exactly one UTF-16 unit.
    text.resize(bytes.size());
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    quint16 sequence;
    while (in != end) {
        const char16_t unit = nextUnit(in, end, sequence);
        if (unit == table::None)
            return false;
        *out++ = unit;
    }
    text.truncate(out - begin);
    return true;
}

namespace {

// Glyph file lines are mostly bytes below 80, each a character that encodes back to
// itself, as the table has it: runs of them need no look-up.
bool asciiIsItself()
{
    static const bool itself = [] {
        const std::vector<quint16> &codes = encodingTable();
        for (char16_t byte = 0; byte < 0x80; ++byte) {
            if (table::SingleByte[byte] != byte || codes[byte] != byte)
                return false;
        }
        return true;
    }();
    return itself;
}

// Passes bytes below 80 eight at a time; how many it passed.
qsizetype skipAscii(const unsigned char *&in, const unsigned char *end)
{
    constexpr quint64 HighBits = 0x8080808080808080;
    const unsigned char *const start = in;
    quint64 eight;
    while (end - in >= 8 && (std::memcpy(&eight, in, 8), (eight & HighBits) == 0))
        in += 8;
    return in - start;
}

} // namespace

qsizetype characterCount(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    const bool fast = asciiIsItself();
    quint16 sequence;
    qsizetype count = 0;
    while (in != end) {
        if (fast && (count += skipAscii(in, end), in == end))
            break;
        if (nextUnit(in, end, sequence) == table::None)
            return -1;
        ++count;
    }
    return count;
}

bool encodesBackAlike(QByteArrayView bytes)
{
    const std::vector<quint16> &codes = encodingTable();
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    const bool fast = asciiIsItself();
    quint16 sequence;
    while (in != end) {
        if (fast && (skipAscii(in, end), in == end))
            break;
        const char16_t unit = nextUnit(in, end, sequence);
        if (unit == table::None || codes[unit] != sequence)
            return false;
    }
    return true;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    QString text;
    if (!decode(bytes, text))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encode(QStringView text)
{
    const std::vector<quint16> &codes = encodingTable();
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const quint16 code = codes[c.unicode()];
        if (code == NoCode)
            return std::nullopt;
        if (code > 0xFF)
            *out++ = char(code >> 8);
        *out++ = char(code & 0xFF);
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

bool canEncode(QStringView text)
{
    const std::vector<quint16> &codes = encodingTable();
    for (const QChar c : text) {
        if (codes[c.unicode()] == NoCode)
            return false;
    }
    return true;
}

} // namespace glimra::cp932
