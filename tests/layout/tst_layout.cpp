#include "mock/TestPlatform.h"
#include "ui/LayoutGeometry.h"
#include "ui/frmClip.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/LineControl.h"
#include "ui/widgets/SplitterBar.h"
#include "ui/widgets/TextBox.h"

#include <QLabel>
#include <QScrollBar>
#include <QtTest>
#include <cmath>

class LayoutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void theWindowIsLaidOutAsTheWorkedExample_data();
    void theWindowIsLaidOutAsTheWorkedExample();
    void togglingTheReadingStateRearrangesAtOnce();
    void theWindowKeepsItsLeastSize_data();
    void theWindowKeepsItsLeastSize();
    void shrinkingHoldsTheSplittersAndGrowingLeavesThem();
    void minimizingChangesNoControl();
    void noControlReachesPastTheClientArea_data();
    void noControlReachesPastTheClientArea();
    void aHiddenWindowIsLaidOutForItsNewSize();
    void theOuterRectangleComesBackAsItWasSet_data();
    void theOuterRectangleComesBackAsItWasSet();

private:
    void showWithClient(const QSize &size);
    void setClient(const QSize &size);

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
};

void LayoutTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
}

void LayoutTest::cleanup()
{
    window.reset();
    desktop.reset();
}

void LayoutTest::setClient(const QSize &size)
{
    window->resize(window->width() + size.width() - window->client->width(),
                   window->height() + size.height() - window->client->height());
    QTRY_COMPARE(window->client->size(), size);
}

void LayoutTest::showWithClient(const QSize &size)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    setClient(size);
}

namespace
{

// The content controls with their names, for the checks that hold for all of them.
QList<std::pair<const char *, QWidget *>> contentControls(const frmClip &window)
{
    return {{"dirText", window.dirText},   {"flbText", window.flbText},
            {"imgSt", window.imgSt},       {"imgSS", window.imgSS},
            {"imgSS1", window.imgSS1},     {"txtText", window.txtText},
            {"lblST(0)", window.lblST[0]}, {"lblST(1)", window.lblST[1]},
            {"Line1(0)", window.Line1[0]}, {"Line1(1)", window.Line1[1]}};
}

// Whether two shown controls share a pixel; a control of no height or width covers none.
bool overlap(const QWidget *one, const QWidget *other)
{
    return one->isVisible() && other->isVisible() && !one->geometry().isEmpty() &&
           !other->geometry().isEmpty() && one->geometry().intersects(other->geometry());
}

QList<QRect> geometries(const frmClip &window)
{
    QList<QRect> all;
    for (const auto &[name, control] : contentControls(window))
        all << control->geometry();
    return all;
}

} // namespace

void LayoutTest::theWindowIsLaidOutAsTheWorkedExample_data()
{
    QTest::addColumn<float>("option");
    QTest::addColumn<QRect>("fileList");
    QTest::addColumn<bool>("progressFrameShown");
    QTest::newRow("reading state shown") << -1.0f << QRect(0, 124, 150, 118) << true;
    QTest::newRow("reading state not shown") << 0.0f << QRect(0, 124, 150, 130) << false;
}

void LayoutTest::theWindowIsLaidOutAsTheWorkedExample()
{
    QFETCH(float, option);
    QFETCH(QRect, fileList);
    QFETCH(bool, progressFrameShown);

    // With the design's decoration this client area is the worked example's 400 x 300 window;
    // the pane ends flush with the client area's right and bottom edges.
    showWithClient(QSize(392, 254));
    desktop->state.Settings[9] = option;
    window->picSS->setLeft(150);
    window->picSS1->setTop(120);
    const QRect progressFrameBefore = window->imgSt->geometry();
    window->ArrangeControls();

    QCOMPARE(window->dirText->geometry(), QRect(0, 40, 150, 80));
    QCOMPARE(window->flbText->geometry(), fileList);
    QCOMPARE(window->imgSt->isVisible(), progressFrameShown);
    QCOMPARE(window->imgSt->geometry(),
             progressFrameShown ? QRect(0, 242, 150, 12) : progressFrameBefore);
    QCOMPARE(window->imgSS->geometry(), QRect(150, 40, 3, 214));
    QCOMPARE(window->imgSS1->geometry(), QRect(0, 120, 150, 4));
    QCOMPARE(window->picSS->height(), 214.0f);
    QCOMPARE(window->picSS1->width(), 150.0f);
    QCOMPARE(window->txtText->geometry(), QRect(153, 40, 239, 214));
    QCOMPARE(window->lblST[0]->geometry(), QRect(0, 24, 150, 17));
    QCOMPARE(window->lblST[1]->geometry(), QRect(153, 24, 239, 17));
    QCOMPARE(window->Line1[0]->x2(), 392.0f);
    QCOMPARE(window->Line1[1]->x2(), 392.0f);
    QCOMPARE(window->picSS->left(), 150.0f);
    QCOMPARE(window->picSS1->top(), 120.0f);

    const QList<QRect> once = geometries(*window);
    window->ArrangeControls();
    QCOMPARE(geometries(*window), once);
}

