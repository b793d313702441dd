#include "app/Main.h"
#include "mock/ScriptedDialogs.h"
#include "ui/platform/InstanceLock.h"
#include "ui/platform/ProgramFolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Run as a child with "--hold-lock FOLDER LOCKS", the test binary holds the lock until killed.
static int holdLockUntilKilled(const QString &folder, const QString &locks)
{
    InstanceLock lock(folder, locks);
    if (!lock.tryAcquire())
        return 1;
    std::printf("holding\n");
    std::fflush(stdout);
    while (true)
        QThread::sleep(1);
}

// Run as a child with "--second-start", the test binary starts as the program does, from the folder
// it was copied into; each message box it shows is printed and answered with Enter.
static void answerBoxesWithEnter()
{
    auto *enter = new QTimer(QCoreApplication::instance());
    QObject::connect(enter, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::printf("box: %s\n", box->text().toUtf8().constData());
            std::fflush(stdout);
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    enter->start(20);
}

class InstanceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aSecondStartIsRefusedWithTheMessage();
    void aRefusedStartLeavesTheProgramFolderAsItWas();
    void theFirstStartIsNotAsked();
    void copiesInOtherProgramFoldersRunSideBySide();
    void aKilledCopyDoesNotBlockTheNextStart();
    void trailingSeparator_data();
    void trailingSeparator();
};

void InstanceTest::aSecondStartIsRefusedWithTheMessage()
{
    QTemporaryDir folder;
    QTemporaryDir locks;
    InstanceLock first(folder.path(), locks.path());
    QVERIFY(first.tryAcquire());

    InstanceLock second(folder.path(), locks.path());
    ScriptedDialogs dialogs;
    QVERIFY(refuseSecondInstance(second, dialogs));
    QCOMPARE(dialogs.asked.size(), 1);
    QCOMPARE(dialogs.asked.first().text, QStringLiteral("既に起動されています"));
    QCOMPARE(dialogs.asked.first().style, 0);
    QCOMPARE(dialogs.asked.first().title, QStringLiteral("Quillbox"));
}

void InstanceTest::aRefusedStartLeavesTheProgramFolderAsItWas()
{
    QTemporaryDir folder;
    QTemporaryDir locks;
    const QString suffix = QFileInfo(QCoreApplication::applicationFilePath()).suffix();
    const QString name =
        QStringLiteral("quillbox") + (suffix.isEmpty() ? QString() : u'.' + suffix);
    const QString program = folder.filePath(name);
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    InstanceLock first(QDir(folder.path()).canonicalPath(), locks.path());
    QVERIFY(first.tryAcquire());

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), locks.path());
    // Where Windows has the lock: the temporary folder.
    environment.insert(QStringLiteral("TMP"), QDir::toNativeSeparators(locks.path()));
    environment.insert(QStringLiteral("TEMP"), QDir::toNativeSeparators(locks.path()));
    second.setProcessEnvironment(environment);
    second.start(program, {QStringLiteral("--second-start")});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    // Windows ends a printed line with CR LF.
    QCOMPARE(second.readAllStandardOutput().replace("\r\n", "\n"),
             QByteArray("box: 既に起動されています\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{name});
}

void InstanceTest::theFirstStartIsNotAsked()
{
    QTemporaryDir folder;
    QTemporaryDir locks;
    InstanceLock lock(folder.path(), locks.path());
    ScriptedDialogs dialogs;
    QVERIFY(!refuseSecondInstance(lock, dialogs));
    QVERIFY(dialogs.asked.isEmpty());
}

void InstanceTest::copiesInOtherProgramFoldersRunSideBySide()
{
    QTemporaryDir one;
    QTemporaryDir other;
    QTemporaryDir locks;
    InstanceLock first(one.path(), locks.path());
    InstanceLock second(other.path(), locks.path());
    QVERIFY(first.tryAcquire());
    QVERIFY(second.tryAcquire());
}

void InstanceTest::aKilledCopyDoesNotBlockTheNextStart()
{
    QTemporaryDir folder;
    QTemporaryDir locks;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--hold-lock"), folder.path(), locks.path()});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("holding"));

    InstanceLock whileRunning(folder.path(), locks.path());
    QVERIFY2(!whileRunning.tryAcquire(), "the running copy must hold the lock");

    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    InstanceLock next(folder.path(), locks.path());
    QVERIFY(next.tryAcquire());
}

void InstanceTest::trailingSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    const QString root = QDir::rootPath();
    const QString native = QDir::toNativeSeparators(root);
    const QString separator = QDir::separator();
    QTest::newRow("the root keeps its one separator") << root << native;
    QTest::newRow("a subfolder gets one")
        << root + QStringLiteral("opt/tools")
        << native + QStringLiteral("opt") + separator + QStringLiteral("tools") + separator;
    QTest::newRow("a folder that has one keeps it")
        << root + QStringLiteral("opt/tools/")
        << native + QStringLiteral("opt") + separator + QStringLiteral("tools") + separator;
}

void InstanceTest::trailingSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(withTrailingSeparator(folder), expected);
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--hold-lock") == 0)
        return holdLockUntilKilled(QString::fromLocal8Bit(argv[2]),
                                   QString::fromLocal8Bit(argv[3]));
    if (argc == 2 && qstrcmp(argv[1], "--second-start") == 0) {
        qAddPreRoutine(answerBoxesWithEnter);
        return Main(argc, argv);
    }
    QCoreApplication app(argc, argv);
    InstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instance.moc"
