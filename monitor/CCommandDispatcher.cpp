#include "monitor/CCommandDispatcher.h"

#include <cstdio>

#include <QDesktopServices>
#include <QIcon>
#include <QUrl>

#include "common/Posting.h"
#include "common/SettingNames.h"
#include "app/texts/ExtraTexts.h"
#include "app/texts/qt/LanguageFonts.h"
#include "device/AccessHelp.h"
#include "device/MemoryMap.h"
#include "device/ProductIds.h"
#include "platform/qt/EventDrivenWatchScheduler.h"
#include "device/InputNodes.h"
#include "monitor/LocateFile.h"
#include "platform/HidBackends.h"
#include "platform/ProcessLauncher.h"
#include "platform/pointer/DesktopPointerSettings.h"
#include "resources/Artwork.h"

namespace pallix::monitor {

namespace {

constexpr int kTrayIconId = 800;

void SingleShot(QTimer& timer, int ms) {
    timer.setSingleShot(true);
    timer.start(ms);  // setting it again restarts it, as a window timer does
}

}  // namespace

CCommandDispatcher::CCommandDispatcher(MonitorFolders folders, bool automation, bool withDisplay)
    : folders_(std::move(folders)),
      automation_(automation),
      lock_(kMonitorInstanceLock),
      backends_(MakeDefaultHidBackends()),
      hid_(backends_),
      events_(settings_, poster_,
              {[](const std::string& path) { return LaunchProgram(path); },
               [this]() -> PointerSettings& { return Pointer(); }, folders_.own}),
      input_(backends_,
             [this](const InputNode& node, const std::uint8_t* data, std::size_t length, std::uint8_t& held) {
                 if (present_) events_.OnInputReport(node, data, length, held);
             }) {
    hid_.SetMessageSink([](const std::string&, const std::string&) {});  // the monitor shows nothing
    connect(&arrivalTimer_, &QTimer::timeout, this, [this] {
        if (!present_) RebuildDeviceTable();
    });
    connect(&removalTimer_, &QTimer::timeout, this, [this] {
        if (present_ || !reportedClosed_.empty()) RebuildDeviceTable();
    });
    connect(&autoLaunchTimer_, &QTimer::timeout, this, [this] { OnCommand(IDM_TRAY_LAUNCH); });
    if (lock_.IsHeld() && withDisplay) LoadOsdLibrary();
}

CCommandDispatcher::~CCommandDispatcher() { Shutdown(); }

void CCommandDispatcher::LoadOsdLibrary() {
    const std::string path = OsdLibraryPath(settings_, folders_.own, folders_.installedLib);
    osdLibrary_ = std::make_unique<QLibrary>(QString::fromStdString(path));
    // Without the display the monitor still relays, launches and applies settings.
    if (!osdLibrary_->load()) osdLibrary_.reset();
}

void CCommandDispatcher::KeepHandlesPublished() {
    handleKeeper_ = std::make_unique<HandleKeeper>(settings_, settings_.Path());
    handleKeeper_->Keep(kMonitorHandle, [this]() -> WindowHandle {
        return window_ && window_->isOpen() ? window_->handle() : 0;
    });
    using WindowHandleOf = std::uint32_t (*)();
    if (auto handle = osdLibrary_ ? reinterpret_cast<WindowHandleOf>(osdLibrary_->resolve("Qx7OsdWindowHandle")) : nullptr)
        handleKeeper_->Keep(kOsdHandle, handle);
}

bool CCommandDispatcher::Start() {
    programPath_ = LocateConfigurationProgram(settings_, folders_.own, folders_.installedBin);
    if (!lock_.IsHeld()) {
        OnCommand(IDM_TRAY_LAUNCH);
        return false;
    }
    const std::uint32_t noTray = settings_.ReadDword(kDisableSystemTrayValue);
    if (noTray == 0 || noTray == kDwordMissing) {
        const std::uint32_t language = settings_.ReadDword(kLanguageValue);
        texts::UseLanguageFonts(MonitorLanguageId(language));
        const MenuTexts texts = LoadMenuTexts(language, QString::fromStdString(folders_.own),
                                              QString::fromStdString(folders_.installedLanguages));
        LoadMonitorExtraTexts(language, texts, QString::fromStdString(folders_.own),
                              QString::fromStdString(folders_.installedTexts));
        trayIcon_ = std::make_unique<CTaskIcon>(texts, [this](int id) { OnCommand(id); });
        trayIcon_->AddIcon(QIcon(ProgramArtwork().Path(kTrayIconId)), QString::fromUtf8(kTrayTooltip));
    }
    window_ = std::make_unique<QtMailbox>();
    connect(window_.get(), &QtMailbox::messageReceived, this, &CCommandDispatcher::OnMessage);
    if (window_->isOpen()) PublishHandle(settings_, kMonitorHandle, window_->handle());
    KeepHandlesPublished();

    const std::uint32_t disabled = settings_.ReadDword(kDisableOsdValue);
    osdEnabled_ = !(disabled >= 1 && disabled != kDwordMissing);
    if (trayIcon_) trayIcon_->SetOsdItem(osdEnabled_);
    PostToLiveWindow(settings_, poster_, kOsdHandle, {WM_OSD_NOTIFY, OSD_ENABLE, osdEnabled_ ? 1u : 0u});

    AttachQtHidWatch(hid_);
    hid_.RegisterNotify(this);
    RebuildDeviceTable();
    if (!automation_) SingleShot(autoLaunchTimer_, kAutoLaunchDelayMs);
    return true;
}

void CCommandDispatcher::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    arrivalTimer_.stop();
    removalTimer_.stop();
    autoLaunchTimer_.stop();
    input_.Close();
    trayIcon_.reset();
    handleKeeper_.reset();  // it calls into the library
    // Unloading destroys the display window, which withdraws "OSD Handle".
    if (osdLibrary_) osdLibrary_->unload();
    osdLibrary_.reset();
    hid_.UnRegisterNotify();
    window_.reset();  // "Monitor Handle" stays published, as nobody reads it
}

