// SPDX-License-Identifier: MIT
#pragma once

#include "files/entrylines.h"

#include <limits>
#include <QAbstractListModel>

namespace glimra {

/// The glyph list's entries as a model, one text per row, kept as the lines of a glyph
/// file. Rows are counted in `int`, as every item view counts them: the list holds at most
/// `MostEntries`, and refuses what would go past that.
class EntryModel : public QAbstractListModel
{
public:
    static constexpr int MostEntries = std::numeric_limits<int>::max();

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QModelIndexList match(const QModelIndex &start, int role, const QVariant &value, int hits,
                          Qt::MatchFlags flags) const override;

    /// The entry text of `row`, empty for a row that is not there.
    QString text(int row) const;
    /// False, with nothing added, when the list is full.
    bool append(const QString &entry);
    /// As many of the entries as there is room for; false when some did not fit.
    bool append(const QStringList &entries);
    /// The entries of lines read from a glyph file, as many as there is room for; false when
    /// some did not fit.
    bool appendFileLines(const CheckedFileLines &lines);
    void removeAt(int row);
    void clear();
    /// Every entry's glyph file line, as `EntryLines::fileLines` gives them.
    std::optional<QList<QByteArray>> fileLines(const std::function<void()> &working) const;

    /// How many entries the list may hold; less than `MostEntries` only in tests, which
    /// cannot fill two thousand million rows.
    void setCapacity(int capacity) { m_capacity = capacity; }

private:
    /// How many of `wanted` more rows there is room for.
    int room(qsizetype wanted) const;
    /// Runs `append` on the lines as the `added` rows it appends.
    template <typename Append> void appendRows(int added, Append append);

    EntryLines m_lines;
    int m_capacity = MostEntries;
};

} // namespace glimra
