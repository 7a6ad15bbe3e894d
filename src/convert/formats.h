// SPDX-License-Identifier: MIT
#pragma once

#include "convert/glyphs.h"

#include <memory>

namespace glimra::convert {

enum class Format { Glm, C, Python, Bdf, Pcf, Png };

/// Whether glimra-convert writes the format, and not only reads it.
bool CanWrite(Format format);

/// The format that a file name's ending gives; empty for an ending of no format.
std::optional<Format> FormatOfFileName(QStringView fileName);
/// The format that a word of the command line names (`c`, `python`, …).
std::optional<Format> FormatNamed(QStringView word);

std::unique_ptr<GlyphReader> MakeReader(Format format, const Options &options);
/// `options.name` names the array or list that a program's source holds.
std::unique_ptr<GlyphWriter> MakeWriter(Format format, const Options &options);

// One reader and one writer a format.
std::unique_ptr<GlyphReader> MakeGlmReader(const Options &options);
std::unique_ptr<GlyphWriter> MakeGlmWriter();
std::unique_ptr<GlyphWriter> MakeCWriter(const Options &options);
std::unique_ptr<GlyphWriter> MakePythonWriter(const Options &options);
std::unique_ptr<GlyphWriter> MakeBdfWriter(const Options &options);
std::unique_ptr<GlyphWriter> MakePngWriter(const Options &options);
std::unique_ptr<GlyphReader> MakePngReader(const Options &options);
/// Bitmap fonts of every kind that FreeType reads.
std::unique_ptr<GlyphReader> MakeFontReader(const Options &options);

} // namespace glimra::convert
