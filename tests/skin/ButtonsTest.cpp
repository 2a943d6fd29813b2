#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "QtApp.h"
#include "skin/HoverButton.h"
#include "skin/SkinButton.h"

namespace {

using pallix::CHoverButtonEx;
using pallix::CHoverButtonEx2;
using pallix::CxSkinButton;

const QColor kFrameColours[4] = {Qt::blue, Qt::red, Qt::green, Qt::gray};

// A 400 x 50 strip (or its stacked twin) whose four frames are four plain colours.
QImage ColourStrip(bool horizontal) {
    QImage strip(horizontal ? 400 : 100, horizontal ? 50 : 200, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int i = 0; i < 4; ++i)
        p.fillRect(horizontal ? QRect(i * 100, 0, 100, 50) : QRect(0, i * 50, 100, 50), kFrameColours[i]);
    return strip;
}

QColor Shown(QWidget& w) { return w.grab().toImage().pixelColor(w.width() / 2, w.height() / 2); }

TEST(HoverButton, StripOf400x50GivesOneFrame) {
    TestApp();
    QImage strip(400, 50, QImage::Format_RGB32);
    strip.fill(Qt::black);
    CHoverButtonEx horizontal, stacked;
    horizontal.SetHorizontal(true);
    horizontal.SetStrip(strip);
    stacked.SetStrip(strip);
    EXPECT_EQ(horizontal.size(), QSize(100, 50));
    EXPECT_EQ(stacked.size(), QSize(400, 12));
    EXPECT_EQ(horizontal.LoadStrip(999999), 0) << "a missing picture is reported";
}

TEST(HoverButton, ShowsTheFrameOfItsState) {
    TestApp();
    for (bool horizontal : {true, false}) {
        QWidget window;
        CHoverButtonEx b(&window, 1);
        b.SetHorizontal(horizontal);
        b.SetStrip(ColourStrip(horizontal));
        window.show();
        EXPECT_EQ(b.size(), QSize(100, 50));
        EXPECT_EQ(Shown(b), kFrameColours[0]);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&b, &enter);
        EXPECT_TRUE(b.Hover());
        EXPECT_EQ(Shown(b), kFrameColours[2]);
        b.setDown(true);
        EXPECT_EQ(Shown(b), kFrameColours[1]);
        b.setDown(false);
        b.ResetHover();
        EXPECT_EQ(Shown(b), kFrameColours[0]);
        b.setEnabled(false);
        EXPECT_EQ(Shown(b), kFrameColours[3]);
    }
}

TEST(HoverButton, CaptionUsesHighlightColourOrGrey) {
    TestApp();
    CHoverButtonEx2 b;
    const QRect r(20, 5, 114, 17);
    b.SetCaption(QStringLiteral("A name that is far longer than thirty-one characters"), &r, nullptr, QColor(250, 250, 250));
    EXPECT_TRUE(b.CaptionShown());
    EXPECT_EQ(b.Caption().size(), 31);
    EXPECT_EQ(b.CaptionColour(), QColor(125, 125, 125));
    b.SetHighlight(true);
    EXPECT_EQ(b.CaptionColour(), QColor(250, 250, 250));
    b.SetCaption(QString());
    EXPECT_FALSE(b.CaptionShown());
}

struct Group {
    Group() {
        TestApp();
        for (int i = 0; i < 3; ++i) {
            radios[i] = new CxSkinButton(&window, 1731 + i, CxSkinButton::kRadio);
            radios[i]->setGeometry(i * 40, 0, 30, 30);
            radios[i]->SetGroup(1);
        }
        other = new CxSkinButton(&window, 1800, CxSkinButton::kRadio);
        other->setGeometry(0, 40, 30, 30);
        other->SetGroup(2);
        check = new CxSkinButton(&window, 1900, CxSkinButton::kCheckBox);
        check->setGeometry(40, 40, 30, 30);
        push = new CxSkinButton(&window, 1901, CxSkinButton::kPush);
        push->setGeometry(80, 40, 30, 30);
        window.resize(200, 100);
        window.show();
    }
    QWidget window;
    CxSkinButton* radios[3];
    CxSkinButton* other;
    CxSkinButton* check;
    CxSkinButton* push;
};

TEST(SkinButton, RadioMarkedByTheUserClearsItsGroupOnly) {
    Group g;
    g.radios[0]->SetCheck(true);
    g.other->SetCheck(true);
    QTest::mouseClick(g.radios[1], Qt::LeftButton, {}, QPoint(15, 15));
    EXPECT_FALSE(g.radios[0]->GetCheck());
    EXPECT_TRUE(g.radios[1]->GetCheck());
    EXPECT_FALSE(g.radios[2]->GetCheck());
    EXPECT_TRUE(g.other->GetCheck()) << "another group keeps its mark";
    // A second click on a marked radio keeps it marked.
    QTest::mouseClick(g.radios[1], Qt::LeftButton, {}, QPoint(15, 15));
    EXPECT_TRUE(g.radios[1]->GetCheck());
}

TEST(SkinButton, PushNeverReportsAMarkCheckBoxToggles) {
    Group g;
    g.push->SetCheck(true);
    QTest::mouseClick(g.push, Qt::LeftButton, {}, QPoint(15, 15));
    EXPECT_FALSE(g.push->GetCheck());
    QTest::mouseClick(g.check, Qt::LeftButton, {}, QPoint(15, 15));
    EXPECT_TRUE(g.check->GetCheck());
    g.check->setFocus();
    QTest::keyClick(g.check, Qt::Key_Space);
    EXPECT_FALSE(g.check->GetCheck());
}

TEST(SkinButton, ReleaseOutsideACheckBoxDoesNotToggle) {
    Group g;
    QTest::mousePress(g.check, Qt::LeftButton, {}, QPoint(15, 15));
    QTest::mouseRelease(g.check, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(g.check->GetCheck());
}

TEST(SkinButton, MaskShapesAndSizesTheButton) {
    TestApp();
    QImage mask(40, 20, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter(&mask).fillRect(5, 5, 10, 10, Qt::black);
    QImage normal(40, 20, QImage::Format_RGB32);
    normal.fill(Qt::red);
    CxSkinButton b;
    b.SetSkinImages(normal, {}, {}, {}, mask);
    EXPECT_EQ(b.size(), QSize(40, 20));
    EXPECT_EQ(b.ShapeRegion(), QRegion(5, 5, 10, 10));
    EXPECT_EQ(b.mask(), QRegion(5, 5, 10, 10));
    // Pictures from the artwork: zone 0's mask is a circle of 36 x 36.
    CxSkinButton zone;
    EXPECT_EQ(zone.SetSkin(187, 187, 513, 194, 195), 1);
    EXPECT_EQ(zone.size(), QSize(36, 36));
    EXPECT_TRUE(zone.ShapeRegion().contains(QPoint(18, 18)));
    EXPECT_FALSE(zone.ShapeRegion().contains(QPoint(0, 0)));
}

}  // namespace
