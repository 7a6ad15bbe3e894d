// SPDX-License-Identifier: MIT
#include "ui/listbox.h"

#include "files/entrylines.h"
#include "ui/listboxaccessible.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

namespace glimra {

/// The entries, as the view and anyone else who asks the model see them.
class EntryModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_lines.size();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        return m_lines.text(index.row());
    }

    // Typing in the list asks for the next entry that starts with the keys; asking each
    // entry for its text would decode every one of them.
    QModelIndexList match(const QModelIndex &start, int role, const QVariant &value, int hits,
                          Qt::MatchFlags flags) const override
    {
        if (role != Qt::DisplayRole || hits != 1 ||
            flags != (Qt::MatchStartsWith | Qt::MatchWrap) || !start.isValid())
            return QAbstractListModel::match(start, role, value, hits, flags);
        const int row = m_lines.findStartingWith(value.toString(), start.row());
        return row < 0 ? QModelIndexList() : QModelIndexList{index(row)};
    }

    const EntryLines &lines() const { return m_lines; }

    /// Runs `append` on the lines as the rows it adds.
    template <typename Append> void appendRows(int added, Append append)
    {
        if (added <= 0)
            return;
        beginInsertRows({}, rowCount(), rowCount() + added - 1);
        append(m_lines);
        endInsertRows();
    }

    void removeAt(int row)
    {
        beginRemoveRows({}, row, row);
        m_lines.remove(row);
        endRemoveRows();
    }

    void clear()
    {
        beginResetModel();
        m_lines.clear();
        endResetModel();
    }

private:
    EntryLines m_lines;
};

ListBox::ListBox(QWidget *parent) : QAbstractItemView(parent), m_entries(new EntryModel(this))
{
    InstallListBoxAccessibility();
    setModel(m_entries);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListBox::selectionChanged);
    const auto changed = [this](const QModelIndex &, int first) {
        // Every row is as high as the first: measure again only when the first one changed.
        if (first == 0)
            m_rowHeight = 0;
        updateGeometries();
        viewport()->update();
    };
    connect(m_entries, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_entries, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(m_entries, &QAbstractItemModel::modelReset, this, [changed] { changed({}, 0); });
}

int ListBox::count() const
{
    return m_entries->rowCount();
}

QString ListBox::text(int row) const
{
    return row >= 0 && row < count() ? m_entries->lines().text(row) : QString();
}

void ListBox::append(const QString &text)
{
    m_entries->appendRows(1, [&](EntryLines &lines) { lines.append(text); });
}

void ListBox::append(const QStringList &texts)
{
    m_entries->appendRows(int(texts.size()), [&](EntryLines &lines) {
        for (const QString &text : texts)
            lines.append(text);
    });
}

void ListBox::append(const CheckedFileLines &fileLines)
{
    m_entries->appendRows(int(fileLines.ends.size()),
                          [&](EntryLines &lines) { lines.appendFileLines(fileLines); });
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

std::optional<QList<QByteArray>> ListBox::fileLines(const std::function<void()> &working) const
{
    return m_entries->lines().fileLines(working);
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

int ListBox::rowHeight() const
{
    if (m_rowHeight > 0)
        return m_rowHeight;
    // Every entry is one line of text in one font, so the first row's height is every row's.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int height = itemDelegate()->sizeHint(option, m_entries->index(0)).height();
    if (count() == 0)
        return qMax(1, height);
    m_rowHeight = qMax(1, height);
    return m_rowHeight;
}

int ListBox::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int ListBox::visibleRowCount() const
{
    return (viewport()->height() + rowHeight() - 1) / rowHeight();
}

int ListBox::visibleContentWidth() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = 0;
    const int last = qMin(count(), firstVisibleRow() + visibleRowCount());
    for (int row = firstVisibleRow(); row < last; ++row)
        width = qMax(width, itemDelegate()->sizeHint(option, m_entries->index(row)).width());
    return width;
}

QRect ListBox::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != m_entries)
        return {};
    return QRect(-horizontalOffset(), (index.row() - firstVisibleRow()) * rowHeight(),
                 qMax(viewport()->width(), horizontalScrollBar()->maximum() + viewport()->width()),
                 rowHeight());
}

