#include "platform/ProcessLauncher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/InstanceLock.h"
#include "platform/Mailbox.h"
#include "tests/support/TempEnv.h"
#include "tests/support/WaitFor.h"

using namespace pallix;
namespace fs = std::filesystem;

namespace {

using pallix::test::WaitFor;

fs::path WriteScript(const fs::path& path, const std::string& body, fs::perms perms) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, perms);
    return path;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<int> DescriptorsOf(pid_t pid) {
    std::set<int> fds;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
        fds.insert(std::stoi(e.path().filename().string()));
    return fds;
}

}  // namespace

TEST(ProcessLauncher, StartsTheProgramAloneDetachedAndReapsIt) {
    test::TempEnv env;
    Mailbox mailbox;
    InstanceLock lock(kMonitorInstanceLock);
    ASSERT_TRUE(mailbox.IsOpen());
    ASSERT_TRUE(lock.IsHeld());

    // The path is handed over as it is: nothing in it is interpreted by a shell.
    const fs::path dir = env.Root() / "odd $(touch pwned) dir";
    fs::create_directories(dir);
    const fs::path out = dir / "args";
    const fs::path program = WriteScript(
        dir / "app; touch pwned",
        "echo \"$# $0\" > '" + out.string() + "'\nexec sleep 30\n", fs::perms::owner_all);

    const pid_t pid = SpawnProgram(program);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitFor([&] {
        return fs::exists(out) && fs::read_symlink("/proc/" + std::to_string(pid) + "/exe")
                                          .filename() == "sleep";
    }));
    EXPECT_EQ(ReadFile(out), "0 " + program.string() + "\n");
    EXPECT_FALSE(fs::exists(env.Root() / "pwned"));
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    EXPECT_EQ(getsid(pid), pid) << "runs in a session of its own";
    // Only stdin, stdout and stderr go along: not our mailbox socket, not our lock.
    // (Right after exec the loader briefly holds files of its own; an inherited
    // descriptor would stay.)
    const std::set<int> standard{0, 1, 2};
    EXPECT_TRUE(WaitFor([&] { return DescriptorsOf(pid) == standard; }, std::chrono::seconds(3)))
        << ::testing::PrintToString(DescriptorsOf(pid));

    kill(pid, SIGTERM);
    EXPECT_TRUE(WaitFor([&] { return !fs::exists("/proc/" + std::to_string(pid)); }))
        << "the ended child was reaped, not left as a zombie";
}

TEST(ProcessLauncher, RefusesWhatIsNotAReadableExecutableFile) {
    test::TempEnv env;
    const fs::path marker = env.Root() / "ran";
    const std::string body = "touch '" + marker.string() + "'\n";
    const fs::path noExec = WriteScript(env.Root() / "plain", body,
                                        fs::perms::owner_read | fs::perms::owner_write);
    const fs::path noAccess = WriteScript(env.Root() / "locked", body, fs::perms::none);
    const fs::path fine = WriteScript(env.Root() / "fine", body, fs::perms::owner_all);

    for (const fs::path& path : {env.Root() / "missing", env.Root(), noExec, noAccess, fs::path()}) {
        EXPECT_EQ(LaunchProgram(path), 0) << path;
        EXPECT_EQ(SpawnProgram(path), -1) << path;
    }
    if (getuid() != 0) {
        // Executable but unreadable (root reads everything).
        const fs::path execOnly = WriteScript(env.Root() / "execonly", body, fs::perms::owner_exec);
        EXPECT_EQ(LaunchProgram(execOnly), 0);
    }
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(LaunchProgram(fine), 1);
    EXPECT_TRUE(WaitFor([&] { return fs::exists(marker); }));
}
