#pragma once
// The monitor's one application object: single instance, the hidden window (a
// mailbox published as "Monitor Handle") with its commands and timers, the display
// library, the tray icon, the device table and the mouse's input reports.
#include <memory>
#include <set>
#include <string>

#include <QLibrary>
#include <QObject>
#include <QTimer>

#include "common/PointerSettings.h"
#include "device/CHidClient.h"
#include "monitor/CTaskIcon.h"
#include "monitor/DeviceEvents.h"
#include "monitor/HandleKeeper.h"
#include "monitor/MouseInput.h"
#include "platform/InstanceLock.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/qt/QtMailbox.h"

namespace pallix::monitor {

inline constexpr int TIMER_DEVICE_ARRIVAL = 0x4000;
inline constexpr int TIMER_DEVICE_REMOVAL = 0x4001;
inline constexpr int TIMER_AUTO_LAUNCH = 0x4002;
inline constexpr int kRescanDelayMs = 300;
inline constexpr int kAutoLaunchDelayMs = 500;
inline constexpr std::uint16_t kMonitorVersion = 0x1802;
inline constexpr const char* kTrayTooltip = "Quelta PALLIX Ostrel";
inline constexpr const char* kVandraWebsite = "https://www.vandra.example/pallix-ostrel";

struct MonitorFolders {
    std::string own;             // the monitor's own folder
    std::string installedBin;    // where Pallix is installed
    std::string installedLib;    // where libQx7Osd.so is installed
    std::string installedLanguages;
    std::string installedTexts;  // the texts beyond the menu (app/texts/ExtraTexts.h)
};

class CCommandDispatcher : public QObject, public HidNotifyReceiver {
    Q_OBJECT
public:
    // withDisplay false: the display library is not loaded (no place to show it).
    CCommandDispatcher(MonitorFolders folders, bool automation, bool withDisplay = true);
    ~CCommandDispatcher() override;

    // Runs the start-up sequence. Returns false when this process is a second
    // instance: it has asked for the configuration program and must end.
    bool Start();
    // Ends the monitor the way it ends on Exit: tray icon, display library, device
    // notifications, in that order. Safe to call twice.
    void Shutdown();

    void OnCommand(int id);
    // One line on standard error is the caller's; this is the tray's balloon and tooltip.
    void ShowNotice(const std::string& text);
    void OnDeviceChange(std::uint32_t event, const std::string& path) override;

    bool DevicePresent() const { return present_; }
    bool OsdEnabled() const { return osdEnabled_; }
    const std::string& ProgramPath() const { return programPath_; }
    CTaskIcon* TrayIcon() const { return trayIcon_.get(); }

signals:
    void exitRequested();

private:
    void OnMessage(const Message& message);
    void LoadOsdLibrary();
    void KeepHandlesPublished();
    void LaunchConfigurationProgram();
    void ToggleOsd();
    void RebuildDeviceTable();
    void ReportClosedMice(const std::set<std::string>& closed);
    void TellStepScale(std::uint16_t version);
    PointerSettings& Pointer();

    MonitorFolders folders_;
    bool automation_;
    InstanceLock lock_;
    SqliteSettingsStore settings_;
    MailboxPoster poster_;
    std::string programPath_;
    bool present_ = false;
    std::set<std::string> reportedClosed_;  // mice closed to this user, already told
    bool osdEnabled_ = true;
    std::vector<std::shared_ptr<HidBackend>> backends_;
    CHidClient hid_;
    std::unique_ptr<QtMailbox> window_;
    std::unique_ptr<CTaskIcon> trayIcon_;
    std::unique_ptr<QLibrary> osdLibrary_;
    std::unique_ptr<HandleKeeper> handleKeeper_;
    std::unique_ptr<PointerSettings> pointer_;
    DeviceEventHandler events_;
    MouseInput input_;
    QTimer arrivalTimer_, removalTimer_, autoLaunchTimer_;
    bool shutDown_ = false;
};

}  // namespace pallix::monitor
