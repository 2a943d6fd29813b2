#include "device/MacroNameChange.h"

#include "common/SettingNames.h"

namespace pallix {

MacroNameChange::MacroNameChange(SettingsStore& store, int profile, int button)
    : store_(store), valueName_(MacroNameValueName(profile, button)) {
    std::string text;
    if (store_.ReadString(valueName_, text)) previous_ = std::move(text);
}

bool MacroNameChange::Write(const std::string& name) {
    if (!store_.WriteString(valueName_, name)) return false;
    written_ = true;
    return true;
}

void MacroNameChange::Revert() {
    if (!written_) return;
    written_ = false;
    if (previous_) store_.WriteString(valueName_, *previous_);
    else store_.DeleteValue(valueName_);
}

}  // namespace pallix
