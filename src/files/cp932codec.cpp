// SPDX-License-Identifier: MIT
#include "files/cp932codec.h"

#include <iconv.h>

namespace glimra::cp932 {

namespace {

// QString holds UTF-16 in the machine's byte order.
constexpr const char *Utf16 =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

iconv_t handleOf(void *handle)
{
    return static_cast<iconv_t>(handle);
}

} // namespace

// glibc's CP932 is Windows' own table in both directions, one-way look-alikes included;
// Qt's converter refuses those look-alikes, so it is not used here.
Converter::Converter(Direction direction)
    : m_handle(direction == Direction::Decode ? iconv_open(Utf16, "CP932")
                                              : iconv_open("CP932", Utf16))
{
}

Converter::~Converter()
{
    if (m_handle != reinterpret_cast<void *>(-1))
        iconv_close(handleOf(m_handle));
}

bool Converter::convert(const char *in, size_t inSize, char *out, size_t &outLeft)
{
    if (m_handle == reinterpret_cast<void *>(-1))
        return false;
    iconv_t cd = handleOf(m_handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // forget whatever the last call left
    char *input = const_cast<char *>(in);
    size_t inLeft = inSize;
    return iconv(cd, &input, &inLeft, &out, &outLeft) != size_t(-1) && inLeft == 0;
}

std::optional<QString> Converter::decode(QByteArrayView bytes)
{
    QString text;
    if (!decode(bytes, text))
        return std::nullopt;
    return text;
}

bool Converter::decode(QByteArrayView bytes, QString &text)
{
    // Every character of code page 932 takes at least one byte and one UTF-16 unit.
    text.resize(bytes.size());
    size_t outLeft = size_t(text.size()) * 2;
    if (!convert(bytes.data(), size_t(bytes.size()), reinterpret_cast<char *>(text.data()),
                 outLeft))
        return false;
    text.truncate(text.size() - qsizetype(outLeft / 2));
    return true;
}

std::optional<QByteArray> Converter::encode(QStringView text)
{
    // A UTF-16 unit becomes at most two bytes.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    size_t outLeft = size_t(bytes.size());
    if (!convert(reinterpret_cast<const char *>(text.data()), size_t(text.size()) * 2, bytes.data(),
                 outLeft))
        return std::nullopt;
    bytes.truncate(bytes.size() - qsizetype(outLeft));
    return bytes;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    return Converter(Converter::Direction::Decode).decode(bytes);
}

std::optional<QByteArray> encode(QStringView text)
{
    return Converter(Converter::Direction::Encode).encode(text);
}

bool canEncode(QStringView text)
{
    return encode(text).has_value();
}

} // namespace glimra::cp932
