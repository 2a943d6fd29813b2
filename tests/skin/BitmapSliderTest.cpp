#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <vector>

#include "QtApp.h"
#include "skin/BitmapSlider.h"
#include "skin/SkinPicture.h"

namespace {

using pallix::CBitmapSlider;
using pallix::Message;

constexpr int kId = 1209;

// Records what the slider posts to its parent.
struct Recorder {
    explicit Recorder(CBitmapSlider& s) {
        QObject::connect(&s, &CBitmapSlider::Posted, [this](const Message& m) { posted.push_back(m); });
    }
    std::vector<Message> posted;
};

// The DPI level slider: 284-pixel channel, 71-pixel thumb, positions 1..4.
template <class Slider = CBitmapSlider>
struct LevelSlider {
    LevelSlider() {
        TestApp();
        EXPECT_EQ(slider.LoadChannel(186), 1);
        EXPECT_EQ(slider.LoadThumb(180, 181), 1);
        slider.SetRange(1, 4);
        slider.SetPos(1);
        slider.show();
    }
    Slider slider{nullptr, kId};
};

TEST(BitmapSlider, MapsValuesToThumbCentres) {
    LevelSlider<> f;
    EXPECT_EQ(f.slider.size(), QSize(284, 32));
    const int centres[4] = {35, 106, 177, 248};
    for (int v = 1; v <= 4; ++v) EXPECT_EQ(f.slider.PixelFromPos(v), centres[v - 1]) << v;
    EXPECT_EQ(f.slider.PosFromPixel(150), 2);
    EXPECT_EQ(f.slider.PosFromPixel(35), 1);
    EXPECT_EQ(f.slider.PosFromPixel(248), 4);
}

TEST(BitmapSlider, PressAwayFromTheThumbJumpsAndReportsInOrder) {
    LevelSlider<> f;
    Recorder r(f.slider);
    QTest::mousePress(&f.slider, Qt::LeftButton, {}, QPoint(150, 16));
    EXPECT_EQ(f.slider.GrabOffset(), 0);
    EXPECT_EQ(f.slider.GetPos(), 2);
    QTest::mouseRelease(&f.slider, Qt::LeftButton, {}, QPoint(150, 16));
    ASSERT_EQ(r.posted.size(), 3u);
    EXPECT_EQ(r.posted[0], (Message{pallix::WM_SLIDER_PRESSED, kId, 1}));
    EXPECT_EQ(r.posted[1], (Message{pallix::WM_SLIDER_TRACKING, kId, 2}));
    EXPECT_EQ(r.posted[2], (Message{pallix::WM_SLIDER_CHANGED, kId, 2}));
}

TEST(BitmapSlider, PressOnTheThumbKeepsTheGrabOffset) {
    LevelSlider<> f;
    f.slider.SetPos(2);  // centre 106
    Recorder r(f.slider);
    QTest::mousePress(&f.slider, Qt::LeftButton, {}, QPoint(120, 16));
    EXPECT_EQ(f.slider.GrabOffset(), 14);
    EXPECT_EQ(f.slider.GetPos(), 2) << "the thumb must not jump";
    // Dragging by 71 pixels moves the thumb centre, not the pointer, onto value 3.
    QMouseEvent move(QEvent::MouseMove, QPointF(191, 16), QPointF(191, 16), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.slider, &move);
    EXPECT_EQ(f.slider.GetPos(), 3);
    QTest::mouseRelease(&f.slider, Qt::LeftButton, {}, QPoint(191, 16));
    EXPECT_EQ(r.posted.back(), (Message{pallix::WM_SLIDER_CHANGED, kId, 3}));
}

TEST(BitmapSlider, ReleaseAlwaysReportsTrackingOnlyOnChange) {
    LevelSlider<> f;
    Recorder r(f.slider);
    QTest::mouseClick(&f.slider, Qt::LeftButton, {}, QPoint(36, 16));  // on the thumb, value 1
    ASSERT_EQ(r.posted.size(), 2u);
    EXPECT_EQ(r.posted[0].message, pallix::WM_SLIDER_PRESSED);
    EXPECT_EQ(r.posted[1], (Message{pallix::WM_SLIDER_CHANGED, kId, 1}));
}

TEST(BitmapSlider, KeysStepAndClamp) {
    TestApp();
    CBitmapSlider s(nullptr, 7);
    s.resize(200, 20);
    s.SetRange(0, 100);
    Recorder r(s);
    struct Case { int start; Qt::Key key; int expected; };
    const Case cases[] = {{97, Qt::Key_PageDown, 100}, {50, Qt::Key_PageDown, 70},
                          {10, Qt::Key_PageUp, 0},     {50, Qt::Key_End, 100},
                          {50, Qt::Key_Home, 0},       {50, Qt::Key_Right, 51},
                          {50, Qt::Key_Down, 51},      {0, Qt::Key_Left, 0},
                          {50, Qt::Key_Up, 49}};
    for (const Case& c : cases) {
        s.SetPos(c.start);
        r.posted.clear();
        QTest::keyClick(&s, c.key);
        EXPECT_EQ(s.GetPos(), c.expected) << c.start << " key " << c.key;
        ASSERT_EQ(r.posted.size(), 1u);
        EXPECT_EQ(r.posted[0], (Message{pallix::WM_SLIDER_CHANGED, 7, std::uint32_t(c.expected)}));
    }
    r.posted.clear();
    QTest::keyClick(&s, Qt::Key_A);
    EXPECT_TRUE(r.posted.empty());
}

// At value 4 the thumb's grip pixel (35,16) lands on (248,16) of the control.
bool ThumbDrawn(QWidget& w) {
    const QImage shot = w.grab().toImage();
    return shot.pixel(248, 16) == pallix::LoadSkinPicture(180).pixel(35, 16);
}

TEST(BitmapSlider, DisabledIgnoresInputAndHidesTheThumbExceptEx) {
    LevelSlider<> plain;
    LevelSlider<pallix::CBitmapSliderEx> ex;
    for (CBitmapSlider* s : {static_cast<CBitmapSlider*>(&plain.slider), static_cast<CBitmapSlider*>(&ex.slider)}) {
        s->SetPos(4);
        s->EnableSlider(false);
        Recorder r(*s);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(40, 16));
        QTest::keyClick(s, Qt::Key_Home);
        EXPECT_EQ(s->GetPos(), 4);
        EXPECT_TRUE(r.posted.empty());
    }
    EXPECT_FALSE(ThumbDrawn(plain.slider));
    EXPECT_TRUE(ThumbDrawn(ex.slider));
}

