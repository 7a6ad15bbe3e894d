// SPDX-License-Identifier: MIT
#include "ui/linewidget.h"

#include "ui/twips.h"

#include <QPainter>

namespace glimra {

LineWidget::LineWidget(int x1, int y1, int x2, int y2, QWidget *parent) : QWidget(parent)
{
    setGeometry(px(x1), px(y1), px(x2 - x1) + 1, px(y2 - y1) + 1);
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), palette().color(QPalette::WindowText));
}

} // namespace glimra
