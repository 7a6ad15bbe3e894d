// SPDX-License-Identifier: MIT
#include "document/entrymodel.h"
#include "files/cp932codec.h"
#include "files/entrylines.h"
#include "files/fileline.h"
#include "files/glyphfile.h"
#include "systemfiles.h"
#include "testfiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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
    void sampleFileOpensWhole();
    void keptLinesRemoveAsAListDoes();
    void listEditsAreUndoneAndRedone();
};

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
    QTest::newRow("small roman numeral: the IBM row") << u"ⅰ"_qs << QByteArray("\xFA\x40") << true;
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
    QTest::newRow("FA 55 is the broken bar") << QByteArray("\xFA\x55") << u"\uFFE4"_qs << true;
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
    QCOMPARE(cp932::characterCount(bytes), ok ? text.size() : -1);
    QCOMPARE(cp932::characterCount("ASCII..." + bytes + "12345678"), ok ? text.size() + 16 : -1);
}

void TestGlyphFile::codecMatchesTheSystemConverter()
{
    // The built-in table is code page 932 as glibc has it, in both builds. Windows' own
    // converter passes byte 80 through, will not write nine look-alikes, and writes U+0080
    // and U+F8F0-F8F3 as the bytes 80, A0 and FD-FF, which it cannot read back. The table
    // keeps one answer for both, so a file reads and saves the same everywhere.
    const auto passedThrough = [](const std::optional<QString> &system) {
        return system && system->contains(QChar(0x80));
    };
#ifdef Q_OS_WIN
    const QList<char16_t> ownUnits{0x00A2, 0x00A3, 0x00A5, 0x00AC, 0x2014, 0x2016, 0x203E,
                                   0x2212, 0x301C, 0x0080, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3};
#else
    const QList<char16_t> ownUnits;
#endif
    // Every answer goes into one digest, so that both builds can be held to the same map.
    QCryptographicHash map(QCryptographicHash::Sha256);
    const auto record = [&map](const auto &answer) {
        const QByteArray bytes = answer ? QByteArray(reinterpret_cast<const char *>(answer->data()),
                                                     answer->size() * sizeof answer->front())
                                        : QByteArray();
        map.addData(QByteArray::number(bytes.size()) + ':' + bytes);
    };
    int mismatches = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            QByteArray bytes(1, char(first));
            if (second >= 0)
                bytes.append(char(second));
            const std::optional<QString> ours = cp932::decode(bytes),
                                         system = systemDecode932(bytes);
            record(ours);
            if (ours != system && !passedThrough(system) && ++mismatches < 10)
                qWarning("decode %s differs", bytes.toHex(' ').constData());
        }
    }
    for (int unit = 0; unit < 0x10000; ++unit) {
        const QChar c{char16_t(unit)};
        const std::optional<QByteArray> ours = cp932::encode(QStringView(&c, 1));
        record(ours);
        if (ours != systemEncode932(char16_t(unit)) && !ownUnits.contains(char16_t(unit)) &&
            ++mismatches < 10)
            qWarning("encode U+%04X differs", unit);
    }
    QCOMPARE(mismatches, 0);
    // The digest of the map as the Linux build makes it, where glibc vouches for all of it.
    QCOMPARE(map.result().toHex(),
             QByteArray("7710e78499288b741b455b86fb83adcb95d5128ec7f761170b24d761ea38c05c"));
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
    QTest::newRow("blank lines after the last") << a + "\n\n\r\n\r" << QStringList{ab[0]} << true;
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
    // Saving writes each entry afresh; only lines that it would write alike keep their bytes.
    QTest::newRow("separators elsewhere")
        << QByteArray("41;00;00;00;00;'A\"\r\n") << QStringList{ab[0]} << true;
    QTest::newRow("no opening quote")
        << QByteArray("41,00,00,00,00,xA\"\r\n") << QStringList{ab[0]} << true;
    QTest::newRow("no closing quote")
        << QByteArray("41,00,00,00,00,\"AB\r\n") << QStringList{ab[0]} << true;
    QTest::newRow("name in the other form of a duplicate character")
        << QByteArray("41,00,00,00,00,\"\x87\x90\"\r\n") << QStringList{u"41 00 00 00 00    ≒"_qs}
        << true;
    QTest::newRow("name in the NEC form of an IBM character")
        << QByteArray("41,00,00,00,00,\"\xEE\xEF\"\r\n") << QStringList{u"41 00 00 00 00    ⅰ"_qs}
        << true;
    QTest::newRow("two-byte character among the codes")
        << QByteArray("\x83\x41,00,00,00,00,\"A\"\r\n") << QStringList{u"ア, 0, 0, 0, 0,    "_qs}
        << true;
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

    QCOMPARE(ReadGlyphLines(bytes).entries, entries);
    // The list keeps the lines as read: it must show and save what these entries would.
    EntryLines kept;
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QCOMPARE(StreamFileLines(device,
                             [&](const CheckedFileLines &lines) {
                                 kept.appendFileLines(lines);
                                 return true;
                             }),
             complete);
    QStringList shown;
    for (int row = 0; row < kept.size(); ++row)
        shown << kept.text(row);
    QCOMPARE(shown, entries);
    QCOMPARE(kept.fileLines().value().join(), EncodeGlyphLines(entries).value().join());
}

void TestGlyphFile::readRefusesWhatIsNotARegularFile_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString &kind : nonRegularKinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

void TestGlyphFile::readRefusesWhatIsNotARegularFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = makeNonRegularFile(kind, dir.path());
    QVERIFY(!path.isEmpty());
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

