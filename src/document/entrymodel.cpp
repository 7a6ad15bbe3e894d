// SPDX-License-Identifier: MIT
#include "document/entrymodel.h"

namespace glimra {

int EntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_lines.size();
}

QVariant EntryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return m_lines.text(index.row());
}

// Typing in the list asks for the next entry that starts with the keys; asking each entry
// for its text would decode every one of them.
QModelIndexList EntryModel::match(const QModelIndex &start, int role, const QVariant &value,
                                  int hits, Qt::MatchFlags flags) const
{
    if (role != Qt::DisplayRole || hits != 1 || flags != (Qt::MatchStartsWith | Qt::MatchWrap) ||
        !start.isValid())
        return QAbstractListModel::match(start, role, value, hits, flags);
    const int row = m_lines.findStartingWith(value.toString(), start.row());
    return row < 0 ? QModelIndexList() : QModelIndexList{index(row)};
}

QString EntryModel::entry(int row) const
{
    return row >= 0 && row < m_lines.size() ? m_lines.text(row) : QString();
}

int EntryModel::room(qsizetype wanted) const
{
    return int(qMin<qsizetype>(wanted, qMax(0, m_capacity - m_lines.size())));
}

template <typename Append> void EntryModel::appendRows(int added, Append append)
{
    if (added <= 0)
        return;
    const int first = m_lines.size();
    beginInsertRows({}, first, first + added - 1);
    append(m_lines);
    endInsertRows();
    if (writing()) {
        for (int row = first; row < first + added; ++row)
            m_journal->push_back({ListEdit::Appended, row, m_lines.kept(row), {}});
    }
}

bool EntryModel::writing() const
{
    // Once the list was replaced, undoing that brings back the whole list before it.
    return m_journal && (m_journal->empty() || m_journal->back().kind != ListEdit::Replaced);
}

bool EntryModel::append(const QString &entry)
{
    if (room(1) < 1)
        return false;
    appendRows(1, [&](EntryLines &lines) { lines.append(entry); });
    return true;
}

bool EntryModel::append(const QStringList &entries)
{
    const int taken = room(entries.size());
    appendRows(taken, [&](EntryLines &lines) {
        for (int i = 0; i < taken; ++i)
            lines.append(entries[i]);
    });
    return taken == entries.size();
}

bool EntryModel::appendFileLines(const CheckedFileLines &lines)
{
    const int taken = room(qsizetype(lines.ends.size()));
    if (std::size_t(taken) == lines.ends.size()) {
        appendRows(taken, [&](EntryLines &kept) { kept.appendFileLines(lines); });
        return true;
    }
    CheckedFileLines fitting{lines.bytes,
                             {lines.ends.begin(), lines.ends.begin() + taken},
                             {lines.asWritten.begin(), lines.asWritten.begin() + taken}};
    appendRows(taken, [&](EntryLines &kept) { kept.appendFileLines(fitting); });
    return false;
}

void EntryModel::removeAt(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    if (writing())
        m_journal->push_back({ListEdit::Removed, row, m_lines.kept(row), {}});
    removeRow(row);
}

void EntryModel::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    m_lines.remove(row);
    endRemoveRows();
}

void EntryModel::clear()
{
    // The list goes whole to whoever may want it back: nothing is copied. Even an empty
    // one is a list replaced, so that what is read into it is undone at one stroke.
    auto before = std::make_shared<EntryLines>();
    if (m_lines.size() > 0)
        swap(*before);
    if (writing())
        m_journal->push_back({ListEdit::Replaced, 0, {}, std::move(before)});
}

void EntryModel::swap(EntryLines &other)
{
    beginResetModel();
    std::swap(m_lines, other);
    endResetModel();
}

void EntryModel::insertKept(int row, const QByteArray &kept)
{
    beginInsertRows({}, row, row);
    m_lines.insertKept(row, kept);
    endInsertRows();
}

void EntryModel::apply(ListEdit &edit, bool undo)
{
    const bool adds = (edit.kind == ListEdit::Appended) != undo;
    switch (edit.kind) {
    case ListEdit::Appended:
    case ListEdit::Removed:
        if (adds) {
            insertKept(edit.row, edit.entry);
        } else {
            removeRow(edit.row);
        }
        break;
    case ListEdit::Replaced:
        swap(*edit.other);
        break;
    }
}

std::optional<QList<QByteArray>> EntryModel::fileLines(const std::function<void()> &working) const
{
    return m_lines.fileLines(working);
}

} // namespace glimra
