// SPDX-License-Identifier: MIT
#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/glyphfile.h"
#include "testfiles.h"

#include <csignal>
#include <grp.h>
#if __has_include(<iconv.h>)
#include <iconv.h>
#endif
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>

using namespace glimra;

// Glyph files byte for byte: the codec, the line format, reading and writing.
class TestGlyphFile : public QObject
{
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void codecMatchesTheSystemConverter();
    void formatLine_data();
    void formatLine();
    void parseLine_data();
    void parseLine();
    void read_data();
    void read();
    void readRefusesWhatIsNotARegularFile_data();
    void readRefusesWhatIsNotARegularFile();
    void hugeFilesEndQuicklyInBoundedMemory_data();
    void hugeFilesEndQuicklyInBoundedMemory();
    void stressFilesEndInTime_data();
    void stressFilesEndInTime();
    void writeIsByteExact();
    void namesSurviveASaveAndOpen_data();
    void namesSurviveASaveAndOpen();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void shortLastBlockKeepsTheOldFile_data();
    void shortLastBlockKeepsTheOldFile();
    void saveKeepsWhatTheFileHad_data();
    void saveKeepsWhatTheFileHad();
    void killedSaveLeavesTheOldFile();
    void sampleFileOpensWhole();
};

namespace {

/// Peak resident memory of this process so far, in bytes.
qint64 peakMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

/// Writes in a child process whose files cannot grow past `limit` bytes, as a full disk
/// would stop them, and returns what the write said there.
int writeUnderSizeLimit(const QString &path, const QStringList &entries, rlim_t limit)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // fail the write with EFBIG instead of dying
        const rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
        _exit(int(WriteGlyphFile(path, entries)));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// Runs `work` in a child process as uid 1000, in groups 1000 and 2000, and returns what it
/// returned there.
int asOrdinaryUser(const std::function<int()> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        const gid_t groups[] = {1000, 2000};
        if (setgroups(2, groups) != 0 || setresgid(1000, 1000, 1000) != 0 ||
            setresuid(1000, 1000, 1000) != 0)
            _exit(100);
        _exit(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// A POSIX ACL as the kernel stores it: (tag, permissions, id) entries in tag order.
QByteArray aclBytes(std::initializer_list<std::array<quint32, 3>> entries)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(2, bytes.data());
    for (const auto &[tag, permissions, id] : entries) {
        char entry[8];
        qToLittleEndian<quint16>(quint16(tag), entry);
        qToLittleEndian<quint16>(quint16(permissions), entry + 2);
        qToLittleEndian<quint32>(id, entry + 4);
        bytes.append(entry, sizeof entry);
    }
    return bytes;
}

bool setAttribute(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(),
                      size_t(value.size()), 0) == 0;
}

/// Every extended attribute of a file, the ACL among them, with its value.
QMap<QByteArray, QByteArray> attributes(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    QByteArray names(4096, '\0');
    names.resize(qMax<ssize_t>(::listxattr(native.constData(), names.data(), names.size()), 0));
    QMap<QByteArray, QByteArray> values;
    for (const QByteArray &name : names.split('\0')) {
        QByteArray value(4096, '\0');
        if (!name.isEmpty())
            values[name] = value.left(
                ::getxattr(native.constData(), name.constData(), value.data(), value.size()));
    }
    return values;
}

/// Everything in a folder, hidden files included.
QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

} // namespace

void TestGlyphFile::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::newRow("ASCII") << "AZ09\"," << QByteArray("AZ09\",") << true;
    QTest::newRow("kanji") << u"漢"_qs << QByteArray("\x8A\xBF") << true;
    QTest::newRow("hiragana") << u"あ"_qs << QByteArray("\x82\xA0") << true;
    QTest::newRow("half-width katakana") << u"ｱ"_qs << QByteArray("\xB1") << true;
    QTest::newRow("full-width tilde") << u"\uFF5E"_qs << QByteArray("\x81\x60") << true;
    QTest::newRow("wave dash look-alike") << u"\u301C"_qs << QByteArray("\x81\x60") << true;
    QTest::newRow("minus sign look-alike") << u"\u2212"_qs << QByteArray("\x81\x7C") << true;
    QTest::newRow("yen sign look-alike") << u"\u00A5"_qs << QByteArray("\x5C") << true;
    QTest::newRow("o umlaut has no mapping") << u"\u00F6"_qs << QByteArray() << false;
    QTest::newRow("emoji has no mapping") << u"\U0001F600"_qs << QByteArray() << false;
}