void TestGlyphFile::sampleFileOpensWhole()
{
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(GLIMRA_SAMPLE_FILE);
    QVERIFY(contents && contents->complete);
    QCOMPARE(contents->entries.size(), 36);
    QCOMPARE(contents->entries.first(), u"3E 51 49 45 3E    数字の0"_qs);
    QCOMPARE(contents->entries.last(), u"61 51 49 45 43    英大文字Z"_qs);
    QVERIFY(fileBytes(GLIMRA_SAMPLE_FILE).endsWith("\"\r\n"));
}

// The list's model writes down its edits while asked, and applies them back and forth: no
// window is needed to hold the history's list side to the list it started from.
void TestGlyphFile::listEditsAreUndoneAndRedone()
{
    EntryModel model;
    model.append(QStringList{u"41 00 00 00 00    A"_qs, u"7f 00 00 00 00    b"_qs});
    const QStringList start{model.entry(0), model.entry(1)};
    const auto entries = [&] {
        QStringList texts;
        for (int row = 0; row < model.count(); ++row)
            texts << model.entry(row);
        return texts;
    };
    const QByteArray file = "31,00,00,00,00,\"1\"\r\n32,00,00,00,00,\"2\"\r\n";
    for (const QString &how : {u"add and delete"_qs, u"open"_qs, u"open over nothing"_qs}) {
        std::vector<ListEdit> journal;
        if (how == u"open over nothing")
            model.clear();
        const QStringList before = entries();
        model.setJournal(&journal);
        if (how == u"add and delete") {
            model.append(u"43 00 00 00 00    C"_qs);
            model.removeAt(0);
            model.removeAt(5); // not there: nothing
        } else {
            model.clear();
            QByteArray bytes = file;
            QBuffer device(&bytes);
            device.open(QIODevice::ReadOnly);
            StreamFileLines(device, [&](const CheckedFileLines &lines) {
                return model.appendFileLines(lines);
            });
        }
        model.setJournal(nullptr);
        const QStringList after = entries();
        QVERIFY2(after != before, qPrintable(how));
        QCOMPARE(journal.size(), how == u"add and delete" ? std::size_t(2) : std::size_t(1));
        for (auto edit = journal.rbegin(); edit != journal.rend(); ++edit)
            model.apply(*edit, true);
        QCOMPARE(entries(), before);
        for (ListEdit &edit : journal)
            model.apply(edit, false);
        QCOMPARE(entries(), after);
        for (auto edit = journal.rbegin(); edit != journal.rend(); ++edit)
            model.apply(*edit, true);
    }
    QCOMPARE(model.count(), 0);
    model.append(start);
    model.setCapacity(3);
    QVERIFY(!model.append(QStringList{u"1"_qs, u"2"_qs}));
    QCOMPARE(model.count(), 3);
}

QTEST_APPLESS_MAIN(TestGlyphFile)
void TestGlyphFile::keptLinesRemoveAsAListDoes()
{
    // Entries are kept in blocks of about a thousand: removals at and across their edges,
    // and of whole blocks, against a plain list doing the same.
    EntryLines kept;
    QStringList expected;
    for (int i = 0; i < 3000; ++i) {
        const QString entry =
            u"%1 00 00 00 00    名前%2"_qs.arg(i % 128, 2, 16, QChar(u'0')).arg(i);
        kept.append(entry);
        expected << entry;
    }
    kept.append(u"odd"_qs); // no file line gives it back: kept as text
    expected << u"odd"_qs;
    QRandomGenerator random(18);
    for (int row : {0, 1023, 1023, 1022, 2995}) {
        kept.remove(row);
        expected.removeAt(row);
    }
    while (expected.size() > 1500) {
        const int row = int(random.bounded(qsizetype(300))); // empties the first blocks
        kept.remove(row);
        expected.removeAt(row);
    }
    QCOMPARE(kept.size(), expected.size());
    for (int row = 0; row < kept.size(); ++row)
        QCOMPARE(kept.text(row), expected[row]);
    QCOMPARE(kept.fileLines().value().join(), EncodeGlyphLines(expected).value().join());
    // Entries taken out go back where they were, as they were kept; a block that grows past
    // twice its size splits.
    for (int row : {0, 700, 1022, int(expected.size()) - 1}) {
        const QByteArray entry = kept.kept(row);
        kept.remove(row);
        kept.insertKept(row, entry);
    }
    for (int i = 0; i < 2500; ++i) {
        kept.insertKept(500, kept.kept(i % 7));
        expected.insert(500, expected[i % 7]);
    }
    kept.insertKept(int(expected.size()), kept.kept(3));
    expected << expected[3];
    QCOMPARE(kept.size(), expected.size());
    for (int row = 0; row < kept.size(); ++row)
        QCOMPARE(kept.text(row), expected[row]);
    QCOMPARE(kept.fileLines().value().join(), EncodeGlyphLines(expected).value().join());
    QCOMPARE_GT(kept.memory(), 30 * expected.size());
    for (const QString &prefix :
         {u"0"_qs, u"0a 0"_qs, u"7F 00 00 00 00    名前"_qs, u"ODD"_qs, u"7f,"_qs})
        for (int from : {0, 700, int(expected.size()) - 1}) {
            int row = -1;
            for (int step = 0; step < expected.size() && row < 0; ++step) {
                const int at = (from + step) % int(expected.size());
                row = expected[at].startsWith(prefix, Qt::CaseInsensitive) ? at : -1;
            }
            QCOMPARE(kept.findStartingWith(prefix, from), row);
        }
    kept.clear();
    QCOMPARE(kept.size(), 0);
    QCOMPARE(kept.fileLines().value().join(), QByteArray());
}

#include "tst_glyphfile.moc"
