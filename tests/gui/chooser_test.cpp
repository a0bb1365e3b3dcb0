// The application chooser with the process double: its layout, the list
// rebuilt only when it becomes visible, and what OK, a double-click, Cancel,
// Enter and Escape do, with a full list, a failing entry and an empty list.

#include "launch/srcApplications.h"

#include "launch/Execfile.h"
#include "platform/double/process_double.h"
#include "platform/window.h"
#include "settings/global.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace fake = platform::fake;

constexpr char Title[] = "Quorzane! v1.0";

void SetCommands(const std::vector<std::string>& commands)
{
    for (int event = 1; event <= EventCount; ++event)
        EventCommand(Settings, event) = commands.at(event - 1);
}

class Chooser : public ::testing::Test {
protected:
    Chooser()
    {
        fake::ResetProcess();
        platform::SetApplicationWindowText(Title);
        Settings = {};
        SetCommands({"NOTEPAD.EXE", "?", "", "CALC.EXE", "?", "", "", "NOTEPAD.EXE"});
    }

    QListWidget& List() { return *chooser.findChild<QListWidget*>("ListBox1"); }
    QPushButton& Ok() { return *chooser.findChild<QPushButton*>("Button1"); }
    QPushButton& Cancel() { return *chooser.findChild<QPushButton*>("Button2"); }

    QStringList Entries()
    {
        QStringList entries;
        for (int row = 0; row < List().count(); ++row)
            entries << List().item(row)->text();
        return entries;
    }

    // The events of a real double click: press, release, press, double
    // click, release.
    void DoubleClickAt(QPoint point)
    {
        QWidget* viewport = List().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, point);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, point);
        QTest::mousePress(viewport, Qt::LeftButton, {}, point);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, point);
    }

    void DoubleClickRow(int row) { DoubleClickAt(List().visualItemRect(List().item(row)).center()); }

    std::vector<std::string> Started() const
    {
        std::vector<std::string> commands;
        for (const auto& creation : fake::ProcessCreations())
            commands.push_back(creation.commandLine);
        return commands;
    }

    TExecFile launcher;
    TApplications chooser{launcher};
};

