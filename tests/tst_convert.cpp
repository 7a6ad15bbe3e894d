// SPDX-License-Identifier: MIT
#include "app/convertcommandline.h"
#include "convert/conversion.h"
#include "convert/naming.h"
#include "files/linepaste.h"
#include "testfiles.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#ifdef GLIMRA_RAPIDCHECK
#include <rapidcheck.h>
#endif

using namespace glimra;
using namespace glimra::convert;

namespace {

/// "7F 08 08 08 7F|H" for each glyph read, or "!" and the refusal as the program says it.
QStringList readAll(Format format, QByteArray bytes, const Options &options, int most = -1)
{
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    QStringList glyphs;
    const std::unique_ptr<GlyphReader> reader = MakeReader(format, options);
    const bool whole = reader->read(input, [&](Glyph &&glyph) {
        QStringList codes;
        for (const quint8 code : glyph.codes)
            codes << QString::number(code, 16).toUpper().rightJustified(2, u'0');
        glyphs << codes.join(u' ') + u'|' + glyph.name;
        return glyphs.size() != most;
    });
    if (!whole)
        glyphs << u'!' + RefusalMessage(u"in"_qs,
                                        reader->refusal().value_or(Refusal{-1, -1, u"stopped"_qs}));
    for (const QString &warning : reader->warnings())
        glyphs << u'?' + warning;
    return glyphs;
}

/// A picture of glyphs that another program drew: cells of `cell` pixels, `perRow` to a
/// row, each dot `dot` pixels, black when on and `off` when off, on white.
QByteArray pictureOf(const QStringList &glyphs, QSize cell, int dot, int perRow,
                     QRgb off = qRgb(255, 255, 255), const QString &record = {})
{
    const int rows = int((glyphs.size() + perRow - 1) / perRow);
    QImage picture(perRow * cell.width(), rows * cell.height(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QStringList codes = glyphs[i].split(u' ');
        for (int column = 0; column < ColumnCount; ++column) {
            const uint code = codes.value(column).toUInt(nullptr, 16);
            for (int row = 0; row < RowCount; ++row)
                for (int y = 0; y < dot; ++y)
                    for (int x = 0; x < dot; ++x) {
                        const QPoint at(int(i % perRow) * cell.width() + column * dot + x,
                                        int(i / perRow) * cell.height() + row * dot + y);
                        if (picture.valid(at))
                            picture.setPixel(at, code >> row & 1 ? qRgb(0, 0, 0) : off);
                    }
        }
    }
    if (!record.isEmpty())
        picture.setText(u"Glimra-Sheet"_qs, record);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

/// Options as a few words: "rows", "crop", "array=NAME", "cell=WxH", "dot=N".
Options optionsOf(const QString &words)
{
    Options options;
    for (const QString &word : words.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"rows")
            options.layout = Layout::Rows;
        else if (word == u"crop")
            options.crop = true;
        else if (word.startsWith(u"array="))
            options.array = word.mid(6);
        else if (word.startsWith(u"cell="))
            options.cell = QSize(word.mid(5).section(u'x', 0, 0).toInt(),
                                 word.mid(5).section(u'x', 1, 1).toInt());
        else if (word.startsWith(u"dot="))
            options.dot = word.mid(4).toInt();
    }
    return options;
}

/// The glyph file that the editor would save for these glyphs.
QByteArray glmOf(const QList<Glyph> &glyphs)
{
    QByteArray bytes;
    const std::unique_ptr<GlyphWriter> writer = MakeWriter(Format::Glm, {});
    for (const Glyph &glyph : glyphs)
        writer->write(glyph, [&](QByteArrayView piece) {
            bytes += piece;
            return true;
        });
    return bytes;
}

Outcome convertFile(const QString &input, const QString &output, const QString &words = {})
{
    Conversion conversion{input, *FormatOfFileName(input), output, *FormatOfFileName(output),
                          optionsOf(words)};
    conversion.options.name = Identifier(QFileInfo(output).baseName());
    return Convert(conversion);
}

} // namespace

class TestConvert : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void reads_data();
    void reads();
    void aReaderStopsWhenTold_data();
    void aReaderStopsWhenTold();
    void aRefusedInputLeavesTheOutputAsItWas_data();
    void aRefusedInputLeavesTheOutputAsItWas();
    void programsTakeWhatIsWritten();
    void namesAreWrittenAsLiterals_data();
    void namesAreWrittenAsLiterals();
    void fontsOfOtherProgramsAreRead();
    void everyFormatGivesTheListBack();

private:
    QTemporaryDir m_folder;
    QString path(const QString &name) const { return m_folder.filePath(name); }
};