void TestGlyphFile::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    const std::optional<QByteArray> result = cp932::encode(text);
    QCOMPARE(result.has_value(), ok);
    QCOMPARE(cp932::canEncode(text), ok);
    if (ok)
        QCOMPARE(*result, bytes);
}

void TestGlyphFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("81 60 is the full-width tilde")
        << QByteArray("\x81\x60") << u"\uFF5E"_qs << true;
    QTest::newRow("kanji") << QByteArray("A\x8A\xBF") << u"A漢"_qs << true;
    QTest::newRow("half-width katakana") << QByteArray("\xB1") << u"ｱ"_qs << true;
    QTest::newRow("backslash byte stays backslash") << QByteArray("\x5C") << u"\\"_qs << true;
    QTest::newRow("truncated lead byte") << QByteArray("AB\x81") << QString() << false;
    QTest::newRow("invalid trail byte") << QByteArray("\x81\x20") << QString() << false;
}

void TestGlyphFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    const std::optional<QString> result = cp932::decode(bytes);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, text);
}

void TestGlyphFile::codecMatchesTheSystemConverter()
{
#if __has_include(<iconv.h>)
    // glibc's CP932 is Windows' table; the one built in must agree on every byte, every
    // pair of bytes and every UTF-16 unit.
    const iconv_t decoder = iconv_open("UTF-16LE", "CP932");
    const iconv_t encoder = iconv_open("CP932", "UTF-16LE");
    QVERIFY(decoder != iconv_t(-1) && encoder != iconv_t(-1));
    const auto convert = [](iconv_t handle, QByteArray in) -> std::optional<QByteArray> {
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
        char out[8];
        char *input = in.data(), *output = out;
        size_t inLeft = size_t(in.size()), outLeft = sizeof out;
        if (iconv(handle, &input, &inLeft, &output, &outLeft) == size_t(-1) || inLeft != 0)
            return std::nullopt;
        return QByteArray(out, qsizetype(sizeof out - outLeft));
    };
    const auto utf16 = [](const std::optional<QString> &text) -> std::optional<QByteArray> {
        if (!text)
            return std::nullopt;
        QByteArray bytes;
        for (const QChar c : *text)
            bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        return bytes;
    };
    int mismatches = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            QByteArray bytes(1, char(first));
            if (second >= 0)
                bytes.append(char(second));
            if (utf16(cp932::decode(bytes)) != convert(decoder, bytes) && ++mismatches < 10)
                qWarning("decode %s differs", bytes.toHex(' ').constData());
        }
    }
    for (int unit = 0; unit < 0x10000; ++unit) {
        const QChar c{char16_t(unit)};
        const QByteArray in = QByteArray(1, char(unit & 0xFF)) + char(unit >> 8);
        if (cp932::encode(QStringView(&c, 1)) != convert(encoder, in) && ++mismatches < 10)
            qWarning("encode U+%04X differs", unit);
    }
    iconv_close(decoder);
    iconv_close(encoder);
    QCOMPARE(mismatches, 0);
#else
    QSKIP("no system converter to compare with");
#endif
}

void TestGlyphFile::formatLine_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("line");
    QTest::newRow("H example") << "7F 08 08 08 7F    H"
                               << "7F,08,08,08,7F,\"H\"";
    QTest::newRow("empty name") << "7F 08 08 08 7F    "
                                << "7F,08,08,08,7F,\"\"";
    QTest::newRow("quote inside the name") << "01 02 03 04 05    AB\"C"
                                           << "01,02,03,04,05,\"AB\"C\"";
    QTest::newRow("codes as they stand") << "7f zz 0  00 00    x"
                                         << "7f,zz,0 ,00,00,\"x\"";
    QTest::newRow("name cut to 30") << "00 00 00 00 00    " + QString(31, u'n')
                                    << "00,00,00,00,00,\"" + QString(30, u'n') + "\"";
}

void TestGlyphFile::formatLine()
{
    QFETCH(QString, entry);
    QFETCH(QString, line);
    QCOMPARE(FormatFileLine(ParseListEntry(entry)), line);
}