void CCommandDispatcher::OnMessage(const Message& message) {
    if (message.message == WM_COMMAND) OnCommand(static_cast<std::int16_t>(message.wParam & 0xFFFF));
    else if (message.message == WM_CLOSE) emit exitRequested();
}

void CCommandDispatcher::OnCommand(int id) {
    switch (id) {
    case IDM_TRAY_LAUNCH: {
        const PostResult shown =
            PostToLiveWindow(settings_, poster_, kProcessHandle, {WM_COMMAND, ID_SHOW, 0});
        if (shown == PostResult::NoWindow || shown == PostResult::NotLive) LaunchConfigurationProgram();
        break;
    }
    case IDM_TRAY_WEBSITE: QDesktopServices::openUrl(QUrl(QString::fromUtf8(kVandraWebsite))); break;
    case IDM_TRAY_OSD: ToggleOsd(); break;
    case IDM_TRAY_EXIT:
        PostToLiveWindow(settings_, poster_, kProcessHandle, {WM_CLOSE, 0, 0});
        emit exitRequested();
        break;
    default: break;
    }
}

void CCommandDispatcher::ShowNotice(const std::string& text) {
    if (trayIcon_) trayIcon_->ShowNotice(QString::fromUtf8(kTrayTooltip), QString::fromStdString(text));
}

void CCommandDispatcher::LaunchConfigurationProgram() {
    if (programPath_.empty() || !IsReadableFile(programPath_)) return;
    LaunchProgram(programPath_);
}

void CCommandDispatcher::ToggleOsd() {
    osdEnabled_ = !osdEnabled_;
    if (trayIcon_) trayIcon_->SetOsdItem(osdEnabled_);
    PostToLiveWindow(settings_, poster_, kOsdHandle, {WM_OSD_NOTIFY, OSD_ENABLE, osdEnabled_ ? 1u : 0u});
    settings_.WriteDword(kDisableOsdValue, osdEnabled_ ? 0 : 1);
}

void CCommandDispatcher::OnDeviceChange(std::uint32_t event, const std::string&) {
    if (event == DBT_DEVICEARRIVAL && !present_) SingleShot(arrivalTimer_, kRescanDelayMs);
    else if (event == DBT_DEVICEREMOVECOMPLETE && (present_ || !reportedClosed_.empty()))
        SingleShot(removalTimer_, kRescanDelayMs);
}

void CCommandDispatcher::RebuildDeviceTable() {
    const SUsbId product{kMouseVendorId, kMouseProductId};
    hid_.CreateDeviceTable(&product, 1, kMonitorVersion, kMonitorVersion);
    std::vector<std::string> paths;
    std::set<std::string> closed;
    int served = -1;
    for (int i = 0; i < hid_.GetRecognizedDevices(); ++i) {
        if (hid_.GetDeviceAccessDenied(i)) closed.insert(hid_.GetDevice(i));
        else if (paths.emplace_back(hid_.GetDevice(i)); served < 0) served = i;
    }
    present_ = !paths.empty();
    ReportClosedMice(closed);
    // The memory interface says a mouse is there; its events and side buttons come
    // from whichever of its interfaces carry them.
    std::vector<InputNode> nodes;
    if (present_) {
        CHidClient interfaces(backends_);  // a table of its own: hid_ keeps the mouse class it watches with
        interfaces.CreateDeviceTable(kMouseVendorId, kMouseProductId, false);
        nodes = InputNodesOf(interfaces, kMonitorVersion);
    }
    input_.Open(nodes);
    if (served >= 0) TellStepScale(hid_.GetDeviceVer(served));
}

void CCommandDispatcher::TellStepScale(std::uint16_t version) {
    // The display's digits follow the mouse even when the configuration program,
    // which also says so after each load, is not running.
    const std::uint32_t fullStep = version == memmap::kModel1802 ? 1u : 0u;
    PostToLiveWindow(settings_, poster_, kOsdHandle, {WM_OSD_NOTIFY, OSD_STEP_SCALE, fullStep});
}

void CCommandDispatcher::ReportClosedMice(const std::set<std::string>& closed) {
    // Each mouse once while it stays closed to us, not at every rescan.
    for (const std::string& path : closed) {
        if (reportedClosed_.count(path)) continue;
        // The log in English, the tray in the user's language.
        std::fprintf(stderr, "Qx7Monitor: %s\n", NoAccessMessage(path).c_str());
        if (trayIcon_)
            trayIcon_->ShowNotice(QString::fromUtf8(kTrayTooltip), QString::fromStdString(texts::NoAccessNotice(path)));
    }
    if (closed.empty() && !reportedClosed_.empty() && trayIcon_) trayIcon_->ClearNotice();
    reportedClosed_ = closed;
}

PointerSettings& CCommandDispatcher::Pointer() {
    if (!pointer_) pointer_ = MakeDesktopPointerSettings();
    return *pointer_;
}

}  // namespace pallix::monitor
