#include "dialogs/srcOptionsForm.h"

#include "message_box_answerer.h"
#include "qstring_printer.h"
#include "platform/double/application_double.h"
#include "platform/double/cursor_double.h"
#include "platform/double/help_double.h"
#include "platform/double/nametable_double.h"
#include "platform/double/profile_double.h"
#include "platform/double/window_picker_double.h"
#include "platform/double/window_double.h"
#include "platform/help.h"
#include "platform/window.h"
#include "settings/global.h"
#include "settings/startup.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace fake = platform::fake;

constexpr char Title[] = "Quorzane! v1.0";
constexpr char HelpFile[] = "/opt/quorzane/QRVN.HLP";
constexpr const char* CommandEditNames[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8"};
constexpr const char* PatternBoxNames[] = {"CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6",
                                           "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"};

TSettings SampleSettings()
{
    TSettings settings;
    settings.Event1 = "?";
    settings.Event2 = "xterm -e top";
    settings.Event3 = "\"/opt/My Tools/viewer\" notes.txt";
    settings.Event4 = "gedit";
    settings.Event5 = "";
    settings.Event6 = "sh -c \"ls > /tmp/x\"";
    settings.Event7 = "  ";
    settings.Event8 = "/usr/bin/galculator";
    settings.SensitivityInPixels = 150;
    settings.SensitivityInTime = 200;
    settings.CornerWaitTime = 1000;
    settings.TaskBarAnimation = false;
    settings.DetectMouseMoveMents = true;
    settings.DetectEvent1 = true;
    settings.DetectEvent3 = true;
    settings.DetectEvent6 = true;
    settings.DetectEvent8 = true;
    settings.TimesInProgram = 7;
    return settings;
}

class OptionsForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::ResetProfiles();
        fake::ResetHelp();
        fake::ResetApplication();
        fake::ResetNameTable();
        fake::ResetWindows();
        fake::ResetCursorAndScreen();
        fake::ResetWindowPicker();
        fake::SetScreenSize(1280, 1024);
        platform::SetApplicationWindowText(Title);
        ApplicationHelpFile = HelpFile;
        Settings = SampleSettings();
        form = std::make_unique<TOptionsForm>();
    }

    template <typename T = QWidget>
    T& Child(const char* name)
    {
        T* child = form->findChild<T*>(name);
        if (!child)
            ADD_FAILURE() << "no " << name;
        return *child;
    }
    QLineEdit& Edit(int event) { return Child<QLineEdit>(CommandEditNames[event - 1]); }
    QCheckBox& PatternBox(int event) { return Child<QCheckBox>(PatternBoxNames[event - 1]); }
    QSlider& TrackBar(int n) { return Child<QSlider>(("TrackBar" + std::to_string(n)).c_str()); }
    QPushButton& Button(int n) { return Child<QPushButton>(("Button" + std::to_string(n)).c_str()); }
    QTabWidget& PageControl() { return Child<QTabWidget>("PageControl1"); }
    QFileDialog& OpenDialog() { return Child<QFileDialog>("OpenDialog1"); }

    // Opens the dialog as the tray icon does and waits until it takes input.
    void Open(int page = PageAsLastShown)
    {
        form->ShowOnPage(page);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void Click(QAbstractButton& button) { QTest::mouseClick(&button, Qt::LeftButton); }

    std::vector<std::uint32_t> HelpContextsRequested() const
    {
        std::vector<std::uint32_t> contexts;
        for (const auto& request : fake::HelpRequests()) {
            EXPECT_EQ(request.helpFile, HelpFile);
            EXPECT_EQ(request.command, platform::HelpContext);
            contexts.push_back(request.data);
        }
        return contexts;
    }

    std::unique_ptr<TOptionsForm> form;
};

// ---- layout -----------------------------------------------------------------

TEST_F(OptionsForm, IsAFixedDialogWithTheApplicationTitleInItsCaption)
{
    EXPECT_EQ(form->windowTitle(), "Quorzane! v1.0 - Options");
    EXPECT_EQ(form->size(), QSize(523, 378));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_FALSE(form->isVisible()) << "created hidden";
}

