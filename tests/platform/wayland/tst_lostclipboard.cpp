#include "mock/TestPlatform.h"
#include "ui/frmClip.h"

#include <QtTest>

// A desktop whose clipboard goes out of reach while the program runs, as when the compositor
// that the program watches it through has gone.
class LostClipboardTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theUserIsToldOnceARunAndTheWindowStaysAsItWas();
};

void LostClipboardTest::theUserIsToldOnceARunAndTheWindowStaysAsItWas()
{
    TestPlatform desktop;
    frmClip window(desktop.state, desktop.platform);
    window.Form_Load();
    window.cmdStart_Click();
    window.hide();
    desktop.dialogs.asked.clear();

    Q_EMIT desktop.clipboard.unreachable();
    QVERIFY2(desktop.dialogs.asked.isEmpty(), "the box opens from the event loop, not inside the "
                                              "clipboard's report");
    QTRY_COMPARE(desktop.dialogs.asked.size(), 1);
    const ScriptedDialogs::Asked told = desktop.dialogs.asked.constFirst();
    QCOMPARE(told.kind, QStringLiteral("message"));
    QCOMPARE(told.text, QStringLiteral("デスクトップのクリップボードに接続できなくなりました。接続"
                                       "が戻るまで、コピーしたテキストの保存とクリップボードへの"
                                       "転送はできません。"));
    QCOMPARE(told.style, MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation);
    QCOMPARE(told.title, QStringLiteral("Quillbox"));
    QVERIFY2(!window.isVisible(), "the hidden window stays in the tray");
    QVERIFY2(window.Reading, "reading stays on, to go on once the clipboard is back");

    Q_EMIT desktop.clipboard.unreachable();
    QTest::qWait(50);
    QCOMPARE(desktop.dialogs.asked.size(), 1);
}

QTEST_MAIN(LostClipboardTest)
#include "tst_lostclipboard.moc"
