// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <QByteArray>
#include <QString>

namespace glimra::cp932 {

/// One conversion direction between Windows code page 932 and text, kept open so that a
/// whole file is converted with one handle rather than one per line.
class Converter
{
public:
    enum class Direction { Decode, Encode };
    explicit Converter(Direction direction);
    ~Converter();
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    /// Bytes to text, with Windows' table (81 60 is U+FF5E). Empty when the bytes hold an
    /// invalid or truncated sequence.
    std::optional<QString> decode(QByteArrayView bytes);
    /// The same into `text`, reusing its buffer; false (and `text` undefined) on bad bytes.
    bool decode(QByteArrayView bytes, QString &text);
    /// Text to bytes as Windows converts it, look-alikes such as U+301C included. Empty
    /// when a character has no mapping at all.
    std::optional<QByteArray> encode(QStringView text);

private:
    bool convert(const char *in, size_t inSize, char *out, size_t &outLeft);
    void *m_handle;
};

std::optional<QString> decode(QByteArrayView bytes);
std::optional<QByteArray> encode(QStringView text);
bool canEncode(QStringView text);

} // namespace glimra::cp932
