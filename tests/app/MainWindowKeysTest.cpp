// The main window as a user meets it before any command: its title and tooltips
// from the text tables, the keyboard, the focus mark and the LED mode's look.
#include <set>

#include <QAbstractButton>
#include <QImage>

#include "app/texts/TextTables.h"
#include "skin/FocusMark.h"
#include "skin/HoverButton.h"
#include "skin/SkinControl.h"
#include "tests/app/AppFixture.h"

namespace pallix::test {
namespace {

using namespace pallix::app;

class MainWindowKeys : public AppTest {
protected:
    ~MainWindowKeys() override { texts::SetTexts(texts::DefaultTexts()); }

    QWidget* Control(int id) { return FindControl(window_.get(), id); }
    QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(Control(id)); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
        QTest::keyClick(to, Qt::Key(key), modifiers);
    }
    // The control shows the focus mark in its picture, not only in its state.
    static bool DrawsMark(QWidget* w) {
        const QImage shot = w->grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y) == kFocusMarkColour) return true;
        return false;
    }
    bool StartShown() {
        AddMouse("m1");
        StartWindow();
        if (!WaitForPage(kPageConfiguration)) return false;
        window_->show();
        window_->activateWindow();
        return QTest::qWaitForWindowActive(window_.get());
    }
};

TEST_F(MainWindowKeys, TitleAndTooltipsComeFromTheTextTables) {
    texts::TextTables tables = texts::DefaultTexts();
    tables.ui[texts::UI_TITLE] = "Titel der Maus";
    for (int i = texts::UI_TIP_RESET_PROFILE; i <= texts::UI_TIP_PROFILE_1 + 4; ++i) tables.ui[i] = "tip " + std::to_string(i);
    tables.ledCaptions = {"led normal", "led battle"};
    texts::SetTexts(tables);
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Titel der Maus"));
    const std::pair<int, int> commands[] = {
        {IDC_RESTORE_PROFILE, 5}, {IDC_REGISTER, 6},     {IDC_HELP, 7},         {IDC_APPLY, 8},
        {IDC_CANCEL, 9},          {IDC_OK, 10},          {IDC_MACRO_EDITOR, 11}, {IDC_PERFORMANCE, 12},
        {IDC_LIGHTING, 13}};
    for (auto [id, string] : commands)
        EXPECT_EQ(Control(id)->toolTip(), QStringLiteral("tip %1").arg(string)) << id;
    for (int p = 0; p < 5; ++p) {
        auto* profile = qobject_cast<CHoverButtonEx*>(Control(IDC_PROFILE_FIRST + p));
        ASSERT_NE(profile, nullptr);
        EXPECT_EQ(profile->TooltipText(), QStringLiteral("tip %1").arg(14 + p));
    }
    EXPECT_EQ(Control(IDC_LED_NORMAL)->toolTip(), QStringLiteral("led normal"));
    EXPECT_EQ(Control(IDC_LED_BATTLE)->toolTip(), QStringLiteral("led battle"));
}

