// SPDX-License-Identifier: MIT
#include "ui/listboxaccessible.h"

#include "ui/leafaccessible.h"
#include "ui/listbox.h"

#include <QAccessibleWidget>
#include <QItemSelectionModel>
#include <QPointer>
#include <QScrollBar>
#include <unordered_map>

namespace glimra {

namespace {

class ListAccessible;

/// One entry of the list, as long as the entries before it stay as they are.
class RowAccessible : public LeafAccessible, public QAccessibleTableCellInterface
{
public:
    RowAccessible(ListAccessible *list, int row) : m_list(list), m_row(row) {}

    bool isValid() const override;
    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    ListBox *view() const;

    ListAccessible *m_list;
    int m_row;
};

class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ListAccessible(ListBox *list) : QAccessibleWidget(list, QAccessible::List)
    {
        // A row's interface stays valid until the rows move: a caller may hold many at once,
        // as a selection provider collecting children does, and use them afterwards.
        m_watches = {
            QObject::connect(list, &ListBox::rowsChanged, list, [this] { forgetRows(); }),
            QObject::connect(list->verticalScrollBar(), &QScrollBar::valueChanged, list,
                             [this] { forgetRowsOffScreen(); }),
        };
    }
    ~ListAccessible() override
    {
        for (const QMetaObject::Connection &watch : m_watches)
            QObject::disconnect(watch);
        forgetRows();
    }

    ListBox *view() const { return static_cast<ListBox *>(widget()); }

    /// The children are the rows on screen, then the selected row when it is not.
    int childCount() const override { return onScreenCount() + (selectedOffScreen() >= 0 ? 1 : 0); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return row(index < onScreenCount() ? view()->firstVisibleRow() + index
                                           : selectedOffScreen());
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QAccessibleTableCellInterface *cell =
            child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
        if (!cell || child->parent() != this)
            return -1;
        const int row = cell->rowIndex();
        const int offset = row - view()->firstVisibleRow();
        if (offset >= 0 && offset < onScreenCount())
            return offset;
        return row == selectedOffScreen() ? onScreenCount() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(point);
        return index.isValid() && view()->viewport()->rect().contains(point) ? row(index.row())
                                                                             : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? row(current.row()) : nullptr;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int rowIndex, int column) const override
    {
        return column == 0 && rowIndex >= 0 && rowIndex < view()->count() ? row(rowIndex) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        const int selected = view()->selectedRow();
        return selected < 0 ? QList<QAccessibleInterface *>() : QList{row(selected)};
    }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return view()->selectedRow() < 0 ? 0 : 1; }
    int columnCount() const override { return 1; }
    int rowCount() const override { return view()->count(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        const int selected = view()->selectedRow();
        return selected < 0 ? QList<int>() : QList{selected};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int rowIndex) const override { return rowIndex == view()->selectedRow(); }
    bool selectRow(int rowIndex) override
    {
        if (rowIndex < 0 || rowIndex >= view()->count())
            return false;
        view()->setCurrentRow(rowIndex);
        return true;
    }
    bool selectColumn(int) override { return false; }
    // Once an entry is selected, one stays selected.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    /// The row's interface, made when first asked for and kept until the rows move or the
    /// list scrolls past it.
    QAccessibleInterface *row(int rowIndex) const
    {
        const auto kept = m_rows.find(rowIndex);
        if (kept != m_rows.end())
            return QAccessible::accessibleInterface(kept->second);
        auto *made = new RowAccessible(const_cast<ListAccessible *>(this), rowIndex);
        m_rows.emplace(rowIndex, QAccessible::registerAccessibleInterface(made));
        return made;
    }

private:
    int onScreenCount() const
    {
        return qMax(0,
                    qMin(view()->visibleRowCount(), view()->count() - view()->firstVisibleRow()));
    }

    /// The selected row when it is not on screen, else -1.
    int selectedOffScreen() const
    {
        const int selected = view()->selectedRow();
        const int offset = selected - view()->firstVisibleRow();
        return selected >= 0 && (offset < 0 || offset >= onScreenCount()) ? selected : -1;
    }

    void forgetRows() const
    {
        const auto rows = std::exchange(m_rows, {});
        for (const auto &[rowIndex, id] : rows)
            QAccessible::deleteAccessibleInterface(id);
    }

    /// Keeps the rows on screen and the selected one: however far a screen reader walks,
    /// a scroll brings what is kept back to a screenful.
    void forgetRowsOffScreen() const
    {
        const int first = view()->firstVisibleRow();
        const int selected = view()->selectedRow();
        for (auto kept = m_rows.begin(); kept != m_rows.end();) {
            const int offset = kept->first - first;
            if (kept->first == selected || (offset >= 0 && offset < onScreenCount())) {
                ++kept;
                continue;
            }
            QAccessible::deleteAccessibleInterface(kept->second);
            kept = m_rows.erase(kept);
        }
    }

    mutable std::unordered_map<int, QAccessible::Id> m_rows;
    std::vector<QMetaObject::Connection> m_watches;
};

bool RowAccessible::isValid() const
{
    return m_row < view()->count();
}

QAccessibleInterface *RowAccessible::parent() const
{
    return m_list;
}

ListBox *RowAccessible::view() const
{
    return m_list->view();
}

QString RowAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? view()->text(m_row) : QString();
}

QRect RowAccessible::rect() const
{
    const QRect rect = view()->rowRect(m_row).intersected(view()->viewport()->rect());
    return rect.isEmpty() ? QRect()
                          : QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

QAccessible::State RowAccessible::state() const
{
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = view()->hasFocus() && view()->currentIndex().row() == m_row;
    const int offset = m_row - view()->firstVisibleRow();
    state.invisible = state.offscreen = offset < 0 || offset >= view()->visibleRowCount();
    return state;
}

bool RowAccessible::isSelected() const
{
    return view()->selectedRow() == m_row;
}

QAccessibleInterface *listFactory(const QString &, QObject *object)
{
    auto *list = qobject_cast<ListBox *>(object);
    return list ? new ListAccessible(list) : nullptr;
}

} // namespace

void InstallListBoxAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(listFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace glimra
