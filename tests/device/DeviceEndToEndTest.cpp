// The transfers against a real pallix-vmouse process, read back from its trace and
// its memory file.
#include <gtest/gtest.h>

#include <algorithm>

#include "device/CIcRK44.h"
#include "device/DefaultTables.h"
#include "device/HidPathOpener.h"
#include "device/TransferEngine.h"
#include "platform/VirtualHidBackend.h"
#include "tests/support/VmouseProcess.h"

namespace pallix::test {
namespace {

using namespace memmap;
using Bytes = std::vector<std::uint8_t>;

Bytes Control(int p1, int p2, int p3) {
    return {0, 0xC4, static_cast<std::uint8_t>(p1), static_cast<std::uint8_t>(p2), static_cast<std::uint8_t>(p3), 0};
}
Bytes Write(int address, int value) {
    return {0, 0xDE, static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(value),
            static_cast<std::uint8_t>(address >> 8)};
}
Bytes Read(int address) {
    return {0, 0xDF, static_cast<std::uint8_t>(address & 0xFF), 0, static_cast<std::uint8_t>(address >> 8)};
}

// What a framed transfer must send: the requests in order, with the blink step after
// every tenth one and the framing reports; the quiet rule drops every p1 = 3.
struct Expected {
    explicit Expected(bool q) : quiet(q) {}
    bool quiet;
    std::vector<Bytes> reports;
    int blink = 0, steps = 0;

    void Add(Bytes r) {
        if (quiet && r[1] == 0xC4 && r[2] == 3) return;
        reports.push_back(std::move(r));
    }
    void Step(Bytes r, bool withBlink = true) {
        Add(std::move(r));
        if (withBlink && ++steps % 10 == 0) {
            Add(Control(3, 0, blink));
            Add(Control(3, 1, (blink + 1) % 8));
            ++blink;
        }
    }
};

// The successful set reports of the trace, cut to the bytes a request defines.
std::vector<Bytes> SetRequests(const std::vector<TraceLine>& trace) {
    std::vector<Bytes> out;
    for (const auto& t : trace) {
        if (t.direction != "set" || t.failed || t.bytes.size() != 9) continue;
        out.emplace_back(t.bytes.begin(), t.bytes.begin() + (t.bytes[1] == 0xC4 ? 6 : 5));
    }
    return out;
}

class DeviceEndToEnd : public ::testing::Test {
protected:
    TempEnv env;
    VmouseProcess vmouse{env, "e2e"};
    std::shared_ptr<HidPathOpener> opener =
        std::make_shared<BackendPathOpener>(std::vector<std::shared_ptr<HidBackend>>{std::make_shared<VirtualHidBackend>()});
    CIcRK44 memory{opener, [](int) {}};
    CDefaultTables tables;
    CTransferEngine engine{memory, tables, [](int) {}};