TEST_F(OptionsForm, EveryControlSitsAtItsDesignedPlaceWithItsCaption)
{
    const struct {
        const char* name;
        QRect geometry;
        const char* caption;
    } controls[] = {
        {"Button4", {8, 344, 65, 25}, "&Exit"},
        {"Button14", {79, 344, 67, 25}, "&About"},
        {"Button3", {152, 344, 65, 25}, "Help"},
        {"Button2", {374, 344, 68, 25}, "&Cancel"},
        {"Button1", {448, 344, 68, 25}, "&OK"},
        {"PageControl1", {8, 8, 508, 321}, nullptr},
        {"CheckBox1", {8, 24, 177, 17}, "Taskbar Animation"},
        {"CheckBox2", {8, 48, 177, 17}, "Detect Mouse Patterns"},
        {"GroupBox2", {40, 80, 313, 145}, "Enable/Disable Individual Mouse Patterns:"},
        {"CheckBox3", {16, 32, 145, 17}, "Left - Right - Left"},
        {"CheckBox4", {16, 56, 145, 17}, "Right - Left - Right"},
        {"CheckBox5", {16, 80, 145, 17}, "Up - Down - Up"},
        {"CheckBox6", {16, 104, 145, 17}, "Down - Up - Down"},
        {"CheckBox7", {176, 32, 121, 17}, "Upper Left Corner"},
        {"CheckBox8", {176, 56, 129, 17}, "Lower Left Corner"},
        {"CheckBox9", {176, 80, 121, 17}, "Upper Right Corner"},
        {"CheckBox10", {176, 104, 121, 17}, "Lower Right Corner"},
        {"GroupBox1", {8, 20, 361, 149}, "Movement Pattern Distance and Speed:"},
        {"GroupBox4", {8, 180, 361, 85}, "Corner Launch Time:"},
        {"TrackBar1", {56, 32, 249, 33}, nullptr},
        {"TrackBar2", {56, 88, 249, 33}, nullptr},
        {"TrackBar3", {56, 32, 249, 33}, nullptr},
        {"Label1", {24, 40, 32, 13}, "Low"},
        {"Label2", {312, 40, 41, 13}, "High"},
        {"Label11", {24, 96, 32, 13}, "Slow"},
        {"Label12", {312, 96, 41, 13}, "Fast"},
        {"Label13", {24, 40, 32, 13}, "Slow"},
        {"Label14", {312, 40, 41, 13}, "Fast"},
        {"Label3", {8, 24, 209, 13}, "Left - Right - Left:"},
        {"Label4", {8, 72, 209, 13}, "Right - Left - Right:"},
        {"Label5", {8, 120, 209, 13}, "Up - Down - Up:"},
        {"Label6", {8, 168, 209, 13}, "Down - Up - Down:"},
        {"Label7", {256, 24, 209, 13}, "Upper Left Corner:"},
        {"Label8", {256, 72, 209, 13}, "Lower Left Corner:"},
        {"Label9", {256, 120, 209, 13}, "Upper Right Corner:"},
        {"Label10", {256, 168, 209, 13}, "Lower Right Corner:"},
        {"Edit1", {8, 40, 209, 21}, nullptr},
        {"Edit4", {8, 184, 209, 21}, nullptr},
        {"Edit5", {256, 40, 209, 21}, nullptr},
        {"Edit8", {256, 184, 209, 21}, nullptr},
        {"Button5", {219, 40, 25, 21}, "..."},
        {"Button8", {219, 184, 25, 21}, "..."},
        {"Button9", {467, 40, 25, 21}, "..."},
        {"Button12", {467, 184, 25, 21}, "..."},
        {"Panel1", {8, 216, 481, 33}, "Use a '?'  to display ALL applications in a list box."},
        {"Image1", {464, 256, 32, 32}, nullptr},
        {"Image2", {464, 256, 32, 32}, nullptr},
        {"Image3", {464, 256, 32, 32}, nullptr},
        {"CheckBox11", {8, 24, 337, 17}, "Not while a mouse button is held down"},
        {"CheckBox12", {8, 48, 337, 17}, "Not while the active window is full screen"},
        {"CheckBox13", {8, 72, 337, 17}, "Not in the programs listed below:"},
        {"ListBox1", {24, 96, 249, 129}, nullptr},
        {"Button15", {281, 96, 75, 25}, "A&dd..."},
        {"Button16", {281, 128, 75, 25}, "&Remove"},
        {"CheckBox14", {8, 240, 337, 17}, "Use the corners of every monitor"},
        {"Image4", {464, 256, 32, 32}, nullptr},
    };
    for (const auto& control : controls) {
        const QWidget& widget = Child(control.name);
        EXPECT_EQ(widget.geometry(), control.geometry) << control.name;
        if (!control.caption)
            continue;
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
            caption = button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(&widget))
            caption = label->text();
        else if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
            caption = group->title();
        EXPECT_EQ(caption, control.caption) << control.name;
    }
    // The page's controls are placed on its page, inside the group where the
    // layout puts them.
    EXPECT_EQ(Child("CheckBox9").parentWidget(), &Child("GroupBox2"));
    EXPECT_EQ(Child("TrackBar3").parentWidget(), &Child("GroupBox4"));
    EXPECT_EQ(Child("Edit7").parentWidget(), &Child("Applications"));
    EXPECT_EQ(Child("ListBox1").parentWidget(), &Child("Advanced"));
}

TEST_F(OptionsForm, PagesInOrderEachWithItsOwnPictureAndRoomForIt)
{
    QTabWidget& pages = PageControl();
    const QStringList names = {"General", "Sensitivity", "Applications", "Advanced"};
    ASSERT_EQ(pages.count(), names.size());
    for (int page = 0; page < pages.count(); ++page) {
        EXPECT_EQ(pages.tabText(page), names[page]);
        EXPECT_EQ(pages.widget(page)->objectName(), names[page]);
    }
    EXPECT_EQ(pages.currentIndex(), 0);

    std::vector<QImage> pictures;
    for (const char* name : {"Image1", "Image2", "Image3", "Image4"}) {
        const QPixmap picture = Child<QLabel>(name).pixmap();
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(32, 32)) << name;
        pictures.push_back(picture.toImage());
    }
    for (std::size_t one = 0; one < pictures.size(); ++one) {
        for (std::size_t other = one + 1; other < pictures.size(); ++other)
            EXPECT_NE(pictures[one], pictures[other]) << one << " " << other;
    }

    form->show();
    for (int page = 0; page < pages.count(); ++page) {
        const QRect area = pages.widget(page)->rect();
        EXPECT_GE(area.width(), 464 + 32) << page;
        EXPECT_GE(area.height(), 256 + 32) << page;
    }
}

TEST_F(OptionsForm, TrackBarsRangesTicksAndHints)
{
    const struct {
        int n;
        int minimum, maximum, tickStep;
        const char* hint;
    } bars[] = {
        {1, 50, 250, 25,
         "Determines the distance the mouse must move for a particular pattern in order to launch an application."},
        {2, 50, 250, 25,
         "Determines how quickly a particular mouse movement must be made in order to launch an application."},
        {3, 500, 2500, 250,
         "Changes how much time passes with the mouse cursor in the corner before the application is launched."},
    };
    for (const auto& bar : bars) {
        const QSlider& slider = TrackBar(bar.n);
        EXPECT_EQ(slider.orientation(), Qt::Horizontal) << bar.n;
        EXPECT_EQ(slider.minimum(), bar.minimum) << bar.n;
        EXPECT_EQ(slider.maximum(), bar.maximum) << bar.n;
        EXPECT_EQ(slider.tickInterval(), bar.tickStep) << bar.n;
        EXPECT_EQ(slider.tickPosition(), QSlider::TicksBelow) << bar.n;
        EXPECT_EQ(slider.toolTip(), bar.hint) << bar.n;
    }
}

