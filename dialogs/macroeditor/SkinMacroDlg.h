#pragma once
// CSkinMacroDlg: the macro editor. It keeps the macro files of the macro folder,
// shows one macro as lines, records, inserts commands, sets delays, moves and
// deletes lines and saves back to the file. It never talks to the mouse.
//
//   CSkinMacroDlg editor(store, macroFolder, prompt, profile, button,
//                        [this](int p) { OnProfileSwitched(p); }, this);
//   editor.SetDialogFont(font);
//   store.WriteDword(kCurrentDialog, kDialogMacroEditor);
//   editor.exec();                 // each showing starts afresh
//   profile = editor.Profile();    // may have changed on the mouse meanwhile
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QRegion>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "common/Messages.h"
#include "common/Posting.h"
#include "common/SettingsStore.h"
#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "macro/MacroFolder.h"
#include "macro/MacroMessages.h"
#include "skin/SkinnedWindow.h"

class QLineEdit;

namespace pallix {

class CColorCombox;
class CHoverButtonEx;
class CHoverButtonEx2;
class CMacroRecorder;
class CSkinDlg;
class CSkinListCtrl;
class CWndShadow;
class QtMailbox;

class CSkinMacroDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids.
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_APPLY = 1728;
    static constexpr int IDC_LINES = 1089;
    static constexpr int IDC_MACRO_BUTTON = 1810;
    static constexpr int IDC_MACRO_LIST = 1811;
    static constexpr int IDC_COMMAND_BUTTON = 1812;
    static constexpr int IDC_COMMAND_LIST = 1813;
    static constexpr int IDC_INSERT = 1074;
    static constexpr int IDC_RECORD = 1113;
    static constexpr int IDC_STOP = 1114;
    static constexpr int IDC_DELETE = 1080;
    static constexpr int IDC_UP = 1078;
    static constexpr int IDC_DOWN = 1079;
    static constexpr int IDC_DELAY = 1088;
    static constexpr int IDC_UNIT_MORE = 1076;
    static constexpr int IDC_UNIT_LESS = 1077;
    static constexpr int IDC_ADJUST = 1075;
    static constexpr int IDC_WITHOUT_DELAY = 1091;
    static constexpr int IDC_DEFAULT_DELAY = 1092;
    static constexpr int IDC_DEFAULT_FIELD = 1093;
    static constexpr int IDC_CONFIGURE = 1073;
    static constexpr int IDC_NEW = 1081;
    static constexpr int IDC_LOAD = 1082;
    static constexpr int IDC_SAVE_AS = 1083;
    static constexpr int IDC_DELETE_FILE = 1090;

    static constexpr int kFacePicture = 356;
    static constexpr int kDragBand = 40;
    static constexpr int kMaxProfile = 4;
    static constexpr int kDelayFieldLength = 5;
    static constexpr int kDefaultFieldLength = 4;

    // Tells the owner that the mouse switched to another profile while the editor
    // was open (from WM_DEVICE_EVENT).
    using ProfileReport = std::function<void(int profile)>;
    // Picks a file: save = false for "Load from file"; empty when cancelled.
    using FileChooser = std::function<QString(bool save, const QString& proposedName)>;

    CSkinMacroDlg(SettingsStore& store, std::filesystem::path macroFolder, CSkinDlg& prompt, int profile,
                  int button, ProfileReport profileChanged, QWidget* parent = nullptr);
    ~CSkinMacroDlg() override;

