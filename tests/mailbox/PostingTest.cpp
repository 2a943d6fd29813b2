#include "common/Posting.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "platform/Mailbox.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/mailbox/MailboxTestSupport.h"
#include "tests/support/TempEnv.h"

using namespace pallix;
using pallix::test::DrainAll;

namespace {

using Inbox = std::vector<Message>;

class PostingTest : public ::testing::Test {
protected:
    test::TempEnv env;
    SqliteSettingsStore store{(env.Root() / "settings.sqlite3").string()};
    MailboxPoster poster;
    Mailbox mainWindow, configure, macroEditor, lighting, osd;

    // All five windows of a running system, published.
    void PublishAll() {
        PublishHandle(store, kProcessHandle, mainWindow.Handle());
        PublishHandle(store, kConfigureHandle, configure.Handle());
        PublishHandle(store, kMacroEditHandle, macroEditor.Handle());
        PublishHandle(store, kLedEditHandle, lighting.Handle());
        PublishHandle(store, kOsdHandle, osd.Handle());
    }
};

// What a published value holds in a case of the posting table.
enum class Published { Missing, Zero, MinusOne, Live, Closed, Crashed };

}  // namespace

TEST_F(PostingTest, PostingRulesForBothSenders) {
    struct Case {
        Published value;
        PostResult program;  // configuration program: no liveness test
        PostResult monitor;  // monitor: skips handles that are not live
    };
    const Case cases[] = {
        {Published::Missing, PostResult::NoWindow, PostResult::NoWindow},
        {Published::Zero, PostResult::NoWindow, PostResult::NoWindow},
        {Published::MinusOne, PostResult::NoWindow, PostResult::NoWindow},
        {Published::Live, PostResult::Posted, PostResult::Posted},
        {Published::Closed, PostResult::NotLive, PostResult::NotLive},
        {Published::Crashed, PostResult::NotLive, PostResult::NotLive},
    };
    const Message show{WM_COMMAND, ID_SHOW, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.value));
        for (bool monitor : {false, true}) {
            store.DeleteValue(kProcessHandle);
            switch (c.value) {
            case Published::Missing: break;
            case Published::Zero: store.WriteDword(kProcessHandle, 0); break;
            case Published::MinusOne: store.WriteDword(kProcessHandle, kDwordMissing); break;
            case Published::Live: PublishHandle(store, kProcessHandle, mainWindow.Handle()); break;
            case Published::Closed: {
                Mailbox closed;
                PublishHandle(store, kProcessHandle, closed.Handle());
                break;
            }
            case Published::Crashed:
                PublishHandle(store, kProcessHandle, test::HandleOfCrashedWindow());
                break;
            }
            const PostResult r = monitor ? PostToLiveWindow(store, poster, kProcessHandle, show)
                                         : PostToWindow(store, poster, kProcessHandle, show);
            EXPECT_EQ(r, monitor ? c.monitor : c.program) << ToString(r);
            EXPECT_EQ(DrainAll(mainWindow),
                      c.value == Published::Live ? Inbox{show} : Inbox{});
        }
    }
}

TEST_F(PostingTest, HandleIsReadAtTheMomentOfPosting) {
    Mailbox replacement;
    PublishHandle(store, kOsdHandle, osd.Handle());
    EXPECT_EQ(PostToWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, OSD_ENABLE, 1}), PostResult::Posted);
    PublishHandle(store, kOsdHandle, replacement.Handle());
    EXPECT_EQ(PostToWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, OSD_ENABLE, 0}), PostResult::Posted);
    EXPECT_EQ(DrainAll(osd), (Inbox{{WM_OSD_NOTIFY, OSD_ENABLE, 1}}));
    EXPECT_EQ(DrainAll(replacement), (Inbox{{WM_OSD_NOTIFY, OSD_ENABLE, 0}}));
}