TEST_F(OptionsForm, CheckBoxHints)
{
    EXPECT_EQ(Child("CheckBox1").toolTip(), "Turn the taskbar icon animation ON/OFF.");
    EXPECT_EQ(Child("CheckBox2").toolTip(), "Turn the detection of mouse patterns ON/OFF.");
    for (int event = 1; event <= EventCount; ++event)
        EXPECT_EQ(PatternBox(event).toolTip(), "Turn the specific mouse pattern ON/OFF.") << event;
}

TEST_F(OptionsForm, TabOrderRunsFromTheButtonsIntoThePagesAndPairsEachEditWithItsBrowseButton)
{
    const QStringList expected = {"Button4",  "Button14", "Button3", "Button2", "Button1", "PageControl1",
                                  "Edit1",    "Button5",  "Edit2",   "Button6", "Edit3",   "Button7",
                                  "Edit4",    "Button8",  "Edit5",   "Button9", "Edit6",   "Button10",
                                  "Edit7",    "Button11", "Edit8",   "Button12", "CheckBox11", "CheckBox12",
                                  "CheckBox13", "ListBox1", "Button15", "Button16", "CheckBox14"};
    QStringList chain;
    QWidget* widget = &Button(4);
    do {
        if (expected.contains(widget->objectName()) && !chain.contains(widget->objectName()))
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != &Button(4));
    EXPECT_EQ(chain, expected);
}

// With the fonts that the system installs, no caption is cut off.
TEST_F(OptionsForm, NoTextIsClipped)
{
    form->show();
    for (const QCheckBox* box : form->findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect label = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), label.width()) << box->objectName().toStdString();
        EXPECT_LE(box->fontMetrics().height(), label.height()) << box->objectName().toStdString();
    }
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
        EXPECT_LE(label->fontMetrics().height(), label->height()) << label->objectName().toStdString();
    }
    for (const QPushButton* button : form->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        const int textWidth = button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&'));
        EXPECT_LE(textWidth + 8, button->width()) << button->objectName().toStdString();
    }
    for (const QGroupBox* group : form->findChildren<QGroupBox*>())
        EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width())
            << group->objectName().toStdString();
    const QTabBar& tabs = *PageControl().tabBar();
    for (int tab = 0; tab < tabs.count(); ++tab)
        EXPECT_LE(tabs.fontMetrics().horizontalAdvance(tabs.tabText(tab)), tabs.tabRect(tab).width()) << tab;
}

// ---- binding ----------------------------------------------------------------

TEST_F(OptionsForm, ShowsTheRecordAndOkStoresItUnchanged)
{
    Open();
    for (int event = 1; event <= EventCount; ++event) {
        EXPECT_EQ(Edit(event).text().toStdString(), EventCommand(Settings, event)) << event;
        EXPECT_EQ(Edit(event).cursorPosition(), 0) << "shown from its start";
        EXPECT_EQ(PatternBox(event).isChecked(), EventEnabled(Settings, event)) << event;
    }
    EXPECT_FALSE(Child<QCheckBox>("CheckBox1").isChecked());
    EXPECT_TRUE(Child<QCheckBox>("CheckBox2").isChecked());
    EXPECT_EQ(TrackBar(1).value(), 150);
    EXPECT_EQ(TrackBar(2).value(), 150);
    EXPECT_EQ(TrackBar(3).value(), 1500);

    Click(Button(1));
    EXPECT_EQ(Settings, SampleSettings());
    EXPECT_FALSE(form->isVisible());
    // OK without a change still writes every entry.
    EXPECT_EQ(fake::ProfileWrites().size(), 22u);
}

TEST_F(OptionsForm, OkStoresEveryControlIntoTheRecordAndSavesIt)
{
    Open();
    Edit(2).setText("gimp");
    Edit(7).clear();
    TrackBar(1).setValue(75);
    TrackBar(2).setValue(250);
    TrackBar(3).setValue(2500);
    Click(Child<QCheckBox>("CheckBox1"));
    PatternBox(2).setChecked(true);
    PatternBox(8).setChecked(false);

    Click(Button(1));

    TSettings expected = SampleSettings();
    expected.Event2 = "gimp";
    expected.Event7 = "";
    expected.SensitivityInPixels = 75;
    expected.SensitivityInTime = 100;
    expected.CornerWaitTime = 0;
    expected.TaskBarAnimation = true;
    expected.DetectEvent2 = true;
    expected.DetectEvent8 = false;
    EXPECT_EQ(Settings, expected) << "TimesInProgram untouched, too";
    const std::string file = fake::ProfileFileText(SettingsFileName).value_or("");
    EXPECT_THAT(file, ::testing::HasSubstr("EVENT2=gimp"));
    EXPECT_THAT(file, ::testing::HasSubstr("CornerWaitTime=0"));
}

