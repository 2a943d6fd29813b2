#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/mailbox/MailboxTestSupport.h"
#include "tests/support/TempEnv.h"

using namespace pallix;

namespace {

// A child process that takes the lock and then waits to be killed.
class Holder {
public:
    explicit Holder(const char* name) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            InstanceLock lock(name);
            const char held = lock.IsHeld() ? 'y' : 'n';
            (void)!write(fds[1], &held, 1);
            for (;;) pause();
        }
        close(fds[1]);
        char held = 'n';
        if (read(fds[0], &held, 1) == 1) held_ = held == 'y';
        close(fds[0]);
    }
    ~Holder() { Kill(); }
    bool held() const { return held_; }
    void Kill() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

}  // namespace

TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
    test::TempEnv env;
    std::optional<InstanceLock> first(std::in_place, kPallixInstanceLock);
    ASSERT_TRUE(first->IsHeld());
    {
        InstanceLock second(kPallixInstanceLock);
        EXPECT_FALSE(second.IsHeld());
        EXPECT_TRUE(second.HeldElsewhere());
    }
    EXPECT_EQ(test::RunInChild([] { return InstanceLock(kPallixInstanceLock).IsHeld() ? 1 : 0; }), 0);
    // The two programs' locks are independent.
    EXPECT_TRUE(InstanceLock(kMonitorInstanceLock).IsHeld());

    first.reset();
    EXPECT_TRUE(InstanceLock(kPallixInstanceLock).IsHeld());
    EXPECT_TRUE(std::filesystem::exists(env.RuntimeDir() / kPallixInstanceLock))
        << "the lock file stays";
}

TEST(InstanceLock, AHolderKilledOutrightReleasesIt) {
    test::TempEnv env;
    Holder holder(kMonitorInstanceLock);
    ASSERT_TRUE(holder.held());
    EXPECT_FALSE(InstanceLock(kMonitorInstanceLock).IsHeld());
    holder.Kill();
    EXPECT_TRUE(InstanceLock(kMonitorInstanceLock).IsHeld());
}

TEST(InstanceLock, TheHolderIsFoundWithoutTakingTheLock) {
    test::TempEnv env;
    EXPECT_EQ(InstanceLockHolder(kMonitorInstanceLock), 0);  // never taken
    {
        Holder holder(kMonitorInstanceLock);
        ASSERT_TRUE(holder.held());
        EXPECT_GT(InstanceLockHolder(kMonitorInstanceLock), 0);
        EXPECT_NE(InstanceLockHolder(kMonitorInstanceLock), getpid());
        EXPECT_EQ(InstanceLockHolder(kPallixInstanceLock), 0);
    }
    EXPECT_EQ(InstanceLockHolder(kMonitorInstanceLock), 0);  // file there, nobody holding it
    EXPECT_TRUE(InstanceLock(kMonitorInstanceLock).IsHeld());
    EXPECT_EQ(InstanceLockHolder("../escape"), -1);
}

TEST(InstanceLock, NamesThatAreNotPlainFileNamesAreRefused) {
    test::TempEnv env;
    for (const char* name : {"", ".", "..", "../escape", "a/b"}) {
        InstanceLock lock(name);
        EXPECT_FALSE(lock.IsHeld()) << name;
        EXPECT_FALSE(lock.HeldElsewhere()) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(env.Root() / "run" / "escape"));
}
