#include "FuzzInput.h"
#include "capture/FileNameRule.h"
#include "capture/NameFromText.h"
#include "ui/platform/PlatformError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

const QString folder = QStringLiteral("/captures/");

// A name Windows takes for a device: the part before the first dot, blanks at its end ignored,
// is CON, PRN, AUX, NUL, COM or LPT with a digit.
bool namesADevice(const QString &fileName)
{
    static const QRegularExpression device(
        QStringLiteral(
            "^(CON|PRN|AUX|NUL|COM[1-9\u00B9\u00B2\u00B3]|LPT[1-9\u00B9\u00B2\u00B3]) *$"),
        QRegularExpression::CaseInsensitiveOption);
    return device.match(fileName.section(u'.', 0, 0)).hasMatch();
}

// The file the capture would write lies in the capture folder, under a name every system takes.
void checkPath(const QString &path)
{
    FUZZ_CHECK(path.startsWith(folder));
    const QString fileName = path.sliced(folder.size());
    FUZZ_CHECK(fileName.endsWith(QStringLiteral(".txt")));
    FUZZ_CHECK(fileName != QStringLiteral(".") && fileName != QStringLiteral(".."));
    FUZZ_CHECK(!fileName.contains(u'/') && !fileName.contains(u'\\'));
    for (const QChar c : fileName)
        FUZZ_CHECK(c.unicode() >= 0x20 && !QStringLiteral(":*?\"<>|").contains(c));
    FUZZ_CHECK(!namesADevice(fileName));
    FUZZ_CHECK(QDir::cleanPath(path) == path);
    FUZZ_CHECK(QFileInfo(path).absolutePath() + u'/' == folder);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    // The first bytes choose the name length and the counter, the rest is the text.
    const float N = float(int8_t(data[0]));
    const int counter = (data[1] | data[2] << 8) & 0x7FFF;
    QString text = utf16Of(data + 3, size - 3);
    const QString original = text;

    QString base;
    try {
        base = NameFromText(text, N);
    } catch (const PlatformError &) {
        FUZZ_CHECK(N < 0.0f);
        return 0;
    }
    FUZZ_CHECK(base.size() <= qsizetype(N));
    const QString placeholder = QStringLiteral("Space-----------------------").left(qsizetype(N));
    FUZZ_CHECK(original.endsWith(text) || text == placeholder);
    FUZZ_CHECK(text.startsWith(base));
    FUZZ_CHECK(base.isEmpty() || !base.back().isHighSurrogate());
    FUZZ_CHECK(base.size() <= 1 || (!base.contains(u'\r') && !base.contains(u'\n')));

    // The capture falls back to "NoName" for a base the rule refuses.
    const QString used = isUsableBaseName(base) ? base : QStringLiteral("NoName");
    checkPath(folder + numberedFileName(used, counter));
    return 0;
}
