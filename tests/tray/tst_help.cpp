#include "app/QtHelpViewer.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QtTest>

class HelpTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theHelpFileNamesEveryCommandAndMessage();
    void theViewerOpensTheFileAtItsContents();
    void theHelpWindowStaysInFrontOfTheMainWindow_data();
    void theHelpWindowStaysInFrontOfTheMainWindow();
};

void HelpTest::theHelpFileNamesEveryCommandAndMessage()
{
    QFile file(QStringLiteral(QUILLBOX_HELP_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument page;
    page.setHtml(QString::fromUtf8(file.readAll()));
    QCOMPARE(page.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Quillboxﾍﾙﾌﾟ"));
    const QString text = page.toPlainText();

    TestPlatform desktop;
    frmClip window(desktop.state, desktop.platform);
    QStringList names;
    for (QMenu *menu :
         {window.mnuFile, window.mnuOption, window.mnuHelp0, window.pop, window.pop2}) {
        names << menu->title();
        for (const QAction *item : menu->actions())
            names << item->text();
    }
    for (const QPushButton *button : window.findChildren<QPushButton *>())
        names << button->toolTip();
    names << QStringLiteral("読込み終了") << QStringLiteral("ﾄﾞﾗｲﾌﾞ選択")
          << QStringLiteral("ﾌｫﾙﾀﾞ選択") << QStringLiteral("ﾌｧｲﾙ名文字数")
          << QStringLiteral("ClipSet.ini") << QStringLiteral("NoName.txt")
          << QStringLiteral("NoName 1.txt") << QStringLiteral("memo 1.txt")
          << QStringLiteral("Space-------") << QStringLiteral("既に起動されています")
          << QStringLiteral("常駐終了しますか？") << QStringLiteral("削除していいですか？")
          << QStringLiteral("ﾃﾞｨｽｸがｾｯﾄされていません") << QStringLiteral("INIﾌｧｲﾙが見つかりません")
          << QStringLiteral("設定を保存できませんでした。")
          << QStringLiteral("ファイル名を入力してください") << QStringLiteral("Ver 2.00")
          << QStringLiteral("~/.local/share/Quillbox/") << QStringLiteral("341.5");
    for (QString name : std::as_const(names)) {
        name.remove(u'&');
        if (name == QStringLiteral("ポップアップ") || name.isEmpty())
            continue;
        QVERIFY2(text.contains(name), qPrintable(QStringLiteral("the help does not name ") + name));
    }
}

void HelpTest::theViewerOpensTheFileAtItsContents()
{
    QtHelpViewer viewer;
    viewer.showContents(QStringLiteral(QUILLBOX_HELP_FILE), nullptr);
    QTextBrowser *shown = viewer.window();
    QVERIFY(shown && shown->isVisible());
    QCOMPARE(shown->windowTitle(), QStringLiteral("Quillboxﾍﾙﾌﾟ"));
    QVERIFY(shown->toPlainText().contains(QStringLiteral("目次")));
    shown->scrollToAnchor(QStringLiteral("ini"));
    viewer.showContents(QStringLiteral(QUILLBOX_HELP_FILE), nullptr);
    QCOMPARE(viewer.window(), shown);
    QCOMPARE(shown->verticalScrollBar()->value(), 0);

    const QString missing = QDir::temp().filePath(QStringLiteral("no-such-folder/Quillbox.HLP"));
    viewer.showContents(missing, nullptr);
    QVERIFY2(shown->toPlainText().contains(missing), "the viewer names the missing file");
}

void HelpTest::theHelpWindowStaysInFrontOfTheMainWindow_data()
{
    QTest::addColumn<float>("option");
    QTest::newRow("always on top: both in the topmost layer") << -1.0f;
    QTest::newRow("normal layer: both in the normal layer") << 0.0f;
}

void HelpTest::theHelpWindowStaysInFrontOfTheMainWindow()
{
    QFETCH(float, option);
    TestPlatform desktop;
    QtHelpViewer viewer;
    const Platform platform{desktop.dialogs,      desktop.clipboard,
                            desktop.tray,         viewer,
                            desktop.process,      [&] { return desktop.screen; },
                            desktop.folder.path()};
    frmClip window(desktop.state, platform);
    window.Form_Load();
    desktop.state.Settings[7] = option;
    desktop.state.HelpFilePath = QStringLiteral(QUILLBOX_HELP_FILE);
    window.mnuHelp->trigger();
    QVERIFY(viewer.window()->isVisible());
    QCOMPARE(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), option == -1);
    QCOMPARE(bool(viewer.window()->windowFlags() & Qt::WindowStaysOnTopHint), option == -1);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
