#pragma once
// The configuration program's main window without its widgets: the search for the
// mouse, its checks, the whole-memory load, the profile page's commands, the
// stepped transfers on their 10 ms timer, arrival and removal, and the messages
// from the monitor. The window forwards commands here and shows what it reports.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QTimer>

#include "common/Messages.h"
#include "common/Posting.h"
#include "common/SettingsStore.h"
#include "device/CHidClient.h"
#include "device/CIcRK44.h"
#include "device/DefaultTables.h"
#include "device/MacroNameChange.h"
#include "device/TransferEngine.h"

namespace pallix {
class PointerSettings;
}

namespace pallix::app {

class MainFrameView;
struct PromptRequest;

// Command ids of the main window.
enum CommandId : int {
    IDC_HIDE = 1001,
    IDC_EXIT = 1005,
    IDC_RESTORE_PROFILE = 1006,
    IDC_REGISTER = 1007,
    IDC_HELP = 1008,
    IDC_PERFORMANCE = 1009,
    IDC_MACRO_EDITOR = 1011,
    IDC_LIGHTING = 1012,
    IDC_APPLY = 1013,
    IDC_CANCEL = 1014,
    IDC_OK = 1015,
    IDC_MACRO = 1115,
    IDC_FUNCTION = 1116,
    IDC_RESTORE_BUTTON = 1117,
    IDC_LAUNCH = 1118,
    IDC_LED_NORMAL = 1119,
    IDC_LED_BATTLE = 1120,
    IDC_BUTTON_NAME = 1121,
    IDC_PROFILE_FIRST = 1200,  // 1200-1204
    IDC_MARKER_FIRST = 1791,   // 1791-1798
    ID_APP_EXIT = 57665,
};

// Timer ids, kept for readers of the logs and the tests.
inline constexpr int kTimerLoadStep = 2304;
inline constexpr int kTimerApplyStep = 2305;
inline constexpr int kTimerKeepAlive = 2306;
inline constexpr int kTimerRestoreStep = 2309;
inline constexpr int kTimerMacroStep = 2310;
inline constexpr int kTimerSearchAgain = 2314;
inline constexpr int kKeepAliveMs = 300;
inline constexpr int kSearchAgainMs = 5000;

// The registration page is installed with the help documents, so it opens offline.
inline constexpr const char* kRegistrationPage = "Register.html";
// Where the application chooser starts without a stored program: the desktop's
// applications, else the programs.
inline constexpr const char* kLaunchFolders[] = {"/usr/share/applications", "/usr/bin"};

inline constexpr int kPageNone = -1;
inline constexpr int kPageNoMouse = 0;
inline constexpr int kPageConfiguration = 3;
inline constexpr int kNoButton = 8;

// Kinds of the key-status panel, in the panel's order.
enum class ButtonKind { kMacro = 0, kSingleKey = 1, kDefault = 2, kLauncher = 3 };

struct ButtonView {
    std::string name;       // stored launch or macro name; else the function's name
    int function = -1;      // row of the standard function table, -1 unknown
    bool storedName = false;
    ButtonKind kind = ButtonKind::kDefault;
};

struct ModelParts {
    SettingsStore* store = nullptr;   // required
    Poster* poster = nullptr;         // required
    std::vector<std::shared_ptr<HidBackend>> backends;
    PointerSettings* pointer = nullptr;  // none: pointer settings are left alone
    std::string documentsDir;            // the macro folder is created inside
    Sleeper sleeper;                     // pauses of the device code (default: sleep)
    // The help document to open (empty: none found) and its name for message 15;
    // the registration page, installed with the help documents.
    std::function<std::string()> findHelpDocument;
    std::string helpDocumentName;
    std::function<std::string()> findRegistrationPage;
    // A language file for a non-English system language is in use: the left-click
    // notice is then the translated message, not the English picture box.
    bool translated = false;
};

class CMainFrameModel : public QObject, public HidNotifyReceiver {
    Q_OBJECT
public:
    CMainFrameModel(ModelParts parts, MainFrameView& view, QObject* parent = nullptr);
    ~CMainFrameModel() override;

    // Started with "/Automation": hidden, and no transfer control reports with
    // first parameter 3 for the whole run.
    void SetAutomation(bool automation);
    // The window's initialisation: publishes the handle, makes the macro folder, and
    // (unless hidden) searches for the mouse.
    void Initialise(WindowHandle handle);

    // Messages from the mailbox and the window's own controls.
    void HandleMessage(const Message& message);
    void Command(int id);

    // Device-selection dialog (the view runs it).
    void SelectionPicked(int index);

