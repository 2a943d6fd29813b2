#pragma once
// The application object: one instance per user, "/Automation" for a start that is
// to stay in the background, and the main window run modally until it closes.
#include <QStringList>

namespace pallix::app {

class CQX7App {
public:
    // The program's whole life; returns the exit code.
    int Run(const QStringList& arguments);

    static bool IsAutomation(const QStringList& arguments);
};

}  // namespace pallix::app
