#include "app/SettingsFile.h"
#include "mock/ProcessLimits.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/SplitterBar.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <optional>

namespace
{

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray settingsLines(const QString &numbers, const QString &folder)
{
    QByteArray bytes;
    for (const QString &n : numbers.split(u' '))
        bytes += n.toLatin1() + "\r\n";
    return bytes + '"' + folder.toUtf8() + "\"\r\n";
}

// Where the window stands to the pixel. The size may come out larger by the window's frame, which
// is known only once the window has been shown.
bool isPlacedAt(const frmClip &window, const QRectF &twips, const ScreenMetrics &metrics)
{
    const QRectF outer = window.outerRectTwips();
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    const qreal x = metrics.twipsPerPixelX;
    const qreal y = metrics.twipsPerPixelY;
    return qAbs(outer.x() - twips.x()) <= x && qAbs(outer.y() - twips.y()) <= y &&
           outer.width() >= twips.width() - x &&
           outer.width() <= twips.width() + (frame.width() + 1) * x &&
           outer.height() >= twips.height() - y &&
           outer.height() <= twips.height() + (frame.height() + 1) * y;
}

bool onTop(const QWidget &window)
{
    return window.windowFlags() & Qt::WindowStaysOnTopHint;
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void firstStartWritesTheDefaults_data();
    void firstStartWritesTheDefaults();
    void storedValuesAreApplied_data();
    void storedValuesAreApplied();
    void aBadFileNameEndsTheProgramWithTheWarning();
    void otherReadErrorsAreSilentAndKeepWhatWasRead_data();
    void otherReadErrorsAreSilentAndKeepWhatWasRead();
    void unusableStoredValuesAreHeldButNotWritten();
    void storedSizesLargerThanTheScreensAreHeldToThem();
    void theStoredFolderOnAnotherDriveIsRestored();
    void savingAndStartingAgainRestoresTheWindow();
    void toggling_data();
    void toggling();
    void optionValuesOtherThanZeroAndMinusOne();
    void aToggleWhileReadingAppliesReadingAgain();
    void aToggleAfterTheFolderVanishedTellsTheUserAndSavesTheFolderInUse();
    void aFailedSaveKeepsTheFileAndTellsTheUser_data();
    void aFailedSaveKeepsTheFileAndTellsTheUser();
    void aFailedFirstSaveIsSilent();

private:
    QString iniPath() const { return desktop->folder.filePath(QStringLiteral("ClipSet.ini")); }
    QString programFolder() const { return withTrailingSeparator(desktop->folder.path()); }
    void start()
    {
        window = std::make_unique<frmClip>(desktop->state, desktop->platform);
        window->Form_Load();
    }

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
    QTemporaryDir other;
};

void SettingsTest::init()
{
    desktop = std::make_unique<TestPlatform>();
}

void SettingsTest::cleanup()
{
    window.reset();
    desktop.reset();
}

void SettingsTest::firstStartWritesTheDefaults_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("numbers");
    QTest::newRow("a 1024 x 768 screen")
        << 1024 << QStringLiteral("3840 2880 7680 5760 256 192 -1 -1 0 -1 12");
    QTest::newRow("a 1366 pixel wide screen halves a pixel")
        << 1366 << QStringLiteral("5122 2880 10245 5760 341.5 192 -1 -1 0 -1 12");
}