void TestConvert::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("understood");
    const auto row = [](const char *name, const QStringList &arguments, const char *understood) {
        QTest::newRow(name) << arguments << understood;
    };
    row("--help wins", {"a.glm", "--frob", "--help"}, "help");
    row("-h", {"-h"}, "help");
    row("--version", {"--version", "a.glm"}, "version");
    row("endings", {"a.glm", "b.h"}, "glm c columns b");
    row("every option",
        {"--from=c", "--to=png", "--layout=rows", "--name=font", "--array=g", "--crop",
         "--columns=4", "--cell=6x9", "--dot=2", "in.txt", "out.txt"},
        "c png rows font array=g crop columns=4 cell=6x9 dot=2");
    row("values apart", {"--from", "bdf", "--to", "python", "-", "-"}, "bdf python columns glyphs");
    row("-- before names that start with a dash", {"--", "-a.pcf.gz", "-b.py"},
        "pcf python columns _b");
    row("a name made from the output's", {"a.glm", "My Font-2.bdf"}, "glm bdf columns My_Font_2");
    row("a leading digit", {"a.glm", "5x7.h"}, "glm c columns _5x7");
    row("a name of other letters", {"a.glm", "漢字.h"}, "glm c columns __");
    row("a name of nothing", {"a.glm", ".py"}, "glm python columns glyphs");
    row("an unknown option", {"--frob", "a.glm", "b.h"}, "unrecognized option '--frob'");
    row("an unknown short option", {"-q", "a.glm", "b.h"}, "invalid option -- 'q'");
    row("a value missing", {"a.glm", "b.h", "--from"}, "option '--from' requires an argument");
    row("a format unknown", {"--to=rust", "a.glm", "b.h"}, "invalid argument 'rust' for '--to'");
    row("a layout unknown", {"--layout=diagonal", "a.glm", "b.h"},
        "invalid argument 'diagonal' for '--layout'");
    row("a name that is no identifier", {"--name=2x", "a.glm", "b.h"},
        "invalid argument '2x' for '--name'");
    row("no columns", {"--columns=0", "a.glm", "b.png"}, "invalid argument '0' for '--columns'");
    row("a dot that is no number", {"--dot=x", "a.png", "b.glm"},
        "invalid argument 'x' for '--dot'");
    row("a cell without a height", {"--cell=6", "a.png", "b.glm"},
        "invalid argument '6' for '--cell'");
    row("no operand", {}, "missing operand");
    row("one operand", {"a.glm"}, "missing operand after 'a.glm'");
    row("three operands", {"a.glm", "b.h", "c.py"}, "extra operand 'c.py'");
    row("- without --from", {"-", "b.h"}, "'-' needs --from");
    row("- without --to", {"a.glm", "-"}, "'-' needs --to");
    row("an unknown ending", {"a.txt", "b.h"}, "'a.txt': no format has this ending; give --from");
    row("pcf written", {"a.glm", "b.pcf"},
        "pcf is only read: write bdf, and bdftopcf makes pcf of it");
}

void TestConvert::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, understood);
    const ConvertCommandLine line = parseConvertCommandLine(arguments);
    QString got;
    switch (line.action) {
    case ConvertCommandLine::Action::Help:
        got = u"help"_qs;
        break;
    case ConvertCommandLine::Action::Version:
        got = u"version"_qs;
        break;
    case ConvertCommandLine::Action::Misuse:
        got = line.error;
        QVERIFY(convertMisuseText(line.error).startsWith(u"glimra-convert: "_qs + line.error));
        break;
    case ConvertCommandLine::Action::Convert: {
        const Conversion &c = line.conversion;
        const QStringList words = {u"glm"_qs, u"c"_qs,   u"python"_qs,
                                   u"bdf"_qs, u"pcf"_qs, u"png"_qs};
        const Options &o = c.options;
        QStringList parts = {words[int(c.from)], words[int(c.to)],
                             o.layout == Layout::Rows ? u"rows"_qs : u"columns"_qs, o.name};
        if (!o.array.isEmpty())
            parts << u"array="_qs + o.array;
        if (o.crop)
            parts << u"crop"_qs;
        if (o.columns != 16)
            parts << u"columns=%1"_qs.arg(o.columns);
        if (o.cell)
            parts << u"cell=%1x%2"_qs.arg(o.cell->width()).arg(o.cell->height());
        if (o.dot)
            parts << u"dot=%1"_qs.arg(*o.dot);
        got = parts.join(u' ');
    }
    }
    QCOMPARE(got, understood);
}

