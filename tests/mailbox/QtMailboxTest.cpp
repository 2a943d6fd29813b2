#include "platform/qt/QtMailbox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <thread>

#include "platform/MailboxPoster.h"
#include "tests/support/TempEnv.h"

using namespace pallix;

namespace {

class QtMailboxTest : public ::testing::Test {
protected:
    test::TempEnv env;
    int argc = 1;
    char name[8] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};

    // Runs the event loop until done() or a generous limit.
    template <typename Predicate>
    bool RunUntil(Predicate done) {
        QTimer limit;
        limit.setSingleShot(true);
        limit.start(10000);
        while (!done() && limit.isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }
};

}  // namespace

TEST_F(QtMailboxTest, DeliversEveryPostInOrderOnTheOwningThread) {
    QtMailbox mailbox;
    ASSERT_TRUE(mailbox.isOpen());
    std::vector<Message> got;
    bool offThread = false;
    QObject::connect(&mailbox, &QtMailbox::messageReceived, [&](const Message& m) {
        offThread |= QThread::currentThread() != app.thread();
        got.push_back(m);
    });

    // Another thread posts far more than the queue holds; it retries what the busy
    // receiver could not take yet, so everything must arrive exactly once, in order.
    constexpr std::uint32_t kCount = 500;
    const WindowHandle target = mailbox.handle();
    std::thread sender([target] {
        MailboxPoster poster;
        for (std::uint32_t i = 0; i < kCount; ++i) {
            while (poster.Post(target, {WM_OSD_NOTIFY, i, ~i}) == PostResult::Busy)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const bool done = RunUntil([&] { return got.size() >= kCount; });
    sender.join();
    ASSERT_TRUE(done) << got.size();
    ASSERT_EQ(got.size(), kCount);
    for (std::uint32_t i = 0; i < kCount; ++i)
        ASSERT_EQ(got[i], (Message{WM_OSD_NOTIFY, i, ~i})) << i;
    EXPECT_FALSE(offThread);
}

TEST_F(QtMailboxTest, AHandlerMayCloseTheWindowMidway) {
    auto* mailbox = new QtMailbox;
    MailboxPoster poster;
    for (std::uint32_t i = 0; i < 3; ++i)
        ASSERT_EQ(poster.Post(mailbox->handle(), {WM_CLOSE, i, 0}), PostResult::Posted);
    int delivered = 0;
    QObject::connect(mailbox, &QtMailbox::messageReceived, [&](const Message&) {
        ++delivered;
        delete mailbox;
    });
    RunUntil([&] { return delivered > 0; });
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 1);
}