void SettingsTest::firstStartWritesTheDefaults()
{
    QFETCH(int, width);
    QFETCH(QString, numbers);
    desktop->screen.widthPixels = width;
    start();
    QCOMPARE(contentsOf(iniPath()), settingsLines(numbers, programFolder()));
    const auto &s = desktop->state.Settings;
    QVERIFY(isPlacedAt(*window, QRectF(s[0], s[1], s[2], s[3]), desktop->screen));
    QCOMPARE(window->picSS->left(), desktop->state.Settings[4]);
    QCOMPARE(window->vscNameLen->value(), 12);
    QVERIFY(window->isVisible());
    QVERIFY(onTop(*window));
    QCOMPARE(desktop->state.FolderPath, programFolder());
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void SettingsTest::storedValuesAreApplied_data()
{
    QTest::addColumn<bool>("tray");
    QTest::newRow("with a tray only the icon shows") << true;
    QTest::newRow("without a tray the window shows anyway") << false;
}

void SettingsTest::storedValuesAreApplied()
{
    QFETCH(bool, tray);
    const QString folder = withTrailingSeparator(other.path());
    writeFile(iniPath(),
              settingsLines(QStringLiteral("4500 3000 6000 4500 150.5 120 0 -1 -1 0 20"), folder));
    desktop->tray.available = tray;
    start();
    QVERIFY(isPlacedAt(*window, QRectF(4500, 3000, 6000, 4500), desktop->screen));
    QCOMPARE(window->picSS->left(), 150.5f);
    QCOMPARE(window->picSS1->top(), 120.0f);
    QCOMPARE(window->vscNameLen->value(), 20);
    QCOMPARE(desktop->state.Settings[10], 20.0f);
    QCOMPARE(window->isVisible(), !tray);
    for (int index = 6; index <= 9; ++index)
        QCOMPARE(window->mnuSet(index)->isChecked(), index == 7 || index == 8);
    QVERIFY(!window->dirText->isEnabled());
    QVERIFY(!window->drvText->isEnabled());
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QCOMPARE(window->dirText->palette().color(QPalette::Base), buttonFace);
    QCOMPARE(window->drvText->palette().color(QPalette::Base), buttonFace);
    QCOMPARE(desktop->state.FolderPath, folder);
    QCOMPARE(withTrailingSeparator(window->dirText->path()), folder);
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void SettingsTest::aBadFileNameEndsTheProgramWithTheWarning()
{
    desktop->platform.programFolder = desktop->folder.filePath(QString(300, u'x'));
    bool shownDuringTheBox = true;
    desktop->dialogs.whileOpen = [&](const ScriptedDialogs::Asked &) {
        shownDuringTheBox = window->isVisible();
    };
    start();
    QCOMPARE(desktop->dialogs.asked.size(), 1);
    QCOMPARE(desktop->dialogs.asked.first().text, QStringLiteral("INIﾌｧｲﾙが見つかりません"));
    QCOMPARE(desktop->dialogs.asked.first().title, QStringLiteral("警告"));
    QCOMPARE(desktop->dialogs.asked.first().style, 16);
    QVERIFY2(!shownDuringTheBox, "the window is not shown yet: the box needs no topmost step");
    QVERIFY(window->hasEnded());
    QCOMPARE(desktop->process.endCount, 1);
    QVERIFY(!window->isVisible());
}

void SettingsTest::otherReadErrorsAreSilentAndKeepWhatWasRead_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("valuesRead");
    QTest::newRow("eleven lines keep the program folder")
        << QStringLiteral("eleven-lines.ini") << 11;
    QTest::newRow("garbage keeps the two values before it") << QStringLiteral("garbage.ini") << 2;
    QTest::newRow("an empty file keeps nothing") << QStringLiteral("empty.ini") << 0;
}

void SettingsTest::otherReadErrorsAreSilentAndKeepWhatWasRead()
{
    QFETCH(QString, fixture);
    QFETCH(int, valuesRead);
    const QByteArray bytes = contentsOf(qEnvironmentVariable("QUILLBOX_TEST_DATA") +
                                        QStringLiteral("/settings/") + fixture);
    writeFile(iniPath(), bytes);
    start();
    const float good[] = {4500, 3000, 6000, 4500, 150.5f, 120, 0, -1, -1, 0, 20};
    const auto &s = desktop->state.Settings;
    for (int i = 0; i < valuesRead; ++i)
        QCOMPARE(s[i], good[i]);
    for (int i = std::max(valuesRead, 6); i < 10; ++i)
        QCOMPARE(s[i], 0.0f);
    QVERIFY(desktop->dialogs.asked.isEmpty());
    QVERIFY(!window->hasEnded());
    QCOMPARE(desktop->state.FolderPath, programFolder());
    QCOMPARE(contentsOf(iniPath()), bytes);
}

void SettingsTest::unusableStoredValuesAreHeldButNotWritten()
{
    const QByteArray bytes =
        settingsLines(QStringLiteral("900000 900000 100 100 -40 -40 -1 0 0 -1 40"),
                      QStringLiteral("/no/such/folder/"));
    writeFile(iniPath(), bytes);
    start();
    const ScreenMetrics metrics = desktop->screen;
    const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
    const QSizeF least = window->leastOuterSizeTwips();
    const QRectF corner((primary.right() + 1) * metrics.twipsPerPixelX - least.width(),
                        (primary.bottom() + 1) * metrics.twipsPerPixelY - least.height(),
                        least.width(), least.height());
    const auto &s = desktop->state.Settings;
    QCOMPARE(QRectF(s[0], s[1], s[2], s[3]), corner);
    QVERIFY2(isPlacedAt(*window, corner, metrics),
             "the window comes at the least size to the nearest corner of the primary screen");
    QCOMPARE(window->vscNameLen->value(), 25);
    QCOMPARE(desktop->state.Settings[10], 25.0f);
    QCOMPARE(window->picSS->left(), 80.0f);
    QCOMPARE(window->picSS1->top(), 60.0f);
    QCOMPARE(desktop->state.FolderPath, programFolder());
    QCOMPARE(withTrailingSeparator(window->dirText->path()), programFolder());
    QCOMPARE(contentsOf(iniPath()), bytes);
}

void SettingsTest::storedSizesLargerThanTheScreensAreHeldToThem()
{
    writeFile(iniPath(),
              settingsLines(QStringLiteral("0 0 1e9 1e9 1e9 1e9 -1 0 0 -1 12"), programFolder()));
    start();
    const ScreenMetrics metrics = desktop->screen;
    QRect screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens |= screen->availableGeometry();
    const auto &s = desktop->state.Settings;
    const QRectF held(0, 0, screens.width() * metrics.twipsPerPixelX,
                      screens.height() * metrics.twipsPerPixelY);
    QCOMPARE(QRectF(s[0], s[1], s[2], s[3]), held);
    QVERIFY(isPlacedAt(*window, held, metrics));
    QCOMPARE(s[4], s[2] / metrics.twipsPerPixelX - 80);
    QCOMPARE(s[5], s[3] / metrics.twipsPerPixelY - 60);
    QVERIFY(window->picSS->left() <= s[4]);
    QVERIFY(window->picSS1->top() <= s[5]);
}

void SettingsTest::theStoredFolderOnAnotherDriveIsRestored()
{
    QDir(other.path()).mkdir(QStringLiteral("clips"));
    const QString folder = withTrailingSeparator(other.filePath(QStringLiteral("clips")));
    writeFile(iniPath(),
              settingsLines(QStringLiteral("4500 3000 6000 4500 150 120 -1 0 0 -1 12"), folder));
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
    const QString otherRoot = QDir::toNativeSeparators(other.path());
    window->drvText->setDrives(
        {{QStringLiteral("/"), QString()}, {otherRoot, QStringLiteral("USB")}});
    window->drvText->setCurrentIndex(0);
    window->Form_Load();
    QCOMPARE(window->drvText->drive(), otherRoot);
    QCOMPARE(withTrailingSeparator(window->dirText->path()), folder);
    QCOMPARE(desktop->state.FolderPath, folder);
}

void SettingsTest::savingAndStartingAgainRestoresTheWindow()
{
    start();
    window->setOuterRectTwips(QRectF(1500, 1200, 5400, 4200));
    window->picSS->setLeft(120);
    window->vscNameLen->setValue(18);
    window->mnuFrmPosi->trigger();
    window->setOuterRectTwips(QRectF(6000, 6000, 5400, 4200));
    window.reset();

    desktop->state = ProgramState{};
    start();
    QVERIFY(isPlacedAt(*window, QRectF(1500, 1200, 5400, 4200), desktop->screen));
    QCOMPARE(window->picSS->left(), 120.0f);
    QCOMPARE(window->vscNameLen->value(), 18);
}

void SettingsTest::toggling_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<float>("before");
    QTest::addColumn<float>("after");
    QTest::newRow("show at start-up off becomes on") << 6 << 0.0f << -1.0f;
    QTest::newRow("show at start-up on becomes off and the window stays") << 6 << -1.0f << 0.0f;
    QTest::newRow("always on top leaves the topmost layer at once") << 7 << -1.0f << 0.0f;
    QTest::newRow("always on top enters the topmost layer at once") << 7 << 0.0f << -1.0f;
    QTest::newRow("the folder lock greys and disables the lists") << 8 << 0.0f << -1.0f;
    QTest::newRow("the folder lock off frees the lists on white") << 8 << -1.0f << 0.0f;
    QTest::newRow("a hand-written 1 becomes off") << 8 << 1.0f << 0.0f;
    QTest::newRow("reading state off becomes on") << 9 << 0.0f << -1.0f;
}

