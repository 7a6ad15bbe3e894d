// SPDX-License-Identifier: MIT
#pragma once

#include <QListWidget>

namespace glimra {

/// A single-selection list that, once an entry is selected, keeps one selected: Qt's own
/// lets Ctrl+click and Ctrl+Space take the selection away. The first Down arrow selects
/// the first entry, and the focus shows even when no entry is current.
class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace glimra
