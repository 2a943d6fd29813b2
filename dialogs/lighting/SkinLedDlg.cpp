#include "dialogs/lighting/SkinLedDlg.h"

#include <algorithm>

#include <QPainter>

#include "app/texts/TextTables.h"
#include "device/Lighting.h"
#include "device/MemoryMap.h"
#include "dialogs/DialogSupport.h"
#include "skin/HoverButton.h"
#include "skin/SkinButton.h"
#include "skin/SkinControl.h"

namespace pallix {
namespace {

using namespace memmap;

constexpr int kCommandPauseMs = 100;
constexpr int kWritePauseMs = 10;

struct ZoneArt {
    int offset;  // in the profile block
    int selectedBase, selectedHover, base, hover, mask;
    QPoint at;
};
constexpr ZoneArt kZoneArt[CSkinLedDlg::kZones] = {
    {11, 187, 513, 290, 553, 195, {186, 135}},
    {9, 214, 537, 314, 577, 222, {178, 377}},
    {10, 223, 545, 322, 585, 231, {115, 461}},
    {12, 196, 521, 298, 561, 204, {30, 200}},
    {12, 205, 529, 306, 569, 213, {304, 200}},
};
constexpr int kLineBendX = 378;
constexpr int kAnchorX = 405;
const QColor kLineColour{214, 218, 206};

constexpr int kColourCodes[CSkinLedDlg::kColours] = {1, 5, 4, 6, 7, 3, 2};
constexpr int kColourNormal = 505, kColourBright = 491, kColourHover = 498, kColourMask = 512;
constexpr int kColourTop = 142, kColourStep = 34;
constexpr int kAnchors[CSkinLedDlg::kColours] = {148, 183, 217, 251, 285, 319, 353};
constexpr int kAnchorFirst1802 = 269;

constexpr int kOnPicture = 449, kOnSelected = 450, kOffPicture = 451, kOffSelected = 452;
constexpr int kRedCode = 1;

bool SharesByte(int zone) { return zone == 3 || zone == 4; }

}  // namespace

CSkinLedDlg::CSkinLedDlg(CIcRK44& memory, SettingsStore& store, QWidget* parent, Sleeper sleeper)
    : CDeviceDialog(store, kLedEditHandle, std::move(sleeper), parent), memory_(memory) {
    ok_ = new CHoverButtonEx(this, IDOK);
    cancel_ = new CHoverButtonEx(this, IDCANCEL);
    apply_ = new CHoverButtonEx(this, IDC_APPLY);
    on_ = new CHoverButtonEx(this, IDC_ON);
    off_ = new CHoverButtonEx(this, IDC_OFF);
    sectionOn_ = new CHoverButtonEx(this, IDC_SECTION_ON);
    sectionOff_ = new CHoverButtonEx(this, IDC_SECTION_OFF);
    fullLabel_ = new CHoverButtonEx(this, IDC_FULL_LABEL);
    sectionLabel_ = new CHoverButtonEx(this, IDC_SECTION_LABEL);
    for (CHoverButtonEx* b : {ok_, cancel_, apply_, on_, off_, sectionOn_, sectionOff_})
        connect(b, &QAbstractButton::clicked, this, [this, b] { OnCommand(ControlId(b)); });
    for (int z = 0; z < kZones; ++z) {
        zone_[std::size_t(z)] = new CxSkinButton(this, IDC_ZONE_FIRST + z);
        connect(zone_[std::size_t(z)], &QAbstractButton::clicked, this, [this, z] { OnCommand(IDC_ZONE_FIRST + z); });
    }
    for (int i = 0; i < kColours; ++i) {
        colour_[std::size_t(i)] = new CxSkinButton(this, IDC_COLOUR_FIRST + i);
        colour_[std::size_t(i)]->SetToolTipText(UiQString(texts::UI_RED + i));
        connect(colour_[std::size_t(i)], &QAbstractButton::clicked, this, [this, i] { OnCommand(IDC_COLOUR_FIRST + i); });
    }
    ok_->SetTooltipText(UiQString(texts::UI_OK));
    cancel_->SetTooltipText(UiQString(texts::UI_CANCEL));
    apply_->SetTooltipText(UiQString(texts::UI_APPLY));
    for (CHoverButtonEx* b : {on_, sectionOn_}) b->SetTooltipText(UiQString(texts::UI_LEDS_ON));
    for (CHoverButtonEx* b : {off_, sectionOff_}) b->SetTooltipText(UiQString(texts::UI_LEDS_OFF));
    setWindowTitle(UiQString(texts::UI_TITLE));
    resize(620, 500);
}

CSkinLedDlg::~CSkinLedDlg() {
    if (open_) Withdraw();
}

CHoverButtonEx* CSkinLedDlg::Button(int id) const {
    for (CHoverButtonEx* b : {ok_, cancel_, apply_, on_, off_, sectionOn_, sectionOff_, fullLabel_, sectionLabel_})
        if (ControlId(b) == id) return b;
    return nullptr;
}

int CSkinLedDlg::ZoneAddress(int zone) const {
    return ProfileBlock(profile_) + kZoneArt[std::size_t(zone)].offset;
}

bool CSkinLedDlg::IsLit(int zone) const {
    // The byte at offset 9 (zone 1) also counts state 10 as lit.
    return LightStateOf(std::uint8_t(Byte(zone)), kZoneArt[std::size_t(zone)].offset - kLightingOffset) ==
           LightState::kLit;
}

int CSkinLedDlg::ColourOfByte(int byte) const {
    if (is1802_) return (byte & 1) ? 0 : kDark;
    for (int i = 0; i < kColours; ++i)
        if (kColourCodes[i] == (byte & 7)) return i;
    return kNoColour;
}

void CSkinLedDlg::setVisible(bool visible) {
    if (visible && !open_) OnInitDialog();
    CDeviceDialog::setVisible(visible);
}

void CSkinLedDlg::OnInitDialog() {
    open_ = true;
    is1802_ = memory_.Model() == kModel1802;
    SetFace(is1802_ ? 334 : 335);
    anchorY_ = {kAnchors[0], kAnchors[1], kAnchors[2], kAnchors[3], kAnchors[4], kAnchors[5], kAnchors[6]};
    if (is1802_) anchorY_[0] = kAnchorFirst1802;

    for (CHoverButtonEx* b : {on_, off_, sectionOn_, sectionOff_, fullLabel_, sectionLabel_}) b->SetHorizontal(true);
    if (is1802_) {
        fullLabel_->LoadStrip(232);
        fullLabel_->move(410, 161);
        sectionLabel_->LoadStrip(233);
        sectionLabel_->move(410, 305);
        sectionOn_->move(393, 376);
        sectionOff_->move(495, 376);
        for (CHoverButtonEx* b : {fullLabel_, sectionLabel_, sectionOn_, sectionOff_}) b->show();
        SetSectionEnabled(false);
    } else {
        for (CHoverButtonEx* b : {fullLabel_, sectionLabel_, sectionOn_, sectionOff_}) b->hide();
    }
    for (int z = 0; z < kZones; ++z) zone_[std::size_t(z)]->move(kZoneArt[std::size_t(z)].at);

    snapshots_.clear();
    LoadProfile();

    const struct {
        CHoverButtonEx* button;
        int picture;
        QPoint at;
    } strips[] = {{ok_, 338, {333, 50}}, {cancel_, 337, {428, 50}}, {apply_, 336, {523, 50}}};
    for (const auto& s : strips) {
        s.button->SetHorizontal(true);
        s.button->LoadStrip(s.picture);
        s.button->move(s.at);
    }
    Publish();
}

void CSkinLedDlg::SetSectionEnabled(bool enable) {
    for (CHoverButtonEx* b : {sectionLabel_, sectionOn_, sectionOff_}) b->setEnabled(enable);
}

void CSkinLedDlg::ShowPair(CHoverButtonEx* on, CHoverButtonEx* off, bool lit) {
    on->LoadStrip(lit ? kOnSelected : kOnPicture);
    off->LoadStrip(lit ? kOffPicture : kOffSelected);
}

void CSkinLedDlg::LoadProfile() {
    if (!ValidProfile()) return;
    ledsOn_ = false;
    selectedZone_ = -1;
    if (!snapshots_.count(profile_)) {
        Snapshot s;
        for (int z = 0; z < kZones; ++z) s.bytes[std::size_t(z)] = Byte(z);
        snapshots_[profile_] = s;
    }
    for (int z = 0; z < kZones; ++z) {
        if (IsLit(z)) {
            ledsOn_ = true;
            zoneColour_[std::size_t(z)] = ColourOfByte(Byte(z));
        } else {
            zoneColour_[std::size_t(z)] = kDark;
        }
        ShowZone(z);
    }
    ShowColours();
    if (is1802_) {
        on_->move(393, 232);
        off_->move(495, 232);
        ShowPair(sectionOn_, sectionOff_, ledsOn_);
        SetSectionEnabled(false);
    } else {
        on_->move(393, 447);
        off_->move(496, 447);
    }
    ShowPair(on_, off_, ledsOn_);
    update();
}

void CSkinLedDlg::ShowZone(int zone) {
    const ZoneArt& art = kZoneArt[std::size_t(zone)];
    const bool selected = selectedZone_ == zone || (SharesByte(zone) && SharesByte(selectedZone_));
    const int base = selected ? art.selectedBase : art.base;
    const int hover = selected ? art.selectedHover : art.hover;
    int c = zoneColour_[std::size_t(zone)];
    if (c < 0 || c > kDark) c = kDark;
    zone_[std::size_t(zone)]->SetSkin(base + c, base + c, hover + c, base + kDark, art.mask);
}

void CSkinLedDlg::ShowColours() {
    const int shown = selectedZone_ >= 0 ? zoneColour_[std::size_t(selectedZone_)] : kNoColour;
    for (int i = 0; i < kColours; ++i) {
        CxSkinButton* b = colour_[std::size_t(i)];
        if (is1802_) {
            b->hide();
            continue;
        }
        if (i == shown) b->SetSkin(kColourBright + i, kColourBright + i, kColourBright + i, kColourNormal + i, kColourMask);
        else b->SetSkin(kColourNormal + i, kColourNormal + i, kColourHover + i, kColourNormal + i, kColourMask);
        b->move(kAnchorX, kColourTop + i * kColourStep);
        b->setEnabled(ledsOn_);
        b->show();
    }
}

QPoint CSkinLedDlg::LineStart(int zone) const {
    // The line leaves the part's picture itself: from the right edge of its shape, on
    // the row through the middle of the part.
    const CxSkinButton* part = zone_[std::size_t(zone)];
    QRegion shape = part->ShapeRegion();
    if (shape.isEmpty()) shape = QRegion(part->rect());
    const QRect box = shape.boundingRect();
    const int y = box.center().y();
    int right = box.left();
    for (const QRect& r : shape)
        if (r.top() <= y && r.bottom() >= y) right = std::max(right, r.right() + 1);
    return part->pos() + QPoint(right, y);
}

QList<QPoint> CSkinLedDlg::ConnectionLine() const {
    if (is1802_ || !ledsOn_ || selectedZone_ < 0 || selectedZone_ == 3) return {};
    const int c = zoneColour_[std::size_t(selectedZone_)];
    if (c < 0 || c >= kColours) return {};
    const QPoint start = LineStart(selectedZone_);
    const int y = anchorY_[std::size_t(c)];
    return {start, QPoint(kLineBendX, start.y()), QPoint(kLineBendX, y), QPoint(kAnchorX, y)};
}

void CSkinLedDlg::PaintOver(QPainter& p) {
    const QList<QPoint> line = ConnectionLine();
    if (line.isEmpty()) return;
    p.setPen(QPen(kLineColour, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(line.data(), int(line.size()));
}

void CSkinLedDlg::OnCommand(int id) {
    if (id >= IDC_ZONE_FIRST && id < IDC_ZONE_FIRST + kZones) return SelectZone(id - IDC_ZONE_FIRST);
    if (id >= IDC_COLOUR_FIRST && id < IDC_COLOUR_FIRST + kColours) return ChooseColour(id - IDC_COLOUR_FIRST);
    switch (id) {
    case IDOK: OnOk(); break;
    case IDCANCEL: OnCancel(); break;
    case IDC_APPLY: OnApply(); break;
    case IDC_ON:
        if (is1802_ || selectedZone_ < 0) SwitchAllOn();
        else SwitchOn(id);
        break;
    case IDC_OFF:
        if (is1802_ || selectedZone_ < 0) SwitchAllOff();
        else SwitchOff(id);
        break;
    case IDC_SECTION_ON:
        if (is1802_) SwitchOn(id);
        break;
    case IDC_SECTION_OFF:
        if (is1802_) SwitchOff(id);
        break;
    default: break;
    }
}

void CSkinLedDlg::SelectZone(int zone) {
    if (!ValidProfile()) return;
    if (zone == 3) zone = 4;  // the two sides share one byte; the right one stands for both
    if (zone == selectedZone_) return;
    if (is1802_) {
        SetSectionEnabled(true);
        ShowPair(sectionOn_, sectionOff_, IsLit(zone));
    }
    selectedZone_ = zone;
    for (int z = 0; z < kZones; ++z) ShowZone(z);
    ShowColours();
    update();
}

void CSkinLedDlg::ChooseColour(int index) {
    if (!ValidProfile() || index < 0 || index >= kColours) return;
    auto recolour = [this, index](int zone) {
        const int address = ZoneAddress(zone);
        memory_.SetCached(address, (memory_.Entry(address).value & 0xF8) | kColourCodes[index]);
        // A dark zone keeps its dark picture: only its colour for later changed.
        zoneColour_[std::size_t(zone)] = IsLit(zone) ? index : kDark;
    };
    if (selectedZone_ < 0) {
        for (int z = 0; z < kZones; ++z) recolour(z);
    } else {
        if (zoneColour_[std::size_t(selectedZone_)] == index) return;
        recolour(selectedZone_);
        if (SharesByte(selectedZone_)) recolour(selectedZone_ == 3 ? 4 : 3);
    }
    ledsOn_ = true;
    for (int z = 0; z < kZones; ++z) ShowZone(z);
    ShowColours();
    update();
}

void CSkinLedDlg::LightUp(int zone) {
    int code = Byte(zone) & 7;
    // Only bit 0 lights the red-only model: switching on there means red.
    if (is1802_) code |= kRedCode;
    memory_.SetCached(ZoneAddress(zone), LitByte(kZoneArt[std::size_t(zone)].offset - kLightingOffset, code));
    const int colour = ColourOfByte(code);
    for (int z = 0; z < kZones; ++z) {
        if (ZoneAddress(z) != ZoneAddress(zone)) continue;
        if (colour != kNoColour) zoneColour_[std::size_t(z)] = colour;
    }
}

void CSkinLedDlg::SwitchOn(int id) {
    if (!ValidProfile()) return;
    if (id == IDC_SECTION_ON) ShowPair(sectionOn_, sectionOff_, true);
    if (selectedZone_ >= 0) {
        if (IsLit(selectedZone_)) return;
        LightUp(selectedZone_);
        for (int z = 0; z < kZones; ++z) ShowZone(z);
        if (ledsOn_) {
            ShowColours();
            update();
            return;
        }
    }
    FinishOn(id);
}

void CSkinLedDlg::SwitchAllOn() {
    if (!ValidProfile()) return;
    for (int z = 0; z < kZones; ++z) LightUp(z);
    selectedZone_ = -1;
    if (is1802_) SetSectionEnabled(false);
    FinishOn(IDC_ON);
}

void CSkinLedDlg::FinishOn(int id) {
    ledsOn_ = true;
    if (id == IDC_ON) ShowPair(on_, off_, true);
    for (int z = 0; z < kZones; ++z) ShowZone(z);
    ShowColours();
    update();
}

void CSkinLedDlg::SwitchOff(int id) {
    if (!ValidProfile()) return;
    if (id == IDC_SECTION_OFF) ShowPair(sectionOn_, sectionOff_, false);
    if (id == IDC_OFF && !ledsOn_) return;
    if (selectedZone_ >= 0) {
        if (!IsLit(selectedZone_)) return;
        const int address = ZoneAddress(selectedZone_);
        memory_.SetCached(address, DarkByte(std::uint8_t(memory_.Entry(address).value)));
        for (int z = 0; z < kZones; ++z)
            if (ZoneAddress(z) == address) zoneColour_[std::size_t(z)] = kDark;
        for (int z = 0; z < kZones; ++z) ShowZone(z);
        for (int z = 0; z < kZones; ++z) {
            if (IsLit(z)) {
                ShowColours();
                update();
                return;
            }
        }
    }
    FinishOff(id);
}

void CSkinLedDlg::SwitchAllOff() {
    if (!ValidProfile()) return;
    for (int z = 0; z < kZones; ++z) {
        // Zones sharing a byte were darkened with the first of them.
        if (IsLit(z)) memory_.SetCached(ZoneAddress(z), DarkByte(std::uint8_t(Byte(z))));
        zoneColour_[std::size_t(z)] = kDark;
    }
    selectedZone_ = -1;
    if (is1802_) SetSectionEnabled(false);
    FinishOff(IDC_OFF);
}

void CSkinLedDlg::FinishOff(int id) {
    if (id == IDC_OFF) {
        ledsOn_ = false;
        ShowPair(on_, off_, false);
    }
    if (!is1802_) zoneColour_.fill(kDark);
    for (int z = 0; z < kZones; ++z) ShowZone(z);
    ShowColours();
    for (CxSkinButton* b : colour_) b->setEnabled(false);
    update();
}

void CSkinLedDlg::WriteLighting() {
    if (!ValidProfile()) return;
    bool anyDirty = false;
    for (int z = 0; z < kZones; ++z) {
        const int address = ZoneAddress(z);
        if (!memory_.Entry(address).dirty) continue;
        anyDirty = true;
        memory_.FlushByte(address);
        Pause(kWritePauseMs);
    }
    if (!anyDirty) return;
    memory_.SendCommand(0, 0, 0);
    Pause(kCommandPauseMs);
    snapshots_[profile_].written = true;
}

void CSkinLedDlg::Restore(bool touchMouse) {
    for (auto& [profile, snapshot] : snapshots_) {
        const int base = ProfileBlock(profile);
        if (!snapshot.written) {
            // The mouse still holds these bytes: only the cache goes back.
            for (int z = 0; z < kZones; ++z) {
                const int address = base + kZoneArt[std::size_t(z)].offset;
                memory_.SetCached(address, snapshot.bytes[std::size_t(z)]);
                memory_.Entry(address).dirty = 0;
            }
            continue;
        }
        if (!touchMouse) continue;
        for (int z = 0; z < kZones; ++z) {
            const int address = base + kZoneArt[std::size_t(z)].offset;
            const int want = snapshot.bytes[std::size_t(z)];
            const CacheEntry& e = memory_.Entry(address);
            if ((e.dirty || !e.valid || e.value != want) && memory_.WriteByte(address, want))
                memory_.StoreClean(address, want);
            Pause(kWritePauseMs);
        }
        memory_.SendCommand(0, 0, 0);
        Pause(kCommandPauseMs);
        snapshot.written = false;
    }
}

void CSkinLedDlg::OnApply() {
    apply_->ResetHover();
    WriteLighting();
    if (!is1802_) selectedZone_ = -1;
    for (int z = 0; z < kZones; ++z) ShowZone(z);
    ShowColours();
    update();
}

void CSkinLedDlg::OnOk() {
    ok_->ResetHover();
    WriteLighting();
    Withdraw();
    done(kResultOk);
}

void CSkinLedDlg::OnCancel() {
    cancel_->ResetHover();
    Restore(true);
    Withdraw();
    done(kResultCancel);
}

void CSkinLedDlg::CloseForLostMouse() {
    if (!open_) return;
    Restore(false);
    done(kResultCancel);
}

void CSkinLedDlg::reject() { OnCancel(); }

void CSkinLedDlg::accept() { OnOk(); }

void CSkinLedDlg::done(int result) {
    if (open_) {
        open_ = false;
        Withdraw();
    }
    CDeviceDialog::done(result == kResultOk ? kResultOk : kResultCancel);
}

void CSkinLedDlg::OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam) {
    if (!open_ || wParam != OSD_PROFILE_LEVEL) return;
    const ProfileLevel word = UnpackProfileLevel(lParam);
    if (!word.profileChanged || word.profile >= std::uint32_t(kProfileCount)) return;
    profile_ = int(word.profile);
    LoadProfile();
}

}  // namespace pallix
