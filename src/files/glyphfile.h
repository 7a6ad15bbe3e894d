// SPDX-License-Identifier: MIT
#pragma once

#include "files/checkedfilelines.h"
#include "files/replacefile.h"

#include <functional>
#include <optional>
#include <QStringList>

class QIODevice;

namespace glimra {

/// The list entries read from a glyph file, up to where reading stopped.
struct GlyphFileContents
{
    QStringList entries;
    /// False when saving this list back would lose something the file holds: reading stopped
    /// before the end at a line that held something, lines holding something came after the
    /// line that stopped it, or a line held more name than an entry keeps.
    bool complete = true;
};

/// No glyph file line comes near this many bytes; a longer one ends the reading, so that
/// memory stays bounded whatever the file holds.
inline constexpr qsizetype LongestGlyphFileLine = 64 * 1024;

/// Reads a glyph file: one entry per line until the end, a line shorter than 17
/// characters, a line that is not code page 932 or a line longer than
/// `LongestGlyphFileLine`. Accepts CR LF, LF and CR line ends, and a DOS end-of-file mark
/// (1A) as the very last byte.
/// Empty when the path is not a regular file or cannot be opened; never blocks on one.
std::optional<GlyphFileContents> ReadGlyphFile(const QString &path);

/// The same reading from bytes already in memory.
GlyphFileContents ReadGlyphLines(QByteArray bytes);

/// Takes a file's entries a batch at a time, in file order.
using EntryBatches = std::function<void(const QStringList &batch)>;

/// Reads as `ReadGlyphLines` does but hands the entries to `take` in batches instead of
/// keeping them; returns whether the file was read whole.
bool StreamGlyphLines(QIODevice &device, const EntryBatches &take);

/// Takes a file's checked lines a batch at a time, in file order; the bytes are valid
/// only during the call. False when it could take only a part: reading stops there.
using LineBatches = std::function<bool(const CheckedFileLines &lines)>;

/// The same reading, handing over each line that holds an entry as the bytes it was read
/// as, without decoding it into an entry; not whole either when the taker stopped it.
bool StreamFileLines(QIODevice &device, const LineBatches &take);

/// Reads as `ReadGlyphFile` does, streaming the lines. `opened` runs once the file is open,
/// before any batch. Empty, with nothing called, when the file cannot be opened.
std::optional<bool> StreamGlyphFile(const QString &path, const std::function<void()> &opened,
                                    const LineBatches &take);

/// Each entry as the bytes of its file line, CR LF included; empty when a name has no
/// code page 932 form.
std::optional<QList<QByteArray>> EncodeGlyphLines(const QStringList &entries);

/// CopyKept: the write failed and a whole copy of the old file stands beside it, or in the
/// user's own data folder, since the file itself could not be put back.
enum class WriteResult { Written, CannotEncode, CannotWrite, CopyKept };

/// Writes each entry as one line ending in CR LF, in code page 932, as `ReplaceFileContents` puts
/// bytes in place: on a failure the old file stays as it was, or its copy does. `fault` is
/// asked per line.
WriteResult WriteGlyphFile(const QString &path, const QStringList &entries,
                           const WriteFault &fault = {});

} // namespace glimra
