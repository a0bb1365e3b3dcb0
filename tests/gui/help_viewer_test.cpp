// The Linux help engine: the help viewer window, the help file's topics and
// the report of a help file that cannot be read.

#include "platform/help.h"
#include "platform/linux/help/help_viewer.h"

#include "message_box_answerer.h"
#include "qstring_printer.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>


namespace {

using platform::help::THelpViewer;

// A page per topic, each taller than the viewer, so that a topic further
// down can only be seen when the viewer has scrolled to it.
QByteArray TopicsDocument(const std::vector<int>& contexts)
{
    QByteArray html = "<html><head><title>Sample Help</title></head><body>";
    for (const int context : contexts) {
        html += "<a name=\"" + QByteArray::number(context) + "\"></a><h1>Topic " + QByteArray::number(context) +
                "</h1>";
        for (int line = 0; line < 60; ++line)
            html += "<p>Text of topic " + QByteArray::number(context) + ".</p>";
    }
    return html + "</body></html>";
}

// The first line that the viewer shows.
QString TopLine(const QTextBrowser& browser)
{
    return browser.cursorForPosition(QPoint(5, 5)).block().text();
}

THelpViewer* OnlyViewer()
{
    THelpViewer* found = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<THelpViewer*>(window)) {
            EXPECT_EQ(found, nullptr) << "one viewer per program";
            found = viewer;
        }
    return found;
}

class HelpViewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        helpFile = folder.filePath("QRVN.HLP");
        Write(TopicsDocument({1000, 1002, 1003}));
    }

    void Write(const QByteArray& text) const
    {
        QFile file(helpFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QTemporaryDir folder;
    QString helpFile;
};

TEST_F(HelpViewer, ShowsTheTopicAtTheTop)
{
    THelpViewer viewer;
    ASSERT_TRUE(viewer.ShowTopic(helpFile, 1002));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    EXPECT_EQ(viewer.windowTitle(), "Sample Help");
    EXPECT_EQ(TopLine(viewer.Browser()), "Topic 1002");

    ASSERT_TRUE(viewer.ShowTopic(helpFile, 1000));
    EXPECT_EQ(TopLine(viewer.Browser()), "Topic 1000");
}

TEST_F(HelpViewer, UnknownTopicShowsTheFileFromItsStart)
{
    THelpViewer viewer;
    ASSERT_TRUE(viewer.ShowTopic(helpFile, 1003));
    ASSERT_TRUE(viewer.ShowTopic(helpFile, 4711));
    EXPECT_EQ(viewer.Browser().verticalScrollBar()->value(), 0);
}

TEST_F(HelpViewer, ReadsTheFileAfreshEachTime)
{
    THelpViewer viewer;
    ASSERT_TRUE(viewer.ShowTopic(helpFile, 1000));
    Write(TopicsDocument({1000, 1012}));
    ASSERT_TRUE(viewer.ShowTopic(helpFile, 1012));
    EXPECT_EQ(TopLine(viewer.Browser()), "Topic 1012");
}

TEST_F(HelpViewer, LinksBetweenTopicsScrollWithinTheFile)
{
    Write("<html><body><a href=\"#1003\">See the sensitivity</a>" + TopicsDocument({1000, 1003}) + "</body></html>");
    THelpViewer viewer;
    ASSERT_TRUE(viewer.ShowTopic(helpFile, 1000));
    viewer.Browser().setSource(QUrl("#1003"));
    EXPECT_EQ(TopLine(viewer.Browser()), "Topic 1003");
}

TEST_F(HelpViewer, AFileThatCannotBeReadIsReportedByTheViewer)
{
    const QString missing = folder.filePath("gone/QRVN.HLP");
    for (const QString& file : {missing, folder.path()}) {
        THelpViewer viewer;
        TMessageBoxAnswerer user(QMessageBox::Ok);
        EXPECT_FALSE(viewer.ShowTopic(file, 1012)) << file.toStdString();
        EXPECT_FALSE(viewer.isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&user] { return !user.Boxes.empty(); }, 2000)) << "no message";
        ASSERT_EQ(user.Boxes.size(), 1u);
        EXPECT_TRUE(user.Boxes[0].text.contains(file)) << user.Boxes[0].text.toStdString();
    }
}

// The program's way in: one viewer for every request, made on the first.
TEST_F(HelpViewer, WinHelpOpensTheContextInTheProgramsOneViewer)
{
    ASSERT_TRUE(platform::WinHelp(platform::NoHelpOwner, helpFile.toStdString(), platform::HelpContext, 1003));
    THelpViewer* viewer = OnlyViewer();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(TopLine(viewer->Browser()), "Topic 1003");

    viewer->hide();
    ASSERT_TRUE(platform::WinHelp(42, helpFile.toStdString(), platform::HelpContext, 1000));
    EXPECT_EQ(OnlyViewer(), viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(TopLine(viewer->Browser()), "Topic 1000");

    EXPECT_FALSE(platform::WinHelp(platform::NoHelpOwner, helpFile.toStdString(), 2, 1000)) << "not a known command";
    viewer->hide();
}

// The help file that the program ships has every topic that it opens, each
// with a heading, in a document with a title.
TEST(ShippedHelpFile, HasEveryTopicTheProgramOpens)
{
    const struct {
        std::uint32_t context;
        const char* heading;
    } topics[] = {
        {1000, "The options dialog"}, {1002, "General"},  {1003, "Sensitivity"},
        {1004, "Applications"},       {1005, "Advanced"}, {1012, "Welcome to Quorzane!"},
    };
    THelpViewer viewer;
    for (const auto& topic : topics) {
        ASSERT_TRUE(viewer.ShowTopic(QUORZANE_HELP_FILE, topic.context));
        EXPECT_EQ(TopLine(viewer.Browser()), topic.heading) << topic.context;
    }
    EXPECT_EQ(viewer.windowTitle(), "Quorzane! Help");
    viewer.hide();
}

} // namespace
