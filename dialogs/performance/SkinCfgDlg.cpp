#include "dialogs/performance/SkinCfgDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

#include "app/texts/TextTables.h"
#include "common/PointerProfile.h"
#include "device/DefaultTables.h"
#include "dialogs/DialogSupport.h"
#include "skin/BitmapSlider.h"
#include "skin/HoverButton.h"
#include "skin/SkinControl.h"

namespace pallix {
namespace {

using namespace memmap;

constexpr int kCommandPauseMs = 100;
constexpr int kWritePauseMs = 10;
constexpr int kSliderSteps = 10;
constexpr int kEntryLength = 4;

// Report-rate buttons: id, code, picture, selected picture, place.
struct RateButton {
    int id, code, picture, selected;
    QPoint at;
};
constexpr RateButton kRates[3] = {
    {CSkinCfgDlg::IDC_RATE_125, kRateCode125, 173, 175, {220, 160}},
    {CSkinCfgDlg::IDC_RATE_500, kRateCode500, 174, 176, {310, 160}},
    {CSkinCfgDlg::IDC_RATE_1000, kRateCode1000, 346, 347, {400, 160}},
};

// A control byte as the dialog works with it: bits 4-6 forced to 1, 0, 0.
int Normalised(int byte) { return (byte & 0x70) == 0x40 ? byte : ((byte & 0x0F) | 0x40); }
int WithLevel(int byte, int level) { return (Normalised(byte) & 0x7C) | (level & kLevelMask); }
int WithRate(int byte, int code) { return (Normalised(byte) & 0x73) | (code << kRateShift); }

int PositionOf(int value) { return std::clamp(value, 1, kSliderSteps); }

// The slider reads SLOW on the left: the left end is the longest double-click time.
int DoubleClickPosition(int ms) { return kSliderSteps + 1 - PositionOf(ms / 100); }
int DoubleClickTimeOf(int pos) { return (kSliderSteps + 1 - PositionOf(pos)) * 100; }

// Beside each pointer slider's title, on the right.
constexpr QRect kReachNoteAt[3] = {{372, 204, 262, 15}, {372, 259, 262, 15}, {372, 314, 262, 15}};
const char* kReachNoteStyle = "QLabel { color: rgb(230, 170, 60); font: 9px; background: transparent; }";

}  // namespace

QString CSkinCfgDlg::ReachText(PointerResult result) {
    switch (result) {
    case PointerResult::Applied: break;
    case PointerResult::OwnWindowsOnly: return QStringLiteral("Only this program's windows follow it here");
    case PointerResult::Unsupported: return QStringLiteral("This desktop offers no such setting");
    case PointerResult::Failed: return QStringLiteral("The desktop did not take it");
    }
    return {};
}

namespace {

}  // namespace

CSkinCfgDlg::CSkinCfgDlg(CIcRK44& memory, SettingsStore& store, PointerSettings& pointer, Poster& poster,
                         QWidget* parent, Sleeper sleeper)
    : CDeviceDialog(store, kConfigureHandle, std::move(sleeper), parent),
      memory_(memory),
      pointer_(pointer),
      poster_(poster) {
    ok_ = new CHoverButtonEx(this, IDOK);
    cancel_ = new CHoverButtonEx(this, IDCANCEL);
    apply_ = new CHoverButtonEx(this, IDC_APPLY);
    reset_ = new CHoverButtonEx(this, IDC_RESET);
    oneScreen_ = new CHoverButtonEx(this, IDC_ONE_SCREEN);
    for (int i = 0; i < 3; ++i) rate_[i] = new CHoverButtonEx(this, kRates[i].id);
    bar_ = new CBitmapSlider(this, IDC_SENSITIVITY_BAR);
    levelSlider_ = new CBitmapSliderEx2(this, IDC_LEVEL);
    doubleClick_ = new CBitmapSliderEx2(this, IDC_DOUBLE_CLICK);
    cursor_ = new CBitmapSliderEx2(this, IDC_CURSOR_SPEED);
    scroll_ = new CBitmapSliderEx2(this, IDC_SCROLL_SPEED);
    entry_ = new QLineEdit(this);
    SetControlId(entry_, IDC_DPI_ENTRY);
    StyleEntryField(entry_);
    entry_->setMaxLength(kEntryLength);
    entry_->setGeometry(90, 200, 62, 22);
    for (int i = 0; i < kPointerSettingCount; ++i) {
        reachNote_[i] = new QLabel(this);
        reachNote_[i]->setStyleSheet(QLatin1String(kReachNoteStyle));
        reachNote_[i]->setGeometry(kReachNoteAt[i]);
        reachNote_[i]->hide();
    }

    for (CHoverButtonEx* b : {ok_, cancel_, apply_, reset_, oneScreen_, rate_[0], rate_[1], rate_[2]}) {
        connect(b, &QAbstractButton::clicked, this, [this, b] { OnCommand(ControlId(b)); });
    }
    for (CBitmapSlider* s : {bar_, levelSlider_, doubleClick_, cursor_, scroll_})
        connect(s, &CBitmapSlider::Posted, this, &CSkinCfgDlg::OnMailboxMessage, Qt::QueuedConnection);
    connect(entry_, &QLineEdit::textChanged, this, &CSkinCfgDlg::OnEntryChanged);

    ok_->SetTooltipText(UiQString(texts::UI_OK_EXIT));
    cancel_->SetTooltipText(UiQString(texts::UI_CANCEL));
    apply_->SetTooltipText(UiQString(texts::UI_APPLY));
    reset_->SetTooltipText(UiQString(texts::UI_RESET_TO_DEFAULT));
    oneScreen_->SetTooltipText(UiQString(texts::UI_ONE_SCREEN));
    setWindowTitle(UiQString(texts::UI_TITLE));
    resize(640, 440);
}

CSkinCfgDlg::~CSkinCfgDlg() {
    if (open_) Withdraw();
}

void CSkinCfgDlg::SetDpiScale(bool isVersion1802) {
    scale_ = DpiScale::ForModel(isVersion1802 ? kModel1802 : kModel1801);
    scaleOverridden_ = true;
    bar_->SetRange(1, scale_.maxStep);
}

CBitmapSlider* CSkinCfgDlg::Slider(int id) const {
    for (CBitmapSlider* s : {bar_, levelSlider_, doubleClick_, cursor_, scroll_})
        if (ControlId(s) == id) return s;
    return nullptr;
}

CHoverButtonEx* CSkinCfgDlg::Button(int id) const {
    for (CHoverButtonEx* b : {ok_, cancel_, apply_, reset_, oneScreen_, rate_[0], rate_[1], rate_[2]})
        if (ControlId(b) == id) return b;
    return nullptr;
}

void CSkinCfgDlg::setVisible(bool visible) {
    if (visible && !open_) OnInitDialog();
    CDeviceDialog::setVisible(visible);
}

void CSkinCfgDlg::OnInitDialog() {
    open_ = true;
    if (!scaleOverridden_) scale_ = DpiScale::ForModel(memory_.Model());
    scaleOverridden_ = false;
    SetFace(kFacePicture);

    const struct {
        CHoverButtonEx* button;
        int picture;
        QPoint at;
    } strips[] = {{ok_, 342, {340, 395}}, {cancel_, 340, {438, 395}}, {apply_, 339, {536, 395}},
                  {reset_, 344, {200, 395}}};
    for (const auto& s : strips) {
        s.button->SetHorizontal(true);
        s.button->LoadStrip(s.picture);
        s.button->move(s.at);
    }
    for (int i = 0; i < 3; ++i) {
        rate_[i]->SetHorizontal(true);
        rate_[i]->move(kRates[i].at);
    }
    oneScreen_->SetHorizontal(true);
    oneScreen_->move(430, 332);

    bar_->LoadChannel(468, 467);  // lit from the bottom up to the level's step
    bar_->SetVertical(true);
    bar_->SetRange(1, scale_.maxStep);
    bar_->move(40, 90);
    levelSlider_->LoadChannel(186);
    levelSlider_->LoadThumb(180, 181);
    levelSlider_->SetRange(1, memmap::kLevelCount);
    levelSlider_->SetPageSize(1);
    levelSlider_->move(220, 80);
    const QPoint sliderAt[3] = {{220, 225}, {220, 280}, {220, 335}};
    CBitmapSlider* speeds[3] = {doubleClick_, cursor_, scroll_};
    for (int i = 0; i < 3; ++i) {
        speeds[i]->LoadChannel(177);
        speeds[i]->LoadThumb(178, 179);
        speeds[i]->SetRange(1, kSliderSteps);
        speeds[i]->SetPageSize(1);
        speeds[i]->move(sliderAt[i]);
    }
    entry_->setFont(entryFont_);
    EnableControls(true);
    for (QLabel* note : reachNote_) note->hide();

    snapshots_.clear();
    NormaliseRate();
    ReloadLevel();
    ReadPointerSliders();
    TakeSnapshot(false);
    Publish();
}

int CSkinCfgDlg::ReadControlByte() {
    int value = 0;
    if (memory_.ReadByte(Base(), value)) memory_.StoreClean(Base(), value);
    return Cached(Base());
}

void CSkinCfgDlg::WriteSettled(int address, int value) {
    // A failed write keeps the change in the cache; it goes with the next APPLY.
    if (!memory_.WriteThrough(address, value)) memory_.SetCached(address, value);
    memory_.SendCommand(0, 0, 0);
    Pause(kCommandPauseMs);
}

void CSkinCfgDlg::NormaliseRate() {
    if (!ValidProfile()) return;
    int control = Normalised(Cached(Base()));
    // 250 Hz is not offered here: the mouse is moved to 500 Hz.
    if (RateCodeOf(std::uint8_t(control)) == 2) {
        control = WithRate(control, kRateCode500);
        memory_.SetCached(Base(), control);
    }
    ShowRate(RateCodeOf(std::uint8_t(control)));
}

void CSkinCfgDlg::ShowRate(int code) {
    pollingIndex_ = -1;
    for (int i = 0; i < 3; ++i) {
        const bool selected = kRates[i].code == code;
        if (selected) pollingIndex_ = i;
        rate_[i]->LoadStrip(selected ? kRates[i].selected : kRates[i].picture);
    }
}

void CSkinCfgDlg::ReloadLevel() {
    if (!ValidProfile()) return;
    showSecondCopy_ = (Cached(kDeviceSettingsAddress) & 0x40) != 0;
    level_ = ActiveLevelOf(std::uint8_t(Cached(Base())));
    levelSlider_->SetPos(level_ + 1);
    RefreshSensitivity();
}

void CSkinCfgDlg::RefreshSensitivity() {
    if (!ValidProfile() || !ValidLevel()) return;
    const int address = showSecondCopy_ ? SensitivityCopyAddress(profile_, level_) : SensitivityAddress(profile_, level_);
    const int step = scale_.ByteToStep(Cached(address));
    bar_->SetPos(scale_.maxStep + scale_.minStep - step);
    ShowEntry(scale_.StepToDpi(step));
}

void CSkinCfgDlg::ShowEntry(int dpi) {
    settingEntry_ = true;
    entry_->setText(QString::number(dpi));
    settingEntry_ = false;
}

CSkinCfgDlg::PointerSnapshot CSkinCfgDlg::ReadPointer() {
    return {pointer_.DoubleClickTime().value_or(kDefaultDoubleClickMs),
            pointer_.Speed().value_or(kDefaultPointerSpeed), pointer_.WheelScrollLines().value_or(kDefaultWheelLines)};
}

void CSkinCfgDlg::ReadPointerSliders() {
    const PointerSnapshot now = ReadPointer();
    doubleClick_->SetPos(DoubleClickPosition(now.doubleClickMs));
    cursor_->SetPos(PositionOf(now.speed / 2));
    speedChanged_ = false;
    pageScroll_ = now.wheel == kWheelOnePage;
    scroll_->SetPos(pageScroll_ ? kSliderSteps : PositionOf(now.wheel));
    ShowToggle();
    wheelChanged_ = false;
}

void CSkinCfgDlg::TakeSnapshot(bool keepExisting) {
    pointerSnapshot_ = ReadPointer();
    if (!ValidProfile() || (keepExisting && snapshots_.count(profile_))) return;
    ByteSnapshot bytes{};
    for (int i = 0; i < kProfileBytes; ++i) bytes[std::size_t(i)] = Cached(Base() + i);
    bytes[0] = Normalised(bytes[0]);
    snapshots_[profile_] = bytes;
}

void CSkinCfgDlg::ShowToggle() { oneScreen_->LoadStrip(pageScroll_ ? 348 : 349); }

void CSkinCfgDlg::OnSliderChanged(int id, int pos) {
    switch (id) {
    case IDC_LEVEL: ChooseLevel(pos); break;
    case IDC_SENSITIVITY_BAR: MoveBar(pos); break;
    case IDC_DOUBLE_CLICK: SetDoubleClick(pos); break;
    case IDC_CURSOR_SPEED: SetCursorSpeed(pos); break;
    case IDC_SCROLL_SPEED: SetScrollSpeed(pos); break;
    default: break;
    }
}

void CSkinCfgDlg::OnCommand(int id) {
    switch (id) {
    case IDOK: OnOk(); break;
    case IDCANCEL: OnCancel(); break;
    case IDC_APPLY: OnApply(); break;
    case IDC_RESET: ResetToDefault(); break;
    case IDC_ONE_SCREEN: ToggleOneScreen(); break;
    case IDC_RATE_125: case IDC_RATE_500: case IDC_RATE_1000: ChooseRate(id); break;
    default: break;
    }
}

void CSkinCfgDlg::ChooseLevel(int pos) {
    if (!ValidProfile() || pos < 1 || pos > kLevelCount) return;
    WriteSettled(Base(), WithLevel(ReadControlByte(), pos - 1));
    level_ = pos - 1;
    RefreshSensitivity();
}

void CSkinCfgDlg::MoveBar(int pos) {
    if (!ValidProfile() || !ValidLevel()) return;
    const int step = scale_.maxStep + 1 - pos;
    const int byte = scale_.StepToByte(step);
    if (byte == Cached(SensitivityAddress(profile_, level_))) return;
    memory_.SetCached(SensitivityAddress(profile_, level_), byte);
    memory_.SetCached(SensitivityCopyAddress(profile_, level_), byte);
    ShowEntry(scale_.StepToDpi(step));
}

void CSkinCfgDlg::OnEntryChanged() {
    if (settingEntry_) return;
    const QString now = entry_->text();
    const QString valid = ValidatedNumber(now, scale_.maxDpi);
    if (valid != now) {
        entry_->setText(valid);  // comes back here with the valid text
        return;
    }
    if (!ValidProfile() || !ValidLevel()) return;
    const int step = scale_.DpiToStep(valid.toInt());
    const int byte = scale_.StepToByte(step);
    if (Cached(SensitivityAddress(profile_, level_)) == byte) return;
    memory_.SetCached(SensitivityAddress(profile_, level_), byte);
    memory_.SetCached(SensitivityCopyAddress(profile_, level_), byte);
    bar_->SetPos(scale_.maxStep + scale_.minStep - step);
}

void CSkinCfgDlg::NormaliseEntry() {
    const int dpi = scale_.DpiToStep(entry_->text().toInt()) * scale_.dpiUnit;
    if (entry_->text() != QString::number(dpi)) ShowEntry(dpi);
}

void CSkinCfgDlg::ChooseRate(int id) {
    int index = -1;
    for (int i = 0; i < 3; ++i)
        if (kRates[i].id == id) index = i;
    if (index < 0 || index == pollingIndex_ || !ValidProfile()) return;
    const int control = Normalised(ReadControlByte());
    const int code = kRates[index].code;
    if (RateCodeOf(std::uint8_t(control)) != code) {
        WriteSettled(Base(), WithRate(control, code));
    } else {
        memory_.SendCommand(0, 0, 0);
        Pause(kCommandPauseMs);
    }
    ShowRate(code);
}

void CSkinCfgDlg::ShowReach(PointerSetting setting, PointerResult result) {
    QLabel* note = reachNote_[setting];
    note->setText(ReachText(result));
    note->setVisible(!note->text().isEmpty());
}

QString CSkinCfgDlg::ReachNote(int sliderId) const {
    const int i = sliderId == IDC_DOUBLE_CLICK ? kDoubleClickSetting
                  : sliderId == IDC_CURSOR_SPEED ? kSpeedSetting
                  : sliderId == IDC_SCROLL_SPEED ? kWheelSetting
                                                 : -1;
    return i >= 0 && reachNote_[i]->isVisibleTo(this) ? reachNote_[i]->text() : QString();
}

void CSkinCfgDlg::SetDoubleClickTime(int ms) { ShowReach(kDoubleClickSetting, pointer_.SetDoubleClickTime(ms)); }
void CSkinCfgDlg::SetSpeed(int speed) { ShowReach(kSpeedSetting, pointer_.SetSpeed(speed)); }
void CSkinCfgDlg::SetWheelLines(int lines) { ShowReach(kWheelSetting, pointer_.SetWheelScrollLines(lines)); }

void CSkinCfgDlg::SetDoubleClick(int pos) { SetDoubleClickTime(DoubleClickTimeOf(pos)); }

void CSkinCfgDlg::SetCursorSpeed(int pos) {
    SetSpeed(PositionOf(pos) * 2);
    speedChanged_ = true;
}

int CSkinCfgDlg::WheelSetting() const { return pageScroll_ ? kWheelOnePage : PositionOf(scroll_->GetPos()); }

void CSkinCfgDlg::SetScrollSpeed(int pos) {
    if (pageScroll_) {
        pageScroll_ = false;
        ShowToggle();
    }
    SetWheelLines(PositionOf(pos));
    wheelChanged_ = true;
}

void CSkinCfgDlg::ToggleOneScreen() {
    pageScroll_ = !pageScroll_;
    ShowToggle();
    SetWheelLines(WheelSetting());
    wheelChanged_ = true;
}

void CSkinCfgDlg::WriteProfileBytes(bool makePermanent) {
    if (!ValidProfile()) return;
    bool anyDirty = false;
    for (int i = 0; i < kProfileBytes; ++i) {
        const int address = Base() + i;
        if (!memory_.Entry(address).dirty) continue;
        anyDirty = true;
        memory_.FlushByte(address);
        Pause(kWritePauseMs);
    }
    // Settings of this desktop session hold already; setting them again is what
    // makes them the ones the owner stores for the profile.
    if (makePermanent) {
        if (speedChanged_) SetSpeed(PositionOf(cursor_->GetPos()) * 2);
        if (wheelChanged_) SetWheelLines(WheelSetting());
        speedChanged_ = wheelChanged_ = false;
    }
    if (anyDirty) {
        memory_.SendCommand(0, 0, 0);
        Pause(kCommandPauseMs);
    }
}

void CSkinCfgDlg::RestoreSnapshot(bool touchMouse) {
    if (touchMouse) {
        bool anyWritten = false;
        for (const auto& [profile, bytes] : snapshots_) {
            const int base = ProfileBlock(profile);
            for (int i = 0; i < kProfileBytes; ++i) {
                const int want = bytes[std::size_t(i)];
                if (Cached(base + i) == want) continue;
                anyWritten = true;
                if (memory_.WriteByte(base + i, want)) memory_.StoreClean(base + i, want);
                Pause(kWritePauseMs);
            }
        }
        if (anyWritten) {
            memory_.SendCommand(0, 0, 0);
            Pause(kCommandPauseMs);
        }
    }
    const PointerSnapshot now = ReadPointer();
    if (now.doubleClickMs != pointerSnapshot_.doubleClickMs) SetDoubleClickTime(pointerSnapshot_.doubleClickMs);
    if (now.speed != pointerSnapshot_.speed) SetSpeed(pointerSnapshot_.speed);
    if (now.wheel != pointerSnapshot_.wheel) SetWheelLines(pointerSnapshot_.wheel);
}

void CSkinCfgDlg::EnableControls(bool enable) {
    for (CHoverButtonEx* b : {ok_, cancel_, apply_, reset_, oneScreen_, rate_[0], rate_[1], rate_[2]})
        b->setEnabled(enable);
    for (CBitmapSlider* s : {bar_, levelSlider_, doubleClick_, cursor_, scroll_}) s->EnableSlider(enable);
    entry_->setEnabled(enable);
}

void CSkinCfgDlg::ResetToDefault() {
    reset_->ResetHover();
    EnableControls(false);
    if (ValidProfile()) {
        CDefaultTables tables;
        tables.RewriteForModel(memory_.Model());
        const auto& defaults = tables.ProfileBlock(profile_);
        bool anyDirty = false;
        for (int i = 0; i < kProfileBytes && i < int(defaults.size()); ++i) {
            const AddressValue& d = defaults[std::size_t(i)];
            if (!memory_.SetCached(d.address, d.value)) continue;
            anyDirty = true;
            memory_.FlushByte(d.address);
            Pause(kWritePauseMs);
        }
        if (anyDirty) {
            memory_.SendCommand(0, 0, 0);
            Pause(kCommandPauseMs + kWritePauseMs);
        }
    }
    ShowRate(kRateCode1000);
    ReloadLevel();
    SetDoubleClickTime(kDefaultDoubleClickMs);
    doubleClick_->SetPos(DoubleClickPosition(kDefaultDoubleClickMs));
    SetSpeed(kDefaultPointerSpeed);
    cursor_->SetPos(kDefaultPointerSpeed / 2);
    SetWheelLines(kDefaultWheelLines);
    scroll_->SetPos(kDefaultWheelLines);
    pageScroll_ = false;
    ShowToggle();
    speedChanged_ = wheelChanged_ = false;
    EnableControls(true);
    PostOsdNotice();
}

void CSkinCfgDlg::PostOsdNotice() {
    if (!ValidProfile() || !ValidLevel()) return;
    const std::uint32_t s = std::uint32_t(Cached(SensitivityAddress(profile_, level_))) & 0xFF;
    const std::uint32_t word = std::uint32_t(level_) | (std::uint32_t(profile_) << 4) | (s << 8) | (s << 16);
    PostToWindow(Store(), poster_, kOsdHandle, Message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, word});
}

