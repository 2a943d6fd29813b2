#pragma once
// pallixctl's sub-commands register themselves here, one file each.
#include <functional>
#include <string>
#include <vector>

namespace pallix::cli {

using Args = std::vector<std::string>;

struct Command {
    std::string name;
    std::string usage;  // one or more lines, shown by `pallixctl help`
    std::function<int(const Args&)> run;
};

std::vector<Command>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(Command c) { Commands().push_back(std::move(c)); }
};

}  // namespace pallix::cli
