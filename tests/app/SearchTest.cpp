// The search for the mouse: a mouse this user may not open, a first read that fails,
// and a macro store that fails on the way.
#include <fstream>

#include "app/texts/ExtraTexts.h"
#include "common/SettingNames.h"
#include "device/MemoryMap.h"
#include "tests/app/AppFixture.h"

namespace pallix::test {
namespace {

using namespace pallix::app;
namespace mm = pallix::memmap;

int Refusals(const VmouseProcess& mouse) {
    int n = 0;
    for (const auto& t : mouse.Trace()) n += t.direction == "deny";
    return n;
}

TEST_F(AppTest, AMouseClosedToTheUserIsExplainedOnceAndLoadsOnceOpened) {
    auto& mouse = AddMouse("m1", {"--deny-access"});
    StartWindow();
    EXPECT_EQ(Model().Page(), kPageNoMouse);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_NE(notices_[0].find("The mouse was found at vhid:m1, but this user may not open it."), std::string::npos)
        << notices_[0];
    EXPECT_NE(notices_[0].find("70-pallix-ostrel.rules"), std::string::npos);
    EXPECT_EQ(Model().NoAccessPath(), "vhid:m1");
    EXPECT_TRUE(Model().SearchAgainPending());

    // The search goes on every five seconds; the box does not come back with it.
    const int before = Refusals(mouse);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Refusals(mouse) > before; }, 7000));
    EXPECT_EQ(Model().Page(), kPageNoMouse);
    EXPECT_EQ(notices_.size(), 1u);
    EXPECT_EQ(messages_.size(), 1u);

    ASSERT_TRUE(mouse.Send({"deny", "off"}));
    ASSERT_TRUE(WaitForPage(kPageConfiguration, 12000));
    EXPECT_TRUE(Model().MemoryLoaded());
    EXPECT_EQ(Model().NoAccessPath(), "");
    EXPECT_EQ(notices_.size(), 1u);
}

TEST_F(AppTest, TheClosedMouseIsExplainedInTheUsersLanguage) {
    texts::ParseExtraTexts("no-access = Die Maus unter %1 ist gesperrt; siehe %2.\n");
    AddMouse("m1", {"--deny-access"});
    StartWindow();
    texts::UseEnglishExtraTexts();
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0], "Die Maus unter vhid:m1 ist gesperrt; siehe 70-pallix-ostrel.rules.");
}

TEST_F(AppTest, AFailedFirstReadShowsMessage5AndSearchesAgain) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    // The load has read its first byte; every later read fails.
    ASSERT_TRUE(Model().Busy());
    ASSERT_TRUE(mouse.Send({"fault", "get", "100000"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Model().Page() == kPageNoMouse; }, 10000));
    EXPECT_EQ(messages_, (std::vector<int>{5}));
    EXPECT_FALSE(Model().DeviceReady());
    EXPECT_TRUE(Model().SearchAgainPending());

    ASSERT_TRUE(mouse.Send({"fault", "get", "0"}));
    ASSERT_TRUE(WaitForPage(kPageConfiguration, 15000));
    EXPECT_TRUE(Model().MemoryLoaded());
    EXPECT_EQ(messages_, (std::vector<int>{5}));
}

TEST_F(AppTest, AMacroStoreCutOffMidwayKeepsNoName) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    std::vector<std::uint8_t> image{0x6D, 0x18, 0xA1, 200, 0, 10, 1, 0, 0};
    image.insert(image.end(), 200, 0x04);
    std::ofstream(documents_ / "PALLIX Ostrel" / "Long.Mac", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    const std::string value(MacroNameValueName(p, 4));

    struct Case {
        const char* former;  // nullptr: the button had no name
    };
    for (const Case c : {Case{"Former"}, Case{nullptr}}) {
        SCOPED_TRACE(c.former ? c.former : "no name");
        if (c.former) ASSERT_TRUE(store_.WriteString(value, c.former));
        else store_.DeleteValue(value);
        if (Model().Page() != kPageConfiguration) {
            ASSERT_TRUE(mouse.Send({"plug"}));
            ASSERT_TRUE(WaitForPage(kPageConfiguration, 12000));
        }
        // The mouse goes away after the load's reports and part of the script.
        ASSERT_TRUE(mouse.Send({"fault", "vanish", "60"}));
        Model().Command(IDC_MARKER_FIRST + 4);
        answers_.push_back({prompt::kResultOk, 0, "Long", 0});
        Model().Command(IDC_MACRO);
        ASSERT_TRUE(Model().Busy());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Model().Page() == kPageNoMouse; }, 15000));
        std::string text;
        if (c.former) {
            EXPECT_TRUE(store_.ReadString(value, text));
            EXPECT_EQ(text, c.former);
        } else {
            EXPECT_FALSE(store_.ReadString(value, text)) << text;
        }
    }
}

}  // namespace
}  // namespace pallix::test
