// pallix-device-dialogs-demo: the performance or the lighting dialog on a real
// mouse (a pallix-vmouse) or on a cache holding the factory defaults.
//   pallix-device-dialogs-demo --dialog perf|led [--model 1801|1802] [--device vhid:NAME]
//                              [--profile N] [--select ZONE] [--seconds N]
// Pointer changes go to this desktop (X server pointer control, Qt hints); settings
// go to the user's settings store unless XDG_CONFIG_HOME points elsewhere.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

#include "device/CIcRK44.h"
#include "device/Defaults.h"
#include "device/HidPathOpener.h"
#include "device/TransferLists.h"
#include "dialogs/lighting/SkinLedDlg.h"
#include "dialogs/performance/SkinCfgDlg.h"
#include "platform/HidBackends.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/pointer/DesktopPointerSettings.h"
#include "platform/pointer/qt/QtPointerSettings.h"

using namespace pallix;

namespace {

// Without a mouse the cache holds what a fresh mouse of that model holds.
void LoadDefaults(CIcRK44& memory) {
    std::vector<std::uint8_t> image(memmap::kMemorySize);
    FillDefaultMemory(image, memory.Model());
    for (int address : BuildLoadList().addresses) memory.StoreClean(address, image[std::size_t(address)]);
}

bool LoadFromMouse(CIcRK44& memory, const std::string& path) {
    if (!memory.OpenDevice(path)) return false;
    for (int address : BuildLoadList().addresses)
        if (!memory.LoadByte(address)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addHelpOption();
    cli.addOption({"dialog", "perf or led", "name", "perf"});
    cli.addOption({"model", "1801 or 1802", "model", "1801"});
    cli.addOption({"device", "mouse path (vhid:NAME)", "path"});
    cli.addOption({"profile", "profile 1-5", "n", "1"});
    cli.addOption({"select", "lighting: zone 0-4 to select", "zone"});
    cli.addOption({"seconds", "close after N seconds (0 = stay)", "n", "0"});
    cli.process(app);

    auto backends = MakeDefaultHidBackends();
    CIcRK44 memory(std::make_shared<BackendPathOpener>(backends));
    memory.ResetCache();
    memory.SetModel(cli.value("model") == "1802" ? memmap::kModel1802 : memmap::kModel1801);
    if (cli.isSet("device")) {
        if (!LoadFromMouse(memory, cli.value("device").toStdString())) {
            std::fprintf(stderr, "no mouse at %s\n", qPrintable(cli.value("device")));
            return 1;
        }
    } else {
        LoadDefaults(memory);
    }

    SqliteSettingsStore store;
    MailboxPoster poster;
    std::vector<std::unique_ptr<PointerSettings>> extra;
    extra.push_back(std::make_unique<QtPointerSettings>());
    auto pointer = MakeDesktopPointerSettings(std::move(extra));
    const int profile = std::clamp(cli.value("profile").toInt(), 1, 5) - 1;

    std::unique_ptr<QDialog> dialog;
    if (cli.value("dialog") == "led") {
        auto led = std::make_unique<CSkinLedDlg>(memory, store);
        led->SetProfile(profile);
        if (cli.isSet("select")) {
            const int zone = cli.value("select").toInt();
            QTimer::singleShot(200, led.get(), [d = led.get(), zone] { d->OnCommand(CSkinLedDlg::IDC_ZONE_FIRST + zone); });
        }
        dialog = std::move(led);
    } else {
        auto perf = std::make_unique<CSkinCfgDlg>(memory, store, *pointer, poster);
        perf->SetProfile(profile);
        dialog = std::move(perf);
    }
    if (const int seconds = cli.value("seconds").toInt(); seconds > 0)
        QTimer::singleShot(seconds * 1000, dialog.get(), [d = dialog.get()] { d->done(CDeviceDialog::kResultCancel); });
    const int result = dialog->exec();
    std::printf("dialog ended with %d\n", result);
    return 0;
}
