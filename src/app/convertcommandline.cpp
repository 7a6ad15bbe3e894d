// SPDX-License-Identifier: MIT
#include "app/convertcommandline.h"

#include "convert/naming.h"
#include "core/deployment.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace glimra {

namespace {

const auto UsageLine = QStringLiteral("Usage: glimra-convert [OPTION]... INPUT OUTPUT\n");
const QString Standard = u"-"_qs;

ConvertCommandLine misuse(const QString &error)
{
    ConvertCommandLine line;
    line.action = ConvertCommandLine::Action::Misuse;
    line.error = error;
    return line;
}

bool isIdentifier(const QString &text)
{
    const QRegularExpression identifier(u"^[A-Za-z_][A-Za-z0-9_]*$"_qs);
    return identifier.match(text).hasMatch();
}

} // namespace

ConvertCommandLine parseConvertCommandLine(const QStringList &arguments)
{
    ConvertCommandLine line;
    if (arguments.contains(u"--help") || arguments.contains(u"-h")) {
        line.action = ConvertCommandLine::Action::Help;
        return line;
    }
    if (arguments.contains(u"--version")) {
        line.action = ConvertCommandLine::Action::Version;
        return line;
    }
    convert::Options &options = line.conversion.options;
    std::optional<convert::Format> from, to;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || argument == Standard || !argument.startsWith(u'-')) {
            files.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--crop") {
            options.crop = true;
            continue;
        }
        const QString option = argument.section(u'=', 0, 0);
        constexpr QStringView WithValue =
            u" --from --to --layout --name --array --columns --cell --dot ";
        if (!WithValue.contains(u' ' + option + u' '))
            return misuse(argument.startsWith(u"--")
                              ? u"unrecognized option '%1'"_qs.arg(argument)
                              : u"invalid option -- '%1'"_qs.arg(argument.mid(1)));
        QString value;
        if (argument.contains(u'=')) {
            value = argument.section(u'=', 1);
        } else if (++i < arguments.size()) {
            value = arguments.at(i);
        } else {
            return misuse(u"option '%1' requires an argument"_qs.arg(option));
        }
        const auto invalid = [&] {
            return misuse(u"invalid argument '%1' for '%2'"_qs.arg(value, option));
        };
        if (option == u"--from" || option == u"--to") {
            const std::optional<convert::Format> format = convert::FormatNamed(value);
            if (!format)
                return invalid();
            (option == u"--from" ? from : to) = format;
        } else if (option == u"--layout") {
            if (value != u"columns" && value != u"rows")
                return invalid();
            options.layout = value == u"rows" ? convert::Layout::Rows : convert::Layout::Columns;
        } else if (option == u"--columns" || option == u"--dot") {
            bool number = false;
            const int n = value.toInt(&number);
            if (!number || n < 1 || n > 4096)
                return invalid();
            if (option == u"--columns")
                options.columns = n;
            else
                options.dot = n;
        } else if (option == u"--cell") {
            const QRegularExpression size(u"^([1-9][0-9]{0,3})x([1-9][0-9]{0,3})$"_qs);
            const QRegularExpressionMatch match = size.match(value);
            if (!match.hasMatch())
                return invalid();
            options.cell = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        } else {
            if (!isIdentifier(value))
                return invalid();
            (option == u"--name" ? options.name : options.array) = value;
        }
    }
    if (files.size() < 2)
        return misuse(files.isEmpty() ? u"missing operand"_qs
                                      : u"missing operand after '%1'"_qs.arg(files.at(0)));
    if (files.size() > 2)
        return misuse(u"extra operand '%1'"_qs.arg(files.at(2)));
    convert::Conversion &conversion = line.conversion;
    conversion.input = files.at(0);
    conversion.output = files.at(1);
    for (const auto &[file, format, flag] : {std::tuple{conversion.input, &from, u"--from"_qs},
                                             std::tuple{conversion.output, &to, u"--to"_qs}}) {
        if (*format)
            continue;
        if (file == Standard)
            return misuse(u"'-' needs %1"_qs.arg(flag));
        *format = convert::FormatOfFileName(file);
        if (!*format)
            return misuse(u"'%1': no format has this ending; give %2"_qs.arg(file, flag));
    }
    if (!convert::CanWrite(*to))
        return misuse(u"pcf is only read: write bdf, and bdftopcf makes pcf of it"_qs);
    conversion.from = *from;
    conversion.to = *to;
    if (options.name.isEmpty())
        options.name = conversion.output == Standard
                           ? u"glyphs"_qs
                           : convert::Identifier(QFileInfo(conversion.output).baseName());
    return line;
}

QString convertHelpText()
{
    return UsageLine + uR"(Convert a list of 5x7 dot glyphs from one format to another.
INPUT and OUTPUT are file names; '-' is standard input or output. The format
comes from the name's ending: .glm (glm), .h or .c (c), .py (python), .bdf (bdf),
.pcf or .pcf.gz (pcf, read only), .png (png).

      --from=FORMAT     read INPUT as FORMAT: glm, c, python, bdf, pcf or png
      --to=FORMAT       write OUTPUT as FORMAT
      --layout=LAYOUT   the bytes of a glyph in c and python:
                          columns (default): 5 bytes, one a column, the top row bit 0
                          rows: 8 bytes, one a row, the left column bit 4, the last 0
      --name=IDENT      name the array or list written (default: OUTPUT's base name)
      --array=IDENT     read the array or list IDENT (default: the first)
      --crop            keep the top-left 5x7 dots of a larger glyph
      --columns=N       glyphs a row of a PNG sheet written (default 16)
      --cell=WxH        read a PNG cut into cells of W x H pixels, left to right,
                          then top to bottom, each with its dots from its top-left
      --dot=N           the dots of such a PNG are N x N pixels (default 1)
  -h, --help            display this help and exit
      --version         output version information and exit
      --                take the next arguments as files, even if they start with '-'

Nothing is written when INPUT is refused; an OUTPUT that exists stays as it was.

Exit status: 0 when OUTPUT was written, 1 when INPUT was refused or OUTPUT could
not be written, 2 when the command line was wrong.

Report bugs to: <%1>
Home page: <%2>
)"_qs.arg(QString::fromUtf16(deployment::AuthorMail), QString::fromUtf16(deployment::HomePage));
}

QString convertMisuseText(const QString &error)
{
    return u"glimra-convert: "_qs + error + u'\n' + UsageLine +
           u"Try 'glimra-convert --help' for more information.\n"_qs;
}

} // namespace glimra
