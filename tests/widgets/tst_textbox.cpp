#include "ui/widgets/LargeTextView.h"
#include "ui/widgets/TextBox.h"

#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

namespace
{

// Lines of one length whose ends cycle through CR LF, LF and a CR alone: enough of them to
// reach the large-text view, or a few.
QString mixedLines(qsizetype atLeast)
{
    static const QString ends[] = {QStringLiteral("\r\n"), QStringLiteral("\n"),
                                   QStringLiteral("\r")};
    QString text;
    for (int line = 0; text.size() < atLeast; ++line)
        text +=
            QStringLiteral("line %1 of a text with mixed line ends").arg(line, 6) + ends[line % 3];
    return text;
}

QString largeLines(const QString &end)
{
    QString text;
    while (text.size() < TextBox::largeTextLength)
        text += QStringLiteral("クリップボードの行 and its Latin part 0123456789") + end;
    return text;
}

// Where a line (ended by CR LF, CR or LF) starts in a text, counted independently of the pane.
qsizetype offsetOf(const QString &text, int line, int column)
{
    qsizetype at = 0;
    for (int l = 0; l < line; ++l) {
        while (text.at(at) != u'\r' && text.at(at) != u'\n')
            ++at;
        at += text.mid(at, 2) == u"\r\n" ? 2 : 1;
    }
    return at + column;
}

LargeTextView *viewOf(const TextBox &box)
{
    LargeTextView *view = box.findChild<LargeTextView *>();
    return view && !view->isHidden() ? view : nullptr;
}

QTestEventList keys(std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> presses)
{
    QTestEventList events;
    for (const auto &[key, modifiers] : presses)
        events.addKeyClick(key, modifiers);
    return events;
}

constexpr Qt::KeyboardModifiers none = Qt::NoModifier;

} // namespace

class TextBoxTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textComesBackExactlyBeforeAndAfterAnEdit_data();
    void textComesBackExactlyBeforeAndAfterAnEdit();
    void aLargeTextIsSharedAndLetGo();
    void editsKeepEveryOtherLineEnd_data();
    void editsKeepEveryOtherLineEnd();
    void inputMethodTextStartsTheEditingAtTheCaret();
    void changeIsRaisedOnlyWhenTheTextChanges();
    void keysMoveTheCaret_data();
    void keysMoveTheCaret();
    void theCaretAndTheScrollingStayWhenEditingStarts();
    void copyTakesTheSelectionWithItsLineEnds();
    void markersGoInAndOutAsTheyCame_data();
    void markersGoInAndOutAsTheyCame();
    void theStandInsOwnCharacterTypedAfterAMarkerStaysItself_data();
    void theStandInsOwnCharacterTypedAfterAMarkerStaysItself();
    void aParagraphSeparatorEndsALineInBothViews();
    void aMouseDragSelects();
    void theWidestLineSetsTheHorizontalRange();
};

void TextBoxTest::textComesBackExactlyBeforeAndAfterAnEdit_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << QString();
    QTest::newRow("lines ending in CR LF") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("lines ending in a CR alone") << QStringLiteral("a\rb\r");
    QTest::newRow("lines ending in an LF alone") << QStringLiteral("a\nb\n");
    QTest::newRow("all three mixed, with blank lines") << QStringLiteral("\r\n\n\ra\r\r\nb\n\r\n");
    QTest::newRow("a line separator of its own") << QStringLiteral("a\u2028b\r\nc");
    QTest::newRow("a paragraph separator and the editor's two frame markers")
        << QStringLiteral("a\u2029b\uFDD0c\uFDD1\uFDD2d\r\n\uFDD0");
    QTest::newRow("a large text of paragraph separators with frame markers")
        << largeLines(QStringLiteral("\u2029\uFDD0\uFDD1"));
    QTest::newRow("a large text of CR LF lines") << largeLines(QStringLiteral("\r\n"));
    QTest::newRow("a large text of LF lines") << largeLines(QStringLiteral("\n"));
    QTest::newRow("a large text of mixed lines") << mixedLines(TextBox::largeTextLength);
    QTest::newRow("a large text in one line") << QString(TextBox::largeTextLength * 2, u'x');
}

