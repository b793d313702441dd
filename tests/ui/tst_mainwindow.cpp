#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/Desktop.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/SplitterBar.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

class MainWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void menuItems_data();
    void menuItems();
    void menuBarReadsInOrder();
    void popupMenusHoldTheirItems();
    void toolTips_data();
    void toolTips();
    void designGeometry_data();
    void designGeometry();
    void initialStates();
    void tabOrderFollowsTheDesign();
    void shortcutsActWithTheFocusInTheTextPane_data();
    void shortcutsActWithTheFocusInTheTextPane();
    void aDisabledItemsShortcutDoesNothing();
    void noTaskBarButton();

private:
    QAction *action(const QString &name) const;

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
};

void MainWindowTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
}

void MainWindowTest::cleanup()
{
    window.reset();
    desktop.reset();
}

QAction *MainWindowTest::action(const QString &name) const
{
    const QHash<QString, QAction *> items = {
        {"mnuStart", window->mnuStart},     {"mnuCopy", window->mnuCopy},
        {"mnuUwa", window->mnuUwa},         {"mnuName", window->mnuName},
        {"mnuRename", window->mnuRename},   {"mnuDelete", window->mnuDelete},
        {"mnuClose", window->mnuClose},     {"mnuEnd", window->mnuEnd},
        {"mnuFrmPosi", window->mnuFrmPosi}, {"mnuSet6", window->mnuSet(6)},
        {"mnuSet7", window->mnuSet(7)},     {"mnuSet8", window->mnuSet(8)},
        {"mnuSet9", window->mnuSet(9)},     {"mnuHelp", window->mnuHelp},
        {"mnuVer", window->mnuVer},         {"mnuUwa2", window->mnuUwa2},
        {"mnuName2", window->mnuName2},     {"mnuRename2", window->mnuRename2},
        {"DeleteFile", window->DeleteFile}, {"mnuStart2", window->mnuStart2},
        {"mnuEnd2", window->mnuEnd2},
    };
    return items.value(name);
}

void MainWindowTest::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checked");
    QTest::newRow("start reading") << "mnuStart"
                                   << "読込み開始"
                                   << "Ctrl+K" << false;
    QTest::newRow("transfer to clipboard") << "mnuCopy"
                                           << "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送"
                                           << "Ctrl+T" << false;
    QTest::newRow("overwrite save") << "mnuUwa"
                                    << "上書き保存(&S)"
                                    << "Ctrl+S" << false;
    QTest::newRow("save as") << "mnuName"
                             << "名前を付けて保存(&A)"
                             << "Ctrl+A" << false;
    QTest::newRow("rename") << "mnuRename"
                            << "ﾌｧｲﾙ名の変更(&E)"
                            << "Ctrl+E" << false;
    QTest::newRow("delete") << "mnuDelete"
                            << "ﾌｧｲﾙの削除(&D)"
                            << "" << false;
    QTest::newRow("close the screen") << "mnuClose"
                                      << "画面を閉じる(&C)"
                                      << "" << false;
    QTest::newRow("end residence") << "mnuEnd"
                                   << "常駐終了(&X)"
                                   << "" << false;
    QTest::newRow("save settings") << "mnuFrmPosi"
                                   << "設定及び表示状態の保存(&S)"
                                   << "" << false;
    QTest::newRow("show at start-up, checked") << "mnuSet6"
                                               << "起動時に画面表示"
                                               << "" << true;
    QTest::newRow("always on top") << "mnuSet7"
                                   << "常に手前に表示"
                                   << "" << false;
    QTest::newRow("lock folder") << "mnuSet8"
                                 << "ﾌｫﾙﾀﾞｰ設定のﾛｯｸ"
                                 << "" << false;
    QTest::newRow("show reading state") << "mnuSet9"
                                        << "読込み状態表示"
                                        << "" << false;
    QTest::newRow("help") << "mnuHelp"
                          << "Quillboxﾍﾙﾌﾟ"
                          << "" << false;
    QTest::newRow("version") << "mnuVer"
                             << "ﾊﾞｰｼﾞｮﾝ情報(&A)"
                             << "" << false;
    QTest::newRow("pop-up overwrite save") << "mnuUwa2"
                                           << "上書き保存"
                                           << "" << false;
    QTest::newRow("pop-up save as") << "mnuName2"
                                    << "名前を付けて保存"
                                    << "" << false;
    QTest::newRow("pop-up rename") << "mnuRename2"
                                   << "ﾌｧｲﾙ名の変更"
                                   << "" << false;
    QTest::newRow("pop-up delete") << "DeleteFile"
                                   << "削除"
                                   << "" << false;
    QTest::newRow("tray start reading") << "mnuStart2"
                                        << "読込み開始"
                                        << "" << false;
    QTest::newRow("tray end residence") << "mnuEnd2"
                                        << "常駐終了"
                                        << "" << false;
}

void MainWindowTest::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, checked);
    QAction *item = action(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut().toString(QKeySequence::PortableText), shortcut);
    QCOMPARE(item->isChecked(), checked);
    QVERIFY(item->isEnabled());
}

