#include <gtest/gtest.h>

#include <QBitmap>
#include <QPainter>

#include "QtApp.h"
#include "skin/Region.h"

namespace {

constexpr QRgb kKey = qRgb(0, 64, 0);

// A key-coloured picture with a ring (its hole is key), an island inside the hole,
// a one-pixel island, a diagonal staircase and a row with several runs.
QImage HolesAndIslands() {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(kKey);
    QPainter p(&img);
    p.fillRect(5, 5, 30, 30, QColor(30, 30, 30));
    p.fillRect(12, 12, 16, 16, QColor(kKey));  // hole
    p.fillRect(17, 17, 6, 6, QColor(200, 20, 30));  // island in the hole
    p.end();
    img.setPixel(50, 3, qRgb(0, 64, 1));  // almost the key: inside
    for (int i = 0; i < 10; ++i) img.setPixel(40 + i, 10 + i, qRgb(255, 255, 255));
    for (int x = 38; x < 60; x += 3) img.setPixel(x, 36, qRgb(1, 2, 3));
    img.setPixel(59, 39, qRgb(9, 9, 9));  // last pixel
    return img;
}

TEST(RegionFromImage, KeyPixelsOutsideEveryOtherPixelInside) {
    TestApp();
    const QImage img = HolesAndIslands();
    const QRegion region = pallix::RegionFromImage(img, kKey);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(region.contains(QPoint(x, y)), img.pixel(x, y) != (kKey | 0xFF000000u))
                << "at " << x << "," << y;
    // Same answer as Qt's mask route.
    const QRegion viaMask(QBitmap::fromImage(img.createMaskFromColor(kKey)));
    EXPECT_TRUE((region ^ viaMask).isEmpty());
}

TEST(RegionFromImage, EqualRowsShareOneBand) {
    TestApp();
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::black);
    const QRegion region = pallix::RegionFromImage(img, kKey);
    EXPECT_EQ(region.rectCount(), 1);
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 100, 100));
}

TEST(RegionFromImage, EmptyAndAllKeyGiveEmptyRegions) {
    TestApp();
    QImage key(8, 8, QImage::Format_RGB32);
    key.fill(kKey);
    EXPECT_TRUE(pallix::RegionFromImage(key, kKey).isEmpty());
    EXPECT_TRUE(pallix::RegionFromImage(QImage(), kKey).isEmpty());
}

TEST(RegionFromImage, AlphaIsIgnoredForTheKey) {
    TestApp();
    QImage img(4, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(0, 64, 0, 255));
    img.setPixel(1, 0, qRgba(10, 10, 10, 255));
    img.setPixel(2, 0, qRgba(10, 10, 10, 255));
    img.setPixel(3, 0, qRgba(0, 64, 0, 255));
    const QRegion region = pallix::RegionFromImage(img, kKey);
    EXPECT_EQ(region, QRegion(1, 0, 2, 1));
}

}  // namespace
