#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/Desktop.h"
#include "ui/platform/TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

namespace
{

bool onTop(const QWidget &window)
{
    return window.windowFlags() & Qt::WindowStaysOnTopHint;
}

// A help system that notes whether the main window was on top when it was asked.
class RecordingHelp : public HelpViewer
{
public:
    std::function<void()> whenShown;
    QStringList opened;
    void showContents(const QString &helpFile, QWidget *) override
    {
        opened << helpFile;
        whenShown();
    }
};

// Calls back when the watched window is shown.
class ShowWatch : public QObject
{
public:
    explicit ShowWatch(std::function<void()> whenShown) : m_whenShown(std::move(whenShown)) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_whenShown();
        return false;
    }

private:
    std::function<void()> m_whenShown;
};

} // namespace

class TrayTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void reactionTable_data();
    void reactionTable();
    void theTrayMenuFollowsTheReadingState_data();
    void theTrayMenuFollowsTheReadingState();
    void thePointerOverTheWindowIsNoTrayMessage();
    void theTrayMenuOpensWhereTheTraySays();
    void aLeftReleaseRestoresAMinimizedWindow();
    void theTrayShowsTheWindowActivated();
    void theWindowFollowsTheTray_data();
    void theWindowFollowsTheTray();
    void setTopmost_data();
    void setTopmost();
    void boxesOpenOutOfTheTopmostLayer_data();
    void boxesOpenOutOfTheTopmostLayer();

private:
    std::unique_ptr<TestPlatform> desktop;
    RecordingHelp help;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<frmClip> window;
};

void TrayTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    help.opened.clear();
    help.whenShown = [] {};
    platform = std::make_unique<Platform>(
        Platform{desktop->dialogs, desktop->clipboard, desktop->tray, help, desktop->process,
                 [this] { return desktop->screen; }, desktop->folder.path()});
    window = std::make_unique<frmClip>(desktop->state, *platform);
    window->Form_Load();
}

void TrayTest::cleanup()
{
    window->pop2->hide();
    window.reset();
    platform.reset();
    desktop.reset();
}

void TrayTest::reactionTable_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<bool>("visibleBefore");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("menu");
    QTest::newRow("a left release shows the hidden window on top")
        << TrayMessage::LeftButtonUp << false << true << false;
    QTest::newRow("a left release leaves a visible window where it is in the stack")
        << TrayMessage::LeftButtonUp << true << true << false;
    QTest::newRow("a pointer move over the icon does nothing")
        << TrayMessage::MouseMove << false << false << false;
    QTest::newRow("a left press does nothing")
        << TrayMessage::LeftButtonDown << false << false << false;
    QTest::newRow("a double click does nothing of its own")
        << TrayMessage::LeftDoubleClick << false << false << false;
    QTest::newRow("a right press does nothing")
        << TrayMessage::RightButtonDown << false << false << false;
    QTest::newRow("a right release opens the tray menu")
        << TrayMessage::RightButtonUp << false << false << true;
    QTest::newRow("any other number does nothing") << 518 << false << false << false;
}

void TrayTest::reactionTable()
{
    QFETCH(int, message);
    QFETCH(bool, visibleBefore);
    QFETCH(bool, shown);
    QFETCH(bool, menu);
    window->SetTopmost(0);
    window->setVisible(visibleBefore);
    desktop->tray.click(message);
    QCOMPARE(window->isVisible(), shown || visibleBefore);
    QCOMPARE(onTop(*window), shown && !visibleBefore);
    QCOMPARE(window->pop2->isVisible(), menu);
}

void TrayTest::theTrayMenuFollowsTheReadingState_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("first");
    QTest::newRow("reading off offers to start") << false << QStringLiteral("読込み開始");
    QTest::newRow("reading on offers to stop") << true << QStringLiteral("読込み終了");
}

void TrayTest::theTrayMenuFollowsTheReadingState()
{
    QFETCH(bool, reading);
    QFETCH(QString, first);
    if (reading)
        window->cmdStart_Click();
    desktop->tray.click(TrayMessage::RightButtonUp);
    QVERIFY(window->pop2->isVisible());
    const QList<QAction *> items = window->pop2->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.first()->text(), first);
    QVERIFY(items.at(1)->isSeparator());
    QCOMPARE(items.last()->text(), QStringLiteral("常駐終了"));
}

void TrayTest::thePointerOverTheWindowIsNoTrayMessage()
{
    window->resize(700, 400);
    const QPoint at(TrayMessage::RightButtonUp, 100);
    QTest::mouseMove(window->client, at);
    QTest::mouseClick(window->client, Qt::RightButton, {}, at);
    QTest::mouseClick(window->client, Qt::LeftButton, {}, QPoint(TrayMessage::LeftButtonUp, 100));
    QVERIFY(!window->pop2->isVisible());
}

void TrayTest::theTrayMenuOpensWhereTheTraySays()
{
    desktop->tray.click(TrayMessage::RightButtonUp, QPoint(120, 90));
    QVERIFY(window->pop2->isVisible());
    QCOMPARE(window->pop2->pos(), QPoint(120, 90));
}

void TrayTest::aLeftReleaseRestoresAMinimizedWindow()
{
    window->showMinimized();
    QVERIFY(window->isMinimized());
    desktop->tray.click(TrayMessage::LeftButtonDown);
    desktop->tray.click(TrayMessage::LeftButtonUp);
    QVERIFY(window->isVisible());
    QVERIFY2(!window->isMinimized(), "a minimized window has no other way back");
}

