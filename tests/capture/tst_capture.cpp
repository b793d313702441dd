#include "capture/ClipboardLook.h"
#include "mock/ProcessLimits.h"
#include "mock/TestPlatform.h"
#include "mock/Wine.h"
#include "ui/frmClip.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

class CaptureTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void aNewTextBecomesAFileNamedAfterItsFirstLine_data();
    void aNewTextBecomesAFileNamedAfterItsFirstLine();
    void theSameTextAgainIsNotCaptured();
    void dataWithoutTextIsNotCaptured_data();
    void dataWithoutTextIsNotCaptured();
    void theProgramsOwnCopyIsNotCapturedAgain();
    void theEmptyTextAfterAnotherGivesTheBareExtension();
    void aTakenNameIsNumberedOn();
    void theFallbackNameGoesOnCounting_data();
    void theFallbackNameGoesOnCounting();
    void passingTheLargestCounterEndsTheTick();
    void aVanishedFolderEndsTheTickQuietly();
    void aTrimmedTextIsTriedAgainWhileTheFailureLasts();
    void aFullDiskLeavesNoFileBehind();
    void aLengthThatCannotServeAsACountEndsTheTick();
    void aReportedChangeRunsTheTickAtOnceWhileReading();
    void withoutReportsTheTimerAloneCaptures();
    void readingStates_data();
    void readingStates();
    void stoppingAndStartingKeepsTheTextSeenLast();
    void aCopyWhileABoxOrMenuIsOpenIsCapturedOnceItCloses_data();
    void aCopyWhileABoxOrMenuIsOpenIsCapturedOnceItCloses();
    void theUpArrowLengthensTheName();

private:
    void capture(const QString &text);
    QStringList entries() const;
    QByteArray contents(const QString &name) const;
    void makeFile(const QString &name) const;

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
    std::unique_ptr<QTemporaryDir> captures;
};

void CaptureTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
    window->Form_Load();
    captures = std::make_unique<QTemporaryDir>();
    desktop->state.FolderPath = withTrailingSeparator(QDir::toNativeSeparators(captures->path()));
    window->flbText->setPath(desktop->state.FolderPath);
    window->cmdStart_Click();
    QVERIFY(window->Reading);
    // The tick that switching on queues (the clipboard was emptied) runs now, not in a test.
    QCoreApplication::processEvents();
}

void CaptureTest::cleanup()
{
    window.reset();
    desktop.reset();
    captures.reset();
}

void CaptureTest::capture(const QString &text)
{
    desktop->clipboard.setText(text);
    window->Timer1_Timer();
}

