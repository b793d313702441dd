#include "capture/ClipboardLook.h"
#include "ui/platform/Clipboard.h"

#include <QtTest>

namespace
{

// A clipboard that counts how often it is read.
class CountingClipboard : public Clipboard
{
public:
    bool reports = true;
    QString content = QStringLiteral("memo");
    int holdsTextReads = 0;
    int textReads = 0;

    bool holdsText() override
    {
        ++holdsTextReads;
        return !content.isNull();
    }
    QString text() override
    {
        ++textReads;
        return content;
    }
    void clear() override { content = QString(); }
    void setText(const QString &text) override { content = text; }
    bool reportsChanges() const override { return reports; }
    void change(const QString &text)
    {
        content = text;
        Q_EMIT changed();
    }
};

} // namespace

class ClipboardLookTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unchangedSinceTheLastLookIsNotReadAgain();
    void aReportedChangeIsReadAtTheNextLook();
    void withoutReportsEveryLookReads();
};

void ClipboardLookTest::unchangedSinceTheLastLookIsNotReadAgain()
{
    CountingClipboard clipboard;
    ClipboardLook look(clipboard);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(look.holdsText());
        QCOMPARE(look.text(), QStringLiteral("memo"));
    }
    QCOMPARE(clipboard.holdsTextReads, 1);
    QCOMPARE(clipboard.textReads, 1);
}

void ClipboardLookTest::aReportedChangeIsReadAtTheNextLook()
{
    CountingClipboard clipboard;
    ClipboardLook look(clipboard);
    QSignalSpy changed(&look, &ClipboardLook::changed);
    QCOMPARE(look.text(), QStringLiteral("memo"));
    clipboard.change(QString());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!look.holdsText());
    clipboard.change(QStringLiteral("next"));
    QVERIFY(look.holdsText());
    QCOMPARE(look.text(), QStringLiteral("next"));
    QCOMPARE(clipboard.textReads, 2);
}

void ClipboardLookTest::withoutReportsEveryLookReads()
{
    CountingClipboard clipboard;
    clipboard.reports = false;
    ClipboardLook look(clipboard);
    QCOMPARE(look.text(), QStringLiteral("memo"));
    clipboard.content = QStringLiteral("changed unannounced");
    QVERIFY(look.holdsText());
    QCOMPARE(look.text(), QStringLiteral("changed unannounced"));
    QCOMPARE(clipboard.textReads, 2);
}

QTEST_GUILESS_MAIN(ClipboardLookTest)
#include "tst_clipboardlook.moc"
