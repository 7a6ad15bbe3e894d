// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractItemView>

namespace glimra {

/// The glyph list box: a view of a list model's rows, one text each, in the model's order.
/// Every row has the same height, so the view places and paints only the rows on screen, and no
/// change walks the whole list: a million entries cost what a screenful does.
///
/// Single selection that, once an entry is selected, keeps one selected: Qt's own lets
/// Ctrl+click and Ctrl+Space take the selection away. The first Down arrow selects the
/// first entry, and the focus shows even when no entry is current.
class ListBox : public QAbstractItemView
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    int count() const;
    QString text(int row) const;

    /// Makes `row` the current and only selected entry, as a click on it does.
    void setCurrentRow(int row);
    /// Makes `row` the current and only selected entry, or selects none for -1, as the
    /// program does: without `selectionChanged`.
    void selectRowQuietly(int row);
    /// -1 when nothing is selected.
    int selectedRow() const;
    QRect rowRect(int row) const;
    /// The first row on screen, and how many rows the viewport holds, the last maybe in part.
    int firstVisibleRow() const;
    int visibleRowCount() const;

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

signals:
    /// The selected entry changed by the user's hand.
    void selectionChanged();
    /// Rows came, went or were all replaced.
    void rowsChanged();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QModelIndex indexOf(int row) const;
    /// Tells assistive technology that `row` is now the focused row.
    void announce(int row);
    /// Tells of the current row, or of the list when none is, if that changed while the
    /// rows or the selection were moving.
    void announcePending();
    int rowHeight() const;
    /// The row after the last one on screen, or the count when that is past the last row.
    int endOfScreen() const;
    /// The width of the widest row on screen, which the horizontal scroll bar covers.
    int visibleContentWidth() const;
    /// Sets the horizontal scroll range to the widest row on screen, once the events
    /// queued now have run.
    void updateContentWidth();

    mutable int m_rowHeight = 0; // 0 until measured on the first entry as it now is
    bool m_contentWidthPending = false;
    bool m_modelChanging = false;   // the model, or the program, is changing the rows
    bool m_announcePending = false; // the current row changed meanwhile
};

} // namespace glimra
