// SPDX-License-Identifier: MIT
#include "app/commandline.h"
#include "app/console.h"
#include "app/convertcommandline.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    using glimra::ConvertCommandLine;
    QCoreApplication app(argc, argv);
    const ConvertCommandLine line = glimra::parseConvertCommandLine(app.arguments().mid(1));
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
    if (outcome.written)
        return 0;
    glimra::writeConsoleText(u"glimra-convert: "_qs + outcome.message + u'\n',
                             glimra::Stream::Error);
    return 1;
}
