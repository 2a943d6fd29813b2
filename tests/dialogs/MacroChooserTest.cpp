#include <gtest/gtest.h>

#include <QLineEdit>

#include <filesystem>
#include <fstream>

#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {
namespace fs = std::filesystem;

using test::PreparePrompt;
using test::WhenModalOpens;

class MacroChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = env_.Root() / "home" / "Documents" / "PALLIX Ostrel";
        fs::create_directories(folder_);
        for (const char* name : {"Fire.Mac", "Reload.MAC", "sprint.mac", "notes.MAC.bak", "xmac", "readme.txt"})
            std::ofstream(folder_ / name) << "x";
        fs::create_directories(folder_ / "folder.mac");
        PreparePrompt(prompt_, CSkinDlg::kMacroChooser);
    }
    QStringList Listed() const {
        QStringList out;
        for (int i = 0; i < prompt_.List()->count(); ++i) out << prompt_.List()->ShownText(i);
        out.sort();
        return out;
    }
    QString Folder() const { return QString::fromStdString(folder_.string()); }

    test::TempEnv env_;
    fs::path folder_;
    CSkinDlg prompt_;
};

TEST_F(MacroChooserTest, ListsTheFolderAndSelectsTheCurrentMacro) {
    std::ofstream(folder_ / "Fire.mac") << "x";  // a second file of the name: one entry
    prompt_.path = Folder() + QStringLiteral("/Fire.MAC");
    prompt_.repeatOption = CSkinDlg::kRepeatHold;
    prompt_.show();
    EXPECT_EQ(Listed(), (QStringList{"Fire", "Reload", "sprint"}));
    EXPECT_EQ(prompt_.text, "Fire");
    EXPECT_EQ(prompt_.path, Folder());
    EXPECT_EQ(prompt_.List()->ShownText(prompt_.List()->currentIndex()), "Fire");
    EXPECT_EQ(prompt_.DropButton()->Caption(), "Fire");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(prompt_.RepeatButton(i)->isVisible());
        EXPECT_EQ(prompt_.RepeatButton(i)->pos(), QPoint(18, 150 + 32 * i));
    }
    // Picking another entry names it.
    const int reload = prompt_.List()->findText(QStringLiteral("Reload"));
    emit prompt_.List()->activated(reload);
    EXPECT_EQ(prompt_.text, "Reload");
    EXPECT_EQ(prompt_.DropButton()->Caption(), "Reload");
}

TEST_F(MacroChooserTest, CurrentMacroMissingFromTheFolderSelectsNothing) {
    fs::remove(folder_ / "Fire.Mac");
    prompt_.path = Folder() + QStringLiteral("/Fire.MAC");
    prompt_.show();
    EXPECT_EQ(Listed(), (QStringList{"Reload", "sprint"}));
    EXPECT_EQ(prompt_.List()->currentIndex(), -1);
    EXPECT_TRUE(prompt_.text.isEmpty());
    EXPECT_FALSE(prompt_.DropButton()->CaptionShown());
}

TEST_F(MacroChooserTest, AFolderPathListsWithoutACurrentMacro) {
    prompt_.path = Folder();
    prompt_.text = QStringLiteral("stale");
    prompt_.show();
    EXPECT_EQ(Listed().size(), 3);
    EXPECT_TRUE(prompt_.text.isEmpty());
    EXPECT_EQ(prompt_.List()->currentIndex(), -1);
}

TEST_F(MacroChooserTest, MissingFolderLeavesTheListEmptyAndOkReturnsNoName) {
    prompt_.path = Folder() + QStringLiteral("/gone/Fire.MAC");
    WhenModalOpens([&](QWidget*) {
        EXPECT_EQ(prompt_.List()->count(), 0);
        prompt_.OkButton()->click();
    });
    EXPECT_EQ(prompt_.exec(), CSkinDlg::kResultOk);
    EXPECT_TRUE(prompt_.text.isEmpty());
}

TEST_F(MacroChooserTest, RepeatOptionsFollowThePressedOne) {
    prompt_.path = Folder();
    prompt_.repeatOption = CSkinDlg::kRepeatNone;
    prompt_.show();
    const QImage unselectedOnce = prompt_.RepeatButton(0)->grab().toImage();
    prompt_.RepeatButton(3)->click();
    EXPECT_EQ(prompt_.repeatOption, CSkinDlg::kRepeatUntilNext);
    prompt_.RepeatButton(0)->click();
    EXPECT_EQ(prompt_.repeatOption, CSkinDlg::kRepeatOnce);
    EXPECT_NE(prompt_.RepeatButton(0)->grab().toImage(), unselectedOnce) << "the selected picture is shown";
}

TEST_F(MacroChooserTest, MultipleTimesAsksForTheCountAndCancelKeepsIt) {
    prompt_.path = Folder();
    prompt_.value = 4;
    prompt_.show();
    WhenModalOpens([](QWidget* w) {
        auto* count = qobject_cast<CSkinDlg*>(w);
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count->mode, CSkinDlg::kCountEntry);
        EXPECT_EQ(count->Entry()->text(), "4");
        count->Entry()->setText(QStringLiteral("99"));
        count->CancelButton()->click();
    }, &prompt_);
    prompt_.RepeatButton(1)->click();
    EXPECT_EQ(prompt_.repeatOption, CSkinDlg::kRepeatMultiple);
    EXPECT_EQ(prompt_.value, 4);

    WhenModalOpens([](QWidget* w) {
        auto* count = qobject_cast<CSkinDlg*>(w);
        ASSERT_NE(count, nullptr);
        count->Entry()->setText(QStringLiteral("7"));
        count->OkButton()->click();
    }, &prompt_);
    prompt_.RepeatButton(1)->click();
    EXPECT_EQ(prompt_.value, 7);

    // Once afterwards changes the option, not the count.
    prompt_.RepeatButton(0)->click();
    EXPECT_EQ(prompt_.repeatOption, CSkinDlg::kRepeatOnce);
    EXPECT_EQ(prompt_.value, 7);
}

TEST_F(MacroChooserTest, AtMostFiftyMacrosAreListedAndLongNamesAreShortenedInTheCaption) {
    for (int i = 0; i < 60; ++i) std::ofstream(folder_ / ("m" + std::to_string(100 + i) + ".Mac")) << "x";
    const std::string longName = "A macro name far longer than thirty-one characters";
    std::ofstream(folder_ / (longName + ".Mac")) << "x";
    prompt_.path = Folder() + "/" + QString::fromStdString(longName) + ".Mac";
    prompt_.show();
    EXPECT_EQ(prompt_.List()->count(), 50);
    prompt_.hide();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::ofstream(folder_ / (longName + ".Mac")) << "x";
    prompt_.path = Folder() + "/" + QString::fromStdString(longName) + ".Mac";
    prompt_.show();
    EXPECT_EQ(prompt_.text, QString::fromStdString(longName));
    EXPECT_LE(prompt_.DropButton()->Caption().size(), CHoverButtonEx2::kMaxCaption);
    EXPECT_TRUE(prompt_.DropButton()->Caption().startsWith(QStringLiteral("A macro name")));
}

}  // namespace
}  // namespace pallix