void TextBoxTest::textComesBackExactlyBeforeAndAfterAnEdit()
{
    QFETCH(QString, text);
    TextBox box;
    box.setText(text);
    QCOMPARE(box.text(), text);
    QCOMPARE(viewOf(box) != nullptr, text.size() >= TextBox::largeTextLength);

    // An edit undone by another leaves the text to be read back from the editor.
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&box, QStringLiteral("x"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QVERIFY(!viewOf(box));
    QVERIFY(box.document()->isModified());
    QCOMPARE(box.text(), text);
}

void TextBoxTest::aLargeTextIsSharedAndLetGo()
{
    QString text = largeLines(QStringLiteral("\n"));
    TextBox box;
    box.setText(text);
    QCOMPARE(box.text().constData(), text.constData());
    QVERIFY(box.document()->isEmpty());
    QVERIFY(!box.isEmpty());

    box.setText(QStringLiteral("small"));
    QVERIFY(!viewOf(box));
    QVERIFY2(text.isDetached(), "the pane holds on to a text it no longer shows");
}

void TextBoxTest::editsKeepEveryOtherLineEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("expected");

    // Line 3000 ends in CR LF, 3001 in LF, 3002 in a CR alone.
    const QString large = mixedLines(TextBox::largeTextLength);
    const QString small = mixedLines(200);
    const auto edited = [](QString text, qsizetype at, qsizetype removed, const QString &added) {
        return text.replace(at, removed, added);
    };
    const qsizetype inLf = offsetOf(large, 3001, 4);
    const qsizetype afterLf = offsetOf(large, 3002, 0);
    const qsizetype afterCr = offsetOf(large, 3003, 0);
    const QString pasted = QStringLiteral("p\rq\nr\r\ns");
    QGuiApplication::clipboard()->setText(pasted);

    QTestEventList typing;
    typing.addKeyClicks(QStringLiteral("Z"));
    QTest::newRow("typing in the middle of a large text")
        << large << 3001 << 4 << typing << edited(large, inLf, 0, QStringLiteral("Z"));
    QTest::newRow("typing in a small text")
        << small << 1 << 4 << typing
        << edited(small, offsetOf(small, 1, 4), 0, QStringLiteral("Z"));
    QTest::newRow("Enter in a line that ends in LF adds a CR LF and keeps the LF")
        << large << 3001 << 4 << keys({{Qt::Key_Return, none}})
        << edited(large, inLf, 0, QStringLiteral("\r\n"));
    QTest::newRow("Shift+Enter adds an LF alone")
        << large << 3001 << 4 << keys({{Qt::Key_Return, Qt::ShiftModifier}})
        << edited(large, inLf, 0, QStringLiteral("\n"));
    QTest::newRow("Backspace at a line start removes only the LF before it")
        << large << 3002 << 0 << keys({{Qt::Key_Backspace, none}})
        << edited(large, afterLf - 1, 1, QString());
    QTest::newRow("Delete at a line end removes only its CR")
        << large << 3002 << int(afterCr - 1 - afterLf) << keys({{Qt::Key_Delete, none}})
        << edited(large, afterCr - 1, 1, QString());
    QTest::newRow("deleting two selected lines keeps the line end after them")
        << large << 3001 << 0
        << keys({{Qt::Key_Down, Qt::ShiftModifier},
                 {Qt::Key_Down, Qt::ShiftModifier},
                 {Qt::Key_Delete, none}})
        << edited(large, offsetOf(large, 3001, 0), afterCr - offsetOf(large, 3001, 0), QString());
    QTest::newRow("pasted lines keep their own line ends")
        << large << 3001 << 4 << keys({{Qt::Key_V, Qt::ControlModifier}})
        << edited(large, inLf, 0, pasted);
    QTest::newRow("a join undone brings back its LF")
        << large << 3002 << 0
        << keys({{Qt::Key_Backspace, none}, {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Q, none}})
        << edited(large, afterLf, 0, QStringLiteral("q"));
}

void TextBoxTest::editsKeepEveryOtherLineEnd()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QTestEventList, events);
    QFETCH(QString, expected);
    TextBox box;
    box.setText(text);
    if (LargeTextView *view = viewOf(box)) {
        view->setSelection(offsetOf(text, line, column), offsetOf(text, line, column));
    } else {
        QTextCursor cursor(box.document()->findBlockByNumber(line));
        cursor.setPosition(cursor.position() + column);
        box.setTextCursor(cursor);
    }
    events.simulate(&box);
    QCOMPARE(box.text(), expected);
}

