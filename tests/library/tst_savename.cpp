#include "library/SaveName.h"
#include "ui/platform/PlatformError.h"

#include <QtTest>

class SaveNameTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void baseName_data();
    void baseName();
    void takenNamesAreNumberedFromOne();
    void passingCounter32767IsAFailure();
    void aNameTakenAfterItsTestIsPassedBy();
};

void SaveNameTest::baseName_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("base");
    QTest::newRow("a plain name stays") << "memo"
                                        << "memo";
    QTest::newRow("the extension .txt goes") << "memo.txt"
                                             << "memo";
    QTest::newRow("any other extension goes too") << "memo.doc"
                                                  << "memo";
    QTest::newRow("everything from the first dot goes") << "a.b.c"
                                                        << "a";
    QTest::newRow("a leading dot keeps the answer whole") << ".x"
                                                          << ".x";
    QTest::newRow("blanks and Japanese stay") << "会議 メモ.txt"
                                              << "会議 メモ";
}

void SaveNameTest::baseName()
{
    QFETCH(QString, answer);
    QFETCH(QString, base);
    QCOMPARE(baseNameFromAnswer(answer), base);
}

void SaveNameTest::takenNamesAreNumberedFromOne()
{
    const QStringList taken = {"/f/memo.txt", "/f/memo 1.txt"};
    QCOMPARE(firstFreePath("/f/", "memo", [&](const QString &p) { return taken.contains(p); }),
             QStringLiteral("/f/memo 2.txt"));
    QCOMPARE(firstFreePath("/f/", "note", [&](const QString &p) { return taken.contains(p); }),
             QStringLiteral("/f/note.txt"));
}

void SaveNameTest::passingCounter32767IsAFailure()
{
    QString last;
    const auto everyNameTaken = [&](const QString &path) {
        last = path;
        return true;
    };
    try {
        firstFreePath("/f/", "memo", everyNameTaken);
        QFAIL("a name was found where all are taken");
    } catch (const PlatformError &error) {
        QCOMPARE(error.number(), ErrorNumber::Overflow);
    }
    QCOMPARE(last, QStringLiteral("/f/memo 32767.txt"));
    QString found = firstFreePath("/f/", "memo", [](const QString &path) {
        return path != QStringLiteral("/f/memo 32767.txt");
    });
    QCOMPARE(found, QStringLiteral("/f/memo 32767.txt"));
}

void SaveNameTest::aNameTakenAfterItsTestIsPassedBy()
{
    // memo.txt is free when tested, but another program has taken it by the write; memo 1.txt
    // is taken when tested.
    const QStringList takenWhenTested = {"/f/memo 1.txt"};
    QStringList tried;
    QString target;
    writeUnderFirstFreeName(
        "/f/", "memo", [&](const QString &p) { return takenWhenTested.contains(p); },
        [&](const QString &p) {
            tried << p;
            return p != QStringLiteral("/f/memo.txt");
        },
        target);
    QCOMPARE(tried, (QStringList{"/f/memo.txt", "/f/memo 2.txt"}));
    QCOMPARE(target, QStringLiteral("/f/memo 2.txt"));
}

QTEST_GUILESS_MAIN(SaveNameTest)
#include "tst_savename.moc"