void MainWindowTest::menuBarReadsInOrder()
{
    QStringList titles;
    for (QAction *menu : window->menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles, (QStringList{"ﾌｧｲﾙ(&F)", "ｵﾌﾟｼｮﾝ(&O)", "ﾍﾙﾌﾟ(&H)"}));

    QStringList fileMenu;
    for (QAction *item : window->mnuFile->actions())
        fileMenu << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(fileMenu, (QStringList{"読込み開始", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送", "-", "上書き保存(&S)",
                                    "名前を付けて保存(&A)", "ﾌｧｲﾙ名の変更(&E)", "ﾌｧｲﾙの削除(&D)",
                                    "-", "画面を閉じる(&C)", "常駐終了(&X)"}));
    QVERIFY(window->mnuOption->actions().at(1)->isSeparator());
    QVERIFY(window->mnuHelp0->actions().at(1)->isSeparator());
}

void MainWindowTest::popupMenusHoldTheirItems()
{
    QCOMPARE(window->pop->actions(), (QList<QAction *>{window->mnuUwa2, window->mnuName2,
                                                       window->mnuRename2, window->DeleteFile}));
    QCOMPARE(window->pop2->actions(),
             (QList<QAction *>{window->mnuStart2, window->mnuH3, window->mnuEnd2}));
    QVERIFY(window->mnuH3->isSeparator());
    QVERIFY(!window->menuBar()->actions().contains(window->pop->menuAction()));
    QVERIFY(!window->menuBar()->actions().contains(window->pop2->menuAction()));
}

void MainWindowTest::toolTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    QTest::newRow("start") << "cmdStart"
                           << "読込み開始";
    QTest::newRow("copy") << "cmdCopy"
                          << "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送";
    QTest::newRow("overwrite save") << "cmdUwa"
                                    << "上書き保存";
    QTest::newRow("save as") << "cmdName"
                             << "名前を付けて保存";
    QTest::newRow("rename") << "cmdReName"
                            << "ﾌｧｲﾙ名の変更";
    QTest::newRow("delete") << "cmdDelete"
                            << "ﾌｧｲﾙの削除";
    QTest::newRow("drive") << "drvText"
                           << "ﾄﾞﾗｲﾌﾞ選択";
    QTest::newRow("name length") << "txtNameLen"
                                 << "ﾌｧｲﾙ名文字数";
    QTest::newRow("folder") << "dirText"
                            << "ﾌｫﾙﾀﾞ選択";
}

void MainWindowTest::toolTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    const QHash<QString, QWidget *> controls = {
        {"cmdStart", window->cmdStart},   {"cmdCopy", window->cmdCopy},
        {"cmdUwa", window->cmdUwa},       {"cmdName", window->cmdName},
        {"cmdReName", window->cmdReName}, {"cmdDelete", window->cmdDelete},
        {"drvText", window->drvText},     {"txtNameLen", window->txtNameLen},
        {"dirText", window->dirText},
    };
    QCOMPARE(controls.value(name)->toolTip(), tip);
}

void MainWindowTest::designGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("cmdStart") << "cmdStart" << QRect(0, 2, 25, 22);
    QTest::newRow("cmdCopy") << "cmdCopy" << QRect(32, 2, 25, 22);
    QTest::newRow("cmdUwa") << "cmdUwa" << QRect(64, 2, 25, 22);
    QTest::newRow("cmdName") << "cmdName" << QRect(88, 2, 25, 22);
    QTest::newRow("cmdReName") << "cmdReName" << QRect(112, 2, 25, 22);
    QTest::newRow("cmdDelete") << "cmdDelete" << QRect(136, 2, 25, 22);
    QTest::newRow("drvText") << "drvText" << QRect(168, 3, 57, 20);
    QTest::newRow("txtNameLen") << "txtNameLen" << QRect(232, 4, 25, 18);
    QTest::newRow("vscNameLen") << "vscNameLen" << QRect(256, 4, 17, 17);
    QTest::newRow("lblST 0") << "lblST0" << QRect(0, 24, 97, 17);
    QTest::newRow("lblST 1") << "lblST1" << QRect(96, 24, 177, 17);
    QTest::newRow("dirText") << "dirText" << QRect(0, 40, 73, 20);
    QTest::newRow("imgSS1") << "imgSS1" << QRect(0, 80, 67, 3);
    QTest::newRow("picSS1") << "picSS1" << QRect(0, 88, 91, 4);
    QTest::newRow("flbText") << "flbText" << QRect(0, 96, 81, 30);
    QTest::newRow("imgSS") << "imgSS" << QRect(80, 40, 3, 81);
    QTest::newRow("picSS") << "picSS" << QRect(96, 40, 3, 81);
    QTest::newRow("txtText") << "txtText" << QRect(208, 40, 65, 81);
    QTest::newRow("picStart 0") << "picStart0" << QRect(80, 152, 16, 16);
    QTest::newRow("picStart 1") << "picStart1" << QRect(112, 152, 16, 16);
    QTest::newRow("imgSt") << "imgSt" << QRect(0, 200, 129, 12);
    QTest::newRow("lblSts") << "lblSts" << QRect(48, 200, 129, 8);
}

