#pragma once
// --help and --version for every program of the suite. They are answered only when
// given as the first argument, so they never get in the way of a program's own
// arguments ("/Automation").
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pallix {

struct OptionHelp {
    std::string names;  // "/Automation" or "--print-paths"
    std::string text;   // one line
};

struct ProgramHelp {
    std::string program;   // "Pallix"
    std::string synopsis;  // "[/Automation]"
    std::string summary;   // what the program is, one line
    std::vector<OptionHelp> options;
};

inline constexpr const char* kHelpOption = "--help";
inline constexpr const char* kVersionOption = "--version";
// The GUI programs: print where the program finds its files, then exit.
inline constexpr const char* kPrintPathsOption = "--print-paths";

// Usage line, summary and one line per option; --help and --version are listed too.
std::string HelpText(const ProgramHelp& help);
// "<program> <version>\n".
std::string VersionText(const std::string& program);

// Prints the answer to --help or --version on stdout, or calls printPaths for
// --print-paths when given, and gives the exit code; nullopt when the first
// argument is none of them.
std::optional<int> AnswerInfoOption(int argc, char** argv, const ProgramHelp& help,
                                    const std::function<std::string()>& printPaths = {});

}  // namespace pallix