void TestGlyphFile::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("malformed");
    QTest::addColumn<QString>("entry");
    QTest::newRow("H example") << "7F,08,08,08,7F,\"H\"" << false << "7F 08 08 08 7F    H";
    QTest::newRow("empty name") << "7F,08,08,08,7F,\"\"" << false << "7F 08 08 08 7F    ";
    QTest::newRow("quote inside the name")
        << "01,02,03,04,05,\"AB\"C\"" << false << "01 02 03 04 05    AB\"C";
    QTest::newRow("text after the closing quote")
        << "7F,08,08,08,7F,\"H\"  " << false << "7F 08 08 08 7F    H\" ";
    QTest::newRow("codes taken as they stand")
        << "7f,zz,08,08,7F,\"x\"" << false << "7f zz 08 08 7F    x";
    QTest::newRow("separators never looked at")
        << "01;02;03;04;05;;ab" << false << "01 02 03 04 05    a";
    QTest::newRow("30-character name comes back as 29")
        << "00,00,00,00,00,\"" + QString(30, u'n') + "\"" << false
        << "00 00 00 00 00    " + QString(29, u'n');
    QTest::newRow("Japanese name by characters")
        << u"7F,08,08,08,7F,\"漢字か\""_qs << false << u"7F 08 08 08 7F    漢字か"_qs;
    QTest::newRow("16 characters") << "00,00,00,00,00,\"" << true << "";
    QTest::newRow("empty line") << "" << true << "";
}

void TestGlyphFile::parseLine()
{
    QFETCH(QString, line);
    QFETCH(bool, malformed);
    QFETCH(QString, entry);
    const std::optional<QString> parsed = ListEntryOfFileLine(line);
    QCOMPARE(!parsed.has_value(), malformed);
    if (parsed)
        QCOMPARE(*parsed, entry);
}

void TestGlyphFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("complete");
    const QByteArray a = "41,00,00,00,00,\"A\"";
    const QByteArray b = "42,00,00,00,00,\"B\"";
    const QStringList ab{"41 00 00 00 00    A", "42 00 00 00 00    B"};
    QTest::newRow("CR LF") << a + "\r\n" + b + "\r\n" << ab << true;
    QTest::newRow("LF only") << a + "\n" + b + "\n" << ab << true;
    QTest::newRow("CR only") << a + "\r" + b + "\r" << ab << true;
    QTest::newRow("no line end after the last line") << a + "\r\n" + b << ab << true;
    QTest::newRow("empty file") << QByteArray() << QStringList() << true;
    QTest::newRow("last line empty") << a + "\r\n" + b + "\r\n\r\n" << ab << true;
    QTest::newRow("second line empty, more after") << a + "\r\n\r\n" + b + "\r\n"
                                                   << QStringList{ab[0]} << false;
    QTest::newRow("short line stops reading") << a + "\r\n00,00,00,00,00,\"\r\n" + b + "\r\n"
                                              << QStringList{ab[0]} << false;
    QTest::newRow("undecodable line stops reading")
        << a + "\r\n41,00,00,00,00,\"\x81\x20\"\r\n" + b << QStringList{ab[0]} << false;
    QTest::newRow("Japanese name: six bytes, three characters")
        << QByteArray("7F,08,08,08,7F,\"\x8A\xBF\x8E\x9A\x82\xA9\"\r\n")
        << QStringList{u"7F 08 08 08 7F    漢字か"_qs} << true;
    QTest::newRow("name the reader cuts: read in part, reading goes on")
        << a + "\r\n41,00,00,00,00,\"" + QByteArray(40, 'n') + "\"\r\n" + b
        << QStringList{ab[0], "41 00 00 00 00    " + QString(29, u'n'), ab[1]} << false;
    QTest::newRow("line over 64 KiB stops reading")
        << a + "\r\n41,00,00,00,00,\"" + QByteArray(70000, 'n') + "\"\r\n" + b << QStringList{ab[0]}
        << false;
    // 3275 lines of 20 bytes, then a line whose CR is the last byte of the first 64 KiB.
    const QByteArray straddling = "41,00,00,00,00,\"" + QByteArray(18, 'n') + "\"\r\n";
    QTest::newRow("CR LF split between reads")
        << (a + "\r\n").repeated(3275) + straddling + b
        << QStringList(3275, ab[0]) + QStringList{"41 00 00 00 00    " + QString(18, u'n'), ab[1]}
        << true;
    QTest::newRow("undecodable third line")
        << a + "\r\n" + b + "\r\n41,00,00,00,00,\"\x81\x20\"\r\n" + a << ab << false;
    // Lines are decoded some 64 KiB at a time; a block with bad bytes goes line by line.
    QTest::newRow("undecodable line deep in a later block")
        << (a + "\r\n").repeated(4000) + "41,00,00,00,00,\"\x81\x20\"\r\n" + b
        << QStringList(4000, ab[0]) << false;
    QTest::newRow("lead byte right before the line end")
        << a + "\r\n41,00,00,00,00,\"A\x81\r\n" + b << QStringList{ab[0]} << false;
    QTest::newRow("end-of-file mark after the last line end")
        << a + "\r\n" + b + "\r\n\x1A" << ab << true;
    QTest::newRow("end-of-file mark straight after the last quote")
        << a + "\r\n" + b + "\x1A" << ab << true;
    QTest::newRow("end-of-file mark alone") << QByteArray("\x1A") << QStringList() << true;
    QTest::newRow("mark inside a name is the name's")
        << a + "\r\n42,00,00,00,00,\"\x1A\"\r\n"
        << QStringList{ab[0], u"42 00 00 00 00    \x1A"_qs} << true;
    QTest::newRow("line of exactly 64 KiB is read, in part")
        << a + "\r\n41,00,00,00,00,\"" + QByteArray(65536 - 16, 'n') + "\r\n" + b
        << QStringList{ab[0], "41 00 00 00 00    " + QString(29, u'n'), ab[1]} << false;
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\n\r\r") << QStringList() << true;
    // EF BB has no code page 932 character: the first line cannot be read.
    QTest::newRow("UTF-8 with a BOM") << "\xEF\xBB\xBF" + a + "\r\n" + b << QStringList() << false;
    QTest::newRow("text of another kind")
        << QByteArray("The quick brown fox jumps over\r\nno\r\n")
        << QStringList{"Th  q ic  b ow    fox jumps ove"} << false;
}

void TestGlyphFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QFETCH(bool, complete);
    QTemporaryDir dir;
    const QString path = dir.filePath("in.glm");
    writeFileBytes(path, bytes);
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(path);
    QVERIFY(contents);
    QCOMPARE(contents->entries, entries);
    QCOMPARE(contents->complete, complete);
}

void TestGlyphFile::readRefusesWhatIsNotARegularFile_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"missing", "folder", "fifo", "socket", "device link"})
        QTest::newRow(kind) << kind;
}

void TestGlyphFile::readRefusesWhatIsNotARegularFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("odd.glm");
    QVERIFY(makeNonRegularFile(kind, path));
    QVERIFY(!ReadGlyphFile(path)); // and returns at once: a pipe with no writer never ends
}

void TestGlyphFile::hugeFilesEndQuicklyInBoundedMemory_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("3 GB of zero bytes") << QByteArray() << QStringList();
    QTest::newRow("one line, then 3 GB of zero bytes")
        << QByteArray("41,00,00,00,00,\"A\"\r\n") << QStringList{"41 00 00 00 00    A"};
}

void TestGlyphFile::hugeFilesEndQuicklyInBoundedMemory()
{
    QFETCH(QByteArray, start);
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.glm");
    writeFileBytes(path, start);
    QVERIFY(QFile::resize(path, 3LL << 30)); // sparse: costs no disk
    const qint64 memoryBefore = peakMemory();
    QElapsedTimer timer;
    timer.start();
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(path);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(peakMemory() - memoryBefore < 100 << 20);
    QVERIFY(contents);
    QCOMPARE(contents->entries, entries);
    QVERIFY(!contents->complete);
}

void TestGlyphFile::stressFilesEndInTime_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("entries");
    QTest::newRow("a million lines") << "million" << 1000000;
    QTest::newRow("a 100 MB single line") << "long line" << 0;
    QTest::newRow("1 MB of random bytes") << "random" << -1;
}

