#include "ui/platform/freedesktop/DBusMenuExporter.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

// The tray menu as panels that draw it themselves receive it (com.canonical.dbusmenu).
class DBusMenuTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entriesCarryTheirCaptionsAndStates_data();
    void entriesCarryTheirCaptionsAndStates();
    void theLayoutIsTheMenu();
    void events_data();
    void events();
};

void DBusMenuTest::entriesCarryTheirCaptionsAndStates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("label");
    QTest::newRow("a plain caption stays as it is")
        << QStringLiteral("読込み開始") << true << -1 << QStringLiteral("読込み開始");
    QTest::newRow("an ampersand's mnemonic becomes an underscore's")
        << QStringLiteral("画面を閉じる(&C)") << true << -1 << QStringLiteral("画面を閉じる(_C)");
    QTest::newRow("a doubled ampersand is one literal ampersand")
        << QStringLiteral("A && B") << true << -1 << QStringLiteral("A & B");
    QTest::newRow("a literal underscore is doubled")
        << QStringLiteral("a_b") << true << -1 << QStringLiteral("a__b");
    QTest::newRow("a disabled, unchecked option says both")
        << QStringLiteral("x") << false << 0 << QStringLiteral("x");
    QTest::newRow("a checked option carries its check mark")
        << QStringLiteral("常に手前に表示") << true << 1 << QStringLiteral("常に手前に表示");
}

void DBusMenuTest::entriesCarryTheirCaptionsAndStates()
{
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    QFETCH(int, checked);
    QFETCH(QString, label);
    QMenu menu;
    QAction *action = menu.addAction(text);
    action->setEnabled(enabled);
    action->setCheckable(checked >= 0);
    action->setChecked(checked == 1);
    const DBusMenuExporter exporter(&menu);
    const QVariantMap properties = exporter.properties(1, {});
    QCOMPARE(properties.value(QStringLiteral("label")).toString(), label);
    QCOMPARE(properties.value(QStringLiteral("enabled")).toBool(), enabled);
    QCOMPARE(properties.contains(QStringLiteral("toggle-type")), checked >= 0);
    if (checked >= 0)
        QCOMPARE(properties.value(QStringLiteral("toggle-state")).toInt(), checked);
}

void DBusMenuTest::theLayoutIsTheMenu()
{
    QMenu menu;
    menu.addAction(QStringLiteral("読込み開始"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("常駐終了"));
    const DBusMenuExporter exporter(&menu);

    const DBusMenuLayoutItem all = exporter.layout(0, -1, {});
    QCOMPARE(all.properties.value(QStringLiteral("children-display")).toString(),
             QStringLiteral("submenu"));
    QCOMPARE(all.children.size(), 3);
    QCOMPARE(all.children.at(0).id, 1);
    QCOMPARE(all.children.at(1).properties.value(QStringLiteral("type")).toString(),
             QStringLiteral("separator"));
    QCOMPARE(all.children.at(2).properties.value(QStringLiteral("label")).toString(),
             QStringLiteral("常駐終了"));

    QVERIFY2(exporter.layout(0, 0, {}).children.isEmpty(), "depth 0 is the menu alone");
    const DBusMenuLayoutItem labels = exporter.layout(0, -1, {QStringLiteral("label")});
    QCOMPARE(labels.children.at(0).properties.keys(), QStringList{QStringLiteral("label")});
    QVERIFY(!exporter.hasEntry(4));
}

void DBusMenuTest::events_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("triggered");
    QTest::newRow("a click triggers the entry")
        << 1 << QStringLiteral("clicked") << true << true << 1;
    QTest::newRow("hovering triggers nothing")
        << 1 << QStringLiteral("hovered") << true << true << 0;
    QTest::newRow("a click on a disabled entry triggers nothing")
        << 1 << QStringLiteral("clicked") << false << true << 0;
    QTest::newRow("an id the menu does not have is refused")
        << 7 << QStringLiteral("clicked") << true << false << 0;
}

void DBusMenuTest::events()
{
    QFETCH(int, id);
    QFETCH(QString, event);
    QFETCH(bool, enabled);
    QFETCH(bool, known);
    QFETCH(int, triggered);
    QMenu menu;
    QAction *action = menu.addAction(QStringLiteral("常駐終了"));
    action->setEnabled(enabled);
    DBusMenuExporter exporter(&menu);
    QSignalSpy spy(action, &QAction::triggered);
    QCOMPARE(exporter.handleEvent(id, event), known);
    QCOMPARE(spy.size(), 0); // the panel's call is answered first: the action may end the program
    QTest::qWait(20);
    QCOMPARE(spy.size(), triggered);
}

QTEST_MAIN(DBusMenuTest)
#include "tst_dbusmenu.moc"
