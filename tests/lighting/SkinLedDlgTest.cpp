// The lighting dialog on a real virtual mouse of each model: how bytes load, what
// each button does to them, and what APPLY, OK and CANCEL send.
#include <gtest/gtest.h>

#include "device/MemoryMap.h"
#include "dialogs/lighting/SkinLedDlg.h"
#include "skin/HoverButton.h"
#include "skin/SkinButton.h"
#include "tests/performance/DeviceDialogFixture.h"

namespace pallix::test {
namespace {

using namespace memmap;

// Zones of the dialog and the profile-block offset each one shows.
constexpr int kZoneOffset[5] = {11, 9, 10, 12, 12};

class Lighting : public DeviceDialogFixture {
public:
    explicit Lighting(int model) : DeviceDialogFixture(model, "led") {}
    void Open(int profile = 0) {
        dlg.SetProfile(profile);
        dlg.show();
    }
    int Address(int zone, int profile = 0) const { return ProfileBlock(profile) + kZoneOffset[zone]; }
    int Cached(int zone, int profile = 0) const { return memory.Entry(Address(zone, profile)).value; }
    void Press(int id) { dlg.OnCommand(id); }
    bool ColoursEnabled() const { return dlg.Colour(0)->isEnabled(); }

    CSkinLedDlg dlg{memory, store, nullptr, sleeper};
};

class Led1801 : public Lighting, public ::testing::Test {
public:
    Led1801() : Lighting(kModel1801) {}
};
class Led1802 : public Lighting, public ::testing::Test {
public:
    Led1802() : Lighting(kModel1802) {}
};

TEST_F(Led1801, FactoryBytesLoadAsLitInTheProfilesColour) {
    Open(0);  // 33, 17, 17, 17
    EXPECT_TRUE(dlg.LedsOn());
    for (int z = 0; z < 5; ++z) EXPECT_EQ(dlg.ZoneColour(z), 0) << "red, zone " << z;
    EXPECT_TRUE(ColoursEnabled());
    EXPECT_TRUE(dlg.Colour(0)->isVisible());
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, 0, PackProfileLevel({0, 1, true, 0, 0})});  // 37, 21, 21, 21
    EXPECT_EQ(dlg.Profile(), 1);
    for (int z = 0; z < 5; ++z) EXPECT_EQ(dlg.ZoneColour(z), 1) << "purple, zone " << z;
}

TEST_F(Led1801, StateTenIsLitOnlyForTheLogoAndBattleModeLoadsDark) {
    Known(Address(1), 0x24);  // logo, state 10, blue
    Known(Address(0), 0x24);  // wheel, state 10: dark
    Known(Address(2), 0x36);  // battle mode
    Known(Address(4), 0x01);  // dark red
    Open();
    EXPECT_EQ(dlg.ZoneColour(1), 2);
    EXPECT_EQ(dlg.ZoneColour(0), CSkinLedDlg::kDark);
    EXPECT_EQ(dlg.ZoneColour(2), CSkinLedDlg::kDark);
    EXPECT_EQ(dlg.ZoneColour(3), CSkinLedDlg::kDark);
    EXPECT_TRUE(dlg.LedsOn());

    // Switching the battle-mode zone on leaves battle mode for it alone.
    Press(CSkinLedDlg::IDC_ZONE_FIRST + 2);
    Press(CSkinLedDlg::IDC_ON);
    EXPECT_EQ(Cached(2), 0x16);
    EXPECT_EQ(dlg.ZoneColour(2), 3);
    Press(CSkinLedDlg::IDC_ZONE_FIRST + 1);
    Press(CSkinLedDlg::IDC_ON);  // already lit: nothing
    EXPECT_EQ(Cached(1), 0x24);
    EXPECT_TRUE(Writes().empty()) << "nothing before APPLY";
    Press(CSkinLedDlg::IDC_APPLY);
    EXPECT_EQ((Writes()), (std::vector<Write>{{Address(2), 0x16}}));
    EXPECT_EQ(Controls(), 1);
    EXPECT_EQ(dlg.SelectedZone(), -1) << "APPLY clears the selection on this model";
}

TEST_F(Led1801, ColourWithoutAZoneRecoloursAllBytesAndKeepsTheirState) {
    Known(Address(1), 0x21);
    Known(Address(0), 0x11);
    Known(Address(2), 0x31);  // battle
    Known(Address(3), 0x09);  // dark, bit 3 set
    Open();
    Press(CSkinLedDlg::IDC_COLOUR_FIRST + 6);  // green, code 2
    EXPECT_EQ(Cached(1), 0x22);
    EXPECT_EQ(Cached(0), 0x12);
    EXPECT_EQ(Cached(2), 0x32);
    EXPECT_EQ(Cached(3), 0x0A);
    EXPECT_EQ(dlg.ZoneColour(0), 6);
    EXPECT_EQ(dlg.ZoneColour(2), CSkinLedDlg::kDark) << "a zone that stays dark is shown dark";
}