QStringList CaptureTest::entries() const
{
    return QDir(captures->path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}

QByteArray CaptureTest::contents(const QString &name) const
{
    QFile file(captures->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void CaptureTest::makeFile(const QString &name) const
{
    QFile file(captures->filePath(name));
    QVERIFY(file.open(QIODevice::NewOnly));
}

void CaptureTest::aNewTextBecomesAFileNamedAfterItsFirstLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("one line") << "memo"
                              << "memo.txt" << QByteArray("memo\r\n");
    QTest::newRow("a leading blank is trimmed off the name and the file")
        << " memo"
        << "memo.txt" << QByteArray("memo\r\n");
    QTest::newRow("line breaks inside are written as they came")
        << "abc\r\ndef\nghi"
        << "abc.txt" << QByteArray("abc\r\ndef\nghi\r\n");
    QTest::newRow("blanks only give the placeholder, in the name and the file")
        << "   "
        << "Space-------.txt" << QByteArray("Space-------\r\n");
    QTest::newRow("Japanese is written in the system code page")
        << QStringLiteral("会議メモ\r\n本文") << QStringLiteral("会議メモ.txt")
        << QStringLiteral("会議メモ\r\n本文\r\n").toUtf8();
    QTest::newRow("a name of dots stays a file in the folder") << ".."
                                                               << "...txt" << QByteArray("..\r\n");
    QTest::newRow("a text beginning with a dot gives a hidden file, listed like any other")
        << ".env\nKEY=1"
        << ".env.txt" << QByteArray(".env\nKEY=1\r\n");
    QTest::newRow("an emoji cut in two by the length is left out of the name")
        << QStringLiteral("abcdefghijk\U0001F600") << QStringLiteral("abcdefghijk.txt")
        << QStringLiteral("abcdefghijk\U0001F600\r\n").toUtf8();
    QTest::newRow("a slash in the first line gives the fallback name")
        << "../../escape"
        << "NoName.txt" << QByteArray("../../escape\r\n");
    QTest::newRow("a backslash gives the fallback name") << "a\\b"
                                                         << "NoName.txt" << QByteArray("a\\b\r\n");
    QTest::newRow("a character Windows refuses gives the fallback name")
        << "what?"
        << "NoName.txt" << QByteArray("what?\r\n");
    QTest::newRow("a tab gives the fallback name") << "a\tb"
                                                   << "NoName.txt" << QByteArray("a\tb\r\n");
    QTest::newRow("a device name in any case gives the fallback name")
        << "Con"
        << "NoName.txt" << QByteArray("Con\r\n");
    QTest::newRow("the lone line feed of CR LF gives the fallback name")
        << "\r\n"
        << "NoName.txt" << QByteArray("\n\r\n");
}

void CaptureTest::aNewTextBecomesAFileNamedAfterItsFirstLine()
{
    QFETCH(QString, text);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    capture(text);
    QCOMPARE(entries(), QStringList{file});
    QCOMPARE(contents(file), bytes);
    QCOMPARE(window->txtText->text(), text);
    QCOMPARE(window->LastClipText, text);
    QCOMPARE(window->CurrentFile, desktop->state.FolderPath + file);
    QCOMPARE(window->flbText->count(), 1);
    QCOMPARE(window->flbText->entry(0), file);
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void CaptureTest::theSameTextAgainIsNotCaptured()
{
    capture(QStringLiteral("memo"));
    window->txtText->setText(QStringLiteral("edited"));
    capture(QStringLiteral("memo"));
    window->Timer1_Timer();
    QCOMPARE(entries(), QStringList{QStringLiteral("memo.txt")});
    QCOMPARE(window->txtText->text(), QStringLiteral("edited"));
}

void CaptureTest::dataWithoutTextIsNotCaptured_data()
{
    QTest::addColumn<bool>("secret");
    QTest::newRow("an image") << false;
    QTest::newRow("a text a password manager marks as secret") << true;
}

void CaptureTest::dataWithoutTextIsNotCaptured()
{
    QFETCH(bool, secret);
    window->LastClipText = QStringLiteral("seen");
    auto *data = new QMimeData;
    if (secret) {
        data->setText(QStringLiteral("hunter2"));
        data->setData(QStringLiteral("x-kde-passwordManagerHint"), "secret");
    } else {
        data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    }
    QGuiApplication::clipboard()->setMimeData(data);
    window->Timer1_Timer();
    QCoreApplication::processEvents();
    QCOMPARE(entries(), QStringList());
    QCOMPARE(window->txtText->text(), QString());
    QCOMPARE(window->LastClipText, QStringLiteral("seen"));
}

void CaptureTest::theProgramsOwnCopyIsNotCapturedAgain()
{
    const QString text = QStringLiteral("from the pane");
    window->LastClipText = text;
    desktop->clipboard.clear();
    desktop->clipboard.setText(text);
    window->Timer1_Timer();
    QCoreApplication::processEvents();
    QCOMPARE(entries(), QStringList());
    capture(QStringLiteral("copied elsewhere"));
    QCOMPARE(entries(), QStringList{QStringLiteral("copied elsew.txt")});
}

void CaptureTest::theEmptyTextAfterAnotherGivesTheBareExtension()
{
    capture(QStringLiteral("memo"));
    capture(QString());
    QCOMPARE(entries(), (QStringList{QStringLiteral(".txt"), QStringLiteral("memo.txt")}));
    QCOMPARE(contents(QStringLiteral(".txt")), QByteArray("\r\n"));
    QCOMPARE(window->flbText->count(), 2);
}

void CaptureTest::aTakenNameIsNumberedOn()
{
    // A directory of the name is no file to the existence test, yet the name is taken.
    QVERIFY(QDir(captures->path()).mkdir(QStringLiteral("memo 1.txt")));
    capture(QStringLiteral("memo\r\none"));
    capture(QStringLiteral("memo\r\ntwo"));
    capture(QStringLiteral("memo\r\nthree"));
    QCOMPARE(entries(), (QStringList{QStringLiteral("memo 1.txt"), QStringLiteral("memo 2.txt"),
                                     QStringLiteral("memo 3.txt"), QStringLiteral("memo.txt")}));
    QCOMPARE(contents(QStringLiteral("memo 3.txt")), QByteArray("memo\r\nthree\r\n"));
}

void CaptureTest::theFallbackNameGoesOnCounting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("taken");
    QTest::addColumn<int>("noNamesTaken");
    QTest::addColumn<QString>("file");
    // 249 bytes fit with one digit of numbering, not with two: the name fails at "x 10.txt".
    const QString longName(249, u'x');
    QTest::newRow("a refused name takes the first free fallback")
        << "a/b" << 0 << 2 << "NoName 2.txt";
    QTest::newRow("after ten numbered tries the fallback is tried bare first")
        << longName << 10 << 0 << "NoName.txt";
    QTest::newRow("after ten numbered tries the fallback counter goes on from ten")
        << longName << 10 << 1 << "NoName 11.txt";
}

void CaptureTest::theFallbackNameGoesOnCounting()
{
    QFETCH(QString, text);
    QFETCH(int, taken);
    QFETCH(int, noNamesTaken);
    QFETCH(QString, file);
    desktop->state.Settings[10] = float(text.size());
    for (int i = 0; i < taken; ++i)
        makeFile(i == 0 ? text + QStringLiteral(".txt")
                        : QStringLiteral("%1 %2.txt").arg(text).arg(i));
    for (int i = 0; i < noNamesTaken; ++i)
        makeFile(i == 0 ? QStringLiteral("NoName.txt") : QStringLiteral("NoName %1.txt").arg(i));
    capture(text);
    QCOMPARE(contents(file), (text + QStringLiteral("\r\n")).toUtf8());
    QCOMPARE(entries().size(), taken + noNamesTaken + 1);
}

void CaptureTest::passingTheLargestCounterEndsTheTick()
{
    if (runsUnderWine())
        QSKIP("Wine takes many minutes for 32,768 files in one folder: the Linux run checks this.");
    makeFile(QStringLiteral("m.txt"));
    for (int i = 1; i <= 32767; ++i)
        makeFile(QStringLiteral("m %1.txt").arg(i));
    capture(QStringLiteral("m"));
    QCOMPARE(entries().size(), 32768);
    QCOMPARE(window->txtText->text(), QStringLiteral("m"));
    QCOMPARE(window->CurrentFile, desktop->state.FolderPath + QStringLiteral("m 32767.txt"));
}

void CaptureTest::aVanishedFolderEndsTheTickQuietly()
{
    QVERIFY(captures->remove());
    capture(QStringLiteral("memo"));
    QVERIFY(!QFileInfo::exists(captures->path()));
    QVERIFY(desktop->dialogs.asked.isEmpty());
    QCOMPARE(window->txtText->text(), QStringLiteral("memo"));
    // The text is lost as a capture: the next tick sees no change.
    QVERIFY(QDir().mkpath(captures->path()));
    window->Timer1_Timer();
    QCOMPARE(entries(), QStringList());
}

void CaptureTest::aTrimmedTextIsTriedAgainWhileTheFailureLasts()
{
    QVERIFY(captures->remove());
    capture(QStringLiteral("  memo"));
    QCOMPARE(window->LastClipText, QStringLiteral("memo"));
    QVERIFY(QDir().mkpath(captures->path()));
    window->Timer1_Timer();
    QCOMPARE(entries(), QStringList{QStringLiteral("memo.txt")});
    QCOMPARE(window->LastClipText, QStringLiteral("  memo"));
}

void CaptureTest::aFullDiskLeavesNoFileBehind()
{
    // A file-size limit stands in for a full disk: the write fails part way.
    if (!FileSizeLimit::isAvailable())
        QSKIP("This system sets no file-size limit on a process to stand in for a full disk.");
    {
        const FileSizeLimit small(4096);
        capture(QStringLiteral("big\r\n") + QString(100000, u'x'));
    }
    QCOMPARE(entries(), QStringList());
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void CaptureTest::aLengthThatCannotServeAsACountEndsTheTick()
{
    desktop->state.Settings[10] = -1;
    capture(QStringLiteral("memo"));
    QCOMPARE(entries(), QStringList());
    QCOMPARE(window->txtText->text(), QStringLiteral("memo"));
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void CaptureTest::aReportedChangeRunsTheTickAtOnceWhileReading()
{
    window->Timer1->setInterval(3600 * 1000);
    desktop->clipboard.setText(QStringLiteral("first"));
    QCoreApplication::processEvents();
    QCOMPARE(entries(), QStringList{QStringLiteral("first.txt")});
    desktop->clipboard.setText(QStringLiteral("second"));
    QCoreApplication::processEvents();
    QCOMPARE(entries(), (QStringList{QStringLiteral("first.txt"), QStringLiteral("second.txt")}));

    window->cmdStart_Click();
    desktop->clipboard.setText(QStringLiteral("third"));
    QCoreApplication::processEvents();
    QCOMPARE(entries().size(), 2);
}

void CaptureTest::withoutReportsTheTimerAloneCaptures()
{
    auto *look = window->findChild<ClipboardLook *>();
    QVERIFY(look);
    const QSignalBlocker unreported(look);
    desktop->clipboard.setText(QStringLiteral("memo"));
    QCoreApplication::processEvents();
    QCOMPARE(entries(), QStringList());
    QTRY_COMPARE_WITH_TIMEOUT(entries(), QStringList{QStringLiteral("memo.txt")}, 3000);
}

void CaptureTest::readingStates_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("picture");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("clipboardKept");
    QTest::newRow("on: end-reading picture and captions, clipboard emptied, timer running")
        << true << 0 << QStringLiteral("読込み終了") << false;
    QTest::newRow("off: start-reading picture and captions, clipboard kept, timer stopped")
        << false << 1 << QStringLiteral("読込み開始") << true;
}

void CaptureTest::readingStates()
{
    QFETCH(bool, on);
    QFETCH(int, picture);
    QFETCH(QString, caption);
    QFETCH(bool, clipboardKept);
    window->ApplyReadingState(!on);
    desktop->clipboard.setText(QStringLiteral("before"));
    window->ApplyReadingState(on);
    QCOMPARE(window->Timer1->isActive(), on);
    QCOMPARE(window->cmdStart->icon().pixmap(16).toImage(),
             window->picStart[picture]->pixmap().toImage());
    QCOMPARE(window->cmdStart->toolTip(), caption);
    QCOMPARE(window->mnuStart->text(), caption);
    QCOMPARE(window->mnuStart2->text(), caption);
    QCOMPARE(desktop->clipboard.holdsText(), clipboardKept);
}

void CaptureTest::stoppingAndStartingKeepsTheTextSeenLast()
{
    capture(QStringLiteral("memo"));
    window->mnuStart_Click();
    QVERIFY(!window->Reading);
    window->mnuStart2_Click();
    QVERIFY(window->Reading);
    QCOMPARE(window->LastClipText, QStringLiteral("memo"));
    capture(QStringLiteral("memo"));
    QCOMPARE(entries(), QStringList{QStringLiteral("memo.txt")});
}

void CaptureTest::aCopyWhileABoxOrMenuIsOpenIsCapturedOnceItCloses_data()
{
    QTest::addColumn<QString>("opened");
    // The file the command writes, which must hold the text the command was started on.
    QTest::addColumn<QString>("written");
    QTest::newRow("the rename box, and rename writes the pane as it was") << "rename"
                                                                          << "renamed.txt";
    QTest::newRow("the save-as box, and save as writes the pane as it was") << "save as"
                                                                            << "saved.txt";
    QTest::newRow("the delete question") << "delete" << QString();
    QTest::newRow("the about box") << "about" << QString();
    QTest::newRow("the close question") << "close" << QString();
    QTest::newRow("the file pop-up menu") << "pop" << QString();
    QTest::newRow("the tray menu") << "pop2" << QString();
    QTest::newRow("a menu of the menu bar") << "file menu" << QString();
}

void CaptureTest::aCopyWhileABoxOrMenuIsOpenIsCapturedOnceItCloses()
{
    QFETCH(QString, opened);
    QFETCH(QString, written);
    QFile memo(captures->filePath(QStringLiteral("memo.txt")));
    QVERIFY(memo.open(QIODevice::WriteOnly) && memo.write("started on\r\n") > 0);
    memo.close();
    window->flbText->refresh();
    window->flbText->setCurrentRow(0);
    window->flbText_MouseDown(1);
    QCOMPARE(window->txtText->text(), QStringLiteral("started on"));
    const QStringList before = entries();

    const QString copied = QStringLiteral("copied meanwhile");
    QString paneWhileOpen;
    QStringList entriesWhileOpen;
    const auto copyWhileOpen = [&] {
        desktop->clipboard.setText(copied);
        QCoreApplication::processEvents();
        window->Timer1_Timer();
        paneWhileOpen = window->txtText->text();
        entriesWhileOpen = entries();
    };
    desktop->dialogs.whileOpen = [&](const ScriptedDialogs::Asked &) { copyWhileOpen(); };
    desktop->dialogs.nextAnswers = {written};
    if (opened == QStringLiteral("rename")) {
        window->mnuRename_Click();
    } else if (opened == QStringLiteral("save as")) {
        window->mnuName_Click();
    } else if (opened == QStringLiteral("delete")) {
        window->DeleteFile_Click();
    } else if (opened == QStringLiteral("about")) {
        window->mnuVer_Click();
    } else if (opened == QStringLiteral("close")) {
        int cancel = 0;
        window->Form_QueryUnload(cancel, 0);
    } else {
        QMenu *menu = opened == QStringLiteral("pop")    ? window->pop
                      : opened == QStringLiteral("pop2") ? window->pop2
                                                         : window->mnuFile;
        menu->popup(window->mapToGlobal(QPoint(10, 10)));
        QVERIFY(menu->isVisible());
        copyWhileOpen();
        menu->hide();
    }
    QCOMPARE(paneWhileOpen, QStringLiteral("started on"));
    QCOMPARE(entriesWhileOpen, before);
    if (!written.isEmpty())
        QCOMPARE(contents(written), QByteArray("started on\r\n"));

    QCoreApplication::processEvents();
    QCOMPARE(window->txtText->text(), copied);
    QCOMPARE(contents(QStringLiteral("copied meanw.txt")), QByteArray("copied meanwhile\r\n"));
}

void CaptureTest::theUpArrowLengthensTheName()
{
    QScrollBar *bar = window->vscNameLen;
    QCOMPARE(bar->value(), 12);
    const QRect box = bar->rect();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(box.center().x(), 1));
    QCOMPARE(bar->value(), 13);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(box.center().x(), box.bottom() - 1));
    QCOMPARE(bar->value(), 12);
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Up);
    QCOMPARE(bar->value(), 13);
    QWheelEvent wheelUp(QPointF(box.center()), bar->mapToGlobal(QPointF(box.center())), QPoint(),
                        QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheelUp);
    QCOMPARE(bar->value(), 14);
    bar->setValue(20);
    QCOMPARE(window->txtNameLen->text(), QStringLiteral("20"));
    QCOMPARE(desktop->state.Settings[10], 20.0f);
    capture(QStringLiteral("Meeting notes for Monday"));
    QCOMPARE(entries(), QStringList{QStringLiteral("Meeting notes for Mo.txt")});
}

QTEST_MAIN(CaptureTest)
#include "tst_capture.moc"
