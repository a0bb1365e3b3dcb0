#include "platform/linux/tray/dbus_menu_export.h"

#include <QAction>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QEvent>
#include <QMenu>
#include <QTimer>

#include <utility>

QDBusArgument& operator<<(QDBusArgument& argument, const platform::DBusMenuLayout& layout)
{
    argument.beginStructure();
    argument << layout.id << layout.properties;
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const QDBusVariant& child : layout.children)
        argument << child;
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, platform::DBusMenuLayout& layout)
{
    argument.beginStructure();
    argument >> layout.id >> layout.properties >> layout.children;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const platform::DBusMenuProperties& entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, platform::DBusMenuProperties& entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

namespace platform {
namespace {

constexpr int RootId = 0;

// D-Bus menus mark the access key with "_" where Qt uses "&".
QString MenuLabel(const QString& text)
{
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'&')
            label += text[++i];
        else if (text[i] == u'&')
            label += u'_';
        else if (text[i] == u'_')
            label += QStringLiteral("__");
        else
            label += text[i];
    }
    return label;
}

QVariantMap ActionProperties(const QAction& action)
{
    if (action.isSeparator())
        return {{QStringLiteral("type"), QStringLiteral("separator")}, {QStringLiteral("visible"), action.isVisible()}};
    QVariantMap properties{{QStringLiteral("label"), MenuLabel(action.text())},
                           {QStringLiteral("enabled"), action.isEnabled()},
                           {QStringLiteral("visible"), action.isVisible()}};
    if (action.isCheckable()) {
        properties.insert(QStringLiteral("toggle-type"), QStringLiteral("checkmark"));
        properties.insert(QStringLiteral("toggle-state"), action.isChecked() ? 1 : 0);
    }
    return properties;
}

QVariantMap Only(const QVariantMap& properties, const QStringList& names)
{
    if (names.isEmpty())
        return properties;
    QVariantMap chosen;
    for (const QString& name : names) {
        if (properties.contains(name))
            chosen.insert(name, properties.value(name));
    }
    return chosen;
}

} // namespace

DBusMenuExport::DBusMenuExport(QDBusConnection bus, QString path)
    : bus_(std::move(bus))
    , path_(std::move(path))
{
    qDBusRegisterMetaType<DBusMenuLayout>();
    qDBusRegisterMetaType<DBusMenuProperties>();
    qDBusRegisterMetaType<QList<DBusMenuProperties>>();
    bus_.registerObject(path_, this,
                        QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals |
                            QDBusConnection::ExportAllProperties);
}

DBusMenuExport::~DBusMenuExport() { bus_.unregisterObject(path_); }

void DBusMenuExport::SetMenu(QMenu* menu)
{
    if (menu == menu_)
        return;
    if (menu_)
        menu_->removeEventFilter(this);
    menu_ = menu;
    if (menu_)
        menu_->installEventFilter(this);
    Changed();
}

bool DBusMenuExport::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionChanged:
    case QEvent::ActionRemoved:
        Changed();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenuExport::Changed()
{
    ++revision_;
    emit LayoutUpdated(revision_, RootId);
}

QList<QAction*> DBusMenuExport::Entries() const { return menu_ ? menu_->actions() : QList<QAction*>{}; }

QVariantMap DBusMenuExport::EntryProperties(int id) const
{
    if (id == RootId)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    const QList<QAction*> entries = Entries();
    return id > 0 && id <= entries.size() ? ActionProperties(*entries[id - 1]) : QVariantMap{};
}

uint DBusMenuExport::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                               DBusMenuLayout& layout) const
{
    layout = {parentId, Only(EntryProperties(parentId), propertyNames), {}};
    if (parentId == RootId && recursionDepth != 0) {
        const qsizetype count = Entries().size();
        for (int id = 1; id <= count; ++id) {
            const DBusMenuLayout entry{id, Only(EntryProperties(id), propertyNames), {}};
            layout.children << QDBusVariant(QVariant::fromValue(entry));
        }
    }
    return revision_;
}

QList<DBusMenuProperties> DBusMenuExport::GetGroupProperties(const QList<int>& ids,
                                                             const QStringList& propertyNames) const
{
    QList<DBusMenuProperties> group;
    for (const int id : ids)
        group << DBusMenuProperties{id, Only(EntryProperties(id), propertyNames)};
    return group;
}

QDBusVariant DBusMenuExport::GetProperty(int id, const QString& name) const
{
    return QDBusVariant(EntryProperties(id).value(name));
}

void DBusMenuExport::Event(int id, const QString& eventId, const QDBusVariant&, uint)
{
    const QList<QAction*> entries = Entries();
    if (eventId != QLatin1String("clicked") || id < 1 || id > entries.size())
        return;
    // After the reply: the action may open a modal box, whose event loop
    // would otherwise hold the host's call until the box closes.
    QTimer::singleShot(0, entries[id - 1], &QAction::trigger);
}

bool DBusMenuExport::AboutToShow(int) const { return false; }

} // namespace platform