// Each row: the setting, the bar's position when shown, and what OK stores.
TEST_F(OptionsForm, TrackBarsTransformAndClampTheSettings)
{
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t TSettings::*setting;
        int bar;
        std::int32_t value;
        int position;
        std::int32_t stored;
    } rows[] = {
        {&TSettings::SensitivityInPixels, 1, 150, 150, 150},
        {&TSettings::SensitivityInPixels, 1, 400, 250, 250},
        {&TSettings::SensitivityInPixels, 1, 10, 50, 50},
        {&TSettings::SensitivityInPixels, 1, Min, 50, 50},
        {&TSettings::SensitivityInPixels, 1, Max, 250, 250},
        {&TSettings::SensitivityInTime, 2, 200, 150, 200},
        {&TSettings::SensitivityInTime, 2, 50, 250, 100},
        {&TSettings::SensitivityInTime, 2, 300, 50, 300},
        {&TSettings::SensitivityInTime, 2, 1000, 50, 300},
        {&TSettings::SensitivityInTime, 2, -10, 250, 100},
        {&TSettings::SensitivityInTime, 2, Min, 250, 100},
        {&TSettings::SensitivityInTime, 2, Max, 50, 300},
        {&TSettings::CornerWaitTime, 3, 1000, 1500, 1000},
        {&TSettings::CornerWaitTime, 3, 3000, 500, 2000},
        {&TSettings::CornerWaitTime, 3, 0, 2500, 0},
        {&TSettings::CornerWaitTime, 3, -100, 2500, 0},
        {&TSettings::CornerWaitTime, 3, Min, 2500, 0},
        {&TSettings::CornerWaitTime, 3, Max, 500, 2000},
    };
    for (const auto& row : rows) {
        Settings = SampleSettings();
        Settings.*row.setting = row.value;
        form->ShowOnPage(PageSensitivity);
        EXPECT_EQ(TrackBar(row.bar).value(), row.position) << row.bar << " " << row.value;

        Click(Button(2));
        EXPECT_EQ(Settings.*row.setting, row.value) << "Cancel keeps the record";

        form->ShowOnPage(PageSensitivity);
        Click(Button(1));
        EXPECT_EQ(Settings.*row.setting, row.stored) << row.bar << " " << row.value;
    }
}

TEST_F(OptionsForm, PatternBoxesFollowDetectMousePatterns)
{
    Settings.DetectMouseMoveMents = false;
    Open();
    EXPECT_FALSE(Child<QCheckBox>("CheckBox2").isChecked());
    for (int event = 1; event <= EventCount; ++event) {
        EXPECT_FALSE(PatternBox(event).isEnabled()) << "disabled at the first showing: " << event;
        EXPECT_EQ(PatternBox(event).isChecked(), EventEnabled(Settings, event)) << event;
    }

    Click(Child<QCheckBox>("CheckBox2"));
    for (int event = 1; event <= EventCount; ++event) {
        EXPECT_TRUE(PatternBox(event).isEnabled()) << event;
        EXPECT_EQ(PatternBox(event).isChecked(), EventEnabled(Settings, event)) << "ticks kept: " << event;
    }
    Click(Child<QCheckBox>("CheckBox2"));
    EXPECT_FALSE(PatternBox(1).isEnabled());
}

TEST_F(OptionsForm, OkWithPatternsOffStoresTheDisabledBoxesAsShown)
{
    Settings.DetectMouseMoveMents = false;
    Open();
    Click(Button(1));
    EXPECT_EQ(Settings.DetectMouseMoveMents, false);
    TSettings expected = SampleSettings();
    expected.DetectMouseMoveMents = false;
    EXPECT_EQ(Settings, expected);
}

TEST_F(OptionsForm, CancelDiscardsTheEditsAndTheNextShowingShowsTheRecord)
{
    Open(PageApplications);
    Edit(1).setText("firefox");
    TrackBar(1).setValue(250);
    Click(Button(2));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Settings, SampleSettings());
    EXPECT_THAT(fake::ProfileWrites(), IsEmpty());

    Open();
    EXPECT_EQ(Edit(1).text(), "?");
    EXPECT_EQ(TrackBar(1).value(), 150);
}

TEST_F(OptionsForm, CommandsStayOnOneLine)
{
    Open(PageApplications);
    Edit(3).setText("xterm\n-e\r\ntop");
    EXPECT_EQ(Edit(3).text(), "xterm -e  top");

    QGuiApplication::clipboard()->setText("first\nsecond");
    Edit(4).clear();
    Edit(4).setFocus();
    QTest::keyClick(&Edit(4), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit(4).text(), "first second");

    Click(Button(1));
    EXPECT_EQ(Settings.Event3, "xterm -e  top");
    EXPECT_FALSE(form->isVisible()) << "saved";
}

// The edit box shows what Qt can decode; a command the user did not touch
// keeps the bytes that the settings file had.
TEST_F(OptionsForm, UntouchedCommandsKeepTheirBytes)
{
    Settings.Event5 = "viewer /data/caf\xE9.png";
    Settings.Event6 = "caf\xC3\xA9";
    Open();
    Edit(6).setText(Edit(6).text() + "s");
    Click(Button(1));
    EXPECT_EQ(Settings.Event5, "viewer /data/caf\xE9.png");
    EXPECT_EQ(Settings.Event6, "caf\xC3\xA9s");
}

// ---- the Advanced page -----------------------------------------------------------

// Public, for the table rows that act on the page.
class OptionsFormAdvanced : public OptionsForm {
public:
    using OptionsForm::Button;
    using OptionsForm::Click;

    QCheckBox& Rule(int n) { return Child<QCheckBox>(("CheckBox" + std::to_string(n)).c_str()); }
    QListWidget& Programs() { return Child<QListWidget>("ListBox1"); }

    QStringList Listed()
    {
        QStringList listed;
        for (int row = 0; row < Programs().count(); ++row)
            listed << Programs().item(row)->text();
        return listed;
    }

    // Presses Add and returns its menu's entries, the section's title left out.
    QStringList AddMenuEntries()
    {
        Click(Button(15));
        QStringList entries;
        for (const QAction* action : AddMenu().actions()) {
            if (!action->isSeparator())
                entries << action->text();
        }
        return entries;
    }
    QMenu& AddMenu() { return Child<QMenu>("AddMenu"); }
    void Choose(const QString& entry)
    {
        for (QAction* action : AddMenu().actions()) {
            if (action->text() == entry) {
                action->trigger();
                AddMenu().hide();
                return;
            }
        }
        ADD_FAILURE() << "no entry " << entry.toStdString();
    }
};

