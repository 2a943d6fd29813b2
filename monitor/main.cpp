// Qx7Monitor: the background monitor. Started with "/Automation" it stays silent in
// the tray; otherwise it also brings up the configuration program.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include "monitor/CCommandDispatcher.h"
#include "monitor/MonitorPaths.h"
#include "monitor/PlatformChoice.h"
#include "platform/SqliteSettingsStore.h"
#include "programinfo/InfoOptions.h"

namespace {

// Recognised anywhere inside an argument, not only as a whole one.
constexpr const char* kAutomationSwitch = "/Automation";

const pallix::ProgramHelp kHelp{
    "Qx7Monitor",
    "[/Automation]",
    "Background monitor of the Pallix Ostrel mouse: tray icon, on-screen display, launcher buttons.",
    {{kAutomationSwitch, "start silently (at login): do not bring up the configuration program"},
     {pallix::kPrintPathsOption, "print the configuration program, display library, language file and further texts found"}}};

std::string FoundFiles() {
    pallix::SqliteSettingsStore store;
    return pallix::monitor::DescribeFoundFiles(store, pallix::monitor::InstalledMonitorFolders());
}

int gSignalPipe[2] = {-1, -1};

void OnTerminate(int) {
    const char byte = 1;
    (void)!write(gSignalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the loop, so the display is unloaded and withdrawn as on Exit.
void QuitOnTerminate(QApplication& app) {
    if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QApplication::quit);
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (auto code = pallix::AnswerInfoOption(argc, argv, kHelp, FoundFiles)) return *code;
    bool automation = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).find(kAutomationSwitch) != std::string::npos) automation = true;

    // As an argument, not in the environment, which the started programs inherit.
    const pallix::monitor::PlatformChoice choice = pallix::monitor::ChoosePlatform(
        std::getenv("WAYLAND_DISPLAY"), std::getenv("QT_QPA_PLATFORM"), pallix::monitor::XServerReachable);
    std::string platformFlag = pallix::monitor::kQtPlatformOption, platform = choice.platform;
    std::vector<char*> qtArgs(argv, argv + argc);
    if (!platform.empty()) qtArgs.insert(qtArgs.begin() + 1, {platformFlag.data(), platform.data()});
    int qtArgc = static_cast<int>(qtArgs.size());
    qtArgs.push_back(nullptr);
    if (!choice.notice.empty()) std::fprintf(stderr, "Qx7Monitor: %s\n", choice.notice.c_str());

    QApplication app(qtArgc, qtArgs.data());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Qx7Monitor"));

    pallix::monitor::CCommandDispatcher dispatcher(pallix::monitor::InstalledMonitorFolders(), automation,
                                                   choice.display);
    if (!dispatcher.Start()) return 0;
    if (!choice.notice.empty()) dispatcher.ShowNotice(choice.notice);
    QuitOnTerminate(app);
    QObject::connect(&dispatcher, &pallix::monitor::CCommandDispatcher::exitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    const int code = app.exec();
    dispatcher.Shutdown();
    return code;
}