TEST(BitmapSlider, DisablingEndsADrag) {
    LevelSlider<> f;
    QTest::mousePress(&f.slider, Qt::LeftButton, {}, QPoint(36, 16));
    ASSERT_TRUE(f.slider.IsDragging());
    f.slider.EnableSlider(false);
    EXPECT_FALSE(f.slider.IsDragging());
    f.slider.EnableSlider(true);
    Recorder r(f.slider);
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 16), QPointF(200, 16), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.slider, &move);
    EXPECT_EQ(f.slider.GetPos(), 1);
    EXPECT_TRUE(r.posted.empty());
}

TEST(BitmapSlider, Ex2MeasuresFromTheLeftEdge) {
    LevelSlider<pallix::CBitmapSliderEx2> f;
    EXPECT_EQ(f.slider.PosFromPixel(150), 3);  // truncate(1 + 150 * 3 / 213)
    EXPECT_EQ(f.slider.PixelFromPos(4), 248);   // the value -> pixel side is unchanged
}

TEST(BitmapSlider, VerticalUsesTopMarginAndThumbHeight) {
    TestApp();
    QImage channel(20, 200, QImage::Format_RGB32), thumb(20, 20, QImage::Format_RGB32);
    channel.fill(Qt::darkGray);
    thumb.fill(Qt::red);
    CBitmapSlider s(nullptr, 1806);
    s.SetChannelImages(channel);
    s.SetThumbImages(thumb);
    s.SetVertical(true);
    s.SetMargins(0, 10, 0, 10);
    s.SetRange(0, 10);
    s.show();
    EXPECT_EQ(s.PixelFromPos(0), 20);
    EXPECT_EQ(s.PixelFromPos(5), 100);  // 10 + 160 * 5 / 10 + 10
    EXPECT_EQ(s.PosFromPixel(100), 5);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(10, 150));
    EXPECT_EQ(s.GetPos(), 8);  // (150 - 20) * 10 / 160 = 8.1
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(10, 199));  // clamped to the end
    EXPECT_EQ(s.GetPos(), 10);
}

}  // namespace
