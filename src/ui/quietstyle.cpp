// SPDX-License-Identifier: MIT
#include "ui/quietstyle.h"

#include <QApplication>
#include <QIcon>
#include <QProxyStyle>

namespace glimra {

namespace {

class QuietStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton ||
            icon == SP_ToolBarVerticalExtensionButton)
            return {};
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

} // namespace

void UseQuietStyle()
{
    // The style chosen by the user's -style or QT_STYLE_OVERRIDE stays underneath.
    QApplication::setStyle(new QuietStyle(QApplication::style()->name()));
}

} // namespace glimra