void TextBoxTest::inputMethodTextStartsTheEditingAtTheCaret()
{
    const QString text = largeLines(QStringLiteral("\n"));
    TextBox box;
    box.setText(text);
    keys({{Qt::Key_Down, none}, {Qt::Key_Right, none}}).simulate(&box);
    QInputMethodEvent composing(QStringLiteral("にほん"), {});
    QApplication::sendEvent(&box, &composing);
    QVERIFY(!viewOf(box));
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("日本"));
    QApplication::sendEvent(&box, &committed);
    QCOMPARE(box.text(), QString(text).insert(offsetOf(text, 1, 1), QStringLiteral("日本")));
}

void TextBoxTest::changeIsRaisedOnlyWhenTheTextChanges()
{
    const QString large = largeLines(QStringLiteral("\r\n"));
    TextBox box;
    QSignalSpy changed(&box, &TextBox::changed);
    box.setText(large);
    QCOMPARE(changed.size(), 1);
    box.setText(QString(large.constData(), large.size()));
    QCOMPARE(changed.size(), 1);
    keys({{Qt::Key_Down, none}, {Qt::Key_End, Qt::ShiftModifier}, {Qt::Key_C, Qt::ControlModifier}})
        .simulate(&box);
    QCOMPARE(changed.size(), 1);
    // A Backspace at the very start is an edit that changes nothing.
    keys({{Qt::Key_Home, Qt::ControlModifier}, {Qt::Key_Backspace, none}}).simulate(&box);
    QVERIFY(!viewOf(box));
    QCOMPARE(changed.size(), 1);
    QTest::keyClicks(&box, QStringLiteral("x"));
    QCOMPARE(changed.size(), 2);
    box.setText(large);
    QCOMPARE(changed.size(), 3);
    QVERIFY(viewOf(box));
}

void TextBoxTest::keysMoveTheCaret_data()
{
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<qsizetype>("position");
    QTest::addColumn<qsizetype>("anchor");

    // Lines of 4, 6, 2 and 7 characters ending in CR LF, LF, CR and CR LF.
    const QString text = QStringLiteral("aaaa\r\naaaaaa\naa\raaaaaaa\r\n");
    const auto start = [&](int line) { return offsetOf(text, line, 0); };
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers control = Qt::ControlModifier;
    QTest::newRow("End stops before the CR LF")
        << keys({{Qt::Key_End, none}}) << qsizetype(4) << qsizetype(4);
    QTest::newRow("Right at a line end steps over the whole CR LF")
        << keys({{Qt::Key_End, none}, {Qt::Key_Right, none}}) << start(1) << start(1);
    QTest::newRow("Left at a line start goes back before the line end")
        << keys({{Qt::Key_Down, none}, {Qt::Key_Left, none}}) << qsizetype(4) << qsizetype(4);
    QTest::newRow("Down keeps the column across a shorter line") << keys({{Qt::Key_Right, none},
                                                                          {Qt::Key_Right, none},
                                                                          {Qt::Key_Right, none},
                                                                          {Qt::Key_Down, none},
                                                                          {Qt::Key_Down, none},
                                                                          {Qt::Key_Down, none}})
                                                                 << start(3) + 3 << start(3) + 3;
    QTest::newRow("Shift+Down selects from the caret")
        << keys({{Qt::Key_Right, none}, {Qt::Key_Down, shift}}) << start(1) + 1 << qsizetype(1);
    QTest::newRow("Right without Shift ends a selection at its far side")
        << keys({{Qt::Key_Down, shift}, {Qt::Key_Down, shift}, {Qt::Key_Right, none}}) << start(2)
        << start(2);
    QTest::newRow("Ctrl+End goes to the end of the text")
        << keys({{Qt::Key_End, control}}) << qsizetype(-1) << qsizetype(-1);
    QTest::newRow("Ctrl+Shift+Home selects back to the start")
        << keys({{Qt::Key_Down, none}, {Qt::Key_Home, control | shift}}) << qsizetype(0)
        << start(1);
}

