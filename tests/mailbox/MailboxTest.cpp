#include "platform/Mailbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/MailboxPoster.h"
#include "platform/UnixAddress.h"
#include "tests/mailbox/MailboxTestSupport.h"
#include "tests/support/TempEnv.h"

using namespace pallix;
using pallix::test::DrainAll;
using pallix::test::RunInChild;

namespace {

class MailboxTest : public ::testing::Test {
protected:
    test::TempEnv env;
    Mailbox receiver;
    MailboxPoster poster;

    // Sends raw bytes (optionally with a descriptor attached) to the receiver.
    void SendRaw(const void* data, std::size_t size, int passFd = -1) {
        UnixAddress address;
        ASSERT_TRUE(MakeUnixAddress(receiver.Path(), address));
        const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        iovec io{const_cast<void*>(data), size};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))]{};
        msghdr header{};
        header.msg_name = const_cast<sockaddr*>(address.get());
        header.msg_namelen = address.length;
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        if (passFd >= 0) {
            header.msg_control = control;
            header.msg_controllen = sizeof control;
            cmsghdr* c = CMSG_FIRSTHDR(&header);
            c->cmsg_level = SOL_SOCKET;
            c->cmsg_type = SCM_RIGHTS;
            c->cmsg_len = CMSG_LEN(sizeof(int));
            std::memcpy(CMSG_DATA(c), &passFd, sizeof(int));
        }
        EXPECT_EQ(sendmsg(fd, &header, MSG_DONTWAIT), static_cast<ssize_t>(size));
        close(fd);
    }
};

std::size_t OpenDescriptorCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

}  // namespace

TEST_F(MailboxTest, HandlesAreUniquePublishableAndNameTheSocketFile) {
    ASSERT_TRUE(receiver.IsOpen());
    std::vector<std::unique_ptr<Mailbox>> more;
    std::set<WindowHandle> handles{receiver.Handle()};
    for (int i = 0; i < 40; ++i) {
        more.push_back(std::make_unique<Mailbox>());
        ASSERT_TRUE(more.back()->IsOpen());
        EXPECT_TRUE(IsPublishedHandle(more.back()->Handle()));
        handles.insert(more.back()->Handle());
    }
    EXPECT_EQ(handles.size(), 41u);
    EXPECT_EQ(receiver.Path(), MailboxPath(env.RuntimeDir().string(), receiver.Handle()));
    EXPECT_TRUE(std::filesystem::exists(receiver.Path()));
    EXPECT_EQ(std::filesystem::path(receiver.Path()).filename().string().size(), 12u);
}

TEST_F(MailboxTest, NoMailboxWithoutAPrivateRuntimeFolder) {
    const auto blocker = env.Root() / "file";
    { FILE* f = fopen(blocker.c_str(), "w"); fclose(f); }
    setenv("XDG_RUNTIME_DIR", blocker.c_str(), 1);
    Mailbox mailbox;
    EXPECT_FALSE(mailbox.IsOpen());
    EXPECT_EQ(mailbox.Handle(), 0u);
    EXPECT_FALSE(mailbox.Receive());
}

TEST_F(MailboxTest, PostsArriveInOrderWithTheirValuesIntact) {
    std::vector<Message> sent, got;
    for (std::uint32_t round = 0; round < 50; ++round) {
        for (std::uint32_t i = 0; i < 8; ++i) {
            const std::uint32_t n = round * 8 + i;
            const Message m{WM_OSD_NOTIFY + (n % 3), n, n % 2 ? 0xFFFFFFFFu : n * 0x01010101u};
            ASSERT_EQ(poster.Post(receiver.Handle(), m), PostResult::Posted);
            sent.push_back(m);
        }
        for (const Message& m : DrainAll(receiver)) got.push_back(m);
    }
    EXPECT_EQ(got, sent);
    EXPECT_EQ(receiver.DroppedCount(), 0u);
}

TEST_F(MailboxTest, PostToAClosedOrCrashedWindowIsSkipped) {
    WindowHandle closed;
    {
        Mailbox gone;
        closed = gone.Handle();
        EXPECT_TRUE(poster.IsLiveWindow(closed));
    }
    EXPECT_FALSE(poster.IsLiveWindow(closed));
    EXPECT_EQ(poster.Post(closed, {WM_OSD_NOTIFY, 0, 0}), PostResult::NotLive);

    const WindowHandle crashed = test::HandleOfCrashedWindow();
    ASSERT_NE(crashed, 0u);
    const std::string leftOver = MailboxPath(env.RuntimeDir().string(), crashed);
    ASSERT_TRUE(std::filesystem::exists(leftOver));
    EXPECT_FALSE(poster.IsLiveWindow(crashed));
    EXPECT_EQ(poster.Post(crashed, {WM_OSD_NOTIFY, 0, 0}), PostResult::NotLive);
    EXPECT_FALSE(std::filesystem::exists(leftOver)) << "the stale socket file is cleaned up";

    EXPECT_EQ(poster.Post(0, {WM_CLOSE, 0, 0}), PostResult::NoWindow);
    EXPECT_EQ(poster.Post(kDwordMissing, {WM_CLOSE, 0, 0}), PostResult::NoWindow);
    EXPECT_FALSE(poster.IsLiveWindow(0));
    EXPECT_FALSE(poster.IsLiveWindow(kDwordMissing));
}

