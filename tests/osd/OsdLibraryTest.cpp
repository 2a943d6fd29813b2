// libQx7Osd.so loaded into this process as the monitor loads it, driven by
// WM_OSD_NOTIFY through its published mailbox and checked through its query
// functions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QLibrary>
#include <QTest>
#include <QWidget>

#include "common/Posting.h"
#include "osd/OsdQuery.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "resources/Artwork.h"
#include "skin/Region.h"
#include "tests/support/TempEnv.h"

namespace pallix::test {
namespace {

using GetState = int (*)(Qx7OsdState*);

class OsdLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "osd_tests";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }

    void SetUp() override {
        library = std::make_unique<QLibrary>(QStringLiteral(PALLIX_BUILD_DIR "/monitor/libQx7Osd.so"));
        ASSERT_TRUE(library->load()) << library->errorString().toStdString();
        getState = reinterpret_cast<GetState>(library->resolve("Qx7OsdGetState"));
        ASSERT_TRUE(getState);
    }
    void TearDown() override {
        if (library) library->unload();
    }

    Qx7OsdState State() {
        Qx7OsdState s{};
        EXPECT_EQ(getState(&s), 1);
        return s;
    }

    // Posts one notification through the mailbox and lets the loop deliver it.
    void Notify(std::uint32_t code, std::uint32_t lParam) {
        ASSERT_EQ(PostToLiveWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, code, lParam}), PostResult::Posted);
        const unsigned before = deliveries;
        // The mailbox is drained by the loop; one turn delivers what was posted.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            QCoreApplication::processEvents();
            return ++deliveries > before + 3;
        }, 1000));
    }

    QWidget* Window() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowFlags() & Qt::WindowStaysOnTopHint) return w;
        return nullptr;
    }

    static QApplication* app;
    TempEnv env;
    SqliteSettingsStore store;
    MailboxPoster poster;
    std::unique_ptr<QLibrary> library;
    GetState getState = nullptr;
    unsigned deliveries = 0;
};
QApplication* OsdLibraryTest::app = nullptr;

std::uint32_t Word(std::uint32_t level, std::uint32_t profile, bool profileChanged, std::uint32_t step) {
    return PackProfileLevel({level, profile, profileChanged, step, step});
}

TEST_F(OsdLibraryTest, LoadingPublishesTheHandleAndUnloadingWithdrawsIt) {
    const Qx7OsdState s = State();
    EXPECT_EQ(s.kind, -1);
    EXPECT_EQ(s.visible, 0);
    EXPECT_EQ(s.enabled, 1);
    EXPECT_EQ(s.fullStep, 0);
    const auto handle = reinterpret_cast<std::uint32_t (*)()>(library->resolve("Qx7OsdWindowHandle"))();
    EXPECT_EQ(store.ReadDword(kOsdHandle), handle);
    EXPECT_TRUE(poster.IsLiveWindow(handle));
    ASSERT_TRUE(library->unload());
    library.reset();
    EXPECT_EQ(store.ReadDword(kOsdHandle), 0u);
    EXPECT_FALSE(poster.IsLiveWindow(handle));
}

TEST_F(OsdLibraryTest, EveryKindShowsItsPicture) {
    const struct {
        const char* what;
        std::uint32_t code, lParam;
        int kind, picture;
    } cases[] = {
        {"profile 3", OSD_PROFILE_LEVEL, Word(0, 2, true, 0), 0, 302},
        {"left arrow", OSD_SIDE_BUTTON, 3, 1, 320},
        {"right arrow", OSD_SIDE_BUTTON, 4, 1, 321},
        {"level 4", OSD_PROFILE_LEVEL, Word(3, 1, false, 16), 2, 319},
        {"normal", OSD_MODE, 0, 3, 322},
        {"battle", OSD_MODE, 7, 3, 323},
        {"125 Hz", OSD_POLLING_RATE, 3, 4, 326},
        {"250 Hz", OSD_POLLING_RATE, 2, 4, 327},
        {"500 Hz", OSD_POLLING_RATE, 1, 4, 328},
        {"1000 Hz", OSD_POLLING_RATE, 0, 4, 329},
        {"locked", OSD_LOCK, 1, 5, 324},
        {"unlocked", OSD_LOCK, 0, 5, 325},
    };
    for (const auto& c : cases) {
        Notify(c.code, c.lParam);
        const Qx7OsdState s = State();
        EXPECT_EQ(s.kind, c.kind) << c.what;
        EXPECT_EQ(s.pictureId, c.picture) << c.what;
        EXPECT_EQ(s.visible, 1) << c.what;
        QWidget* w = Window();
        ASSERT_TRUE(w);
        // Sized to the picture, centred, 50 pixels above the bottom of the screen.
        const QImage picture = OsdArtwork().Image(c.picture);
        EXPECT_EQ(w->size(), picture.size()) << c.what;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(w->y() + w->height(), screen.height() - 50) << c.what;
        EXPECT_EQ(w->x(), (screen.width() - picture.width()) / 2) << c.what;
    }
}