void TextBoxTest::keysMoveTheCaret()
{
    QFETCH(QTestEventList, events);
    QFETCH(qsizetype, position);
    QFETCH(qsizetype, anchor);
    const QString text =
        QStringLiteral("aaaa\r\naaaaaa\naa\raaaaaaa\r\n") + largeLines(QStringLiteral("\r\n"));
    TextBox box;
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setText(text);
    events.simulate(&box);
    const LargeTextView *view = viewOf(box);
    QVERIFY(view);
    QCOMPARE(view->position(), position < 0 ? text.size() : position);
    QCOMPARE(view->anchor(), anchor < 0 ? text.size() : anchor);
}

void TextBoxTest::theCaretAndTheScrollingStayWhenEditingStarts()
{
    const QString text = mixedLines(TextBox::largeTextLength);
    TextBox box;
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setText(text);
    keys({{Qt::Key_PageDown, none},
          {Qt::Key_PageDown, none},
          {Qt::Key_Down, none},
          {Qt::Key_End, none},
          {Qt::Key_Left, Qt::ShiftModifier}})
        .simulate(&box);
    const LargeTextView *view = viewOf(box);
    const qsizetype anchor = view->anchor();
    const qsizetype position = view->position();
    const int firstLine = view->verticalScrollBar()->value();
    QVERIFY(firstLine > 0);
    const qsizetype column = position - view->text().lineStart(view->text().lineOf(position));

    QTest::keyClicks(&box, QStringLiteral("Z"));
    QVERIFY(!viewOf(box));
    QCOMPARE(box.text(), QString(text).replace(position, anchor - position, QStringLiteral("Z")));
    QCOMPARE(box.verticalScrollBar()->value(), firstLine);
    QCOMPARE(box.textCursor().positionInBlock(), column + 1);
}

void TextBoxTest::copyTakesTheSelectionWithItsLineEnds()
{
    const QString text = mixedLines(TextBox::largeTextLength);
    TextBox box;
    box.setText(text);
    keys({{Qt::Key_Right, none},
          {Qt::Key_Right, none},
          {Qt::Key_Down, Qt::ShiftModifier},
          {Qt::Key_Down, Qt::ShiftModifier},
          {Qt::Key_C, Qt::ControlModifier}})
        .simulate(&box);
    QCOMPARE(QGuiApplication::clipboard()->text(), text.mid(2, offsetOf(text, 2, 2) - 2));

    keys({{Qt::Key_A, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}}).simulate(&box);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QVERIFY(viewOf(box));
}

enum Entry { Pasted, Typed, Committed };

void TextBoxTest::markersGoInAndOutAsTheyCame_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("entered");
    const QString small = QStringLiteral("ab\r\ncd");
    const QString large = largeLines(QStringLiteral("\r\n"));
    const QString markers = QStringLiteral("1\u2029"
                                           "2\uFDD0"
                                           "3\uFDD1"
                                           "4\r5");
    QTest::newRow("pasted into a small text") << small << int(Pasted) << markers;
    QTest::newRow("pasted into a large text") << large << int(Pasted) << markers;
    QTest::newRow("a paragraph separator typed") << small << int(Typed) << QStringLiteral("\u2029");
    QTest::newRow("a paragraph separator typed into a large text")
        << large << int(Typed) << QStringLiteral("\u2029");
    QTest::newRow("committed by an input method") << small << int(Committed) << markers;
}

void TextBoxTest::markersGoInAndOutAsTheyCame()
{
    QFETCH(QString, text);
    QFETCH(int, entry);
    QFETCH(QString, entered);
    TextBox box;
    box.setText(text);
    QTest::keyClick(&box, Qt::Key_Right);
    if (entry == Pasted) {
        QGuiApplication::clipboard()->setText(entered);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    } else if (entry == Typed) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, entered);
        QApplication::sendEvent(&box, &press);
    } else {
        QInputMethodEvent composing(QStringLiteral("に"), {});
        QApplication::sendEvent(&box, &composing);
        QInputMethodEvent committed;
        committed.setCommitString(entered);
        QApplication::sendEvent(&box, &committed);
    }
    const QString expected = QString(text).insert(1, entered);
    QCOMPARE(box.text(), expected);

    // Copied from the editor, the whole text is what the pane holds.
    QVERIFY(!viewOf(box));
    keys({{Qt::Key_A, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}}).simulate(&box);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void TextBoxTest::theStandInsOwnCharacterTypedAfterAMarkerStaysItself_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selected");
    QTest::newRow("after U+FDD0") << QStringLiteral("a\uFDD0") << 0;
    QTest::newRow("over a selection that starts after U+FDD1") << QStringLiteral("a\uFDD1bc") << 2;
}

