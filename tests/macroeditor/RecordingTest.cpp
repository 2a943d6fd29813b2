// Recording through real key, mouse and wheel events sent to the editor's window.
#include "tests/macroeditor/EditorFixture.h"

namespace pallix::test {
namespace {

using namespace pallix::macro;
using Ops = std::vector<std::uint8_t>;
constexpr quint32 kScanA = 30 + 8, kScanY = 21 + 8, kScanLShift = 42 + 8, kScanRShift = 54 + 8,
                  kScanRCtrl = 97 + 8, kScan102nd = 86 + 8;

class Recording : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        OpenMacro("Rec");
    }
};

TEST_F(Recording, HeldKeyRecordsOnePressWhateverRepeatsArrive) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    Record();
    Key(QEvent::KeyPress, Qt::Key_A, kScanA);
    for (int i = 0; i < 5; ++i) {  // X11 repeats as release + press marked auto-repeat
        Key(QEvent::KeyRelease, Qt::Key_A, kScanA, true);
        Key(QEvent::KeyPress, Qt::Key_A, kScanA, true);
    }
    Key(QEvent::KeyPress, Qt::Key_A, kScanA);  // a repeat without the mark
    Key(QEvent::KeyRelease, Qt::Key_A, kScanA);
    EXPECT_EQ(Opcodes(), (Ops{0x04, 0x84}));
    EXPECT_EQ(Script(), (Bytes{0x04, 0x84}));
}

// What X11 sends when Qt has not marked the repeats: a release and a press with the
// same time stamp, the press possibly a moment later.
TEST_F(Recording, ReleaseAndPressWithOneTimeStampAreARepeat) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    editor->Recorder()->SetUseDetectableAutoRepeat(false);
    Record();
    auto stamped = [this](QEvent::Type type, Qt::Key key, quint32 scan, quint64 time) {
        QKeyEvent e(type, key, Qt::NoModifier, scan, 0, 0);
        e.setTimestamp(time);
        QApplication::sendEvent(Window(), &e);
    };
    stamped(QEvent::KeyPress, Qt::Key_A, kScanA, 100);
    for (quint64 t = 760; t < 1500; t += 40) {
        stamped(QEvent::KeyRelease, Qt::Key_A, kScanA, t);
        if (t == 800) QTest::qWait(20);  // the press arrives late
        stamped(QEvent::KeyPress, Qt::Key_A, kScanA, t);
    }
    EXPECT_EQ(Opcodes(), (Ops{0x04}));
    stamped(QEvent::KeyRelease, Qt::Key_A, kScanA, 1600);  // the real release
    stamped(QEvent::KeyPress, Qt::Key_A, kScanA, 1650);    // and a new press: both count
    stamped(QEvent::KeyRelease, Qt::Key_A, kScanA, 1700);
    QTRY_COMPARE(Opcodes(), (Ops{0x04, 0x84, 0x04, 0x84}));

    // A release left waiting is recorded before the next event and by STOP.
    stamped(QEvent::KeyPress, Qt::Key_Y, kScanY, 1800);
    stamped(QEvent::KeyRelease, Qt::Key_Y, kScanY, 1900);
    Wheel(-120);
    stamped(QEvent::KeyPress, Qt::Key_A, kScanA, 2000);
    stamped(QEvent::KeyRelease, Qt::Key_A, kScanA, 2100);
    editor->OnCommand(CSkinMacroDlg::IDC_STOP);
    EXPECT_EQ(Opcodes(), (Ops{0x04, 0x84, 0x04, 0x84, 0x1C, 0x9C, 0x7E, 0x04, 0x84}));
}

TEST_F(Recording, PrintScreenRecordsWhatWasPressed) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    Record();
    Key(QEvent::KeyPress, Qt::Key_Print);
    Key(QEvent::KeyRelease, Qt::Key_Print);
    EXPECT_EQ(Opcodes(), (Ops{0x46, 0xC6}));
}

TEST_F(Recording, ReleasesWithoutPressRecordThePressFirst) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    Record();
    Key(QEvent::KeyRelease, Qt::Key_B);        // held since before RECORD
    Key(QEvent::KeyRelease, Qt::Key_Print);    // PrintScreen: only its release arrives
    Key(QEvent::KeyPress, Qt::Key_C);
    Key(QEvent::KeyRelease, Qt::Key_C);        // its press is there
    EXPECT_EQ(Opcodes(), (Ops{0x05, 0x85, 0x46, 0xC6, 0x06, 0x86}));
    EXPECT_EQ(editor->Lines().CurrentLine(), 5);
    EXPECT_EQ(editor->Lines().SelectedLines(), std::vector<int>{5});
}

