#include "app/Main.h"
#include "mock/ScriptedDialogs.h"
#include "ui/InstanceLock.h"
#include "ui/ProgramFolder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

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

class InstanceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aSecondStartIsRefusedWithTheMessage();
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
    QVERIFY2(QDir(folder.path()).isEmpty(), "a refused start must not touch the program folder");
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

    ::kill(pid_t(holder.processId()), SIGKILL);
    QVERIFY(holder.waitForFinished(10000));
    InstanceLock next(folder.path(), locks.path());
    QVERIFY(next.tryAcquire());
}

void InstanceTest::trailingSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("the root keeps its one separator") << "/"
                                                      << "/";
    QTest::newRow("a subfolder gets one") << "/opt/tools"
                                          << "/opt/tools/";
    QTest::newRow("a folder that has one keeps it") << "/opt/tools/"
                                                    << "/opt/tools/";
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
    QCoreApplication app(argc, argv);
    InstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instance.moc"
