// The pointer events go through the window, as the desktop delivers them, so that the handle's
// hold on the pointer between press and release is what is tested.
#define QTEST_QPA_MOUSE_HANDLING

#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/SplitterBar.h"
#include "ui/widgets/TextBox.h"

#include <QFile>
#include <QtTest>

class SplittersTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void dragging_data();
    void dragging();
    void pressAndReleaseWithoutAMoveLeavesTheSplitterWhereItWas();
    void movingOverAHandleWithoutAButtonChangesNothing();
    void theFirstReleaseOfTwoButtonsEndsTheDrag();
    void aDragWritesNothingToTheSettingsFile();

private:
    QList<QRect> contentGeometry() const;

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
};

void SplittersTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The worked example's 400 x 300 window: the limits are 80 to 320 and 60 to 240.
    window->resize(window->width() + 392 - window->client->width(),
                   window->height() + 254 - window->client->height());
    QTRY_COMPARE(window->client->size(), QSize(392, 254));
    window->picSS->setLeft(150);
    window->picSS1->setTop(120);
    window->ArrangeControls();
}

void SplittersTest::cleanup()
{
    window.reset();
    desktop.reset();
}

QList<QRect> SplittersTest::contentGeometry() const
{
    return {window->dirText->geometry(), window->flbText->geometry(), window->txtText->geometry(),
            window->imgSS->geometry(), window->imgSS1->geometry()};
}

void SplittersTest::dragging_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<float>("position");
    QTest::newRow("the column splitter follows the pointer over the text pane")
        << true << QPoint(250, 100) << 250.0f;
    QTest::newRow("the column splitter stops at 80 on the left")
        << true << QPoint(20, 100) << 80.0f;
    QTest::newRow("the column splitter stops 80 short of the right edge")
        << true << QPoint(390, 100) << 320.0f;
    QTest::newRow("released far left of the window") << true << QPoint(-600, 100) << 80.0f;
    QTest::newRow("released far right of the window") << true << QPoint(3000, -50) << 320.0f;
    QTest::newRow("the folder splitter follows the pointer over the file list")
        << false << QPoint(60, 180) << 180.0f;
    QTest::newRow("the folder splitter stops at 60 at the top") << false << QPoint(60, 10) << 60.0f;
    QTest::newRow("the folder splitter stops 60 short of the bottom edge")
        << false << QPoint(60, 250) << 240.0f;
    QTest::newRow("released far below the window") << false << QPoint(900, 2000) << 240.0f;
    QTest::newRow("released far above the window") << false << QPoint(-40, -900) << 60.0f;
}

void SplittersTest::dragging()
{
    QFETCH(bool, vertical);
    QFETCH(QPoint, target);
    QFETCH(float, position);
    ImageArea *handle = vertical ? window->imgSS : window->imgSS1;
    SplitterBar *bar = vertical ? window->picSS : window->picSS1;
    SplitterBar *other = vertical ? window->picSS1 : window->picSS;
    const float otherPosition = vertical ? other->top() : other->left();
    const QList<QRect> before = contentGeometry();
    QVERIFY(!bar->isVisible());

    QTest::mousePress(handle, Qt::LeftButton, {}, handle->rect().center());
    QVERIFY(bar->isVisible());
    QTest::mouseMove(handle, target - handle->pos());
    QVERIFY(bar->isVisible());
    QCOMPARE(vertical ? bar->left() : bar->top(), position);
    // Only the bar moves while the button is held, and it is drawn above the lists and the pane.
    QCOMPARE(contentGeometry(), before);
    const QPoint onBar = bar->geometry().center();
    QCOMPARE(window->client->childAt(onBar), bar);

    QTest::mouseRelease(handle, Qt::LeftButton, {}, target - handle->pos());
    QVERIFY(!bar->isVisible());
    QVERIFY(!other->isVisible());
    QCOMPARE(vertical ? other->top() : other->left(), otherPosition);
    QVERIFY(!window->DragSS);
    QCOMPARE(window->DragSS1, qint16(0));
    if (vertical) {
        QCOMPARE(window->imgSS->x(), int(position));
        QCOMPARE(window->dirText->width(), int(position));
        QCOMPARE(window->txtText->x(), int(position) + 3);
        QCOMPARE(window->txtText->geometry().right() + 1, 392);
    } else {
        QCOMPARE(window->dirText->height(), int(position) - 40);
        QCOMPARE(window->imgSS1->y(), int(position));
        QCOMPARE(window->flbText->y(), int(position) + 4);
    }
}

