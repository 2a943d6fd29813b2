// pallixctl doctor: everything between a plugged-in mouse and a working suite, checked
// in order, each failure with what to do about it. Made to be pasted into a bug report.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/InterfaceReport.h"
#include "common/Messages.h"
#include "common/Posting.h"
#include "common/SettingNames.h"
#include "device/AccessHelp.h"
#include "device/CHidClient.h"
#include "device/CIcRK44.h"
#include "device/HidPathOpener.h"
#include "device/MemoryMap.h"
#include "device/ProductIds.h"
#include "platform/DesktopProbe.h"
#include "platform/HidBackends.h"
#include "platform/InstanceLock.h"
#include "platform/MailboxPoster.h"
#include "platform/pointer/PointerReport.h"
#include "platform/SqliteSettingsStore.h"
#include "programinfo/InfoOptions.h"

namespace pallix::cli {

namespace {

enum class Verdict { kOk, kWarn, kFail };

class Report {
public:
    void Line(Verdict v, const std::string& topic, const std::string& text, const std::string& todo = {}) {
        static const char* const kMarks[] = {"ok  ", "warn", "FAIL"};
        std::printf("[%s] %s: %s\n", kMarks[static_cast<int>(v)], topic.c_str(), text.c_str());
        if (todo.empty()) return;
        std::string indented;
        for (char c : todo) indented += c == '\n' ? std::string("\n         ") : std::string(1, c);
        std::printf("       what to do: %s\n", indented.c_str());
        if (v == Verdict::kFail) ++failures_;
    }
    int Failures() const { return failures_; }

private:
    int failures_ = 0;
};

std::string Hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", v & 0xFFFFu);
    return buf;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : ", ") + p;
    return out.empty() ? "none" : out;
}

bool IsVirtual(const std::string& path) { return path.rfind("vhid:", 0) == 0; }

// Where udev looks for rules, most local first.
std::string InstalledRule() {
    for (const char* dir : {"/etc/udev/rules.d", "/run/udev/rules.d", "/lib/udev/rules.d", "/usr/lib/udev/rules.d"}) {
        const std::filesystem::path p = std::filesystem::path(dir) / kUdevRuleName;
        std::error_code ec;
        if (std::filesystem::exists(p, ec)) return p.string();
    }
    return {};
}

struct Mouse {
    std::vector<int> entries;  // indexes into the HID-class table
};