TGuardSettings SampleGuards(bool inFile)
{
    TGuardSettings guards;
    guards.NotWhileButtonHeld = true;
    guards.NotInListedPrograms = true;
    guards.ListedPrograms = {"Gimp", "XTerm"};
    guards.InFile = inFile;
    return guards;
}

// Each row edits the page in its own way; Cancel must keep the record and
// OK must store exactly the controls, whether or not the section is in the
// file yet.
TEST_F(OptionsFormAdvanced, ShowsTheRulesOkStoresThemCancelDiscardsThemAndTheSectionStaysAsItWas)
{
    const struct {
        const char* what;
        std::function<void(OptionsFormAdvanced&)> edit;
        std::function<void(TGuardSettings&)> expect;
    } rows[] = {
        {"nothing", [](OptionsFormAdvanced&) {}, [](TGuardSettings&) {}},
        {"every box flipped",
         [](OptionsFormAdvanced& test) {
             for (int box = 11; box <= 14; ++box)
                 test.Click(test.Rule(box));
         },
         [](TGuardSettings& guards) {
             guards.NotWhileButtonHeld = false;
             guards.NotInFullScreen = true;
             guards.NotInListedPrograms = false;
             guards.EveryMonitorCorners = true;
         }},
        {"the first program removed",
         [](OptionsFormAdvanced& test) {
             test.Programs().setCurrentRow(0);
             test.Click(test.Button(16));
         },
         [](TGuardSettings& guards) { guards.ListedPrograms = {"XTerm"}; }},
        {"a program added from the open windows",
         [](OptionsFormAdvanced& test) {
             test.AddMenuEntries();
             test.Choose("firefox");
         },
         [](TGuardSettings& guards) { guards.ListedPrograms.push_back("firefox"); }},
        {"back to the defaults",
         [](OptionsFormAdvanced& test) {
             test.Click(test.Rule(11));
             for (int removed = 0; removed < 2; ++removed) {
                 test.Programs().setCurrentRow(0);
                 test.Click(test.Button(16));
             }
             test.Click(test.Rule(13));
         },
         [](TGuardSettings& guards) { guards = TGuardSettings{}; }},
    };
    fake::SetOpenWindowClasses({"firefox"});
    for (const bool inFile : {false, true}) {
        for (const auto& row : rows) {
            Settings = SampleSettings();
            Settings.Guards = SampleGuards(inFile);
            Open(PageAdvanced);
            EXPECT_TRUE(Rule(11).isChecked());
            EXPECT_FALSE(Rule(12).isChecked());
            EXPECT_TRUE(Rule(13).isChecked());
            EXPECT_FALSE(Rule(14).isChecked());
            EXPECT_EQ(Listed(), QStringList({"Gimp", "XTerm"}));

            row.edit(*this);
            Click(Button(2));
            EXPECT_EQ(Settings.Guards, SampleGuards(inFile)) << "Cancel: " << row.what;

            Open(PageAdvanced);
            EXPECT_EQ(Listed(), QStringList({"Gimp", "XTerm"})) << "shown anew: " << row.what;
            row.edit(*this);
            Click(Button(1));
            TGuardSettings expected = SampleGuards(inFile);
            row.expect(expected);
            // The save puts the section in the file once it holds a change;
            // the dialog itself never does.
            expected.InFile = inFile || GuardsChanged(expected);
            EXPECT_EQ(Settings.Guards, expected) << "OK: " << row.what << " in file " << inFile;
            const bool sectionWritten =
                fake::ProfileFileText(SettingsFileName).value_or("").find("[GUARDS]") != std::string::npos;
            EXPECT_EQ(sectionWritten, expected.InFile) << row.what;
            fake::ResetProfiles();
            EXPECT_FALSE(form->isVisible());
        }
    }
}

TEST_F(OptionsFormAdvanced, TheListAndItsButtonsFollowTheirRuleAndRemoveNeedsASelection)
{
    Settings.Guards = SampleGuards(false);
    Settings.Guards.NotInListedPrograms = false;
    Open(PageAdvanced);
    EXPECT_FALSE(Programs().isEnabled());
    EXPECT_FALSE(Button(15).isEnabled());
    EXPECT_FALSE(Button(16).isEnabled());

    Click(Rule(13));
    EXPECT_TRUE(Programs().isEnabled());
    EXPECT_TRUE(Button(15).isEnabled());
    EXPECT_FALSE(Button(16).isEnabled()) << "nothing selected";
    Programs().setCurrentRow(1);
    EXPECT_TRUE(Button(16).isEnabled());
    Click(Button(16));
    EXPECT_EQ(Listed(), QStringList{"Gimp"});

    Click(Rule(13));
    EXPECT_FALSE(Button(16).isEnabled());
    EXPECT_EQ(Listed(), QStringList{"Gimp"}) << "the list waits, greyed out";
}

