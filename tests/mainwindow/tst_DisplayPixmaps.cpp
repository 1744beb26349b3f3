#include "DisplayPixmaps.h"

#include <QGuiApplication>
#include <QTest>

class TestDisplayPixmaps : public QObject
{
    Q_OBJECT

private slots:
    void samePictureAsPlainConversion_data();
    void samePictureAsPlainConversion();
    void buffersAreReusedOnlyWhenReleased();
    void poolLimitFallsBackToPlainConversion();
};

namespace {

QImage pattern(QImage::Format format, int w, int h)
{
    QImage img(w, h, format);
    for (int y = 0; y < h; ++y) {
        uchar *line = img.scanLine(y);
        for (int x = 0; x < img.bytesPerLine(); ++x)
            line[x] = uchar((x * 7 + y * 13) & 0xff);
    }
    return img;
}

QImage plain(const QImage &image)
{
    QPixmap p;
    p.convertFromImage(image);
    return p.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestDisplayPixmaps::samePictureAsPlainConversion_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("width");
    QTest::newRow("mono") << int(QImage::Format_Grayscale8) << 37; // odd width: padded lines
    QTest::newRow("rgb") << int(QImage::Format_RGB888) << 33;
    QTest::newRow("argb (plain path)") << int(QImage::Format_ARGB32) << 20;
}

void TestDisplayPixmaps::samePictureAsPlainConversion()
{
    QFETCH(int, format);
    QFETCH(int, width);
    QImage image = pattern(QImage::Format(format), width, 11);
    if (image.format() == QImage::Format_ARGB32)
        image.fill(QColor(10, 200, 30, 255));
    DisplayPixmaps pixmaps;
    const QPixmap p = pixmaps.toPixmap(image);
    QCOMPARE(p.size(), image.size());
    QCOMPARE(p.toImage().convertToFormat(QImage::Format_RGB32), plain(image));
}

void TestDisplayPixmaps::buffersAreReusedOnlyWhenReleased()
{
    DisplayPixmaps pixmaps;
    const QImage a = pattern(QImage::Format_Grayscale8, 64, 32);
    QPixmap first = pixmaps.toPixmap(a);
    QPixmap second = pixmaps.toPixmap(a); // first still shown: a second buffer
    QCOMPARE(pixmaps.bufferCount(), 2);
    QVERIFY(second.toImage().constBits() != first.toImage().constBits());

    const uchar *firstBits = first.toImage().constBits();
    first = QPixmap(); // released by its view
    QPixmap third = pixmaps.toPixmap(pattern(QImage::Format_Grayscale8, 64, 32));
    QCOMPARE(pixmaps.bufferCount(), 2);
    QCOMPARE(third.toImage().constBits(), firstBits);
    // The shown picture is unchanged by the reuse of the other buffer.
    QCOMPARE(second.toImage().convertToFormat(QImage::Format_RGB32), plain(a));

    // Another size gets its own buffer.
    const QPixmap other = pixmaps.toPixmap(pattern(QImage::Format_Grayscale8, 10, 10));
    QCOMPARE(other.size(), QSize(10, 10));
    QCOMPARE(pixmaps.bufferCount(), 3);
}

void TestDisplayPixmaps::poolLimitFallsBackToPlainConversion()
{
    DisplayPixmaps pixmaps(2);
    const QImage img = pattern(QImage::Format_Grayscale8, 16, 16);
    const QPixmap a = pixmaps.toPixmap(img);
    const QPixmap b = pixmaps.toPixmap(img);
    const QPixmap c = pixmaps.toPixmap(img); // both buffers held
    QCOMPARE(pixmaps.bufferCount(), 2);
    QCOMPARE(c.toImage().convertToFormat(QImage::Format_RGB32), plain(img));
    QVERIFY(c.toImage().constBits() != a.toImage().constBits());
    QVERIFY(c.toImage().constBits() != b.toImage().constBits());
}

QTEST_MAIN(TestDisplayPixmaps)
#include "tst_DisplayPixmaps.moc"