void TestConvert::reads_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("read");
    const auto row = [](const char *name, const char *format, const QByteArray &input,
                        const char *options, const QStringList &read) {
        QTest::newRow(name) << format << input << options << read;
    };
    const QString overFlow = u"!in:1: glyph 0: 0xFF needs 8 rows; --crop keeps the top 7"_qs;

    row("C: every way of writing a number, names from comments", "c",
        "#include <stdint.h>\n/* a comment with { 1, 2 } and \"H\" */\n"
        "const uint8_t font[] PROGMEM = {\n"
        "  0x7F, 0x08, 0x08, 0x08, 0x7f, // H\n"
        "  0b1111111, 127, 0177, 0u, 0x0AUL, /* \"a \\\"q\\\" b\" */\n"
        "  1, 2, /* not this */ 3, 4, 5\n/* nor this */};\n",
        "", {"7F 08 08 08 7F|H", "7F 7F 7F 00 0A|a \"q\" b", "01 02 03 04 05|2"});
    row("C: glyphs wherever the lines break", "c",
        "unsigned char g[2][5] = {{1, 2,\n 3, 4, 5}, {6,\n 7, 8, 9, 10}};", "",
        {"01 02 03 04 05|0", "06 07 08 09 0A|1"});
    row("C: the array asked for", "c",
        "int count = 2;\nchar a[] = {1, 1, 1, 1, 1};\nchar b[] = {2, 2, 2, 2, 2};", "array=b",
        {"02 02 02 02 02|0"});
    row("C: a code over 7F", "c", "char g[] = {0xFF, 0, 0, 0, 0};", "", {overFlow});
    row("C: a code over 7F, cropped", "c", "char g[] = {0xFF, 0, 0, 0, 0};", "crop",
        {"7F 00 00 00 00|0"});
    row("C: a count that is not a multiple of five", "c", "char g[] = {1, 2, 3, 4, 5,\n6};", "",
        {"01 02 03 04 05|0", "!in:2: glyph 1: 6 numbers in all, not a multiple of 5"});
    row("C: what is no number", "c", "char g[] = {B00001, 0, 0, 0, 0};", "",
        {"!in:1: glyph 0: 'B00001' is not a number"});
    row("C: a negative number", "c", "char g[] = {-1, 0, 0, 0, 0};", "",
        {"!in:1: glyph 0: '-' where a number belongs"});
    row("C: no array", "c", "int main(void) { return 0; }\n", "", {"!in: no array of numbers"});
    row("C: an array that does not end", "c", "char g[] = {1, 2, 3, 4, 5,\n", "",
        {"01 02 03 04 05|0", "!in:1: glyph 1: the array does not end"});
    row("C rows: a character display's smiley", "c",
        "byte smiley[8] = {0b00000, 0b01010, 0b00000, 0b00000, 0b10001, 0b01110, 0b00000, "
        "0b00000};",
        "rows", {"10 22 20 22 10|0"});
    row("C rows: too wide", "c", "byte c[8] = {0x20, 0, 0, 0, 0, 0, 0, 0};", "rows",
        {"!in:1: glyph 0: 0x20 needs 6 columns; --crop keeps the left 5"});
    row("C rows: too tall", "c", "byte c[8] = {0, 0, 0, 0, 0, 0, 0, 4};", "rows",
        {"!in:1: glyph 0: 0x04 in row 8 needs 8 rows; --crop keeps the top 7"});
    row("C rows: cropped", "c", "byte c[8] = {0xFF, 0, 0, 0, 0, 0, 0, 4};", "rows crop",
        {"01 01 01 01 01|0"});
    row("Python: pairs of names and bytes", "python",
        "import framebuf\nG = [(\"H\", b\"\\x7f\\x08\\x08\\x08\\x7f\"), ('it\\'s', "
        "b'\\x01\\x02A\\x04\\x05')]\n",
        "", {"7F 08 08 08 7F|H", "01 02 41 04 05|it's"});
    row("Python: numbers named by comments", "python",
        "font = [\n    0x7f, 8, 8, 8, 0o177,  # H\n    0, 0, 0, 0, 1_0,\n]\n", "",
        {"7F 08 08 08 7F|H", "00 00 00 00 0A|1"});
    row("Python: a docstring holds no list", "python",
        "\"\"\"Glyphs.\nA = [9, 9, 9, 9, 9]\n\"\"\"\nX = [1, 2, 3, 4, 5]\n", "",
        {"01 02 03 04 05|0"});
    row("Python: names cut as a pasted line's", "python",
        "G = [('ABCDEFGHIJKLMNOPQRSTU', b'\\0\\0\\0\\0\\0'), ('a\\tb', b'\\0\\0\\0\\0\\0'), "
        "('\\u00f6', b'\\0\\0\\0\\0\\0')]",
        "", {"00 00 00 00 00|ABCDEFGHIJKLMNOPQ", "00 00 00 00 00|a", "00 00 00 00 00|2"});
    row("Python: no list", "python", "x = 1\n", "", {"!in: no list of numbers"});
    row("Python: no list of that name", "python", "x = [1, 2, 3, 4, 5]\n", "array=y",
        {"!in: no list named y"});
    row("glm: lines as the editor writes them", "glm",
        "7F,08,08,08,7F,\"H\"\r\n00,7f,00,00,00,\"\x8a\xbf\x8e\x9a\"\r\n\r\n\r\n", "",
        {"7F 08 08 08 7F|H", "00 7F 00 00 00|漢字"});
    row("glm: a short line", "glm", "7F,08,08,08,7F,\"H\"\r\nshort\r\n", "",
        {"7F 08 08 08 7F|H",
         "!in:2: glyph 1: the line is shorter than 17 characters, where the editor stops "
         "reading"});
    row("glm: an empty line before an entry", "glm",
        "7F,08,08,08,7F,\"H\"\r\n\r\n00,00,00,00,00,\"I\"\r\n", "",
        {"7F 08 08 08 7F|H", "!in:2: glyph 1: an empty line, where the editor stops reading"});
    row("glm: a code over 7F", "glm", "FF,00,00,00,00,\"H\"\r\n", "", {overFlow});
    row("glm: a code that is no number", "glm", "0x,00,00,00,00,\"H\"\r\n", "",
        {"!in:1: glyph 0: '0x' is not a code of two hexadecimal digits"});
    row("glm: no code page 932", "glm", "00,00,00,00,00,\"\xff\"\r\n", "",
        {"!in:1: glyph 0: the line is not Shift JIS (code page 932)"});
    const QByteArray font = "STARTFONT 2.1\nFONT -x-y-medium-r-normal--8-80-75-75-c-60-iso10646-1\n"
                            "SIZE 8 75 75\nFONTBOUNDINGBOX 6 8 0 -1\nSTARTPROPERTIES 4\n"
                            "FONT_ASCENT 7\nFONT_DESCENT 1\nCHARSET_REGISTRY \"ISO10646\"\n"
                            "CHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS 2\n";
    const QByteArray one = "STARTCHAR one\nENCODING 49\nSWIDTH 750 0\nDWIDTH 6 0\n"
                           "BBX 5 7 0 0\nBITMAP\n20\n60\n20\n20\n20\n20\n70\nENDCHAR\n";
    const QByteArray wide = "STARTCHAR wide\nENCODING 8364\nSWIDTH 750 0\nDWIDTH 6 0\n"
                            "BBX 6 8 0 -1\nBITMAP\nFC\n00\n00\n00\n00\n00\n00\n84\nENDCHAR\n";
    row("bdf: another program's font, by code point", "bdf", font + wide + one + "ENDFONT\n",
        "crop", {"00 42 7F 40 00|1", "01 01 01 01 01|U+20AC"});
    const QByteArray left = "STARTCHAR left\nENCODING 50\nSWIDTH 750 0\nDWIDTH 6 0\n"
                            "BBX 2 8 -1 0\nBITMAP\nC0\n00\n00\n00\n00\n00\n00\n40\nENDCHAR\n";
    row("bdf: a glyph beyond its box, cropped", "bdf", font + one + left + "ENDFONT\n", "crop",
        {"00 42 7F 40 00|1", "40 00 00 00 00|2"});
    row("bdf: a glyph beyond its box", "bdf", font + one + left + "ENDFONT\n", "",
        {"00 42 7F 40 00|1",
         "!in: glyph 1: U+0032 is 2 x 8 dots; --crop keeps the top-left 5 x 7"});
    row("bdf: a glyph too large", "bdf", font + one + wide + "ENDFONT\n", "",
        {"00 42 7F 40 00|1",
         "!in: glyph 1: U+20AC is 6 x 8 dots; --crop keeps the top-left 5 x 7"});
    row("bdf: cut short", "bdf", font + one.left(60), "", {"!in: not a font that FreeType reads"});
    row("bdf: no font at all", "bdf", "\x89PNG\r\n", "", {"!in: not a font that FreeType reads"});
    const QStringList drawn = {"7F 08 08 08 7F", "00 00 00 00 00", "01 02 04 08 10"};
    row("png: another program's picture, cut into cells", "png",
        pictureOf(drawn + QStringList(3, "00 00 00 00 00"), QSize(6, 9), 1, 3), "cell=6x9",
        {"7F 08 08 08 7F|0", "00 00 00 00 00|1", "01 02 04 08 10|2"});
    row("png: dots of 3 pixels, and half grey is no dot", "png",
        pictureOf(drawn, QSize(16, 24), 3, 2, qRgb(0x80, 0x80, 0x80)), "cell=16x24 dot=3",
        {"7F 08 08 08 7F|0", "00 00 00 00 00|1", "01 02 04 08 10|2"});
    row("png: a little darker than half grey is a dot", "png",
        pictureOf({"01 00 00 00 00"}, QSize(5, 7), 1, 1, qRgb(0x7F, 0x7F, 0x7F)), "cell=5x7",
        {"7F 7F 7F 7F 7F|0"});
    row("png: cells too low for the dots", "png", pictureOf(drawn, QSize(9, 6), 1, 3), "cell=9x6",
        {"!in: cells of 9 x 6 pixels do not hold 5 x 7 dots of 1"});
    row("png: cells too small for the dots", "png", pictureOf(drawn, QSize(9, 9), 2, 3),
        "cell=9x9 dot=2", {"!in: cells of 9 x 9 pixels do not hold 5 x 7 dots of 2"});
    row("png: another program's picture, uncut", "png", pictureOf(drawn, QSize(6, 9), 1, 3), "",
        {"!in: a picture not written here: --cell=WxH (and --dot=N) say how to cut it"});
    const QRgb white = qRgb(255, 255, 255);
    row("png: a record keeps a blank glyph", "png",
        pictureOf({"00 00 00 00 00", "7F 08 08 08 7F"}, QSize(6, 9), 1, 2, white,
                  u"cell=6x9 dot=1\nA\nB%20C\n"_qs),
        "", {"00 00 00 00 00|A", "7F 08 08 08 7F|B C"});
    row("png: a record of more glyphs than the sheet holds", "png",
        pictureOf(drawn, QSize(6, 9), 1, 3, white, u"cell=6x9 dot=1\nA\nB\nC\nD"_qs), "",
        {"!in: glyph 3: the sheet's record names more glyphs than it holds"});
    row("png: a broken record", "png",
        pictureOf(drawn, QSize(6, 9), 1, 3, white, u"cell=6 dot=1\nA"_qs), "",
        {"!in: the sheet's record is broken"});
    row("png: no picture", "png", "GIF89a", "", {"!in: not a PNG picture"});
    row("C: a name's escapes", "c",
        "char g[] = {0, 0, 0, 0, 0, /* \"\\x41\\102\\u3042\\'\\?\\q\" */\n};", "",
        {"00 00 00 00 00|ABあ'?\\q"});
    row("C: a string before a glyph names it", "c", "char g[] = {\"A\", 1, 2, 3, 4, 5};", "",
        {"01 02 03 04 05|A"});
    row("C: a string that does not end", "c", "char g[] = {1, 2, 3, 4, 5, \"abc\n", "",
        {"!in:1: glyph 0: a string does not end on its line"});
    row("C: arrays passed over, braces within braces", "c",
        "int x = 3;\nint a[2][2] = {{1, 2}, {3, 4}};\nchar b[] = {1, 2, 3, 4, 5};", "array=b",
        {"01 02 03 04 05|0"});
    row("C: numbers that are none", "c", "char g[] = {08, 0x, 1e5, 0, 0};", "",
        {"!in:1: glyph 0: '08' is not a number"});
    row("Python: raw strings and bytes", "python",
        "G = [(r'\\x41', rb'\\x'), (u'B', b'\\101\\x42\\n\\t\\'')]", "",
        {"5C 78 41 42 0A|B", "!in:1: glyph 1: 7 numbers in all, not a multiple of 5"});
    const QByteArray zeros = ", b'\\0\\0\\0\\0\\0'),\n";
    row("Python: every escape of a name", "python",
        QByteArray(R"(G = [('A\n', b'')") + zeros + R"(('B\x41\101\u3042\'\"', b'')" + zeros +
            R"(('C\U0001F600', b'')" + zeros + R"(('D\q\xZZ\x4', b'')" + zeros + "]",
        "",
        {"00 00 00 00 00|A", "00 00 00 00 00|BAAあ'\"", "00 00 00 00 00|C",
         "00 00 00 00 00|D\\q\\xZZ"});
    row("C: comments that are no single literal", "c",
        "g = {0, 0, 0, 0, 0, /* \"a\" \"b\" */\n0, 0, 0, 0, 0, /* abc\"x\" */\n"
        "0, 0, 0, 0, 0, /* q\"x\" */\n0, 0, 0, 0, 0, /* \"open */\n0, 0, 0, 0, 0, // r\"\\x\"\n};",
        "",
        {"00 00 00 00 00|\"a\" \"b\"", "00 00 00 00 00|abc\"x\"", "00 00 00 00 00|q\"x\"",
         "00 00 00 00 00|\"open", "00 00 00 00 00|\\x"});
    row("C: a hexadecimal escape takes every digit", "c",
        "char g[] = {0, 0, 0, 0, 0, /* L\"\\x414\" */\n0, 0, 0, 0, 0, // x\"no\"\n};", "",
        {"00 00 00 00 00|Д", "00 00 00 00 00|x\"no\""});
    row("C: lines that end in CR LF, and a number past any", "c",
        "char g[] = {1, 2, 3, 4, 5,\r\n99999999999999999999999};\r\n", "",
        {"01 02 03 04 05|0", "!in:2: glyph 1: '99999999999999999999999' is not a number"});
    row("Python: an assignment that ends its line", "python", "x =\ny = [1, 2, 3, 4, 5]", "",
        {"01 02 03 04 05|0"});
    row("Python: numbers of every base", "python", "G = [0o17, 0B11, 0x1_0, 0, 00]", "",
        {"0F 03 10 00 00|0"});
    row("Python: a decimal with a leading zero", "python", "G = [0123, 0, 0, 0, 0]", "",
        {"!in:1: glyph 0: '0123' is not a number"});
    row("Python: a number past a byte", "python", "G = [1_000, 0, 0, 0, 0]", "",
        {"!in:1: glyph 0: 0x3E8 needs 10 rows; --crop keeps the top 7"});
    row("Python: a docstring on one line", "python", "\"\"\"x = [9]\"\"\"\ny = [1, 2, 3, 4, 5]", "",
        {"01 02 03 04 05|0"});
    const QByteArray plain = "STARTFONT 2.1\nFONT x\nSIZE 8 75 75\nFONTBOUNDINGBOX 6 8 0 -1\n"
                             "STARTPROPERTIES 2\nFONT_ASCENT 7\nFONT_DESCENT 1\nENDPROPERTIES\n"
                             "CHARS 2\n";
    const QByteArray uncoded = "STARTCHAR none\nENCODING -1\nSWIDTH 750 0\nDWIDTH 6 0\n"
                               "BBX 5 7 0 0\nBITMAP\n20\n20\n20\n20\n20\n20\n20\nENDCHAR\n";
    row("bdf: a font of no Unicode, named by place", "bdf", plain + one + uncoded + "ENDFONT\n", "",
        {"00 42 7F 40 00|0", "?1 glyphs have no code and were left out"});
    row("bdf: a broken record", "bdf",
        QByteArray(font)
                .replace("STARTPROPERTIES 4", "STARTPROPERTIES 6")
                .replace("ENDPROPERTIES",
                         "GLIMRA_GLYPHS 1\nGLIMRA_GLYPHS_0 \"zz\"\nENDPROPERTIES") +
            one + one + "ENDFONT\n",
        "", {"!in: glyph 0: the font's record of its list is broken"});
    row("bdf: a record's count that is no number", "bdf",
        QByteArray(font)
                .replace("STARTPROPERTIES 4", "STARTPROPERTIES 5")
                .replace("ENDPROPERTIES", "GLIMRA_GLYPHS \"x\"\nENDPROPERTIES")
                .replace("CHARS 2", "CHARS 1") +
            one + "ENDFONT\n",
        "", {"00 42 7F 40 00|1"});
    row("bdf: a record that lacks a part", "bdf",
        QByteArray(font)
                .replace("STARTPROPERTIES 4", "STARTPROPERTIES 6")
                .replace("ENDPROPERTIES",
                         "GLIMRA_GLYPHS 3\nGLIMRA_GLYPHS_0 \"31 A\"\nENDPROPERTIES") +
            one + "ENDFONT\n",
        "", {"00 42 7F 40 00|A", "!in: glyph 1: the font's record of its list is broken"});
    row("bdf: a record of more glyphs than it counts", "bdf",
        QByteArray(font)
                .replace("STARTPROPERTIES 4", "STARTPROPERTIES 6")
                .replace("ENDPROPERTIES",
                         "GLIMRA_GLYPHS 1\nGLIMRA_GLYPHS_0 \"31 A 31 B\"\nENDPROPERTIES") +
            one + "ENDFONT\n",
        "", {"00 42 7F 40 00|A", "!in: glyph 1: the font's record of its list is broken"});
    if (QFile outline(u"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"_qs);
        outline.open(QIODevice::ReadOnly))
        row("bdf: a font of outlines only", "bdf", outline.readAll(), "",
            {"!in: a font without bitmaps"});
    row("glm: a line too long to be a glyph's", "glm", QByteArray(70000, 'A'), "",
        {"!in:1: glyph 0: the line is too long to be a glyph's"});
    row("glm: a name past the 30th character", "glm",
        "00,00,00,00,00,\"ABCDEFGHIJKLMNOPQRSTUVWXYZ1234\"\r\n", "",
        {"!in:1: glyph 0: the name runs past the 30th character of the line"});
}

