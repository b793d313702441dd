#include "LibraryDesk.h"
#include "library/TextFileLoader.h"
#include "mock/ProcessLimits.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/TextBox.h"

#include <QLabel>
#include <QMenu>
#include <QtTest>
#include <optional>

namespace
{

// Records every width the progress bar takes while it is visible.
class BarWidths : public QObject
{
public:
    explicit BarWidths(QLabel *bar) : m_bar(bar) { bar->installEventFilter(this); }
    QList<int> widths;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_bar && event->type() == QEvent::Resize && m_bar->isVisible())
            widths << m_bar->width();
        return false;
    }

private:
    QLabel *m_bar;
};

} // namespace

class ViewerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void aLeftPressShowsTheFileAsThePaneShowsIt_data();
    void aLeftPressShowsTheFileAsThePaneShowsIt();
    void aRealClickOnADottedNameLoadsItAndCaptionsTheFirstPart();
    void aRightPressOpensThePopUpMenuAndKeepsThePane();
    void aPressWithoutACurrentEntryDoesNothing();
    void aFileRemovedAfterListingIsQuietlyNotShown();
    void theBarGrowsPerChunkAndHidesAtTheEnd();
    void aSmallFileLeavesTheBarAtWidthOne();
    void withoutTheStatusOptionThereIsNoBar();
    void thePathCaptionIsCutToItsWidth();
    void theCaptionsFollowAPressedFileOfTheSameText();
    void aFileThePaneCannotHoldIsRefusedWithAMessage_data();
    void aFileThePaneCannotHoldIsRefusedWithAMessage();

private:
    std::unique_ptr<LibraryDesk> desk;
};

void ViewerTest::init()
{
    desk = std::make_unique<LibraryDesk>();
    desk->window->show();
}

void ViewerTest::cleanup()
{
    desk.reset();
}

void ViewerTest::aLeftPressShowsTheFileAsThePaneShowsIt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("a CR LF b CR LF shows a CR LF b") << QByteArray("a\r\nb\r\n") << "a\r\nb";
    QTest::newRow("line feeds alone stay in one line") << QByteArray("a\nb\n") << "a\nb\n";
    QTest::newRow("a file without a final line end shows whole")
        << QByteArray("a\r\nb") << "a\r\nb";
    QTest::newRow("a lone CR ends a line") << QByteArray("a\rb") << "a\r\nb";
    QTest::newRow("a file from a Japanese system reads as code page 932")
        << QByteArray("\x83\x81\x83\x82\r\n") << "メモ";
}

void ViewerTest::aLeftPressShowsTheFileAsThePaneShowsIt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    desk->write(QStringLiteral("memo.txt"), bytes);
    desk->load(QStringLiteral("memo.txt"));
    QCOMPARE(desk->window->txtText->text(), text);
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("memo"));
    QCOMPARE(desk->window->CurrentFile, desk->folder + QStringLiteral("memo.txt"));
    QVERIFY(!desk->window->lblSts->isVisible());
}

void ViewerTest::aRealClickOnADottedNameLoadsItAndCaptionsTheFirstPart()
{
    desk->write(QStringLiteral("a.b.txt"), "内容\r\n");
    desk->window->flbText->refresh();
    FileList *list = desk->window->flbText;
    list->resize(200, 100);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("a"));
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("内容"));
    QCOMPARE(list->cursor().shape(), Qt::ArrowCursor);
}

void ViewerTest::aRightPressOpensThePopUpMenuAndKeepsThePane()
{
    desk->write(QStringLiteral("memo.txt"), "x\r\n");
    desk->window->txtText->setText(QStringLiteral("kept"));
    desk->choose(QStringLiteral("memo.txt"));
    desk->window->flbText_MouseDown(2);
    QVERIFY(desk->window->pop->isVisible());
    desk->window->pop->hide();
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("memo"));
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("kept"));
}

void ViewerTest::aPressWithoutACurrentEntryDoesNothing()
{
    desk->window->lblST[0]->setText(QStringLiteral("before"));
    for (int button : {1, 2}) {
        desk->window->flbText_MouseDown(button);
        QVERIFY(!desk->window->pop->isVisible());
        QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("before"));
    }
}

void ViewerTest::aFileRemovedAfterListingIsQuietlyNotShown()
{
    desk->write(QStringLiteral("gone.txt"), "x\r\n");
    desk->window->txtText->setText(QStringLiteral("previous"));
    desk->choose(QStringLiteral("gone.txt"));
    QFile::remove(desk->folder + QStringLiteral("gone.txt"));
    desk->window->flbText_MouseDown(1);
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("gone"));
    QCOMPARE(desk->window->CurrentFile, desk->folder + QStringLiteral("gone.txt"));
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("previous"));
    QVERIFY(desk->dialogs().asked.isEmpty());
    QVERIFY(!desk->window->lblSts->isVisible());
    QCOMPARE(desk->window->flbText->cursor().shape(), Qt::ArrowCursor);
}

