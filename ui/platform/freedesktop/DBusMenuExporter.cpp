#include "ui/platform/freedesktop/DBusMenuExporter.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

namespace
{

// dbusmenu marks a mnemonic with "_" where Qt uses "&", and doubles a literal "_".
QString dbusMenuLabel(const QString &text)
{
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'_') {
            label += QStringLiteral("__");
        } else if (c == u'&') {
            if (i + 1 < text.size() && text.at(i + 1) == u'&')
                label += text.at(++i);
            else
                label += u'_';
        } else {
            label += c;
        }
    }
    return label;
}

QVariantMap entryProperties(const QAction *action)
{
    QVariantMap properties;
    if (action->isSeparator()) {
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        properties.insert(QStringLiteral("label"), dbusMenuLabel(action->text()));
        properties.insert(QStringLiteral("enabled"), action->isEnabled());
        if (action->isCheckable()) {
            properties.insert(QStringLiteral("toggle-type"), action->actionGroup()
                                                                 ? QStringLiteral("radio")
                                                                 : QStringLiteral("checkmark"));
            properties.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
        }
    }
    properties.insert(QStringLiteral("visible"), action->isVisible());
    return properties;
}

QVariantMap only(const QVariantMap &properties, const QStringList &names)
{
    if (names.isEmpty())
        return properties;
    QVariantMap kept;
    for (const QString &name : names) {
        if (properties.contains(name))
            kept.insert(name, properties.value(name));
    }
    return kept;
}

} // namespace

DBusMenuExporter::DBusMenuExporter(QMenu *menu, QObject *parent) : QObject(parent), m_menu(menu)
{
    for (QAction *action : menu->actions()) {
        connect(action, &QAction::changed, this, [this] {
            ++m_revision;
            Q_EMIT layoutUpdated(m_revision, 0);
        });
    }
}

QAction *DBusMenuExporter::actionOf(int id) const
{
    if (!m_menu || id < 1 || id > m_menu->actions().size())
        return nullptr;
    return m_menu->actions().at(id - 1);
}

bool DBusMenuExporter::hasEntry(int id) const
{
    return id == 0 || actionOf(id);
}

QVariantMap DBusMenuExporter::properties(int id, const QStringList &names) const
{
    if (id == 0)
        return only({{QStringLiteral("children-display"), QStringLiteral("submenu")}}, names);
    const QAction *action = actionOf(id);
    return action ? only(entryProperties(action), names) : QVariantMap();
}

DBusMenuLayoutItem DBusMenuExporter::layout(int id, int depth, const QStringList &names) const
{
    DBusMenuLayoutItem item{id, properties(id, names), {}};
    if (id != 0 || depth == 0 || !m_menu)
        return item;
    for (int child = 1; child <= m_menu->actions().size(); ++child)
        item.children << layout(child, depth - 1, names);
    return item;
}

bool DBusMenuExporter::handleEvent(int id, const QString &eventId)
{
    if (!hasEntry(id))
        return false;
    QAction *action = actionOf(id);
    if (action && eventId == QStringLiteral("clicked") && action->isEnabled()) {
        // After the reply: the action may end the program.
        QTimer::singleShot(0, action, &QAction::trigger);
    }
    return true;
}

DBusMenuAdaptor::DBusMenuAdaptor(DBusMenuExporter *exporter)
    : QDBusAbstractAdaptor(exporter), m_exporter(exporter)
{
    connect(exporter, &DBusMenuExporter::layoutUpdated, this, &DBusMenuAdaptor::LayoutUpdated);
}

QString DBusMenuAdaptor::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                                DBusMenuLayoutItem &layout)
{
    layout = m_exporter->layout(parentId, recursionDepth, propertyNames);
    return m_exporter->revision();
}

DBusMenuItemPropertiesList DBusMenuAdaptor::GetGroupProperties(const QList<int> &ids,
                                                               const QStringList &propertyNames)
{
    DBusMenuItemPropertiesList list;
    for (int id : ids) {
        if (m_exporter->hasEntry(id))
            list << DBusMenuItemProperties{id, m_exporter->properties(id, propertyNames)};
    }
    return list;
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString &name)
{
    return QDBusVariant(m_exporter->properties(id, {name}).value(name));
}

void DBusMenuAdaptor::Event(int id, const QString &eventId, const QDBusVariant &, uint)
{
    m_exporter->handleEvent(id, eventId);
}

QList<int> DBusMenuAdaptor::EventGroup(const DBusMenuEventList &events)
{
    QList<int> idErrors;
    for (const DBusMenuEvent &event : events) {
        if (!m_exporter->handleEvent(event.id, event.eventId))
            idErrors << event.id;
    }
    return idErrors;
}

bool DBusMenuAdaptor::AboutToShow(int)
{
    // The layout the panel holds is always current: LayoutUpdated tells it of every change.
    return false;
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    for (int id : ids) {
        if (!m_exporter->hasEntry(id))
            idErrors << id;
    }
    return {};
}
