// SPDX-License-Identifier: MIT
#include "glyph/columncode.h"

#include <QTest>

using namespace glimra;

class TestColumnCode : public QObject
{
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void check_data();
    void check();
    void everyValueRoundTrips();
};

void TestColumnCode::format_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "00";
    QTest::newRow("ten") << 10 << "0A";
    QTest::newRow("sixty-five") << 65 << "41";
    QTest::newRow("highest") << 127 << "7F";
}

void TestColumnCode::format()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(FormatColumnCode(value), text);
}

void TestColumnCode::check_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QList<int>>("values");

    const QStringList zeros{"00", "00", "00", "00", "00"};
    const auto row = [](const char *name, QStringList in, CodeRefusal refusal, QStringList out,
                        QList<int> values = {}) {
        QTest::newRow(name) << in << int(refusal) << out << values;
    };
    row("all zero", zeros, CodeRefusal::None, zeros, {0, 0, 0, 0, 0});
    row("lower case kept", {"0a", "00", "00", "00", "7f"}, CodeRefusal::None,
        {"0a", "00", "00", "00", "7f"}, {10, 0, 0, 0, 127});
    row("one character padded", {"A", "5", "00", "00", "00"}, CodeRefusal::None,
        {"0A", "05", "00", "00", "00"}, {10, 5, 0, 0, 0});
    row("empty becomes 00", {"", "41", "", "", ""}, CodeRefusal::None,
        {"00", "41", "00", "00", "00"}, {0, 0x41, 0, 0, 0});
    row("80 out of range", {"00", "80", "00", "00", "00"}, CodeRefusal::OutOfRange,
        {"00", "80", "00", "00", "00"});
    row("ff out of range", {"ff", "00", "00", "00", "00"}, CodeRefusal::OutOfRange,
        {"ff", "00", "00", "00", "00"});
    row("g1 not hexadecimal", {"g1", "00", "00", "00", "00"}, CodeRefusal::NotHexadecimal,
        {"g1", "00", "00", "00", "00"});
    row("space five not hexadecimal", {" 5", "00", "00", "00", "00"}, CodeRefusal::NotHexadecimal,
        {" 5", "00", "00", "00", "00"});
    row("full-width digit not hexadecimal", {u"０1"_qs, "00", "00", "00", "00"},
        CodeRefusal::NotHexadecimal, {u"０1"_qs, "00", "00", "00", "00"});
    row("sign not hexadecimal", {"-1", "00", "00", "00", "00"}, CodeRefusal::NotHexadecimal,
        {"-1", "00", "00", "00", "00"});
    row("kana not hexadecimal", {u"ア"_qs, "00", "00", "00", "00"}, CodeRefusal::NotHexadecimal,
        {u"0ア"_qs, "00", "00", "00", "00"});
    row("three characters too long", {"123", "", "5", "00", "00"}, CodeRefusal::TooLong,
        {"123", "00", "5", "00", "00"});
    row("character fault beats range fault", {"80", "00", "zz", "00", "00"},
        CodeRefusal::NotHexadecimal, {"80", "00", "zz", "00", "00"});
    row("length fault beats character fault", {"zz", "00", "abc", "00", "00"}, CodeRefusal::TooLong,
        {"zz", "00", "abc", "00", "00"});
}

void TestColumnCode::check()
{
    QFETCH(QStringList, texts);
    QFETCH(int, refusal);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, values);

    CodeTexts in;
    std::copy(texts.begin(), texts.end(), in.begin());
    const CodeCheck result = checkColumnCodes(in);
    QCOMPARE(int(result.refusal), refusal);
    QCOMPARE(QStringList(result.texts.begin(), result.texts.end()), after);
    if (result.refusal == CodeRefusal::None)
        QCOMPARE(QList<int>(result.values.begin(), result.values.end()), values);
    for (int i = 0; i < ColumnCount; ++i) {
        QCOMPARE(result.filled[i], texts[i].isEmpty());
        // Padding only happens once the length check has passed.
        QCOMPARE(result.padded[i], refusal != int(CodeRefusal::TooLong) && texts[i].size() == 1);
    }
}

void TestColumnCode::everyValueRoundTrips()
{
    for (int value = 0; value <= 127; ++value) {
        const QString text = FormatColumnCode(value);
        const CodeCheck result = checkColumnCodes({text, text, text, text, text});
        QCOMPARE(result.refusal, CodeRefusal::None);
        QCOMPARE(result.values[2], value);
    }
}

QTEST_APPLESS_MAIN(TestColumnCode)
#include "tst_columncode.moc"