TEST_F(OptionsFormAdvanced, AddOffersTheOpenWindowsNotListedAndTheClassOfAClickedWindow)
{
    Settings.Guards = SampleGuards(false);
    fake::SetOpenWindowClasses({"Gimp", "firefox", "xterm"});
    Open(PageAdvanced);
    EXPECT_EQ(AddMenuEntries(), QStringList({"&Click a Window...", "firefox"})) << "listed ones, whatever their case";

    Choose("&Click a Window...");
    ASSERT_TRUE(fake::WindowPickPending());
    fake::FinishWindowPick("Inkscape");
    EXPECT_EQ(Listed(), QStringList({"Gimp", "XTerm", "Inkscape"}));
    EXPECT_EQ(Programs().currentItem()->text(), "Inkscape") << "the new one selected";

    const struct {
        std::optional<std::string> picked;
        const char* selected;
    } picks[] = {{std::nullopt, "Inkscape"}, {"gimp", "Gimp"}, {"  ", "Gimp"}};
    for (const auto& pick : picks) {
        AddMenuEntries();
        Choose("&Click a Window...");
        fake::FinishWindowPick(pick.picked);
        EXPECT_EQ(Listed(), QStringList({"Gimp", "XTerm", "Inkscape"})) << pick.picked.value_or("cancelled");
        EXPECT_EQ(Programs().currentItem()->text(), pick.selected);
    }

    fake::SetOpenWindowClasses({"gimp", "Inkscape"});
    EXPECT_EQ(AddMenuEntries().size(), 2) << "the pick and the note that nothing else is open";
    EXPECT_FALSE(AddMenu().actions().constLast()->isEnabled());
    AddMenu().hide();

    // Where no pick can start, nothing waits for one.
    fake::SetWindowPickAvailable(false);
    AddMenuEntries();
    Choose("&Click a Window...");
    EXPECT_FALSE(fake::WindowPickPending());

    // A dialog that goes while a pick runs ends the pick.
    fake::SetWindowPickAvailable(true);
    AddMenuEntries();
    Choose("&Click a Window...");
    ASSERT_TRUE(fake::WindowPickPending());
    form = nullptr;
    EXPECT_FALSE(fake::WindowPickPending());
}

// ---- the master switch from the tray menu ------------------------------------------

TEST_F(OptionsForm, AnOpenDialogsMasterSwitchFollowsTheMenuAndKeepsTheOtherEdits)
{
    Open(PageApplications);
    Edit(2).setText("gimp");
    TrackBar(1).setValue(75);
    for (const bool on : {false, true, false}) {
        Settings.DetectMouseMoveMents = on;
        form->FollowDetectionSwitch();
        EXPECT_EQ(Child<QCheckBox>("CheckBox2").isChecked(), on);
        EXPECT_EQ(PatternBox(1).isEnabled(), on) << "the pattern boxes follow it";
    }
    EXPECT_EQ(Edit(2).text(), "gimp");
    EXPECT_EQ(TrackBar(1).value(), 75);
    EXPECT_EQ(PageControl().currentIndex(), PageApplications);
    Click(Button(1));
    EXPECT_FALSE(Settings.DetectMouseMoveMents);
    EXPECT_EQ(Settings.Event2, "gimp");

    // A hidden dialog shows the record when it is shown next.
    Settings.DetectMouseMoveMents = true;
    form->FollowDetectionSwitch();
    Open();
    EXPECT_TRUE(Child<QCheckBox>("CheckBox2").isChecked());
}

// ---- closing and exit ----------------------------------------------------------

