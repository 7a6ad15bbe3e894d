// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <QPoint>
#include <QRect>
#include <QString>

namespace glimra {

/// Window designs are measured in twips: 15 to a logical pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;

/// The nearest logical pixel: a few designed sizes (260 twips) fall between two.
constexpr int px(int twips)
{
    return (2 * twips + TwipsPerPixel) / (2 * TwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

/// Names a control after its design and puts it in its designed place.
template <class Widget> Widget *placed(Widget *widget, const QString &name, QRect place)
{
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

/// A screen position moved by whole twips, rounded to the nearest pixel.
inline QPoint offsetByTwips(QPoint pixels, int twipsRight, int twipsDown)
{
    const auto shift = [](int pixel, int twips) {
        return int(std::lround((pixel * TwipsPerPixel + twips) / double(TwipsPerPixel)));
    };
    return {shift(pixels.x(), twipsRight), shift(pixels.y(), twipsDown)};
}

} // namespace glimra