void ListBox::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    // Rows wholly on screen; at least one, however small the list.
    const int whole = qMax(1, viewport()->height() / rowHeight());
    const int row = index.row();
    int top = firstVisibleRow();
    switch (hint) {
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - whole + 1;
        break;
    case PositionAtCenter:
        top = row - whole / 2;
        break;
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + whole)
            top = row - whole + 1;
        break;
    }
    verticalScrollBar()->setValue(top);
}

QModelIndex ListBox::indexAt(const QPoint &point) const
{
    if (point.y() < 0)
        return {};
    return m_entries->index(firstVisibleRow() + point.y() / rowHeight());
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    if (count() == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return m_entries->index(0);
    // A page is what the viewport shows less one row, so that one row stays in sight.
    const int page = qMax(1, viewport()->height() / rowHeight() - 1);
    int row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= page;
        break;
    case MovePageDown:
        row += page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count() - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return m_entries->index(qBound(0, row, count() - 1));
}

int ListBox::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ListBox::verticalOffset() const
{
    return firstVisibleRow() * rowHeight();
}

bool ListBox::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void ListBox::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const int first = qMax(0, firstVisibleRow() + area.top() / rowHeight());
    const int last = qMin(count() - 1, firstVisibleRow() + area.bottom() / rowHeight());
    QItemSelection rows;
    if (first <= last && area.bottom() >= 0)
        rows.select(m_entries->index(first), m_entries->index(last));
    selectionModel()->select(rows, command);
}

QRegion ListBox::visualRegionForSelection(const QItemSelection &selection) const
{
    const int first = firstVisibleRow();
    const int last = first + visibleRowCount() - 1;
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        const int top = qMax(range.top(), first);
        const int bottom = qMin(range.bottom(), last);
        if (top <= bottom)
            region += rowRect(top).united(rowRect(bottom));
    }
    return region;
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const
{
    const QItemSelectionModel::SelectionFlags command =
        QAbstractItemView::selectionCommand(index, event);
    if (command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::updateGeometries()
{
    const int whole = qMax(1, viewport()->height() / rowHeight());
    verticalScrollBar()->setRange(0, qMax(0, count() - whole));
    verticalScrollBar()->setPageStep(whole);
    verticalScrollBar()->setSingleStep(1);
    updateContentWidth();
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(qMax(1, fontMetrics().averageCharWidth()));
    QAbstractItemView::updateGeometries();
}

void ListBox::updateContentWidth()
{
    // Measuring rows costs more than the rest of a change: a file arriving in a thousand
    // batches is measured once, after the last.
    if (m_contentWidthPending)
        return;
    m_contentWidthPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_contentWidthPending = false;
            horizontalScrollBar()->setRange(0,
                                            qMax(0, visibleContentWidth() - viewport()->width()));
        },
        Qt::QueuedConnection);
}

void ListBox::scrollContentsBy(int, int)
{
    // Scrolled by whole rows: repainting the few on screen costs less than moving pixels.
    viewport()->update();
}

void ListBox::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && hasFocus())
        AnnounceListBoxRow(this, current.row());
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    // The base class would move on from a current entry left behind by a removal, skipping
    // the first.
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && count() > 0 &&
        !selectionModel()->hasSelection()) {
        setCurrentRow(0);
        return;
    }
    QAbstractItemView::keyPressEvent(event);
}

void ListBox::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focus = hasFocus() || viewport()->hasFocus();
    const QModelIndex hover = viewport()->underMouse()
                                  ? indexAt(viewport()->mapFromGlobal(QCursor::pos()))
                                  : QModelIndex();
    const int last = qMin(count(), firstVisibleRow() + visibleRowCount());
    for (int row = firstVisibleRow(); row < last; ++row) {
        const QModelIndex index = m_entries->index(row);
        option.rect = visualRect(index);
        option.state = state;
        option.state.setFlag(QStyle::State_Selected, selectionModel()->isSelected(index));
        option.state.setFlag(QStyle::State_HasFocus, focus && index == current);
        option.state.setFlag(QStyle::State_MouseOver, index == hover);
        itemDelegate()->paint(&painter, option, index);
    }
    // The style marks the focus on the current entry only; with none, mark the list.
    if (focus && !current.isValid()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = viewport()->rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    QAbstractItemView::focusInEvent(event);
    viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent *event)
{
    QAbstractItemView::focusOutEvent(event);
    viewport()->update();
}

void ListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_rowHeight = 0;
    QAbstractItemView::changeEvent(event);
}

} // namespace glimra