void ViewerTest::theBarGrowsPerChunkAndHidesAtTheEnd()
{
    const qint64 length = 3 * readChunkSize;
    QByteArray bytes(length, 'a');
    for (qint64 at = 100; at < length; at += 100)
        bytes[at - 2] = '\r', bytes[at - 1] = '\n';
    desk->write(QStringLiteral("big.txt"), bytes);
    BarWidths bar(desk->window->lblSts);
    desk->load(QStringLiteral("big.txt"));
    const int fullWidth = desk->window->imgSt->width() - 5;
    const QList<int> perChunk = {qRound(fullWidth / 3.0), qRound(fullWidth * 2 / 3.0), fullWidth};
    QCOMPARE(bar.widths.mid(bar.widths.size() - 3), perChunk);
    QVERIFY(bar.widths.size() == 3 || bar.widths.first() == 1);
    QCOMPARE(desk->window->lblSts->pos(), desk->window->imgSt->pos() + QPoint(2, 2));
    QVERIFY(!desk->window->lblSts->isVisible());
    QCOMPARE(desk->window->txtText->text().size(), length);
}

void ViewerTest::aSmallFileLeavesTheBarAtWidthOne()
{
    desk->write(QStringLiteral("small.txt"), "one\r\ntwo\r\nthree\r\n");
    desk->window->lblSts->resize(50, desk->window->lblSts->height());
    BarWidths bar(desk->window->lblSts);
    desk->load(QStringLiteral("small.txt"));
    QCOMPARE(desk->window->lblSts->width(), 1);
    QCOMPARE(bar.widths.count(1), bar.widths.size());
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("one\r\ntwo\r\nthree"));
}

void ViewerTest::withoutTheStatusOptionThereIsNoBar()
{
    desk->state().Settings[9] = 0;
    desk->write(QStringLiteral("big.txt"), QByteArray(2 * readChunkSize, 'b'));
    BarWidths bar(desk->window->lblSts);
    desk->window->lblSts->show();
    desk->load(QStringLiteral("big.txt"));
    QVERIFY(bar.widths.isEmpty());
    QVERIFY(!desk->window->lblSts->isVisible());
    QCOMPARE(desk->window->txtText->text().size(), 2 * readChunkSize);
}

void ViewerTest::thePathCaptionIsCutToItsWidth()
{
    desk->write(QStringLiteral("an entry with a long name.txt"), "x\r\n");
    desk->write(QStringLiteral("empty.txt"), "");
    QLabel *caption = desk->window->lblST[1];
    caption->resize(100, caption->height());
    desk->load(QStringLiteral("an entry with a long name.txt"));
    const QString path = desk->folder + QStringLiteral("an entry with a long name.txt");
    QCOMPARE(caption->text(), path.left(16));
    caption->resize(4000, caption->height());
    desk->window->txtText_Change();
    QCOMPARE(caption->text(), path);
    desk->load(QStringLiteral("empty.txt"));
    QVERIFY(desk->window->txtText->isEmpty());
    QCOMPARE(caption->text(), QString());

    // A cut inside a surrogate pair leaves the whole character out.
    const QString emoji = QStringLiteral("ab\U0001F600.txt");
    desk->write(emoji, "x\r\n");
    const qsizetype highHalf = (desk->folder + emoji).indexOf(QChar::highSurrogate(0x1F600));
    caption->resize(int(6 * (highHalf + 1) + 4), caption->height());
    desk->load(emoji);
    QCOMPARE(caption->text(), (desk->folder + emoji).left(highHalf));
}

void ViewerTest::theCaptionsFollowAPressedFileOfTheSameText()
{
    desk->write(QStringLiteral("first.txt"), "same\r\n");
    desk->write(QStringLiteral("second.txt"), "same\r\n");
    desk->window->lblST[1]->resize(4000, desk->window->lblST[1]->height());
    desk->load(QStringLiteral("first.txt"));
    desk->load(QStringLiteral("second.txt"));
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("second"));
    QCOMPARE(desk->window->lblST[1]->text(), desk->folder + QStringLiteral("second.txt"));
}

void ViewerTest::aFileThePaneCannotHoldIsRefusedWithAMessage_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("littleMemory");
    QTest::newRow("a file above 256 MB is refused before it is read")
        << (qint64(256) << 20) + 1 << false;
    QTest::newRow("a file the memory cannot take is refused when its allocation fails")
        << (qint64(64) << 20) << true;
}

void ViewerTest::aFileThePaneCannotHoldIsRefusedWithAMessage()
{
    QFETCH(qint64, size);
    QFETCH(bool, littleMemory);
#ifdef QUILLBOX_ADDRESS_SANITIZER
    if (littleMemory)
        QSKIP("The address sanitizer ends the process on a failed allocation instead of throwing.");
#endif
    if (littleMemory && !AddressSpaceLimit::isAvailable())
        QSKIP("This system sets no address-space limit on a process to stand in for little "
              "memory.");
    // A sparse file: as large as it says, without taking the disk.
    QFile big(desk->folder + QStringLiteral("big.txt"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(size));
    big.close();
    desk->window->txtText->setText(QStringLiteral("before"));
    desk->choose(QStringLiteral("big.txt"));
    {
        std::optional<AddressSpaceLimit> limit;
        if (littleMemory)
            limit.emplace(quint64(16) << 20);
        desk->window->flbText_MouseDown(1);
    }
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("before"));
    QCOMPARE(desk->dialogs().asked.size(), 1);
    const ScriptedDialogs::Asked warning = desk->dialogs().asked.first();
    QCOMPARE(warning.style, 48);
    QCOMPARE(warning.title, QStringLiteral("警告"));
    QVERIFY(warning.text.contains(QStringLiteral("big.txt")));
    QVERIFY(!desk->window->lblSts->isVisible());
    QCOMPARE(desk->window->flbText->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