TEST_F(OptionsForm, SaveErrorIsReportedAndTheDialogStaysOpen)
{
    Open();
    Edit(2).setText("gimp");
    fake::FailProfileWritesAfter(0);
    {
        TMessageBoxAnswerer user(QMessageBox::Ok);
        Click(Button(1));
        ASSERT_EQ(user.Boxes.size(), 1u);
        EXPECT_EQ(user.Boxes[0].text, "Unable to write to QRVN.INI.");
        EXPECT_EQ(user.Boxes[0].caption, Title);
        EXPECT_EQ(user.Boxes[0].icon, QMessageBox::Critical);
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Settings.Event2, "gimp") << "the record already holds the new values";

    // Not closed by a button: the title bar's close asks the Exit question.
    TMessageBoxAnswerer no(QMessageBox::No);
    form->close();
    ASSERT_EQ(no.Boxes.size(), 1u);
    EXPECT_EQ(no.Boxes[0].text, "Are you sure you want to exit Quorzane?");
    EXPECT_TRUE(form->isVisible());

    // Once the file can be written again, OK closes.
    fake::FailProfileWritesAfter(-1);
    Click(Button(1));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(OptionsForm, ClosingWithTheTitleBarAsksTheExitQuestion)
{
    Open(PageApplications);
    Edit(1).setText("firefox");
    {
        TMessageBoxAnswerer user(QMessageBox::No);
        form->close();
        ASSERT_EQ(user.Boxes.size(), 1u);
        EXPECT_EQ(user.Boxes[0].caption, "Exit");
        EXPECT_EQ(user.Boxes[0].text, "Are you sure you want to exit Quorzane?");
        EXPECT_EQ(user.Boxes[0].icon, QMessageBox::Question);
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Edit(1).text(), "firefox") << "edits kept";
    EXPECT_FALSE(fake::QuitRequested());

    TMessageBoxAnswerer user(QMessageBox::Yes);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(fake::QuitRequested(), 0);
    EXPECT_EQ(Settings, SampleSettings()) << "the edits are not stored";
}

TEST_F(OptionsForm, OkAndCancelCloseWithoutAQuestion)
{
    TMessageBoxAnswerer user(QMessageBox::No);
    for (const int button : {1, 2}) {
        Open();
        Click(Button(button));
        EXPECT_FALSE(form->isVisible()) << button;
    }
    EXPECT_THAT(user.Boxes, IsEmpty());
    EXPECT_FALSE(fake::QuitRequested());
}

TEST_F(OptionsForm, EnterAndEscapeMeanNothingToTheDialogAsAWhole)
{
    TMessageBoxAnswerer user(QMessageBox::No);
    Open(PageApplications);
    Edit(1).setFocus();
    QTest::keyClick(&Edit(1), Qt::Key_Return);
    QTest::keyClick(&Edit(1), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_THAT(user.Boxes, IsEmpty());
    EXPECT_THAT(fake::ProfileWrites(), IsEmpty()) << "no OK";

    // A focused button takes Enter, as it takes a click.
    Button(2).setFocus();
    QTest::keyClick(&Button(2), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_THAT(user.Boxes, IsEmpty());
}

TEST_F(OptionsForm, ExitButtonEndsTheProgramOnlyOnYes)
{
    Open();
    {
        TMessageBoxAnswerer user(QMessageBox::No);
        Click(Button(4));
        EXPECT_EQ(user.Boxes.size(), 1u);
    }
    EXPECT_FALSE(fake::QuitRequested());
    EXPECT_TRUE(form->isVisible());

    TMessageBoxAnswerer user(QMessageBox::Yes);
    Click(Button(4));
    EXPECT_EQ(user.Boxes.size(), 1u);
    EXPECT_EQ(fake::QuitRequested(), 0);
}

TEST_F(OptionsForm, EndOfSessionAsksOnlyWhileTheDialogIsOpen)
{
    {
        TMessageBoxAnswerer no(QMessageBox::No);
        EXPECT_TRUE(form->QueryEndSession()) << "hidden: no question";
        EXPECT_THAT(no.Boxes, IsEmpty());

        Open();
        EXPECT_FALSE(form->QueryEndSession()) << "No refuses the end of the session";
        EXPECT_EQ(no.Boxes.size(), 1u);
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(fake::QuitRequested());
    }
    {
        TMessageBoxAnswerer yes(QMessageBox::Yes);
        EXPECT_TRUE(form->QueryEndSession());
        EXPECT_EQ(yes.Boxes.size(), 1u);
        EXPECT_EQ(fake::QuitRequested(), 0);

        // Closed by Cancel: the session may end without a question.
        fake::ResetApplication();
        Click(Button(2));
        EXPECT_TRUE(form->QueryEndSession());
        EXPECT_EQ(yes.Boxes.size(), 1u);
        EXPECT_FALSE(fake::QuitRequested());
    }
}

TEST_F(OptionsForm, AboutButtonAsksForTheAboutDialog)
{
    QSignalSpy about(form.get(), &TOptionsForm::AboutRequested);
    Open();
    Click(Button(14));
    EXPECT_EQ(about.count(), 1);
}

// ---- openers and pages ------------------------------------------------------------

TEST_F(OptionsForm, OpenersSelectThePageAndFocusItsFirstControl)
{
    const struct {
        int page;
        const char* focused;
    } openers[] = {
        {PageSensitivity, "TrackBar1"},
        {PageApplications, "Edit1"},
        {PageAsLastShown, "Edit1"},
        {PageAdvanced, "CheckBox11"},
        {PageGeneral, "CheckBox1"},
    };
    QSignalSpy changes(&PageControl(), &QTabWidget::currentChanged);
    for (const auto& opener : openers) {
        Open(opener.page);
        EXPECT_TRUE(form->isActiveWindow());
        ASSERT_TRUE(QApplication::focusWidget()) << opener.focused;
        EXPECT_EQ(QApplication::focusWidget()->objectName(), opener.focused);
        Click(Button(2));
    }
    EXPECT_EQ(changes.count(), 0) << "the menu's page selection raises no change event";
}

TEST_F(OptionsForm, OpeningAnOpenDialogSwitchesThePageAndKeepsTheEdits)
{
    Open(PageApplications);
    Edit(2).setText("gimp");
    Settings.Event2 = "changed meanwhile";

    form->ShowOnPage(PageSensitivity);
    EXPECT_EQ(PageControl().currentIndex(), PageSensitivity);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Edit(2).text(), "gimp") << "not reloaded";

    form->ShowOnPage(PageAsLastShown);
    EXPECT_EQ(PageControl().currentIndex(), PageSensitivity);
    EXPECT_EQ(Edit(2).text(), "gimp");
}

TEST_F(OptionsForm, ReopenedOnThePageShownLast)
{
    for (const int page : {PageApplications, PageAdvanced}) {
        Open(PageGeneral);
        PageControl().setCurrentIndex(page);
        Click(Button(2));
        Open(PageAsLastShown);
        EXPECT_EQ(PageControl().currentIndex(), page);
        Click(Button(2));
    }
}

// ---- help -----------------------------------------------------------------------

TEST_F(OptionsForm, HelpButtonOpensTheSelectedPagesTopic)
{
    for (const int page : {PageGeneral, PageSensitivity, PageApplications, PageAdvanced}) {
        Open(page);
        Click(Button(3));
        Click(Button(2));
    }
    EXPECT_THAT(HelpContextsRequested(), ElementsAre(1002, 1003, 1004, 1005));
}

TEST_F(OptionsForm, F1OpensTheTopicOfTheFocusedControl)
{
    const struct {
        int page;
        const char* focus;
        std::uint32_t context;
    } rows[] = {
        {PageGeneral, "CheckBox1", 1002},
        {PageGeneral, "CheckBox7", 1002},
        {PageSensitivity, "TrackBar3", 1003},
        {PageApplications, "Edit5", 1004},
        {PageApplications, "Button12", 1004},
        {PageApplications, "Button1", 1000},
        {PageAdvanced, "CheckBox13", 1005},
        {PageAdvanced, "CheckBox14", 1005},
        {PageGeneral, "Button4", 1000},
    };
    Open();
    for (const auto& row : rows) {
        form->ShowOnPage(row.page);
        Child(row.focus).setFocus();
        fake::ResetHelp();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        EXPECT_THAT(HelpContextsRequested(), ElementsAre(row.context)) << row.focus;
    }
}

TEST_F(OptionsForm, F1OnTheTabStripOpensTheSelectedPagesTopic)
{
    Open(PageGeneral);
    QTabBar& tabs = *PageControl().tabBar();
    tabs.setFocus();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(PageApplications).center());
    ASSERT_EQ(PageControl().currentIndex(), PageApplications);
    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_F1);

    // Switched by the menu while open: the strip follows the page too.
    form->ShowOnPage(PageSensitivity);
    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_F1);

    // The fourth page, chosen on the strip.
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(PageAdvanced).center());
    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_F1);
    EXPECT_THAT(HelpContextsRequested(), ElementsAre(1004, 1003, 1005));
}