void CSkinCfgDlg::OnOk() {
    ok_->ResetHover();
    WriteProfileBytes(true);
    Withdraw();
    PostOsdNotice();
    done(kResultOk);
}

void CSkinCfgDlg::OnApply() {
    apply_->ResetHover();
    WriteProfileBytes(false);
    NormaliseEntry();
    PostOsdNotice();
}

void CSkinCfgDlg::OnCancel() {
    cancel_->ResetHover();
    RestoreSnapshot(true);
    Withdraw();
    done(kResultCancel);
}

void CSkinCfgDlg::CloseForLostMouse() {
    if (!open_) return;
    RestoreSnapshot(false);
    Withdraw();
    done(kResultCancel);
}

void CSkinCfgDlg::reject() { OnCancel(); }

void CSkinCfgDlg::accept() { OnOk(); }

void CSkinCfgDlg::done(int result) {
    if (open_) {
        open_ = false;
        Withdraw();
        // The desktop's pointer settings now belong to the profile the dialog ends on.
        SavePointerProfile(Store(), pointer_, profile_);
    }
    CDeviceDialog::done(result == kResultOk ? kResultOk : kResultCancel);
}

void CSkinCfgDlg::SwitchProfile(int profile) {
    profile_ = profile;
    NormaliseRate();
    ReloadLevel();
    ApplyPointerProfile(Store(), pointer_, profile_);
    ReadPointerSliders();
    TakeSnapshot(true);
}

void CSkinCfgDlg::OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam) {
    if (!open_) return;
    if (wParam == OSD_PROFILE_LEVEL) {
        const ProfileLevel word = UnpackProfileLevel(lParam);
        if (word.profileChanged) {
            if (int(word.profile) < kProfileCount) SwitchProfile(int(word.profile));
            return;
        }
        if (int(word.profile) != profile_ || !ValidProfile()) return;
        const int control = (Cached(Base()) & 0x7C) | int(word.level & kLevelMask);
        memory_.StoreClean(Base(), control);
        snapshots_[profile_][0] = Normalised(control);
        level_ = int(word.level);
        levelSlider_->SetPos(level_ + 1);
        RefreshSensitivity();
    } else if (wParam == OSD_POLLING_RATE) {
        const int code = int(lParam & 3);
        if (code == 2 || !ValidProfile()) return;
        const int control = WithRate(Cached(Base()), code);
        if (control != Cached(Base())) memory_.SetCached(Base(), control);
        ShowRate(code);
        snapshots_[profile_][0] = Cached(Base());
    }
}

}  // namespace pallix
