// SPDX-License-Identifier: MIT
// One start of a program, for timing whole processes: "editor" builds the real editor as
// main() does, "bare" a QMainWindow holding one label of Japanese text. Either writes when
// its window has first painted, on the system's monotonic clock, and quits.
#include "app/editor.h"
#include "ui/qtplatformservices.h"
#include "ui/quietstyle.h"

#include <chrono>
#include <cstdio>
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
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Called once the whole window has painted, its children and their text included,
            // which the paint of the widget watched only begins.
            QMetaObject::invokeMethod(qApp, &QuitOnFirstPaint::painted, Qt::QueuedConnection);
        }
        return false;
    }

private:
    /// Tells the moment on the system's monotonic clock, and quits: how long the program
    /// takes to end is no part of its start.
    static void painted()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_painted = false;
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
    glimra::UseQuietStyle();
    glimra::QtPlatformServices platform;
    glimra::Editor editor(platform);
    platform.setOwner(&editor.mainWindow());
    editor.mainWindow().centralWidget()->installEventFilter(&quit);
    editor.show();
    return app.exec();
}