void TestConvert::reads()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, input);
    QFETCH(QString, options);
    QFETCH(QStringList, read);
    QCOMPARE(readAll(*FormatNamed(format), input, optionsOf(options)), read);
}

void TestConvert::aReaderStopsWhenTold_data()
{
    // Two glyphs in each format; the taker stops the reading at the first.
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("options");
    QList<Glyph> two = {{{1, 2, 3, 4, 5}, u"A"_qs}, {{6, 7, 8, 9, 10}, u"B"_qs}};
    for (const char *format : {"glm", "c", "python", "bdf", "png"}) {
        QByteArray bytes;
        Options named;
        named.name = u"g"_qs;
        const std::unique_ptr<GlyphWriter> writer =
            MakeWriter(*FormatNamed(QString::fromLatin1(format)), named);
        const auto put = [&](QByteArrayView piece) {
            bytes += piece;
            return true;
        };
        for (const Glyph &glyph : two)
            writer->write(glyph, put);
        writer->finish(put);
        QTest::newRow(format) << format << bytes << "";
    }
    QTest::newRow("a picture cut into cells")
        << "png"
        << pictureOf({"01 02 03 04 05", "00 00 00 00 00", "06 07 08 09 0A"}, QSize(5, 7), 1, 3)
        << "cell=5x7";
    QTest::newRow("a C comment that names")
        << "c" << QByteArray("g = {1, 2, 3, 4, 5, // A\n6, 7, 8, 9, 10};") << "";
}

