#pragma once
// A popup menu published on D-Bus in the menu protocol that StatusNotifierItem
// hosts read (com.canonical.dbusmenu), so that the host can show the menu
// itself. The entries are the menu's actions, flat, with ids 1, 2, ... in
// their order; choosing one in the host triggers the action, as a click in
// the menu would.

#include <QDBusConnection>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QAction;
class QMenu;

namespace platform {

// One entry and its children on the wire: (ia{sv}av).
struct DBusMenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<QDBusVariant> children;
};

// One entry's properties on the wire: (ia{sv}).
struct DBusMenuProperties {
    int id = 0;
    QVariantMap properties;
};

class DBusMenuExport final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version)
    Q_PROPERTY(QString TextDirection READ TextDirection)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(QStringList IconThemePath READ IconThemePath)

public:
    // Publishes an empty menu at `path` on `bus` until destroyed.
    DBusMenuExport(QDBusConnection bus, QString path);
    ~DBusMenuExport() override;
    DBusMenuExport(const DBusMenuExport&) = delete;
    DBusMenuExport& operator=(const DBusMenuExport&) = delete;

    // The menu to publish (nullptr for none); hosts are told of each change.
    void SetMenu(QMenu* menu);
    QString Path() const { return path_; }

    uint Version() const { return 3; }
    QString TextDirection() const { return QStringLiteral("ltr"); }
    QString Status() const { return QStringLiteral("normal"); }
    QStringList IconThemePath() const { return {}; }

public slots:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                platform::DBusMenuLayout& layout) const;
    Q_SCRIPTABLE QList<platform::DBusMenuProperties> GetGroupProperties(const QList<int>& ids,
                                                                        const QStringList& propertyNames) const;
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString& name) const;
    Q_SCRIPTABLE void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    Q_SCRIPTABLE bool AboutToShow(int id) const;

signals:
    Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> Entries() const;
    QVariantMap EntryProperties(int id) const;
    void Changed();

    QDBusConnection bus_;
    QString path_;
    QPointer<QMenu> menu_;
    uint revision_ = 1;
};

} // namespace platform

Q_DECLARE_METATYPE(platform::DBusMenuLayout)
Q_DECLARE_METATYPE(platform::DBusMenuProperties)
