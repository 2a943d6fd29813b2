// Stands in for the configuration program where the monitor starts or addresses it:
// publishes its main window as "Process Handle" ("Current Dialog" 0), appends every
// message it gets to $HOME/fake-pallix.log ("started" first), and quits on WM_CLOSE
// the way the real one withdraws its values.
#include <cstdio>
#include <fstream>
#include <string>

#include <QCoreApplication>

#include "common/Posting.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/qt/QtMailbox.h"

namespace {
void Log(const std::string& line) {
    const char* home = std::getenv("HOME");
    std::ofstream(std::string(home ? home : "/tmp") + "/fake-pallix.log", std::ios::app) << line << std::endl;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    pallix::SqliteSettingsStore store;
    pallix::QtMailbox window;
    if (!window.isOpen()) return 1;
    QObject::connect(&window, &pallix::QtMailbox::messageReceived, [&](const pallix::Message& m) {
        Log(std::to_string(m.message) + " " + std::to_string(m.wParam) + " " + std::to_string(m.lParam));
        if (m.message == pallix::WM_CLOSE) QCoreApplication::quit();
    });
    pallix::PublishHandle(store, pallix::kProcessHandle, window.handle());
    store.WriteDword(pallix::kCurrentDialog, pallix::kDialogMain);
    Log("started " + std::to_string(argc - 1));
    const int code = app.exec();
    pallix::WithdrawHandle(store, pallix::kCurrentDialog);
    pallix::WithdrawHandle(store, pallix::kProcessHandle);
    Log("ended");
    return code;
}
