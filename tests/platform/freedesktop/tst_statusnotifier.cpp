#include "ui/Pictures.h"
#include "ui/platform/freedesktop/QtTrayIcon.h"
#include "ui/platform/freedesktop/StatusNotifierItem.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QtTest>

namespace
{

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString watcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString registerItem = QStringLiteral("RegisterStatusNotifierItem");
const QString getProperty = QStringLiteral("Get");

// A StatusNotifierWatcher that the test runs on the window's own thread, as a panel that takes
// its time would: it answers the calls it receives at once or when the test says so, or never.
class ScriptedWatcher : public QDBusVirtualObject
{
public:
    enum class Answer { AtOnce, Late, Withheld };

    explicit ScriptedWatcher(QDBusConnection bus) : m_bus(bus)
    {
        m_bus.registerVirtualObject(watcherPath, this);
        take();
    }
    ~ScriptedWatcher() override
    {
        m_bus.unregisterObject(watcherPath);
        m_bus.unregisterService(watcherService);
    }

    Answer answer = Answer::AtOnce;
    // How late a late answer comes.
    int lateMs = 0;
    bool hostRegistered = true;
    QList<QDBusMessage> received;
    QList<QDBusMessage> withheld;

    void take() { m_bus.registerService(watcherService); }
    void drop() { m_bus.unregisterService(watcherService); }
    qsizetype count(const QString &member) const
    {
        return std::count_if(received.cbegin(), received.cend(),
                             [&](const QDBusMessage &call) { return call.member() == member; });
    }
    void answerWithheld()
    {
        const QList<QDBusMessage> calls = std::exchange(withheld, {});
        for (const QDBusMessage &call : calls)
            reply(call);
    }
    void signalHosts() const
    {
        m_bus.send(QDBusMessage::createSignal(watcherPath, watcherInterface,
                                              QStringLiteral("StatusNotifierHostRegistered")));
    }

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &call, const QDBusConnection &) override
    {
        received << call;
        if (answer == Answer::AtOnce)
            reply(call);
        else if (answer == Answer::Late)
            QTimer::singleShot(lateMs, this, [this, call] { reply(call); });
        else
            withheld << call;
        return true;
    }

private:
    void reply(const QDBusMessage &call)
    {
        if (call.member() == getProperty)
            m_bus.send(call.createReply(QVariant::fromValue(QDBusVariant(hostRegistered))));
        else
            m_bus.send(call.createReply());
    }

    QDBusConnection m_bus;
};

} // namespace

// The tray item's questions to the StatusNotifierWatcher never hold the window's thread: a panel
// that is slow, or hangs, or keeps signalling, must not freeze the program.
class StatusNotifierTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void theItemIsShownByAWatcherThatAnswersLate();
    void triggersThatComeWhileAQuestionIsOpenAreAskedOnceMore_data();
    void triggersThatComeWhileAQuestionIsOpenAreAskedOnceMore();
    void theTrayFollowsTheWatchersAnswer_data();
    void theTrayFollowsTheWatchersAnswer();
};

void StatusNotifierTest::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("No session bus: ctest runs this test under dbus-run-session.");
    QVERIFY2(!QDBusConnection::sessionBus().interface()->isServiceRegistered(watcherService),
             "the session bus is the test's own, without a panel's watcher");
}

void StatusNotifierTest::theItemIsShownByAWatcherThatAnswersLate()
{
    ScriptedWatcher watcher(QDBusConnection::sessionBus());
    watcher.answer = ScriptedWatcher::Answer::Withheld;
    StatusNotifierItem item(QStringLiteral("Quillbox"));
    QSignalSpy shown(&item, &StatusNotifierItem::shownChanged);
    item.show();
    // The watcher lives on this thread: it hears the call only once show() has returned.
    QTRY_COMPARE(watcher.count(registerItem), 1);
    QVERIFY(!item.isShown());
    watcher.answer = ScriptedWatcher::Answer::AtOnce;
    watcher.answerWithheld();
    QTRY_VERIFY(item.isShown());
    QCOMPARE(shown.count(), 1);
    QCOMPARE(watcher.count(getProperty), 1);
}

