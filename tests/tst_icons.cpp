// SPDX-License-Identifier: MIT
#include <QImage>
#include <QTest>

// The desktop icons, drawn for each size: the display's "HE" must be whole, sharp dots at
// every size, where a scaled drawing loses dots or smears them into its background.
class TestIcons : public QObject
{
    Q_OBJECT
private slots:
    void displayShowsWholeDots_data();
    void displayShowsWholeDots();
};

void TestIcons::displayShowsWholeDots_data()
{
    QTest::addColumn<int>("size");
    for (const QByteArray &size : QByteArray(GLIMRA_ICON_SIZES).split(','))
        QTest::newRow(size + " px") << size.toInt();
}

void TestIcons::displayShowsWholeDots()
{
    QFETCH(int, size);
    const QRgb screen = qRgb(0x64, 0xd2, 0x64);
    const QRgb dot = qRgb(0x10, 0x3c, 0x10);
    // "HE" in 5 x 7 dots, one column code each, row 1 being bit 0; a blank column between.
    const int he[] = {0x7F, 0x08, 0x08, 0x08, 0x7F, 0x00, 0x7F, 0x49, 0x49, 0x49, 0x41};

    const QImage image = QImage(u"%1/glimra-editor-%2.png"_qs.arg(GLIMRA_ICON_DIR).arg(size))
                             .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(size, size));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // transparent around the pencil
    QRect dots;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (image.pixel(x, y) == dot)
                dots |= QRect(x, y, 1, 1);
    // 11 columns and 7 rows of dots at one pitch, with the same gap between them.
    const int pitch = (dots.width() - dots.height()) / 4;
    const int gap = 7 * pitch - dots.height();
    QVERIFY2(pitch >= 1 && gap >= 0 && gap < pitch && dots.width() == 11 * pitch - gap,
             qPrintable(u"dots in %1 x %2 px"_qs.arg(dots.width()).arg(dots.height())));
    // Every pixel in and around the dots is the dot's colour or the screen's, as it should be.
    for (int y = dots.top() - 1; y <= dots.bottom() + 1; ++y) {
        for (int x = dots.left() - 1; x <= dots.right() + 1; ++x) {
            const int dx = x - dots.left(), dy = y - dots.top();
            const bool inside =
                dots.contains(x, y) && dx % pitch < pitch - gap && dy % pitch < pitch - gap;
            const bool on = inside && (he[dx / pitch] >> (dy / pitch) & 1);
            if (image.pixel(x, y) != (on ? dot : screen))
                QFAIL(qPrintable(u"pixel %1,%2 should be %3"_qs.arg(x).arg(y).arg(
                    on ? u"a dot"_qs : u"the screen"_qs)));
        }
    }
}

QTEST_GUILESS_MAIN(TestIcons)
#include "tst_icons.moc"
