#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/platform/QtDialogs.h"
#include "ui/widgets/FileList.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class StartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void formLoadFixesFoldersAndShowsTheWindow();
    void theTrayIconIsAddedBeforeTheWindowIsShown();
    void readingIsOffAfterEveryStart();
    void closeBoxAnsweredYesEndsTheProgram();
    void closeBoxAnsweredNoHidesTheWindowAndKeepsTheTrayIcon();
    void closeBoxAsksOnceWithTheQuestionAndStyle();
    void otherCloseReasonsEndWithoutAQuestion_data();
    void otherCloseReasonsEndWithoutAQuestion();
    void endResidenceCommandsEndWithoutAQuestion_data();
    void endResidenceCommandsEndWithoutAQuestion();
    void closeTheScreenOnlyHides();
    void withoutATrayTheWindowGoesToTheTaskBar();
    void enterInTheRealCloseQuestionAnswersNo();

private:
    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
};

void StartupTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
}

void StartupTest::cleanup()
{
    window.reset();
    desktop.reset();
}

void StartupTest::formLoadFixesFoldersAndShowsTheWindow()
{
    window->Form_Load();
    const QString expected = withTrailingSeparator(desktop->folder.path());
    QCOMPARE(desktop->state.AppFolder, expected);
    QCOMPARE(desktop->state.FolderPath, expected);
    QVERIFY(window->isVisible());
    QCOMPARE(window->flbText->path(), desktop->state.FolderPath);
    QVERIFY(!window->hasEnded());
}

void StartupTest::theTrayIconIsAddedBeforeTheWindowIsShown()
{
    bool visibleWhenAdded = true;
    desktop->tray.whenAdded = [&] { visibleWhenAdded = window->isVisible(); };
    window->Form_Load();
    QCOMPARE(desktop->tray.calls, QStringList{QStringLiteral("add")});
    QCOMPARE(desktop->tray.tip, QStringLiteral("Quillbox"));
    QVERIFY(!visibleWhenAdded);
}

void StartupTest::readingIsOffAfterEveryStart()
{
    window->Reading = true;
    window->Form_Load();
    QVERIFY(!window->Reading);
    QVERIFY(!window->Timer1->isActive());
    QCOMPARE(window->mnuStart->text(), QStringLiteral("読込み開始"));
}

void StartupTest::closeBoxAnsweredYesEndsTheProgram()
{
    window->Form_Load();
    desktop->dialogs.nextResults = {MsgBoxResult::Yes};
    window->close();
    QCOMPARE(desktop->process.endCount, 1);
    QCOMPARE(desktop->tray.calls.last(), QStringLiteral("remove"));
}

void StartupTest::closeBoxAnsweredNoHidesTheWindowAndKeepsTheTrayIcon()
{
    window->Form_Load();
    window->cmdStart_Click();
    desktop->dialogs.nextResults = {MsgBoxResult::No};
    window->close();
    QCOMPARE(desktop->process.endCount, 0);
    QVERIFY(!window->isVisible());
    QVERIFY(desktop->tray.shown);
    QVERIFY2(window->Timer1->isActive(), "hiding the window must not stop a running capture");
}

void StartupTest::closeBoxAsksOnceWithTheQuestionAndStyle()
{
    window->Form_Load();
    desktop->dialogs.nextResults = {MsgBoxResult::No};
    int cancel = 0;
    window->Form_QueryUnload(cancel, 0);
    QCOMPARE(cancel, 1);
    QCOMPARE(desktop->dialogs.asked.size(), 1);
    const auto &asked = desktop->dialogs.asked.first();
    QCOMPARE(asked.text, QStringLiteral("常駐終了しますか？"));
    QCOMPARE(asked.title, QStringLiteral("Quillbox"));
    QCOMPARE(asked.style, 292);
}

void StartupTest::otherCloseReasonsEndWithoutAQuestion_data()
{
    QTest::addColumn<int>("reason");
    QTest::newRow("the program unloads the window") << 1;
    QTest::newRow("the session ends") << 2;
    QTest::newRow("a task manager ends the program") << 3;
    QTest::newRow("an owning window closes") << 4;
}

void StartupTest::otherCloseReasonsEndWithoutAQuestion()
{
    QFETCH(int, reason);
    window->Form_Load();
    window->Unload(reason);
    QVERIFY(desktop->dialogs.asked.isEmpty());
    QCOMPARE(desktop->process.endCount, 1);
    QVERIFY(!desktop->tray.shown);
}

void StartupTest::endResidenceCommandsEndWithoutAQuestion_data()
{
    QTest::addColumn<bool>("fromTray");
    QTest::addColumn<bool>("reading");
    QTest::newRow("file menu, reading off") << false << false;
    QTest::newRow("file menu, reading on") << false << true;
    QTest::newRow("tray menu, reading off") << true << false;
    QTest::newRow("tray menu, reading on") << true << true;
}

void StartupTest::endResidenceCommandsEndWithoutAQuestion()
{
    QFETCH(bool, fromTray);
    QFETCH(bool, reading);
    window->Form_Load();
    if (reading)
        window->cmdStart_Click();
    (fromTray ? window->mnuEnd2 : window->mnuEnd)->trigger();
    QVERIFY(desktop->dialogs.asked.isEmpty());
    QCOMPARE(desktop->process.endCount, 1);
    QCOMPARE(desktop->tray.calls.last(), QStringLiteral("remove"));
}

void StartupTest::closeTheScreenOnlyHides()
{
    window->Form_Load();
    window->mnuClose->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(desktop->process.endCount, 0);
    QVERIFY(desktop->tray.shown);
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void StartupTest::withoutATrayTheWindowGoesToTheTaskBar()
{
    desktop->tray.available = false;
    window->Form_Load();
    QCOMPARE(window->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    window->mnuClose_Click();
    QVERIFY(window->isVisible());
    QVERIFY(window->isMinimized());
    desktop->dialogs.nextResults = {MsgBoxResult::No};
    window->showNormal();
    window->close();
    QVERIFY(window->isMinimized());
    QCOMPARE(desktop->process.endCount, 0);
}

void StartupTest::enterInTheRealCloseQuestionAnswersNo()
{
    QtDialogs dialogs;
    QTimer::singleShot(0, this, [] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Return);
    });
    const int answer =
        dialogs.messageBox(QStringLiteral("常駐終了しますか？"), 292, QStringLiteral("Quillbox"));
    QCOMPARE(answer, MsgBoxResult::No);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
