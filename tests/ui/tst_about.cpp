#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/frmVer.h"

#include <QLabel>
#include <QtTest>

class AboutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void labelsHoldTheirTextsAndPlaces();
    void theTitleHasARedShadowBehindIt();
    void itIsAFixedBoxCentredOnTheScreen();
    void theVersionCommandShowsANewBoxModallyEachTime();
};

void AboutTest::labelsHoldTheirTextsAndPlaces()
{
    frmVer about(nullptr, 15, 15);
    QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about.Label1[0]->text(), QStringLiteral("Quillbox"));
    QCOMPARE(about.Label1[1]->text(), QStringLiteral("Quillbox"));
    QCOMPARE(about.Label2->text(), QStringLiteral("Ver 2.00"));
    QVERIFY(!about.lbltitle1->text().isEmpty());
    QVERIFY(!about.Label3->text().isEmpty());
    QCOMPARE(about.Label1[0]->geometry().topLeft(), QPoint(24, 8));
    QCOMPARE(about.Label1[1]->geometry().topLeft(), QPoint(23, 10));
    QCOMPARE(about.Label2->geometry().topLeft(), QPoint(80, 40));
    QCOMPARE(about.Label1[0]->width(), 161);
    QVERIFY2(about.Label1[0]->height() >= about.Label1[0]->fontMetrics().height(),
             "the title is not cut off");
    QCOMPARE(about.Label1[0]->font().pointSizeF(), 18.0);
    QVERIFY(about.Label1[0]->font().bold());
    QCOMPARE(about.Label2->font().pointSizeF(), 9.75);
    QVERIFY(about.Label2->font().families().contains(QStringLiteral("ＭＳ Ｐ明朝")));
}

void AboutTest::theTitleHasARedShadowBehindIt()
{
    frmVer about(nullptr, 15, 15);
    about.show();
    const QImage shot = about.grab().toImage();
    bool red = false;
    bool black = false;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red |= c.red() > 200 && c.green() < 60 && c.blue() < 60;
            black |= c.red() < 40 && c.green() < 40 && c.blue() < 40;
        }
    }
    QVERIFY2(red, "the shadow must show in red");
    QVERIFY2(black, "the title must show in black");
    const QList<QWidget *> stack = about.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QVERIFY2(stack.indexOf(about.Label1[0]) > stack.indexOf(about.Label1[1]),
             "the black title is drawn in front of its shadow");
}

void AboutTest::itIsAFixedBoxCentredOnTheScreen()
{
    frmVer about(nullptr, 15, 15);
    QCOMPARE(about.size(), QSize(212, 97));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!(about.windowFlags() & Qt::WindowMinMaxButtonsHint));
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY(qAbs(about.geometry().center().x() - centre.x()) <= 1);
    QVERIFY(qAbs(about.geometry().center().y() - centre.y()) <= 1);
}

void AboutTest::theVersionCommandShowsANewBoxModallyEachTime()
{
    TestPlatform desktop;
    frmClip window(desktop.state, desktop.platform);
    QList<QDialog *> shown;
    desktop.dialogs.whileModal = [&](QDialog &dialog) {
        shown << &dialog;
        QVERIFY(qobject_cast<frmVer *>(&dialog));
    };
    window.mnuVer_Click();
    window.mnuVer_Click();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(desktop.dialogs.asked.first().title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY2(window.findChildren<frmVer *>().isEmpty(), "a closed about box is gone");
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
