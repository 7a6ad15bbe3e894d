// SPDX-License-Identifier: MIT
#pragma once

#include "core/entrylist.h"
#include "files/checkedfilelines.h"

#include <functional>
#include <optional>
#include <QByteArray>
#include <QList>

namespace glimra {

/// The glyph list as the file commands read it in and write it out.
class FileEntries : public EntryList
{
public:
    /// Empties the list.
    virtual void clear() = 0;
    /// The entries of lines read from a glyph file, as many as fit; false when some did not.
    virtual bool appendFileLines(const CheckedFileLines &lines) = 0;
    /// Every entry as its glyph file line with CR LF, in pieces of many lines; empty when a
    /// name has no code page 932 form. `working` is called between pieces.
    virtual std::optional<QList<QByteArray>>
    fileLines(const std::function<void()> &working) const = 0;
};

} // namespace glimra
