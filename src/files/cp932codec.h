// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <QByteArray>
#include <QString>

/// Windows code page 932 from a table built into the program, so that every build reads
/// and writes glyph files alike, whatever the system's own converters do.
namespace glimra::cp932 {

/// Bytes to text, with Windows' table (81 60 is U+FF5E). Empty when the bytes hold an
/// invalid or truncated sequence.
std::optional<QString> decode(QByteArrayView bytes);
/// The same into `text`, reusing its buffer; false (and `text` undefined) on bad bytes.
bool decode(QByteArrayView bytes, QString &text);
/// Text to bytes as Windows converts it, look-alikes such as U+301C included. Empty when a
/// character has no mapping at all.
std::optional<QByteArray> encode(QStringView text);
bool canEncode(QStringView text);
/// How many characters the bytes hold; -1 when they hold an invalid or truncated sequence.
qsizetype characterCount(QByteArrayView bytes);
/// True when the bytes decode and encoding their text gives the same bytes back: no
/// duplicate sequence, which encoding would write in its other form.
bool encodesBackAlike(QByteArrayView bytes);

} // namespace glimra::cp932
