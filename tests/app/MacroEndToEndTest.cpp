// One macro's whole road: recorded in the macro editor opened from the main window,
// saved, bound to a button through the macro chooser, applied, and read back from a
// real pallix-vmouse's memory. Every box and window is the real one, driven by
// clicks and key events while its exec() runs.
#include <fstream>
#include <iterator>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

#include "app/window/ConfigDialogs.h"
#include "common/SettingNames.h"
#include "dialogs/SkinDlg.h"
#include "dialogs/macroeditor/MacroRecorder.h"
#include "dialogs/macroeditor/SkinListCtrl.h"
#include "dialogs/macroeditor/SkinMacroDlg.h"
#include "platform/pointer/qt/QtPointerSettings.h"
#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "skin/SkinControl.h"
#include "tests/app/AppFixture.h"
#include "tests/dialogs/ModalWindows.h"

namespace pallix::test {
namespace {

using namespace pallix::app;

void Click(QWidget* control) {
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->isVisible() && control->isEnabled()) << ControlId(control);
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

// Calls `open`, which runs a modal window, and `inside` on that window once it shows;
// `inside` has to end it. A window left open is closed, and the test fails.
void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside) {
    bool reached = false;
    WhenModalOpens(
        [&](QWidget* w) {
            reached = true;
            inside(w);
            if (w->isVisible()) {
                ADD_FAILURE() << "the modal window was left open";
                static_cast<QDialog*>(w)->reject();
            }
        },
        QApplication::activeModalWidget());
    open();
    EXPECT_TRUE(reached);
}

class MacroEndToEnd : public AppTest {
protected:
    // A key as the X server reports it: its position as evdev code + 8.
    void Key(QEvent::Type type, Qt::Key key, int evdev) {
        QKeyEvent e(type, key, Qt::NoModifier, static_cast<quint32>(evdev + 8), 0, 0);
        QApplication::sendEvent(editor_->windowHandle(), &e);
    }
    QPoint InList() const { return editor_->List()->geometry().center(); }

    // In the editor: NEW with its name, RECORD, the events, STOP, OK.
    void RecordTheMacro() {
        editor_->Recorder()->SetClock([this] { return now_; });
        WithModal([&] { Click(editor_->Control(CSkinMacroDlg::IDC_NEW)); },
                  [&](QWidget* w) {
                      auto* entry = static_cast<CSkinDlg*>(w)->Entry();
                      QTest::keyClicks(entry, "Strafe");
                      Click(static_cast<CSkinDlg*>(w)->OkButton());
                  });
        ASSERT_EQ(editor_->MacroName(), "Strafe");
        Click(editor_->Control(CSkinMacroDlg::IDC_RECORD));  // neither delay mode: real time
        ASSERT_TRUE(editor_->Recording());
        QWindow* window = editor_->windowHandle();
        Key(QEvent::KeyPress, Qt::Key_Shift, 42);  // the first event only starts the clock
        now_ += 300;
        Key(QEvent::KeyPress, Qt::Key_G, 34);
        now_ += 400;  // G held for 400 ms
        Key(QEvent::KeyRelease, Qt::Key_G, 34);
        now_ += 100;
        Key(QEvent::KeyRelease, Qt::Key_Shift, 42);
        now_ += 200;
        QTest::mousePress(window, Qt::RightButton, {}, InList());
        now_ += 100;
        QTest::mouseRelease(window, Qt::RightButton, {}, InList());
        now_ += 500;
        const QPointF at = InList();
        QWheelEvent wheel(at, at, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(window, &wheel);
        now_ += 100;
        Key(QEvent::KeyPress, Qt::Key_A, 30);
        Key(QEvent::KeyRelease, Qt::Key_A, 30);
        const QPoint stop = editor_->Control(CSkinMacroDlg::IDC_STOP)->geometry().center();
        QTest::mouseClick(window, Qt::LeftButton, {}, stop);  // reaches STOP, not the macro
        ASSERT_FALSE(editor_->Recording());
        Click(editor_->Control(CSkinMacroDlg::IDOK));
    }

    // In the chooser: the macro from the drop list, "multiple times" with a count.
    void ChooseTheMacro(CSkinDlg& chooser, int count) {
        ASSERT_EQ(chooser.mode, CSkinDlg::kMacroChooser);
        Click(chooser.DropButton());
        QAbstractItemView* view = chooser.List()->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
        const int row = chooser.List()->findText(QStringLiteral("Strafe"));
        ASSERT_GE(row, 0);
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }, 2000));
        ASSERT_EQ(chooser.text, "Strafe");
        WithModal([&] { Click(chooser.RepeatButton(CSkinDlg::kRepeatMultiple)); },
                  [&](QWidget* w) {
                      auto& entry = static_cast<CSkinDlg&>(*w);
                      entry.Entry()->selectAll();
                      QTest::keyClicks(entry.Entry(), QString::number(count));
                      Click(entry.OkButton());
                  });
        Click(chooser.OkButton());
    }

    std::int64_t now_ = 5000;
    CSkinMacroDlg* editor_ = nullptr;
};

