#include "platform/pointer/qt/QtPointerSettings.h"

#include <QGuiApplication>
#include <QStyleHints>

#include <gtest/gtest.h>

#include "platform/pointer/DesktopPointerSettings.h"

namespace pallix {
namespace {

class QtPointerSettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_pointer_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    QtPointerSettings qt;
};

TEST_F(QtPointerSettingsTest, OwnWindowsFollowTheHints) {
    EXPECT_EQ(qt.SetDoubleClickTime(730), PointerResult::OwnWindowsOnly);
    EXPECT_EQ(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 730);
    EXPECT_EQ(qt.DoubleClickTime(), 730);
    EXPECT_EQ(qt.SetWheelScrollLines(7), PointerResult::OwnWindowsOnly);
    EXPECT_EQ(QGuiApplication::styleHints()->wheelScrollLines(), 7);
    EXPECT_EQ(qt.SetWheelScrollLines(kWheelOnePage), PointerResult::OwnWindowsOnly);
    EXPECT_EQ(qt.WheelScrollLines(), kWheelOnePage);
    EXPECT_EQ(qt.SetSpeed(10), PointerResult::Unsupported);
    EXPECT_EQ(qt.SetDoubleClickTime(0), PointerResult::Failed);
    EXPECT_EQ(qt.DoubleClickTime(), 730);
}

TEST_F(QtPointerSettingsTest, TheDesktopCompositeReportsPerSetting) {
    std::vector<std::unique_ptr<PointerSettings>> extra;
    extra.push_back(std::make_unique<QtPointerSettings>());
    auto desktop = MakeDesktopPointerSettings(std::move(extra));
    EXPECT_EQ(desktop->SetWheelScrollLines(4), PointerResult::OwnWindowsOnly);  // no desktop keeps wheel lines here
    EXPECT_EQ(desktop->WheelScrollLines(), 4);
    const PointerResult speed = desktop->SetSpeed(12);
    EXPECT_TRUE(speed == PointerResult::Applied || speed == PointerResult::Unsupported);
    EXPECT_EQ(desktop->Speed(), 12);
}

}  // namespace
}  // namespace pallix