void SettingsTest::toggling()
{
    QFETCH(int, index);
    QFETCH(float, before);
    QFETCH(float, after);
    start();
    desktop->state.Settings[index] = before;
    window->setOuterRectTwips(QRectF(1500, 1200, 5400, 4200));
    window->mnuSet(index)->trigger();
    const auto &s = desktop->state.Settings;
    QCOMPARE(s[index], after);
    QCOMPARE(QRectF(s[0], s[1], s[2], s[3]), QRectF(1500, 1200, 5400, 4200));
    QCOMPARE(contentsOf(iniPath()), settingsFileBytes(s, programFolder(), systemCodePage()));
    QCOMPARE(window->mnuSet(index)->isChecked(), after != 0);
    QVERIFY2(window->isVisible(), "the window is visible after any toggle");
    QCOMPARE(onTop(*window), s[7] == -1);
    QCOMPARE(window->dirText->isEnabled(), s[8] == 0);
    QCOMPARE(window->drvText->palette().color(QPalette::Base),
             QApplication::palette().color(s[8] == -1 ? QPalette::Button : QPalette::Base));
}

void SettingsTest::optionValuesOtherThanZeroAndMinusOne()
{
    writeFile(iniPath(), settingsLines(QStringLiteral("4500 3000 6000 4500 150 120 1 1 1 1 12"),
                                       programFolder()));
    start();
    for (int index = 6; index <= 9; ++index)
        QVERIFY(window->mnuSet(index)->isChecked());
    QVERIFY2(window->isVisible(), "show at start-up takes any non-zero value as on");
    QVERIFY2(!onTop(*window), "always on top asks for exactly -1");
    QVERIFY2(!window->dirText->isEnabled(), "the lock's enabled test takes any non-zero as on");
    QCOMPARE(window->dirText->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Base));
}

