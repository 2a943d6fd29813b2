#include "programinfo/InfoOptions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifndef PALLIX_VERSION_STRING
#error "PALLIX_VERSION_STRING must name the version"
#endif

namespace pallix {

std::string HelpText(const ProgramHelp& help) {
    std::vector<OptionHelp> options = help.options;
    options.push_back({kHelpOption, "show this text and exit"});
    options.push_back({kVersionOption, "show the version and exit"});
    std::size_t width = 0;
    for (const auto& o : options) width = std::max(width, o.names.size());
    std::string text = "usage: " + help.program + (help.synopsis.empty() ? "" : " " + help.synopsis) + "\n" +
                       help.summary + "\n\noptions:\n";
    for (const auto& o : options)
        text += "  " + o.names + std::string(width - o.names.size() + 2, ' ') + o.text + "\n";
    return text;
}

std::string VersionText(const std::string& program) { return program + " " + PALLIX_VERSION_STRING + "\n"; }

std::optional<int> AnswerInfoOption(int argc, char** argv, const ProgramHelp& help,
                                    const std::function<std::string()>& printPaths) {
    if (argc < 2 || argv[1] == nullptr) return std::nullopt;
    std::string text;
    if (std::strcmp(argv[1], kHelpOption) == 0) text = HelpText(help);
    else if (std::strcmp(argv[1], kVersionOption) == 0) text = VersionText(help.program);
    else if (printPaths && std::strcmp(argv[1], kPrintPathsOption) == 0) text = printPaths();
    else return std::nullopt;
    return std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
}

}  // namespace pallix
