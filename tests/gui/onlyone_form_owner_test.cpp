#include "dialogs/OnlyOneFormOwner.h"

#include "platform/double/application_double.h"
#include "platform/double/cursor_double.h"
#include "platform/double/nametable_double.h"
#include "platform/double/window_double.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

namespace fake = platform::fake;

class OnlyOneOnAForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::ResetNameTable();
        fake::ResetWindows();
        fake::ResetApplication();
        fake::ResetCursorAndScreen();
        fake::SetScreenSize(1280, 1024);
        platform::SetApplicationWindowText("Quorzane! v1.0");
        form.move(300, 200);
    }

    QWidget form;
    TOnlyOneFormOwner owner{form};
};

TEST_F(OnlyOneOnAForm, SecondCopyMovesItsFormJustBelowTheScreen)
{
    platform::GlobalAddAtom("OnlyOneQuorzane! v1.0");
    fake::AddWindow("TApplication", "Quorzane! v1.0");

    TOnlyOne guard(owner);
    guard.Loaded();

    EXPECT_EQ(form.pos(), QPoint(300, 1024 + 1));
    EXPECT_EQ(platform::GetApplicationWindowText(), "destroy me");
    EXPECT_EQ(fake::QuitRequested(), 0);
}

TEST_F(OnlyOneOnAForm, FirstCopyLeavesItsFormAndTitleAlone)
{
    TOnlyOne guard(owner);
    guard.Loaded();

    EXPECT_EQ(form.pos(), QPoint(300, 200));
    EXPECT_EQ(platform::GetApplicationWindowText(), "Quorzane! v1.0");
    EXPECT_FALSE(fake::QuitRequested());
}

} // namespace
