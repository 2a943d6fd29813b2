#include "platform/pointer/PointerReport.h"

#include <cstdio>

#include "platform/pointer/DesktopPointerSettings.h"

namespace pallix {

namespace {

std::optional<int> ValueOf(PointerSettings& p, PointerSetting s) {
    switch (s) {
    case PointerSetting::Speed: return p.Speed();
    case PointerSetting::DoubleClick: return p.DoubleClickTime();
    case PointerSetting::Wheel: return p.WheelScrollLines();
    }
    return std::nullopt;
}

std::string ValueText(const PointerSettingReport& r) {
    if (!r.value) return "?";
    if (r.setting == PointerSetting::Wheel && *r.value == kWheelOnePage) return "one page";
    return std::to_string(*r.value) + (r.setting == PointerSetting::DoubleClick ? " ms" : "");
}

}  // namespace

PointerReport ReportPointerSettings(CompositePointerSettings& pointer) {
    PointerReport report;
    for (int i = 0; i < 3; ++i) {
        PointerSettingReport& r = report[static_cast<std::size_t>(i)];
        r.setting = static_cast<PointerSetting>(i);
        const auto& last = pointer.LastResults(r.setting);
        r.tried = !last.empty();
        std::vector<PointerResult> each;
        for (std::size_t b = 0; b < pointer.BackendCount(); ++b)
            each.push_back(r.tried ? last[b] : pointer.Backend(b).Reach(r.setting));
        for (PointerResult e : each) r.result = BetterPointerResult(r.result, e);
        if (r.result != PointerResult::Unsupported)
            for (std::size_t b = 0; b < each.size(); ++b)
                if (each[b] == r.result) r.via.emplace_back(pointer.Backend(b).Name());
        r.value = ValueOf(pointer, r.setting);
    }
    return report;
}

PointerReport ReportDesktopPointerSettings() {
    auto pointer = MakeDesktopPointerSettings();
    return ReportPointerSettings(*pointer);
}

std::string FormatPointerReport(const PointerReport& report) {
    std::string out;
    for (const auto& r : report) {
        std::string result = PointerResultName(r.result);
        if (!r.via.empty()) {
            result += " (";
            for (std::size_t i = 0; i < r.via.size(); ++i) result += (i ? ", " : "") + r.via[i];
            result += ")";
        }
        char line[512];
        std::snprintf(line, sizeof line, "%-13s %-10s %s\n", PointerSettingName(r.setting), ValueText(r).c_str(),
                      result.c_str());
        out += line;
    }
    return out;
}

}  // namespace pallix
