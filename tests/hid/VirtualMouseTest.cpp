// End to end: CHidClient over VirtualHidBackend against real pallix-vmouse processes.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "device/CHidClient.h"
#include "device/ProductIds.h"
#include "platform/SeqPacketSocket.h"
#include "platform/VirtualHidBackend.h"
#include "platform/VirtualHidProtocol.h"
#include "tests/support/VmouseProcess.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

using test::VmouseProcess;
using Bytes = std::vector<std::uint8_t>;

const SUsbId kIds[] = {{kMouseVendorId, kMouseProductId}};

Bytes Hex(const std::string& text) {
    Bytes out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(static_cast<std::uint8_t>(std::stoi(w, nullptr, 16)));
    return out;
}

class VirtualMouseTest : public ::testing::Test {
protected:
    VirtualMouseTest() {
        client.SetMessageSink([this](const std::string& text, const std::string& caption) {
            messages.push_back(caption + "|" + text);
        });
    }

    // One memory-protocol read through the client: request, then the shifted answer.
    Bytes ReadAt(int index, int address) {
        const std::uint8_t request[9] = {0x00, 0xDF, static_cast<std::uint8_t>(address & 0xFF), 0x00,
                                         static_cast<std::uint8_t>(address >> 8), 0, 0, 0, 0};
        if (!client.Write(index, request, 9)) return {};
        std::uint8_t reply[9] = {};
        if (!client.Read(index, reply, 9)) return {};
        return Bytes(reply, reply + 9);
    }
    int WriteAt(int index, int address, std::uint8_t value) {
        const std::uint8_t request[9] = {0x00, 0xDE, static_cast<std::uint8_t>(address & 0xFF), value,
                                         static_cast<std::uint8_t>(address >> 8), 0, 0, 0, 0};
        return client.Write(index, request, 9);
    }
    int Control(int index, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3) {
        const std::uint8_t request[9] = {0x00, 0xC4, p1, p2, p3, 0, 0, 0, 0};
        return client.Write(index, request, 9);
    }

    test::TempEnv env;
    std::shared_ptr<VirtualHidBackend> backend = std::make_shared<VirtualHidBackend>();
    CHidClient client{{backend}};
    std::vector<std::string> messages;
};

TEST_F(VirtualMouseTest, EnumeratesOneAndThenTwoMice) {
    EXPECT_EQ(client.CreateDeviceTable(kIds, 1), 0);
    VmouseProcess m1("m1");
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    EXPECT_EQ(client.GetRecognizedDevices(), 1);
    EXPECT_STREQ(client.GetDevice(0), "vhid:m1");
    EXPECT_EQ(client.GetDeviceVer(0), 0x1802);
    EXPECT_STREQ(client.GetDeviceName(0), "PALLIX Ostrel Gaming Mouse");
    EXPECT_STREQ(client.GetVendorName(0), "Quelta");

    VmouseProcess m2("m2", {"--model", "0x1801", "--no-product"});
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    ASSERT_EQ(client.GetRecognizedDevices(), 2);
    EXPECT_STREQ(client.GetDevice(1), "vhid:m2");
    EXPECT_EQ(client.GetDeviceVer(1), 0x1801);
    EXPECT_STREQ(client.GetDeviceName(1), " ");
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1, 0x1802, 0x1802), 1);
    EXPECT_EQ(client.GetRecognizedDevices(), 1);
    EXPECT_STREQ(client.GetDevice(0), "vhid:m1");

    // The command-line client lists the same.
    std::string out;
    setenv("PALLIX_HID_BACKENDS", "virtual", 1);
    EXPECT_EQ(test::RunPallixctl({"devices"}, &out), 0);
    unsetenv("PALLIX_HID_BACKENDS");
    EXPECT_EQ(out, "0\t0x1802\tPALLIX Ostrel Gaming Mouse\tvhid:m1\n1\t0x1801\t \tvhid:m2\n");

    m1.Stop(SIGKILL);  // a dead mouse's socket stays behind but does not count
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    EXPECT_STREQ(client.GetDevice(0), "vhid:m2");
}

