// SPDX-License-Identifier: MIT
#include "app/editor.h"
#include "ui/qtplatformservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    glimra::QtPlatformServices platform;
    glimra::Editor editor(platform);
    platform.setOwner(&editor.mainWindow());
    editor.show();
    return app.exec();
}
