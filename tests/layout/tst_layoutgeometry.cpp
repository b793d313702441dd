#include "ui/LayoutGeometry.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace LayoutGeometry;

Q_DECLARE_METATYPE(std::optional<QRectF>)

namespace
{

// The worked example of the layout: a 400 x 300 window with the splitters at 150 and 120 and the
// folder list taking the full height it is asked for.
Input workedExampleInput(float option)
{
    Input input;
    input.W = 400;
    input.H = 300;
    input.X = 150;
    input.Y = 120;
    input.S = option;
    input.D = askedFolderListHeight(input);
    return input;
}

QList<QRectF> everyBox(const Boxes &boxes)
{
    QList<QRectF> all = {boxes.dirText, boxes.flbText,  boxes.imgSS,   boxes.imgSS1,
                         boxes.txtText, boxes.lblST[0], boxes.lblST[1]};
    if (boxes.imgSt)
        all << *boxes.imgSt;
    return all;
}

} // namespace

class LayoutGeometryTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void workedExample_data();
    void workedExample();
    void theHandleCoversTheGapAFolderListSettledOn();
    void aVeryLowWindowKeepsOnePixelOfContent_data();
    void aVeryLowWindowKeepsOnePixelOfContent();
    void positionsOutOfRangeGiveNoNegativeSize_data();
    void positionsOutOfRangeGiveNoNegativeSize();
    void splitterPositionsAreHeldWithTheLowerLimitFirst_data();
    void splitterPositionsAreHeldWithTheLowerLimitFirst();
    void theWorkedExampleFitsItsClientArea();
    void leastClientSize_data();
    void leastClientSize();
};

void LayoutGeometryTest::workedExample_data()
{
    QTest::addColumn<float>("option");
    QTest::addColumn<QRectF>("fileList");
    QTest::addColumn<std::optional<QRectF>>("progressFrame");
    QTest::newRow("with the reading state shown the file list makes room for its frame")
        << -1.0f << QRectF(0, 124, 150, 118) << std::optional<QRectF>(QRectF(0, 242, 150, 12));
    QTest::newRow("without it the file list is 16 pixels longer and the frame is left alone")
        << 0.0f << QRectF(0, 124, 150, 134) << std::optional<QRectF>();
    QTest::newRow("any other non-zero option counts as on")
        << 1.0f << QRectF(0, 124, 150, 118) << std::optional<QRectF>(QRectF(0, 242, 150, 12));
}

void LayoutGeometryTest::workedExample()
{
    QFETCH(float, option);
    QFETCH(QRectF, fileList);
    QFETCH(std::optional<QRectF>, progressFrame);

    const Boxes boxes = arrange(workedExampleInput(option));
    QCOMPARE(boxes.dirText, QRectF(0, 40, 150, 80));
    QCOMPARE(boxes.flbText, fileList);
    QCOMPARE(boxes.imgSt, progressFrame);
    QCOMPARE(boxes.imgSS, QRectF(150, 40, 3, 215));
    QCOMPARE(boxes.picSSHeight, 215.0f);
    QCOMPARE(boxes.picSS1Width, 150.0f);
    QCOMPARE(boxes.imgSS1, QRectF(0, 120, 150, 4));
    QCOMPARE(boxes.txtText, QRectF(153, 40, 239, 215));
    QCOMPARE(boxes.lblST[0], QRectF(0, 24, 150, 17));
    QCOMPARE(boxes.lblST[1], QRectF(153, 24, 239, 17));
    QCOMPARE(boxes.lineEnd, 400.0f);
}

void LayoutGeometryTest::theHandleCoversTheGapAFolderListSettledOn()
{
    Input input = workedExampleInput(-1);
    input.D = 75;
    const Boxes boxes = arrange(input);
    QCOMPARE(boxes.dirText, QRectF(0, 40, 150, 80));
    QCOMPARE(boxes.imgSS1, QRectF(0, 115, 150, 4));
    QCOMPARE(boxes.flbText, QRectF(0, 119, 150, 123));
}

void LayoutGeometryTest::aVeryLowWindowKeepsOnePixelOfContent_data()
{
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("content");
    QTest::newRow("a window lower than the margins") << 50.0f << 1.0f;
    QTest::newRow("a window exactly as low as the margins") << 85.0f << 1.0f;
    QTest::newRow("half a pixel of content is raised to one") << 85.5f << 1.0f;
    QTest::newRow("two pixels of content stay two") << 87.0f << 2.0f;
}

void LayoutGeometryTest::aVeryLowWindowKeepsOnePixelOfContent()
{
    QFETCH(float, height);
    QFETCH(float, content);
    Input input = workedExampleInput(-1);
    input.H = height;
    input.D = askedFolderListHeight(input);
    const Boxes boxes = arrange(input);
    QCOMPARE(boxes.txtText.height(), qreal(content));
    QCOMPARE(boxes.imgSS.height(), qreal(content));
    QCOMPARE(boxes.picSSHeight, content);
    for (const QRectF &box : everyBox(boxes)) {
        QVERIFY(box.width() >= 0);
        QVERIFY(box.height() >= 0);
    }
}

