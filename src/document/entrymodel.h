// SPDX-License-Identifier: MIT
#pragma once

#include "files/entrylines.h"
#include "files/fileentries.h"

#include <limits>
#include <memory>
#include <QAbstractListModel>
#include <vector>

namespace glimra {

/// One change of the list, as the history keeps it to undo and redo.
struct ListEdit
{
    enum Kind { Appended, Removed, Replaced };
    Kind kind;
    int row = 0;                       // Appended, Removed: where the entry is or was
    QByteArray entry;                  // Appended, Removed: the entry as the list keeps it
    std::shared_ptr<EntryLines> other; // Replaced: the list that this one took the place of
};

/// The glyph list's entries as a model, one text per row, kept as the lines of a glyph
/// file: what the list box shows and what the operations change. Rows are counted in `int`,
/// as every item view counts them: the list holds at most `MostEntries`, and refuses what
/// would go past that.
class EntryModel : public QAbstractListModel, public FileEntries
{
public:
    static constexpr int MostEntries = std::numeric_limits<int>::max();

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QModelIndexList match(const QModelIndex &start, int role, const QVariant &value, int hits,
                          Qt::MatchFlags flags) const override;

    int count() const override { return m_lines.size(); }
    QString entry(int row) const override;
    bool append(const QString &entry) override;
    void removeAt(int row) override;
    void clear() override;
    bool appendFileLines(const CheckedFileLines &lines) override;
    std::optional<QList<QByteArray>> fileLines(const std::function<void()> &working) const override;

    /// As many of the entries as there is room for; false when some did not fit.
    bool append(const QStringList &entries);

    /// Where changes are written down while set, as the edits that undo them. After the
    /// list was replaced, the rest of the changes go with it and are not written down.
    void setJournal(std::vector<ListEdit> *journal) { m_journal = journal; }
    /// Undoes `edit`, or does it again; either way it is ready to be applied the other way.
    void apply(ListEdit &edit, bool undo);

    /// How many entries the list may hold; less than `MostEntries` only in tests, which
    /// cannot fill two thousand million rows.
    void setCapacity(int capacity) { m_capacity = capacity; }

private:
    /// How many of `wanted` more rows there is room for.
    int room(qsizetype wanted) const;
    /// Runs `append` on the lines as the `added` rows it appends.
    template <typename Append> void appendRows(int added, Append append);
    bool writing() const;
    void insertKept(int row, const QByteArray &kept);
    /// Removes the row without writing it down.
    void removeRow(int row);
    void swap(EntryLines &other);

    EntryLines m_lines;
    int m_capacity = MostEntries;
    std::vector<ListEdit> *m_journal = nullptr;
};

} // namespace glimra