    void SetDialogFont(const QFont& font);
    void SetMacroFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
    void SetProfile(int profile) { profile_ = profile; }
    void SetButton(int button) { button_ = button; }
    int Profile() const { return profile_; }
    int Button() const { return button_; }
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // WM_DEVICE_EVENT: 1 when handled, 0 when wParam is not the profile/level code.
    int OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam);
    // Runs a control's command, as a click on it does.
    void OnCommand(int id);
    // Where "Load from file" and "Save as file" open: the folder of the last file
    // chosen there (kept in the settings store) while it exists, else the macro folder.
    QString FileDialogFolder();
    // "Load from file" and "Save as file" once the file is chosen.
    void LoadFromFile(const QString& path);
    void SaveAsFile(const QString& path);
    // Macro selection in the macro list, as the user picks it.
    void SelectMacro(int index);
    void SelectCommand(int index);
    // Line selection, as the user picks rows in the list.
    void SelectLines(const std::vector<int>& rows);

    // State, for the owner and the tests.
    macro::CSkinLVCmdList& Lines() { return lines_; }
    const QString& MacroName() const { return macroName_; }
    std::filesystem::path MacroPath() const;
    bool Recording() const;
    bool Changed() const { return changed_; }
    macro::DelaySettings ActiveDelays() const;
    int DefaultDelay() const { return defaultDelay_; }
    WindowHandle Handle() const;
    QWidget* Control(int id) const;
    CSkinListCtrl* List() const { return list_; }
    CMacroRecorder* Recorder() const { return recorder_; }
    CColorCombox* MacroList() const { return macroList_; }
    CColorCombox* CommandList() const { return commandList_; }
    QLineEdit* DelayField() const { return delayField_; }
    QLineEdit* DefaultField() const { return defaultField_; }
    const QRegion& Shape() const { return shape_; }

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    CHoverButtonEx* AddButton(int id, int picture, QPoint at, int tooltip);
    void Initialise();
    void ResetEditing();
    void FillMacroList();
    void AddMacroEntry(const QString& name, const QString& file);
    // The file name a new or imported macro gets: name + ".Mac".
    QString NewMacroFile(const QString& name) const;
    macro::MacroEntry CurrentEntry() const;
    void EnableControls(bool enable);
    void UpdateLineButtons();
    void SetChanged();
    bool Save(const std::filesystem::path& path);
    void Tell(macro::MacroMessage message, const QString& suffix = QString());
    void ShowMessageText(const QString& text);
    bool Confirm(const QString& question);
    void SetMacroCaption(const QString& name);
    void SetCommandCaption(const QString& caption);
    void ShowModeButtons();
    void OnFieldEdited(QLineEdit* field);
    void OnOk();
    void OnApply();
    void OnCancel();
    void OnInsert();
    void OnDelete();
    void OnMove(bool up);
    void OnUnit(bool more);
    void OnAdjust();
    void OnWithoutDelay();
    void OnDefaultDelay();
    void OnConfigure();
    void OnRecord();
    void OnStop();
    void OnNew();
    void OnLoad();
    void OnSaveAs();
    void OnDeleteFile();
    void OnBufferFull();
    void OnListSelection(const std::vector<int>& rows);
    void OnListClicked();
    void OnMailbox(const Message& message);
    void Withdraw();
    QString DefaultFileChooser(bool save, const QString& proposed);
    void RememberFileFolder(const QString& chosen);

    SettingsStore& store_;
    std::filesystem::path folder_;
    CSkinDlg& prompt_;
    int profile_;
    int button_;
    ProfileReport profileChanged_;
    FileChooser chooseFile_;

    macro::CSkinLVCmdList lines_;
    QString macroName_;
    QString macroFile_;  // the file the current macro was listed from
    bool changed_ = false;
    bool busy_ = false;
    int defaultDelay_ = 0;
    bool withoutActive_ = false, defaultActive_ = false;
    bool withoutChosen_ = false, defaultChosen_ = false;

    QFont font_;
    QImage face_;
    QRegion shape_;
    CSkinnedWindow skin_{*this};

    std::map<int, QWidget*> controls_;
    CSkinListCtrl* list_;
    CColorCombox* macroList_;
    CColorCombox* commandList_;
    CHoverButtonEx2* macroButton_;
    CHoverButtonEx2* commandButton_;
    QLineEdit* delayField_;
    QLineEdit* defaultField_;
    CMacroRecorder* recorder_;
    CWndShadow* shadow_;
    std::unique_ptr<QtMailbox> mailbox_;
    bool editingField_ = false;
};

}  // namespace pallix
