// SPDX-License-Identifier: MIT
#pragma once

#include <QToolButton>

namespace glimra {

/// A flat button showing a small pixel-art picture on light grey. The picture is drawn
/// at a whole number of screen pixels per picture pixel and never smoothed, however
/// little room the frame leaves; the keyboard focus shows as a frame.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    PictureButton(const QPixmap &picture, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

/// The program icon, drawn again at twice its size without smoothing for sharp screens.
QIcon programIcon();

} // namespace glimra
