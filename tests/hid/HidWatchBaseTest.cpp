// The rescan rules behind hotplug where no udev events come: activity on a watched
// descriptor rescans after its debounce, and a periodic rescan catches the rest.
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/HidWatchBase.h"
#include "tests/hid/ScriptedBackend.h"

namespace pallix {
namespace {

using namespace std::chrono_literals;

class PipeWatch : public HidWatchBase {
public:
    PipeWatch(HidBackend& backend, int periodicMs, int debounceMs) : HidWatchBase(backend, periodicMs) {
        if (pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
        AddFd(fds_[0], debounceMs);  // the watch closes the read end
        TakeBaseline();
    }
    ~PipeWatch() override { close(fds_[1]); }
    void Poke() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }

private:
    int fds_[2];
};

HidDeviceInfo Mouse(std::string path) {
    HidDeviceInfo d{std::move(path), 1, 2, 3, "m", "v"};
    d.isMouse = true;
    return d;
}

TEST(HidWatchBaseTest, ActivityRescansAfterTheDebounce) {
    test::ScriptedBackend backend;
    backend.state->devices = {Mouse("a")};
    PipeWatch watch(backend, /*periodicMs=*/60000, /*debounceMs=*/150);
    ASSERT_EQ(watch.Fds().size(), 1u);

    backend.state->devices = {Mouse("b")};
    watch.Poke();
    EXPECT_TRUE(watch.Poll().empty());  // still within the debounce
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(watch.Poll(), (std::vector<HidChange>{{HidChange::kRemoval, "a", true}, {HidChange::kArrival, "b", true}}));
    EXPECT_TRUE(watch.Poll().empty());  // nothing new, and the activity was used up
}

TEST(HidWatchBaseTest, PeriodicRescanFindsChangesWithoutEvents) {
    test::ScriptedBackend backend;
    PipeWatch watch(backend, /*periodicMs=*/150, /*debounceMs=*/0);
    backend.state->devices = {Mouse("a")};
    EXPECT_TRUE(watch.Poll().empty());
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(watch.Poll(), (std::vector<HidChange>{{HidChange::kArrival, "a", true}}));
}

TEST(HidWatchBaseTest, AccessGrantedToAPresentMouseIsAnArrival) {
    test::ScriptedBackend backend;
    HidDeviceInfo closed = Mouse("a");
    closed.accessDenied = true;
    backend.state->devices = {closed};
    PipeWatch watch(backend, /*periodicMs=*/60000, /*debounceMs=*/0);

    backend.state->devices = {Mouse("a")};
    watch.Poke();
    EXPECT_EQ(watch.Poll(), (std::vector<HidChange>{{HidChange::kArrival, "a", true}}));
    // Closed again: it is still there, so nothing arrived or left.
    backend.state->devices = {closed};
    watch.Poke();
    EXPECT_TRUE(watch.Poll().empty());
}

}  // namespace
}  // namespace pallix
