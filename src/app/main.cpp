// SPDX-License-Identifier: MIT
#include "app/editor.h"
#include "ui/qtplatformservices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Every caption of the editor is Japanese; the file dialog and its buttons should be too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    glimra::QtPlatformServices platform;
    glimra::Editor editor(platform);
    platform.setOwner(&editor.mainWindow());
    editor.show();
    return app.exec();
}
