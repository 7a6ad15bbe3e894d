// SPDX-License-Identifier: MIT
#pragma once

#include <QListWidget>

namespace glimra {

/// A single-selection list that, once an entry is selected, keeps one selected: Qt's own
/// lets Ctrl+click and Ctrl+Space take the selection away.
class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
};

} // namespace glimra
