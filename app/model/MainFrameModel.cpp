#include "app/model/MainFrameModel.h"

#include <filesystem>
#include <optional>

#include "app/model/MainFrameView.h"
#include "common/PointerProfile.h"
#include "common/SettingNames.h"
#include "app/texts/ExtraTexts.h"
#include "device/ButtonAssignment.h"
#include "device/FunctionTable.h"
#include "device/MacroNameChange.h"
#include "device/HidPathOpener.h"
#include "device/MemoryMap.h"
#include "device/ProductIds.h"
#include "macro/MacroFolder.h"
#include "macro/ScriptUpload.h"
#include "platform/ProcessLauncher.h"

namespace pallix::app {

namespace {

constexpr SUsbId kMouseIds[] = {{kMouseVendorId, kMouseProductId}};
constexpr int kBattleState = 3;
constexpr int kNormalState = 1;
constexpr int kStateShift = 4;
constexpr int kStateMask = 0x30;

// Repeat option of the macro chooser <-> mode nibble of the directory entry.
int RepeatOptionOfMode(int mode) {
    switch (mode) {
    case kMacroModeOnce: return 0;
    case kMacroModeCount:
    case kMacroModeCountOld: return 1;
    case kMacroModeWhileHeld: return 2;
    case kMacroModeUntilNextPress: return 3;
    default: return -1;
    }
}

int ModeOfRepeatOption(int option) {
    switch (option) {
    case 0: return kMacroModeOnce;
    case 1: return kMacroModeCount;
    case 2: return kMacroModeWhileHeld;
    case 3: return kMacroModeUntilNextPress;
    default: return kMacroModeNone;
    }
}

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

CMainFrameModel::CMainFrameModel(ModelParts parts, MainFrameView& view, QObject* parent)
    : QObject(parent),
      parts_(std::move(parts)),
      view_(view),
      hid_(parts_.backends),
      memory_(std::make_shared<BackendPathOpener>(parts_.backends), parts_.sleeper),
      engine_(memory_, tables_, parts_.sleeper) {
    stepTimer_.setTimerType(Qt::PreciseTimer);
    stepTimer_.setInterval(CTransferEngine::kStepMs);
    connect(&stepTimer_, &QTimer::timeout, this, &CMainFrameModel::StepTick);
    keepAlive_.setInterval(kKeepAliveMs);
    connect(&keepAlive_, &QTimer::timeout, this, [this] { memory_.SendCommand(3, 3, 2); });
    searchAgain_.setSingleShot(true);
    searchAgain_.setInterval(kSearchAgainMs);
    connect(&searchAgain_, &QTimer::timeout, this, &CMainFrameModel::Search);
}

CMainFrameModel::~CMainFrameModel() {
    if (deviceReady_ && engine_.Running()) {
        StopTimers();
        engine_.Abort();
    }
    StopTimers();
    hid_.UnRegisterNotify();
    if (initialised_) {
        WithdrawHandle(*parts_.store, kProcessHandle);
        WithdrawHandle(*parts_.store, kCurrentDialog);
    }
}

void CMainFrameModel::SetAutomation(bool automation) {
    quiet_ = automation;
    hiddenStart_ = automation;
    engine_.SetQuiet(automation);
}

void CMainFrameModel::Initialise(WindowHandle handle) {
    initialised_ = true;
    PublishHandle(*parts_.store, kProcessHandle, handle);
    PublishHandle(*parts_.store, kCurrentDialog, kDialogMain);
    if (!parts_.documentsDir.empty()) {
        const auto folder = std::filesystem::path(parts_.documentsDir) / std::string(macro::kMacroFolderName);
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        macroFolder_ = folder.string();
    }
    if (!hiddenStart_) Search();
}

// ---- search, checks, load ---------------------------------------------------

void CMainFrameModel::Search() {
    searchAgain_.stop();
    hid_.CreateDeviceTable(kMouseIds, 1, memmap::kModel1802, memmap::kModel1802);
    if (!hid_.IsRegistered()) hid_.RegisterNotify(this);
    memory_.ResetCache();
    memoryLoaded_ = false;
    selectedIndex_ = 0;

    // Mice this user may not open are no choice; they only explain a missing mouse.
    choices_.clear();
    int closed = -1;
    for (int i = 0; i < hid_.GetRecognizedDevices(); ++i) {
        if (!hid_.GetDeviceAccessDenied(i)) choices_.push_back(i);
        else if (closed < 0) closed = i;
    }
    const int found = static_cast<int>(choices_.size());
    if (found <= 0) {
        deviceCount_ = 0;
        deviceReady_ = false;
        ShowNoMousePage();
        TellNoAccess(closed >= 0 ? hid_.GetDevice(closed) : std::string());
        return;
    }
    deviceCount_ = found;
    int chosen = 0;
    if (found > 1) {
        std::vector<std::string> lines;
        char version[8];
        for (int i : choices_) {
            std::snprintf(version, sizeof version, "%X", static_cast<unsigned>(hid_.GetDeviceVer(i)));
            lines.push_back(std::string(version) + ": " + hid_.GetDeviceName(i));
        }
        // The choice stands alone where the busy indicator will turn: no page
        // behind it may say something else ("no mouse").
        SetPage(kPageNone);
        pickedIndex_ = 0;
        Greet(choices_[0]);
        keepAlive_.start();
        chosen = view_.RunDeviceSelection(*this, lines);
        keepAlive_.stop();
        memory_.SendCommand(3, 3, 3);
        pickedIndex_ = -1;
    }
    if (chosen < 0 || chosen >= found) {
        selectedIndex_ = 0;
        deviceCount_ = 0;
        Exit();
        return;
    }
    selectedIndex_ = choices_[static_cast<std::size_t>(chosen)];
    if (CheckEntry(selectedIndex_)) {
        deviceReady_ = true;
        memoryLoaded_ = false;
        BeginLoad();
    } else {
        deviceReady_ = false;
        ShowNoMousePage();
    }
}

void CMainFrameModel::TellNoAccess(const std::string& path) {
    // Once per mouse while it stays closed to us, not at every search.
    if (path == noAccessPath_) return;
    noAccessPath_ = path;
    if (!path.empty()) view_.ShowNotice(texts::NoAccessNotice(path));
}

void CMainFrameModel::SelectionPicked(int index) {
    if (pickedIndex_ < 0 || index == pickedIndex_ || index < 0 || index >= static_cast<int>(choices_.size())) return;
    memory_.SendCommand(3, 3, 3);
    pickedIndex_ = index;
    Greet(choices_[static_cast<std::size_t>(index)]);
}

// The mouse on this line of the selection dialog is told it is being looked at.
void CMainFrameModel::Greet(int entry) {
    memory_.SetDevicePath(hid_.GetDevice(entry));
    memory_.SendCommand(2, 0, 0);
    Pause(40);
    memory_.SendCommand(3, 3, 0);
}

void CMainFrameModel::Pause(int ms) {
    if (parts_.sleeper) parts_.sleeper(ms);
    else SleepMilliseconds(ms);
}

bool CMainFrameModel::CheckEntry(int index) {
    const int version = hid_.GetDeviceVer(index);
    if (memmap::IsKnownModel(version)) {
        memory_.SetSize(memmap::kMemorySize);
        memory_.SetModel(version);
    }
    if (!memory_.OpenDevice(hid_.GetDevice(index))) return false;
    if (hid_.GetDeviceVID(index) != kMouseVendorId || hid_.GetDevicePID(index) != kMouseProductId) return false;
    SetPage(kPageNone);
    PostOsd(OSD_MODEL, static_cast<std::uint32_t>(version));
    return true;
}

void CMainFrameModel::BeginLoad() {
    view_.ShowBusy(true, busy::kCaptionReading);
    if (engine_.StartLoad()) {
        RunStepped(kTimerLoadStep);
        return;
    }
    FinishTransfer();
}

void CMainFrameModel::FinishLoad() {
    PostOsd(OSD_STEP_SCALE, memory_.Model() == memmap::kModel1802 ? 1 : 0);
    selectedButton_ = kNoButton;
    selectedIsFactory_ = false;
    currentProfile_ = memmap::CurrentProfileOf(static_cast<std::uint8_t>(ProfileByte()));
    RefreshFromMemory();
    PostOsd(OSD_SET_PROFILE, static_cast<std::uint32_t>(currentProfile_));
    memoryLoaded_ = true;
    changesPending_ = false;
    noAccessPath_.clear();
    SetPage(kPageConfiguration);
    ApplyPointer(currentProfile_);
}

void CMainFrameModel::ShowNoMousePage() {
    SetPage(kPageNoMouse);
    view_.StateChanged();
    // The device watch wakes us only on activity; a mouse it missed (or one that
    // became accessible) is found by looking again now and then.
    if (!hiddenStart_ && !closing_) searchAgain_.start();
}

void CMainFrameModel::LoseMouse() {
    deviceReady_ = false;
    busy_ = false;
    changesPending_ = false;
    profileAfterApply_ = -1;
    StopTimers();
    if (engine_.Running()) engine_.Abort();
    SettleMacroName(false);  // a store still running never finished
    view_.ShowBusy(false, 0);
    parts_.store->WriteDword(kConfigureHandle, kDwordMissing);
    view_.CloseDialogs();
    PublishCurrentDialog(kDialogMain);
    selectedButton_ = kNoButton;
    ShowNoMousePage();
}

// ---- transfers on the step timer -----------------------------------------------

void CMainFrameModel::RunStepped(int timerId) {
    stepTimerId_ = timerId;
    busy_ = true;
    if (timerId != kTimerLoadStep) {
        view_.ShowBusy(true, busy::kCaptionWriting);
        PublishCurrentDialog(kDialogMain);
    }
    view_.StateChanged();
    stepTimer_.start();
}

void CMainFrameModel::StepTick() {
    if (engine_.Step()) return;
    stepTimer_.stop();
    busy_ = false;
    FinishTransfer();
}

void CMainFrameModel::FinishTransfer() {
    const TransferKind kind = engine_.Kind();
    const TransferFailure failure = engine_.Failure();
    const bool stepped = engine_.Stepped();
    view_.ShowBusy(false, 0);
    if (kind == TransferKind::kLoad) {
        if (failure == TransferFailure::kNone) {
            FinishLoad();
        } else if (engine_.Position() <= 1) {
            // A failed first read: back to the no-mouse page and look again later,
            // rather than leaving the window out of sight.
            view_.ShowMessage(MessageNumberOf(failure), {});
            if (!quiet_) memory_.SendCommand(3, 3, 3);
            deviceReady_ = false;
            ShowNoMousePage();
            searchAgain_.start();
        } else {
            view_.HideWindow();
            view_.ShowMessage(MessageNumberOf(failure), {});
            Exit();
        }
        emit transferFinished();
        return;
    }
    if (failure != TransferFailure::kNone) view_.ShowMessage(MessageNumberOf(failure), {});
    if (kind == TransferKind::kMacro) SettleMacroName(MacroStored());
    if (stepped && (kind == TransferKind::kApply || kind == TransferKind::kRestore)) AfterApplyOrRestore();
    macroButton_ = -1;
    RefreshFromMemory();
    view_.StateChanged();
    if (profileAfterApply_ >= 0) {
        const int next = profileAfterApply_;
        profileAfterApply_ = -1;
        SelectProfileButton(next);
    }
    emit transferFinished();
}

void CMainFrameModel::SettleMacroName(bool stored) {
    if (!macroName_) return;
    if (!stored) macroName_->Revert();
    macroName_.reset();
}

bool CMainFrameModel::MacroStored() const {
    return engine_.Failure() == TransferFailure::kNone && !engine_.Incomplete();
}

void CMainFrameModel::AfterApplyOrRestore() {
    PostOsd(OSD_SET_PROFILE, static_cast<std::uint32_t>(currentProfile_));
}

void CMainFrameModel::StopTimers() {
    stepTimer_.stop();
    keepAlive_.stop();
    searchAgain_.stop();
}

// ---- commands ---------------------------------------------------------------------

void CMainFrameModel::HandleMessage(const Message& m) {
    switch (m.message) {
    case WM_COMMAND: Command(static_cast<int>(m.wParam & 0xFFFF)); break;
    case WM_CLOSE: Exit(); break;
    case WM_DEVICE_EVENT: DeviceEvent(m.wParam, m.lParam); break;
    case WM_KEY_HOVER: SelectButton(static_cast<int>(m.lParam), m.wParam == 2, true); break;
    default: break;
    }
}

void CMainFrameModel::Command(int id) {
    if (id >= IDC_PROFILE_FIRST && id < IDC_PROFILE_FIRST + memmap::kProfileCount) {
        if (deviceReady_ && memoryLoaded_ && !busy_) SelectProfileButton(id - IDC_PROFILE_FIRST);
        return;
    }
    if (id >= IDC_MARKER_FIRST && id < IDC_MARKER_FIRST + memmap::kButtonCount) {
        SelectButton(id - IDC_MARKER_FIRST, false, false);
        return;
    }
    switch (id) {
    case static_cast<int>(ID_SHOW):
        if (hiddenStart_) {
            hiddenStart_ = false;
            Search();
        }
        view_.RestoreWindow();
        break;
    case IDC_HIDE:
    case IDC_CANCEL: Hide(); break;
    case IDC_EXIT:
    case ID_APP_EXIT: Exit(); break;
    case IDC_RESTORE_PROFILE: RestoreProfile(); break;
    case IDC_REGISTER: OpenRegistration(); break;
    case IDC_HELP: OpenHelp(); break;
    case IDC_PERFORMANCE:
    case IDC_MACRO_EDITOR:
    case IDC_LIGHTING: OpenConfigDialog(id); break;
    case IDC_APPLY:
        Apply();
        selectedButton_ = kNoButton;
        view_.StateChanged();
        break;
    case IDC_OK:
        Apply();
        if (!deviceReady_) view_.ShowMessage(1, {});
        else if (!busy_) view_.HideWindow();
        break;
    case IDC_MACRO: ChooseMacro(); break;
    case IDC_FUNCTION: ChooseFunction(); break;
    case IDC_RESTORE_BUTTON: RestoreButton(); break;
    case IDC_LAUNCH: ChooseLaunch(); break;
    case IDC_LED_NORMAL: SwitchLed(false); break;
    case IDC_LED_BATTLE: SwitchLed(true); break;
    default: break;
    }
}

bool CMainFrameModel::RequireMouse() {
    if (deviceReady_ && memoryLoaded_) return true;
    view_.ShowMessage(1, {});
    return false;
}

void CMainFrameModel::Hide() {
    if (!deviceReady_) {
        view_.ShowMessage(1, {});
        return;
    }
    if (!busy_) view_.HideWindow();
}

void CMainFrameModel::Exit() {
    if (closing_) return;
    closing_ = true;
    if (deviceReady_ && engine_.Running()) {
        StopTimers();
        engine_.Abort();
        SettleMacroName(false);
    }
    StopTimers();
    view_.CloseDialogs();
    view_.CloseProgram();
}

void CMainFrameModel::Apply() {
    if (busy_) return;
    if (!deviceReady_ || !memoryLoaded_) {
        view_.ShowMessage(1, {});
        // Nothing to talk to: tell the display the profile, send nothing.
        PostOsd(OSD_SET_PROFILE, static_cast<std::uint32_t>(currentProfile_));
        changesPending_ = false;
        return;
    }
    if (engine_.StartApply(currentProfile_)) {
        changesPending_ = false;
        RunStepped(kTimerApplyStep);
        return;
    }
    if (engine_.Failure() != TransferFailure::kNone) view_.ShowMessage(MessageNumberOf(engine_.Failure()), {});
    PostOsd(OSD_SET_PROFILE, static_cast<std::uint32_t>(currentProfile_));
    changesPending_ = false;
}

void CMainFrameModel::SelectProfileButton(int profile) {
    if (changesPending_) {
        PromptRequest request{prompt::kProfileSaveWarning, {}, {}, -1, 0};
        if (Prompt(request) == prompt::kResultCancel) return;
        Apply();
        if (busy_) {  // the apply runs on its timer: change the profile after it
            profileAfterApply_ = profile;
            return;
        }
    }
    if (profile < ProfileCount()) SelectProfile(memory_, profile);
    currentProfile_ = profile;
    selectedButton_ = kNoButton;
    RefreshFromMemory();
    view_.StateChanged();
    PostOsd(OSD_PROFILE_LEVEL, ((static_cast<std::uint32_t>(profile) & 7u) | 8u) << 4);
    ApplyPointer(profile);
}

void CMainFrameModel::SelectButton(int button, bool factoryHint, bool hasHint) {
    if (page_ != kPageConfiguration || button < 0 || button >= memmap::kButtonCount) return;
    selectedButton_ = button;
    selectedIsFactory_ = hasHint ? factoryHint
                                 : IsFactoryFunction(CachedButtonFunction(memory_, currentProfile_, button), button);
    if (hasHint) view_.SelectionChanged();
    else view_.StateChanged();
}

bool CMainFrameModel::LeftClickAllows(int functionIndex) {
    if (LeftClickRuleAllows(memory_, currentProfile_, selectedButton_, functionIndex)) return true;
    if (parts_.translated) {
        view_.ShowMessage(10, {});
        return false;
    }
    PromptRequest request{prompt::kLeftButtonWarning, {}, {}, -1, 0};
    Prompt(request);
    return false;
}

void CMainFrameModel::AfterAssignment(int dirty) {
    if (dirty) changesPending_ = true;
    RefreshFromMemory();
    view_.StateChanged();
}

void CMainFrameModel::ChooseFunction() {
    if (!RequireMouse() || selectedButton_ >= memmap::kButtonCount) return;
    PromptRequest request{prompt::kFunctionChooser, {}, {}, -1,
                          IdentifyFunction(CachedButtonFunction(memory_, currentProfile_, selectedButton_))};
    if (Prompt(request) != prompt::kResultOk || request.value < 0 || request.value >= kStandardFunctionCount) return;
    if (!LeftClickAllows(request.value)) return;
    const AssignResult result = AssignStandardFunction(memory_, currentProfile_, selectedButton_, request.value);
    selectedIsFactory_ = IsFactoryFunction(CachedButtonFunction(memory_, currentProfile_, selectedButton_),
                                           selectedButton_);
    AfterAssignment(result == AssignResult::kDirty);
}

void CMainFrameModel::ChooseLaunch() {
    if (!RequireMouse() || selectedButton_ >= memmap::kButtonCount) return;
    if (!LeftClickAllows(kFnLaunch)) return;
    std::string stored;
    parts_.store->ReadString(AppPathValueName(currentProfile_, selectedButton_), stored);
    const auto chosen = view_.ChooseApplication(LaunchStartFolder(stored));
    if (!chosen || chosen->empty()) return;
    const LaunchTarget target = DescribeLaunchTarget(*chosen);
    if (target.kind == LaunchKind::kNone) {
        // Bound, it would only seem to work: the mouse button would start nothing.
        view_.ShowNotice("\"" + FileNameOf(*chosen) +
                         "\" can not be started. Choose an application's desktop entry (.desktop) or a program.");
        return;
    }
    parts_.store->WriteString(AppPathValueName(currentProfile_, selectedButton_), *chosen);
    parts_.store->WriteString(AppNameValueName(currentProfile_, selectedButton_), target.name);
    const AssignResult result = AssignStandardFunction(memory_, currentProfile_, selectedButton_, kFnLaunch);
    selectedIsFactory_ = false;
    AfterAssignment(result == AssignResult::kDirty);
}

void CMainFrameModel::ChooseMacro() {
    if (!RequireMouse() || selectedButton_ >= memmap::kButtonCount) return;
    if (busy_) return;
    if (!LeftClickAllows(kFnMacroKey)) return;
    const int profile = currentProfile_;
    const int button = selectedButton_;
    const int entry = memmap::DirectoryEntry(profile, button);
    for (int a : {entry + 2, entry + 3})
        if (!memory_.Entry(a).valid) memory_.LoadByte(a);
    const int mode = memory_.Entry(entry + 3).value & 0x0F;
    std::string name;
    parts_.store->ReadString(MacroNameValueName(profile, button), name);
    PromptRequest request{prompt::kMacroChooser, {}, {}, RepeatOptionOfMode(mode), memory_.Entry(entry + 2).value & 0xFF};
    request.path = name.empty() ? macroFolder_ : macroFolder_ + "/" + name + ".MAC";
    if (Prompt(request) != prompt::kResultOk || request.text.empty()) return;

    const int newMode = ModeOfRepeatOption(request.repeatOption);
    const auto upload = macro::UploadBytesOfMacro(macroFolder_, request.text);
    if (upload.count <= 0) {
        // A file that cannot be read says why; an empty script cannot be stored.
        if (upload.message != macro::MacroMessage::None) view_.ShowMessage(static_cast<int>(upload.message), upload.suffix);
        else view_.ShowMessage(8, {});
        return;
    }
    macroName_.emplace(*parts_.store, profile, button);
    macroName_->Write(request.text);
    WriteMacroMode(memory_, profile, button, newMode, request.value);
    // The type byte waits for Apply like any assignment; the script goes now.
    if (AssignStandardFunction(memory_, profile, button, kFnMacroKey) == AssignResult::kDirty) changesPending_ = true;
    selectedIsFactory_ = false;
    macroButton_ = button;
    if (engine_.StartMacroStore(profile, button, upload.Script(), newMode)) {
        RunStepped(kTimerMacroStep);
        return;
    }
    if (engine_.Failure() != TransferFailure::kNone) view_.ShowMessage(MessageNumberOf(engine_.Failure()), {});
    SettleMacroName(MacroStored());
    macroButton_ = -1;
    AfterAssignment(true);
}

void CMainFrameModel::RestoreButton() {
    if (!RequireMouse() || selectedButton_ >= memmap::kButtonCount || selectedIsFactory_) return;
    if (!LeftClickAllows(RemovalFunction(selectedButton_))) return;
    RemoveMacro(memory_, currentProfile_, selectedButton_);
    parts_.store->DeleteValue(MacroNameValueName(currentProfile_, selectedButton_));
    selectedIsFactory_ = true;
    AfterAssignment(!engine_.Running());
}

void CMainFrameModel::RestoreProfile() {
    if (busy_) return;
    PromptRequest request{prompt::kResetWarning, {}, {}, -1, 0};
    if (Prompt(request) != prompt::kResultOk) return;
    if (!deviceReady_ || !memoryLoaded_) {
        view_.ShowMessage(1, {});
        PostOsd(OSD_SET_PROFILE, static_cast<std::uint32_t>(currentProfile_));
        return;
    }
    for (int b = 0; b < kButtonValueCount; ++b) parts_.store->DeleteValue(MacroNameValueName(currentProfile_, b));
    if (engine_.StartRestore(currentProfile_)) {
        RunStepped(kTimerRestoreStep);
        return;
    }
    if (engine_.Failure() != TransferFailure::kNone) view_.ShowMessage(MessageNumberOf(engine_.Failure()), {});
    PostOsd(OSD_SET_PROFILE, static_cast<std::uint32_t>(currentProfile_));
    changesPending_ = false;
    RefreshFromMemory();
    view_.StateChanged();
}

void CMainFrameModel::SwitchLed(bool battle) {
    if (!RequireMouse() || busy_ || battle == battleMode_) return;
    if (battle) {
        PromptRequest request{prompt::kBattleModeNotice, {}, {}, -1, 0};
        Prompt(request);
    }
    const int state = battle ? kBattleState : kNormalState;
    bool wrote = false;
    for (int zone = 0; zone < memmap::kLightingZones; ++zone) {
        const int address = memmap::LightingAddress(currentProfile_, zone);
        if (!memory_.Entry(address).valid) memory_.LoadByte(address);
        const int old = memory_.Entry(address).value & 0xFF;
        const int value = (old & ~kStateMask) | (state << kStateShift);
        if (value == old && !memory_.Entry(address).dirty) continue;
        if (memory_.WriteThrough(address, value)) wrote = true;
    }
    if (wrote) {
        memory_.SendCommand(0, 0, 0);
        Pause(CTransferEngine::kClosePauseMs);
    }
    battleMode_ = battle;
    view_.StateChanged();
    PostOsd(OSD_MODE, battle ? 1 : 0);
}

std::string CMainFrameModel::RegistrationAddress() {
    return kRegistrationPage;
}

std::string CMainFrameModel::LaunchStartFolder(const std::string& stored) {
    std::error_code ec;
    if (!stored.empty() && std::filesystem::is_directory(FolderOf(stored), ec)) return FolderOf(stored);
    for (const char* folder : kLaunchFolders)
        if (std::filesystem::is_directory(folder, ec)) return folder;
    return {};
}

void CMainFrameModel::OpenDocument(const std::string& document) {
    // The document is there: what is missing is whatever would show it.
    const std::string problem = view_.OpenWithDesktop(document);
    if (!problem.empty()) view_.ShowNotice("Can't open " + FileNameOf(document) + ": " + problem + ".");
}

void CMainFrameModel::OpenHelp() {
    const std::string document = parts_.findHelpDocument ? parts_.findHelpDocument() : std::string();
    if (document.empty()) view_.ShowMessage(15, parts_.helpDocumentName);
    else OpenDocument(document);
}

void CMainFrameModel::OpenRegistration() {
    const std::string page = parts_.findRegistrationPage ? parts_.findRegistrationPage() : std::string();
    if (page.empty()) view_.ShowMessage(13, RegistrationAddress());
    else OpenDocument(page);
}

void CMainFrameModel::OpenConfigDialog(int id) {
    if (busy_) return;
    const std::uint32_t number = id == IDC_PERFORMANCE    ? kDialogPerformance
                                 : id == IDC_MACRO_EDITOR ? kDialogMacroEditor
                                                          : kDialogLighting;
    busy_ = true;
    PublishCurrentDialog(number);
    view_.StateChanged();
    int profile = currentProfile_;
    const std::optional<int> result = view_.RunConfigDialog(id, profile);
    busy_ = false;
    PublishCurrentDialog(kDialogMain);
    if (!result) {
        view_.StateChanged();
        view_.ShowNotice(texts::Extra(id == IDC_PERFORMANCE    ? texts::EXTRA_NO_PERFORMANCE
                                      : id == IDC_MACRO_EDITOR ? texts::EXTRA_NO_MACRO_EDITOR
                                                               : texts::EXTRA_NO_LIGHTING));
        return;
    }
    if (!deviceReady_) {  // the mouse went away while the dialog was open
        view_.StateChanged();
        return;
    }
    if (id == IDC_PERFORMANCE && parts_.pointer) SavePointerProfile(*parts_.store, *parts_.pointer, profile);
    if (profile != currentProfile_ && profile >= 0 && profile < ProfileCount()) {
        SetCurrentProfileCached(memory_, profile);
        currentProfile_ = profile;
        selectedButton_ = kNoButton;
        ApplyPointer(profile);
    }
    RefreshFromMemory();
    view_.StateChanged();
}

// ---- monitor messages ---------------------------------------------------------------

void CMainFrameModel::DeviceEvent(std::uint32_t wParam, std::uint32_t lParam) {
    if (!memoryLoaded_) return;
    switch (wParam) {
    case OSD_PROFILE_LEVEL: {
        if (busy_) return;
        const int profile = static_cast<int>((lParam >> 4) & 7u);
        const int level = static_cast<int>(lParam & 3u);
        if (profile == currentProfile_) {
            const int address = memmap::ControlAddress(profile);
            const int old = memory_.Entry(address).value & 0xFF;
            if ((old & memmap::kLevelMask) == level) return;
            memory_.StoreClean(address, (old & ~memmap::kLevelMask) | level);
            view_.StateChanged();
        } else if (profile < ProfileCount()) {
            SetCurrentProfileCached(memory_, profile);
            currentProfile_ = profile;
            selectedButton_ = kNoButton;
            RefreshFromMemory();
            view_.StateChanged();
            ApplyPointer(profile);
        }
        break;
    }
    case OSD_LAUNCH: {
        const int slot = static_cast<int>(lParam & 0x7Fu);
        LaunchSlot(slot / kButtonValueCount, slot % kButtonValueCount);
        break;
    }
    case OSD_POLLING_RATE: {
        if (busy_) return;
        const int code = static_cast<int>(lParam & 3u);
        if (code == 2) return;
        const int address = memmap::ControlAddress(currentProfile_);
        const int old = memory_.Entry(address).value & 0xFF;
        memory_.StoreClean(address, (old & ~memmap::kRateMask) | (code << memmap::kRateShift));
        view_.StateChanged();
        break;
    }
    default: break;  // 7 and 9 need nothing
    }
}

void CMainFrameModel::LaunchSlot(int profile, int button) {
    if (profile > 4 || button > 7) return;
    std::string path;
    if (!parts_.store->ReadString(AppPathValueName(profile, button), path) || path.empty()) return;
    LaunchProgram(path);
}

// ---- arrival and removal -------------------------------------------------------------

void CMainFrameModel::OnDeviceChange(std::uint32_t event, const std::string&) {
    if (hiddenStart_ || closing_) return;
    if (event == DBT_DEVICEARRIVAL) {
        if (deviceReady_) return;
        hid_.CreateDeviceTable(kMouseIds, 1, memmap::kModel1802, memmap::kModel1802);
        const int found = hid_.GetRecognizedDevices();
        if (found > 0 && found == deviceCount_) return;
        LoseMouse();
        searchAgain_.start();
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        if (!deviceReady_) return;
        hid_.CreateDeviceTable(kMouseIds, 1, memmap::kModel1802, memmap::kModel1802);
        for (int i = hid_.GetRecognizedDevices() - 1; i >= 0; --i) {
            if (memory_.DevicePath() == hid_.GetDevice(i)) {
                selectedIndex_ = i;
                return;
            }
        }
        LoseMouse();
        searchAgain_.start();
    }
}

// ---- helpers -----------------------------------------------------------------------

int CMainFrameModel::Prompt(PromptRequest& request) {
    const bool marksBusy = request.mode == prompt::kBattleModeNotice || request.mode == prompt::kLeftButtonWarning ||
                           request.mode == prompt::kFunctionChooser || request.mode == prompt::kMacroChooser;
    const bool wasBusy = busy_;
    if (marksBusy) {
        busy_ = true;
        if (page_ == kPageConfiguration) PublishCurrentDialog(kDialogPrompt);
        view_.StateChanged();
    }
    const bool hadMouse = deviceReady_;
    int result = view_.RunPrompt(request);
    if (hadMouse && !deviceReady_) result = prompt::kResultCancel;  // the mouse left meanwhile
    if (marksBusy) {
        busy_ = wasBusy;
        if (page_ == kPageConfiguration) PublishCurrentDialog(kDialogMain);
        view_.StateChanged();
    }
    return result;
}

void CMainFrameModel::PostOsd(std::uint32_t code, std::uint32_t value) {
    PostToWindow(*parts_.store, *parts_.poster, kOsdHandle, Message{WM_OSD_NOTIFY, code, value});
}

void CMainFrameModel::PublishCurrentDialog(std::uint32_t value) {
    parts_.store->WriteDword(kCurrentDialog, value);
}

void CMainFrameModel::SetPage(int page) {
    // "None" is also where the window starts: it still has to go out of sight.
    if (page == page_ && page != kPageNone) return;
    page_ = page;
    view_.PageChanged(page);
    emit pageChanged(page);
}

int CMainFrameModel::ProfileByte() const {
    return memory_.Entry(memmap::kProfileByteAddress).value & 0xFF;
}

int CMainFrameModel::ProfileCount() const {
    return memmap::ProfileCountOf(static_cast<std::uint8_t>(ProfileByte()));
}

void CMainFrameModel::RefreshFromMemory() {
    const int state = (memory_.Entry(memmap::LightingAddress(currentProfile_, 1)).value & kStateMask) >> kStateShift;
    battleMode_ = state == kBattleState;
}

ButtonView CMainFrameModel::Button(int button) const {
    ButtonView view;
    const ButtonFunction function = CachedButtonFunction(memory_, currentProfile_, button);
    const int index = IdentifyFunction(function);
    view.function = index;
    view.name = index >= 0 ? kStandardFunctions[static_cast<std::size_t>(index)].name : "UNKNOWN";
    view.kind = IsFactoryFunction(function, button) ? ButtonKind::kDefault : ButtonKind::kSingleKey;
    std::string stored;
    if (index == kFnLaunch) {
        view.kind = ButtonKind::kLauncher;
        if (parts_.store->ReadString(AppNameValueName(currentProfile_, button), stored) && !stored.empty()) {
            view.name = stored;
            view.storedName = true;
        }
    } else if (index == kFnMacroKey) {
        view.kind = ButtonKind::kMacro;
        if (parts_.store->ReadString(MacroNameValueName(currentProfile_, button), stored) && !stored.empty()) {
            view.name = stored;
            view.storedName = true;
        }
    }
    return view;
}

void CMainFrameModel::ApplyPointer(int profile) {
    if (parts_.pointer) ApplyPointerProfile(*parts_.store, *parts_.pointer, profile);
}

}  // namespace pallix::app