    void SetUp() override {
        ASSERT_TRUE(vmouse.Ready());
        memory.ResetCache();
        memory.SetModel(kModel1802);
        ASSERT_EQ(memory.OpenDevice(vmouse.Path()), 1);
        vmouse.ClearTrace();
    }
    void Run() {
        while (engine.Step()) {
        }
    }
    void Load() {
        if (engine.StartLoad()) Run();
        ASSERT_EQ(engine.Failure(), TransferFailure::kNone);
        vmouse.ClearTrace();
    }
    // Every byte the cache holds as equal to the mouse is what the mouse holds.
    void ExpectCacheAgrees() {
        const Bytes image = vmouse.Memory();
        ASSERT_EQ(image.size(), static_cast<std::size_t>(kMemorySize));
        int checked = 0;
        for (int a = 0; a < kMemorySize; ++a) {
            const CacheEntry& e = memory.Entry(a);
            if (!e.valid || e.dirty) continue;
            ++checked;
            EXPECT_EQ(e.value, image[static_cast<std::size_t>(a)]) << "address " << a;
        }
        EXPECT_GT(checked, 0);
    }
    std::vector<int> DirtyProfileBytes(int profile, int n) {
        std::vector<int> changed;
        for (int offset : ProfileBlockDefaultOffsets()) {
            if (static_cast<int>(changed.size()) == n) break;
            const int a = ProfileBlock(profile) + offset;
            memory.SetCached(a, (memory.Entry(a).value + 3) & 0xFF);
            changed.push_back(a);
        }
        return changed;
    }
};

TEST_F(DeviceEndToEnd, LoadReadsTheListInFrames) {
    for (bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "loud");
        vmouse.ClearTrace();
        engine.SetQuiet(quiet);
        ASSERT_TRUE(engine.StartLoad());
        Run();
        ASSERT_EQ(engine.Failure(), TransferFailure::kNone);

        Expected expected{quiet};
        expected.Add(Control(2, 0, 0));
        expected.Add(Control(3, 3, 0));
        for (int a : BuildLoadList().addresses) expected.Step(Read(a));
        expected.Add(Control(3, 3, 3));
        const auto trace = vmouse.Trace();
        EXPECT_EQ(SetRequests(trace), expected.reports);
        // Each read request is answered, shifted: 00 LO DATA HI.
        const Bytes image = vmouse.Memory();
        int gets = 0;
        for (std::size_t i = 0; i + 1 < trace.size(); ++i) {
            if (trace[i].direction != "set" || trace[i].bytes[1] != 0xDF) continue;
            const int a = trace[i].bytes[2] | trace[i].bytes[4] << 8;
            ASSERT_EQ(trace[i + 1].direction, "get");
            EXPECT_EQ(trace[i + 1].bytes, (Bytes{0, trace[i].bytes[2], image[static_cast<std::size_t>(a)], trace[i].bytes[4],
                                                 0, 0, 0, 0, 0}));
            ++gets;
        }
        EXPECT_EQ(gets, kLoadListSize);
        ExpectCacheAgrees();
    }
    EXPECT_EQ(tables.Model(), kModel1802);
}

TEST_F(DeviceEndToEnd, ApplyOfNineteenAtOnceAndOfTwentyInSteps) {
    Load();
    for (int count : {19, 20}) {
        for (bool quiet : {false, true}) {
            SCOPED_TRACE(std::to_string(count) + (quiet ? " quiet" : " loud"));
            vmouse.ClearTrace();
            engine.SetQuiet(quiet);
            const auto changed = DirtyProfileBytes(2, count);
            ASSERT_EQ(engine.StartApply(2), count >= 20);
            Run();
            ASSERT_EQ(engine.Failure(), TransferFailure::kNone);

            Expected expected{quiet};
            const bool stepped = count >= 20;
            if (stepped) {
                expected.Add(Control(2, 0, 0));
                expected.Add(Control(3, 3, 0));
            }
            for (int a : changed) expected.Step(Write(a, memory.Entry(a).value), stepped);
            if (stepped) expected.Add(Control(3, 3, 3));
            expected.Add(Control(0, 0, 0));
            EXPECT_EQ(SetRequests(vmouse.Trace()), expected.reports);
            for (int a : changed) EXPECT_FALSE(memory.Entry(a).dirty);
            ExpectCacheAgrees();
        }
    }
}

TEST_F(DeviceEndToEnd, RestoreWritesTheDefaults) {
    Load();
    for (bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "loud");
        vmouse.ClearTrace();
        engine.SetQuiet(quiet);
        const auto changed = DirtyProfileBytes(3, 4);
        // The directory was never loaded, so all of it goes the first time.
        ASSERT_EQ(engine.StartRestore(3), !quiet);
        Run();
        Expected expected{quiet};
        if (!quiet) {
            expected.Add(Control(2, 0, 0));
            expected.Add(Control(3, 3, 0));
            for (const auto& [a, v] : tables.ProfileBlock(3)) {
                if (std::find(changed.begin(), changed.end(), a) != changed.end()) expected.Step(Write(a, v));
            }
            for (const auto& [a, v] : tables.Directory(3)) expected.Step(Write(a, v));
            expected.Add(Control(3, 3, 3));
        }
        expected.Add(Control(0, 0, 0));
        const auto requests = SetRequests(vmouse.Trace());
        if (!quiet) {
            EXPECT_EQ(requests, expected.reports);
        } else {
            // Second time round: only the four changed bytes, at once.
            ASSERT_EQ(requests.size(), 5u);
            EXPECT_EQ(requests.back(), Control(0, 0, 0));
        }
        const Bytes image = vmouse.Memory();
        for (const auto& [a, v] : tables.ProfileBlock(3)) EXPECT_EQ(image[static_cast<std::size_t>(a)], v);
        ExpectCacheAgrees();
    }
}

