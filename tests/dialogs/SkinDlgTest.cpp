#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "app/texts/TextTables.h"
#include "resources/Artwork.h"
#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "skin/WndShadow.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace pallix {
namespace {

using test::PreparePrompt;
using test::WhenModalOpens;

struct ModeCase {
    int mode;
    QSize size;
    QPoint ok;
    QSize okFrame;
    bool cancel;
    QPoint cancelAt;
};

// Face sizes and button places of every mode.
const ModeCase kModeCases[] = {
    {125, {350, 165}, {71, 121}, {93, 27}, true, {174, 121}},
    {248, {500, 170}, {285, 127}, {93, 27}, true, {388, 127}},
    {251, {500, 170}, {388, 127}, {93, 27}, false, {}},
    {287, {500, 170}, {285, 127}, {93, 27}, true, {388, 127}},
    {353, {500, 170}, {285, 127}, {93, 27}, true, {388, 127}},
    {447, {600, 170}, {492, 127}, {93, 27}, false, {}},
    {448, {556, 170}, {448, 127}, {93, 27}, false, {}},
    {469, {270, 185}, {45, 145}, {93, 27}, true, {148, 145}},
    {470, {270, 325}, {45, 287}, {93, 27}, true, {148, 287}},
    {474, {260, 95}, {45, 56}, {93, 27}, true, {148, 56}},
};

TEST(SkinDlg, EveryModeTakesItsFacesSizeShapeAndButtons) {
    for (const ModeCase& c : kModeCases) {
        CSkinDlg prompt;
        PreparePrompt(prompt, c.mode);
        prompt.show();
        EXPECT_EQ(prompt.size(), c.size) << c.mode;
        EXPECT_FALSE(prompt.Shape().isEmpty()) << c.mode;
        EXPECT_FALSE(prompt.Shape().contains(QPoint(0, 0))) << "key-coloured corner is cut out, mode " << c.mode;
        EXPECT_TRUE(prompt.Shape().contains(QPoint(c.size.width() / 2, c.size.height() / 2))) << c.mode;
        EXPECT_TRUE(prompt.OkButton()->isVisible()) << c.mode;
        EXPECT_EQ(prompt.OkButton()->pos(), c.ok) << c.mode;
        EXPECT_EQ(prompt.OkButton()->size(), c.okFrame) << c.mode;
        EXPECT_EQ(prompt.CancelButton()->isVisible(), c.cancel) << c.mode;
        if (c.cancel) {
            EXPECT_EQ(prompt.CancelButton()->pos(), c.cancelAt) << c.mode;
        }
        EXPECT_EQ(prompt.List()->isVisible(), c.mode == 469 || c.mode == 470) << c.mode;
        EXPECT_EQ(prompt.Entry()->isVisible(), c.mode == 125 || c.mode == 474) << c.mode;
        EXPECT_EQ(prompt.RepeatButton(0)->isVisible(), c.mode == 470) << c.mode;
        EXPECT_EQ(prompt.ValidatesNumber(), c.mode == 474) << c.mode;
        // Centred on the primary screen.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(prompt.pos(), QPoint((screen.width() - c.size.width()) / 2, (screen.height() - c.size.height()) / 2));
        prompt.hide();
    }
}

TEST(SkinDlg, YesModesShowTheYesPictureAndTooltipsComeFromTheTextTable) {
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kBattleModeNotice);
    prompt.show();
    QImage shown = prompt.OkButton()->grab().toImage();
    prompt.hide();
    PreparePrompt(prompt, CSkinDlg::kMessage);
    prompt.show();
    EXPECT_NE(shown, prompt.OkButton()->grab().toImage()) << "YES and OK look different";
    EXPECT_EQ(prompt.OkButton()->TooltipText(), "YES");
    EXPECT_EQ(prompt.CancelButton()->TooltipText(), "NO");
    EXPECT_EQ(prompt.RepeatButton(0)->TooltipText(), "ONE-TIME");
    EXPECT_EQ(prompt.RepeatButton(1)->TooltipText(), "Multiple Loops");
    EXPECT_EQ(prompt.RepeatButton(2)->TooltipText(), "REPEAT when press and hold");
    EXPECT_EQ(prompt.RepeatButton(3)->TooltipText(), "Repeat until next key is pressed");
}

TEST(SkinDlg, MessageLineShowsTheTextAndHidesWhenEmpty) {
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kConfirmation);
    prompt.text = QStringLiteral("Clear macro definitions?");
    prompt.show();
    EXPECT_TRUE(prompt.MessageLine()->isVisible());
    EXPECT_EQ(prompt.MessageLine()->text(), "Clear macro definitions?");
    prompt.hide();
    prompt.text.clear();
    prompt.show();
    EXPECT_FALSE(prompt.MessageLine()->isVisible());
}

