#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

#include <QFontMetrics>

#include "app/texts/LanguageFile.h"
#include "dialogs/KeyMessages.h"
#include "dialogs/UiKeyIndex.h"
#include "dialogs/UiKeyStatus.h"
#include "tests/skin/QtApp.h"

namespace pallix {
namespace {

Message At(const QSignalSpy& spy, int i) { return spy.at(i).at(0).value<Message>(); }

// A page with a status panel and two hot spots, as the main window has them.
class KeyPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        page_.resize(600, 400);
        status_ = new CUiKeyStatus(&page_, 1121);
        status_->SetupItems();
        status_->SetKindImages(CUiKeyStatus::kKindImages);
        status_->move(300, 100);
        for (int b = 0; b < 2; ++b) {
            spots_[b] = new CUiKeyIndex(&page_, 1791 + b);
            spots_[b]->SetSkin(CUiKeyIndex::kSpotNormal, CUiKeyIndex::kSpotPressed, CUiKeyIndex::kSpotHover, 0,
                               CUiKeyIndex::kSpotMask);
            spots_[b]->SetButtonIndex(b);
            spots_[b]->SetStatusPanel(status_);
            spots_[b]->move(40 + 100 * b, 40);
        }
        status_->SetItem(CUiKeyStatus::kSingleKey, QStringLiteral("CLICK"), 0, false);
        status_->SetItem(CUiKeyStatus::kSingleKey, QStringLiteral("RIGHT BUTTON"), 1, false);
        status_->SetShownItem(-1);
        status_->Refresh();
        page_.show();
    }
    CUiKeyStatus* status_;
    CUiKeyIndex* spots_[2];
    QWidget page_;
};

TEST_F(KeyPicturesTest, WithNoItemShownThePanelShowsTheEmptyPictureAndNoText) {
    EXPECT_EQ(status_->LoadedImage(), 418);
    EXPECT_FALSE(status_->CaptionShown());
    EXPECT_EQ(status_->size(), QSize(187, 66));
    EXPECT_EQ(spots_[0]->size(), QSize(22, 22));
}

TEST_F(KeyPicturesTest, SetItemOutsideTheTablesChangesNothing) {
    status_->SetItem(CUiKeyStatus::kMacro, QStringLiteral("x"), 8, true);
    status_->SetItem(5, QStringLiteral("x"), 0, true);
    status_->SetItem(-1, QStringLiteral("x"), 0, true);
    EXPECT_EQ(status_->ItemText(0), "CLICK");
    EXPECT_EQ(status_->ItemKind(0), CUiKeyStatus::kSingleKey);
    EXPECT_EQ(status_->ShownItem(), -1);
    CUiKeyStatus noSlots;
    noSlots.SetItem(0, QStringLiteral("x"), 0, true);
    EXPECT_EQ(noSlots.ItemText(0), "");
}

// Every function name of every language file shipped reads whole in the caption area.
TEST_F(KeyPicturesTest, EveryShippedFunctionNameFitsTheCaptionArea) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PALLIX_LANGUAGES_DIR)) {
        if (entry.path().extension() != ".txt") continue;
        const std::string name = entry.path().filename().string();
        texts::TextTables tables;
        ASSERT_EQ(texts::ReadLanguageFile(entry.path(), name, tables), texts::LanguageFileStatus::Loaded) << name;
        ++files;
        for (const std::string& function : tables.functionNames) {
            const QString text = QString::fromStdString(function);
            status_->SetItem(CUiKeyStatus::kSingleKey, text, 6, true);
            EXPECT_EQ(status_->Caption(), text) << name;
            EXPECT_LE(QFontMetrics(status_->CaptionFont()).horizontalAdvance(text), CUiKeyStatus::kCaptionRect.width())
                << name << ": " << function;
        }
    }
    EXPECT_GE(files, 3);
    // A short name keeps the panel's own font; a file name longer than any font can
    // hold still ends inside the area.
    status_->SetItem(CUiKeyStatus::kSingleKey, QStringLiteral("CLICK"), 6, true);
    EXPECT_EQ(status_->CaptionFont(), status_->font());
    status_->SetItem(CUiKeyStatus::kLauncher, QStringLiteral("a-rather-long-application-name-of-a-game"), 6, true);
    EXPECT_TRUE(status_->Caption().endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(status_->CaptionFont()).horizontalAdvance(status_->Caption()),
              CUiKeyStatus::kCaptionRect.width());
}

TEST_F(KeyPicturesTest, SetItemWithShowDisplaysTextAndKindPicture) {
    status_->SetItem(CUiKeyStatus::kLauncher, QStringLiteral("a-rather-long-application-name-of-a-game"), 3, true);
    EXPECT_EQ(status_->ShownItem(), 3);
    EXPECT_EQ(status_->LoadedImage(), 422);
    EXPECT_EQ(status_->ItemText(3).size(), 39);
    EXPECT_TRUE(status_->CaptionShown());
    EXPECT_LE(status_->Caption().size(), 31);
    // Back to no item: the empty picture again, and a later item of the first kind
    // loads its picture once more.
    status_->SetShownItem(-1);
    status_->Refresh();
    EXPECT_EQ(status_->LoadedImage(), 418);
    status_->SetItem(CUiKeyStatus::kLauncher, QStringLiteral("game"), 3, true);
    EXPECT_EQ(status_->LoadedImage(), 422);
}

