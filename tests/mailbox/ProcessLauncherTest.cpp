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

fs::path WriteEntry(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "[Desktop Entry]\n" << body;
    return path;
}

bool IsGone(const std::string& pid) {
    // A zombie still has its /proc entry.
    return !pid.empty() && !fs::exists("/proc/" + pid);
}

}  // namespace

// First in this file: GIO reads the application folders once per process.
TEST(ProcessLauncher, SaysWhatKeepsTheDesktopFromOpeningADocument) {
    test::TempEnv env;
    const fs::path data = env.Root() / "data";
    fs::create_directories(data / "applications");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    // Only our applications, and the system's MIME database.
    fs::create_directories(env.Root() / "share");
    if (fs::exists("/usr/share/mime")) fs::create_directory_symlink("/usr/share/mime", env.Root() / "share" / "mime");
    setenv("XDG_DATA_DIRS", (env.Root() / "share").c_str(), 1);
    // A browser, as installed: its entry and the folder's MIME index.
    WriteEntry(data / "applications" / "browser.desktop",
               "Type=Application\nName=Browser\nExec=/bin/true %U\nMimeType=text/html;\n");
    std::ofstream(data / "applications" / "mimeinfo.cache") << "[MIME Cache]\ntext/html=browser.desktop;\n";
    const fs::path bin = env.Root() / "bin";
    fs::create_directories(bin);
    const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", bin.c_str(), 1);
    const std::string noOpener = DesktopOpenProblem("/somewhere/Information_en.html");
    WriteScript(bin / "xdg-open", "exit 0\n", fs::perms::owner_all);
    const std::string html = DesktopOpenProblem("/somewhere/Information_en.html");
    const std::string picture = DesktopOpenProblem("/somewhere/picture.png");
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_NE(noOpener.find("xdg-open"), std::string::npos) << noOpener;
    EXPECT_EQ(html, "");
    EXPECT_NE(picture.find("image/png"), std::string::npos) << picture;
}

TEST(ProcessLauncher, StartsADesktopEntryAsTheDesktopDoesWithoutAShell) {
    test::TempEnv env;
    const fs::path out = env.Root() / "args";
    const fs::path program = WriteScript(env.Root() / "game",
                                         "echo \"$$ $#:$1\" > '" + out.string() + "'\n", fs::perms::owner_all);
    const fs::path entry = WriteEntry(env.Root() / "game.desktop",
                                      "Type=Application\nName=Space Game\nExec=" + program.string() +
                                          " \"; touch pwned\" %U\n");
    const LaunchTarget target = DescribeLaunchTarget(entry);
    EXPECT_EQ(target.kind, LaunchKind::kDesktopEntry);
    EXPECT_EQ(target.name, "Space Game");
    ASSERT_EQ(LaunchProgram(entry), 1);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(out) && ReadFile(out).find('\n') != std::string::npos; }));
    const std::string line = ReadFile(out);
    EXPECT_EQ(line.substr(line.find(' ') + 1), "1:; touch pwned\n") << "one argument, no field code left";
    EXPECT_FALSE(fs::exists(env.Root() / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
    const std::string pid = line.substr(0, line.find(' '));
    EXPECT_TRUE(WaitFor([&] { return IsGone(pid); })) << "the ended application was reaped";
}

TEST(ProcessLauncher, TellsDesktopEntriesProgramsAndEverythingElseApart) {
    test::TempEnv env;
    const fs::path program = WriteScript(env.Root() / "tool.sh", "exit 0\n", fs::perms::owner_all);
    const fs::path text = WriteScript(env.Root() / "notes.txt", "hello\n", fs::perms::owner_read);
    const fs::path link = WriteEntry(env.Root() / "site.desktop", "Type=Link\nName=Site\nURL=https://example.org\n");
    const fs::path hidden =
        WriteEntry(env.Root() / "gone.desktop", "Type=Application\nName=Gone\nExec=/bin/true\nHidden=true\n");
    const fs::path missing = WriteEntry(env.Root() / "missing.desktop",
                                        "Type=Application\nName=Missing\nExec=/no/such/program\nTryExec=/no/such/program\n");
    const fs::path broken = WriteScript(env.Root() / "broken.desktop", "not an entry\n", fs::perms::owner_all);
    EXPECT_EQ(DescribeLaunchTarget(program).kind, LaunchKind::kProgram);
    EXPECT_EQ(DescribeLaunchTarget(program).name, "tool");
    for (const fs::path& path : {text, link, hidden, missing, broken, env.Root(), env.Root() / "none.desktop", fs::path()}) {
        EXPECT_EQ(DescribeLaunchTarget(path).kind, LaunchKind::kNone) << path;
        EXPECT_EQ(LaunchProgram(path), 0) << path;
    }
}

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
