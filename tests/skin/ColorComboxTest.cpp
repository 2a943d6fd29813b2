#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QPainter>

#include "QtApp.h"
#include "skin/ColorCombox.h"

namespace {

using pallix::CColorCombox;

TEST(ColorCombox, The51stItemIsRefused) {
    TestApp();
    CColorCombox box;
    for (int i = 0; i < 50; ++i) ASSERT_EQ(box.AddItem(QStringLiteral("item %1").arg(i)), i);
    EXPECT_EQ(box.AddItem(QStringLiteral("one too many")), -1);
    EXPECT_EQ(box.count(), 50);
    EXPECT_EQ(box.ItemTexts().size(), 50);
}

TEST(ColorCombox, DeletingAnItemMovesTheLaterOnesUp) {
    TestApp();
    CColorCombox box;
    for (const char* t : {"Fire", "Jump", "Run"}) box.AddItem(QString::fromLatin1(t));
    box.DeleteItem(0);
    EXPECT_EQ(box.ItemTexts(), QStringList({"Jump", "Run"}));
    EXPECT_EQ(box.ShownText(0), QStringLiteral("Jump"));
    box.clear();
    EXPECT_TRUE(box.ItemTexts().isEmpty());
    EXPECT_EQ(box.AddItem(QStringLiteral("again")), 0);
}

TEST(ColorCombox, OwnTextsOrControlTexts) {
    TestApp();
    CColorCombox box;
    box.AddItem(QStringLiteral("own"));
    box.addItem(QStringLiteral("beyond the list"));
    box.setItemText(0, QStringLiteral("control"));
    EXPECT_EQ(box.ShownText(0), QStringLiteral("own"));
    EXPECT_EQ(box.ShownText(1), QStringLiteral("beyond the list"));
    box.SetUseControlTexts(true);
    EXPECT_EQ(box.ShownText(0), QStringLiteral("control"));
}

TEST(ColorCombox, SelectedItemIsDrawnInverseOnHighlight) {
    TestApp();
    QWidget host;
    QPalette pal = host.palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 0));
    pal.setColor(QPalette::Highlight, QColor(0, 0, 128));
    host.setPalette(pal);
    CColorCombox box(&host);
    EXPECT_EQ(box.SelectedTextColour(), QColor(255, 255, 255));
    EXPECT_EQ(box.SelectedBackgroundColour(), QColor(0, 0, 128));
    box.AddItem(QStringLiteral("IIIIIIIIII"));
    // Paint a selected item through the list's delegate and look at it.
    QImage img(120, 20, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 120, 20);
    option.state = QStyle::State_Selected | QStyle::State_Enabled;
    box.itemDelegate()->paint(&p, option, box.model()->index(0, 0));
    p.end();
    EXPECT_EQ(img.pixelColor(60, 1), QColor(0, 0, 128));
    bool white = false;
    for (int x = 0; x < 120 && !white; ++x)
        for (int y = 0; y < 20 && !white; ++y) white = img.pixelColor(x, y) == QColor(255, 255, 255);
    EXPECT_TRUE(white) << "the text is drawn in white";
}

}  // namespace