TEST_F(Led1801, TheTwoSidesAreOneZone) {
    Open();
    Press(CSkinLedDlg::IDC_ZONE_FIRST + 3);
    EXPECT_EQ(dlg.SelectedZone(), 4);
    Press(CSkinLedDlg::IDC_COLOUR_FIRST + 2);  // blue, code 4
    EXPECT_EQ(dlg.ZoneColour(3), 2);
    EXPECT_EQ(dlg.ZoneColour(4), 2);
    EXPECT_EQ(Cached(4), 0x14);
    EXPECT_EQ(dlg.ZoneColour(0), 0) << "other zones keep their colour";
    const QList<QPoint> line = dlg.ConnectionLine();
    ASSERT_EQ(line.size(), 4);
    EXPECT_EQ(line.first(), dlg.LineStart(4)) << "from the right side";
    EXPECT_EQ(line.last(), QPoint(405, 217));
}

TEST_F(Led1801, ColourButtonsFollowWhetherAnyZoneIsLit) {
    Known(Address(0), 0x01);  // only the logo and the rear strip stay lit
    Known(Address(3), 0x01);
    Open();
    Press(CSkinLedDlg::IDC_ZONE_FIRST + 1);
    Press(CSkinLedDlg::IDC_OFF);
    EXPECT_EQ(Cached(1), 0x01);
    EXPECT_TRUE(ColoursEnabled()) << "the rear strip is still lit";
    Press(CSkinLedDlg::IDC_ZONE_FIRST + 2);
    Press(CSkinLedDlg::IDC_OFF);
    EXPECT_FALSE(ColoursEnabled());
    EXPECT_FALSE(dlg.LedsOn());
    EXPECT_TRUE(dlg.ConnectionLine().isEmpty());
    Press(CSkinLedDlg::IDC_ON);  // a zone is selected: it alone comes back
    EXPECT_EQ(Cached(2), 0x11);
    EXPECT_TRUE(ColoursEnabled());
}

TEST_F(Led1801, CancelWithoutApplyWritesNothingAndCleansTheCache) {
    Open();
    Press(CSkinLedDlg::IDC_OFF);  // everything off
    EXPECT_EQ(Cached(1), 0x01);
    Press(CSkinLedDlg::IDCANCEL);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Controls(), 0);
    for (int z = 0; z < 5; ++z) {
        EXPECT_EQ(Cached(z) & 0x30, z == 1 ? 0x20 : 0x10);
        EXPECT_FALSE(memory.Entry(Address(z)).dirty);
    }
    EXPECT_EQ(dlg.result(), CSkinLedDlg::kResultCancel);
}

TEST_F(Led1801, CancelAfterApplyWritesTheSnapshotBack) {
    Open();
    Press(CSkinLedDlg::IDC_COLOUR_FIRST + 4);  // white
    Press(CSkinLedDlg::IDC_APPLY);
    EXPECT_EQ(MouseByte(Address(1)), 0x27);
    vmouse.ClearTrace();
    Press(CSkinLedDlg::IDCANCEL);
    EXPECT_EQ((Writes()), (std::vector<Write>{{Address(0), 0x11}, {Address(1), 0x21}, {Address(2), 0x11},
                                              {Address(3), 0x11}}));
    EXPECT_EQ(MouseByte(Address(0)), 0x11);
    EXPECT_EQ(Controls(), 1);
}

TEST_F(Led1801, ProfileSwitchThenCancelRestoresEachProfileInPlace) {
    Open(0);
    Press(CSkinLedDlg::IDC_COLOUR_FIRST + 5);  // yellow on profile 0, applied
    Press(CSkinLedDlg::IDC_APPLY);
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, 0, PackProfileLevel({0, 2, true, 0, 0})});
    EXPECT_EQ(dlg.Profile(), 2);
    Press(CSkinLedDlg::IDC_OFF);  // profile 2, not applied
    vmouse.ClearTrace();
    Press(CSkinLedDlg::IDCANCEL);
    EXPECT_EQ(MouseByte(Address(1, 0)), 0x21);
    EXPECT_EQ(MouseByte(Address(0, 0)), 0x11);
    for (const Write& w : Writes()) EXPECT_LT(w.address, ProfileBlock(1)) << "nothing written into profile 2";
    EXPECT_EQ(Cached(1, 2), 38);
    EXPECT_FALSE(memory.Entry(Address(1, 2)).dirty);
}

