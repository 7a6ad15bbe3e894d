// SPDX-License-Identifier: MIT
// One start of a program, for timing whole processes: "editor" builds the real editor as
// main() does, "bare" a QMainWindow holding one label of Japanese text. Either quits at the
// first paint of its window.
#include "app/editor.h"
#include "ui/qtplatformservices.h"

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>

namespace {

class QuitOnFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuitOnFirstPaint quit;
    if (argc > 1 && qstrcmp(argv[1], "bare") == 0) {
        QMainWindow window;
        window.setCentralWidget(new QLabel(QStringLiteral("Glimra絵エディッタ")));
        window.centralWidget()->installEventFilter(&quit);
        window.show();
        return app.exec();
    }
    QTranslator qtTexts; // as main() does
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    glimra::QtPlatformServices platform;
    glimra::Editor editor(platform);
    platform.setOwner(&editor.mainWindow());
    editor.mainWindow().centralWidget()->installEventFilter(&quit);
    editor.show();
    return app.exec();
}
