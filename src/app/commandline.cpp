// SPDX-License-Identifier: MIT
#include "app/commandline.h"

#include "core/deployment.h"

#include <QFileInfo>

namespace glimra {

namespace {

const auto UsageLine = QStringLiteral("Usage: glimra-editor [OPTION]... [FILE]\n");

/// The options that QGuiApplication, QApplication and the X11 platform take out of the
/// arguments (Qt 6.4). Qt takes each with one dash or two.
enum class QtOption { None, Flag, WithValue };
QtOption qtOption(QString argument)
{
    if (argument.startsWith(u"--"))
        argument.remove(0, 1);
    static const QStringList withValue =
        u"-platform -platformpluginpath -platformtheme -plugin -qwindowgeometry -qwindowtitle "
        "-qwindowicon -geometry -title -icon -session -style -stylesheet -display -name -visual"_qs
            .split(u' ');
    static const QStringList flags =
        u"-reverse -testability -widgetcount -qdevel -qdebug -nograb -dograb"_qs.split(u' ');
    if (withValue.contains(argument))
        return QtOption::WithValue;
    if (flags.contains(argument) || argument.startsWith(u"-style=") ||
        argument.startsWith(u"-stylesheet=") || argument.startsWith(u"-qmljsdebugger="))
        return QtOption::Flag;
    return QtOption::None;
}

CommandLine misuse(const QString &error)
{
    CommandLine line;
    line.action = CommandLine::Action::Misuse;
    line.error = error;
    return line;
}

} // namespace

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
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            files.append(argument);
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (const QtOption option = qtOption(argument); option == QtOption::None) {
            return misuse(argument.startsWith(u"--")
                              ? u"unrecognized option '%1'"_qs.arg(argument)
                              : u"invalid option -- '%1'"_qs.arg(argument.mid(1)));
        } else if (option == QtOption::WithValue && ++i == arguments.size()) {
            return misuse(u"option '%1' requires an argument"_qs.arg(argument));
        }
    }
    if (files.size() > 1)
        return misuse(u"extra operand '%1'"_qs.arg(files.at(1)));
    if (!files.isEmpty())
        line.file = QFileInfo(files.constFirst()).absoluteFilePath();
    return line;
}

QString helpText()
{
    return UsageLine + uR"(Draw 5x7 dot glyphs for a pocket computer and keep them in glyph lists.
With FILE, open that glyph list (.glm) at start, as the toolbar Open does.

  -h, --help     display this help and exit
      --version  output version information and exit
      --         take the next argument as the FILE, even if it starts with '-'

Qt's own options, such as '-platform NAME' and '-style NAME', are accepted too.

Exit status: 0 when the editor was closed or the text was written, 1 when the
text could not be written, 2 when the command line was wrong.

Report bugs to: <%1>
Home page: <%2>
)"_qs.arg(QString::fromUtf16(deployment::AuthorMail), QString::fromUtf16(deployment::HomePage));
}

QString versionText(const QString &program)
{
    return uR"(%1 (%2) )"_qs.arg(program, QString::fromUtf16(deployment::ApplicationTitle)) +
           QStringLiteral(GLIMRA_VERSION) + uR"(
Copyright (C) 2026 %1
License MIT: <https://opensource.org/licenses/MIT>
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)"_qs.arg(QString::fromUtf16(deployment::Author));
}

QString misuseText(const QString &error)
{
    return u"glimra-editor: "_qs + error + u'\n' + UsageLine +
           u"Try 'glimra-editor --help' for more information.\n"_qs;
}

} // namespace glimra
