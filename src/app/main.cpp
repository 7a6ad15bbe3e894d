// SPDX-License-Identifier: MIT
#include "app/commandline.h"
#include "app/console.h"
#include "app/editor.h"
#include "ui/qtplatformservices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    using glimra::CommandLine;
    // --help and --version answer before any window system is needed.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine early = glimra::parseCommandLine(raw);
    if (early.action != CommandLine::Action::Run) {
        const QString text =
            early.action == CommandLine::Action::Help ? glimra::usage() : glimra::versionText();
        switch (glimra::writeConsoleText(text, glimra::Stream::Output)) {
        case glimra::Written::Done:
            return 0;
        case glimra::Written::Failed:
            glimra::writeConsoleText(QStringLiteral("glimra-editor: write error\n"),
                                     glimra::Stream::Error);
            return 1;
        case glimra::Written::NoConsole:
            break;
        }
        // A window program started with no console at all, as from a shortcut.
        QApplication app(argc, argv);
        glimra::QtPlatformServices().message(text.trimmed());
        return 0;
    }

    QApplication app(argc, argv);
    // Every caption of the editor is Japanese; the file dialog and its buttons should be too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    // Qt has taken its own options out by now.
    const CommandLine line = glimra::parseCommandLine(app.arguments().mid(1));
    if (line.misused)
        glimra::writeConsoleText(glimra::usage(), glimra::Stream::Error);

    glimra::QtPlatformServices platform;
    glimra::Editor editor(platform);
    platform.setOwner(&editor.mainWindow());
    editor.show();
    if (!line.file.isEmpty())
        editor.fileCommands().openNamed(line.file);
    return app.exec();
}
