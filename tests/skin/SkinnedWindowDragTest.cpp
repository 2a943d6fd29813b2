// A real drag (xdotool through the X server) on a skinned window under openbox: the
// window manager's own move carries the window, and only the drag band starts one.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "skin/SkinnedWindow.h"
#include "tests/monitor/DesktopSession.h"
#include "tests/support/RunProgram.h"

namespace pallix::test {
namespace {

constexpr int kBand = 40;

class Grip : public QWidget {
public:
    Grip() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) { resize(300, 200); }
    int presses = 0;
    bool ownMove = false;  // the press fell back to following the pointer itself

protected:
    void mousePressEvent(QMouseEvent* e) override {
        ++presses;
        if (skin_.Press(e, e->position().y() < kBand)) ownMove = skin_.Dragging();
    }
    void mouseMoveEvent(QMouseEvent* e) override { skin_.Move(e); }
    void mouseReleaseEvent(QMouseEvent*) override { skin_.Release(); }

private:
    CSkinnedWindow skin_{*this};
};

// Lets Qt run until `done` or the time is up.
template <typename Done>
bool PumpUntil(Done done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void Pump(int ms) { PumpUntil([] { return false; }, ms); }

int Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/xdotool");
    return RunProgram(args);
}

TEST(SkinnedWindowDrag, UnderOpenboxTheBandMovesTheWindowWithTheWindowManager) {
    DesktopSession desktop;
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    if (!HaveProgram("openbox")) GTEST_SKIP() << "needs openbox";
    // A bare configuration: with the stock one (its autostart) openbox here never
    // maps a window this process shows.
    const auto config = std::filesystem::temp_directory_path() / ("pallix-drag-rc-" + std::to_string(getpid()) + ".xml");
    if (FILE* f = std::fopen(config.c_str(), "w")) {
        std::fputs("<openbox_config xmlns=\"http://openbox.org/3.4/rc\"><keyboard/></openbox_config>\n", f);
        std::fclose(f);
    }
    desktop.Spawn({"openbox", "--config-file", config.string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    struct Remove {
        std::filesystem::path path;
        ~Remove() { std::filesystem::remove(path); }
    } removeConfig{config};
    if (!HaveProgram("xdotool")) GTEST_SKIP() << "needs xdotool";
    int argc = 1;
    char name[] = "skinned-window-drag";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");

    Grip grip;
    grip.move(200, 150);
    grip.show();
    Pump(800);  // openbox places and maps it
    ASSERT_TRUE(grip.isVisible());

    struct Case {
        int pressY;
        QPoint expectedMove;
    };
    for (const Case c : {Case{20, QPoint(120, 90)}, Case{kBand + 20, QPoint(0, 0)}}) {
        SCOPED_TRACE(c.pressY);
        const QPoint start = grip.pos();
        const QPoint at = grip.mapToGlobal(QPoint(100, c.pressY));
        const int pressesBefore = grip.presses;
        ASSERT_EQ(Xdotool({"mousemove", std::to_string(at.x()), std::to_string(at.y())}), 0);
        Pump(100);
        ASSERT_EQ(Xdotool({"mousedown", "1"}), 0);
        ASSERT_TRUE(PumpUntil([&] { return grip.presses > pressesBefore; }));
        Pump(200);
        for (int step = 1; step <= 4; ++step) {
            const QPoint to = at + QPoint(120, 90) * step / 4;
            ASSERT_EQ(Xdotool({"mousemove", std::to_string(to.x()), std::to_string(to.y())}), 0);
            Pump(60);
        }
        ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
        const QPoint expected = start + c.expectedMove;
        PumpUntil([&] { return grip.pos() == expected; });
        Pump(200);
        EXPECT_EQ(grip.pos(), expected);
        EXPECT_FALSE(grip.ownMove) << "the window manager offers the move; ours is only the fallback";
    }
}

}  // namespace
}  // namespace pallix::test
