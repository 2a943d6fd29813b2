// pallixctl devices: the mice CHidClient finds, one per line.
#include <cstdio>

#include "cli/Command.h"
#include "cli/InterfaceReport.h"
#include "device/AccessHelp.h"
#include "device/CHidClient.h"
#include "device/ProductIds.h"
#include "platform/HidBackends.h"

namespace pallix::cli {

namespace {

int RunDevices(const Args& args) {
    const bool all = args.size() == 1 && args[0] == "--all";
    if (!args.empty() && !all) {
        std::fprintf(stderr, "usage: pallixctl devices [--all]\n");
        return 2;
    }
    CHidClient client(MakeDefaultHidBackends());
    const SUsbId ids[] = {{kMouseVendorId, kMouseProductId}};
    if (all) client.CreateDeviceTable(0, 0, false);
    else client.CreateDeviceTable(ids, 1);
    const int count = client.GetRecognizedDevices();
    for (int i = 0; i < count; ++i) {
        const bool closed = client.GetDeviceAccessDenied(i);
        if (all) {
            std::fputs(DescribeInterface(client, i).c_str(), stdout);
            continue;
        }
        std::printf("%d\t0x%04x\t%s\t%s%s\n", i, client.GetDeviceVer(i), client.GetDeviceName(i), client.GetDevice(i),
                    closed ? "\t(no permission)" : "");
        if (closed) std::fprintf(stderr, "pallixctl: %s\n", NoAccessMessage(client.GetDevice(i)).c_str());
    }
    if (count == 0) std::fprintf(stderr, "pallixctl: no %s found\n", all ? "HID interface" : "mouse");
    return count > 0 ? 0 : 1;
}

const RegisterCommand kDevices{{"devices",
                                "  devices [--all]           list the mice (index, version, product, path; a mouse\n"
                                "                            this user may not open: \"(no permission)\");\n"
                                "                            --all: every HID interface: its number, top-level\n"
                                "                            collections, report ids, and what the programs use it for",
                                RunDevices}};

}  // namespace

}  // namespace pallix::cli
