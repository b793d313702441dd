#include "app/SettingsFile.h"
#include "app/UsableSettings.h"

#include <QLocale>
#include <QtTest>
#include <clocale>
#include <cmath>

class SettingsFormatTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numbers_data();
    void numbers();
    void numbersIgnoreTheLocale();
    void firstStartFileOnAJapaneseSystem();
    void reader_data();
    void reader();
    void writtenValuesReadBack();
    void windowRect_data();
    void windowRect();
};

namespace
{

struct NumberRow {
    const char *name;
    float value;
    const char *text;
};

const NumberRow numberRows[] = {
    {"an integral value has no point", 3840.0f, "3840"},
    {"zero", 0.0f, "0"},
    {"negative zero is zero", -0.0f, "0"},
    {"an option that is on", -1.0f, "-1"},
    {"a negative position", -2295.0f, "-2295"},
    {"half a pixel", 341.5f, "341.5"},
    {"a negative fraction", -0.25f, "-0.25"},
    {"a tenth keeps its short form", 0.1f, "0.1"},
    {"a third takes all seven digits", 1.0f / 3, "0.3333333"},
    {"seven digits that give the value back", 1234.567f, "1234.567"},
    {"a value needing more is cut to seven", 1234.5678f, "1234.568"},
    {"a small value has no exponent", 0.000125f, "0.000125"},
    {"a large integral value has no exponent", 20490000.0f, "20490000"},
    {"a large value is rounded to seven digits", 16777217.0f, "16777220"},
    {"the splitter of a 1366 pixel screen", 10245.0f / 2 / 15, "341.5"},
};

} // namespace

void SettingsFormatTest::numbers_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    for (const NumberRow &row : numberRows)
        QTest::newRow(row.name) << row.value << QString::fromLatin1(row.text);
}

void SettingsFormatTest::numbers()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(settingsNumberText(value), text);
}

void SettingsFormatTest::numbersIgnoreTheLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string cLocale = std::setlocale(LC_ALL, nullptr);
    bool commaLocale = false;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point == std::string(",")) {
            commaLocale = true;
            break;
        }
    }
    QStringList written;
    QList<float> read;
    for (const NumberRow &row : numberRows) {
        written << settingsNumberText(row.value);
        const SettingsItems items =
            readSettingsItems(QByteArray(row.text) + "\r\n", CodePage::Utf8);
        read << (items.valuesRead == 1 ? items.values[0] : std::nanf(""));
    }
    std::setlocale(LC_ALL, cLocale.c_str());
    QLocale::setDefault(previous);

    for (qsizetype i = 0; i < written.size(); ++i) {
        const NumberRow &row = numberRows[i];
        QVERIFY2(written.at(i) == QLatin1String(row.text), row.name);
        QVERIFY2(read.at(i) == QByteArray(row.text).toFloat(), row.name);
    }
    if (!commaLocale)
        QSKIP("No C locale with a decimal comma is installed (locale -a): the checks above ran "
              "under the Qt default locale German only.");
}

void SettingsFormatTest::firstStartFileOnAJapaneseSystem()
{
    const QByteArray bytes = settingsFileBytes(defaultSettings(ScreenMetrics{}),
                                               QStringLiteral("C:\\ツール\\"), CodePage::ShiftJis);
    QCOMPARE(bytes,
             QByteArray("3840\r\n2880\r\n7680\r\n5760\r\n256\r\n192\r\n-1\r\n-1\r\n0\r\n-1\r\n"
                        "12\r\n\"C:\\\x83\x63\x81\x5b\x83\x8b\\\"\r\n"));
}

