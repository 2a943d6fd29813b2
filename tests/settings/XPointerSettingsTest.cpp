#include "platform/pointer/XPointerSettings.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace pallix {
namespace {

TEST(XPointerSettingsTest, SpeedRoundTripsThroughTheXServer) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    auto x = XPointerSettings::Create();
    ASSERT_TRUE(x);
    const auto before = x->Speed();
    ASSERT_TRUE(before);
    for (int s : {1, 7, 10, 13, 20}) {
        EXPECT_EQ(x->SetSpeed(s), PointerResult::Applied);
        EXPECT_EQ(x->Speed(), s);
        // A second connection sees it too: the server holds it, not our process.
        auto other = XPointerSettings::Create();
        EXPECT_EQ(other->Speed(), s);
    }
    EXPECT_EQ(x->SetSpeed(21), PointerResult::Failed);
    EXPECT_EQ(x->SetDoubleClickTime(500), PointerResult::Unsupported);
    EXPECT_EQ(x->WheelScrollLines(), std::nullopt);
    x->SetSpeed(*before);
}

TEST(XPointerSettingsTest, NoServerMeansNoBackend) {
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    setenv("DISPLAY", ":9999", 1);
    EXPECT_FALSE(XPointerSettings::Create());
    if (old) setenv("DISPLAY", saved.c_str(), 1);
    else unsetenv("DISPLAY");
}

}  // namespace
}  // namespace pallix
