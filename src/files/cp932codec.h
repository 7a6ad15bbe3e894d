// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <QByteArray>
#include <QString>

namespace glimra::cp932 {

/// Bytes of Windows code page 932 to text, with Windows' table (81 60 is U+FF5E).
/// Empty when the bytes hold an invalid or truncated sequence.
std::optional<QString> decode(QByteArrayView bytes);

/// Text to code page 932 as Windows converts it, look-alikes such as U+301C included.
/// Empty when a character has no mapping at all.
std::optional<QByteArray> encode(QStringView text);

bool canEncode(QStringView text);

} // namespace glimra::cp932