void TestGlyphFile::stressFilesEndInTime()
{
    QFETCH(QString, kind);
    QFETCH(int, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath("stress.glm");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "million") {
            QVERIFY(file.write(QByteArray("41,00,00,00,00,\"A\"\r\n").repeated(1000000)) > 0);
        } else if (kind == "long line") {
            const QByteArray megabyte(1 << 20, 'x');
            for (int i = 0; i < 100; ++i)
                QVERIFY(file.write(megabyte) == megabyte.size());
        } else {
            QByteArray noise(1 << 20, Qt::Uninitialized);
            QRandomGenerator generator(20261207);
            generator.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
            QVERIFY(file.write(noise) == noise.size());
        }
    }
    const qint64 memoryBefore = peakMemory();
    QElapsedTimer timer;
    timer.start();
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(path);
    // Generous: sanitizer builds on a busy machine are many times slower.
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(contents);
    if (entries >= 0)
        QCOMPARE(contents->entries.size(), entries);
    if (entries == 0)
        QVERIFY(peakMemory() - memoryBefore < 100 << 20);
}

void TestGlyphFile::writeIsByteExact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.glm");
    QCOMPARE(WriteGlyphFile(path, {"7F 08 08 08 7F    H"}), WriteResult::Written);
    QCOMPARE(fileBytes(path), QByteArray("7F,08,08,08,7F,\"H\"\r\n"));
    QCOMPARE(WriteGlyphFile(path, {"7f 08 08 08 7F    ", u"01 02 03 04 05    漢字か"_qs,
                                   u"00 00 00 00 00    〜"_qs}),
             WriteResult::Written);
    QCOMPARE(fileBytes(path), QByteArray("7f,08,08,08,7F,\"\"\r\n"
                                         "01,02,03,04,05,\"\x8A\xBF\x8E\x9A\x82\xA9\"\r\n"
                                         "00,00,00,00,00,\"\x81\x60\"\r\n"));
    QCOMPARE(folderEntries(dir.path()), QStringList{"out.glm"});
}

void TestGlyphFile::namesSurviveASaveAndOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<bool>("complete");
    QTest::newRow("17 characters") << QString(17, u'a') << QString(17, u'a') << true;
    QTest::newRow("29 characters") << QString(29, u'b') << QString(29, u'b') << true;
    QTest::newRow("30 characters come back as 29, read in part")
        << QString(30, u'c') << QString(29, u'c') << false;
    QTest::newRow("Japanese") << u"かな漢字ｶﾅ"_qs << u"かな漢字ｶﾅ"_qs << true;
    QTest::newRow("commas and quotes") << "a,\"b\","
                                       << "a,\"b\"," << true;
}

void TestGlyphFile::namesSurviveASaveAndOpen()
{
    QFETCH(QString, name);
    QFETCH(QString, readBack);
    QFETCH(bool, complete);
    QTemporaryDir dir;
    const QString path = dir.filePath("round.glm");
    const QStringList entries{"01 02 03 04 05    " + name, "7f 00 00 00 00    x"};
    QCOMPARE(WriteGlyphFile(path, entries), WriteResult::Written);
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(path);
    QVERIFY(contents);
    QCOMPARE(contents->complete, complete);
    QCOMPARE(contents->entries, (QStringList{"01 02 03 04 05    " + readBack, entries[1]}));
}

void TestGlyphFile::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a name code page 932 cannot hold") << "unencodable";
    QTest::newRow("disk fails after the first line") << "part-way";
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("parent folder missing") << "no parent";
}

void TestGlyphFile::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, fault);
    QTemporaryDir dir;
    QString path = dir.filePath("keep.glm");
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(path, old);
    QStringList entries{"01 00 00 00 00    one", "02 00 00 00 00    two", "03 00 00 00 00    3"};
    WriteFault inject;
    WriteResult expected = WriteResult::CannotWrite;
    if (fault == "unencodable") {
        entries[1] = u"02 00 00 00 00    \u00F6"_qs;
        expected = WriteResult::CannotEncode;
    } else if (fault == "part-way") {
        inject = [](int line) { return line < 1; };
    } else if (fault == "folder") {
        path = dir.filePath("folder.glm");
        QVERIFY(QDir(dir.path()).mkdir("folder.glm"));
    } else {
        path = dir.filePath("missing/keep.glm");
    }
    QCOMPARE(WriteGlyphFile(path, entries, inject), expected);
    QCOMPARE(fileBytes(dir.filePath("keep.glm")), old);
    // No temporary file is left behind either.
    const QStringList left = folderEntries(dir.path());
    QCOMPARE(left,
             fault == "folder" ? QStringList({"folder.glm", "keep.glm"}) : QStringList{"keep.glm"});
}

