#include "dialogs/srcAboutForm.h"

#include "platform/window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr char Title[] = "Quorzane! v1.0";

TEST(VersionLine, FollowsTheFirstLowerCaseV)
{
    const struct {
        const char* title;
        const char* line;
    } cases[] = {
        {"Quorzane! v1.0", "Version 1.0 for Windows 95 and Windows NT"},
        {"Quorzane! V1.0", "Version Quorzane! V1.0 for Windows 95 and Windows NT"},
        {"Quorzane v", "Version  for Windows 95 and Windows NT"},
        {"", "Version  for Windows 95 and Windows NT"},
        {"vivid v2", "Version ivid v2 for Windows 95 and Windows NT"},
        {"Ärger v2.1 ß", "Version 2.1 ß for Windows 95 and Windows NT"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionLine(c.title), c.line) << c.title;
}

class AboutForm : public ::testing::Test {
protected:
    void SetUp() override { platform::SetApplicationWindowText(Title); }

    QLabel& Label(const char* name) { return *form.findChild<QLabel*>(name); }
    QPushButton& Button1() { return *form.findChild<QPushButton*>("Button1"); }

    // Shows the form modally and lets `whileOpen` close it; returns the modal result.
    int ShowModal(const std::function<void()>& whileOpen)
    {
        QTimer::singleShot(0, &form, whileOpen);
        return form.exec();
    }

    TAboutForm form;
};

TEST_F(AboutForm, LayoutAsDesigned)
{
    EXPECT_EQ(form.windowTitle(), "About");
    EXPECT_EQ(form.width(), 249);
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "not resizable";
    EXPECT_FALSE(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);

    const struct {
        const char* name;
        QRect geometry;
    } controls[] = {
        {"Button1", {178, 145, 65, 25}}, {"Bevel1", {8, 121, 233, 17}}, {"Label1", {72, 24, 161, 25}},
        {"Image1", {24, 16, 32, 32}},    {"Label2", {8, 96, 233, 25}},  {"Label3", {8, 64, 233, 13}},
    };
    for (const auto& control : controls) {
        const QWidget* widget = form.findChild<QWidget*>(control.name);
        ASSERT_TRUE(widget) << control.name;
        EXPECT_EQ(widget->geometry(), control.geometry) << control.name;
    }
    // Top to bottom: name, version line, notice, separator, button.
    EXPECT_LT(Label("Label3").geometry().bottom(), Label("Label2").geometry().top());
    EXPECT_LE(Label("Label2").geometry().bottom(), form.findChild<QWidget*>("Bevel1")->geometry().top());
    EXPECT_LE(form.findChild<QWidget*>("Bevel1")->geometry().bottom(), Button1().geometry().top());
    EXPECT_LE(Button1().geometry().bottom(), form.height());

    EXPECT_EQ(Label("Label1").text(), "Quorzane!");
    EXPECT_TRUE(Label("Label1").font().bold());
    EXPECT_EQ(Label("Label1").font().pixelSize(), 16);
    EXPECT_EQ(Button1().text(), "&OK");
    EXPECT_TRUE(Label("Label3").text().isEmpty()) << "set only when shown";
}

TEST_F(AboutForm, ShowsTheApplicationIcon)
{
    const QPixmap icon = Label("Image1").pixmap();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
}

TEST_F(AboutForm, VersionLineIsRebuiltFromTheTitleOnEveryShow)
{
    const std::vector<QRect> layout = [this] {
        std::vector<QRect> geometries;
        for (const QWidget* child : form.findChildren<QWidget*>())
            geometries.push_back(child->geometry());
        return geometries;
    }();

    ShowModal([this] { form.accept(); });
    EXPECT_EQ(Label("Label3").text(), "Version 1.0 for Windows 95 and Windows NT");

    platform::SetApplicationWindowText("Quorzane! v2.5 beta");
    ShowModal([this] { form.accept(); });
    EXPECT_EQ(Label("Label3").text(), "Version 2.5 beta for Windows 95 and Windows NT");

    platform::SetApplicationWindowText(Title);
    ShowModal([this] { form.accept(); });
    EXPECT_EQ(Label("Label3").text(), "Version 1.0 for Windows 95 and Windows NT");
    std::vector<QRect> again;
    for (const QWidget* child : form.findChildren<QWidget*>())
        again.push_back(child->geometry());
    EXPECT_EQ(again, layout);
}

TEST_F(AboutForm, OkAndTheCloseBoxBothEndTheModalShow)
{
    EXPECT_EQ(ShowModal([this] {
                  EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
                  EXPECT_TRUE(Button1().hasFocus());
                  QTest::mouseClick(&Button1(), Qt::LeftButton);
              }),
              QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());

    ShowModal([this] { form.close(); });
    EXPECT_FALSE(form.isVisible());

    ShowModal([this] { QTest::keyClick(&Button1(), Qt::Key_Return); });
    EXPECT_FALSE(form.isVisible());
}

TEST_F(AboutForm, NoTextIsClipped)
{
    for (const char* title : {Title, "Quorzane! v10.25"}) {
        platform::SetApplicationWindowText(title);
        ShowModal([this] { form.accept(); });
        for (const char* name : {"Label1", "Label2", "Label3"}) {
            const QLabel& label = Label(name);
            const QFontMetrics metrics(label.font());
            EXPECT_LE(metrics.horizontalAdvance(label.text()), label.width()) << name << " " << title;
            EXPECT_LE(metrics.height(), label.height()) << name << " " << title;
        }
    }
}

TEST_F(AboutForm, IsCentredOnTheScreenWhenFirstShown)
{
    ShowModal([this] {
        const QRect screen = form.screen()->geometry();
        EXPECT_LE(std::abs(form.frameGeometry().center().x() - screen.center().x()), 1);
        EXPECT_LE(std::abs(form.frameGeometry().center().y() - screen.center().y()), 1);
        form.move(10, 10);
        form.accept();
    });
    // Later shows keep the place where the user left it.
    ShowModal([this] {
        EXPECT_EQ(form.pos(), QPoint(10, 10));
        form.accept();
    });
}

} // namespace
