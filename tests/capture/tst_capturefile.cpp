#include "capture/CaptureFile.h"
#include "mock/ProcessLimits.h"
#include "ui/platform/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <optional>

namespace
{

#ifdef Q_OS_UNIX
int noHardLinks(const char *, const char *)
{
    errno = EPERM;
    return -1;
}

int noRenameFlags(const char *, const char *)
{
    errno = EINVAL;
    return -1;
}

std::optional<FileSizeLimit> littleRoom;

// As noRenameFlags, on a disk that from then on takes no file above 4 kB: the write in place
// that follows fails part way.
int noRenameFlagsAndLittleRoom(const char *, const char *)
{
    littleRoom.emplace(4096);
    errno = EINVAL;
    return -1;
}
#endif

} // namespace

class CaptureFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();

    void existenceTest_data();
    void existenceTest();
    void aNameTooLongForTheFileSystemIsErrorFiftyThree();
    void aNewFileHoldsExactlyTheBytesAndNothingElseIsLeft();
    void aTakenNameIsNeverReplaced_data();
    void aTakenNameIsNeverReplaced();
    void aWriteThatFailsLeavesNoFileBehind();
    void aMissingFolderIsAFailureOtherThanFiftyThree();
#ifdef Q_OS_UNIX
    void withoutLinksOrNoReplaceRenamesTheFileIsCreatedExclusively_data();
    void withoutLinksOrNoReplaceRenamesTheFileIsCreatedExclusively();
#endif

private:
    QStringList entries() const;
    std::unique_ptr<QTemporaryDir> folder;
};

void CaptureFileTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
}

