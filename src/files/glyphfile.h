// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <QStringList>

namespace glimra {

/// The list entries read from a glyph file, up to where reading stopped.
struct GlyphFileContents
{
    QStringList entries;
    /// False when reading stopped before the end at a line that held something, or with
    /// lines holding something after it: saving this list back would lose those glyphs.
    bool complete = true;
};

/// Reads a glyph file: one entry per line until the end, a line shorter than 17
/// characters or a line that is not code page 932. Accepts CR LF, LF and CR line ends.
/// Empty when the file cannot be opened at all.
std::optional<GlyphFileContents> ReadGlyphFile(const QString &path);

/// Splits bytes into lines at CR LF, LF or CR; a last line without a line end counts.
QList<QByteArray> splitGlyphFileLines(const QByteArray &bytes);

enum class WriteResult { Written, CannotEncode, CannotWrite };

/// Asked before each line is written; false makes the write fail there, as a full disk
/// would. Tests use it; the editor passes none.
using WriteFault = std::function<bool(int line)>;

/// Writes each entry as one line ending in CR LF, in code page 932. The file is replaced
/// only once every line is written: on any failure the old file stays as it was.
WriteResult WriteGlyphFile(const QString &path, const QStringList &entries,
                           const WriteFault &fault = {});

} // namespace glimra