TEST_F(MainWindowKeys, EveryCommandIsReachedFromTheKeyboardWithAVisibleMark) {
    ASSERT_TRUE(StartShown());
    ASSERT_GE(Model().ProfileCount(), 2);
    // The window gives its first control the focus by itself: no mark yet.
    QWidget* first = QApplication::focusWidget();
    ASSERT_EQ(first, Control(IDC_PROFILE_FIRST));
    EXPECT_FALSE(CFocusMark::Shows(first));
    EXPECT_FALSE(DrawsMark(first));
    // Hiding the focused control moves the focus on "by Tab" inside Qt: still no mark.
    first->hide();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_FALSE(CFocusMark::Shows(QApplication::focusWidget()));
    first->show();
    first->setFocus(Qt::ActiveWindowFocusReason);

    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Control(IDC_PROFILE_FIRST + 1));
    EXPECT_TRUE(CFocusMark::Shows(Control(IDC_PROFILE_FIRST + 1)));
    EXPECT_TRUE(DrawsMark(Control(IDC_PROFILE_FIRST + 1)));
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_TRUE(DrawsMark(first));

    // Arrows walk the profiles without switching; Enter switches.
    const int before = Model().CurrentProfile();
    const int target = (before + 1) % Model().ProfileCount();
    QWidget* want = Control(IDC_PROFILE_FIRST + target);
    for (int i = 0; i < 5 && QApplication::focusWidget() != want; ++i) Key(Qt::Key_Right);
    ASSERT_EQ(QApplication::focusWidget(), want);
    EXPECT_EQ(Model().CurrentProfile(), before);
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Model().CurrentProfile(), target);

    // Arrows among the buttons choose them, wrapping at the ends.
    Control(IDC_MARKER_FIRST)->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), Control(IDC_MARKER_FIRST + 7));
    EXPECT_EQ(Model().SelectedButton(), 7);
    EXPECT_TRUE(DrawsMark(Control(IDC_MARKER_FIRST + 7)));
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(Model().SelectedButton(), 1);
    // A click is the mouse again: the mark goes, the focus stays.
    QWidget* focused = QApplication::focusWidget();
    QTest::mouseClick(Control(IDC_MARKER_FIRST + 4), Qt::LeftButton);
    EXPECT_EQ(Model().SelectedButton(), 4);
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_FALSE(DrawsMark(focused));

    // Tab goes on from the buttons to their commands; Space runs one.
    Control(IDC_MARKER_FIRST + 7)->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Control(IDC_FUNCTION));
    EXPECT_TRUE(DrawsMark(Control(IDC_FUNCTION)));
    Key(Qt::Key_Space);
    ASSERT_FALSE(prompts_.empty());
    EXPECT_EQ(prompts_.back(), prompt::kFunctionChooser);

    // Every enabled command lies on the Tab chain.
    std::set<int> reached;
    for (int i = 0; i < 40; ++i) {
        Key(Qt::Key_Tab);
        reached.insert(ControlId(QApplication::focusWidget()));
    }
    for (int id : {IDC_MACRO, IDC_LAUNCH, IDC_LED_NORMAL, IDC_LED_BATTLE, IDC_PERFORMANCE, IDC_MACRO_EDITOR,
                   IDC_LIGHTING, IDC_RESTORE_PROFILE, IDC_CANCEL, IDC_REGISTER, IDC_HELP, IDC_HIDE, ID_APP_EXIT})
        EXPECT_TRUE(reached.count(id)) << id;

    Key(Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window_->isVisible(); }, 2000)) << "Escape hides the window";
    EXPECT_FALSE(window_->Closed());
}

TEST_F(MainWindowKeys, ActiveLedModeIsDrawnChosenNotDisabled) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    ASSERT_FALSE(Model().BattleMode());
    auto chosen = [&](int id) { return Control(id)->property("selected").toBool(); };
    for (int id : {IDC_LED_NORMAL, IDC_LED_BATTLE}) EXPECT_TRUE(Control(id)->isEnabled()) << id;
    EXPECT_TRUE(chosen(IDC_LED_NORMAL));
    EXPECT_FALSE(chosen(IDC_LED_BATTLE));
    const QImage normalChosen = Control(IDC_LED_NORMAL)->grab().toImage();
    answers_.push_back({prompt::kResultOk});
    Button(IDC_LED_BATTLE)->click();
    ASSERT_TRUE(Model().BattleMode());
    for (int id : {IDC_LED_NORMAL, IDC_LED_BATTLE}) EXPECT_TRUE(Control(id)->isEnabled()) << id;
    EXPECT_TRUE(chosen(IDC_LED_BATTLE));
    EXPECT_FALSE(chosen(IDC_LED_NORMAL));
    EXPECT_NE(Control(IDC_LED_NORMAL)->grab().toImage(), normalChosen) << "the look follows the mode";
    Button(IDC_LED_BATTLE)->click();  // already on: nothing asks again
    EXPECT_EQ(prompts_.size(), 1u);
}

}  // namespace
}  // namespace pallix::test
