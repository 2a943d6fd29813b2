#pragma once
// CSkinLedDlg: the lighting dialog. A picture of the mouse with one button per lit
// part (zone), and either seven colours per zone (model 0x1801) or red only,
// switched as a whole or per zone (model 0x1802). Changes are made in the lent
// CIcRK44 cache and reach the mouse on APPLY or OK; CANCEL puts back what it changed.
//
//   CSkinLedDlg dlg(memory, store, this);
//   dlg.SetProfile(current);
//   if (dlg.exec() == CSkinLedDlg::kResultOk) RefreshLedSwitch();
#include <QList>
#include <QPoint>

#include <array>
#include <map>

#include "device/CIcRK44.h"
#include "dialogs/performance/DeviceDialog.h"

namespace pallix {

class CHoverButtonEx;
class CxSkinButton;

class CSkinLedDlg : public CDeviceDialog {
    Q_OBJECT
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_APPLY = 1728;
    static constexpr int IDC_ON = 1729;            // FULL LIGHT ON on 0x1802
    static constexpr int IDC_OFF = 1730;           // FULL LIGHT OFF on 0x1802
    static constexpr int IDC_ZONE_FIRST = 1731;    // 1731-1735: zones 0-4
    static constexpr int IDC_SECTION_ON = 1736;    // 0x1802 only
    static constexpr int IDC_SECTION_OFF = 1737;
    static constexpr int IDC_FULL_LABEL = 1738;
    static constexpr int IDC_SECTION_LABEL = 1739;
    static constexpr int IDC_COLOUR_FIRST = 1799;  // 1799-1805: colours 0-6
    static constexpr int kZones = 5;
    static constexpr int kColours = 7;
    static constexpr int kDark = 7;      // colour index of a zone that is not lit
    static constexpr int kNoColour = -1;

    CSkinLedDlg(CIcRK44& memory, SettingsStore& store, QWidget* parent = nullptr, Sleeper sleeper = {});
    ~CSkinLedDlg() override;

    void SetProfile(int profile) { profile_ = profile; }
    int Profile() const { return profile_; }
    // The mouse is gone: end with CANCEL without touching it; unwritten changes
    // are taken back out of the cache.
    void CloseForLostMouse();

    // Byte address of a zone in the shown profile (zones 3 and 4 share one).
    int ZoneAddress(int zone) const;
    int ZoneColour(int zone) const { return zoneColour_[std::size_t(zone)]; }
    int SelectedZone() const { return selectedZone_; }
    bool LedsOn() const { return ledsOn_; }
    bool Is1802() const { return is1802_; }
    CHoverButtonEx* Button(int id) const;
    CxSkinButton* Zone(int zone) const { return zone_[std::size_t(zone)]; }
    CxSkinButton* Colour(int index) const { return colour_[std::size_t(index)]; }
    // The connection line's points; empty when none is drawn.
    QList<QPoint> ConnectionLine() const;
    // Where the selected zone's line leaves its part (its shape's right edge).
    QPoint LineStart(int zone) const;

    void setVisible(bool visible) override;

public slots:
    void done(int result) override;
    void reject() override;
    void accept() override;
    void OnCommand(int id);

protected:
    void OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam) override;
    void PaintOver(QPainter& p) override;

private:
    struct Snapshot {
        std::array<int, kZones> bytes{};
        bool written = false;
    };

    void OnInitDialog();
    bool ValidProfile() const { return profile_ >= 0 && profile_ < memmap::kProfileCount; }
    int Byte(int zone) const { return memory_.Entry(ZoneAddress(zone)).value; }
    bool IsLit(int zone) const;
    int ColourOfByte(int byte) const;
    void LoadProfile();
    void ShowZone(int zone);
    void ShowColours();
    void ShowPair(CHoverButtonEx* on, CHoverButtonEx* off, bool lit);
    void SetSectionEnabled(bool enable);
    void SelectZone(int zone);
    void ChooseColour(int index);
    void SwitchOn(int id);
    void SwitchAllOn();
    void LightUp(int zone);
    void FinishOn(int id);
    void SwitchOff(int id);
    void SwitchAllOff();
    void FinishOff(int id);
    void WriteLighting();
    void Restore(bool touchMouse);
    void OnApply();
    void OnOk();
    void OnCancel();

    CIcRK44& memory_;
    int profile_ = 0;
    bool is1802_ = false;
    std::array<int, kZones> zoneColour_{};
    int selectedZone_ = -1;
    bool ledsOn_ = true;
    bool open_ = false;
    std::array<int, kColours> anchorY_{};
    // Bytes as each profile stood when the dialog first showed it, and whether
    // they were written since: CANCEL puts back each profile it touched.
    std::map<int, Snapshot> snapshots_;

    CHoverButtonEx *ok_, *cancel_, *apply_, *on_, *off_, *sectionOn_, *sectionOff_, *fullLabel_, *sectionLabel_;
    std::array<CxSkinButton*, kZones> zone_{};
    std::array<CxSkinButton*, kColours> colour_{};
};

}  // namespace pallix
