// SPDX-License-Identifier: MIT
#include "app/commandline.h"
#include "app/console.h"
#include "app/convertcommandline.h"

#include <memory>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    using glimra::ConvertCommandLine;
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    // Only a sheet's names need fonts, and so a window system.
    std::unique_ptr<QCoreApplication> app;
    if (const ConvertCommandLine early = glimra::parseConvertCommandLine(raw);
        early.action == ConvertCommandLine::Action::Convert &&
        early.conversion.to == glimra::convert::Format::Png) {
        glimra::drawWithoutDisplay();
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Read again for the files' names: on Windows only Qt's arguments hold them whole.
    const ConvertCommandLine line =
        glimra::parseConvertCommandLine(QCoreApplication::arguments().mid(1));
    const auto say = [](const QString &text, glimra::Stream stream, int status) {
        return glimra::writeConsoleText(text, stream) == glimra::Written::Done ? status : 1;
    };
    switch (line.action) {
    case ConvertCommandLine::Action::Help:
        return say(glimra::convertHelpText(), glimra::Stream::Output, 0);
    case ConvertCommandLine::Action::Version:
        return say(glimra::versionText(u"glimra-convert"_qs), glimra::Stream::Output, 0);
    case ConvertCommandLine::Action::Misuse:
        glimra::writeConsoleText(glimra::convertMisuseText(line.error), glimra::Stream::Error);
        return 2;
    case ConvertCommandLine::Action::Convert:
        break;
    }
    const glimra::convert::Outcome outcome = glimra::convert::Convert(line.conversion);
    for (const QString &warning : outcome.warnings)
        glimra::writeConsoleText(u"glimra-convert: warning: "_qs + warning + u'\n',
                                 glimra::Stream::Error);
    if (outcome.written)
        return 0;
    glimra::writeConsoleText(u"glimra-convert: "_qs + outcome.message + u'\n',
                             glimra::Stream::Error);
    return 1;
}
