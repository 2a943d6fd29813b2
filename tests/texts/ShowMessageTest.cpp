#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QLabel>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/texts/TextTables.h"
#include "app/texts/qt/ShowMessage.h"
#include "app/texts/qt/TextFonts.h"
#include "dialogs/SkinDlg.h"
#include "skin/HoverButton.h"
#include "tests/skin/QtApp.h"
#include "tests/texts/TextFixtures.h"

namespace pallix::texts {
namespace {

struct Seen {
    QString kind;  // "prompt", "system" or empty
    QString text;
    QString caption;
    int mode = 0;
    bool topmost = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class ShowMessageTest : public test::TextTablesTest {
protected:
    void SetUp() override {
        prompt_.Initialise(BuildFont(5), BuildFont(4));
        SetMessagePrompt(&prompt_);
    }
    void TearDown() override {
        SetMessagePrompt(nullptr);
        test::TextTablesTest::TearDown();
    }
    // Shows and closes, returning what was on screen.
    Seen Show(const std::function<MessageRoute()>& show, MessageRoute& route) {
        auto seen = std::make_shared<Seen>();
        QTimer::singleShot(30, [seen] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                *seen = {QStringLiteral("system"), box->text(), box->windowTitle(), 0,
                         bool(box->windowFlags() & Qt::WindowStaysOnTopHint), box->icon()};
                box->accept();
            } else if (auto* prompt = qobject_cast<CSkinDlg*>(w)) {
                *seen = {QStringLiteral("prompt"), prompt->MessageLine()->text(), {}, prompt->mode, false, {}};
                prompt->OkButton()->click();
            }
        });
        route = show();
        return *seen;
    }
    CSkinDlg prompt_;
};

TEST_F(ShowMessageTest, ShortMessagesUseTheSkinnedBox) {
    MessageRoute route;
    const Seen seen = Show([] { return ShowMessage(13, QStringLiteral("example.org")); }, route);
    EXPECT_EQ(route, MessageRoute::SkinnedBox);
    EXPECT_EQ(seen.kind, "prompt");
    EXPECT_EQ(seen.mode, CSkinDlg::kMessage);
    EXPECT_EQ(seen.text, "Can't connect to example.org");
}

TEST_F(ShowMessageTest, LongMessagesGoToTheSystemMessageBox) {
    SetTexts(test::MarkedTexts(""));
    MessageRoute route;
    const QString file = QStringLiteral("Information_de.html and more text");
    const Seen seen = Show([&] { return ShowMessage(15, file); }, route);
    EXPECT_EQ(route, MessageRoute::SystemBox);
    EXPECT_EQ(seen.kind, "system");
    EXPECT_EQ(seen.text, "Can't find document: " + file);
    EXPECT_EQ(seen.caption, "Quelta PALLIX Ostrel MESSAGE");
    EXPECT_TRUE(seen.topmost);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST_F(ShowMessageTest, WithoutAReadyPromptEvenShortTextsUseTheSystemBox) {
    SetMessagePrompt(nullptr);
    MessageRoute route;
    EXPECT_EQ(Show([] { return ShowMessage(1); }, route).kind, "system");
    CSkinDlg fresh;  // never initialised
    EXPECT_EQ(Show([&] { return ShowMessageText(QStringLiteral("Buffer Full!"), &fresh); }, route).kind, "system");
}

// A second start has no main window: its short message still gets the skinned box.
TEST_F(ShowMessageTest, WithoutTheMainWindowAShortMessageGetsABoxOfItsOwn) {
    SetMessagePrompt(nullptr);
    MessageRoute route;
    const Seen seen = Show([] { return ShowMessageInOwnBox(0); }, route);
    EXPECT_EQ(route, MessageRoute::SkinnedBox);
    EXPECT_EQ(seen.kind, "prompt");
    EXPECT_EQ(seen.mode, CSkinDlg::kMessage);
    EXPECT_EQ(seen.text, "TOO MANY INSTANCES!");
    EXPECT_EQ(MessagePrompt(), nullptr);
    EXPECT_EQ(ShowMessageInOwnBox(20), MessageRoute::Nothing);
    EXPECT_EQ(Show([] { return ShowMessageInOwnBox(0, QString(40, QLatin1Char('x'))); }, route).kind, "system");
}

TEST_F(ShowMessageTest, IndexTwentyShowsNothing) {
    EXPECT_EQ(ShowMessage(20), MessageRoute::Nothing);
    EXPECT_EQ(ShowMessage(-1), MessageRoute::Nothing);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ShowMessageTest, FontsFollowTheTable) {
    const QFont title = BuildFont(1);
    EXPECT_EQ(title.pixelSize(), 20);
    EXPECT_EQ(title.weight(), QFont::Weight(700));
    EXPECT_EQ(BuildFont(5).weight(), QFont::Normal);
    EXPECT_FALSE(title.italic());
    QApplication::setFont([] { QFont f = QApplication::font(); f.setPixelSize(12); return f; }());
    EXPECT_DOUBLE_EQ(BuildFont(0).pointSizeF(), 10.9);
    TextTables huge = DefaultTexts();
    huge.fonts[2].height = -100000;
    SetTexts(huge);
    EXPECT_LE(BuildFont(2).pixelSize(), 200);
}

}  // namespace
}  // namespace pallix::texts
