#pragma once
// CSkinCfgDlg: the performance dialog. For one profile it edits the four sensitivity
// levels, the active level and the report rate in the lent CIcRK44 cache, and the
// desktop's double-click time, pointer speed and wheel lines. Level and rate changes
// and RESET TO DEFAULT reach the mouse at once; sensitivity values on APPLY or OK.
//
//   CSkinCfgDlg dlg(memory, store, pointer, poster, this);
//   dlg.SetProfile(current);
//   dlg.exec();                       // 1 OK, 2 CANCEL
//   if (dlg.Profile() != current) ... // the mouse switched profile meanwhile
#include <QFont>

#include <array>
#include <map>

#include "common/PointerSettings.h"
#include "device/CIcRK44.h"
#include "device/DpiScale.h"
#include "dialogs/performance/DeviceDialog.h"

class QLabel;
class QLineEdit;

namespace pallix {

class CBitmapSlider;
class CHoverButtonEx;

class CSkinCfgDlg : public CDeviceDialog {
    Q_OBJECT
public:
    // Control ids.
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_APPLY = 1728;
    static constexpr int IDC_RESET = 1790;
    static constexpr int IDC_SENSITIVITY_BAR = 1806;
    static constexpr int IDC_LEVEL = 1209;
    static constexpr int IDC_DOUBLE_CLICK = 1045;
    static constexpr int IDC_CURSOR_SPEED = 1044;
    static constexpr int IDC_SCROLL_SPEED = 1046;
    static constexpr int IDC_ONE_SCREEN = 1208;
    static constexpr int IDC_RATE_125 = 1205;
    static constexpr int IDC_RATE_500 = 1206;
    static constexpr int IDC_RATE_1000 = 1207;
    static constexpr int IDC_DPI_ENTRY = 1215;
    static constexpr int kFacePicture = 343;
    static constexpr int kProfileBytes = 9;  // control byte and both copies of the levels

    // Everything is lent and must outlive the dialog. `sleeper` takes the pauses
    // after writes (default: really sleep).
    CSkinCfgDlg(CIcRK44& memory, SettingsStore& store, PointerSettings& pointer, Poster& poster,
                QWidget* parent = nullptr, Sleeper sleeper = {});
    ~CSkinCfgDlg() override;

    void SetEntryFont(const QFont& font) { entryFont_ = font; }
    // Profile 0-4 to edit; read it back after exec().
    void SetProfile(int profile) { profile_ = profile; }
    int Profile() const { return profile_; }
    // The scale follows memory.Model() at each opening; this overrides it until then.
    void SetDpiScale(bool isVersion1802);
    const DpiScale& Scale() const { return scale_; }

    // The mouse is gone: end with CANCEL without touching it (the desktop settings
    // are still put back).
    void CloseForLostMouse();

    // State for the owner and the tests.
    int Level() const { return level_; }
    int PollingIndex() const { return pollingIndex_; }  // 0 125 Hz, 1 500 Hz, 2 1000 Hz
    bool PageScroll() const { return pageScroll_; }
    CBitmapSlider* Slider(int id) const;
    CHoverButtonEx* Button(int id) const;
    QLineEdit* Entry() const { return entry_; }
    // The note beside a pointer slider (1045, 1044, 1046) when its last change did
    // not reach the desktop; empty when it did, or nothing was changed yet.
    QString ReachNote(int sliderId) const;
    static QString ReachText(PointerResult result);

    void setVisible(bool visible) override;

public slots:
    void done(int result) override;
    void reject() override;  // Escape, closing the window: CANCEL
    void accept() override;  // Enter: OK
    // A command as its button sends it (OK, CANCEL, APPLY, RESET, rates, toggle).
    void OnCommand(int id);

protected:
    void OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam) override;
    void OnSliderChanged(int controlId, int pos) override;

private:
    enum PointerSetting { kDoubleClickSetting = 0, kSpeedSetting = 1, kWheelSetting = 2 };
    static constexpr int kPointerSettingCount = 3;
    struct PointerSnapshot {
        int doubleClickMs = 0, speed = 0, wheel = 0;
    };
    using ByteSnapshot = std::array<int, kProfileBytes>;

    void OnInitDialog();
    bool ValidProfile() const { return profile_ >= 0 && profile_ < memmap::kProfileCount; }
    bool ValidLevel() const { return level_ >= 0 && level_ < memmap::kLevelCount; }
    int Base() const { return memmap::ProfileBlock(profile_); }
    int Cached(int address) const { return memory_.Entry(address).value; }
    int ReadControlByte();
    void WriteSettled(int address, int value);
    void NormaliseRate();
    void ShowRate(int code);
    void ReloadLevel();
    void RefreshSensitivity();
    void ShowEntry(int dpi);
    void ReadPointerSliders();
    void TakeSnapshot(bool keepExisting);
    PointerSnapshot ReadPointer();
    void ShowToggle();

    void ChooseLevel(int pos);
    void MoveBar(int pos);
    void OnEntryChanged();
    void NormaliseEntry();
    void ChooseRate(int id);
    // Every change of a desktop pointer setting goes through these: they show where
    // it could not reach the desktop.
    void SetDoubleClickTime(int ms);
    void SetSpeed(int speed);
    void SetWheelLines(int lines);
    void ShowReach(PointerSetting setting, PointerResult result);
    void SetDoubleClick(int pos);
    void SetCursorSpeed(int pos);
    void SetScrollSpeed(int pos);
    void ToggleOneScreen();
    int WheelSetting() const;
    void WriteProfileBytes(bool makePermanent);
    void RestoreSnapshot(bool touchMouse);
    void ResetToDefault();
    void EnableControls(bool enable);
    void PostOsdNotice();
    void OnOk();
    void OnApply();
    void OnCancel();
    void SwitchProfile(int profile);

    CIcRK44& memory_;
    PointerSettings& pointer_;
    Poster& poster_;
    QFont entryFont_;
    DpiScale scale_;
    bool scaleOverridden_ = false;

    int profile_ = 0;
    int level_ = 0;
    int pollingIndex_ = -1;
    bool showSecondCopy_ = false;
    bool pageScroll_ = false;
    bool speedChanged_ = false;
    bool wheelChanged_ = false;
    bool settingEntry_ = false;
    bool open_ = false;
    // Bytes as each profile stood when the dialog first showed it: CANCEL puts back
    // every profile it touched, and only into that profile's own block.
    std::map<int, ByteSnapshot> snapshots_;
    PointerSnapshot pointerSnapshot_;

    CHoverButtonEx *ok_, *cancel_, *apply_, *reset_, *oneScreen_;
    CHoverButtonEx* rate_[3];
    CBitmapSlider *bar_, *levelSlider_, *doubleClick_, *cursor_, *scroll_;
    QLineEdit* entry_;
    QLabel* reachNote_[kPointerSettingCount];
};

}  // namespace pallix
