#include "framework/TapAndHold.h"
#include "framework/WindowTimers.h"

#include "QtApp.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct TimedObject : QObject, WindowTimers {
    TimedObject() : WindowTimers(this) {}
    void OnTimer(UINT id) override { fired.append(id); }
    QList<UINT> fired;
};

TEST(TimersTest, EachTimerReportsItsIdUntilKilledAndRestartsWhenSetAgain)
{
    qtApp();
    TimedObject object;
    object.SetTimer(3, 5);
    object.SetTimer(7, 60000);
    object.SetTimer(7, 5); // the new period applies at once
    EXPECT_TRUE(object.hasTimer(3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return object.fired.count(3) >= 2 && object.fired.contains(7); }));
    EXPECT_TRUE(object.KillTimer(3));
    EXPECT_FALSE(object.KillTimer(3));
    EXPECT_FALSE(object.hasTimer(3));
    const qsizetype threes = object.fired.count(3);
    const qsizetype sevens = object.fired.count(7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return object.fired.count(7) > sevens + 1; }));
    EXPECT_EQ(object.fired.count(3), threes);
}

TEST(TapAndHoldTest, RightPressHeldPressAndMenuKeyReportButATapOrAMoveDoesNot)
{
    qtApp();
    QList<QPoint> gestures;
    QListWidget list;
    list.addItems({"one", "two", "three"});
    list.resize(200, 200);
    list.show();
    new TapAndHold(&list, [&](const QPoint &at) { gestures.append(at); });
    const QPoint inside(20, 10);
    const QPoint global = list.viewport()->mapToGlobal(inside);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, inside);
    EXPECT_EQ(gestures, QList<QPoint>{global});
    EXPECT_TRUE(list.selectedItems().isEmpty()) << "the callback decides about the selection";

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(list.selectedItems().size(), 1) << "a tap still selects";
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, inside);
    EXPECT_TRUE(QTest::qWaitFor([&] { return gestures.size() == 2; })) << gestures.size();
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, inside);

    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(105, 205));
    QApplication::sendEvent(&list, &event);
    EXPECT_EQ(gestures, (QList<QPoint>{global, global, QPoint(105, 205)}));
    // Moving cancels the hold: outlast the hold time without sleeping blind,
    // waiting on a later timer.
    bool timedOut = false;
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, inside);
    QTest::mouseMove(list.viewport(), inside + QPoint(QApplication::startDragDistance() + 5, 0));
    QTimer::singleShot(TapAndHold::HoldMilliseconds + 200, [&] { timedOut = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return timedOut; }));
    EXPECT_EQ(gestures.size(), 3);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, inside);
}

} // namespace