TEST_F(KeyPicturesTest, HoveringSpotsShowsTheirButtonAndReloadsOnlyForANewKind) {
    QSignalSpy owner(status_, &CUiKeyStatus::Posted);
    status_->OnSkinMessage({WM_MOUSEHOVER, kKeyHoverBase + 0, 0});
    EXPECT_EQ(status_->ShownItem(), 0);
    EXPECT_EQ(status_->Caption(), "CLICK");
    EXPECT_EQ(status_->LoadedImage(), 420);
    const int loads = status_->ImageLoads();
    ASSERT_EQ(owner.count(), 1);
    EXPECT_EQ(At(owner, 0), (Message{WM_KEY_HOVER, 1, 0}));

    status_->OnSkinMessage({WM_MOUSEHOVER, kKeyHoverBase + 0, 0});
    EXPECT_EQ(status_->ImageLoads(), loads) << "same button: no reload";
    EXPECT_EQ(owner.count(), 1) << "already hovering: no second WM_KEY_HOVER";

    status_->OnSkinMessage({WM_MOUSELEAVE, 0, 0});
    ASSERT_EQ(owner.count(), 2);
    EXPECT_EQ(At(owner, 1), (Message{WM_MOUSELEAVE, 0, 0}));

    status_->OnSkinMessage({WM_MOUSEHOVER, kKeyHoverBase + 1, 0});
    EXPECT_EQ(status_->Caption(), "RIGHT BUTTON");
    EXPECT_EQ(status_->ImageLoads(), loads) << "same kind: no reload";
    EXPECT_EQ(At(owner, 2), (Message{WM_KEY_HOVER, 1, 1}));

    status_->SetItem(CUiKeyStatus::kDefault, QStringLiteral("SCROLL BUTTON"), 0, false);
    status_->OnSkinMessage({WM_MOUSEHOVER, kKeyHoverBase + 0, 0});
    EXPECT_EQ(status_->LoadedImage(), 421);
    EXPECT_EQ(status_->ImageLoads(), loads + 1);
    // A leave without a hover first tells nobody.
    status_->OnSkinMessage({WM_MOUSELEAVE, 0, 0});
    const int before = owner.count();
    status_->OnSkinMessage({WM_MOUSELEAVE, 0, 0});
    EXPECT_EQ(owner.count(), before);
}

TEST_F(KeyPicturesTest, PointerOnAHotSpotReachesThePanelAndLeavingReportsIt) {
    QSignalSpy panel(spots_[1], &CUiKeyIndex::PanelPosted);
    QSignalSpy listener(spots_[1], &CUiKeyIndex::ListenerPosted);
    QSignalSpy owner(status_, &CUiKeyStatus::Posted);
    QTest::mouseMove(&page_, QPoint(5, 5));
    QTest::mouseMove(spots_[1], QPoint(10, 10));
    QTest::mouseMove(spots_[1], QPoint(11, 10));
    ASSERT_GE(panel.count(), 1);
    EXPECT_EQ(At(panel, 0), (Message{WM_MOUSEHOVER, kKeyHoverBase + 1, 0}));
    EXPECT_EQ(At(listener, 0), (Message{WM_MOUSEHOVER, 0, 0}));
    QTRY_COMPARE(status_->ShownItem(), 1);  // queued to the panel
    ASSERT_GE(owner.count(), 1);
    EXPECT_EQ(At(owner, 0), (Message{WM_KEY_HOVER, 1, 1}));

    QTRY_VERIFY_WITH_TIMEOUT(spots_[1]->PointedAt(), 2000);
    const int posted = panel.count();
    QTest::mouseMove(spots_[1], QPoint(12, 12));
    EXPECT_EQ(panel.count(), posted) << "no hover messages while pointed at";

    QTest::mouseMove(&page_, QPoint(5, 5));
    EXPECT_FALSE(spots_[1]->PointedAt());
    EXPECT_EQ(At(panel, panel.count() - 1), (Message{WM_MOUSELEAVE, 0, 0}));
    QTRY_COMPARE(At(owner, owner.count() - 1), (Message{WM_MOUSELEAVE, 0, 0}));
}

TEST_F(KeyPicturesTest, ADoubleClickOnAHotSpotIsSwallowed) {
    QSignalSpy clicks(spots_[0], &QAbstractButton::clicked);
    const QPoint at(10, 10);
    auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent e(type, at, spots_[0]->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(spots_[0], &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 1);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_FALSE(spots_[0]->isDown()) << "no second press";
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace pallix