TEST_F(Recording, KeysByPositionSidesAndKeysWithoutCode) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    Record();
    Tap(Qt::Key_Z, kScanY);             // a German layout's Z sits where Y is
    Tap(Qt::Key_Shift, kScanLShift);
    Tap(Qt::Key_Shift, kScanRShift);
    Tap(Qt::Key_Control, kScanRCtrl);
    Tap(Qt::Key_Less, kScan102nd);      // the key table has no code for it
    Tap(Qt::Key_VolumeUp);              // nor for this one
    Tap(Qt::Key_F5);                    // no scan code: Qt's key decides
    EXPECT_EQ(Opcodes(), (Ops{0x1C, 0x9C, KEY_LEFT_SHIFT, KEY_LEFT_SHIFT + 0x80, KEY_RIGHT_SHIFT,
                              KEY_RIGHT_SHIFT + 0x80, KEY_RIGHT_CTRL, KEY_RIGHT_CTRL + 0x80, 0x3E, 0xBE}));
    for (std::uint8_t op : Opcodes()) EXPECT_NE(op & 0x7F, 0);
}

TEST_F(Recording, MouseButtonsWheelAndStop) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    Record();
    const QPoint inList = editor->List()->geometry().center();
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton, Qt::ForwardButton}) {
        QTest::mousePress(Window(), b, {}, inList);
        QTest::mouseRelease(Window(), b, {}, inList);
        QTest::qWait(1);
    }
    Wheel(-120);
    Wheel(120);
    const int before = editor->Lines().Count();
    QTest::mouseClick(Window(), Qt::LeftButton, {}, CentreOf(CSkinMacroDlg::IDC_STOP));
    EXPECT_FALSE(editor->Recording());  // the click reached STOP and was not recorded
    EXPECT_EQ(editor->Lines().Count(), before);
    EXPECT_EQ(Opcodes(), (Ops{0x78, 0xF8, 0x79, 0xF9, 0x7A, 0xFA, 0x7B, 0xFB, 0x7C, 0xFC, 0x7E, 0xFE}));
    EXPECT_TRUE(editor->Changed());
    EXPECT_TRUE(editor->Control(CSkinMacroDlg::IDC_APPLY)->isEnabled());
}

TEST_F(Recording, RealTimeHalvesTheMeasuredTimeAndCapsIt) {
    Record();  // neither mode chosen: real time
    Tap(Qt::Key_A);   // first event: only stamped; the release 0 ms later adds nothing
    now += 1000;
    Tap(Qt::Key_B);   // 1000 ms after the A release
    now += 60000;
    Tap(Qt::Key_C);   // a minute later: capped at 10 s, halved
    EXPECT_EQ(Opcodes(), (Ops{0x04, 0x84, 0x05, 0x85, 0x06, 0x86}));
    EXPECT_EQ(editor->Lines().Line(1).delayCount, 1 + 20);
    EXPECT_EQ(editor->Lines().Line(3).delayCount, 1 + 200);
    EXPECT_EQ(editor->Lines().Line(0).delayCount, 1);
    EXPECT_EQ(Script(), (Bytes{0x04, 0x84, 0x01, 20, 0x05, 0x85, 0x01, 200, 0x06, 0x86}));
}

TEST_F(Recording, DefaultDelayGoesBeforeEveryEvent) {
    ChooseMode(CSkinMacroDlg::IDC_DEFAULT_DELAY, QStringLiteral("110"));
    EXPECT_EQ(editor->DefaultDelay(), 100);
    Record();
    Tap(Qt::Key_A);
    QTest::mouseClick(Window(), Qt::RightButton, {}, editor->List()->geometry().center());
    EXPECT_EQ(Script(), (Bytes{0x04, 0x01, 4, 0x84, 0x01, 4, 0x79, 0x01, 4, 0xF9}));
}

TEST_F(Recording, FullScriptStopsRecordingWithBufferFull) {
    ChooseMode(CSkinMacroDlg::IDC_WITHOUT_DELAY);
    Record();
    for (int i = 0; i < 128; ++i) Tap(Qt::Key_A);
    EXPECT_EQ(editor->Lines().UsedBytes(), 256);
    EXPECT_TRUE(editor->Recording());
    AnswerNextPrompt();
    Key(QEvent::KeyPress, Qt::Key_B);
    EXPECT_FALSE(editor->Recording());
    EXPECT_EQ(shown, QStringList{QStringLiteral("Buffer Full!")});
    EXPECT_EQ(editor->Lines().Count(), 256);
    EXPECT_TRUE(editor->Control(CSkinMacroDlg::IDC_RECORD)->isEnabled());
    Tap(Qt::Key_C);  // no longer recorded
    EXPECT_EQ(editor->Lines().Count(), 256);
}

TEST_F(Recording, ControlsWhileRecording) {
    Record();
    for (int id : {CSkinMacroDlg::IDOK, CSkinMacroDlg::IDCANCEL, CSkinMacroDlg::IDC_RECORD, CSkinMacroDlg::IDC_NEW})
        EXPECT_FALSE(editor->Control(id)->isEnabled()) << id;
    EXPECT_TRUE(editor->Control(CSkinMacroDlg::IDC_STOP)->isEnabled());
    editor->OnCommand(CSkinMacroDlg::IDC_STOP);
    EXPECT_TRUE(editor->Control(CSkinMacroDlg::IDOK)->isEnabled());
    EXPECT_FALSE(editor->Control(CSkinMacroDlg::IDC_STOP)->isEnabled());
}

}  // namespace
}  // namespace pallix::test
