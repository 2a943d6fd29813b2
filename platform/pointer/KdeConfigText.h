#pragma once
// Reading and changing one entry of a KDE configuration file (kdeglobals and the
// like: "[Group]" headers, "Key=value" lines, "[$i]" for entries an administrator
// locked), touching nothing else in the text: comments, other groups, localised
// entries ("Key[de]=") and the order of lines stay as they are.
#include <optional>
#include <string>
#include <string_view>

namespace pallix {

struct KdeEntry {
    std::optional<std::string> value;  // the last plain "Key=value" of the group
    bool locked = false;               // the file, the group or the entry is "[$i]"
};

// group is one plain group name ("KDE"); nested groups ("[A][B]") never match it.
KdeEntry FindKdeEntry(std::string_view text, std::string_view group, std::string_view key);

// The text with key set to value in group: every plain entry of it replaced, or
// one added at the end of the group's last section, or a new group at the end.
// nullopt when the entry is locked.
std::optional<std::string> SetKdeEntry(std::string_view text, std::string_view group, std::string_view key,
                                       std::string_view value);

}  // namespace pallix
