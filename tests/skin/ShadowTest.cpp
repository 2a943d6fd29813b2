#include <gtest/gtest.h>

#include <QTest>

#include "QtApp.h"
#include "skin/WndShadow.h"

namespace {

using pallix::CWndShadow;

int AlphaAt(const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)); }

TEST(WndShadow, PictureSurroundsTheShapeAndLeavesItClear) {
    TestApp();
    const QSize window(100, 80);
    const QImage img = CWndShadow::BuildShadow(window, QRegion(), 180, 10, 5, 0, 0, Qt::black);
    ASSERT_EQ(img.size(), QSize(110, 90));
    // Nothing under the window.
    for (int y = 5; y < 85; y += 7)
        for (int x = 5; x < 105; x += 9) ASSERT_EQ(AlphaAt(img, x, y), 0) << x << "," << y;
    // A soft band outside: darker close to the edge than further out.
    EXPECT_GT(AlphaAt(img, 4, 40), AlphaAt(img, 0, 40));
    EXPECT_GT(AlphaAt(img, 4, 40), 0);
    EXPECT_LE(AlphaAt(img, 4, 40), 180);
    EXPECT_GT(AlphaAt(img, 55, 87), 0);
    // Premultiplied black: colour channels stay 0.
    EXPECT_EQ(qRed(img.pixel(4, 40)), 0);
}

TEST(WndShadow, FollowsTheShapeNotTheRectangle) {
    TestApp();
    // An L-shaped window: the missing quarter gets shadow, the shape does not.
    QRegion shape(0, 0, 100, 40);
    shape += QRegion(0, 40, 50, 40);
    const QImage img = CWndShadow::BuildShadow(QSize(100, 80), shape, 180, 10, 5, 0, 0, Qt::black);
    EXPECT_EQ(AlphaAt(img, 30, 70), 0);                      // inside the shape
    EXPECT_GT(AlphaAt(img, 5 + 52, 5 + 50), 0);              // just right of the lower arm
    EXPECT_EQ(AlphaAt(img, 5 + 90, 5 + 75), 0);              // far inside the missing quarter
}

TEST(WndShadow, FollowsItsWindowAndHidesWhenMaximisedOrHidden) {
    TestApp();
    CWndShadow::SetAvailable(true);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 150);
    window.show();
    CWndShadow shadow;
    shadow.CreateShadow(&window);
    ASSERT_NE(shadow.ShadowWindow(), nullptr);
    EXPECT_TRUE(shadow.ShadowVisible());
    EXPECT_TRUE(shadow.ShadowWindow()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(shadow.ShadowWindow()->geometry(), QRect(95, 95, 210, 160));
    window.move(300, 200);
    EXPECT_EQ(shadow.ShadowWindow()->geometry().topLeft(), QPoint(295, 195));
    window.showMaximized();
    QApplication::processEvents();
    EXPECT_FALSE(shadow.ShadowVisible());
    window.showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(shadow.ShadowVisible());
    window.hide();
    EXPECT_FALSE(shadow.ShadowVisible());
    EXPECT_FALSE(shadow.ShadowWindow()->isVisible());
}

TEST(WndShadow, NoTranslucencyNoShadow) {
    TestApp();
    CWndShadow::SetAvailable(false);
    QWidget window;
    window.show();
    CWndShadow shadow;
    shadow.CreateShadow(&window);
    EXPECT_EQ(shadow.ShadowWindow(), nullptr);
    EXPECT_FALSE(shadow.ShadowVisible());
    CWndShadow::SetAvailable(true);
}

}  // namespace