void StatusNotifierTest::triggersThatComeWhileAQuestionIsOpenAreAskedOnceMore_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("openQuestion");
    QTest::newRow("five host signals while the watcher is asked about its hosts")
        << QStringLiteral("host signal") << getProperty;
    QTest::newRow("the watcher's name changing hands three times while the item registers")
        << QStringLiteral("new owner") << registerItem;
}

void StatusNotifierTest::triggersThatComeWhileAQuestionIsOpenAreAskedOnceMore()
{
    QFETCH(QString, trigger);
    QFETCH(QString, openQuestion);
    ScriptedWatcher watcher(QDBusConnection::sessionBus());
    watcher.answer = openQuestion == registerItem ? ScriptedWatcher::Answer::Withheld
                                                  : ScriptedWatcher::Answer::AtOnce;
    StatusNotifierItem item(QStringLiteral("Quillbox"));
    item.show();
    if (openQuestion == getProperty) {
        QTRY_VERIFY(item.isShown());
        watcher.answer = ScriptedWatcher::Answer::Withheld;
        watcher.signalHosts();
    }
    QTRY_COMPARE(watcher.withheld.size(), 1);
    const qsizetype before = watcher.count(openQuestion);
    const int times = trigger == QStringLiteral("host signal") ? 5 : 3;
    for (int i = 0; i < times; ++i) {
        if (trigger == QStringLiteral("host signal")) {
            watcher.signalHosts();
        } else {
            watcher.drop();
            watcher.take();
        }
    }
    QTest::qWait(200);
    QCOMPARE(watcher.count(openQuestion), before);
    watcher.answer = ScriptedWatcher::Answer::AtOnce;
    watcher.answerWithheld();
    QTRY_COMPARE(watcher.count(openQuestion), before + 1);
    QTRY_VERIFY(item.isShown());
    QTest::qWait(200);
    QCOMPARE(watcher.count(openQuestion), before + 1);
}

void StatusNotifierTest::theTrayFollowsTheWatchersAnswer_data()
{
    QTest::addColumn<int>("answerMs");
    QTest::addColumn<bool>("hostRegistered");
    QTest::addColumn<bool>("available");
    QTest::newRow("a watcher that a panel serves holds the icon") << 0 << true << true;
    // Registering and asking for the host each take most of their time limit.
    QTest::newRow("a watcher that a panel serves holds the icon, though it takes 1.6 s an answer")
        << 1600 << true << true;
    QTest::newRow("a watcher that no panel serves leaves the window to the task bar")
        << 0 << false << false;
    QTest::newRow("a watcher that never answers leaves the window to the task bar")
        << -1 << true << false;
}

void StatusNotifierTest::theTrayFollowsTheWatchersAnswer()
{
    QFETCH(int, answerMs);
    QFETCH(bool, hostRegistered);
    QFETCH(bool, available);
    ScriptedWatcher watcher(QDBusConnection::sessionBus());
    watcher.answer = answerMs < 0    ? ScriptedWatcher::Answer::Withheld
                     : answerMs == 0 ? ScriptedWatcher::Answer::AtOnce
                                     : ScriptedWatcher::Answer::Late;
    watcher.lateMs = answerMs;
    watcher.hostRegistered = hostRegistered;
    QtTrayIcon tray;
    QSignalSpy changes(&tray, &TrayIcon::availabilityChanged);
    tray.add(Pictures::windowIcon(), QStringLiteral("Quillbox"), nullptr);
    // While the watcher is asked, its panel is taken to be there: the window stays hidden at
    // start-up, and comes with a task-bar button only if the answer says otherwise.
    QVERIFY(tray.isAvailable());
    if (available) {
        QTRY_COMPARE_WITH_TIMEOUT(watcher.count(getProperty), 1, 5000);
        QTest::qWait(answerMs + 200);
        QCOMPARE(changes.count(), 0);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(changes.count(), 1, 8000);
        QCOMPARE(changes.constFirst().constFirst().toBool(), false);
    }
    QCOMPARE(tray.isAvailable(), available);
}

QTEST_MAIN(StatusNotifierTest)
#include "tst_statusnotifier.moc"
