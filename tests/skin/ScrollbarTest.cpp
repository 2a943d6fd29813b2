#include <gtest/gtest.h>

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "QtApp.h"
#include "skin/SkinVerticleScrollbar.h"

namespace {

using pallix::CSkinVerticleScrollbar;

// A list of 100 rows beside a 17 x 300 bar.
struct ListAndBar {
    ListAndBar() {
        TestApp();
        list = new QListWidget(&window);
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        for (int i = 0; i < 100; ++i) list->addItem(QStringLiteral("line %1").arg(i + 1));
        list->setGeometry(0, 0, 200, 300);
        bar = new CSkinVerticleScrollbar(&window);
        bar->setGeometry(200, 0, 17, 300);
        window.resize(217, 300);
        window.show();
        bar->SetList(list);
        QApplication::processEvents();
    }
    QScrollBar* rows() { return list->verticalScrollBar(); }
    QWidget window;
    QListWidget* list;
    CSkinVerticleScrollbar* bar;
};

TEST(SkinScrollbar, HidesTheListBarsAndFollowsTheList) {
    ListAndBar f;
    EXPECT_EQ(f.list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(f.list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    ASSERT_GT(f.rows()->maximum(), 0);
    EXPECT_EQ(f.bar->ThumbTop(), 0);
    f.rows()->setValue(f.rows()->maximum());
    EXPECT_EQ(f.bar->ThumbTop(), 300 - 25);
    EXPECT_DOUBLE_EQ(f.bar->Ratio(), 275.0 / f.rows()->maximum());
}

TEST(SkinScrollbar, ChannelPressPagesOnceOnReleaseHoweverLongHeld) {
    ListAndBar f;
    QTest::mousePress(f.bar, Qt::LeftButton, {}, QPoint(8, 150));
    QTest::qWait(700);
    EXPECT_EQ(f.rows()->value(), 0) << "nothing before the release";
    QTest::mouseRelease(f.bar, Qt::LeftButton, {}, QPoint(8, 150));
    EXPECT_EQ(f.rows()->value(), f.rows()->pageStep());
    // Above the thumb pages up.
    QTest::mouseClick(f.bar, Qt::LeftButton, {}, QPoint(8, 50));
    EXPECT_EQ(f.rows()->value(), 0);
}

TEST(SkinScrollbar, HeldArrowRepeatsEvery250msUntilRelease) {
    ListAndBar f;
    QTest::mousePress(f.bar, Qt::LeftButton, {}, QPoint(8, 295));  // down area
    EXPECT_TRUE(f.bar->DownPressed());
    EXPECT_TRUE(f.bar->RepeatRunning());
    QTest::qWait(640);  // two ticks
    const int whileHeld = f.rows()->value();
    EXPECT_GE(whileHeld, 2);
    EXPECT_LE(whileHeld, 3);
    QTest::mouseRelease(f.bar, Qt::LeftButton, {}, QPoint(8, 295));
    EXPECT_FALSE(f.bar->RepeatRunning());
    EXPECT_EQ(f.rows()->value(), whileHeld + 1) << "the release adds one line";
    QTest::qWait(300);
    EXPECT_EQ(f.rows()->value(), whileHeld + 1) << "no repeat after the release";
    // The up area (y 18..33) scrolls back by one line on a click (thumb elsewhere).
    f.rows()->setValue(40);
    QTest::mouseClick(f.bar, Qt::LeftButton, {}, QPoint(8, 25));
    EXPECT_EQ(f.rows()->value(), 39);
}

void DragTo(QWidget* w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

TEST(SkinScrollbar, DragBelowTheEndScrollsToTheEndAndFarAwayEndsTheDrag) {
    ListAndBar f;
    QTest::mousePress(f.bar, Qt::LeftButton, {}, QPoint(8, 5));  // on the thumb
    ASSERT_TRUE(f.bar->Dragging());
    DragTo(f.bar, QPoint(8, 320));
    EXPECT_EQ(f.rows()->value(), f.rows()->maximum());
    EXPECT_EQ(f.bar->ThumbTop(), 275);
    DragTo(f.bar, QPoint(8, 100));
    EXPECT_LT(f.rows()->value(), f.rows()->maximum());
    const int before = f.rows()->value();
    DragTo(f.bar, QPoint(8, 300 + 51));
    EXPECT_FALSE(f.bar->Dragging());
    EXPECT_EQ(f.rows()->value(), before);
    QTest::mouseRelease(f.bar, Qt::LeftButton, {}, QPoint(8, 351));
}

TEST(SkinScrollbar, NothingToScrollKeepsTheThumbAtTheTop) {
    TestApp();
    QListWidget list;
    list.addItem(QStringLiteral("only line"));
    list.resize(200, 300);
    CSkinVerticleScrollbar bar;
    bar.resize(17, 300);
    bar.SetList(&list);
    EXPECT_EQ(bar.ThumbTop(), 0);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(8, 150));
    EXPECT_EQ(list.verticalScrollBar()->value(), 0);
}

}  // namespace