TEST_F(OsdLibraryTest, LevelDigitsInBothStepScales) {
    const struct {
        std::uint32_t step;
        bool fullStep;
        std::array<int, 4> digits;
    } cases[] = {
        {9, true, {315, 314, 305, 305}},  {9, false, {315, 313, 305, 305}}, {57, true, {310, 312, 305, 305}},
        {57, false, {310, 306, 305, 305}}, {58, true, {315, 315, 315, 315}}, {0, true, {315, 315, 315, 315}},
        {1, false, {315, 306, 305, 305}},  {12, true, {306, 307, 305, 305}},
    };
    for (const auto& c : cases) {
        Notify(OSD_STEP_SCALE, c.fullStep ? 1 : 0);
        Notify(OSD_PROFILE_LEVEL, Word(1, 0, false, c.step));
        const Qx7OsdState s = State();
        EXPECT_EQ(s.pictureId, 317);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(s.digitIds[k], c.digits[static_cast<std::size_t>(k)]) << "step " << c.step << " digit " << k;
    }
    // The shape follows the composed picture: digits are drawn into it before the
    // cut-out colour is taken away.
    QImage composed = OsdArtwork().Image(317).convertToFormat(QImage::Format_RGB32);
    QWidget* w = Window();
    ASSERT_TRUE(w);
    const QRegion plain = RegionFromImage(composed, qRgb(64, 64, 64));
    EXPECT_FALSE(w->mask().isEmpty());
    EXPECT_TRUE(plain.contains(w->mask().boundingRect()) || w->mask().boundingRect() == plain.boundingRect());
}

TEST_F(OsdLibraryTest, InvalidArgumentsShowNothingAndKeepState) {
    Notify(OSD_LOCK, 1);
    Notify(OSD_POLLING_RATE, 4);  // no such rate: the kind stays
    EXPECT_EQ(State().kind, 5);
    EXPECT_EQ(State().pictureId, 324);
    for (std::uint32_t code : {2u, 3u, 4u, 6u, 12u, 0xFFFFu}) Notify(code, 1);
    EXPECT_EQ(State().pictureId, 324);
    Notify(OSD_SIDE_BUTTON, 5);
    EXPECT_EQ(State().kind, 5);
    // A profile above 5 with bit 7 set is taken but not shown.
    const unsigned shown = State().shownCount;
    Notify(OSD_PROFILE_LEVEL, Word(0, 6, true, 0));
    EXPECT_EQ(State().kind, 0);
    EXPECT_EQ(State().pictureId, 324);
    EXPECT_EQ(State().shownCount, shown);
    // A set profile survives a level word whose profile bits are out of range.
    Notify(OSD_SET_PROFILE, 3);
    Notify(OSD_PROFILE_LEVEL, Word(2, 6, false, 10));
    EXPECT_EQ(State().profile, 3);
    EXPECT_EQ(State().pictureId, 318);
}

TEST_F(OsdLibraryTest, ShownForThreeSecondsAndRestartedByANewPicture) {
    Notify(OSD_LOCK, 1);
    ASSERT_EQ(State().visible, 1);
    QTest::qWait(400);
    Notify(OSD_MODE, 1);  // replaces the first in place after a 10 ms redraw
    QTest::qWait(50);
    EXPECT_EQ(State().visible, 1);
    EXPECT_EQ(State().pictureId, 323);
    QTest::qWait(2750);  // 3.2 s after the first, 2.8 s after the second
    EXPECT_EQ(State().visible, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return State().visible == 0; }, 700));
    EXPECT_FALSE(Window()->isVisible());
}

TEST_F(OsdLibraryTest, DisabledDisplayHidesOnTheNextNotification) {
    Notify(OSD_MODE, 0);
    Notify(OSD_ENABLE, 0);
    EXPECT_EQ(State().visible, 1);  // stays until its timer or the next notification
    Notify(OSD_LOCK, 0);
    EXPECT_EQ(State().visible, 0);
    EXPECT_EQ(State().pictureId, 325);
    Notify(OSD_ENABLE, 1);
    Notify(OSD_LOCK, 1);
    EXPECT_EQ(State().visible, 1);
}

TEST_F(OsdLibraryTest, PointerContactHidesOnlyAPictureShownAwayFromThePointer) {
    QCursor::setPos(0, 0);
    Notify(OSD_MODE, 1);
    QWidget* w = Window();
    ASSERT_TRUE(w);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(w, &enter);
    EXPECT_EQ(State().visible, 0);

    Notify(OSD_MODE, 1);
    QCursor::setPos(w->geometry().center());
    if (QCursor::pos() != w->geometry().center()) GTEST_SKIP() << "this platform cannot move the pointer";
    QTest::qWait(50);  // the move reaches the window (and hides it) first
    Notify(OSD_MODE, 0);  // shown again, now with the pointer inside
    QTest::qWait(30);
    QCoreApplication::sendEvent(w, &enter);
    EXPECT_EQ(State().visible, 1);
}

}  // namespace
}  // namespace pallix::test