void TestGlyphFile::shortLastBlockKeepsTheOldFile_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("limit");
    // Small lists sit whole in the write buffer until the end; large ones fill it many times.
    QTest::newRow("300 entries, 4 KiB fit") << 300 << 4096;
    QTest::newRow("300 entries, nothing fits") << 300 << 0;
    QTest::newRow("one entry, all but its last byte fits") << 1 << 28;
    QTest::newRow("5000 entries, the last block falls short") << 5000 << 120000;
    QTest::newRow("5000 entries, a middle block falls short") << 5000 << 20000;
}

void TestGlyphFile::shortLastBlockKeepsTheOldFile()
{
    QFETCH(int, count);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(path, old);
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << QStringLiteral("01 02 03 04 05    glyph%1").arg(i, 5, 10, QChar(u'0'));
    QCOMPARE(writeUnderSizeLimit(path, entries, rlim_t(limit)), int(WriteResult::CannotWrite));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(folderEntries(dir.path()), QStringList{"keep.glm"});
}

void TestGlyphFile::saveKeepsWhatTheFileHad_data()
{
    QTest::addColumn<bool>("asUser"); // uid 1000 in groups 1000 and 2000, or root
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("group");
    QTest::addColumn<int>("mode");
    QTest::addColumn<uint>("folderOwner"); // the folder's group is 2000
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("written");
    QTest::newRow("root saves a user's 0600 file: owner kept")
        << false << 1000u << 1000u << 0600 << 0u << 0755 << "" << true;
    QTest::newRow("mode 0640 kept") << false << 0u << 0u << 0640 << 0u << 0755 << "" << true;
    QTest::newRow("user in a shared folder: group kept")
        << true << 1000u << 2000u << 0664 << 0u << 0775 << "" << true;
    QTest::newRow("user saves another's group-writable file: in place")
        << true << 1001u << 2000u << 0664 << 0u << 0777 << "" << true;
    QTest::newRow("ACL with a named user kept")
        << false << 0u << 0u << 0640 << 0u << 0755 << "acl" << true;
    QTest::newRow("extended attribute kept, as user")
        << true << 1000u << 1000u << 0644 << 0u << 0777 << "xattr" << true;
    QTest::newRow("no ACL from the folder's default")
        << false << 0u << 0u << 0644 << 0u << 0755 << "default acl" << true;
    QTest::newRow("read-only file refused, even for root")
        << false << 0u << 0u << 0444 << 0u << 0755 << "" << false;
    QTest::newRow("read-only file refused to its owner")
        << true << 1000u << 1000u << 0444 << 0u << 0777 << "" << false;
    QTest::newRow("another user's 0644 file refused in a folder open to all")
        << true << 1001u << 1001u << 0644 << 0u << 0777 << "" << false;
    QTest::newRow("writable file in a 0555 folder: in place")
        << true << 1000u << 1000u << 0644 << 1000u << 0555 << "" << true;
    QTest::newRow("in-place write fails part-way: old bytes back")
        << true << 1000u << 1000u << 0644 << 1000u << 0555 << "fault" << false;
    QTest::newRow("name of 250 bytes")
        << false << 0u << 0u << 0644 << 0u << 0755 << "long name" << true;
    QTest::newRow("a link stays a link, its target written")
        << false << 0u << 0u << 0644 << 0u << 0755 << "link" << true;
}

