// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleInterface>

namespace glimra {

/// A part of a control that a screen reader sees on its own but that has no widget and no
/// parts of its own, such as a row of a list or a cell of a grid; its text is read only.
class LeafAccessible : public QAccessibleInterface
{
public:
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
};

} // namespace glimra
