#include "platform/linux/tray/dbus_menu_export.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using platform::DBusMenuExport;
using platform::DBusMenuLayout;

// Published nowhere: the calls are made directly, as the bus would make them.
QDBusConnection NoBus() { return QDBusConnection(QStringLiteral("no bus")); }

class ExportedMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        general = menu.addAction("&General Options");
        menu.addAction("Save && Exit_Now");
        menu.addSeparator();
        menu.addAction("Unavailable")->setEnabled(false);
        QAction* checked = menu.addAction("Checked");
        checked->setCheckable(true);
        checked->setChecked(true);
        exported.SetMenu(&menu);
    }

    QVariantMap Entry(int id, const QStringList& names = {}) const
    {
        return exported.GetGroupProperties({id}, names).value(0).properties;
    }

    QMenu menu;
    QAction* general = nullptr;
    DBusMenuExport exported{NoBus(), QStringLiteral("/MenuBar")};
};

TEST_F(ExportedMenu, LaysOutTheActionsFlatWithTheHostsMarkings)
{
    DBusMenuLayout root;
    exported.GetLayout(0, -1, {}, root);
    ASSERT_EQ(root.children.size(), 5);
    EXPECT_EQ(root.children[4].variant().value<DBusMenuLayout>().id, 5);

    EXPECT_EQ(Entry(1).value("label"), "_General Options");
    EXPECT_EQ(Entry(2).value("label"), "Save & Exit__Now");
    EXPECT_EQ(Entry(3).value("type"), "separator");
    EXPECT_EQ(Entry(4).value("enabled"), false);
    EXPECT_EQ(Entry(5).value("toggle-type"), "checkmark");
    EXPECT_EQ(Entry(5).value("toggle-state"), 1);
    EXPECT_EQ(Entry(1, {"label"}).keys(), QStringList{"label"});
    EXPECT_TRUE(Entry(6).isEmpty());

    DBusMenuLayout shallow;
    exported.GetLayout(0, 0, {}, shallow);
    EXPECT_TRUE(shallow.children.isEmpty());
}

TEST_F(ExportedMenu, AChangeTellsTheHostWithANewRevision)
{
    QSignalSpy updated(&exported, &DBusMenuExport::LayoutUpdated);
    DBusMenuLayout before;
    const uint revision = exported.GetLayout(0, -1, {}, before);
    general->setEnabled(false);
    menu.addAction("Added");
    ASSERT_EQ(updated.size(), 2);
    // A check mark that changes, as the pause entry's does.
    menu.actions()[4]->setChecked(false);
    ASSERT_EQ(updated.size(), 3);
    EXPECT_EQ(Entry(5).value("toggle-state"), 0);
    DBusMenuLayout after;
    EXPECT_GT(exported.GetLayout(0, -1, {}, after), revision);
    EXPECT_EQ(after.children.size(), 6);
    exported.SetMenu(nullptr);
    exported.GetLayout(0, -1, {}, after);
    EXPECT_TRUE(after.children.isEmpty());
}

TEST_F(ExportedMenu, AClickTriggersTheEntryOnceTheCallHasReturned)
{
    QSignalSpy triggered(general, &QAction::triggered);
    exported.Event(1, "hovered", {}, 0);
    exported.Event(9, "clicked", {}, 0);
    exported.Event(1, "clicked", {}, 0);
    EXPECT_EQ(triggered.size(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(triggered.size(), 1);
}

} // namespace
