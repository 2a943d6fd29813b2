#pragma once
// The application object: one instance per user, "/Automation" for a start that is
// to stay in the background, and the main window run modally until it closes.
#include <array>

#include <QStringList>

namespace pallix::app {

// The spellings of the background start, compared without regard to case.
inline constexpr std::array<const char*, 3> kAutomationSwitches = {"/Automation", "-Automation", "--automation"};

class CQX7App {
public:
    // The program's whole life; returns the exit code.
    int Run(const QStringList& arguments);

    static bool IsAutomation(const QStringList& arguments);
};

}  // namespace pallix::app
