// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace glimra {

/// One cell of the grid or the preview: a black square when on, see-through when off so
/// the white backdrop shows.
class DotCell : public QWidget
{
    Q_OBJECT
public:
    explicit DotCell(QWidget *parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);
    /// What a screen reader calls the cell; its state is said after it.
    void setSpokenName(const QString &name);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void updateAccessibleName();

    bool m_on = false;
    bool m_pressed = false;
    QString m_spokenName;
};

} // namespace glimra
