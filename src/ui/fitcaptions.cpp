// SPDX-License-Identifier: MIT
#include "ui/fitcaptions.h"

#include <QAbstractButton>
#include <QFontMetricsF>

namespace glimra {

namespace {
// Frame and a clear gap on each side of the caption, in logical pixels.
constexpr qreal SideRoom = 4;
constexpr qreal SmallestPointSize = 6;
} // namespace

void fitCaptions(const QList<QAbstractButton *> &buttons)
{
    if (buttons.isEmpty())
        return;
    QFont font = buttons.first()->font();
    const auto fits = [&buttons](const QFont &candidate) {
        const QFontMetricsF metrics(candidate);
        for (const QAbstractButton *button : buttons) {
            if (metrics.horizontalAdvance(button->text()) > button->width() - 2 * SideRoom)
                return false;
        }
        return true;
    };
    while (!fits(font) && font.pointSizeF() > SmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QAbstractButton *button : buttons)
        button->setFont(font);
}

} // namespace glimra