void LayoutTest::togglingTheReadingStateRearrangesAtOnce()
{
    showWithClient(QSize(392, 254));
    window->picSS->setLeft(150);
    window->picSS1->setTop(120);
    desktop->state.Settings[9] = 0;
    window->ArrangeControls();
    const QRect without = window->flbText->geometry();

    desktop->state.Settings[9] = -1;
    window->ArrangeControls();
    QCOMPARE(window->flbText->height(), without.height() - 12);
    QVERIFY(window->imgSt->isVisible());
    QCOMPARE(window->imgSt->y(), window->flbText->geometry().bottom() + 1);

    desktop->state.Settings[9] = 0;
    window->ArrangeControls();
    QCOMPARE(window->flbText->geometry(), without);
    QVERIFY(!window->imgSt->isVisible());
}

void LayoutTest::theWindowKeepsItsLeastSize_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<QSize>("client");
    // The least height is the least outer height less the decoration; the least width is that
    // of the tool strip, which is wider than the least outer width would leave.
    QTest::newRow("too small both ways") << QSize(50, 50) << QSize(273, 108);
    QTest::newRow("narrow but tall keeps its height") << QSize(50, 300) << QSize(273, 300);
    QTest::newRow("low but wide keeps its width") << QSize(500, 20) << QSize(500, 108);
    QTest::newRow("exactly the least size") << QSize(273, 108) << QSize(273, 108);
}

void LayoutTest::theWindowKeepsItsLeastSize()
{
    QFETCH(QSize, asked);
    QFETCH(QSize, client);
    showWithClient(QSize(392, 254));
    window->resize(window->width() + asked.width() - window->client->width(),
                   window->height() + asked.height() - window->client->height());
    QTRY_COMPARE(window->client->size(), client);

    QVERIFY(window->client->rect().contains(window->vscNameLen->geometry()));
    const QSizeF outer = LayoutGeometry::outerSize(QSizeF(window->client->size()));
    QVERIFY(outer.width() * 15 >= 3225);
    QVERIFY(outer.height() * 15 >= 2300);
    QCOMPARE(window->txtText->geometry().right() + 1, client.width());
    QCOMPARE(window->txtText->geometry().bottom() + 1, client.height());
}

void LayoutTest::shrinkingHoldsTheSplittersAndGrowingLeavesThem()
{
    showWithClient(QSize(392, 254));
    window->picSS->setLeft(300.5f);
    window->picSS1->setTop(200.25f);
    window->ArrangeControls();

    setClient(QSize(292, 154));
    QCOMPARE(window->picSS->left(), 300.0f - 80);
    QCOMPARE(window->picSS1->top(), 200.0f - 60);
    QCOMPARE(window->imgSS->x(), 220);
    QCOMPARE(window->dirText->height(), 140 - 40);

    setClient(QSize(592, 454));
    QCOMPARE(window->picSS->left(), 220.0f);
    QCOMPARE(window->picSS1->top(), 140.0f);
    QCOMPARE(window->txtText->geometry(), QRect(223, 40, 600 - 223 - 8, 454 - 40));

    setClient(QSize(500, 400));
    QCOMPARE(window->picSS->left(), 220.0f);
    QCOMPARE(window->picSS1->top(), 140.0f);
    QVERIFY(!window->picSS->isVisible());
    QVERIFY(!window->picSS1->isVisible());
}