void SettingsFormatTest::reader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("valuesRead");
    QTest::addColumn<bool>("folderRead");
    QTest::addColumn<QString>("folder");

    const auto fixture = [](const char *name) {
        QFile file(qEnvironmentVariable("QUILLBOX_TEST_DATA") + QStringLiteral("/settings/") +
                   QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("missing fixture %s", name);
        return file.readAll();
    };
    const QString srv = QStringLiteral("/srv/メモ/");
    QTest::newRow("the good file") << fixture("good.ini") << 11 << true << srv;
    QTest::newRow("eleven lines keep the folder")
        << fixture("eleven-lines.ini") << 11 << false << QString();
    QTest::newRow("blanks, commas and an empty line")
        << fixture("blanks-and-commas.ini") << 11 << true << srv;
    QTest::newRow("a missing closing quote runs to the line end")
        << fixture("missing-quote.ini") << 11 << true << srv;
    QTest::newRow("a word where a number belongs stops the reading")
        << fixture("garbage.ini") << 2 << false << QString();
    QTest::newRow("an empty file gives nothing") << fixture("empty.ini") << 0 << false << QString();
    QTest::newRow("line feeds alone end lines too")
        << QByteArray("4500\n3000\n6000\n4500\n150.5\n120\n0\n-1\n-1\n0\n20\n\"/srv/メモ/\"\n")
        << 11 << true << srv;
    QTest::newRow("a path with a quote inside reads to the last quote")
        << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n0\r\n0\r\n0\r\n0\r\n12\r\n\"/a\"b/\"\r\n")
        << 11 << true << QStringLiteral("/a\"b/");
    QTest::newRow("a path without quotes runs to the comma")
        << QByteArray("1,2,3,4,5,6,0,0,0,0,12,/srv/x/ ,rest\r\n") << 11 << true
        << QStringLiteral("/srv/x/");
    QTest::newRow("a Shift-JIS path from a Japanese system")
        << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n0\r\n0\r\n0\r\n0\r\n12\r\n\"C:"
                      "\\\x83\x81\x83\x82\\\"\r\n")
        << 11 << true << QStringLiteral("C:\\メモ\\");
    QTest::newRow("two commas in a row make an empty item")
        << QByteArray("1,,2\r\n") << 1 << false << QString();
    QTest::newRow("a number and a word on one item")
        << QByteArray("12 34\r\n") << 0 << false << QString();
    QTest::newRow("infinity is no number") << QByteArray("1\r\ninf\r\n") << 1 << false << QString();
    QTest::newRow("a value beyond single precision")
        << QByteArray("1e39\r\n") << 0 << false << QString();
}

void SettingsFormatTest::reader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, valuesRead);
    QFETCH(bool, folderRead);
    QFETCH(QString, folder);
    const SettingsItems items = readSettingsItems(bytes, CodePage::Utf8);
    QCOMPARE(items.valuesRead, valuesRead);
    QCOMPARE(items.folderRead, folderRead);
    QCOMPARE(items.folder, folder);
    const float good[] = {4500, 3000, 6000, 4500, 150.5f, 120, 0, -1, -1, 0, 20};
    if (bytes.startsWith("4500") || bytes.startsWith("  4500")) {
        for (int i = 0; i < valuesRead; ++i)
            QCOMPARE(items.values[i], good[i]);
    }
}

void SettingsFormatTest::writtenValuesReadBack()
{
    const SettingsValues values = {-2295, 0.1f, 1.0f / 3, 7e-5f, 341.5f, 3.4e38f, -1, 0, 1, -1, 25};
    const QString folder = QStringLiteral("/home/利用者/\"引用\"/");
    const SettingsItems items =
        readSettingsItems(settingsFileBytes(values, folder, CodePage::Utf8), CodePage::Utf8);
    QCOMPARE(items.valuesRead, 11);
    QCOMPARE(items.folder, folder);
    for (int i = 0; i < 11; ++i) {
        // Seven digits give back every value but the third, which is cut there.
        const float expected = i == 2 ? 0.3333333f : values[i];
        QCOMPARE(items.values[i], expected);
    }
}

void SettingsFormatTest::windowRect_data()
{
    QTest::addColumn<QRectF>("stored");
    QTest::addColumn<QRectF>("usable");
    const QRectF left(0, 0, 15360, 11520);
    QTest::newRow("a window on the screen keeps its place")
        << QRectF(3840, 2880, 7680, 5760) << QRectF(3840, 2880, 7680, 5760);
    QTest::newRow("a window on the second screen keeps its place")
        << QRectF(20000, 1000, 6000, 4000) << QRectF(20000, 1000, 6000, 4000);
    QTest::newRow("a window mostly off the screen whose title bar can be reached stays")
        << QRectF(-5000, 11000, 6000, 4000) << QRectF(-5000, 11000, 6000, 4000);
    QTest::newRow("a window too small grows to the least size in place")
        << QRectF(3000, 3000, 100, 100) << QRectF(3000, 3000, 3225, 2300);
    QTest::newRow("a window off every screen comes to the nearest place on the primary one")
        << QRectF(100000, 5000, 6000, 4000) << QRectF(15360 - 6000, 5000, 6000, 4000);
    QTest::newRow("a window whose title bar is above the screen comes down")
        << QRectF(1000, -3000, 6000, 4000) << QRectF(1000, 0, 6000, 4000);
    QTest::newRow("a window larger than the primary screen and off it shrinks to it")
        << QRectF(-90000, -90000, 40000, 30000) << left;
    QTest::newRow("a window of no size at the origin grows and stays")
        << QRectF(0, 0, 0, 0) << QRectF(0, 0, 3225, 2300);
}

void SettingsFormatTest::windowRect()
{
    QFETCH(QRectF, stored);
    QFETCH(QRectF, usable);
    const QRectF primary(0, 0, 15360, 11520);
    const QList<QRectF> screens = {primary, QRectF(15360, 0, 19200, 10800)};
    QCOMPARE(usableWindowRect(stored, screens, primary, QSizeF(3225, 2300)), usable);
}

QTEST_GUILESS_MAIN(SettingsFormatTest)
#include "tst_settingsformat.moc"
