// The device-socket messages: what encodes decodes back, and malformed packets are
// rejected rather than read past their end.
#include <gtest/gtest.h>

#include "platform/VirtualHidProtocol.h"

namespace pallix::vhid {
namespace {

TEST(VirtualHidProtocolTest, EncodedMessagesDecodeBack) {
    DeviceInfo info{0x1209, 0x0001, 0x1802, 1, Bytes(700, 0x09), "Mouse", std::nullopt};
    auto m = Decode(EncodeInfo(info));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->type, kInfo);
    EXPECT_EQ(m->info, info);
    info.accessDenied = true;  // a mouse that refuses the client still says who it is
    m = Decode(EncodeInfo(info));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->info, info);

    const Bytes report{0x00, 0xDE, 0x67, 0x08, 0x01, 0, 0, 0, 0};
    m = Decode(EncodeSetFeature(report));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->report, report);

    m = Decode(EncodeGetResult(kFailed, {}));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->status, kFailed);
    EXPECT_TRUE(m->report.empty());

    m = Decode(EncodeGetFeature(0, 9));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->length, 9);
}

TEST(VirtualHidProtocolTest, MalformedPacketsAreRejected) {
    const Bytes info = EncodeInfo({1, 2, 3, 0, {0x05, 0x01}, "abc", "de"});
    const std::vector<std::pair<const char*, Bytes>> bad = {
        {"empty", {}},
        {"unknown type", {0x42, 0}},
        {"hello without version", {kHello}},
        {"hello with extra", {kHello, 1, 2}},
        {"set without report", {kSetFeature}},
        {"report longer than 64", Bytes(66, kSetFeature)},
        {"packet longer than the most a message holds", Bytes(kMaxMessage + 1, kInput)},
        {"get of length 0", {kGetFeature, 0, 0}},
        {"get of length 65", {kGetFeature, 0, 65}},
        {"short set result", {kSetResult, 0}},
        {"bad status", {kSetResult, 7, 9}},
        {"ok get without data", {kGetResult, kOk}},
        {"info cut in the string", Bytes(info.begin(), info.end() - 1)},
        {"info with trailing byte", [&] { Bytes b = info; b.push_back(0); return b; }()},
        {"info with a descriptor over 1024 bytes", {kInfo, 1, 0, 2, 0, 3, 0, 0, 0, 0x01, 0x04}},
        {"info descriptor longer than the packet", {kInfo, 1, 0, 2, 0, 3, 0, 0, 0, 3, 0, 1}},
        {"info string longer than the packet", {kInfo, 1, 0, 2, 0, 3, 0, 1, 0, 0, 0, 200, 'a'}},
        {"info with unknown flags", {kInfo, 1, 0, 2, 0, 3, 0, 8, 0, 0, 0}},
    };
    for (const auto& [what, bytes] : bad) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(Decode(bytes));
    }
}

TEST(VirtualHidProtocolTest, Names) {
    EXPECT_TRUE(IsValidName("m1"));
    EXPECT_TRUE(IsValidName("mouse_2.a-b"));
    for (const char* n : {"", ".hidden", "a/b", "a b", "..", "x\n"}) EXPECT_FALSE(IsValidName(n)) << n;
    EXPECT_FALSE(IsValidName(std::string(65, 'a')));
}

TEST(VirtualHidProtocolTest, EachInterfaceHasASocketOfItsOwn) {
    EXPECT_EQ(InterfaceSocketName("m1", 0), "m1");
    EXPECT_EQ(InterfaceSocketName("m1", 2), "m1@2");
    std::string name;
    int number = -1;
    EXPECT_TRUE(SplitSocketName("m1@2", name, number));
    EXPECT_EQ(name, "m1");
    EXPECT_EQ(number, 2);
    EXPECT_TRUE(SplitSocketName("m1", name, number));
    EXPECT_EQ(number, 0);
    for (const char* bad : {"m1@", "m1@0", "m1@01", "m1@x", "@1", "m1@1@2", "m1@100", ".m@1"})
        EXPECT_FALSE(SplitSocketName(bad, name, number)) << bad;
}

}  // namespace
}  // namespace pallix::vhid