void TextBoxTest::theStandInsOwnCharacterTypedAfterAMarkerStaysItself()
{
    // U+FDD0 and U+FDD1 are held as U+FDD2 in a format of their own, which the editor gives to
    // what is typed right after them. An input method types U+FDD2 itself.
    QFETCH(QString, text);
    QFETCH(int, selected);
    TextBox box;
    box.setText(text);
    QTest::keyClick(&box, Qt::Key_End);
    for (int i = 0; i < selected; ++i)
        QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier);
    const QString typed = QStringLiteral("\uFDD2x\uFDD2");
    QInputMethodEvent committed;
    committed.setCommitString(typed);
    QApplication::sendEvent(&box, &committed);
    QCOMPARE(box.text(), text.left(text.size() - selected) + typed);
    box.undo();
    QCOMPARE(box.text(), text);
}

void TextBoxTest::aParagraphSeparatorEndsALineInBothViews()
{
    // The caret moves by lines in the large-text view, and the first edit lands where it is.
    const QString text = largeLines(QStringLiteral("\u2029"));
    const qsizetype secondLineEnd =
        text.indexOf(QChar::ParagraphSeparator, text.indexOf(QChar::ParagraphSeparator) + 1);
    TextBox box;
    box.setText(text);
    QVERIFY(viewOf(box));
    keys({{Qt::Key_Down, none}, {Qt::Key_End, none}}).simulate(&box);
    QCOMPARE(viewOf(box)->position(), secondLineEnd);
    QTest::keyClicks(&box, QStringLiteral("Z"));
    QVERIFY(!viewOf(box));
    QCOMPARE(box.textCursor().blockNumber(), 1);
    QCOMPARE(box.text(), QString(text).insert(secondLineEnd, u'Z'));
}

void TextBoxTest::aMouseDragSelects()
{
    const QString text = mixedLines(TextBox::largeTextLength);
    TextBox box;
    // Wide enough that the pointer past a line's end stays over the text in any system's font.
    box.resize(600, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setText(text);
    LargeTextView *view = viewOf(box);
    // Where the keys put the caret tells where the mouse must go for the same places.
    keys({{Qt::Key_Down, none}}).simulate(&box);
    const QPoint lineStart = view->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    keys({{Qt::Key_Down, none}, {Qt::Key_Down, none}, {Qt::Key_End, none}}).simulate(&box);
    const QPoint lineEnd = view->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    keys({{Qt::Key_Home, Qt::ControlModifier}}).simulate(&box);

    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, lineStart);
    QCOMPARE(box.focusWidget(), &box);
    QTest::mouseMove(view->viewport(), lineEnd + QPoint(30, 0));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, lineEnd + QPoint(30, 0));
    QCOMPARE(view->anchor(), offsetOf(text, 1, 0));
    QCOMPARE(view->position(), offsetOf(text, 4, 0) - 2);
}

void TextBoxTest::theWidestLineSetsTheHorizontalRange()
{
    const QString wide(3000, u'W');
    const QString text =
        mixedLines(1000) + wide + QStringLiteral("\r\n") + mixedLines(TextBox::largeTextLength);
    TextBox box;
    box.resize(400, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setText(text);
    const LargeTextView *view = viewOf(box);
    const int wideWidth = box.fontMetrics().horizontalAdvance(wide);
    QVERIFY(view->horizontalScrollBar()->maximum() >= wideWidth - view->viewport()->width());

    // The caret at the end of the wide line brings its end into view.
    int wideLine = 0;
    while (text.mid(offsetOf(text, wideLine, 0), 4) != u"WWWW")
        ++wideLine;
    for (int line = 0; line < wideLine; ++line)
        QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_End);
    QVERIFY(view->horizontalScrollBar()->value() >= wideWidth - box.width());
}

QTEST_MAIN(TextBoxTest)
#include "tst_textbox.moc"