void TestConvert::aReaderStopsWhenTold()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, input);
    QFETCH(QString, options);
    const QStringList read = readAll(*FormatNamed(format), input, optionsOf(options), 1);
    QCOMPARE(read.size(), 2);
    QVERIFY(read[0].startsWith(u"01 02 03 04 05|"_qs));
    QCOMPARE(read[1], u"!in: stopped"_qs);
}

void TestConvert::aRefusedInputLeavesTheOutputAsItWas_data()
{
    QTest::addColumn<QString>("input"); // a name in the test folder
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // after the input's path
    QTest::newRow("a code over 7F") << "in.h" << QByteArray("char g[] = {0, 0, 0, 0,\n0x80};")
                                    << ":2: glyph 0: 0x80 needs 8 rows; --crop keeps the top 7";
    QTest::newRow("an empty list") << "in.py" << QByteArray("G = []\n") << ": holds no glyph";
    QTest::newRow("an empty input") << "in.glm" << QByteArray() << ": holds no glyph";
    QTest::newRow("a missing input") << "missing.glm" << QByteArray() << ": cannot be read";
}

void TestConvert::aRefusedInputLeavesTheOutputAsItWas()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    if (input != u"missing.glm")
        writeFileBytes(path(input), bytes);
    const QByteArray old = "00,00,00,00,00,\"old\"\r\n";
    writeFileBytes(path("out.glm"), old);
    const qsizetype files = folderEntries(m_folder.path()).size();
    const Outcome outcome = convertFile(path(input), path("out.glm"));
    QVERIFY(!outcome.written);
    QCOMPARE(outcome.message, path(input) + message);
    QCOMPARE(fileBytes(path("out.glm")), old);
    QCOMPARE(folderEntries(m_folder.path()).size(), files);
    // Where the output cannot be made, it says so of the output.
    const QString nowhere = path("missing/out.glm");
    writeFileBytes(path("in.glm"), old);
    QCOMPARE(convertFile(path("in.glm"), nowhere).message, nowhere + u": cannot be written"_qs);
}

