// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <vector>

namespace glimra {

/// Glyph file lines that a reader has checked, each holding an entry, as they were read:
/// line i runs from one byte past the end of line i - 1 (the first from 0) to `ends[i]`.
struct CheckedFileLines
{
    QByteArrayView bytes;
    std::vector<qsizetype> ends;
    std::vector<bool> asWritten; // saving the line's entry writes this same line
};

} // namespace glimra