void SplittersTest::pressAndReleaseWithoutAMoveLeavesTheSplitterWhereItWas()
{
    // The option changed without a layout: the release lays the window out again.
    desktop->state.Settings[9] = -1;
    QVERIFY(!window->imgSt->isVisible());
    const QList<QRect> before = contentGeometry();

    QTest::mouseClick(window->imgSS, Qt::LeftButton, {}, QPoint(1, 30));
    QCOMPARE(window->picSS->left(), 150.0f);
    QVERIFY(!window->picSS->isVisible());
    QVERIFY(window->imgSt->isVisible());
    QCOMPARE(window->txtText->geometry(), before[2]);

    QTest::mouseClick(window->imgSS1, Qt::RightButton, {}, QPoint(40, 2));
    QCOMPARE(window->picSS1->top(), 120.0f);
    QVERIFY(!window->picSS1->isVisible());
    QCOMPARE(window->dirText->geometry(), before[0]);
}

void SplittersTest::movingOverAHandleWithoutAButtonChangesNothing()
{
    for (ImageArea *handle : {window->imgSS, window->imgSS1}) {
        QTest::mouseMove(handle, handle->rect().center());
        QTest::mouseMove(handle, handle->rect().center() + QPoint(1, 1));
    }
    QVERIFY(!window->picSS->isVisible());
    QVERIFY(!window->picSS1->isVisible());
    QCOMPARE(window->picSS->left(), 150.0f);
    QCOMPARE(window->picSS1->top(), 120.0f);
}

void SplittersTest::theFirstReleaseOfTwoButtonsEndsTheDrag()
{
    ImageArea *handle = window->imgSS;
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 30));
    QTest::mousePress(handle, Qt::RightButton, {}, QPoint(1, 30));
    QVERIFY(window->DragSS);
    QTest::mouseMove(handle, QPoint(201 - handle->x(), 30));
    QCOMPARE(window->picSS->left(), 201.0f);

    QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(201 - handle->x(), 30));
    QVERIFY(!window->DragSS);
    QVERIFY(!window->picSS->isVisible());
    QCOMPARE(window->txtText->x(), 204);
    // The left button is still down, but the drag is over.
    QTest::mouseMove(window->txtText, QPoint(50, 30));
    QCOMPARE(window->picSS->left(), 201.0f);
    QTest::mouseRelease(window->txtText, Qt::LeftButton, {}, QPoint(50, 30));
    QCOMPARE(window->picSS->left(), 201.0f);
}

void SplittersTest::aDragWritesNothingToTheSettingsFile()
{
    const QString path = desktop->folder.filePath(QStringLiteral("ClipSet.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray stored = "30\r\n";
    file.write(stored);
    file.close();
    const auto settings = desktop->state.Settings;

    QTest::mousePress(window->imgSS, Qt::LeftButton, {}, QPoint(1, 30));
    QTest::mouseMove(window->imgSS, QPoint(100, 30));
    QTest::mouseRelease(window->imgSS, Qt::LeftButton, {}, QPoint(100, 30));
    QTest::mousePress(window->imgSS1, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseMove(window->imgSS1, QPoint(10, 50));
    QTest::mouseRelease(window->imgSS1, Qt::LeftButton, {}, QPoint(10, 50));

    QCOMPARE(window->picSS->left(), 250.0f);
    QCOMPARE(window->picSS1->top(), 170.0f);
    QCOMPARE(desktop->state.Settings, settings);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stored);
    QCOMPARE(QDir(desktop->folder.path()).entryList(QDir::Files), QStringList{"ClipSet.ini"});
}

QTEST_MAIN(SplittersTest)
#include "tst_splitters.moc"