TEST_F(DeviceEndToEnd, MacroStore) {
    Load();
    for (bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "loud");
        vmouse.ClearTrace();
        engine.SetQuiet(quiet);
        Bytes script(30);
        for (std::size_t i = 0; i < script.size(); ++i) script[i] = static_cast<std::uint8_t>(i * 7 + quiet);
        const int dir = DirectoryEntry(2, 4), slot = MacroSlot(2, 4);
        ASSERT_TRUE(engine.StartMacroStore(2, 4, script, 5));
        Run();
        ASSERT_EQ(engine.Failure(), TransferFailure::kNone);

        Expected expected{quiet};
        expected.Add(Control(2, 0, 0));
        if (!quiet) {  // the directory is written once; the second store finds it clean
            expected.Add(Write(dir, 30));
            expected.Add(Write(dir + 1, 2));
            expected.Add(Write(dir + 3, 5));
        }
        expected.Add(Control(2, 0, 0));
        for (std::size_t i = 0; i < script.size(); ++i)
            expected.Add(Write(slot + static_cast<int>(i), script[i]));
        expected.Add(Control(3, 3, 3));
        EXPECT_EQ(SetRequests(vmouse.Trace()), expected.reports);
        const Bytes image = vmouse.Memory();
        EXPECT_TRUE(std::equal(script.begin(), script.end(), image.begin() + slot));
        ExpectCacheAgrees();
    }
}

TEST_F(DeviceEndToEnd, FailingWriteStaysDirtyAndGoesWithTheNextApply) {
    Load();
    const auto changed = DirtyProfileBytes(1, 5);
    ASSERT_TRUE(vmouse.Send({"fault", "set", "20"}));
    EXPECT_FALSE(engine.StartApply(1));
    EXPECT_TRUE(engine.Incomplete());
    int failed = 0;
    for (const auto& t : vmouse.Trace()) failed += t.failed;
    EXPECT_EQ(failed, 20);
    for (int a : changed) EXPECT_TRUE(memory.Entry(a).dirty);

    vmouse.ClearTrace();
    EXPECT_FALSE(engine.StartApply(1));
    EXPECT_FALSE(engine.Incomplete());
    std::vector<Bytes> expected;
    for (int a : changed) expected.push_back(Write(a, memory.Entry(a).value));
    expected.push_back(Control(0, 0, 0));
    EXPECT_EQ(SetRequests(vmouse.Trace()), expected);
    ExpectCacheAgrees();
}

// Counts what could not be opened once the mouse is gone.
class CountingOpener : public HidPathOpener {
public:
    explicit CountingOpener(std::shared_ptr<HidPathOpener> inner) : inner_(std::move(inner)) {}
    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        auto device = inner_->Open(path);
        failed += device == nullptr;
        return device;
    }
    int failed = 0;

private:
    std::shared_ptr<HidPathOpener> inner_;
};

TEST_F(DeviceEndToEnd, MouseVanishingDuringSteppedApply) {
    Load();
    auto counting = std::make_shared<CountingOpener>(opener);
    CIcRK44 rk(counting, [](int) {});
    rk.SetModel(kModel1802);
    ASSERT_EQ(rk.SetDevicePath(vmouse.Path()), 1);
    for (int a = 0; a < kMemorySize; ++a) rk.Entry(a) = memory.Entry(a);
    CTransferEngine steps(rk, tables, [](int) {});

    std::vector<int> changed;
    for (int offset : ProfileBlockDefaultOffsets()) {
        if (changed.size() == 30) break;
        const int a = ProfileBlock(0) + offset;
        rk.SetCached(a, (rk.Entry(a).value + 1) & 0xFF);
        changed.push_back(a);
    }
    // 2,0,0 and 3,3,0, ten writes, one blink step, two more writes: then it is gone.
    ASSERT_TRUE(vmouse.Send({"fault", "vanish", "16"}));
    ASSERT_TRUE(steps.StartApply(0));
    while (steps.Step()) {
    }
    EXPECT_EQ(steps.Failure(), TransferFailure::kSaveConfigure);
    EXPECT_EQ(steps.Written().size(), 12u);
    // The failed write, then 3,3,3 and 0,0,0 were each tried 20 times.
    EXPECT_EQ(counting->failed, 60);
    EXPECT_EQ(std::vector<std::uint8_t>(rk.Report().begin(), rk.Report().begin() + 6), Control(0, 0, 0));

    const Bytes image = vmouse.Memory();
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const CacheEntry& e = rk.Entry(changed[i]);
        EXPECT_EQ(e.dirty, i >= 12 ? 1 : 0) << i;
        if (i < 12) EXPECT_EQ(image[static_cast<std::size_t>(changed[i])], e.value);
        else EXPECT_NE(image[static_cast<std::size_t>(changed[i])], e.value);
    }
}

}  // namespace
}  // namespace pallix::test
