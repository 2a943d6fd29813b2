#pragma once
// Per pointer setting, what the desktop makes of it: applied, own windows only,
// unsupported or failed, and through whom. For `pallixctl settings pointer`, the
// doctor, and the performance dialog's note.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/PointerSettings.h"
#include "platform/pointer/CompositePointerSettings.h"

namespace pallix {

struct PointerSettingReport {
    PointerSetting setting = PointerSetting::Speed;
    // What the last change of it achieved, or (tried false) what one would.
    PointerResult result = PointerResult::Unsupported;
    bool tried = false;
    std::optional<int> value;       // as the desktop has it now, when it can tell
    std::vector<std::string> via;   // the backends that achieved (or would) result
};

using PointerReport = std::array<PointerSettingReport, 3>;  // speed, double-click, wheel

PointerReport ReportPointerSettings(CompositePointerSettings& pointer);

// The desktop's pointer settings as this process finds them (MakeDesktopPointerSettings).
PointerReport ReportDesktopPointerSettings();

// One line per setting: "speed         12        applied (KDE Plasma)".
std::string FormatPointerReport(const PointerReport& report);

}  // namespace pallix