QStringList CaptureFileTest::entries() const
{
    return QDir(folder->path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

void CaptureFileTest::existenceTest_data()
{
    QTest::addColumn<QString>("made");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("exists");
    QTest::newRow("a plain file exists") << "file:memo.txt"
                                         << "memo.txt" << true;
    QTest::newRow("a directory does not count") << "dir:memo.txt"
                                                << "memo.txt" << false;
#ifndef Q_OS_WIN
    // Windows refuses both characters in names, and its links are files (.lnk) of their own.
    QTest::newRow("an asterisk is no wildcard") << "file:memo.txt"
                                                << "*.txt" << false;
    QTest::newRow("a question mark is no wildcard") << "file:memo.txt"
                                                    << "mem?.txt" << false;
    QTest::newRow("a link to a missing file does not count") << "link:memo.txt"
                                                             << "memo.txt" << false;
#endif
}

void CaptureFileTest::existenceTest()
{
    QFETCH(QString, made);
    QFETCH(QString, asked);
    QFETCH(bool, exists);
    const QString kind = made.section(u':', 0, 0);
    const QString path = folder->filePath(made.section(u':', 1));
    if (kind == u"file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == u"dir") {
        QVERIFY(QDir().mkdir(path));
    } else {
        QVERIFY(QFile::link(folder->filePath(QStringLiteral("gone")), path));
    }
    QCOMPARE(plainFileExists(folder->filePath(asked)), exists);
}

void CaptureFileTest::aNameTooLongForTheFileSystemIsErrorFiftyThree()
{
    const QString path = folder->filePath(QString(300, u'a') + QStringLiteral(".txt"));
    try {
        plainFileExists(path);
        QFAIL("the existence test took a name of 304 bytes");
    } catch (const PlatformError &error) {
        QCOMPARE(error.number(), ErrorNumber::FileNotFound);
    }
}

void CaptureFileTest::aNewFileHoldsExactlyTheBytesAndNothingElseIsLeft()
{
    const QString path = folder->filePath(QStringLiteral("memo.txt"));
    QVERIFY(writeNewFile(path, QByteArray("memo\r\n")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("memo\r\n"));
    QCOMPARE(entries(), QStringList{QStringLiteral("memo.txt")});
}

void CaptureFileTest::aTakenNameIsNeverReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("by a file") << "file";
    QTest::newRow("by a directory") << "dir";
    QTest::newRow("by a link to a missing file outside the folder") << "link";
}

void CaptureFileTest::aTakenNameIsNeverReplaced()
{
    QFETCH(QString, kind);
    QTemporaryDir outside;
    const QString path = folder->filePath(QStringLiteral("memo.txt"));
    const QString target = outside.filePath(QStringLiteral("elsewhere.txt"));
    if (kind == u"file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    } else if (kind == u"dir") {
        QVERIFY(QDir().mkdir(path));
    } else {
        QVERIFY(QFile::link(target, path));
    }
    QVERIFY(!writeNewFile(path, QByteArray("new\r\n")));
    QCOMPARE(entries(), QStringList{QStringLiteral("memo.txt")});
    QVERIFY(!QFile::exists(target));
    if (kind == u"file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
    }
}

void CaptureFileTest::aWriteThatFailsLeavesNoFileBehind()
{
    // A file-size limit makes the write fail part way.
    if (!FileSizeLimit::isAvailable())
        QSKIP("This system sets no file-size limit on a process to make a write fail.");
    int number = 0;
    try {
        const FileSizeLimit small(4096);
        writeNewFile(folder->filePath(QStringLiteral("big.txt")), QByteArray(1 << 20, 'x'));
    } catch (const PlatformError &error) {
        number = error.number();
    }
    QVERIFY2(number != 0 && number != ErrorNumber::FileNotFound,
             "a failed write must be a failure other than a refused name");
    QVERIFY2(number != ErrorNumber::DiskFull, "a file-size limit is no full disk");
    QCOMPARE(entries(), QStringList());
}

void CaptureFileTest::aMissingFolderIsAFailureOtherThanFiftyThree()
{
    const QString path = folder->filePath(QStringLiteral("gone/memo.txt"));
    QVERIFY(!plainFileExists(path));
    try {
        writeNewFile(path, QByteArray("memo\r\n"));
        QFAIL("a file was written into a missing folder");
    } catch (const PlatformError &error) {
        QVERIFY(error.number() != ErrorNumber::FileNotFound);
    }
    QCOMPARE(entries(), QStringList());
}

#ifdef Q_OS_UNIX
void CaptureFileTest::withoutLinksOrNoReplaceRenamesTheFileIsCreatedExclusively_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("a free name gets the bytes whole and nothing else is left")
        << "memo.txt" << 6 << "written";
    QTest::newRow("a name taken by a file keeps that file") << "taken.txt" << 6 << "taken";
    QTest::newRow("a write that fails part way leaves no file")
        << "big.txt" << (1 << 20) << "write fails";
    QTest::newRow("a name too long for the file system is still error 53")
        << QString(300, u'a') + QStringLiteral(".txt") << 6 << "error 53";
}

void CaptureFileTest::withoutLinksOrNoReplaceRenamesTheFileIsCreatedExclusively()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(QString, outcome);
    QFile file(folder->filePath(name));
    if (outcome == u"taken") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
        file.close();
    }
    const QByteArray bytes(size, 'x');
    const NoReplaceMoves missing{noHardLinks, outcome == u"write fails" ? noRenameFlagsAndLittleRoom
                                                                        : noRenameFlags};
    QString result;
    try {
        result = writeNewFile(file.fileName(), bytes, missing) ? QStringLiteral("written")
                                                               : QStringLiteral("taken");
    } catch (const PlatformError &error) {
        result = error.number() == ErrorNumber::FileNotFound ? QStringLiteral("error 53")
                                                             : QStringLiteral("write fails");
    }
    littleRoom.reset();
    QCOMPARE(result, outcome);
    const bool kept = outcome == u"written" || outcome == u"taken";
    QCOMPARE(entries(), kept ? QStringList{name} : QStringList());
    if (kept) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), outcome == u"written" ? bytes : QByteArray("old"));
    }
}
#endif

QTEST_GUILESS_MAIN(CaptureFileTest)
#include "tst_capturefile.moc"
