// SPDX-License-Identifier: MIT
#include "ui/picturebutton.h"

#include "ui/pictures.h"
#include "ui/returnpress.h"

#include <cmath>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace glimra {

PictureButton::PictureButton(const QPixmap &picture, QWidget *parent)
    : QToolButton(parent), m_picture(picture)
{
    setIcon(QIcon(m_picture));
    setIconSize(m_picture.size());
    setAutoRaise(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Button, QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(palette);
    pressOnReturn(this);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = QIcon(); // the style would scale it to fit, smoothing it
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const qreal ratio = devicePixelRatioF();
    const int factor = qMax(1, int(ratio));
    QPixmap picture =
        m_picture.scaled(m_picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    picture.setDevicePixelRatio(ratio);
    // Centred, and on a screen pixel so that no picture pixel is split.
    const auto snap = [ratio](qreal room, int size) {
        return std::round((room * ratio - size) / 2) / ratio;
    };
    painter.drawPixmap(QPointF(snap(width(), picture.width()), snap(height(), picture.height())),
                       picture);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

QIcon programIcon()
{
    const QPixmap picture = glimra::picture(Picture::Program);
    QIcon icon(picture);
    icon.addPixmap(
        picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return icon;
}

} // namespace glimra