TEST_F(VirtualMouseTest, MemoryProtocolWithShiftedReadsSurvivesRestart) {
    const std::string memory = (env.Root() / "mouse.mem").string();
    {
        VmouseProcess m("m", {"--memory", memory});
        ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
        EXPECT_EQ(ReadAt(0, 0xBA), Hex("00 ba 6d 00 00 00 00 00 00"));
        EXPECT_EQ(ReadAt(0, 0xBB), Hex("00 bb 18 00 00 00 00 00 00"));
        EXPECT_EQ(ReadAt(0, 0x140), Hex("00 40 41 01 00 00 00 00 00"));  // profile 4 control byte
        ASSERT_EQ(WriteAt(0, 0x3FFF, 0x5A), 1);
        EXPECT_EQ(ReadAt(0, 0x3FFF), Hex("00 ff 5a 3f 00 00 00 00 00"));
        ASSERT_EQ(Control(0, 7, 2, 0), 1);
        EXPECT_EQ(ReadAt(0, 0x8C), Hex("00 8c 52 00 00 00 00 00 00"));
        ASSERT_EQ(Control(0, 7, 5, 0), 1);  // no sixth profile: recorded, nothing changes
        EXPECT_EQ(ReadAt(0, 0x8C)[2], 0x52);
        EXPECT_NE(m.Send({"status"}).find("profile=3 level=2 controls=2 last-control=7,5,0"), std::string::npos);
    }
    VmouseProcess again("m", {"--memory", memory});
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    EXPECT_EQ(ReadAt(0, 0x3FFF)[2], 0x5A);
    EXPECT_EQ(ReadAt(0, 0x8C)[2], 0x52);
}

TEST_F(VirtualMouseTest, EveryEventCommandSendsItsReportBytes) {
    VmouseProcess m("m");
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    // Interface 0 sends the unnumbered pointer report, interface 1 the event report.
    std::unique_ptr<HidDevice> interfaces[] = {backend->Open("vhid:m"), backend->Open("vhid:m@1")};
    ASSERT_TRUE(interfaces[0] && interfaces[1]);
    ASSERT_EQ(WriteAt(0, 0x100 + 64 * 2 + 4, 30), 1);  // profile 3, level 4, first copy
    struct Case {
        std::vector<std::string> command;
        int interfaceNumber;
        std::vector<std::string> reports;
    };
    const std::vector<Case> cases = {
        {{"profile", "3"}, 1, {"a4 01 21 08 08 00 00"}},
        {{"level", "4"}, 1, {"a4 02 23 1e 14 00 00"}},
        {{"profile", "1"}, 1, {"a4 01 01 08 08 00 00"}},
        {{"rate", "1000"}, 1, {"a4 04 00 00 00 00 00"}},
        {{"rate", "500"}, 1, {"a4 04 00 00 00 00 01"}},
        {{"rate", "125"}, 1, {"a4 04 00 00 00 00 03"}},
        {{"lock", "on"}, 1, {"a4 03 00 00 00 00 10"}},
        {{"lock", "off"}, 1, {"a4 03 00 00 00 00 00"}},
        {{"launch", "2", "3"}, 1, {"a4 00 00 00 00 0b 00"}},
        {{"launch", "5", "9"}, 1, {"a4 00 00 00 00 2c 00"}},
        {{"side", "4"}, 0, {"08 00 00 00 00", "00 00 00 00 00"}},
        {{"side", "5"}, 0, {"10 00 00 00 00", "00 00 00 00 00"}},
        {{"move", "8", "-2", "1"}, 0, {"01 08 fe 00 00"}},
        {{"raw", "a4", "02", "11", "01", "02", "00", "00"}, 1, {"a4 02 11 01 02 00 00"}},
        {{"raw", "@1", "03", "08", "00", "00", "00", "00", "00"}, 1, {"03 08 00 00 00 00 00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command[0] + " " + c.command[1]);
        std::string expectedReply = "ok\n";
        for (const auto& r : c.reports) expectedReply += r + "\n";
        EXPECT_EQ(m.Send(c.command), expectedReply);
        for (const auto& r : c.reports) {
            std::uint8_t buf[256];
            const int n = interfaces[c.interfaceNumber]->ReadInput(buf, sizeof buf, 1000);
            EXPECT_EQ(Bytes(buf, buf + std::max(n, 0)), Hex(r));
        }
        std::uint8_t buf[256];
        EXPECT_EQ(interfaces[1 - c.interfaceNumber]->ReadInput(buf, sizeof buf, 0), 0);  // not on the other
    }
    // The switches went to the mouse's memory first.
    EXPECT_EQ(ReadAt(0, 0x8C)[2], 0x50);
    EXPECT_EQ(ReadAt(0, 0x180)[2], 0x43);  // profile 3 now at level 4

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"profile", "6"}, {"level", "0"}, {"rate", "300"}, {"launch", "6", "1"},
          {"side", "3"}, {"lock", "x"}, {"move", "200", "0"}, {"move", "1", "1", "32"}, {"raw", "@1"}, {"raw", "xyz"}})
        EXPECT_EQ(m.Send(bad), "") << bad[0];
    for (auto& device : interfaces) {
        std::uint8_t buf[256];
        EXPECT_EQ(device->ReadInput(buf, sizeof buf, 100), 0);  // nothing was sent for those
    }
}