int RunDoctor(const Args& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "usage: pallixctl doctor\n");
        return 2;
    }
    Report report;
    std::printf("pallixctl doctor, %s", VersionText("pallixctl").c_str());
    const auto backends = MakeDefaultHidBackends();
    CHidClient table(backends);
    table.CreateDeviceTable(kMouseVendorId, kMouseProductId, false);  // every interface of the mouse's ids
    std::map<std::string, Mouse> mice;
    for (int i = 0; i < table.GetRecognizedDevices(); ++i) mice[table.GetPhysicalDevice(i)].entries.push_back(i);

    // 1. Is it there?
    const std::string ids = Hex4(kMouseVendorId) + ":" + Hex4(kMouseProductId);
    if (mice.empty()) {
        report.Line(Verdict::kFail, "mouse", "no HID interface with the mouse's USB id " + ids + " is present",
                    "plug the mouse in (a port on the computer, not an unpowered hub). If it is plugged in, "
                    "`lsusb -d " + ids + "` should list it; if lsusb lists it but this does not, the kernel's "
                    "usbhid driver did not take it: see `sudo dmesg | tail -30`.");
    }
    int memoryNodes = 0;
    std::string memoryPath;
    int memoryModel = 0;
    for (const auto& [device, mouse] : mice) {
        const int first = mouse.entries.front();
        std::vector<std::string> nodes, memory, events, sides, closed;
        for (int i : mouse.entries) {
            const InterfaceUse use = UseOf(table, i);
            const std::string path = table.GetDevice(i);
            nodes.push_back(path + " (interface " + std::to_string(table.GetDeviceInterface(i)) + ")");
            if (use.memory) memory.push_back(path);
            if (use.events) events.push_back(path);
            if (use.sideButtons) sides.push_back(path);
            if (table.GetDeviceAccessDenied(i)) closed.push_back(path);
        }
        const unsigned version = table.GetDeviceVer(first);
        report.Line(Verdict::kOk, "mouse",
                    std::string(table.GetDeviceName(first)) + ", " + ids + ", version 0x" + Hex4(version) + ", at " +
                        device + "; nodes: " + Join(nodes));
        if (version != memmap::kModel1802)
            report.Line(memmap::IsKnownModel(static_cast<int>(version)) ? Verdict::kWarn : Verdict::kFail, "model",
                        "version 0x" + Hex4(version) + ": Pallix and Qx7Monitor serve the 0x1802 model only",
                        memmap::IsKnownModel(static_cast<int>(version))
                            ? "pallixctl reads and changes this model (`pallixctl show`)."
                            : "this is not a model the suite knows; `pallixctl devices --all` shows what it offers.");

        // 2. What each node is for.
        if (memory.size() == 1) {
            report.Line(Verdict::kOk, "interfaces",
                        "memory protocol on " + memory[0] + "; event reports on " + Join(events) +
                            "; side buttons on " + Join(sides));
        } else {
            report.Line(Verdict::kFail, "interfaces",
                        memory.empty() ? "no interface carries the memory protocol (the unnumbered 8-byte feature "
                                         "report of a mouse collection)"
                                       : "more than one interface carries the memory protocol: " + Join(memory),
                        "`pallixctl devices --all` shows each interface's collections; attach its output to a "
                        "bug report.");
        }
        if (memory.size() == 1 && events.empty())
            report.Line(Verdict::kWarn, "events",
                        "no interface carries the event report (collection 0008:004b, report a4): the monitor "
                        "cannot show profile or level switches made on the mouse");

        // 3. May this user open it?
        if (closed.empty()) {
            report.Line(Verdict::kOk, "permission", "this user may open every node of the mouse");
        } else {
            const std::string rule = InstalledRule();
            const std::string ruleText = IsVirtual(closed[0]) ? "a virtual mouse refusing access (pallix-vmouse deny)"
                                         : rule.empty() ? std::string("the rule ") + kUdevRuleName + " is not installed"
                                                        : "the rule is installed at " + rule;
            report.Line(Verdict::kFail, "permission", "closed to this user: " + Join(closed) + "; " + ruleText,
                        NoAccessMessage(closed[0]));
        }

        const bool memoryOpen = memory.size() == 1 && std::find(closed.begin(), closed.end(), memory[0]) == closed.end();
        if (memoryOpen && memoryPath.empty()) {
            memoryPath = memory[0];
            memoryModel = static_cast<int>(version);
        }
        memoryNodes += static_cast<int>(memory.size());
    }
    if (mice.size() > 1)
        report.Line(Verdict::kWarn, "mouse", std::to_string(mice.size()) + " mice are plugged in: Pallix asks which to use");

    // 4. Does it answer the memory protocol?
    if (!memoryPath.empty()) {
        CIcRK44 memory(std::make_shared<BackendPathOpener>(backends));
        memory.SetSize(memmap::kMemorySize);
        memory.SetModel(memoryModel);
        if (memory.OpenDevice(memoryPath))
            report.Line(Verdict::kOk, "signature", "the mouse at " + memoryPath + " answers with its signature bytes");
        else
            report.Line(Verdict::kFail, "signature",
                        "the mouse at " + memoryPath + " does not answer the memory protocol (status " +
                            std::to_string(memory.Status()) + ")",
                        "unplug the mouse and plug it back in; close other programs that talk to it; if it stays, "
                        "attach `pallixctl devices --all` to a bug report.");
    }

    // 5. The monitor and its display.
    SqliteSettingsStore store;
    MailboxPoster poster;
    const int monitorPid = InstanceLockHolder(kMonitorInstanceLock);
    const std::uint32_t monitorHandle = store.ReadDword(kMonitorHandle);
    const std::uint32_t osdHandle = store.ReadDword(kOsdHandle);
    if (monitorPid > 0 || (monitorPid < 0 && IsPublishedHandle(monitorHandle) && poster.IsLiveWindow(monitorHandle))) {
        report.Line(Verdict::kOk, "monitor",
                    "Qx7Monitor runs" + (monitorPid > 0 ? " (pid " + std::to_string(monitorPid) + ")" : std::string()) +
                        (memoryNodes ? "" : ", but has no mouse to serve"));
        if (IsPublishedHandle(osdHandle) && poster.IsLiveWindow(osdHandle)) {
            const bool off = store.ReadDword(kDisableOsdValue) == 1;
            report.Line(off ? Verdict::kWarn : Verdict::kOk, "display",
                        off ? "the on-screen display is loaded but switched off (tray menu: Disable OSD)"
                            : "the on-screen display is loaded");
        } else {
            report.Line(Verdict::kFail, "display", "the monitor runs without its on-screen display",
                        "`Qx7Monitor --print-paths` shows whether libQx7Osd.so is found; the display needs an X "
                        "server (XWayland on a Wayland session).");
        }
    } else {
        report.Line(Verdict::kFail, "monitor",
                    "Qx7Monitor is not running: no on-screen display, launcher buttons or per-profile pointer "
                    "settings while Pallix is closed",
                    "start it with `Qx7Monitor /Automation &`; it starts by itself at login from "
                    "/etc/xdg/autostart/pallix-ostrel-monitor.desktop.");
    }

    // 6. What the desktop offers the monitor.
    const DesktopState desktop = ProbeDesktop();
    if (desktop.xServer)
        report.Line(Verdict::kOk, "X server", "DISPLAY=" + desktop.display + " opens");
    else if (!desktop.waylandDisplay.empty())
        report.Line(Verdict::kFail, "X server", "a Wayland session without a reachable XWayland (DISPLAY=" +
                                                    desktop.display + ")",
                    "the on-screen display is an X11 window: enable XWayland in the compositor's settings.");
    else
        report.Line(Verdict::kWarn, "X server",
                    desktop.display.empty() ? "no graphical session here (DISPLAY is not set)"
                                            : "DISPLAY=" + desktop.display + " does not open",
                    "run the doctor from a terminal of the desktop session.");
    if (desktop.statusNotifierHost || desktop.xembedTray)
        report.Line(Verdict::kOk, "tray",
                    std::string("a notification area is there (") +
                        (desktop.statusNotifierHost ? "StatusNotifier host" : "XEmbed tray") + ")");
    else
        report.Line(Verdict::kWarn, "tray", "no notification area: the monitor runs without its icon and menu",
                    "on GNOME, enable the AppIndicator extension; elsewhere add a system tray to the panel.");

    // 7. Which per-profile pointer settings the desktop takes.
    for (const PointerSettingReport& r : ReportDesktopPointerSettings()) {
        std::string via;
        for (const auto& v : r.via) via += (via.empty() ? " (" : ", ") + v;
        if (!via.empty()) via += ")";
        const bool reaches = r.result == PointerResult::Applied;
        report.Line(r.result == PointerResult::Failed ? Verdict::kFail : reaches ? Verdict::kOk : Verdict::kWarn,
                    std::string("pointer ") + PointerSettingName(r.setting),
                    std::string(PointerResultName(r.result)) + via,
                    reaches || r.result == PointerResult::Failed
                        ? std::string()
                        : "the per-profile value is kept, but this desktop does not take it; see the README's "
                          "table of which desktop gets which setting.");
    }

    std::printf("%d problem%s found\n", report.Failures(), report.Failures() == 1 ? "" : "s");
    return report.Failures() ? 1 : 0;
}

const RegisterCommand kDoctor{{"doctor",
                               "  doctor                    check everything between the plugged-in mouse and a\n"
                               "                            working suite, and say what to do about each failure",
                               RunDoctor}};

}  // namespace

}  // namespace pallix::cli