TEST_F(MacroEndToEnd, RecordedMacroIsBoundThroughTheMainWindowAndLandsInTheMouse) {
    auto& mouse = AddMouse("e2e");
    StartWindow();
    window_->promptHook = nullptr;  // the real boxes from here on
    QtPointerSettings pointer;
    CConfigDialogs dialogs(*window_, store_, pointer, poster_);
    window_->configDialogHook = [&](int id, int& profile) { return dialogs.Run(id, profile); };
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));

    // Profile 3 (index 2) on the mouse, then the editor.
    Click(FindControl(window_.get(), IDC_PROFILE_FIRST + 2));
    ASSERT_EQ(Model().CurrentProfile(), 2);
    WithModal([&] { Click(FindControl(window_.get(), IDC_MACRO_EDITOR)); },
              [&](QWidget* w) {
                  editor_ = qobject_cast<CSkinMacroDlg*>(w);
                  ASSERT_NE(editor_, nullptr);
                  RecordTheMacro();
              });
    ASSERT_FALSE(HasFatalFailure());

    // Recorded in real time, delays halved (25 ms units): Shift down; 300 ms -> 6 units,
    // G down; 400 -> 8, G up; 100 -> 2, Shift up; 200 -> 4, right button down;
    // 100 -> 2, right up; 500 -> 10, wheel towards the user; 100 -> 2, A down, A up.
    const Bytes script{0x71, 0x01, 6, 0x0A, 0x01, 8, 0x8A, 0x01, 2, 0xF1, 0x01, 4,
                       0x79, 0x01, 2, 0xF9, 0x01, 10, 0x7E, 0x01, 2, 0x04, 0x84};
    const auto file = documents_ / "PALLIX Ostrel" / "Strafe.Mac";
    std::ifstream in(file, std::ios::binary);
    const Bytes saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Bytes expectedFile{0x6D, 0x18, 0xA1, static_cast<std::uint8_t>(script.size()), 0x00, 25, 1, 0, 0};
    expectedFile.insert(expectedFile.end(), script.begin(), script.end());
    EXPECT_EQ(saved, expectedFile);

    // Button 5 (index 4) gets the macro, repeated 3 times.
    Click(FindControl(window_.get(), IDC_MARKER_FIRST + 4));
    ASSERT_EQ(Model().SelectedButton(), 4);
    WithModal([&] { Click(FindControl(window_.get(), IDC_MACRO)); },
              [&](QWidget* w) { ChooseTheMacro(static_cast<CSkinDlg&>(*w), 3); });
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(Model().Engine().Running());  // 23 bytes: a stepped store
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(Model().ChangesPending());  // the button's type waits for Apply
    Click(FindControl(window_.get(), IDC_APPLY));
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(messages_.empty());

    const Bytes memory = mouse.Memory();
    ASSERT_EQ(memory.size(), 16384u);
    auto at = [&](std::size_t address, std::size_t count) {
        return Bytes(memory.begin() + static_cast<long>(address), memory.begin() + static_cast<long>(address + count));
    };
    EXPECT_EQ(memory[140] & 7, 2);                                       // current profile
    EXPECT_EQ(at(0x1900, script.size()), script);                       // slot 4 of profile 2
    EXPECT_EQ(at(0x298, 4), (Bytes{23, 2, 3, 0x0C}));                   // length, stored, count, mode 12
    EXPECT_EQ(at(0x100 + 2 * 0x40 + 14 + 4, 1), (Bytes{6}));            // type: macro
    EXPECT_EQ(at(0x100 + 2 * 0x40 + 23 + 4 * 4, 4), (Bytes{0, 0, 0, 0}));  // was FORWARD's 16
    std::string bound;
    store_.ReadString("PF2T5 Macro Name", bound);
    EXPECT_EQ(bound, "Strafe");
    EXPECT_EQ(Model().Button(4).name, "Strafe");
}

}  // namespace
}  // namespace pallix::test
