// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace glimra {

/// The glyph list's entries, in order, as the list's operations change them; the list box
/// shows them. Rows count from 0.
class EntryList
{
public:
    virtual ~EntryList() = default;

    virtual int count() const = 0;
    /// The entry text of `row`, empty for a row that is not there.
    virtual QString entry(int row) const = 0;
    /// Appends at the end; false, with nothing added, when the list is full.
    virtual bool append(const QString &entry) = 0;
    /// Removes `row`; nothing for a row that is not there.
    virtual void removeAt(int row) = 0;
};

} // namespace glimra
