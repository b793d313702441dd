#include "ui/Pictures.h"
#include "ui/platform/freedesktop/QtTrayIcon.h"

#include <QCursor>
#include <QSignalSpy>
#include <QtTest>

class RealTrayTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void activationsBecomeMouseMessages_data();
    void activationsBecomeMouseMessages();
    void theIconShowsInTheDesktopsTray();
};

void RealTrayTest::activationsBecomeMouseMessages_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<QList<int>>("messages");
    QTest::newRow("a left click presses and releases the left button")
        << int(QSystemTrayIcon::Trigger)
        << QList<int>{TrayMessage::LeftButtonDown, TrayMessage::LeftButtonUp};
    QTest::newRow("a double click ends in a second release")
        << int(QSystemTrayIcon::DoubleClick)
        << QList<int>{TrayMessage::LeftDoubleClick, TrayMessage::LeftButtonUp};
    QTest::newRow("a right click presses and releases the right button")
        << int(QSystemTrayIcon::Context)
        << QList<int>{TrayMessage::RightButtonDown, TrayMessage::RightButtonUp};
    QTest::newRow("a middle click has no number")
        << int(QSystemTrayIcon::MiddleClick) << QList<int>{};
}

void RealTrayTest::activationsBecomeMouseMessages()
{
    QFETCH(int, reason);
    QFETCH(QList<int>, messages);
    QtTrayIcon tray;
    tray.add(Pictures::windowIcon(), QStringLiteral("Quillbox"), nullptr);
    auto *icon = tray.findChild<QSystemTrayIcon *>();
    if (!icon)
        QSKIP("A StatusNotifierWatcher runs on this session bus, so the icon is a "
              "StatusNotifierItem: tests/e2e/statusnotifier.sh checks that one.");
    QSignalSpy spy(&tray, &TrayIcon::mouseMessage);
    Q_EMIT icon->activated(QSystemTrayIcon::ActivationReason(reason));
    QList<int> received;
    for (const QList<QVariant> &signal : std::as_const(spy))
        received << signal.first().toInt();
    QCOMPARE(received, messages);
    QCOMPARE(tray.messagePosition(), QCursor::pos());
}

void RealTrayTest::theIconShowsInTheDesktopsTray()
{
    QtTrayIcon tray;
    tray.add(Pictures::windowIcon(), QStringLiteral("Quillbox"), nullptr);
    auto *icon = tray.findChild<QSystemTrayIcon *>();
    if (!tray.isAvailable() || !icon)
        QSKIP("This desktop has no XEmbed tray (offscreen, or X without a tray host, or a "
              "StatusNotifierWatcher takes the icon): run it under X with a tray such as trayer "
              "to check the real icon.");
    QVERIFY(icon->isVisible());
    QCOMPARE(icon->toolTip(), QStringLiteral("Quillbox"));
    QVERIFY(!icon->icon().isNull());
    QTRY_VERIFY2(!icon->geometry().isEmpty(), "the tray host takes the icon in");
    tray.remove();
    QVERIFY(!icon->isVisible());
}

QTEST_MAIN(RealTrayTest)
#include "tst_realtray.moc"
