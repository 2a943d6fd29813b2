// Recording from real X key events: a private Xvfb with a window manager, keys sent
// by xdotool through the X server, so auto-repeat is the server's own.
#include <QProcess>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/macroeditor/EditorFixture.h"

extern char** environ;

namespace pallix::test {
namespace {

using Ops = std::vector<std::uint8_t>;

bool HaveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Xvfb (and openbox on it) for the whole test program.
class PrivateX {
public:
    bool Start() {
        if (!HaveProgram("Xvfb") || !HaveProgram("openbox") || !HaveProgram("xdotool")) return false;
        int fds[2];
        if (pipe(fds) != 0) return false;
        const std::string fd = std::to_string(fds[1]);
        const char* xvfb[] = {"Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp",
                              "-screen", "0", "1280x800x24", nullptr};
        if (posix_spawnp(&xvfb_, "Xvfb", nullptr, nullptr, const_cast<char**>(xvfb), environ) != 0) return false;
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return false;
        setenv("DISPLAY", (":" + number).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        // Without the stock key bindings: the stock ones take PrintScreen for a
        // screenshot, and the program would never see its press.
        char dir[] = "/tmp/pallix-openbox-XXXXXX";
        if (!mkdtemp(dir)) return false;
        config_ = std::string(dir) + "/rc.xml";
        if (FILE* f = std::fopen(config_.c_str(), "w")) {
            std::fputs("<openbox_config xmlns=\"http://openbox.org/3.4/rc\"><keyboard/></openbox_config>\n", f);
            std::fclose(f);
        }
        const char* wm[] = {"openbox", "--config-file", config_.c_str(), nullptr};
        posix_spawnp(&wm_, "openbox", nullptr, nullptr, const_cast<char**>(wm), environ);
        usleep(300 * 1000);
        return true;
    }
    ~PrivateX() {
        for (pid_t pid : {wm_, xvfb_}) {
            if (pid <= 0) continue;
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (config_.empty()) return;
        std::remove(config_.c_str());
        rmdir(config_.substr(0, config_.rfind('/')).c_str());
    }

private:
    pid_t xvfb_ = -1, wm_ = -1;
    std::string config_;
};

bool gHaveX = false;

// Counts the key events that reach the program's windows, before the recorder
// swallows them.
class KeyCounter : public QObject {
public:
    int presses = 0, releases = 0;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched->isWindowType() && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)) {
            ++(e->type() == QEvent::KeyPress ? presses : releases);
        }
        return false;
    }
};

class X11Recording : public EditorFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (!gHaveX) GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
        EditorFixture::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        OpenMacro("Rec");
        ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
        editor->Recorder()->SetUseDetectableAutoRepeat(GetParam());
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        Record();
        qApp->installEventFilter(&keys);  // after the recorder's: it sees events first
    }
    void TearDown() override {
        qApp->removeEventFilter(&keys);
        EditorFixture::TearDown();
    }
    KeyCounter keys;
    // Runs xdotool while the event loop keeps going, then lets waiting events land.
    void Xdotool(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(tool.waitForStarted());
        while (tool.state() != QProcess::NotRunning) QTest::qWait(10);
        ASSERT_EQ(tool.exitCode(), 0);
        QTest::qWait(CMacroRecorder::kRepeatWaitMs * 3);
    }
};

TEST_P(X11Recording, AHeldKeyIsOnePressAndOneRelease) {
    Xdotool({"keydown", "a", "sleep", "1.5", "keyup", "a"});
    EXPECT_GT(keys.presses, 10);  // the server did repeat the key
    // Asked for detectable auto-repeat, the server sends the one real release only.
    if (GetParam()) EXPECT_EQ(keys.releases, 1);
    else EXPECT_GT(keys.releases, 10);
    EXPECT_EQ(Opcodes(), (Ops{0x04, 0x84}));
    Xdotool({"key", "--delay", "30", "a", "a"});  // two taps stay two taps
    EXPECT_EQ(Opcodes(), (Ops{0x04, 0x84, 0x04, 0x84, 0x04, 0x84}));
}

TEST_P(X11Recording, PrintScreenIsRecordedAsPressedAndReleased) {
    Xdotool({"key", "Print"});
    EXPECT_EQ(keys.presses, 1);
    EXPECT_EQ(Opcodes(), (Ops{0x46, 0xC6}));
}

INSTANTIATE_TEST_SUITE_P(DetectableRepeat, X11Recording, ::testing::Values(true, false),
                         [](const auto& info) { return std::string(info.param ? "ServerTellsRepeats" : "TimeStampsAlone"); });

}  // namespace
}  // namespace pallix::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as ctest does while building) needs no X server.
    pallix::test::PrivateX x;
    if (!::testing::GTEST_FLAG(list_tests)) pallix::test::gHaveX = x.Start();
    return RUN_ALL_TESTS();
}
