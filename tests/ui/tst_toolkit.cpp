#include "ui/platform/PlatformError.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/ScreenMetrics.h"
#include "ui/widgets/LineControl.h"
#include "ui/widgets/SplitterBar.h"
#include "ui/widgets/TextBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

class ToolkitTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void messageBoxStyles_data();
    void messageBoxStyles();
    void resultNumbers_data();
    void resultNumbers();

    void settingTheSameTextRaisesNoChange();
    void settingANewTextRaisesOneChange();
    void typingRaisesAChange();
    void textComesBackExactlyUntilEdited_data();
    void textComesBackExactlyUntilEdited();
    void editedTextUsesCrLfBetweenLines();
    void aLoneLineFeedEndsALineAndIsKeptAfterAnEdit();

    void scrollBarRaisesItsChangeOnlyWhenTheValueChanges();
    void platformErrorCarriesItsNumberAndReason();
    void twipsFollowTheScreen();
    void splitterBarKeepsFractionalPositions();
};

void ToolkitTest::messageBoxStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("icon");
    QTest::newRow("0: OK alone") << 0 << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                                 << int(QMessageBox::NoIcon);
    QTest::newRow("16: OK with the critical icon")
        << 16 << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(QMessageBox::Critical);
    QTest::newRow("289: OK and Cancel, question, Cancel the default")
        << 289 << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Cancel)
        << int(QMessageBox::Question);
    QTest::newRow("292: Yes and No, question, No the default")
        << 292 << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No)
        << int(QMessageBox::Question);
    QTest::newRow("4: Yes and No, Yes the default")
        << 4 << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes)
        << int(QMessageBox::NoIcon);
}

void ToolkitTest::messageBoxStyles()
{
    QFETCH(int, style);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, icon);
    QMessageBox box;
    QtDialogs::configure(box, style);
    QCOMPARE(int(box.standardButtons()), buttons);
    QCOMPARE(int(box.standardButton(box.defaultButton())), defaultButton);
    QCOMPARE(int(box.icon()), icon);
}

void ToolkitTest::resultNumbers_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("OK is 1") << int(QMessageBox::Ok) << 1;
    QTest::newRow("Cancel is 2") << int(QMessageBox::Cancel) << 2;
    QTest::newRow("Yes is 6") << int(QMessageBox::Yes) << 6;
    QTest::newRow("No is 7") << int(QMessageBox::No) << 7;
}

void ToolkitTest::resultNumbers()
{
    QFETCH(int, button);
    QFETCH(int, result);
    QCOMPARE(QtDialogs::resultOf(button), result);
}

void ToolkitTest::settingTheSameTextRaisesNoChange()
{
    TextBox box;
    box.setText(QStringLiteral("memo"));
    QSignalSpy changed(&box, &TextBox::changed);
    box.setText(QStringLiteral("memo"));
    QCOMPARE(changed.size(), 0);
}

void ToolkitTest::settingANewTextRaisesOneChange()
{
    TextBox box;
    QSignalSpy changed(&box, &TextBox::changed);
    box.setText(QStringLiteral("a\r\nb\r\nc"));
    QCOMPARE(changed.size(), 1);
    box.setText(QString());
    QCOMPARE(changed.size(), 2);
    QVERIFY(box.isEmpty());
}

void ToolkitTest::typingRaisesAChange()
{
    TextBox box;
    QSignalSpy changed(&box, &TextBox::changed);
    QTest::keyClicks(&box, QStringLiteral("x"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(box.text(), QStringLiteral("x"));
}

void ToolkitTest::textComesBackExactlyUntilEdited_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lines with CR LF") << QStringLiteral("a\r\nb");
    QTest::newRow("a lone line feed") << QStringLiteral("a\nb");
    QTest::newRow("a lone carriage return") << QStringLiteral("a\rb");
    QTest::newRow("a trailing line end") << QStringLiteral("a\r\n");
    QTest::newRow("a no-break space and a tab") << QStringLiteral("a\u00a0b\tc");
    QTest::newRow("a paragraph separator of its own") << QStringLiteral("a\u2029b");
}

void ToolkitTest::textComesBackExactlyUntilEdited()
{
    QFETCH(QString, text);
    TextBox box;
    box.setText(text);
    QCOMPARE(box.text(), text);
}

void ToolkitTest::editedTextUsesCrLfBetweenLines()
{
    TextBox box;
    box.setText(QStringLiteral("a\r\nb"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("c"));
    QCOMPARE(box.text(), QStringLiteral("a\r\nb\r\nc"));
    QCOMPARE(box.document()->blockCount(), 3);
}

void ToolkitTest::aLoneLineFeedEndsALineAndIsKeptAfterAnEdit()
{
    TextBox box;
    box.setText(QStringLiteral("a\nb"));
    QCOMPARE(box.document()->blockCount(), 2);
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, QStringLiteral("c"));
    QCOMPARE(box.text(), QStringLiteral("a\nbc"));
}

void ToolkitTest::scrollBarRaisesItsChangeOnlyWhenTheValueChanges()
{
    QScrollBar bar(Qt::Vertical);
    bar.setRange(5, 25);
    bar.setValue(25);
    QSignalSpy changed(&bar, &QScrollBar::valueChanged);
    bar.setValue(25);
    QCOMPARE(changed.size(), 0);
    bar.setValue(12);
    QCOMPARE(changed.size(), 1);
}

void ToolkitTest::platformErrorCarriesItsNumberAndReason()
{
    try {
        throw PlatformError(ErrorNumber::FileNotFound, QStringLiteral("名前が使えません"));
    } catch (const PlatformError &error) {
        QCOMPARE(error.number(), 53);
        QCOMPARE(error.reason(), QStringLiteral("名前が使えません"));
        QVERIFY(QString::fromStdString(error.what()).contains(QStringLiteral("53")));
    }
}

void ToolkitTest::twipsFollowTheScreen()
{
    const ScreenMetrics metrics = ScreenMetrics::ofPrimaryScreen();
    QVERIFY(metrics.twipsPerPixelX > 0);
    QCOMPARE(metrics.widthTwips(), float(metrics.widthPixels) * metrics.twipsPerPixelX);
    const ScreenMetrics usual{1366, 768, 15, 15};
    QCOMPARE(usual.widthTwips(), 20490.0f);
    QCOMPARE(usual.heightTwips(), 11520.0f);
}

void ToolkitTest::splitterBarKeepsFractionalPositions()
{
    SplitterBar bar;
    bar.setLeft(341.5f);
    bar.setWidth(3);
    bar.setHeight(10);
    QCOMPARE(bar.left(), 341.5f);
    QVERIFY(qAbs(bar.geometry().left() - 341.5) <= 0.5);
    bar.setHeight(-2);
    QCOMPARE(bar.geometry().height(), 0);
}

QTEST_MAIN(ToolkitTest)
#include "tst_toolkit.moc"
