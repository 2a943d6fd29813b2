#include "cli/Command.h"

#include <algorithm>
#include <cstdio>

#include "programinfo/InfoOptions.h"

namespace pallix::cli {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

}  // namespace pallix::cli

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: pallixctl COMMAND [ARGS...]\n\ncommands:\n");
    auto commands = pallix::cli::Commands();
    std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
    for (const auto& c : commands) std::fprintf(out, "%s\n", c.usage.c_str());
    std::fprintf(out, "  help, --help              this text\n");
    std::fprintf(out, "  --version                 the version\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    if (name == pallix::kVersionOption) {
        std::fputs(pallix::VersionText("pallixctl").c_str(), stdout);
        return 0;
    }
    for (const auto& c : pallix::cli::Commands()) {
        if (c.name == name) return c.run(pallix::cli::Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "pallixctl: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