void TestConvert::namesAreWrittenAsLiterals_data()
{
    // A glyph file's name may hold a tab; each language writes what gives it back.
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("c") << "c"
                       << QByteArray("{0x00, 0x00, 0x00, 0x00, 0x00}, /* \"a\\011*\\057\\\\\" */");
    QTest::newRow("python") << "python"
                            << QByteArray("(\"a\\x09*/\\\\\", b\"\\x00\\x00\\x00\\x00\\x00\"),");
}

void TestConvert::namesAreWrittenAsLiterals()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, line);
    QByteArray written;
    Options named;
    named.name = u"g"_qs;
    const std::unique_ptr<GlyphWriter> writer = MakeWriter(*FormatNamed(format), named);
    QVERIFY(writer->write({{}, u"a\t*/\\"_qs}, [&](QByteArrayView piece) {
        written += piece;
        return true;
    }));
    QVERIFY2(written.contains(line), written.constData());
}

void TestConvert::programsTakeWhatIsWritten()
{
    const QString cc = QStandardPaths::findExecutable(u"cc"_qs);
    const QString cxx = QStandardPaths::findExecutable(u"c++"_qs);
    const QString python = QStandardPaths::findExecutable(u"python3"_qs);
    if (cc.isEmpty() || cxx.isEmpty() || python.isEmpty())
        QSKIP("needs cc, c++ and python3");
    writeFileBytes(path("in.glm"), glmOf({{{0x7F, 8, 8, 8, 0x7F}, u"H \"*/ 漢"_qs},
                                          {{0, 1, 0x40, 0x7F, 0x3E}, u"2"_qs}}));
    QVERIFY(convertFile(path("in.glm"), path("glyphs.h")).written);
    QVERIFY(convertFile(path("in.glm"), path("glyphs.py")).written);
    writeFileBytes(path("main.c"), R"(#include <stdio.h>
#include "glyphs.h"
int main(void)
{
    for (unsigned i = 0; i < GLIMRA_GLYPHS_COUNT; ++i)
        printf("%02X %02X %02X %02X %02X\n", glyphs[i][0], glyphs[i][1], glyphs[i][2],
               glyphs[i][3], glyphs[i][4]);
    return 0;
}
)");
    const auto run = [this](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(m_folder.path());
        process.start(program, arguments);
        process.waitForFinished(60000);
        const QByteArray errors = process.readAllStandardError();
        if (!errors.isEmpty())
            qWarning("%s: %s", qPrintable(program), errors.constData());
        return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray("failed");
    };
    const QStringList strict = {u"-Wall"_qs, u"-Wextra"_qs, u"-Werror"_qs, u"-o"_qs};
    QCOMPARE(run(cc, QStringList{u"-std=c99"_qs, u"-pedantic"_qs} + strict +
                         QStringList{u"c"_qs, u"main.c"_qs}),
             QByteArray());
    QCOMPARE(
        run(cxx, QStringList{u"-x"_qs, u"c++"_qs} + strict + QStringList{u"cxx"_qs, u"main.c"_qs}),
        QByteArray());
    const QByteArray codes = "7F 08 08 08 7F\n00 01 40 7F 3E\n";
    QCOMPARE(run(path("c"), {}), codes);
    QCOMPARE(run(path("cxx"), {}), codes);
    QCOMPARE(run(python, {u"-c"_qs, u"import glyphs\nfor name, codes in glyphs.glyphs: "
                                    "print(codes.hex(' ').upper(), name)"_qs}),
             u"7F 08 08 08 7F H \"*/ 漢\n00 01 40 7F 3E 2\n"_qs.toUtf8());
}

