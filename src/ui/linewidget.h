// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace glimra {

/// A one-pixel horizontal or vertical line between two points given in twips, both ends
/// drawn.
class LineWidget : public QWidget
{
    Q_OBJECT
public:
    LineWidget(int x1, int y1, int x2, int y2, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace glimra
