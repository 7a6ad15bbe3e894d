// SPDX-License-Identifier: MIT
#pragma once

#include "list/listentry.h"

#include <optional>

namespace glimra {

/// `a,b,c,d,e,"name"` without a line end; nothing escaped or checked.
QString FormatFileLine(const GlyphEntry &entry);

/// The list entry a file line gives: codes from fixed positions, never looking at the
/// separators; the name is the text from position 17 (at most 30 characters) less its last
/// character. Empty for a line shorter than 17 characters, which ends the reading of a file.
std::optional<QString> ListEntryOfFileLine(QStringView line);

/// The file line of a list entry in code page 932, without a line end; empty when the name
/// has no code page 932 form.
std::optional<QByteArray> EncodeFileLine(const QString &entry);

/// Whether `text` survives the trip to a glyph file as (part of) a name: no control
/// character, which would break the line, and all of it in code page 932.
bool NameHolds(QStringView text);

/// False for a line shorter than 17 characters, which gives no entry.
bool FileLineHoldsEntry(qsizetype characters);

/// True when the line runs past position 46, the last one the reader takes: reading it
/// loses characters, so the entry cannot be written back as it stood.
bool FileLineRunsPastName(qsizetype characters);

/// True when writing back the entry that the line's bytes give makes the same text again:
/// the codes are one-byte characters, the separators are where they are written, and
/// nothing runs past the name. `characters` is how many the bytes hold.
bool FileLineIsAsWritten(QByteArrayView bytes, qsizetype characters);

} // namespace glimra
