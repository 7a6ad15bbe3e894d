// SPDX-License-Identifier: MIT
#include "testeditor.h"
#include "ui/linewidget.h"

#include <cmath>
#include <QAbstractButton>
#include <QPushButton>

using namespace glimra;

// The window at the scale factor CTest runs this under (1, 1.5 or 2): its proportions,
// square dots on their lines, sharp pictures and captions that fit.
class TestScaling : public QObject
{
    Q_OBJECT
private slots:
    void windowKeepsItsProportions();
    void dotsStaySquareBetweenTheirLines_data();
    void dotsStaySquareBetweenTheirLines();
    void picturesStaySharp_data();
    void picturesStaySharp();
    void captionsFitTheirButtons_data();
    void captionsFitTheirButtons();

private:
    TestEditor m_editor;
};

namespace {

/// The bounding box of the pixels for which `match` holds.
QRect boxOf(const QImage &image, const std::function<bool(QColor)> &match)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

void TestScaling::windowKeepsItsProportions()
{
    const QPixmap client = m_editor.window().centralWidget()->grab();
    const qreal ratio = client.devicePixelRatio();
    QCOMPARE(m_editor.window().centralWidget()->size(), QSize(554, 174));
    QVERIFY(qAbs(client.width() - 554 * ratio) <= 1);
    QVERIFY(qAbs(client.height() - 174 * ratio) <= 1);
}

void TestScaling::dotsStaySquareBetweenTheirLines_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::newRow("dot11") << 1 << 1;
    QTest::newRow("dot34") << 3 << 4;
    QTest::newRow("dot57") << 5 << 7;
}

void TestScaling::dotsStaySquareBetweenTheirLines()
{
    QFETCH(int, column);
    QFETCH(int, row);
    MainWindow &window = m_editor.window();
    window.setDot(column, row, true);
    const QImage image =
        window.centralWidget()->grab(designedPixels({120, 480, 1215, 1695})).toImage();
    window.setDot(column, row, false);
    const QRect black = boxOf(image, [](QColor c) { return c == Qt::black; });
    QVERIFY(black.isValid());
    QCOMPARE(black.width(), black.height());
    // The grid lines run along all four sides of the filled square.
    const QPoint middle = black.center();
    for (const QPoint &outside :
         {QPoint(black.left() - 1, middle.y()), QPoint(black.right() + 1, middle.y()),
          QPoint(middle.x(), black.top() - 1), QPoint(middle.x(), black.bottom() + 1)})
        QCOMPARE(image.pixelColor(outside), LineWidget::LineColor);
}

void TestScaling::picturesStaySharp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("picture");
    QTest::newRow("icon_new") << "icon_new"
                              << ":/icons/new.xpm";
    QTest::newRow("icon_open") << "icon_open"
                               << ":/icons/open.xpm";
    QTest::newRow("icon_save") << "icon_save"
                               << ":/icons/save.xpm";
    QTest::newRow("icon_copy") << "icon_copy"
                               << ":/icons/copy.xpm";
    QTest::newRow("reverse, the narrow one") << "reverse"
                                             << ":/icons/reverse.xpm";
    QTest::newRow("window icon") << QString() << ":/icons/glimra.xpm";
}

void TestScaling::picturesStaySharp()
{
    QFETCH(QString, name);
    QFETCH(QString, picture);
    const QImage art = QImage(picture).convertToFormat(QImage::Format_ARGB32);
    QImage shown;
    int factor = 2;
    if (name.isEmpty()) {
        shown = m_editor.window().windowIcon().pixmap(art.size() * 2, 1.0).toImage();
    } else {
        const QPixmap grab = m_editor.window().findChild<QWidget *>(name)->grab();
        factor = qMax(1, int(grab.devicePixelRatio()));
        shown = grab.toImage();
    }
    shown = shown.convertToFormat(QImage::Format_ARGB32);
    // Somewhere on the button every picture pixel is a whole block of screen pixels of
    // exactly its colour: nothing was smoothed or cut.
    const auto shownAt = [&](int left, int top) {
        for (int y = 0; y < art.height() * factor; ++y) {
            for (int x = 0; x < art.width() * factor; ++x) {
                const QRgb pixel = art.pixel(x / factor, y / factor);
                if (qAlpha(pixel) == 255 && shown.pixel(left + x, top + y) != pixel)
                    return false;
            }
        }
        return true;
    };
    bool found = false;
    for (int top = 0; !found && top + art.height() * factor <= shown.height(); ++top) {
        for (int left = 0; !found && left + art.width() * factor <= shown.width(); ++left)
            found = shownAt(left, top);
    }
    QVERIFY(found);
}

void TestScaling::captionsFitTheirButtons_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         {"data_add", "data_delete", "data_read", "Command1", "Command2", "close_ver"})
        QTest::newRow(name) << name;
}

void TestScaling::captionsFitTheirButtons()
{
    QFETCH(QString, name);
    m_editor.window().action(Command::New)->trigger();
    m_editor.window().action(Command::Version)->trigger();
    QAbstractButton *button = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!button)
            button = window->findChild<QPushButton *>(name);
    }
    QVERIFY(button);
    const QPixmap grab = button->grab();
    const QImage image = grab.toImage();
    const int margin = qCeil(3 * grab.devicePixelRatio());
    const QRect text = boxOf(image, [](QColor c) { return c.lightness() < 96; });
    QVERIFY(text.isValid());
    QVERIFY2(text.left() >= margin && text.right() < image.width() - margin,
             qPrintable(QStringLiteral("caption spans %1..%2 of %3")
                            .arg(text.left())
                            .arg(text.right())
                            .arg(image.width())));
}

QTEST_MAIN(TestScaling)
#include "tst_scaling.moc"
