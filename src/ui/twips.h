// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <cmath>

namespace glimra {

/// Window designs are measured in twips: 15 to a logical pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;

constexpr int px(int twips) { return twips / TwipsPerPixel; }

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
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