TEST_F(Chooser, LayoutAsDesigned)
{
    EXPECT_EQ(chooser.windowTitle(), "Applications");
    EXPECT_EQ(chooser.size(), QSize(450, 248));
    EXPECT_EQ(chooser.minimumSize(), chooser.maximumSize()) << "fixed border";
    EXPECT_FALSE(chooser.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const struct {
        const char* name;
        QRect geometry;
    } controls[] = {{"ListBox1", {8, 24, 433, 177}}, {"Button2", {300, 214, 68, 25}}, {"Button1", {374, 214, 68, 25}}};
    for (const auto& control : controls)
        EXPECT_EQ(chooser.findChild<QWidget*>(control.name)->geometry(), control.geometry) << control.name;
    EXPECT_EQ(Ok().text(), "&OK");
    EXPECT_EQ(Cancel().text(), "&Cancel");
    EXPECT_EQ(List().selectionMode(), QAbstractItemView::SingleSelection);
    chooser.ShowModeless();
    EXPECT_EQ(List().visualItemRect(List().item(1)).height(), 13) << "item height";
}

TEST_F(Chooser, TabGoesFromTheListToCancelToOk)
{
    chooser.ShowModeless();
    QApplication::setActiveWindow(&chooser);
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &Cancel());
    QTest::keyClick(&Cancel(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &Ok());
}

TEST_F(Chooser, ListsTheCommandsAfreshEachTimeItBecomesVisible)
{
    chooser.ShowModeless();
    EXPECT_EQ(Entries(), QStringList({"NOTEPAD.EXE", "CALC.EXE", "NOTEPAD.EXE"}));
    EXPECT_EQ(List().currentRow(), 0);
    EXPECT_TRUE(List().item(0)->isSelected());

    Cancel().click();
    SetCommands({"", " ?", "??", "", "", "", "", "EDIT"});
    chooser.ShowModeless();
    EXPECT_EQ(Entries(), QStringList({" ?", "??", "EDIT"}));
    EXPECT_EQ(List().currentRow(), 0);
}

TEST_F(Chooser, ShowingItAgainWhileVisibleKeepsListAndSelection)
{
    chooser.ShowModeless();
    List().setCurrentRow(2);
    SetCommands({"ONE", "", "", "", "", "", "", ""});
    chooser.ShowModeless();
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(Entries(), QStringList({"NOTEPAD.EXE", "CALC.EXE", "NOTEPAD.EXE"}));
    EXPECT_EQ(List().currentRow(), 2);
}

TEST_F(Chooser, OkAndDoubleClickStartTheSelectedEntryAndHide)
{
    chooser.ShowModeless();
    List().setCurrentRow(1);
    Ok().click();
    EXPECT_EQ(Started(), std::vector<std::string>{"CALC.EXE "});
    EXPECT_FALSE(chooser.isVisible());

    chooser.ShowModeless();
    DoubleClickRow(2);
    EXPECT_EQ(Started().back(), "NOTEPAD.EXE ");
    EXPECT_EQ(Started().size(), 2u);
    EXPECT_FALSE(chooser.isVisible());
}

// The entry that is selected counts, not the one with the focus frame, and a
// double-click on the blank area below the entries does what OK does.
TEST_F(Chooser, TheSelectedEntryStartsWhereverTheFocusFrameIsOrTheDoubleClickLands)
{
    chooser.ShowModeless();
    List().setCurrentRow(1);
    List().selectionModel()->setCurrentIndex(List().model()->index(2, 0), QItemSelectionModel::NoUpdate);
    Ok().click();
    EXPECT_EQ(Started(), std::vector<std::string>{"CALC.EXE "});

    chooser.ShowModeless();
    List().setCurrentRow(1);
    const QPoint blank(20, List().viewport()->height() - 5);
    ASSERT_EQ(List().itemAt(blank), nullptr);
    DoubleClickAt(blank);
    EXPECT_EQ(Started().size(), 2u);
    EXPECT_EQ(Started().back(), "CALC.EXE ") << "the selection stays";
    EXPECT_FALSE(chooser.isVisible());

    chooser.ShowModeless();
    List().selectionModel()->clearSelection();
    Ok().click();
    EXPECT_EQ(Started().size(), 2u) << "nothing selected, nothing started";
    EXPECT_TRUE(chooser.isVisible());
}

// A file from another system may hold Latin-1 bytes.
TEST_F(Chooser, StartsTheCommandsBytesAsTheSettingsHoldThem)
{
    const std::string latin1 = "/opt/caf\xE9/r\xE9sum\xE9 --\xFF";
    SetCommands({latin1, "?", "", "", "", "", "", ""});
    chooser.ShowModeless();
    EXPECT_TRUE(Entries().constFirst().contains(QChar::ReplacementCharacter));
    Ok().click();
    EXPECT_EQ(Started(), std::vector<std::string>{latin1 + " "});
}

TEST_F(Chooser, CancelEnterAndEscapeStartNothing)
{
    chooser.ShowModeless();
    QTest::keyClick(&List(), Qt::Key_Return);
    QTest::keyClick(&List(), Qt::Key_Enter);
    QTest::keyClick(&List(), Qt::Key_Escape);
    EXPECT_TRUE(chooser.isVisible()) << "neither button is the default or cancel button";
    Cancel().click();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(Started().empty());
}

TEST_F(Chooser, AFailedStartQuotesTheWholeEntryThenHides)
{
    const std::string entry = "no-such-program " + std::string(284, 'y');
    SetCommands({"?", entry, "", "", "", "", "", ""});
    fake::QueueProcessCreationFailure(2);
    chooser.ShowModeless();
    ASSERT_EQ(Entries(), QStringList({QString::fromStdString(entry)})) << "listed whole";

    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        EXPECT_TRUE(chooser.isVisible()) << "the chooser closes after the message";
        box->button(QMessageBox::Ok)->click();
    });
    Ok().click();

    EXPECT_EQ(Started(), std::vector<std::string>{entry.substr(0, 255)});
    EXPECT_EQ(caption, Title);
    EXPECT_EQ(text.toStdString(), "Unable to find: " + entry);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(Chooser, AnEmptyListStartsNothingAndStaysUsable)
{
    SetCommands({"?", "", "", "", "?", "", "", ""});
    chooser.ShowModeless();
    EXPECT_EQ(List().count(), 0);
    Ok().click();
    DoubleClickAt(QPoint(20, 20));
    EXPECT_TRUE(Started().empty());
    EXPECT_TRUE(chooser.isVisible());

    Cancel().click();
    EXPECT_FALSE(chooser.isVisible());
    SetCommands({"?", "LATER", "", "", "", "", "", ""});
    chooser.ShowModeless();
    Ok().click();
    EXPECT_EQ(Started(), std::vector<std::string>{"LATER "});
}

} // namespace
