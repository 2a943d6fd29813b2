#include "device/CIcRK44.h"

#include <gtest/gtest.h>

#include "tests/device/Fixture.h"

namespace pallix::test {
namespace {

using memmap::kModel1801;
using memmap::kModel1802;

class CIcRK44Test : public ::testing::Test, public ScriptedFixture {};

TEST_F(CIcRK44Test, RequestsKeepUnassignedBytesOfTheBuffer) {
    mouse->memory[0x0123] = 0x5A;
    mouse->responseTail = {0x11, 0x22, 0x33, 0x44, 0x55};
    int value = 0;
    ASSERT_EQ(memory.ReadByte(0x0123, value), 1);
    EXPECT_EQ(value, 0x5A);
    ASSERT_EQ(memory.WriteByte(0x0345, 0x17F), 1);  // only the low 8 bits travel
    ASSERT_EQ(memory.SendCommand(3, 3, 0), 1);
    ASSERT_EQ(memory.ReadByte(0x0001, value), 1);

    const auto sets = mouse->Sets();
    ASSERT_EQ(sets.size(), 4u);
    EXPECT_EQ(sets[0], (Report{0x00, 0xDF, 0x23, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(sets[1], (Report{0x00, 0xDE, 0x45, 0x7F, 0x03, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(sets[2], (Report{0x00, 0xC4, 0x03, 0x03, 0x00, 0x00, 0x33, 0x44, 0x55}));
    EXPECT_EQ(sets[3], (Report{0x00, 0xDF, 0x01, 0x00, 0x00, 0x00, 0x33, 0x44, 0x55}));
    // Every fetch starts from an all-zero buffer; every report opens the device anew.
    for (const auto& e : mouse->log)
        if (e.kind == Exchange::kGet) {
            EXPECT_EQ(e.bytes, Report(9, 0));
        }
    EXPECT_EQ(mouse->Count(Exchange::kOpen), 6);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(CIcRK44Test, WrongEchoIsRetriedAndTwentyOfThemFail) {
    mouse->memory[0x200] = 9;
    mouse->wrongEchoes = 3;
    int value = -1;
    ASSERT_EQ(memory.ReadByte(0x200, value), 1);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(sleeps, (std::vector<int>{120, 120, 120}));

    ClearLogs();
    mouse->wrongEchoes = 20;
    value = -1;
    EXPECT_EQ(memory.ReadByte(0x200, value), 0);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(mouse->Count(Exchange::kSet), 20);
    EXPECT_EQ(mouse->Count(Exchange::kGet), 20);
    EXPECT_EQ(Slept(), 20 * 120);
}

TEST_F(CIcRK44Test, FailuresSetStatusAndCostTheirPauses) {
    struct Case {
        const char* name;
        int ScriptedMouse::*fault;
        int status;
        int pausePerAttempt;
    };
    for (const Case& c : {Case{"open", &ScriptedMouse::failOpens, CIcRK44::kStatusOpenFailed, 120},
                          Case{"set", &ScriptedMouse::failSets, CIcRK44::kStatusSetFailed, 240}}) {
        SCOPED_TRACE(c.name);
        ClearLogs();
        (*mouse).*c.fault = 20;
        EXPECT_EQ(memory.WriteByte(1, 1), 0);
        EXPECT_EQ(memory.Status(), c.status);
        EXPECT_EQ(Slept(), 20 * c.pausePerAttempt);
        EXPECT_EQ(memory.SendCommand(0, 0, 0), 1);  // the faults are used up
    }
    ClearLogs();
    mouse->failGets = 1;
    int value = 0;
    EXPECT_EQ(memory.ReadByte(1, value), 1);
    EXPECT_EQ(memory.Status(), CIcRK44::kStatusGetFailed);
    EXPECT_EQ(Slept(), 240);

    memory.ResetCache();
    EXPECT_EQ(memory.Status(), 0);
    EXPECT_EQ(memory.WriteByte(1, 1), 0);
    EXPECT_EQ(memory.Status(), CIcRK44::kStatusNoPath);
}

TEST_F(CIcRK44Test, AddressLimits) {
    EXPECT_EQ(memory.WriteByte(0x4000, 1), 0);
    int value = 0;
    EXPECT_EQ(memory.ReadByte(0x4000, value), 0);
    EXPECT_EQ(memory.ReadByte(-1, value), 0);
    EXPECT_EQ(memory.FlushByte(0x4000), 0);
    EXPECT_EQ(memory.LoadByte(0x4000), 0);
    EXPECT_EQ(memory.SetCached(0x4000, 1), 0);
    EXPECT_TRUE(mouse->log.empty());

    memory.SetSize(0x100);
    memory.SetCached(0x100, 7);
    EXPECT_EQ(memory.FlushByte(0x100), 0);
    EXPECT_EQ(memory.WriteByte(0x3FFF, 1), 1);
}

TEST_F(CIcRK44Test, SetCachedStates) {
    // Not valid: even the equal value is dirty.
    EXPECT_EQ(memory.SetCached(10, 0), 1);
    EXPECT_EQ(memory.Entry(10).valid, 0);
    EXPECT_EQ(memory.Entry(10).dirty, 1);

    Known(11, 5);
    EXPECT_EQ(memory.SetCached(11, 5), 0);
    EXPECT_EQ(memory.Entry(11).dirty, 0);
    EXPECT_EQ(memory.SetCached(11, 6), 1);
    EXPECT_EQ(memory.Entry(11).valid, 1);
    EXPECT_EQ(memory.Entry(11).dirty, 1);
    // Back to the device's value: still dirty (it is not known to be equal any more).
    EXPECT_EQ(memory.SetCached(11, 6), 1);
    EXPECT_TRUE(mouse->log.empty());
}

TEST_F(CIcRK44Test, WriteThroughAndFlushByte) {
    Known(20, 5);
    EXPECT_EQ(memory.WriteThrough(20, 5), 1);
    EXPECT_TRUE(mouse->log.empty());

    EXPECT_EQ(memory.WriteThrough(20, 6), 1);
    EXPECT_EQ(mouse->memory[20], 6);
    EXPECT_EQ(memory.Entry(20).valid, 1);
    EXPECT_EQ(memory.Entry(20).dirty, 0);

    // A failed write leaves the entry as it was.
    mouse->failSets = 20;
    EXPECT_EQ(memory.WriteThrough(20, 7), 0);
    EXPECT_EQ(memory.Entry(20).value, 6);
    EXPECT_EQ(memory.Entry(20).dirty, 0);

    ClearLogs();
    EXPECT_EQ(memory.FlushByte(20), 1);  // clean: nothing to send
    EXPECT_TRUE(mouse->log.empty());
    memory.SetCached(21, 9);
    mouse->failSets = 20;
    EXPECT_EQ(memory.FlushByte(21), 0);
    EXPECT_EQ(memory.Entry(21).dirty, 1);
    EXPECT_EQ(memory.FlushByte(21), 1);
    EXPECT_EQ(mouse->memory[21], 9);
    EXPECT_EQ(memory.Entry(21).valid, 1);
    EXPECT_EQ(memory.Entry(21).dirty, 0);

    EXPECT_EQ(memory.LoadByte(21), 1);
    mouse->failGets = 20;
    memory.Entry(21).value = 3;
    EXPECT_EQ(memory.LoadByte(21), 0);
    EXPECT_EQ(memory.Entry(21).value, 3);
}

TEST_F(CIcRK44Test, SignatureAndModel) {
    memory.ResetCache();
    EXPECT_EQ(memory.Model(), kModel1801);
    EXPECT_EQ(memory.OpenDevice(mouse->path), 1);
    EXPECT_EQ(memory.DevicePath(), mouse->path);
    EXPECT_FALSE(memory.Entry(0xBA).valid);  // signature bytes stay out of the cache

    memory.SetModel(0x1803);
    ClearLogs();
    EXPECT_EQ(memory.CheckSignature(), 0);
    for (const auto& r : mouse->Requests()) EXPECT_EQ(r[2], 0xBA);  // 0xBB is never asked

    memory.SetModel(kModel1802);
    mouse->memory[0xBB] = 0x19;
    EXPECT_EQ(memory.OpenDevice(mouse->path), 0);
    EXPECT_EQ(memory.DevicePath(), mouse->path);  // a failed signature keeps the path

    EXPECT_EQ(memory.OpenDevice("scripted:other"), 0);
    EXPECT_EQ(memory.Status(), CIcRK44::kStatusOpenFailed);
    EXPECT_EQ(memory.DevicePath(), "");
    EXPECT_EQ(memory.SetDevicePath(""), 0);
    EXPECT_EQ(memory.Status(), CIcRK44::kStatusEmptyPath);
}

TEST_F(CIcRK44Test, PathsLongerThanTheFieldAreRefusedWhole) {
    mouse->path = std::string(127, 'p');
    EXPECT_EQ(memory.OpenDevice(mouse->path), 1);
    const std::string tooLong(128, 'p');
    EXPECT_EQ(memory.SetDevicePath(tooLong), 0);
    EXPECT_EQ(memory.DevicePath(), "");
    EXPECT_EQ(memory.Status(), CIcRK44::kStatusEmptyPath);
    EXPECT_EQ(memory.OpenDevice(tooLong), 0);
}

TEST_F(CIcRK44Test, VerifiedReadNeedsTwoEqualReadsInOnePass) {
    int reads = 0;
    mouse->onSet = [&](const Report& r) {
        if (r[1] == 0xDF) mouse->memory[0x30] = static_cast<std::uint8_t>(++reads <= 3 ? reads : 40);
        return true;
    };
    int value = 0;
    ASSERT_EQ(memory.ReadByteVerified(0x30, value), 1);
    EXPECT_EQ(value, 40);
    EXPECT_EQ(reads, 6);  // passes (1,2) and (3,40) disagree, (40,40) agrees

    mouse->onSet = [&](const Report& r) {
        if (r[1] == 0xDF) ++mouse->memory[0x30];
        return true;
    };
    EXPECT_EQ(memory.ReadByteVerified(0x30, value), 0);
    EXPECT_EQ(mouse->Count(Exchange::kGet), 6 + 40);
}

}  // namespace
}  // namespace pallix::test