void LayoutTest::minimizingChangesNoControl()
{
    showWithClient(QSize(392, 254));
    window->picSS->setLeft(150);
    window->picSS1->setTop(120);
    window->ArrangeControls();
    const QList<QRect> before = geometries(*window);

    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    // A splitter past its limit is not pulled back while the window is minimized.
    window->picSS->setLeft(1000);
    window->Form_Resize();
    QCOMPARE(window->picSS->left(), 1000.0f);
    QCOMPARE(geometries(*window), before);
}

void LayoutTest::noControlReachesPastTheClientArea_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("option");
    QTest::newRow("least size, splitters at their upper limits")
        << QSize(273, 108) << 201.0f << 93.333f << -1.0f;
    QTest::newRow("least size, splitters at their lower limits")
        << QSize(273, 108) << 80.0f << 60.0f << 0.0f;
    QTest::newRow("default size") << QSize(510, 341) << 256.0f << 192.0f << -1.0f;
    QTest::newRow("a folder splitter restored above the content area")
        << QSize(510, 341) << 256.0f << 10.0f << 0.0f;
    QTest::newRow("the file list squeezed by the progress frame")
        << QSize(510, 341) << 256.0f << 327.0f << -1.0f;
    QTest::newRow("a column splitter restored left of the window")
        << QSize(510, 341) << -300.0f << 192.0f << 0.0f;
    QTest::newRow("a column splitter restored right of the window")
        << QSize(510, 341) << 4000.0f << 192.0f << -1.0f;
    QTest::newRow("a large window") << QSize(1016, 680) << 300.0f << 400.0f << -1.0f;
}

void LayoutTest::noControlReachesPastTheClientArea()
{
    QFETCH(QSize, client);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, option);
    showWithClient(client);
    desktop->state.Settings[9] = option;
    window->picSS->setLeft(x);
    window->picSS1->setTop(y);
    window->ArrangeControls();

    const QRect area = window->client->rect();
    for (const auto &[name, control] : contentControls(*window)) {
        if (!control->isVisible())
            continue;
        const QRect box = control->geometry();
        QVERIFY2(box.width() >= 0 && box.height() >= 0, name);
        QVERIFY2(area.contains(box) || box.isEmpty(), name);
    }
    // Both handles stay where the pointer can reach them, between the controls they divide.
    for (const QWidget *handle : {window->imgSS, window->imgSS1}) {
        QVERIFY(!handle->geometry().isEmpty());
        QVERIFY(area.contains(handle->geometry()));
    }
    QVERIFY(!overlap(window->imgSS, window->dirText));
    QVERIFY(!overlap(window->imgSS, window->txtText));
    QVERIFY(!overlap(window->imgSS1, window->dirText));
    QVERIFY(!overlap(window->imgSS1, window->flbText));
    QVERIFY(!overlap(window->flbText, window->txtText));
    QVERIFY(!overlap(window->flbText, window->imgSt));
}

void LayoutTest::aHiddenWindowIsLaidOutForItsNewSize()
{
    window->resize(600, 400);
    window->picSS->setLeft(200);
    window->picSS1->setTop(150);
    window->ArrangeControls();
    QVERIFY(!window->isVisible());
    QCOMPARE(window->client->width(), 600);
    QCOMPARE(window->txtText->geometry().right() + 1, 600);
    QCOMPARE(window->txtText->geometry().bottom() + 1, window->client->height());
}

void LayoutTest::theOuterRectangleComesBackAsItWasSet_data()
{
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("set before the window manager has framed the window") << false;
    QTest::newRow("set on a framed window") << true;
}

void LayoutTest::theOuterRectangleComesBackAsItWasSet()
{
    QFETCH(bool, shownFirst);
    if (shownFirst) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    const QRectF stored(1500, 1200, 6000, 4500);
    window->setOuterRectTwips(stored);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_COMPARE(window->frameGeometry(), QRect(100, 80, 400, 300));
    QCOMPARE(window->outerRectTwips(), stored);

    // A save and a restore of what was saved leave the window as it is.
    window->setOuterRectTwips(window->outerRectTwips());
    QTest::qWait(20);
    QCOMPARE(window->frameGeometry(), QRect(100, 80, 400, 300));
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