void TestConvert::fontsOfOtherProgramsAreRead()
{
    // The 5 x 7 font of X11, as Debian installs it: gzipped PCF.
    const QString x11 = u"/usr/share/fonts/X11/misc/5x7.pcf.gz"_qs;
    const QString bdftopcf = QStandardPaths::findExecutable(u"bdftopcf"_qs);
    if (!QFile::exists(x11) || bdftopcf.isEmpty())
        QSKIP("needs xfonts-base and bdftopcf");
    QFile file(x11);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList glyphs = readAll(Format::Pcf, file.readAll(), {});
    QCOMPARE_GT(glyphs.size(), 1000);
    QVERIFY(!glyphs.last().startsWith(u'!'));
    QVERIFY(glyphs.contains(u"3E 09 09 3E 00|A"_qs));
    QVERIFY(glyphs.contains(u"00 00 00 00 00|U+00A0"_qs)); // a no-break space, no CP932 of it
    // bdftopcf takes a font written here, and the list comes back from its PCF.
    QVERIFY(convertFile(x11, path("x11.glm"), u"crop"_qs).written);
    QVERIFY(convertFile(path("x11.glm"), path("x11.bdf")).written);
    QProcess process;
    process.setStandardOutputFile(path("x11.pcf"));
    process.start(bdftopcf, {path("x11.bdf")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(convertFile(path("x11.pcf"), path("back.glm")).written);
    QCOMPARE(fileBytes(path("back.glm")), fileBytes(path("x11.glm")));
}

void TestConvert::everyFormatGivesTheListBack()
{
#ifndef GLIMRA_RAPIDCHECK
    QSKIP("needs RapidCheck");
#else
    const auto character = rc::gen::elementOf(std::u16string(u"AZaz09 _\"\\*/#'(){},;かな漢字絵"));
    const bool held = rc::check("a list goes through every format and back", [&] {
        QList<Glyph> glyphs;
        const int count = *rc::gen::inRange(1, 20);
        for (int i = 0; i < count; ++i) {
            Glyph glyph;
            for (quint8 &code : glyph.codes)
                code = quint8(*rc::gen::inRange(0, 0x80));
            const int length = *rc::gen::inRange(1, LinePaste::LongestName + 1);
            glyph.name = QString::fromStdU16String(
                *rc::gen::container<std::u16string>(std::size_t(length), character));
            glyphs << glyph;
        }
        const QByteArray first = glmOf(glyphs);
        writeFileBytes(path("first.glm"), first);
        for (const auto &[file, layout] : {std::pair{u"c.h"_qs, u""_qs},
                                           {u"r.h"_qs, u"rows"_qs},
                                           {u"p.py"_qs, u""_qs},
                                           {u"q.py"_qs, u"rows"_qs}}) {
            RC_ASSERT(convertFile(path("first.glm"), path(file), layout).written);
            RC_ASSERT(convertFile(path(file), path("back.glm"), layout).written);
            RC_ASSERT(fileBytes(path("back.glm")) == first);
        }
    });
    QVERIFY(held);
#endif
}

QTEST_MAIN(TestConvert)
#include "tst_convert.moc"
