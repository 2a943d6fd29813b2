#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "dialogs/OsdProgress.h"
#include "resources/Artwork.h"
#include "tests/skin/QtApp.h"

namespace pallix {
namespace {

TEST(OsdProgress, StartBeforeCreateFailsAndShowsNothing) {
    COsdProgress progress;
    EXPECT_FALSE(progress.Start(COsdProgress::kCaptionReading));
    EXPECT_EQ(progress.Window(), nullptr);
    EXPECT_FALSE(progress.IsRunning());
    progress.OnTimer(COsdProgress::kTimerId);  // harmless
    EXPECT_EQ(progress.FrameIndex(), 0);
}

TEST(OsdProgress, CreateMakesAHiddenTopmostClickThroughWindow) {
    COsdProgress progress;
    ASSERT_TRUE(progress.Create(COsdProgress::kFrames));
    ASSERT_NE(progress.Window(), nullptr);
    EXPECT_FALSE(progress.Window()->isVisible());
    EXPECT_EQ(progress.FrameCount(), 12);
    EXPECT_EQ(progress.CaptionId(), COsdProgress::kCaptionReading);
    const Qt::WindowFlags flags = progress.Window()->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowTransparentForInput);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_EQ((flags & Qt::WindowType_Mask), Qt::Tool);
    EXPECT_NEAR(progress.Window()->windowOpacity(), 220 / 255.0, 0.01);
    COsdProgress none;
    EXPECT_FALSE(none.Create({}));
}

TEST(OsdProgress, StartShowsFrameZeroCentredWithTheCaptionAndAGreenCutOut) {
    COsdProgress progress;
    progress.Create(COsdProgress::kFrames);
    ASSERT_TRUE(progress.Start(COsdProgress::kCaptionWriting));
    QWidget* w = progress.Window();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(progress.IsRunning());
    EXPECT_EQ(progress.Interval(), 100);
    EXPECT_EQ(progress.FrameIndex(), 0);
    EXPECT_EQ(w->size(), QSize(172, 172));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w->pos(), QPoint((screen.width() - 172) / 2, (screen.height() - 172) / 2));

    const QImage frame = progress.FrameBitmap();
    const QImage caption = ProgramArtwork().Image(COsdProgress::kCaptionWriting);
    const QPoint at((172 - caption.width()) / 2, (172 - caption.height()) / 2);
    EXPECT_EQ(frame.pixel(at + QPoint(10, 10)), caption.pixel(10, 10)) << "caption composed in the middle";
    // Green is neither drawn nor hit; bars and caption are.
    EXPECT_EQ(frame.pixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_FALSE(w->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(w->mask().contains(QPoint(86, 86)));
    EXPECT_TRUE(w->mask().contains(QPoint(86, 8)));  // the top bar
}

TEST(OsdProgress, TwelveTicksComeBackToTheFirstFrame) {
    COsdProgress progress;
    progress.Create(COsdProgress::kFrames);
    progress.Start(COsdProgress::kCaptionReading);
    const QImage first = progress.FrameBitmap();
    QImage previous = first;
    for (int tick = 1; tick <= 12; ++tick) {
        progress.OnTimer(COsdProgress::kTimerId);
        EXPECT_EQ(progress.FrameIndex(), tick % 12);
        if (tick < 12) {
            EXPECT_NE(progress.FrameBitmap(), previous) << "the bright bar moves, tick " << tick;
        }
        previous = progress.FrameBitmap();
    }
    EXPECT_EQ(progress.FrameBitmap(), first);
    progress.OnTimer(0x3001);  // other timers are not ours
    EXPECT_EQ(progress.FrameIndex(), 0);
}

TEST(OsdProgress, TheTimerTurnsTheWheelAndStopHidesIt) {
    COsdProgress progress;
    progress.Create(COsdProgress::kFrames);
    progress.Start(COsdProgress::kCaptionReading);
    QTest::qWait(450);
    EXPECT_GE(progress.FrameIndex(), 2);
    progress.Stop();
    EXPECT_FALSE(progress.IsRunning());
    EXPECT_FALSE(progress.Window()->isVisible());
    const int stopped = progress.FrameIndex();
    QTest::qWait(250);
    EXPECT_EQ(progress.FrameIndex(), stopped);
    // A second Start begins at frame 0 again.
    progress.Start(COsdProgress::kCaptionWriting);
    EXPECT_EQ(progress.FrameIndex(), 0);
    EXPECT_TRUE(progress.Window()->isVisible());
}

TEST(OsdProgress, AFrameThatCannotBeLoadedKeepsTheLastShape) {
    COsdProgress progress;
    const int ids[2] = {405, 99999};
    progress.Create(ids);
    progress.Start(0);
    const QRegion shape = progress.Window()->mask();
    progress.OnTimer(COsdProgress::kTimerId);
    EXPECT_EQ(progress.FrameIndex(), 1);
    EXPECT_EQ(progress.Window()->mask(), shape);
    EXPECT_TRUE(progress.Window()->isVisible());
}

}  // namespace
}  // namespace pallix