void TestGlyphFile::saveKeepsWhatTheFileHad()
{
    QFETCH(bool, asUser);
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(int, mode);
    QFETCH(uint, folderOwner);
    QFETCH(int, folderMode);
    QFETCH(QString, extra);
    QFETCH(bool, written);
    if (geteuid() != 0)
        QSKIP("files owned by others need root");
    QTemporaryDir dir;
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    const QString folder = dir.filePath("shared");
    QVERIFY(QDir().mkdir(folder));
    const QString file =
        folder + '/' + (extra == "long name" ? QString(82, u'あ') : "old") + ".glm";
    const QByteArray native = QFile::encodeName(file);
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(file, old);
    QVERIFY(::chown(native.constData(), owner, group) == 0);
    QVERIFY(::chmod(native.constData(), mode_t(mode)) == 0);
    constexpr quint32 Any = 0xFFFFFFFF;
    if (extra == "acl")
        QVERIFY(setAttribute(
            file, "system.posix_acl_access",
            aclBytes({{1, 6, Any}, {2, 6, 1000}, {4, 4, Any}, {0x10, 6, Any}, {0x20, 0, Any}})));
    if (extra == "xattr")
        QVERIFY(setAttribute(file, "user.glimra-test", "kept"));
    if (extra == "default acl")
        QVERIFY(setAttribute(
            folder, "system.posix_acl_default",
            aclBytes({{1, 7, Any}, {2, 7, 1000}, {4, 5, Any}, {0x10, 7, Any}, {0x20, 5, Any}})));
    QString saved = file;
    if (extra == "link") {
        saved = folder + "/link.glm";
        QVERIFY(QFile::link("old.glm", saved));
    }
    const QByteArray folderNative = QFile::encodeName(folder);
    QVERIFY(::chown(folderNative.constData(), folderOwner, 2000) == 0);
    QVERIFY(::chmod(folderNative.constData(), mode_t(folderMode)) == 0);
    struct stat before;
    QVERIFY(::stat(native.constData(), &before) == 0);
    const QMap<QByteArray, QByteArray> attributesBefore = attributes(file);
    const QStringList entriesBefore = folderEntries(folder);

    QStringList entries{"01 00 00 00 00    one", "02 00 00 00 00    two"};
    // Enough lines that the fault comes after a first block has been written over the file.
    if (extra == "fault")
        entries += QStringList(20'000, u"03 00 00 00 00    three"_qs);
    const WriteFault fault = [&](int line) { return extra != "fault" || line < 15'000; };
    const auto save = [&] { return int(WriteGlyphFile(saved, entries, fault)); };
    const int result = asUser ? asOrdinaryUser(save) : save();

    QCOMPARE(result, int(written ? WriteResult::Written : WriteResult::CannotWrite));
    QCOMPARE(fileBytes(file), written ? QByteArray("01,00,00,00,00,\"one\"\r\n"
                                                   "02,00,00,00,00,\"two\"\r\n")
                                      : old);
    struct stat after;
    QVERIFY(::stat(native.constData(), &after) == 0);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(attributes(file), attributesBefore);
    QCOMPARE(folderEntries(folder), entriesBefore);
    if (extra == "link")
        QVERIFY(QFileInfo(saved).isSymLink());
}

void TestGlyphFile::killedSaveLeavesTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(path, old);
    const QStringList entries(1'000'000, u"01 02 03 04 05    glyph"_qs);
    int midway[2];
    QVERIFY(::pipe(midway) == 0);
    const pid_t child = fork();
    if (child == 0) {
        WriteGlyphFile(path, entries, [&](int line) {
            if (line == 600'000 && ::write(midway[1], "!", 1) == 1)
                ::pause();
            return true;
        });
        _exit(0);
    }
    char byte = 0;
    QCOMPARE(::read(midway[0], &byte, 1), ssize_t(1));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    QVERIFY(WIFSIGNALED(status));
    ::close(midway[0]);
    ::close(midway[1]);
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(folderEntries(dir.path()), QStringList{"keep.glm"});
}

void TestGlyphFile::sampleFileOpensWhole()
{
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(GLIMRA_SAMPLE_FILE);
    QVERIFY(contents && contents->complete);
    QCOMPARE(contents->entries.size(), 36);
    QCOMPARE(contents->entries.first(), u"3E 51 49 45 3E    数字の0"_qs);
    QCOMPARE(contents->entries.last(), u"61 51 49 45 43    英大文字Z"_qs);
    QVERIFY(fileBytes(GLIMRA_SAMPLE_FILE).endsWith("\"\r\n"));
}

QTEST_APPLESS_MAIN(TestGlyphFile)
#include "tst_glyphfile.moc"