void TrayTest::theTrayShowsTheWindowActivated()
{
    // SetTopmost never activates the window, also where its native window is made anew later
    // (Qt takes the attribute over then, as on a change of the window's type); the tray, which
    // the user clicked, always does.
    window->SetTopmost(0);
    window->hide();
    window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    QList<bool> withoutActivating;
    ShowWatch watch([&] {
        withoutActivating << window->windowHandle()->property("_q_showWithoutActivating").toBool();
    });
    window->installEventFilter(&watch);
    desktop->tray.click(TrayMessage::LeftButtonUp);
    QCOMPARE(withoutActivating, QList<bool>{false});

    window->hide();
    window->SetTopmost(0);
    QCOMPARE(withoutActivating, (QList<bool>{false, true}));
}

void TrayTest::theWindowFollowsTheTray_data()
{
    QTest::addColumn<bool>("trayAtStart");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("button");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("minimized");
    QTest::newRow("a tray that goes shows the hidden window with a task-bar button")
        << true << false << QStringLiteral("tray goes") << true << true << false;
    QTest::newRow("a tray that comes takes the task-bar button and leaves the window shown")
        << false << true << QStringLiteral("tray comes") << false << true << false;
    QTest::newRow("closing after the tray went minimizes into the task bar")
        << true << true << QStringLiteral("tray gone unannounced, close") << true << true << true;
    QTest::newRow("closing after the tray came hides into the tray")
        << false << true << QStringLiteral("tray comes, close") << false << false << false;
}

void TrayTest::theWindowFollowsTheTray()
{
    QFETCH(bool, trayAtStart);
    QFETCH(bool, shownBefore);
    QFETCH(QString, change);
    QFETCH(bool, button);
    QFETCH(bool, visible);
    QFETCH(bool, minimized);
    cleanup();
    desktop = std::make_unique<TestPlatform>();
    desktop->tray.available = trayAtStart;
    platform = std::make_unique<Platform>(desktop->platform);
    window = std::make_unique<frmClip>(desktop->state, *platform);
    window->Form_Load();
    QCOMPARE(hasTaskBarButton(*window), !trayAtStart);
    window->setVisible(shownBefore);

    if (change.startsWith(QStringLiteral("tray goes")))
        desktop->tray.setAvailable(false);
    else if (change.startsWith(QStringLiteral("tray comes")))
        desktop->tray.setAvailable(true);
    else
        desktop->tray.available = false;
    if (change.endsWith(QStringLiteral("close")))
        window->mnuClose->trigger();

    QCOMPARE(hasTaskBarButton(*window), button);
    QCOMPARE(window->isVisible(), visible);
    QCOMPARE(window->isMinimized(), minimized);
}

void TrayTest::setTopmost_data()
{
    QTest::addColumn<float>("flag");
    QTest::addColumn<bool>("topmost");
    QTest::addColumn<bool>("hiddenBefore");
    QTest::newRow("-1 is topmost") << -1.0f << true << false;
    QTest::newRow("-1 shows a hidden window on top") << -1.0f << true << true;
    QTest::newRow("0 is the normal layer") << 0.0f << false << false;
    QTest::newRow("0 shows a hidden window too") << 0.0f << false << true;
    QTest::newRow("a hand-written 1 is the normal layer") << 1.0f << false << false;
    QTest::newRow("-2 is the normal layer") << -2.0f << false << false;
    QTest::newRow("-0.5 is the normal layer") << -0.5f << false << false;
}

void TrayTest::setTopmost()
{
    QFETCH(float, flag);
    QFETCH(bool, topmost);
    QFETCH(bool, hiddenBefore);
    window->move(123, 77);
    window->SetTopmost(topmost ? 0.0f : -1.0f);
    if (hiddenBefore)
        window->hide();
    const QPoint place = window->pos();
    window->SetTopmost(flag);
    QCOMPARE(onTop(*window), topmost);
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), place);
    QVERIFY2(window->testAttribute(Qt::WA_ShowWithoutActivating), "the window is not activated");
}

void TrayTest::boxesOpenOutOfTheTopmostLayer_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<float>("option");
    QTest::newRow("the about box, always on top") << QStringLiteral("about") << -1.0f;
    QTest::newRow("the about box, normal layer") << QStringLiteral("about") << 0.0f;
    QTest::newRow("the help viewer, always on top") << QStringLiteral("help") << -1.0f;
    QTest::newRow("the help viewer, normal layer") << QStringLiteral("help") << 0.0f;
    QTest::newRow("the close question, always on top") << QStringLiteral("close") << -1.0f;
    QTest::newRow("the close question, normal layer") << QStringLiteral("close") << 0.0f;
}

void TrayTest::boxesOpenOutOfTheTopmostLayer()
{
    QFETCH(QString, box);
    QFETCH(float, option);
    desktop->state.Settings[7] = option;
    desktop->state.HelpFilePath = desktop->folder.filePath(QStringLiteral("Quillbox.HLP"));
    window->SetTopmost(option);
    QList<bool> onTopWhileOpen;
    desktop->dialogs.whileOpen = [&](const ScriptedDialogs::Asked &) {
        onTopWhileOpen << (onTop(*window) || !window->isVisible());
    };
    help.whenShown = [&] { onTopWhileOpen << (onTop(*window) || !window->isVisible()); };
    desktop->dialogs.nextResults = {MsgBoxResult::No};
    if (box == QStringLiteral("about"))
        window->mnuVer->trigger();
    else if (box == QStringLiteral("help"))
        window->mnuHelp->trigger();
    else
        window->close();
    QCOMPARE(onTopWhileOpen, QList<bool>{false});
    QCOMPARE(onTop(*window), option == -1);
    if (box == QStringLiteral("help"))
        QCOMPARE(help.opened, QStringList{desktop->state.HelpFilePath});
}

QTEST_MAIN(TrayTest)
#include "tst_tray.moc"
