// SPDX-License-Identifier: MIT
#include "app/commandline.h"
#include "app/console.h"
#include "app/editor.h"
#include "core/deployment.h"
#include "ui/qtplatformservices.h"
#include "ui/quietstyle.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

/// Answers a command line that asks for text rather than a window: the exit status.
int answerWithText(const glimra::CommandLine &line, int &argc, char *argv[])
{
    using glimra::CommandLine;
    const bool misused = line.action == CommandLine::Action::Misuse;
    const QString text = misused                                    ? glimra::misuseText(line.error)
                         : line.action == CommandLine::Action::Help ? glimra::helpText()
                                                                    : glimra::versionText();
    const glimra::Stream stream = misused ? glimra::Stream::Error : glimra::Stream::Output;
    const int status = misused ? 2 : 0;
    switch (glimra::writeConsoleText(text, stream)) {
    case glimra::Written::Done:
        return status;
    case glimra::Written::Failed:
        if (misused)
            return status;
        glimra::writeConsoleText(QStringLiteral("glimra-editor: write error\n"),
                                 glimra::Stream::Error);
        return 1;
    case glimra::Written::NoConsole:
        break;
    }
    // A window program started with no console at all, as from a shortcut.
    QApplication app(argc, argv);
    glimra::QtPlatformServices().message(text.trimmed());
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    using glimra::CommandLine;
    // The command line is answered before any window system is needed.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    if (const CommandLine early = glimra::parseCommandLine(raw);
        early.action != CommandLine::Action::Run)
        return answerWithText(early, argc, argv);

    QApplication app(argc, argv);
    // The window is grouped with the menu entry: WM_CLASS on X11, the app id on Wayland.
    QApplication::setApplicationName(QString::fromUtf16(glimra::deployment::DesktopId));
    QApplication::setDesktopFileName(QString::fromUtf16(glimra::deployment::DesktopId));
    // Every caption of the editor is Japanese; the file dialog and its buttons should be too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    glimra::UseQuietStyle();
    // Read again for the file's name: on Windows only Qt's arguments hold it whole.
    const CommandLine line = glimra::parseCommandLine(app.arguments().mid(1));

    glimra::QtPlatformServices platform;
    glimra::Editor editor(platform);
    platform.setOwner(&editor.mainWindow());
    editor.show();
    if (!line.file.isEmpty())
        editor.openFile(line.file);
    return app.exec();
}