TEST(SkinDlg, NothingIsLaidOutBeforeInitialiseOrWithoutAMode) {
    CSkinDlg fresh;
    fresh.mode = CSkinDlg::kMessage;
    fresh.show();
    EXPECT_EQ(fresh.size(), CSkinDlg::kTemplateSize);
    EXPECT_TRUE(fresh.Shape().isEmpty());
    fresh.hide();
    CSkinDlg none;
    PreparePrompt(none, CSkinDlg::kNoMode);
    none.show();
    EXPECT_EQ(none.size(), CSkinDlg::kTemplateSize);
    CSkinDlg unknown;
    PreparePrompt(unknown, 12345);  // no such picture: no shape, still laid out
    unknown.show();
    EXPECT_TRUE(unknown.Shape().isEmpty());
    EXPECT_TRUE(unknown.OkButton()->isVisible());
}

TEST(SkinDlg, ResultsAreOneForOkAndTwoForCancelOrClosing) {
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kResetWarning);
    WhenModalOpens([&](QWidget*) { prompt.OkButton()->click(); });
    EXPECT_EQ(prompt.exec(), CSkinDlg::kResultOk);
    WhenModalOpens([&](QWidget*) { prompt.CancelButton()->click(); });
    EXPECT_EQ(prompt.exec(), CSkinDlg::kResultCancel);
    WhenModalOpens([&](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(prompt.exec(), CSkinDlg::kResultCancel);
    WhenModalOpens([&](QWidget* w) { w->close(); });
    EXPECT_EQ(prompt.exec(), CSkinDlg::kResultCancel);
    PreparePrompt(prompt, CSkinDlg::kLeftButtonWarning);
    WhenModalOpens([&](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(prompt.exec(), CSkinDlg::kResultOk);
}

TEST(SkinDlg, FunctionChooserMapsEntriesAndRowsBothWays) {
    const int rows[8] = {1, 2, 3, 4, 5, 6, 8, 9};
    for (int entry = 0; entry < 8; ++entry) {
        EXPECT_EQ(CSkinDlg::RowOfEntry(entry), rows[entry]);
        EXPECT_EQ(CSkinDlg::EntryOfRow(rows[entry]), entry);
    }
    for (int row : {0, 7, 10, -1, 11}) EXPECT_EQ(CSkinDlg::EntryOfRow(row), -1) << row;
    EXPECT_EQ(CSkinDlg::RowOfEntry(8), -1);

    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kFunctionChooser);
    prompt.value = 5;
    prompt.show();
    ASSERT_EQ(prompt.List()->count(), 8);
    const char* names[8] = {"CLICK", "BUTTON OFF", "RIGHT BUTTON", "DOUBLE CLICK", "BACKWARD", "FORWARD",
                            "SENSITIVITY-UP", "SENSITIVITY-DOWN"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(prompt.List()->ShownText(i), names[i]);
    EXPECT_EQ(prompt.List()->currentIndex(), 4);
    EXPECT_EQ(prompt.DropButton()->Caption(), "BACKWARD");
    EXPECT_EQ(prompt.DropButton()->pos(), QPoint(15, 88));
    EXPECT_EQ(prompt.List()->pos(), QPoint(15, 88));
    // Picking SENSITIVITY-UP gives row 8.
    prompt.List()->setCurrentIndex(6);
    emit prompt.List()->activated(6);
    EXPECT_EQ(prompt.value, 8);
    EXPECT_EQ(prompt.DropButton()->Caption(), "SENSITIVITY-UP");
    prompt.OkButton()->click();
    EXPECT_EQ(prompt.result(), CSkinDlg::kResultOk);
    EXPECT_EQ(prompt.value, 8);
    EXPECT_EQ(prompt.List()->count(), 0) << "the list starts empty each time";
}

TEST(SkinDlg, FunctionChooserSelectsNothingForScrollButtonOrMacroKey) {
    for (int value : {7, 0}) {
        CSkinDlg prompt;
        PreparePrompt(prompt, CSkinDlg::kFunctionChooser);
        prompt.value = value;
        WhenModalOpens([&](QWidget*) {
            EXPECT_EQ(prompt.List()->currentIndex(), -1) << value;
            EXPECT_FALSE(prompt.DropButton()->CaptionShown()) << value;
            prompt.OkButton()->click();
        });
        EXPECT_EQ(prompt.exec(), CSkinDlg::kResultOk);
        EXPECT_EQ(prompt.value, value) << "OK without a pick returns the value unchanged";
    }
}

TEST(SkinDlg, FunctionNamesComeFromTheLanguage) {
    texts::TextTables german = texts::DefaultTexts();
    german.functionNames[5] = "ZUR\xC3\x9C" "CK";
    texts::SetTexts(german);
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kFunctionChooser);
    prompt.value = 5;
    prompt.show();
    EXPECT_EQ(prompt.DropButton()->Caption(), QString::fromUtf8("ZUR\xC3\x9C" "CK"));
    texts::SetTexts(texts::DefaultTexts());
}

TEST(SkinDlg, CountRuleKeepsTheEntryCanonical) {
    const std::pair<const char*, const char*> cases[] = {
        {"300", "255"}, {"05", "0"}, {"1a", "1"}, {"0", "0"},   {"255", "255"}, {"256", "255"},
        {"a", ""},      {"00", "0"}, {"7", "7"},  {"-5", ""},   {"12x", "12"},  {"", ""},
        {"99999999", "255"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(CSkinDlg::ValidatedCount(QString::fromLatin1(in)), out) << in;
}

TEST(SkinDlg, CountEntryValidatesWhatIsTyped) {
    const std::pair<const char*, const char*> cases[] = {{"300", "255"}, {"05", "0"}, {"1a", "1"}};
    for (const auto& [typed, shown] : cases) {
        CSkinDlg prompt;
        PreparePrompt(prompt, CSkinDlg::kCountEntry);
        prompt.value = 999;
        prompt.show();
        EXPECT_EQ(prompt.Entry()->text(), "255") << "value clamped to 0-255";
        EXPECT_EQ(prompt.Entry()->maxLength(), 3);
        prompt.Entry()->clear();
        QTest::keyClicks(prompt.Entry(), QString::fromLatin1(typed));
        EXPECT_EQ(prompt.Entry()->text(), shown) << typed;
        prompt.OkButton()->click();
        EXPECT_EQ(prompt.value, prompt.Entry()->text().toInt());
    }
    CSkinDlg empty;
    PreparePrompt(empty, CSkinDlg::kCountEntry);
    empty.value = 9;
    empty.show();
    empty.Entry()->clear();
    empty.OkButton()->click();
    EXPECT_EQ(empty.value, 0) << "an empty entry counts 0";
}

TEST(SkinDlg, NameEntryStartsWithTheTextAndReturnsWhatWasTyped) {
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kNameEntry);
    prompt.text = QStringLiteral("Old");
    prompt.show();
    EXPECT_EQ(prompt.Entry()->text(), "Old");
    EXPECT_EQ(prompt.Entry()->geometry(), QRect(130, 76, 132, 20));
    EXPECT_EQ(prompt.Entry()->maxLength(), 20);
    EXPECT_FALSE(prompt.MessageLine()->isVisible());
    prompt.Entry()->clear();
    QTest::keyClicks(prompt.Entry(), QStringLiteral("A very long macro name indeed"));
    prompt.OkButton()->click();
    EXPECT_EQ(prompt.text, "A very long macro na");
    // CANCEL leaves the text as it was.
    prompt.text = QStringLiteral("Keep");
    prompt.show();
    QTest::keyClicks(prompt.Entry(), QStringLiteral("xyz"));
    prompt.CancelButton()->click();
    EXPECT_EQ(prompt.text, "Keep");
}

TEST(SkinDlg, PressingTheFaceDragsTheWindowButNotOnAControl) {
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kMessage);
    prompt.text = QStringLiteral("drag me");
    prompt.show();
    const QPoint start = prompt.pos();
    auto send = [&](QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        QMouseEvent e(type, local, target->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    };
    // On the message line too: it is part of the face.
    const QPoint grip = prompt.MessageLine()->geometry().center();
    send(&prompt, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, grip + QPoint(40, 25), prompt.mapToGlobal(grip) + QPoint(40, 25),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&prompt, &move);
    send(&prompt, QEvent::MouseButtonRelease, grip + QPoint(40, 25), Qt::NoButton);
    EXPECT_EQ(prompt.pos(), start + QPoint(40, 25));
    // A press on OK is the button's, not a drag.
    const QPoint before = prompt.pos();
    send(prompt.OkButton(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(prompt.OkButton(), QEvent::MouseMove, QPoint(60, 60), Qt::LeftButton);
    EXPECT_EQ(prompt.pos(), before);
}

TEST(SkinDlg, ShapedWindowGetsADropShadowWhereShadowsCanBeShown) {
    CWndShadow::SetAvailable(true);
    CSkinDlg prompt;
    PreparePrompt(prompt, CSkinDlg::kMessage);
    prompt.show();
    QApplication::processEvents();
    EXPECT_NE(prompt.Shadow()->ShadowWindow(), nullptr);
    prompt.hide();
    CWndShadow::SetAvailable(false);
}

}  // namespace
}  // namespace pallix
