// SPDX-License-Identifier: MIT
#include "files/cp932codec.h"

#include <cerrno>
#include <iconv.h>
#include <QtEndian>

namespace glimra::cp932 {

namespace {

// glibc's CP932 is Windows' own table in both directions, one-way look-alikes included;
// Qt's converter refuses those look-alikes, so it is not used here.
std::optional<QByteArray> convert(const char *to, const char *from, QByteArrayView input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray output(input.size() * 4 + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = size_t(input.size());
    char *out = output.data();
    size_t outLeft = size_t(output.size());
    const size_t converted = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (converted == size_t(-1) || inLeft != 0)
        return std::nullopt;
    output.truncate(output.size() - qsizetype(outLeft));
    return output;
}

} // namespace

std::optional<QString> decode(QByteArrayView bytes)
{
    const auto utf16 = convert("UTF-16LE", "CP932", bytes);
    if (!utf16)
        return std::nullopt;
    QString text(utf16->size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(utf16->constData() + 2 * i));
    return text;
}

std::optional<QByteArray> encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    return convert("CP932", "UTF-8", text.toUtf8());
}

bool canEncode(QStringView text)
{
    return encode(text).has_value();
}

} // namespace glimra::cp932
