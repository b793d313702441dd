#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QVariantMap>

class QIcon;

// The structures that a StatusNotifierItem and its exported menu (com.canonical.dbusmenu) carry
// over D-Bus, with their marshalling. registerDBusTrayTypes() must run before any is sent.

// One image of the item's icon: width, height, and ARGB32 pixels in network byte order (a(iiay)).
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;
};
using SniPixmaps = QList<SniPixmap>;

// The item's tool tip: icon name, icon images, title and description ((sa(iiay)ss)).
struct SniToolTip {
    QString iconName;
    SniPixmaps pixmaps;
    QString title;
    QString description;
};

// A menu entry with its properties and, recursively, its children ((ia{sv}av)).
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// A menu entry's properties alone ((ia{sv})).
struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};
using DBusMenuItemPropertiesList = QList<DBusMenuItemProperties>;

// One event of a batch sent to the menu ((isvu)).
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

Q_DECLARE_METATYPE(SniPixmap)
Q_DECLARE_METATYPE(SniToolTip)
Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuItemProperties)
Q_DECLARE_METATYPE(DBusMenuEvent)

QDBusArgument &operator<<(QDBusArgument &argument, const SniPixmap &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argument, SniPixmap &pixmap);
QDBusArgument &operator<<(QDBusArgument &argument, const SniToolTip &tip);
const QDBusArgument &operator>>(const QDBusArgument &argument, SniToolTip &tip);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuLayoutItem &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuLayoutItem &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemProperties &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemProperties &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuEvent &event);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuEvent &event);

void registerDBusTrayTypes();

// The icon's images at the sizes panels draw, as a StatusNotifierItem sends them.
SniPixmaps sniPixmaps(const QIcon &icon);
