// The report-descriptor reader and what it tells about an interface: collections,
// numbering, the memory and event roles, and where buttons 4 and 5 are.
#include <gtest/gtest.h>

#include "device/HidInterfaceRoles.h"
#include "tools/vmouse/Interfaces.h"

namespace pallix::hid {
namespace {

using vmouse::Layout;
using Bytes = std::vector<std::uint8_t>;

Bytes DescriptorOf(Layout layout, int number) {
    return vmouse::InterfacesOf(layout).at(static_cast<std::size_t>(number)).reportDescriptor;
}

TEST(ReportDescriptorTest, TheMouseInterfacesReadAsTheyAreLaidOut) {
    struct Case {
        const char* what;
        Layout layout;
        int number;
        bool numbered;
        std::vector<Usage> collections;
        std::vector<int> mice;
        bool memory, events;
    };
    const Usage kKeyboard = MakeUsage(1, 6), kConsumer = MakeUsage(0x0C, 1);
    const std::vector<Case> cases = {
        {"pointer and memory", Layout::kStandard, 0, false, {kMouseCollection}, {1}, true, false},
        {"numbered interface", Layout::kStandard, 1, true, {kKeyboard, kConsumer, kMouseCollection, kEventCollection},
         {3}, false, true},
        {"keyboard only", Layout::kEventsLast, 1, true, {kKeyboard, kConsumer}, {}, false, false},
        {"events first", Layout::kEventsLast, 2, true, {kEventCollection, kMouseCollection}, {2}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto d = ParseReportDescriptor(DescriptorOf(c.layout, c.number));
        ASSERT_TRUE(d);
        EXPECT_EQ(d->numbered, c.numbered);
        std::vector<Usage> usages;
        for (const TopLevelCollection& t : d->collections) usages.push_back(t.usage);
        EXPECT_EQ(usages, c.collections);
        const InterfaceRoles roles = RolesOf(*d);
        EXPECT_EQ(roles.mouseCollections, c.mice);
        EXPECT_EQ(roles.memory, c.memory);
        EXPECT_EQ(roles.events, c.events);
    }
    const auto pointer = ParseReportDescriptor(DescriptorOf(Layout::kStandard, 0));
    EXPECT_EQ(pointer->ReportBits(ReportType::kInput, 0), 40u);
    EXPECT_EQ(pointer->ReportBits(ReportType::kFeature, 0), 64u);
    const auto numbered = ParseReportDescriptor(DescriptorOf(Layout::kStandard, 1));
    EXPECT_EQ(numbered->ReportBits(ReportType::kInput, 0xA4), 48u);
    EXPECT_EQ(numbered->ReportIds(2, ReportType::kInput), Bytes{3});
}

TEST(ReportDescriptorTest, SideButtonsComeFromTheButtonUsagesWhereverTheyLie) {
    // Buttons 1-8 as an array of two usage indices (logical 1-8), a layout some mice use.
    const Bytes arrayButtons = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x05, 0x09, 0x19, 0x01, 0x29, 0x08,
                                0x15, 0x01, 0x25, 0x08, 0x75, 0x08, 0x95, 0x02, 0x81, 0x00, 0xC0};
    // A mouse collection named by an extended (4-byte) usage, buttons 4 and 5 listed
    // one by one after a byte of padding.
    const Bytes listed = {0x0B, 0x02, 0x00, 0x01, 0x00, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x01,
                          0x05, 0x09, 0x09, 0x05, 0x09, 0x04, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x02,
                          0x81, 0x02, 0x75, 0x06, 0x95, 0x01, 0x81, 0x01, 0xC0};
    constexpr std::uint8_t b4 = SideButtonDecoder::kButton4, b5 = SideButtonDecoder::kButton5;
    struct Case {
        const char* what;
        Bytes descriptor;
        Bytes report;
        std::optional<std::uint8_t> held;
    };
    const std::vector<Case> cases = {
        {"button 4 on the unnumbered pointer", DescriptorOf(Layout::kStandard, 0), {0x08, 0, 0, 0, 0}, b4},
        {"button 5", DescriptorOf(Layout::kStandard, 0), {0x10, 0, 0, 0, 0}, b5},
        {"both", DescriptorOf(Layout::kStandard, 0), {0x18, 0, 0, 0, 0}, b4 | b5},
        {"left held, moving right by 8", DescriptorOf(Layout::kStandard, 0), {0x01, 0x08, 0, 0, 0}, 0},
        {"a report too short for the pointer", DescriptorOf(Layout::kStandard, 0), {0x08}, std::nullopt},
        {"second pointer, report 3", DescriptorOf(Layout::kStandard, 1), {0x03, 0x08, 0, 0, 0, 0, 0}, b4},
        {"keyboard report 1 with the same byte", DescriptorOf(Layout::kStandard, 1), {0x01, 0x08, 0, 0, 0, 0, 0, 0, 0},
         std::nullopt},
        {"the event report is no pointer", DescriptorOf(Layout::kStandard, 1), {0xA4, 1, 0x21, 8, 8, 0, 0}, std::nullopt},
        {"events first, pointer after", DescriptorOf(Layout::kEventsLast, 2), {0x03, 0x10, 0, 0, 0, 0, 0}, b5},
        {"array holding button 4", arrayButtons, {0x04, 0x00}, b4},
        {"array holding buttons 1 and 5", arrayButtons, {0x01, 0x05}, b5},
        {"array holding nothing", arrayButtons, {0x00, 0x00}, 0},
        {"listed usages, 5 before 4", listed, {0x00, 0x01}, b5},
        {"listed usages, second bit", listed, {0xFF, 0x02}, b4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto d = ParseReportDescriptor(c.descriptor);
        ASSERT_TRUE(d);
        const SideButtonDecoder decoder(*d);
        EXPECT_EQ(decoder.Held(c.report.data(), c.report.size()), c.held);
    }
    EXPECT_TRUE(SideButtonDecoder(*ParseReportDescriptor(DescriptorOf(Layout::kEventsLast, 1))).Empty());
}

TEST(ReportDescriptorTest, BrokenDescriptorsAreRefusedWithAReason) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes tooLong(4097, 0x00);
    Bytes hugeReport = {0x75, 0x08, 0x96, 0xFF, 0x7F, 0x81, 0x02};  // 32767 bytes of input
    const std::vector<Case> cases = {
        {"item cut off", {0x05}},
        {"four-byte item cut off", {0x07, 0x01, 0x02}},
        {"long item cut off", {0xFE, 0x05, 0x00, 0x01}},
        {"end without collection", {0xC0}},
        {"collection never closed", {0x09, 0x02, 0xA1, 0x01}},
        {"report id 0", {0x85, 0x00}},
        {"pop without push", {0xB4}},
        {"usage range reversed", {0x19, 0x05, 0x29, 0x01, 0x81, 0x02}},
        {"longer than the kernel allows", tooLong},
        {"report longer than any descriptor", hugeReport},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(ParseReportDescriptor(c.bytes, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(RolesOf(c.bytes).parsed);
    }
    EXPECT_TRUE(ParseReportDescriptor(Bytes{}));  // nothing declared is not broken
    EXPECT_FALSE(RolesOf(Bytes{}).parsed);         // but says nothing about the interface
}

}  // namespace
}  // namespace pallix::hid
