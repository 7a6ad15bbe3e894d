// SPDX-License-Identifier: MIT
#include "ui/listbox.h"

#include <algorithm>
#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

namespace glimra {

ListBox::ListBox(QWidget *parent) : QAbstractItemView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::setModel(QAbstractItemModel *model)
{
    if (this->model())
        disconnect(this->model(), nullptr, this, nullptr);
    if (!model) {
        QAbstractItemView::setModel(model);
        return;
    }
    // A change of the model is the program's, not the user's: the selection that it moves
    // or takes away is no Select. Told before the selection hears of it.
    const auto changing = [this] { m_modelChanging = true; };
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, changing);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, changing);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, changing);
    QAbstractItemView::setModel(model);
    m_rowHeight = 0;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_modelChanging)
            emit selectionChanged();
    });
    // After a removal nothing is selected: the list would move on to the next entry.
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
        selectionModel()->clear();
        m_modelChanging = false;
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { m_modelChanging = false; });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { m_modelChanging = false; });
    const auto changed = [this](const QModelIndex &, int first) {
        // Every row is as high as the first: measure again only when the first one changed.
        if (first == 0)
            m_rowHeight = 0;
        updateGeometries();
        viewport()->update();
        emit rowsChanged();
        announcePending();
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::modelReset, this, [changed] { changed({}, 0); });
    updateGeometries();
}

QModelIndex ListBox::indexOf(int row) const
{
    return model() ? model()->index(row, 0) : QModelIndex();
}

int ListBox::count() const
{
    return model() ? model()->rowCount() : 0;
}

QString ListBox::text(int row) const
{
    return row >= 0 && row < count() ? indexOf(row).data().toString() : QString();
}

void ListBox::setCurrentRow(int row)
{
    setCurrentIndex(indexOf(row));
}

void ListBox::selectRowQuietly(int row)
{
    {
        const QScopedValueRollback<bool> quiet(m_modelChanging, true);
        if (row < 0)
            selectionModel()->clear();
        else
            setCurrentRow(row);
    }
    announcePending();
}

int ListBox::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QRect ListBox::rowRect(int row) const
{
    return visualRect(indexOf(row));
}

int ListBox::rowHeight() const
{
    if (m_rowHeight > 0)
        return m_rowHeight;
    // Every entry is one line of text in one font, so the first row's height is every row's.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int height = itemDelegate()->sizeHint(option, indexOf(0)).height();
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

int ListBox::endOfScreen() const
{
    return int(qMin<qint64>(count(), qint64(firstVisibleRow()) + visibleRowCount()));
}

int ListBox::visibleContentWidth() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = 0;
    const int last = endOfScreen();
    for (int row = firstVisibleRow(); row < last; ++row)
        width = qMax(width, itemDelegate()->sizeHint(option, indexOf(row)).width());
    return width;
}

QRect ListBox::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model())
        return {};
    // Rows far from the screen stay far from it, without a pixel count that overflows.
    constexpr qint64 Far = 1 << 24;
    const qint64 top = qint64(index.row() - firstVisibleRow()) * rowHeight();
    return QRect(-horizontalOffset(), int(qBound(-Far, top, Far)),
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
    const qint64 row = firstVisibleRow() + qint64(point.y() / rowHeight());
    return row < count() ? indexOf(int(row)) : QModelIndex();
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    if (count() == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return indexOf(0);
    // A page is what the viewport shows less one row, so that one row stays in sight.
    const int page = qMax(1, viewport()->height() / rowHeight() - 1);
    qint64 row = current.row(); // a page on from the last rows of a full list passes an int
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
    return indexOf(int(std::clamp<qint64>(row, 0, count() - 1)));
}

int ListBox::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ListBox::verticalOffset() const
{
    // Qt adds this to positions in the viewport. The view scrolls by rows, so only a row's
    // place on screen matters; a hundred million rows would overflow the pixel count.
    return int(qMin<qint64>(qint64(firstVisibleRow()) * rowHeight(), 1 << 30));
}

bool ListBox::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void ListBox::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const int first = int(
        qBound(qint64(0), firstVisibleRow() + qint64(area.top() / rowHeight()), qint64(count())));
    const int last =
        int(qMin<qint64>(count() - 1, firstVisibleRow() + qint64(area.bottom() / rowHeight())));
    QItemSelection rows;
    if (first <= last && area.bottom() >= 0)
        rows.select(indexOf(first), indexOf(last));
    selectionModel()->select(rows, command);
}

QRegion ListBox::visualRegionForSelection(const QItemSelection &selection) const
{
    const int first = firstVisibleRow();
    const int last = endOfScreen() - 1;
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
    // A click where no entry is, below the last, leaves the selection as it is.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
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
    // While the rows move, the new current row still has the number it had before them,
    // and its interface is about to be forgotten: told once they have moved.
    if (m_modelChanging)
        m_announcePending = true;
    else if (current.isValid() && hasFocus())
        announce(current.row());
}

void ListBox::announcePending()
{
    if (!std::exchange(m_announcePending, false) || !hasFocus() || !QAccessible::isActive())
        return;
    if (currentIndex().isValid()) {
        announce(currentIndex().row());
        return;
    }
    // No row is current any more: the focus is on the list itself.
    QAccessibleEvent event(this, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void ListBox::announce(int row)
{
    // Through whatever accessible interface the list has: a table's, whose cells are rows.
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface *table = list ? list->tableInterface() : nullptr;
    if (QAccessibleInterface *cell = table ? table->cellAt(row, 0) : nullptr) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    // The base class would move on from a current entry left behind by a removal, skipping
    // the first.
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && count() > 0 &&
        !selectionModel()->hasSelection()) {
        // Row 0 may be current already, unselected, as an Add leaves it: nothing then tells
        // a screen reader that the focus is on it.
        const bool wasCurrent = currentIndex().row() == 0;
        setCurrentRow(0);
        if (wasCurrent)
            announce(0);
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
    const int last = endOfScreen();
    for (int row = firstVisibleRow(); row < last; ++row) {
        const QModelIndex index = indexOf(row);
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
    // The focus is on a row: a screen reader is told which, as when the row changes.
    if (currentIndex().isValid())
        announce(currentIndex().row());
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
