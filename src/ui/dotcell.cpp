// SPDX-License-Identifier: MIT
#include "ui/dotcell.h"

#include <QMouseEvent>
#include <QPainter>

namespace glimra {

DotCell::DotCell(QWidget *parent) : QWidget(parent) {}

void DotCell::setOn(bool on)
{
    if (m_on == on)
        return;
    m_on = on;
    update();
}

void DotCell::paintEvent(QPaintEvent *)
{
    if (m_on)
        QPainter(this).fillRect(rect(), Qt::black);
}

void DotCell::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void DotCell::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

} // namespace glimra