TEST_F(MailboxTest, AForkedChildClosingItsCopyLeavesTheWindowAlive) {
    auto inherited = std::make_unique<Mailbox>();
    ASSERT_EQ(RunInChild([&] {
                  inherited.reset();
                  return 0;
              }),
              0);
    EXPECT_TRUE(poster.IsLiveWindow(inherited->Handle()));
    EXPECT_EQ(poster.Post(inherited->Handle(), {1, 2, 3}), PostResult::Posted);
}

TEST_F(MailboxTest, LivenessProbeLeavesTheReceiverUntouched) {
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(poster.IsLiveWindow(receiver.Handle()));
    EXPECT_FALSE(receiver.Receive());
    EXPECT_EQ(receiver.DroppedCount(), 0u);
    // Nor does probing a full queue get in the way of posting afterwards.
    ASSERT_EQ(poster.Post(receiver.Handle(), {1, 2, 3}), PostResult::Posted);
    EXPECT_EQ(DrainAll(receiver), (std::vector<Message>{{1, 2, 3}}));
}

TEST_F(MailboxTest, PostNeverBlocksOnAReceiverThatIsStuck) {
    alarm(20);  // a blocking post would hang here; the default action ends the test
    std::vector<Message> accepted;
    int busy = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t i = 0; i < 2000; ++i) {
        const PostResult r = poster.Post(receiver.Handle(), {WM_DEVICE_EVENT, i, 0});
        if (r == PostResult::Posted) accepted.push_back({WM_DEVICE_EVENT, i, 0});
        else if (r == PostResult::Busy) ++busy;
        else ADD_FAILURE() << ToString(r);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    alarm(0);
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    EXPECT_GT(busy, 0);
    EXPECT_EQ(poster.BusyCount(), static_cast<std::uint64_t>(busy));
    EXPECT_FALSE(accepted.empty());
    // What was accepted is delivered, in order; once drained, posting works again.
    EXPECT_EQ(DrainAll(receiver), accepted);
    EXPECT_EQ(poster.Post(receiver.Handle(), {WM_DEVICE_EVENT, 1, 1}), PostResult::Posted);
}

TEST_F(MailboxTest, DatagramsThatAreNotWellFormedMessagesAreDropped) {
    const Message good{WM_OSD_NOTIFY, OSD_LOCK, 1};
    const auto wire = EncodeMailboxMessage(good);
    auto with = [&](std::size_t offset, std::uint32_t value) {
        auto copy = wire;
        std::memcpy(&copy[offset], &value, sizeof value);
        return copy;
    };
    const auto badMagic = with(0, 0x12345678);
    const auto badVersion = with(4, 2);
    const auto badReserved = with(8, 1);
    std::byte longer[kMailboxWireSize + 8]{};
    std::memcpy(longer, wire.data(), wire.size());
    std::byte huge[4096];
    std::memset(huge, 0xAB, sizeof huge);

    SendRaw(wire.data(), 0);
    SendRaw(wire.data(), kMailboxWireSize - 1);
    SendRaw(longer, sizeof longer);
    SendRaw(huge, sizeof huge);
    SendRaw(badMagic.data(), badMagic.size());
    SendRaw(badVersion.data(), badVersion.size());
    SendRaw(badReserved.data(), badReserved.size());
    SendRaw(wire.data(), wire.size());

    EXPECT_EQ(DrainAll(receiver), (std::vector<Message>{good}));
    EXPECT_EQ(receiver.DroppedCount(), 7u);
}

TEST_F(MailboxTest, DescriptorsSentAlongAreNotKeptByTheReceiver) {
    const int passed = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const auto wire = EncodeMailboxMessage({WM_OSD_NOTIFY, OSD_MODE, 1});
    SendRaw(wire.data(), wire.size(), passed);
    close(passed);
    const std::size_t before = OpenDescriptorCount();
    EXPECT_TRUE(receiver.Receive());
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(MailboxTest, AnotherUserCannotPost) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to become another user";
    constexpr uid_t kNobody = 65534;
    const WindowHandle target = receiver.Handle();
    const std::string path = receiver.Path();

    // The folder keeps other users out, whether they go through our poster or not.
    const int throughPoster = RunInChild([&] {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 100;
        MailboxPoster theirs;
        return static_cast<int>(theirs.Post(target, {WM_CLOSE, 0, 0}));
    });
    EXPECT_EQ(throughPoster, static_cast<int>(PostResult::Failed));
    const int direct = RunInChild([&] {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 100;
        UnixAddress address;
        const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        const auto wire = EncodeMailboxMessage({WM_CLOSE, 0, 0});
        if (!MakeUnixAddress(path, address)) return 101;
        if (sendto(fd, wire.data(), wire.size(), 0, address.get(), address.length) >= 0) return 0;
        return errno == EACCES ? 13 : 102;
    });
    EXPECT_EQ(direct, 13);

    // A socket that got in while still privileged is caught by the sender's uid.
    const int smuggled = RunInChild([&] {
        UnixAddress address;
        const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        if (!MakeUnixAddress(path, address) || connect(fd, address.get(), address.length) != 0)
            return 101;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 100;
        const auto wire = EncodeMailboxMessage({WM_CLOSE, 0, 0});
        return send(fd, wire.data(), wire.size(), 0) == static_cast<ssize_t>(wire.size()) ? 0 : 102;
    });
    ASSERT_EQ(smuggled, 0);
    EXPECT_FALSE(receiver.Receive());
    EXPECT_EQ(receiver.DroppedCount(), 1u);
}
