#pragma once

#include "ui/platform/freedesktop/DBusTrayTypes.h"

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

// Offers a menu to panels that draw a tray item's menu themselves (com.canonical.dbusmenu): its
// entries with their captions, check marks and enabled states, and a click on an entry triggers
// its action. The menu's entries are fixed; their captions and states may change, and the panel
// is told when they do.
class DBusMenuExporter : public QObject
{
    Q_OBJECT
public:
    explicit DBusMenuExporter(QMenu *menu, QObject *parent = nullptr);

    uint revision() const { return m_revision; }
    // The entry with this id (0 is the menu itself) and, to the given depth (-1: all), its
    // children; only the named properties, or all of them when none is named.
    DBusMenuLayoutItem layout(int id, int depth, const QStringList &names) const;
    bool hasEntry(int id) const;
    QVariantMap properties(int id, const QStringList &names) const;
    // A "clicked" event triggers the entry's action once the panel's call has been answered;
    // other events change nothing. False for an id the menu does not have.
    bool handleEvent(int id, const QString &eventId);

Q_SIGNALS:
    void layoutUpdated(uint revision, int parent);

private:
    QAction *actionOf(int id) const;

    QPointer<QMenu> m_menu;
    uint m_revision = 1;
};

class DBusMenuAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
public:
    explicit DBusMenuAdaptor(DBusMenuExporter *exporter);

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                   DBusMenuLayoutItem &layout);
    DBusMenuItemPropertiesList GetGroupProperties(const QList<int> &ids,
                                                  const QStringList &propertyNames);
    QDBusVariant GetProperty(int id, const QString &name);
    void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
    QList<int> EventGroup(const DBusMenuEventList &events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

Q_SIGNALS:
    void LayoutUpdated(uint revision, int parent);

private:
    DBusMenuExporter *m_exporter;
};
