// The Pallix program as a process: the hidden "/Automation" start and the second
// start that brings the first one forward.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "tests/app/AppFixture.h"

namespace pallix::test {
namespace {

class PallixProcess {
public:
    explicit PallixProcess(std::vector<std::string> extra) {
        std::vector<std::string> argv{BuiltProgram("app/Pallix")};
        argv.insert(argv.end(), extra.begin(), extra.end());
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], nullptr, nullptr, args.data(), environ) != 0) pid_ = -1;
    }
    ~PallixProcess() {
        if (pid_ <= 0 || exited_) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    bool Running() {
        if (pid_ <= 0 || exited_) return false;
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) exited_ = true;
        return !exited_;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
};

TEST_F(AppTest, AutomationStaysQuietUntilASecondStartShowsIt) {
    auto& mouse = AddMouse("m1");
    PallixProcess first({"/Automation"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPublishedHandle(store_.ReadDword(kProcessHandle)); }, 10000));
    QTest::qWait(500);
    EXPECT_TRUE(mouse.Trace().empty());  // hidden: no device traffic at all
    EXPECT_TRUE(first.Running());

    std::string out;
    EXPECT_EQ(RunProgram({BuiltProgram("app/Pallix")}, &out), 0);  // the second start ends at once
    // ... after telling the first to show itself, which now loads the mouse.
    EXPECT_TRUE(QTest::qWaitFor([&] { return WritesOf(mouse).empty() && mouse.Trace().size() > 267; }, 15000));
    EXPECT_TRUE(first.Running());
}

TEST_F(AppTest, CloseFromTheMonitorEndsTheProgramAndWithdrawsItsHandles) {
    AddMouse("m1");
    PallixProcess program({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPublishedHandle(store_.ReadDword(kProcessHandle)); }, 10000));
    EXPECT_EQ(PostToWindow(store_, poster_, kProcessHandle, {WM_CLOSE, 0, 0}), PostResult::Posted);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !program.Running(); }, 10000));
    EXPECT_EQ(store_.ReadDword(kProcessHandle), kDwordMissing);
    EXPECT_EQ(store_.ReadDword(kCurrentDialog), kDwordMissing);
}

}  // namespace
}  // namespace pallix::test
