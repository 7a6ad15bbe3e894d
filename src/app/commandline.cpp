// SPDX-License-Identifier: MIT
#include "app/commandline.h"

#include <QFileInfo>

namespace glimra {

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    if (arguments.contains(u"--help") || arguments.contains(u"-h")) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (arguments.contains(u"--version")) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    QStringList files;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded && argument == u"--")
            optionsEnded = true;
        else if (!optionsEnded && argument.startsWith(u'-') && argument.size() > 1)
            line.misused = true;
        else
            files.append(argument);
    }
    line.misused = line.misused || files.size() > 1;
    if (!line.misused && !files.isEmpty())
        line.file = QFileInfo(files.constFirst()).absoluteFilePath();
    return line;
}

QString usage()
{
    return QStringLiteral("Usage: glimra-editor [--help] [--version] [FILE.glm]\n");
}

QString versionText()
{
    return QStringLiteral("glimra-editor " GLIMRA_VERSION "\n");
}

} // namespace glimra
