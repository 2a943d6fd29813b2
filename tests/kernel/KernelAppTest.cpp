// The configuration program's main window in this process against the gadget mouse
// through hidraw: one mouse loads without the selection, a change is applied, and a
// mouse pulled in the middle of a load or a stepped apply leaves the no-mouse page.
#include <QElapsedTimer>

#include "device/ButtonFunctions.h"
#include "device/MemoryMap.h"
#include "tests/app/AppFixture.h"
#include "tests/kernel/GadgetMouse.h"

namespace pallix::test {
namespace {

using namespace pallix::app;
namespace mm = pallix::memmap;

class KernelApp : public AppTest {
protected:
    void SetUp() override {
        setenv("PALLIX_HID_BACKENDS", "hidraw", 1);
        ASSERT_TRUE(MouseNodes().empty()) << "a mouse is still plugged";
        mouse_ = std::make_unique<GadgetMouse>(env_);
        ASSERT_TRUE(mouse_->Plug());
    }
    void TearDown() override {
        window_.reset();
        mouse_.reset();
    }
    bool WaitForNoMouse(int ms) { return QTest::qWaitFor([&] { return Model().Page() == kPageNoMouse; }, ms); }

    std::unique_ptr<GadgetMouse> mouse_;
};

TEST_F(KernelApp, OneMouseLoadsWithoutTheSelectionAndSurvivesBeingPulled) {
    VmouseProcess& vmouse = mouse_->Process();
    bool asked = false;
    StartWindowWithSelection([&](CMainFrameModel&, const std::vector<std::string>&) {
        asked = true;
        return 0;
    });
    ASSERT_TRUE(WaitForPage(kPageConfiguration, 120000)) << "page " << Model().Page();
    EXPECT_FALSE(asked) << "the selection opened for one mouse";
    EXPECT_EQ(Model().DeviceCount(), 1);
    EXPECT_TRUE(Model().MemoryLoaded());
    for (const auto& line : vmouse.Trace()) ASSERT_EQ(line.direction.find('@'), std::string::npos) << line.direction;

    // A function change, applied at once.
    const int p = Model().CurrentProfile();
    Model().Command(IDC_MARKER_FIRST + 2);
    answers_.push_back({prompt::kResultOk, kFnBackward});
    Model().Command(IDC_FUNCTION);
    ASSERT_TRUE(Model().ChangesPending());
    vmouse.ClearTrace();
    Model().Command(IDC_APPLY);
    ASSERT_TRUE(WaitIdle(60000));
    EXPECT_EQ(WritesOf(vmouse), (std::vector<std::pair<int, int>>{{mm::ButtonParamAddress(p, 2, 0), 8}}));
    EXPECT_EQ(vmouse.Memory()[static_cast<std::size_t>(mm::ButtonParamAddress(p, 2, 0))], 8);
    EXPECT_FALSE(Model().ChangesPending());

    // Pulled in the middle of a stepped apply: the no-mouse page.
    DirtyButtonParams(30, 1);
    vmouse.ClearTrace();
    Model().Command(IDC_APPLY);
    ASSERT_TRUE(Model().Busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return WritesOf(vmouse).size() >= 3; }, 60000));
    ASSERT_TRUE(mouse_->Unplug());
    ASSERT_TRUE(WaitForNoMouse(60000)) << "page " << Model().Page();
    EXPECT_FALSE(Model().DeviceReady());
    EXPECT_FALSE(Model().ChangesPending());

    // Back, found again and loading; pulled in the middle of that load. The load
    // retries the vanished node before it gives up: the no-mouse page, or the
    // program ends after its message, in either case without hanging for good.
    vmouse.ClearTrace();
    ASSERT_TRUE(mouse_->Plug());
    ASSERT_TRUE(QTest::qWaitFor([&] { return vmouse.Trace().size() > 40; }, 60000));
    ASSERT_TRUE(mouse_->Unplug());
    QElapsedTimer pulled;
    pulled.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Model().Page() == kPageNoMouse || window_->Closed(); }, 180000))
        << "page " << Model().Page();
    std::cout << "load pulled midway: " << (window_->Closed() ? "the program ended" : "no-mouse page") << " after "
              << pulled.elapsed() << " ms; messages:";
    for (int m : messages_) std::cout << " " << m;
    std::cout << "\n";
    EXPECT_FALSE(Model().MemoryLoaded());
}

// The first load failing past its first read ends the program after message 5, as
// any failed load does; a mouse lost between reads gives the no-mouse page.
TEST_F(KernelApp, PulledDuringTheFirstLoadSettlesQuickly) {
    VmouseProcess& vmouse = mouse_->Process();
    StartWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return vmouse.Trace().size() > 40; }, 60000));
    ASSERT_TRUE(mouse_->Unplug());
    QElapsedTimer pulled;
    pulled.start();
    const bool settled = QTest::qWaitFor([&] { return Model().Page() == kPageNoMouse || window_->Closed(); }, 150000);
    std::cout << "first load pulled midway: page " << Model().Page() << (window_->Closed() ? ", program ended" : "")
              << " after " << pulled.elapsed() << " ms; trace lines " << vmouse.Trace().size() << "; messages:";
    for (int m : messages_) std::cout << " " << m;
    std::cout << "\n";
    EXPECT_TRUE(settled);
    EXPECT_LT(pulled.elapsed(), 30000);
    if (window_->Closed()) {
        EXPECT_EQ(messages_, (std::vector<int>{5}));
    }
    EXPECT_FALSE(Model().MemoryLoaded());
}

}  // namespace
}  // namespace pallix::test
