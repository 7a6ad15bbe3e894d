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
    updateAccessibleName();
}

void DotCell::setSpokenName(const QString &name)
{
    m_spokenName = name;
    updateAccessibleName();
}

void DotCell::updateAccessibleName()
{
    if (!m_spokenName.isEmpty())
        setAccessibleName(m_spokenName +
                          (m_on ? QStringLiteral("：オン") : QStringLiteral("：オフ")));
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
