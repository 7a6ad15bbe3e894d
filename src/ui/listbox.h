// SPDX-License-Identifier: MIT
#pragma once

#include <QListView>

namespace glimra {

class EntryModel;

/// The glyph list box: one text per entry, in the order given, never sorted. It holds each
/// entry as a single string, which is all a 100,000-entry list can afford.
///
/// Single selection that, once an entry is selected, keeps one selected: Qt's own lets
/// Ctrl+click and Ctrl+Space take the selection away. The first Down arrow selects the
/// first entry, and the focus shows even when no entry is current.
class ListBox : public QListView
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    int count() const;
    QString text(int row) const;
    void append(const QString &text);
    void append(const QStringList &texts);
    void removeAt(int row);
    void clear();

    /// Makes `row` the current and only selected entry, as a click on it does.
    void setCurrentRow(int row);
    /// -1 when nothing is selected.
    int selectedRow() const;
    QRect rowRect(int row) const;

signals:
    /// The selected entry changed, whoever changed it.
    void selectionChanged();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    EntryModel *m_entries;
};

} // namespace glimra
