#include "tools/vmouse/MouseCommands.h"

#include "device/MemoryMap.h"
#include "device/ReportFormat.h"
#include "tools/vmouse/CommandWords.h"

namespace pallix::vmouse {

namespace {

constexpr std::size_t kMaxRawReport = 64;

CommandResult Event(VirtualMouse::Event e) { return {CommandResult::kEvent, std::move(e), {}}; }
CommandResult Reply(std::string text) { return {CommandResult::kReply, {}, std::move(text)}; }

// raw [@N] HEX...: to interface N, else the event report to the events' interface and
// anything else to the pointer's.
CommandResult Raw(const std::vector<std::string>& w) {
    std::size_t first = 1;
    int target = -1;
    if (w.size() > 1 && w[1].size() > 1 && w[1][0] == '@') {
        const auto n = ParseNumber(w[1].substr(1), 0, 15);
        if (!n) return Reply("error: raw @N takes an interface number 0-15");
        target = *n;
        first = 2;
    }
    if (w.size() <= first || w.size() - first > kMaxRawReport) return Reply("error: raw takes 1-64 hex bytes");
    Bytes bytes;
    for (std::size_t i = first; i < w.size(); ++i) {
        const auto b = ParseHexByte(w[i]);
        if (!b) return Reply("error: raw takes hex bytes");
        bytes.push_back(*b);
    }
    const Channel channel = bytes[0] == report::kEventReportId ? Channel::kEvents : Channel::kPointer;
    return Event({{{channel, std::move(bytes), target}}, {}});
}

}  // namespace

CommandResult MouseCommand(VirtualMouse& mouse, const std::vector<std::string>& w) {
    const std::size_t n = w.size();
    auto arg = [&](std::size_t i, int lo, int hi) { return i < n ? ParseNumber(w[i], lo, hi) : std::nullopt; };
    const std::string verb = n ? w[0] : "";
    if (verb == "profile" && n == 2) {
        if (auto p = arg(1, 1, memmap::kProfileCount)) return Event(mouse.SwitchProfile(*p - 1));
        return Reply("error: profile must be 1-5");
    }
    if (verb == "level" && n == 2) {
        if (auto l = arg(1, 1, memmap::kLevelCount)) return Event(mouse.SwitchLevel(*l - 1));
        return Reply("error: level must be 1-4");
    }
    if (verb == "rate" && n == 2) {
        if (auto hz = arg(1, 1, 1000)) return Event(mouse.SwitchRate(*hz));
        return Reply("error: rate must be 125, 250, 500 or 1000");
    }
    if (verb == "lock" && n == 2 && (w[1] == "on" || w[1] == "off")) return Event(mouse.SwitchLock(w[1] == "on"));
    if (verb == "launch" && n == 3) {
        auto p = arg(1, 1, memmap::kProfileCount);
        auto b = arg(2, 1, 9);
        if (p && b) return Event(mouse.Launch(*p - 1, *b - 1));
        return Reply("error: launch takes a profile 1-5 and a button 1-9");
    }
    if (verb == "side" && n == 2) {
        if (auto b = arg(1, 4, 5)) return Event(mouse.SideButton(*b));
        return Reply("error: side button must be 4 or 5");
    }
    if (verb == "move" && (n == 3 || n == 4)) {
        auto dx = arg(1, -127, 127);
        auto dy = arg(2, -127, 127);
        auto buttons = n == 4 ? arg(3, 0, 0x1F) : std::optional<int>(0);
        if (dx && dy && buttons) return Event(mouse.Move(*dx, *dy, *buttons));
        return Reply("error: move takes DX DY (-127 to 127) and a button mask 0-31");
    }
    if (verb == "raw") return Raw(w);
    if (verb == "fault" && n == 3) {
        auto count = arg(2, 0, 1000000);
        Faults& f = mouse.FaultsRef();
        int* slot = w[1] == "echo" ? &f.wrongEcho : w[1] == "set" ? &f.failSet : w[1] == "get" ? &f.failGet
                  : w[1] == "vanish" ? &f.vanishAfter : nullptr;
        if (!slot || !count) return Reply("error: fault echo|set|get|vanish N");
        *slot = *count;
        return Reply("ok");
    }
    return {};
}

int InterfaceOf(Layout layout, const VirtualMouse::Report& report) {
    return report.interfaceNumber >= 0 ? report.interfaceNumber : InterfaceFor(layout, report.channel);
}

}  // namespace pallix::vmouse
