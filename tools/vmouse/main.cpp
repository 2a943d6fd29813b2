// pallix-vmouse: a software model of the mouse for tests, demos and development.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device/ProductIds.h"
#include "platform/SeqPacketSocket.h"
#include "programinfo/InfoOptions.h"
#include "tools/vmouse/CommandWords.h"
#include "tools/vmouse/MouseServer.h"

namespace {

using namespace pallix::vmouse;

const char* kUsage =
    "usage: pallix-vmouse [OPTIONS]                 run a virtual mouse until SIGTERM or `send quit`\n"
    "       pallix-vmouse [--name NAME] send COMMAND  tell a running virtual mouse to do something\n"
    "\n"
    "options:\n"
    "  --name NAME          name of the mouse (default vmouse); its interfaces are\n"
    "                       vhid:NAME (0: pointer and memory) and vhid:NAME@1, ...\n"
    "  --layout standard|events-last  interfaces as the mouse has them (default), or\n"
    "                       the events on a third interface ahead of a second pointer\n"
    "  --model 0x1801|0x1802  HID version number (default 0x1802)\n"
    "  --memory FILE        memory image (default in the runtime folder's vmouse/NAME.mem)\n"
    "  --reset-memory       start from the factory memory even when the file exists\n"
    "  --trace FILE         append one line per report: time, set|get|input (@N: on\n"
    "                       interface N), hex bytes\n"
    "  --latency-ms N       delay before answering each feature report\n"
    "  --vid N --pid N      USB identifiers (default the product's)\n"
    "  --product TEXT       product string; --no-product: the mouse gives none\n"
    "  --manufacturer TEXT  manufacturer string; --no-manufacturer: none\n"
    "  --unplugged          start unplugged\n"
    "  --deny-access        refuse every client as a device node closed to the user\n"
    "                       would (it still tells who it is); see `send deny`\n"
    "  --fault-echo N --fault-set N --fault-get N --vanish-after N   as `send fault`\n"
    "  -h, --help           this text\n"
    "  --version            the version\n"
    "\n"
    "commands:\n"
    "  profile N (1-5)      switch profile on the mouse (memory, then event report)\n"
    "  level N (1-4)        switch sensitivity level of the current profile\n"
    "  rate 125|250|500|1000  report-rate switch\n"
    "  lock on|off          lock switch\n"
    "  launch P B           launcher button B (1-9) of profile P (1-5)\n"
    "  side 4|5             press and release side button 4 or 5\n"
    "  move DX DY [BUTTONS] pointer motion (-127-127), BUTTONS a mask held (bit 0 = left)\n"
    "  raw [@N] HEX...      send these bytes as an input report of interface N (default:\n"
    "                       a4 ... to the events' interface, anything else to interface 0)\n"
    "  unplug | plug        remove the device / bring it back\n"
    "  deny on|off          refuse new clients (no permission) / accept them again\n"
    "  fault echo|set|get|vanish N  wrong read echo / failing set / failing get for the\n"
    "                       next N reports; vanish (unplug) after N feature reports\n"
    "  latency MS | status | quit\n";

int Send(const std::string& name, const std::vector<std::string>& words) {
    std::string text;
    for (const auto& w : words) text += (text.empty() ? "" : " ") + w;
    const std::string path = ControlSocketPath(name);
    int fd = pallix::ConnectSeqPacket(path);
    if (fd < 0) {
        std::fprintf(stderr, "pallix-vmouse: no virtual mouse named '%s' is running\n", name.c_str());
        return 1;
    }
    char reply[1024];
    const bool sent = pallix::SendPacket(fd, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    const pallix::RecvResult r =
        sent ? pallix::RecvPacket(fd, reinterpret_cast<std::uint8_t*>(reply), sizeof reply - 1, 5000) : pallix::RecvResult{};
    pallix::CloseFd(fd);
    if (r.status != pallix::RecvStatus::kOk) {
        std::fprintf(stderr, "pallix-vmouse: no answer from '%s'\n", name.c_str());
        return 1;
    }
    const std::string answer(reply, r.size);
    const bool ok = answer.rfind("ok", 0) == 0;
    std::fprintf(ok ? stdout : stderr, "%s\n", answer.c_str());
    return ok ? 0 : 1;
}

bool NumberOption(const char* value, int lo, int hi, int& out, const char* option) {
    const auto v = value ? ParseNumber(value, lo, hi) : std::nullopt;
    if (!v) {
        std::fprintf(stderr, "pallix-vmouse: %s needs a number %d-%d\n", option, lo, hi);
        return false;
    }
    out = *v;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    o.vendorId = pallix::kMouseVendorId;
    o.productId = pallix::kMouseProductId;
    o.product = "PALLIX Ostrel Gaming Mouse";
    o.manufacturer = "Quelta";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        int number = 0;
        bool ok = true;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::fputs(pallix::VersionText("pallix-vmouse").c_str(), stdout);
            return 0;
        } else if (a == "send") {
            if (i + 1 >= argc) {
                std::fputs(kUsage, stderr);
                return 2;
            }
            return Send(o.name, std::vector<std::string>(argv + i + 1, argv + argc));
        } else if (a == "--reset-memory") {
            o.resetMemory = true;
            continue;
        } else if (a == "--unplugged") {
            o.startUnplugged = true;
            continue;
        } else if (a == "--deny-access") {
            o.denyAccess = true;
            continue;
        } else if (a == "--no-product") {
            o.product.reset();
            continue;
        } else if (a == "--no-manufacturer") {
            o.manufacturer.reset();
            continue;
        } else if (!value) {
            ok = false;
        } else if (a == "--name") {
            o.name = value;
        } else if (a == "--memory") {
            o.memoryPath = value;
        } else if (a == "--trace") {
            o.tracePath = value;
        } else if (a == "--product") {
            o.product = value;
        } else if (a == "--manufacturer") {
            o.manufacturer = value;
        } else if (a == "--layout") {
            const auto layout = ParseLayout(value);
            if (layout) o.layout = *layout;
            ok = layout.has_value();
        } else if (a == "--model") {
            ok = NumberOption(value, 0, 0xFFFF, o.model, "--model");
        } else if (a == "--latency-ms") {
            ok = NumberOption(value, 0, 10000, o.latencyMs, "--latency-ms");
        } else if (a == "--vid" || a == "--pid") {
            ok = NumberOption(value, 0, 0xFFFF, number, a.c_str());
            (a == "--vid" ? o.vendorId : o.productId) = static_cast<std::uint16_t>(number);
        } else if (a == "--fault-echo") {
            ok = NumberOption(value, 0, 1000000, o.faults.wrongEcho, "--fault-echo");
        } else if (a == "--fault-set") {
            ok = NumberOption(value, 0, 1000000, o.faults.failSet, "--fault-set");
        } else if (a == "--fault-get") {
            ok = NumberOption(value, 0, 1000000, o.faults.failGet, "--fault-get");
        } else if (a == "--vanish-after") {
            ok = NumberOption(value, 0, 1000000, o.faults.vanishAfter, "--vanish-after");
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "pallix-vmouse: bad option '%s'\n%s", a.c_str(), kUsage);
            return 2;
        }
        ++i;
    }

    MouseServer server(o);
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "pallix-vmouse: %s\n", error.c_str());
        return 1;
    }
    return server.Run();
}
