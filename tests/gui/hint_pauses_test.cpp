#include "dialogs/HintPauses.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class Hints : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&hinted);
        layout->addWidget(&plain);
        hinted.setToolTip("Turn the taskbar icon animation ON/OFF.");
        window.setToolTip("The window's own hint.");
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override { QToolTip::hideText(); }

    // What Qt sends once the mouse has rested on `control`.
    static void RestMouseOn(QWidget& control)
    {
        const QPoint centre = control.rect().center();
        QHelpEvent event(QEvent::ToolTip, centre, control.mapToGlobal(centre));
        QApplication::sendEvent(&control, &event);
    }

    QWidget window;
    QCheckBox hinted{"Taskbar Animation"};
    QCheckBox plain{"No hint"};
};

TEST_F(Hints, AppearAfterTheHintPause)
{
    SetHintHidePause(5000);
    EXPECT_EQ(hinted.style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, &hinted), HintPause);
    EXPECT_EQ(HintPause, 500);
}

TEST_F(Hints, GoAgainAfterTheHidePause)
{
    SetHintHidePause(1500);
    RestMouseOn(hinted);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), hinted.toolTip());
    QTest::qWait(500);
    EXPECT_TRUE(QToolTip::isVisible()) << "still within the pause";
    // Qt's own pause would keep it for ten seconds.
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
}

TEST_F(Hints, AControlWithoutAHintShowsItsParents)
{
    SetHintHidePause(5000);
    RestMouseOn(plain);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), window.toolTip());
}

TEST_F(Hints, SettingThePauseAgainKeepsOneStyle)
{
    SetHintHidePause(5000);
    const QStyle* style = QApplication::style();
    SetHintHidePause(4000);
    EXPECT_EQ(QApplication::style(), style);
}

} // namespace