void LayoutGeometryTest::positionsOutOfRangeGiveNoNegativeSize_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("option");
    QTest::addColumn<QRectF>("folderList");
    QTest::addColumn<QRectF>("fileList");
    QTest::addColumn<QRectF>("pane");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("a folder splitter stored above the content area is read at its top limit")
        << 150.0f << 10.0f << 0.0f << QRectF(0, 40, 150, 20) << QRectF(0, 64, 150, 194)
        << QRectF(153, 40, 239, 215);
    QTest::newRow("at its lowest place with the progress frame the file list closes up")
        << 150.0f << 240.0f << -1.0f << QRectF(0, 40, 150, 200) << QRectF(0, 244, 150, 0)
        << QRectF(153, 40, 239, 215);
    QTest::newRow("a folder splitter stored below the window is read at its bottom limit")
        << 150.0f << 900.0f << 0.0f << QRectF(0, 40, 150, 200) << QRectF(0, 244, 150, 14)
        << QRectF(153, 40, 239, 215);
    QTest::newRow("a column splitter stored left of the window is read at its left limit")
        << -50.0f << 120.0f << 0.0f << QRectF(0, 40, 80, 80) << QRectF(0, 124, 80, 134)
        << QRectF(83, 40, 309, 215);
    QTest::newRow("a column splitter stored right of the window is read at its right limit")
        << 5000.0f << 120.0f << 0.0f << QRectF(0, 40, 320, 80) << QRectF(0, 124, 320, 134)
        << QRectF(323, 40, 69, 215);
    QTest::newRow("positions that are not numbers are read at the lower limits")
        << nan << nan << 0.0f << QRectF(0, 40, 80, 20) << QRectF(0, 64, 80, 194)
        << QRectF(83, 40, 309, 215);
}

void LayoutGeometryTest::positionsOutOfRangeGiveNoNegativeSize()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, option);
    QFETCH(QRectF, folderList);
    QFETCH(QRectF, fileList);
    QFETCH(QRectF, pane);

    Input input = workedExampleInput(option);
    input.X = x;
    input.Y = y;
    input.D = askedFolderListHeight(input);
    const Boxes boxes = arrange(input);
    QCOMPARE(boxes.dirText, folderList);
    QCOMPARE(boxes.flbText, fileList);
    QCOMPARE(boxes.txtText, pane);
    QCOMPARE(boxes.imgSS.left(), folderList.width());
    QCOMPARE(boxes.imgSS1.top(), folderList.bottom());
    for (const QRectF &box : everyBox(boxes)) {
        QVERIFY(box.width() >= 0);
        QVERIFY(box.height() >= 0);
    }
}

void LayoutGeometryTest::splitterPositionsAreHeldWithTheLowerLimitFirst_data()
{
    QTest::addColumn<float>("position");
    QTest::addColumn<float>("least");
    QTest::addColumn<float>("greatest");
    QTest::addColumn<float>("held");
    QTest::newRow("short of the lower limit") << 20.0f << 80.0f << 320.0f << 80.0f;
    QTest::newRow("at the lower limit") << 80.0f << 80.0f << 320.0f << 80.0f;
    QTest::newRow("between the limits, fraction kept") << 150.5f << 80.0f << 320.0f << 150.5f;
    QTest::newRow("past the upper limit") << 400.0f << 80.0f << 320.0f << 320.0f;
    QTest::newRow("too small a window, short of the lower limit")
        << 70.0f << 80.0f << 60.0f << 80.0f;
    QTest::newRow("too small a window, anywhere else") << 80.0f << 80.0f << 60.0f << 60.0f;
}

void LayoutGeometryTest::splitterPositionsAreHeldWithTheLowerLimitFirst()
{
    QFETCH(float, position);
    QFETCH(float, least);
    QFETCH(float, greatest);
    QFETCH(float, held);
    QCOMPARE(heldBetween(position, least, greatest), held);
}

void LayoutGeometryTest::theWorkedExampleFitsItsClientArea()
{
    // The design's decoration around a 392 x 254 client area makes the 400 x 300 window.
    const QSizeF client(392, 254);
    QCOMPARE(outerSize(client), QSizeF(400, 300));

    const Boxes off = keptInside(arrange(workedExampleInput(0)), client);
    QCOMPARE(off.txtText, QRectF(153, 40, 239, 214));
    QCOMPARE(off.imgSS, QRectF(150, 40, 3, 214));
    QCOMPARE(off.picSSHeight, 214.0f);
    QCOMPARE(off.flbText, QRectF(0, 124, 150, 130));
    QCOMPARE(off.lblST[1], QRectF(153, 24, 239, 17));
    QCOMPARE(off.lineEnd, 392.0f);

    const Boxes on = keptInside(arrange(workedExampleInput(-1)), client);
    QCOMPARE(on.flbText, QRectF(0, 124, 150, 118));
    QCOMPARE(on.imgSt, std::optional<QRectF>(QRectF(0, 242, 150, 12)));
}

void LayoutGeometryTest::leastClientSize_data()
{
    QTest::addColumn<float>("twipsPerPixel");
    QTest::addColumn<QSize>("least");
    QTest::newRow("96 dots per inch") << 15.0f << QSize(207, 108);
    QTest::newRow("144 dots per inch") << 10.0f << QSize(315, 184);
    QTest::newRow("120 dots per inch") << 12.0f << QSize(261, 146);
}

void LayoutGeometryTest::leastClientSize()
{
    QFETCH(float, twipsPerPixel);
    QFETCH(QSize, least);
    const QSize client = LayoutGeometry::leastClientSize(twipsPerPixel, twipsPerPixel);
    QCOMPARE(client, least);
    const QSizeF outer = outerSize(QSizeF(client));
    QVERIFY(outer.width() * twipsPerPixel >= leastOuterWidthTwips);
    QVERIFY(outer.height() * twipsPerPixel >= leastOuterHeightTwips);
}

QTEST_APPLESS_MAIN(LayoutGeometryTest)
#include "tst_layoutgeometry.moc"