// Each line touches the part it belongs to and ends at its colour's button.
TEST_F(Led1801, ConnectionLinesRunFromThePartToItsColour) {
    Open(0);  // all lit red
    for (int zone : {0, 1, 2, 4}) {
        Press(CSkinLedDlg::IDC_ZONE_FIRST + zone);
        const QList<QPoint> line = dlg.ConnectionLine();
        ASSERT_EQ(line.size(), 4) << zone;
        const CxSkinButton* part = dlg.Zone(zone);
        const QRegion shape = part->ShapeRegion().translated(part->pos());
        ASSERT_FALSE(shape.isEmpty()) << zone;
        EXPECT_TRUE(shape.contains(line[0] - QPoint(1, 0))) << "zone " << zone << " starts off its part at "
                                                             << line[0].x() << "," << line[0].y();
        EXPECT_FALSE(shape.contains(line[0])) << zone;
        EXPECT_EQ(line[1].y(), line[0].y()) << zone;
        EXPECT_EQ(line[2].x(), line[1].x()) << zone;
        const QRect red = dlg.Colour(0)->geometry();
        EXPECT_EQ(line[3].x(), red.left()) << zone;
        EXPECT_TRUE(red.contains(QPoint(red.left(), line[3].y()))) << zone;
    }
}

TEST_F(Led1801, HandleIsPublishedWhileOpen) {
    Open();
    EXPECT_EQ(store.ReadDword(kLedEditHandle), dlg.Handle());
    store.WriteDword(kCurrentDialog, kDialogLighting);
    RelayDeviceEvent(store, poster, 0, PackProfileLevel({0, 3, true, 0, 0}));
    Settle();
    EXPECT_EQ(dlg.Profile(), 3);
    Press(CSkinLedDlg::IDOK);
    EXPECT_EQ(store.ReadDword(kLedEditHandle), kDwordMissing);
    EXPECT_EQ(dlg.result(), CSkinLedDlg::kResultOk);
}

TEST_F(Led1802, RedOnlyFormSwitchesAllOrOnePart) {
    Open(0);  // 33, 17, 17, 17: all lit red
    EXPECT_TRUE(dlg.Is1802());
    EXPECT_FALSE(dlg.Colour(0)->isVisible());
    EXPECT_FALSE(dlg.Button(CSkinLedDlg::IDC_SECTION_ON)->isEnabled());
    EXPECT_TRUE(dlg.Button(CSkinLedDlg::IDC_FULL_LABEL)->isVisible());
    EXPECT_TRUE(dlg.ConnectionLine().isEmpty());

    Press(CSkinLedDlg::IDC_ZONE_FIRST + 0);
    EXPECT_TRUE(dlg.Button(CSkinLedDlg::IDC_SECTION_ON)->isEnabled());
    Press(CSkinLedDlg::IDC_SECTION_OFF);
    EXPECT_EQ(Cached(0), 0x01);
    EXPECT_EQ(dlg.ZoneColour(0), CSkinLedDlg::kDark);
    EXPECT_EQ(dlg.ZoneColour(1), 0);

    Press(CSkinLedDlg::IDC_OFF);  // FULL LIGHT OFF
    for (int z = 0; z < 5; ++z) EXPECT_EQ(Cached(z) & 0x30, 0) << z;
    // Both sides share one byte: the second of them must not stay drawn lit.
    for (int z = 0; z < 5; ++z) EXPECT_EQ(dlg.ZoneColour(z), CSkinLedDlg::kDark) << "zone " << z;
    EXPECT_EQ(dlg.SelectedZone(), -1);
    EXPECT_FALSE(dlg.Button(CSkinLedDlg::IDC_SECTION_ON)->isEnabled());
    Press(CSkinLedDlg::IDC_ON);  // FULL LIGHT ON
    EXPECT_EQ(Cached(1), 0x21);
    EXPECT_EQ(Cached(0), 0x11);
    Press(CSkinLedDlg::IDOK);
    EXPECT_EQ(MouseByte(Address(1)), 0x21);
    EXPECT_EQ(MouseByte(Address(0)), 0x11);
    EXPECT_FALSE(memory.Entry(Address(0)).dirty);
}

// Only bit 0 lights this model: switching a part on makes it red even when its
// byte carried another colour code.
TEST_F(Led1802, SwitchingOnMeansRed) {
    Open(2);  // 38, 22, 22, 22: lit, but no red
    EXPECT_EQ(dlg.ZoneColour(1), CSkinLedDlg::kDark);
    Press(CSkinLedDlg::IDC_ZONE_FIRST + 1);
    Press(CSkinLedDlg::IDC_SECTION_OFF);
    Press(CSkinLedDlg::IDC_SECTION_ON);
    EXPECT_EQ(Cached(1, 2), 0x27);
    EXPECT_EQ(dlg.ZoneColour(1), 0);
    Press(CSkinLedDlg::IDC_APPLY);
    EXPECT_EQ(MouseByte(Address(1, 2)), 0x27);
    EXPECT_EQ(dlg.SelectedZone(), 1) << "this model keeps the selection";
}

}  // namespace
}  // namespace pallix::test