TEST_F(VirtualMouseTest, OneMouseIsOneEntryWhateverTheLayoutAndOnlyItsFirstInterfaceTakesFeatures) {
    for (const char* layout : {"standard", "events-last"}) {
        SCOPED_TRACE(layout);
        VmouseProcess m("m", {"--layout", layout});
        ASSERT_EQ(client.CreateDeviceTable(kIds, 1, 0x1802, 0x1802), 1);
        EXPECT_EQ(client.GetRecognizedDevices(), 1);
        EXPECT_STREQ(client.GetDevice(0), "vhid:m");
        EXPECT_EQ(client.GetDeviceInterface(0), 0);
        // Every interface, as the HID class lists them, numbered and from one device.
        ASSERT_EQ(client.CreateDeviceTable(kMouseVendorId, kMouseProductId, false), 1);
        const int count = std::string(layout) == "standard" ? 2 : 3;
        ASSERT_EQ(client.GetRecognizedDevices(), count);
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(client.GetDeviceInterface(i), i);
            EXPECT_STREQ(client.GetPhysicalDevice(i), "vhid:m");
            EXPECT_FALSE(client.GetDeviceReportDescriptor(i)->empty());
        }
        // An interface that numbers its reports refuses the unnumbered feature report.
        auto numbered = backend->Open("vhid:m@1");
        ASSERT_TRUE(numbered);
        const std::uint8_t request[9] = {0x00, 0xDF, 0xBA, 0x00, 0x00, 0, 0, 0, 0};
        EXPECT_EQ(numbered->SetFeature(request, 9), -1);
        std::uint8_t reply[9] = {};
        EXPECT_EQ(numbered->GetFeature(reply, 9), -1);
    }
}

TEST_F(VirtualMouseTest, TraceShowsEveryReportInAndOut) {
    const auto trace = env.Root() / "trace.log";
    VmouseProcess m("m", {"--trace", trace.string()});
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    ASSERT_EQ(WriteAt(0, 0x167, 0x08), 1);
    ReadAt(0, 0xBA);
    m.Send({"lock", "on"});
    m.Send({"fault", "set", "1"});
    EXPECT_EQ(Control(0, 0, 0, 0), 0);  // refused, and traced as such
    std::ifstream in(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find(' ') + 1));
    EXPECT_EQ(lines, (std::vector<std::string>{"set 00 de 67 08 01 00 00 00 00", "set 00 df ba 00 00 00 00 00 00",
                                               "get 00 ba 6d 00 00 00 00 00 00", "input@1 a4 03 00 00 00 00 10",
                                               "set 00 c4 00 00 00 00 00 00 00 fail"}));
}