TEST_F(PostingTest, DeviceEventGoesToTheCurrentDialogThenToTheDisplay) {
    PublishAll();
    const std::uint32_t word = PackProfileLevel({2, 3, true, 16, 20});
    const Message event{WM_DEVICE_EVENT, OSD_PROFILE_LEVEL, word};
    const Message notify{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, word};
    struct Case {
        std::optional<std::uint32_t> currentDialog;  // nullopt: value missing
        Mailbox* receiver;
    };
    const Case cases[] = {
        {0, &mainWindow}, {1, &configure}, {2, &macroEditor}, {3, &lighting},
        {4, nullptr}, {std::nullopt, nullptr}, {5, nullptr}, {kDwordMissing, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.currentDialog ? static_cast<long>(*c.currentDialog) : -100L);
        if (c.currentDialog) store.WriteDword(kCurrentDialog, *c.currentDialog);
        else store.DeleteValue(kCurrentDialog);

        const RelayResult r = RelayDeviceEvent(store, poster, OSD_PROFILE_LEVEL, word);
        EXPECT_EQ(r.dialog, c.receiver ? PostResult::Posted : PostResult::NoWindow);
        EXPECT_EQ(r.osd, PostResult::Posted);
        for (Mailbox* window : {&mainWindow, &configure, &macroEditor, &lighting})
            EXPECT_EQ(DrainAll(*window), window == c.receiver ? Inbox{event} : Inbox{});
        EXPECT_EQ(DrainAll(osd), Inbox{notify});
    }
}

TEST_F(PostingTest, RelayToAClosedDialogIsDroppedNotRedirected) {
    PublishAll();
    store.WriteDword(kCurrentDialog, kDialogMacroEditor);
    WithdrawHandle(store, kMacroEditHandle);
    RelayResult r = RelayDeviceEvent(store, poster, OSD_LOCK, 1);
    EXPECT_EQ(r.dialog, PostResult::NoWindow);
    EXPECT_EQ(r.osd, PostResult::Posted);
    EXPECT_EQ(DrainAll(mainWindow), Inbox{});
    EXPECT_EQ(DrainAll(osd), (Inbox{{WM_OSD_NOTIFY, OSD_LOCK, 1}}));

    // A configuration program that crashed left its handle behind; the display still
    // hears about the event, and when the display is gone too nothing is posted.
    store.WriteDword(kCurrentDialog, kDialogMain);
    PublishHandle(store, kProcessHandle, test::HandleOfCrashedWindow());
    WithdrawHandle(store, kOsdHandle);
    r = RelayDeviceEvent(store, poster, OSD_POLLING_RATE, 2);
    EXPECT_EQ(r.dialog, PostResult::NotLive);
    EXPECT_EQ(r.osd, PostResult::NoWindow);
    for (Mailbox* window : {&mainWindow, &configure, &macroEditor, &lighting, &osd})
        EXPECT_EQ(DrainAll(*window), Inbox{});
}

TEST_F(PostingTest, EachHandleIsWithdrawnItsOwnWay) {
    const std::map<std::string, std::optional<std::uint32_t>> expected = {
        {kProcessHandle, std::nullopt},
        {kCurrentDialog, std::nullopt},
        {kConfigureHandle, kDwordMissing},
        {kMacroEditHandle, kDwordMissing},
        {kLedEditHandle, kDwordMissing},
        {kOsdHandle, 0u},
        {kMonitorHandle, 0x1234u},
    };
    for (const auto& [name, after] : expected) {
        SCOPED_TRACE(name);
        ASSERT_EQ(PublishHandle(store, name, 0x1234), 1);
        EXPECT_EQ(store.ReadDword(name), 0x1234u);
        EXPECT_EQ(WithdrawHandle(store, name), 1);
        EXPECT_EQ(store.Lookup(name).has_value(), after.has_value());
        if (after) {
            EXPECT_EQ(store.ReadDword(name), *after);
        }
    }
}
