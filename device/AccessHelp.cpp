#include "device/AccessHelp.h"

#include "common/Placeholders.h"

namespace pallix {

std::string NoAccessMessage(const std::string& path) { return FillPlaceholders(kNoAccessText, {path, kUdevRuleName}); }

}  // namespace pallix
