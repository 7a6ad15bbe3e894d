// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QWidget>

namespace glimra {

/// A one-pixel horizontal or vertical line between two points given in twips, both ends
/// drawn. It only draws: mouse events pass through to whatever lies beneath.
class LineWidget : public QWidget
{
    Q_OBJECT
public:
    LineWidget(int x1, int y1, int x2, int y2, QWidget *parent);

    static inline const QColor LineColor = QColor(0x80, 0x80, 0x80);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace glimra