TEST_F(OptionsForm, HelpIsOwnedByTheGivenWindow)
{
    QWidget owner;
    owner.winId();
    form = nullptr;
    form = std::make_unique<TOptionsForm>(&owner);
    Open();
    Click(Button(3));
    ASSERT_EQ(fake::HelpRequests().size(), 1u);
    EXPECT_EQ(fake::HelpRequests()[0].owner, static_cast<platform::HelpOwner>(owner.winId()));
}

// ---- browsing -----------------------------------------------------------------------

class OptionsFormBrowse : public OptionsForm {
protected:
    void SetUp() override
    {
        OptionsForm::SetUp();
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"setup.exe", "RUN.BAT", "other.pif"}) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        Open(PageApplications);
    }

    // Presses browse button `button`; while the file dialog is open,
    // `whileOpen` acts as the user.
    void Browse(int button, const std::function<void(QFileDialog&)>& whileOpen)
    {
        QTimer::singleShot(0, form.get(), [this, whileOpen] {
            QFileDialog& dialog = OpenDialog();
            if (!dialog.isVisible()) {
                ADD_FAILURE() << "the file dialog is not open";
                return;
            }
            whileOpen(dialog);
        });
        Click(Button(button));
    }

    QTemporaryDir folder;
};

TEST_F(OptionsFormBrowse, OneDialogWithThreeChoicesTheFirstSelected)
{
    Browse(9, [](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(),
                  QStringList({"(.EXE Files) (*.EXE)", "(.BAT Files) (*.BAT)", "(.PIF Files) (*.PIF)"}));
        // The choices show their descriptions alone.
        EXPECT_EQ(dialog.selectedNameFilter(), "(.EXE Files)");
        dialog.selectNameFilter("(.BAT Files) (*.BAT)");
        EXPECT_EQ(dialog.selectedNameFilter(), "(.BAT Files)");
        dialog.reject();
    });
    Browse(10, [](QFileDialog& dialog) {
        EXPECT_EQ(dialog.selectedNameFilter(), "(.EXE Files)") << "first again at each opening";
        dialog.reject();
    });
    EXPECT_EQ(form->findChildren<QFileDialog*>().size(), 1);
}

TEST_F(OptionsFormBrowse, ChosenFileReplacesOnlyItsEventsCommandAndIsWhereTheDialogOpensNext)
{
    const QString chosen = folder.filePath("setup.exe");
    Browse(10, [&chosen](QFileDialog& dialog) {
        dialog.selectFile(chosen);
        static_cast<QDialog&>(dialog).accept();
    });
    for (int event = 1; event <= EventCount; ++event)
        EXPECT_EQ(Edit(event).text().toStdString(), event == 6 ? chosen.toStdString() : EventCommand(Settings, event))
            << event;

    Browse(5, [&chosen](QFileDialog& dialog) {
        EXPECT_EQ(dialog.directory().absolutePath(), QFileInfo(chosen).absolutePath());
        EXPECT_EQ(dialog.selectedFiles(), QStringList{chosen});
        dialog.reject();
    });
    EXPECT_EQ(Edit(1).text(), "?") << "cancel leaves the command alone";
}

TEST_F(OptionsFormBrowse, APathWithBlanksIsTakenWithoutQuotes)
{
    QDir(folder.path()).mkdir("My Tools");
    const QString chosen = folder.filePath("My Tools/run me.exe");
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    Browse(12, [&chosen](QFileDialog& dialog) {
        dialog.selectFile(chosen);
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_EQ(Edit(8).text(), chosen);
    Click(Button(1));
    EXPECT_EQ(Settings.Event8, chosen.toStdString());
}

TEST_F(OptionsFormBrowse, AFileNameWithALineBreakIsRefusedAndTheCommandKept)
{
    const QString before = Edit(3).text();
    for (const char* name : {"two\nlines.exe", "old\rmac.exe"}) {
        const QString chosen = folder.filePath(name);
        QFile file(chosen);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        TMessageBoxAnswerer answerer(QMessageBox::Ok);
        Browse(7, [&chosen](QFileDialog& dialog) {
            dialog.selectFile(chosen);
            static_cast<QDialog&>(dialog).accept();
        });
        ASSERT_EQ(answerer.Boxes.size(), 1u) << name;
        EXPECT_TRUE(answerer.Boxes[0].text.contains("line break")) << answerer.Boxes[0].text.toStdString();
        EXPECT_EQ(answerer.Boxes[0].caption, Title);
        EXPECT_EQ(Edit(3).text(), before) << name;
    }
    Click(Button(1));
    EXPECT_FALSE(form->isVisible()) << "the settings are saved";
}

// ---- the single-instance guard on the form --------------------------------------------

TEST_F(OptionsForm, GuardActsBeforeTheCaptionIsSet)
{
    form = nullptr;
    platform::GlobalAddAtom("OnlyOneQuorzane! v1.0");
    fake::AddWindow(platform::ApplicationWindowClass, Title);

    TOptionsForm second;

    EXPECT_EQ(second.windowTitle(), "destroy me - Options");
    EXPECT_EQ(second.y(), 1024 + 1);
    EXPECT_EQ(fake::QuitRequested(), 0);
}

TEST_F(OptionsForm, FirstCopyHoldsTheNameUntilTheFormGoes)
{
    EXPECT_TRUE(fake::HasName("OnlyOneQuorzane! v1.0"));
    EXPECT_EQ(form->windowTitle(), "Quorzane! v1.0 - Options");
    form = nullptr;
    EXPECT_FALSE(fake::HasName("OnlyOneQuorzane! v1.0"));
}

} // namespace
