// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <windows.h>

using namespace glimra;

// Glyph files on Windows: file attributes, the read-only attribute and Japanese names.
class TestGlyphFileWin : public QObject
{
    Q_OBJECT
private slots:
    void saveKeepsWhatTheFileHad_data();
    void saveKeepsWhatTheFileHad();
};

void TestGlyphFileWin::saveKeepsWhatTheFileHad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<uint>("attributes");
    QTest::addColumn<bool>("written");
    QTest::newRow("plain file") << "old.glm" << uint(FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("hidden file stays hidden")
        << "old.glm" << uint(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("Japanese name") << u"外字の一覧.glm"_qs << uint(FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("read-only attribute refused")
        << "old.glm" << uint(FILE_ATTRIBUTE_READONLY) << false;
    QTest::newRow("read-only and hidden refused")
        << "old.glm" << uint(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN) << false;
}

void TestGlyphFileWin::saveKeepsWhatTheFileHad()
{
    QFETCH(QString, name);
    QFETCH(uint, attributes);
    QFETCH(bool, written);
    QTemporaryDir dir;
    const QString file = dir.filePath(name);
    const std::wstring native = QDir::toNativeSeparators(file).toStdWString();
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(file, old);
    QVERIFY(SetFileAttributesW(native.c_str(), attributes));
    const DWORD before = GetFileAttributesW(native.c_str()); // Wine adds the archive bit

    const WriteResult result = WriteGlyphFile(file, {u"7F 08 08 08 7F    新"_qs});
    QCOMPARE(result == WriteResult::Written, written);
    QCOMPARE(fileBytes(file), written ? QByteArray("7F,08,08,08,7F,\"\x90\x56\"\r\n") : old);
    QCOMPARE(GetFileAttributesW(native.c_str()), before);
    QCOMPARE(folderEntries(dir.path()), QStringList{name});
    SetFileAttributesW(native.c_str(), FILE_ATTRIBUTE_NORMAL); // so that the folder can go
}

QTEST_APPLESS_MAIN(TestGlyphFileWin)
#include "tst_glyphfile_win.moc"
