// SPDX-License-Identifier: MIT
#include "list/listentry.h"

#include <QTest>

using namespace glimra;

class TestListEntry : public QObject
{
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void parse_data();
    void parse();
};

void TestListEntry::format_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::newRow("H example") << QStringList{"7F", "08", "08", "08", "7F"} << "H"
                               << "7F 08 08 08 7F    H";
    QTest::newRow("empty name") << QStringList(5, "00") << ""
                                << "00 00 00 00 00    ";
    QTest::newRow("case and spaces kept") << QStringList{"7f", "08", "08", "08", "7F"} << "  a  b "
                                          << "7f 08 08 08 7F      a  b ";
}

void TestListEntry::format()
{
    QFETCH(QStringList, codes);
    QFETCH(QString, name);
    QFETCH(QString, entry);
    const QString text = FormatListEntry({codes[0], codes[1], codes[2], codes[3], codes[4]}, name);
    QCOMPARE(text, entry);
    QCOMPARE(text.size(), 18 + name.size());
}

void TestListEntry::parse_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("name");
    QTest::newRow("H example") << "7F 08 08 08 7F    H" << QStringList{"7F", "08", "08", "08", "7F"}
                               << "H";
    QTest::newRow("18 characters, empty name")
        << "00 00 00 00 00    " << QStringList(5, "00") << "";
    QTest::newRow("35-character name cut to 30")
        << "01 02 03 04 05    " + QString(30, u'x') + "yyyyy"
        << QStringList{"01", "02", "03", "04", "05"} << QString(30, u'x');
    QTest::newRow("leading and inner spaces survive")
        << "01 02 03 04 05      a   b" << QStringList{"01", "02", "03", "04", "05"} << "  a   b";
    QTest::newRow("Japanese name, one position each")
        << u"7F 08 08 08 7F    漢字かな"_qs << QStringList{"7F", "08", "08", "08", "7F"}
        << u"漢字かな"_qs;
    QTest::newRow("separators never looked at")
        << "7fX08Y08Z08W7F----N" << QStringList{"7f", "08", "08", "08", "7F"} << "N";
    QTest::newRow("short text, short slices") << "7F 0" << QStringList{"7F", "0", "", "", ""} << "";
    QTest::newRow("empty text") << "" << QStringList(5, "") << "";
}

void TestListEntry::parse()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, codes);
    QFETCH(QString, name);
    const GlyphEntry parsed = ParseListEntry(entry);
    QCOMPARE(QStringList(parsed.codes.begin(), parsed.codes.end()), codes);
    QCOMPARE(parsed.name, name);
}

QTEST_APPLESS_MAIN(TestListEntry)
#include "tst_listentry.moc"