void MainWindowTest::designGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    const QHash<QString, QWidget *> controls = {
        {"cmdStart", window->cmdStart},     {"cmdCopy", window->cmdCopy},
        {"cmdUwa", window->cmdUwa},         {"cmdName", window->cmdName},
        {"cmdReName", window->cmdReName},   {"cmdDelete", window->cmdDelete},
        {"drvText", window->drvText},       {"txtNameLen", window->txtNameLen},
        {"vscNameLen", window->vscNameLen}, {"lblST0", window->lblST[0]},
        {"lblST1", window->lblST[1]},       {"dirText", window->dirText},
        {"imgSS1", window->imgSS1},         {"picSS1", window->picSS1},
        {"flbText", window->flbText},       {"imgSS", window->imgSS},
        {"picSS", window->picSS},           {"txtText", window->txtText},
        {"picStart0", window->picStart[0]}, {"picStart1", window->picStart[1]},
        {"imgSt", window->imgSt},           {"lblSts", window->lblSts},
    };
    QCOMPARE(controls.value(name)->geometry(), geometry);
}

void MainWindowTest::initialStates()
{
    QVERIFY(!window->Timer1->isActive());
    QCOMPARE(window->Timer1->interval(), 800);
    QCOMPARE(window->vscNameLen->minimum(), 5);
    QCOMPARE(window->vscNameLen->maximum(), 25);
    QCOMPARE(window->vscNameLen->value(), 25);
    QVERIFY(window->picSS->isHidden());
    QVERIFY(window->picSS1->isHidden());
    QVERIFY(window->lblSts->isHidden());
    QVERIFY(window->picStart[0]->isHidden());
    QVERIFY(window->picStart[1]->isHidden());
    QCOMPARE(window->lblSts->palette().color(QPalette::Window), QColor(0, 0, 255));
    QCOMPARE(window->flbText->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(window->txtText->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
    QVERIFY(window->txtText->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
    QCOMPARE(window->txtText->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(window->cmdStart->icon().pixmap(16).toImage(),
             window->picStart[1]->pixmap().toImage());
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillbox"));
    QCOMPARE(window->lblST[0]->text(), QString());
    QCOMPARE(window->lblST[1]->text(), QString());
    QCOMPARE(window->imgSS->cursor().shape(), Qt::SizeHorCursor);
    QCOMPARE(window->imgSS1->cursor().shape(), Qt::SizeVerCursor);
    const QIcon icon = window->windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    for (QPushButton *button : {window->cmdUwa, window->cmdName, window->cmdReName}) {
        const QImage normal = button->icon().pixmap(16, QIcon::Normal).toImage();
        const QImage greyed = button->icon().pixmap(16, QIcon::Disabled).toImage();
        QVERIFY2(normal != greyed, "a button that can be disabled has a greyed picture");
    }
}

void MainWindowTest::tabOrderFollowsTheDesign()
{
    const QList<QWidget *> focusable = {window->flbText,   window->cmdStart,   window->cmdCopy,
                                        window->cmdUwa,    window->cmdName,    window->cmdReName,
                                        window->cmdDelete, window->txtText,    window->dirText,
                                        window->drvText,   window->txtNameLen, window->vscNameLen};
    QWidget *at = focusable.first();
    for (qsizetype i = 1; i < focusable.size(); ++i) {
        do
            at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || !focusable.contains(at));
        QCOMPARE(at, focusable.at(i));
    }
}

void MainWindowTest::shortcutsActWithTheFocusInTheTextPane_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::newRow("Ctrl+K starts reading") << "mnuStart" << int(Qt::Key_K);
    QTest::newRow("Ctrl+T copies") << "mnuCopy" << int(Qt::Key_T);
    QTest::newRow("Ctrl+S saves") << "mnuUwa" << int(Qt::Key_S);
    QTest::newRow("Ctrl+A saves as, not select all") << "mnuName" << int(Qt::Key_A);
    QTest::newRow("Ctrl+E renames") << "mnuRename" << int(Qt::Key_E);
}

void MainWindowTest::shortcutsActWithTheFocusInTheTextPane()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->txtText->setFocus();
    window->txtText->setText(QStringLiteral("some text"));
    QSignalSpy triggered(action(name), &QAction::triggered);
    QTest::keyClick(window->txtText, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(window->txtText->text(), QStringLiteral("some text"));
}

void MainWindowTest::aDisabledItemsShortcutDoesNothing()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->txtText->setFocus();
    window->mnuUwa->setEnabled(false);
    QSignalSpy triggered(window->mnuUwa, &QAction::triggered);
    QTest::keyClick(window->txtText, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(triggered.size(), 0);
}

void MainWindowTest::noTaskBarButton()
{
    window->Form_Load();
    QVERIFY(!hasTaskBarButton(*window));
    QVERIFY(window->windowFlags() & Qt::WindowMinMaxButtonsHint);
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
