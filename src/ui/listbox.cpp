// SPDX-License-Identifier: MIT
#include "ui/listbox.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <vector>

namespace glimra {

/// The entry texts and nothing else: all of them end to end in one buffer, with where
/// each ends. An item object, or even a string, per entry costs several times the text.
class EntryModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_ends.size());
    }

    // The view asks for every row's index on each layout; the base class's checks go
    // through three virtual calls each time.
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override
    {
        return !parent.isValid() && column == 0 && row >= 0 && row < int(m_ends.size())
                   ? createIndex(row, 0)
                   : QModelIndex();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        return text(index.row());
    }

    QString text(int row) const
    {
        const qsizetype start = row == 0 ? 0 : m_ends[row - 1];
        return m_chars.mid(start, m_ends[row] - start);
    }

    void append(const QStringList &texts)
    {
        if (texts.isEmpty())
            return;
        beginInsertRows({}, rowCount(), rowCount() + int(texts.size()) - 1);
        qsizetype size = m_chars.size();
        for (const QString &text : texts)
            size += text.size();
        // Grown by half again at a time: appends come in many small batches, and reserving
        // just enough for each would copy the whole buffer every time.
        if (size > m_chars.capacity())
            m_chars.reserve(qMax(size, m_chars.capacity() + m_chars.capacity() / 2));
        for (const QString &text : texts) {
            m_chars += text;
            m_ends.push_back(m_chars.size());
        }
        endInsertRows();
    }

    void removeAt(int row)
    {
        beginRemoveRows({}, row, row);
        const qsizetype start = row == 0 ? 0 : m_ends[row - 1];
        const qsizetype length = m_ends[row] - start;
        m_chars.remove(start, length);
        m_ends.erase(m_ends.begin() + row);
        for (auto end = m_ends.begin() + row; end != m_ends.end(); ++end)
            *end -= length;
        endRemoveRows();
    }

    void clear()
    {
        beginResetModel();
        m_chars = QString();
        m_ends = {};
        endResetModel();
    }

private:
    QString m_chars;
    std::vector<qsizetype> m_ends;
};

ListBox::ListBox(QWidget *parent) : QListView(parent), m_entries(new EntryModel(this))
{
    setModel(m_entries);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is one line of text: without uniform sizes each change measures every row.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListBox::selectionChanged);
}

int ListBox::count() const
{
    return m_entries->rowCount();
}

QString ListBox::text(int row) const
{
    return row >= 0 && row < count() ? m_entries->text(row) : QString();
}

void ListBox::append(const QString &text)
{
    m_entries->append(QStringList{text});
}

void ListBox::append(const QStringList &texts)
{
    m_entries->append(texts);
}

void ListBox::removeAt(int row)
{
    if (row >= 0 && row < count())
        m_entries->removeAt(row);
}

void ListBox::clear()
{
    m_entries->clear();
}

void ListBox::setCurrentRow(int row)
{
    setCurrentIndex(m_entries->index(row));
}

int ListBox::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QRect ListBox::rowRect(int row) const
{
    return visualRect(m_entries->index(row));
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const
{
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    // Qt would move on from a current entry left behind by a removal, skipping the first.
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && count() > 0 &&
        !selectionModel()->hasSelection()) {
        setCurrentRow(0);
        return;
    }
    QListView::keyPressEvent(event);
}

void ListBox::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    // The style marks the focus on the current entry only; with none, mark the list.
    if (hasFocus() && !currentIndex().isValid()) {
        QPainter painter(viewport());
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = viewport()->rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    viewport()->update();
}

} // namespace glimra
