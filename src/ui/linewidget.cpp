// SPDX-License-Identifier: MIT
#include "ui/linewidget.h"

#include "ui/twips.h"

#include <QPainter>

namespace glimra {

LineWidget::LineWidget(int x1, int y1, int x2, int y2, QWidget *parent) : QWidget(parent)
{
    setGeometry(px(x1), px(y1), px(x2 - x1) + 1, px(y2 - y1) + 1);
    // Drawn above the dot cells, but a click on a line belongs to the cell beneath it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent *)
{
    // Mid grey shows on white and on black, so the grid stays visible between filled cells.
    QPainter(this).fillRect(rect(), LineColor);
}

} // namespace glimra