void SettingsTest::aToggleWhileReadingAppliesReadingAgain()
{
    start();
    window->cmdStart_Click();
    desktop->clipboard.setText(QStringLiteral("copied while reading"));
    window->mnuSet(9)->trigger();
    QVERIFY(window->Reading);
    QVERIFY(window->Timer1->isActive());
    QVERIFY(!desktop->clipboard.holdsText());
}

void SettingsTest::aToggleAfterTheFolderVanishedTellsTheUserAndSavesTheFolderInUse()
{
    start();
    const QString vanishing = withTrailingSeparator(other.filePath(QStringLiteral("vanishing")));
    QVERIFY(QDir().mkpath(vanishing));
    window->dirText->setPath(vanishing);
    QCOMPARE(desktop->state.FolderPath, vanishing);
    QVERIFY(QDir(vanishing).removeRecursively());
    window->mnuSet(9)->trigger();
    QCOMPARE(desktop->state.FolderPath, programFolder());
    QCOMPARE(contentsOf(iniPath()),
             settingsFileBytes(desktop->state.Settings, programFolder(), systemCodePage()));
    QCOMPARE(desktop->dialogs.asked.size(), 1);
    const ScriptedDialogs::Asked &told = desktop->dialogs.asked.first();
    QCOMPARE(told.style, 48);
    QCOMPARE(told.title, QStringLiteral("Quillbox"));
    QVERIFY(told.text.contains(QDir::toNativeSeparators(vanishing)));
    QVERIFY(told.text.contains(QDir::toNativeSeparators(programFolder())));
}

void SettingsTest::aFailedSaveKeepsTheFileAndTellsTheUser_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("the disk is full") << true;
    QTest::newRow("the folder is read-only") << false;
}

void SettingsTest::aFailedSaveKeepsTheFileAndTellsTheUser()
{
    QFETCH(bool, fullDisk);
    start();
    const QByteArray before = contentsOf(iniPath());
    bool onTopDuringTheBox = true;
    desktop->dialogs.whileOpen = [&](const ScriptedDialogs::Asked &) {
        onTopDuringTheBox = onTop(*window);
    };
    window->setOuterRectTwips(QRectF(1500, 1200, 5400, 4200));
    {
        std::optional<FileSizeLimit> full;
        if (fullDisk) {
            if (!FileSizeLimit::isAvailable())
                QSKIP("This system sets no file-size limit on a process to stand in for a full "
                      "disk.");
            full.emplace(8);
        } else {
            if (!permissionsBind())
                QSKIP("Folder permissions do not bind the superuser: tst_settings_unprivileged "
                      "runs this row as another user.");
            QFile::setPermissions(desktop->folder.path(),
                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        window->mnuSet(7)->trigger();
        QFile::setPermissions(desktop->folder.path(), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
    }
    QCOMPARE(contentsOf(iniPath()), before);
    QCOMPARE(desktop->dialogs.asked.size(), 1);
    QCOMPARE(desktop->dialogs.asked.first().title, QStringLiteral("設定及び表示状態の保存"));
    QVERIFY(desktop->dialogs.asked.first().text.contains(iniPath()));
    QVERIFY(!onTopDuringTheBox);
    QCOMPARE(desktop->state.Settings[7], 0.0f);
    QCOMPARE(desktop->state.Settings[0], 1500.0f);
    QVERIFY(!window->mnuSet(7)->isChecked());
    QVERIFY(!window->hasEnded());
}

void SettingsTest::aFailedFirstSaveIsSilent()
{
    if (!FileSizeLimit::isAvailable())
        QSKIP("This system sets no file-size limit on a process to stand in for a full disk.");
    {
        const FileSizeLimit full(8);
        start();
    }
    QVERIFY(desktop->dialogs.asked.isEmpty());
    QVERIFY(!window->hasEnded());
    QVERIFY(!QFileInfo::exists(iniPath()));
    QCOMPARE(desktop->state.Settings[2], 7680.0f);
    QCOMPARE(desktop->state.Settings[10], 12.0f);
    QVERIFY(window->isVisible());
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