TEST_F(VirtualMouseTest, FaultsMisbehaveForTheRequestedNumberOfReports) {
    VmouseProcess m("m");
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    ASSERT_EQ(m.Send({"fault", "echo", "2"}), "ok\n");
    EXPECT_EQ(ReadAt(0, 0xBA)[1], 0xBB);
    EXPECT_EQ(ReadAt(0, 0xBA)[1], 0xBB);
    EXPECT_EQ(ReadAt(0, 0xBA)[1], 0xBA);

    m.Send({"fault", "set", "1"});
    EXPECT_EQ(WriteAt(0, 0x200, 1), 0);
    EXPECT_EQ(WriteAt(0, 0x200, 1), 1);
    m.Send({"fault", "get", "1"});
    EXPECT_EQ(ReadAt(0, 0x200), Bytes{});
    EXPECT_EQ(ReadAt(0, 0x200)[2], 1);
    EXPECT_TRUE(messages.empty());  // failed reports are not failed opens

    m.Send({"fault", "vanish", "3"});
    EXPECT_EQ(WriteAt(0, 0x200, 2), 1);
    EXPECT_EQ(ReadAt(0, 0x200)[2], 2);  // reports two and three
    EXPECT_EQ(WriteAt(0, 0x200, 3), 0);
    EXPECT_EQ(messages, std::vector<std::string>{"Open failed|vhid:m"});
    EXPECT_EQ(client.CreateDeviceTable(kIds, 1), 0);
    EXPECT_EQ(m.Send({"profile", "2"}), "");  // an unplugged mouse sends nothing
    EXPECT_EQ(m.Send({"plug"}), "ok\n");
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    EXPECT_EQ(ReadAt(0, 0x200)[2], 2);
}

TEST_F(VirtualMouseTest, LatencyDelaysEachReport) {
    VmouseProcess m("m", {"--latency-ms", "40"});
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    ReadAt(0, 0xBA);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
}

TEST_F(VirtualMouseTest, MalformedTrafficIsRefusedAndTheMouseKeepsServing) {
    VmouseProcess m("m");
    ASSERT_EQ(client.CreateDeviceTable(kIds, 1), 1);
    const std::string socket = (test::VhidFolder() / "m").string();
    const std::vector<Bytes> attacks = {
        Bytes(1000, 0x02),                             // longer than any message
        {0x02, 0x00, 0xDF},                            // a report before HELLO
        {0x01, 0x09},                                  // unknown protocol version
        {0x7F},                                        // unknown type
        {0x01},                                        // HELLO cut short
    };
    for (const Bytes& a : attacks) {
        int fd = ConnectSeqPacket(socket);
        ASSERT_GE(fd, 0);
        EXPECT_TRUE(SendPacket(fd, a));
        std::uint8_t buf[vhid::kMaxMessage];
        const RecvResult r = RecvPacket(fd, buf, sizeof buf, 2000);
        ASSERT_EQ(r.status, RecvStatus::kOk);
        EXPECT_EQ(buf[0], vhid::kError);
        EXPECT_EQ(RecvPacket(fd, buf, sizeof buf, 2000).status, RecvStatus::kClosed);
        CloseFd(fd);
    }
    // Reports of the wrong shape fail as reports, through the same backend.
    auto device = backend->Open("vhid:m");
    ASSERT_TRUE(device);
    const std::uint8_t shortReport[3] = {0x00, 0xDF, 0xBA};
    EXPECT_EQ(device->SetFeature(shortReport, 3), -1);
    const std::uint8_t numbered[9] = {0x05, 0xDF, 0xBA, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(device->SetFeature(numbered, 9), -1);
    std::uint8_t reply[9] = {0x05};
    EXPECT_EQ(device->GetFeature(reply, 9), -1);
    std::uint8_t big[100] = {};
    EXPECT_EQ(device->SetFeature(big, sizeof big), -1);  // over 64 bytes never leaves
    EXPECT_EQ(device->SetFeature(nullptr, 9), -1);
    EXPECT_EQ(ReadAt(0, 0xBA)[2], 0x6D);
    EXPECT_EQ(backend->Open("vhid:../m"), nullptr);
    EXPECT_EQ(backend->Open("/dev/hidraw0"), nullptr);
}

TEST_F(VirtualMouseTest, ABadMemoryFileIsRefusedAndKept) {
    const auto memory = env.Root() / "short.mem";
    { std::ofstream(memory) << "not a memory image"; }
    std::string out;
    EXPECT_EQ(test::RunProgram({test::VmouseBinary(), "--name", "m", "--memory", memory.string()}, &out), 1);
    std::ifstream in(memory);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a memory image");
    EXPECT_FALSE(std::filesystem::exists(test::VhidFolder() / "m"));
}

TEST_F(VirtualMouseTest, ASecondMouseWithTheSameNameIsRefused) {
    VmouseProcess m("m");
    EXPECT_EQ(test::RunProgram({test::VmouseBinary(), "--name", "m"}), 1);
    EXPECT_EQ(m.Send({"status"}).rfind("ok name=m", 0), 0u);
}

}  // namespace
}  // namespace pallix
