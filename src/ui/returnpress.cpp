// SPDX-License-Identifier: MIT
#include "ui/returnpress.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace glimra {

namespace {

class ReturnPress : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QAbstractButton *>(watched)->click();
        return true;
    }
};

} // namespace

void pressOnReturn(QAbstractButton *button)
{
    button->installEventFilter(new ReturnPress(button));
}

} // namespace glimra