    // Arrival and removal (HidNotifyReceiver).
    void OnDeviceChange(std::uint32_t event, const std::string& path) override;

    // State for the window and the tests.
    int Page() const { return page_; }
    bool HiddenStart() const { return hiddenStart_; }
    bool DeviceReady() const { return deviceReady_; }
    bool MemoryLoaded() const { return memoryLoaded_; }
    bool Busy() const { return busy_; }
    bool ChangesPending() const { return changesPending_; }
    int CurrentProfile() const { return currentProfile_; }
    int SelectedButton() const { return selectedButton_; }
    bool SelectedIsFactory() const { return selectedIsFactory_; }
    bool BattleMode() const { return battleMode_; }
    int DeviceCount() const { return deviceCount_; }
    int SelectedIndex() const { return selectedIndex_; }
    bool SearchAgainPending() const { return searchAgain_.isActive(); }
    // The mouse found but closed to this user that the user was told about ("" none).
    const std::string& NoAccessPath() const { return noAccessPath_; }
    bool KeepAliveRunning() const { return keepAlive_.isActive(); }
    int ProfileCount() const;
    ButtonView Button(int button) const;
    const std::string& MacroFolder() const { return macroFolder_; }
    CIcRK44& Memory() { return memory_; }
    CHidClient& Hid() { return hid_; }
    CTransferEngine& Engine() { return engine_; }

    // Where registration and the web site point: a page installed with the help.
    static std::string RegistrationAddress();
    // The folder the application chooser opens in: the stored program's, when it
    // still exists, else the first of kLaunchFolders there is.
    static std::string LaunchStartFolder(const std::string& storedProgram);

signals:
    void pageChanged(int page);
    void transferFinished();

private:
    // Start-up and search.
    void Search();
    bool CheckEntry(int index);
    void Greet(int entry);
    void Pause(int ms);
    void BeginLoad();
    void FinishLoad();
    void LoseMouse();
    void ShowNoMousePage();
    void TellNoAccess(const std::string& path);

    // Transfers.
    void RunStepped(int timerId);
    void StepTick();
    void FinishTransfer();
    void AfterApplyOrRestore();
    // The name of a macro store is kept only when the whole script reached the mouse.
    void SettleMacroName(bool stored);
    bool MacroStored() const;

    // Commands.
    void SelectProfileButton(int profile);
    void SelectButton(int button, bool factoryHint, bool hasHint);
    void Apply();
    void Hide();
    void Exit();
    void RestoreProfile();
    void ChooseFunction();
    void ChooseLaunch();
    void ChooseMacro();
    void RestoreButton();
    void SwitchLed(bool battle);
    void OpenHelp();
    void OpenDocument(const std::string& document);
    void OpenRegistration();
    void OpenConfigDialog(int id);
    void DeviceEvent(std::uint32_t wParam, std::uint32_t lParam);

    bool RequireMouse();
    bool LeftClickAllows(int functionIndex);
    void AfterAssignment(int dirty);
    int Prompt(PromptRequest& request);
    void PostOsd(std::uint32_t code, std::uint32_t value);
    void PublishCurrentDialog(std::uint32_t value);
    void SetPage(int page);
    void RefreshFromMemory();
    void ApplyPointer(int profile);
    int ProfileByte() const;
    void LaunchSlot(int profile, int button);
    void StopTimers();

    ModelParts parts_;
    MainFrameView& view_;
    CHidClient hid_;
    CIcRK44 memory_;
    CDefaultTables tables_;
    CTransferEngine engine_;
    std::string macroFolder_;

    QTimer stepTimer_;
    QTimer keepAlive_;
    QTimer searchAgain_;
    int stepTimerId_ = 0;

    bool quiet_ = false;
    bool hiddenStart_ = false;
    bool initialised_ = false;
    bool deviceReady_ = false;
    bool memoryLoaded_ = false;
    bool busy_ = false;
    bool changesPending_ = false;
    bool closing_ = false;
    int page_ = kPageNone;
    int currentProfile_ = 0;
    int selectedButton_ = kNoButton;
    bool selectedIsFactory_ = false;
    bool battleMode_ = false;
    int deviceCount_ = 0;
    int selectedIndex_ = 0;
    std::vector<int> choices_;    // table entries this user may open
    std::string noAccessPath_;
    int pickedIndex_ = -1;        // line of the selection dialog in use
    int profileAfterApply_ = -1;  // profile change waiting for a stepped apply
    int macroButton_ = -1;        // button whose macro a stepped store writes
    std::optional<MacroNameChange> macroName_;  // its name, until the store ends
};

}  // namespace pallix::app
