#include "capture/NameFromText.h"

#include "capture/WholeCharacters.h"
#include "ui/platform/PlatformError.h"

#include <QStringView>
#include <cmath>

namespace
{

constexpr int invalidArgument = 5;

// The name length as a count: rounded half to even, as the length is stored as a single.
qsizetype lengthAsCount(float N)
{
    const float rounded = std::nearbyint(N);
    if (std::isnan(rounded) || rounded > 32767.0f)
        throw PlatformError(ErrorNumber::Overflow, QStringLiteral("name length out of range"));
    if (rounded < 0.0f)
        throw PlatformError(invalidArgument, QStringLiteral("negative name length"));
    return qsizetype(rounded);
}

bool isBlankOrLineBreak(QChar c)
{
    return c == u' ' || c == u'\r' || c == u'\n';
}

// Where the first line ends within the first n characters: the length of the name.
qsizetype cutAtFirst(QChar lineBreak, QStringView text, qsizetype n)
{
    const qsizetype at = text.first(std::min(n, text.size())).indexOf(lineBreak);
    return at > 0 ? at : n;
}

} // namespace

QString NameFromText(QString &text, float N)
{
    const qsizetype count = lengthAsCount(N);

    qsizetype blanks = 0;
    while (text.size() - blanks > 1 && isBlankOrLineBreak(text.at(blanks)))
        ++blanks;
    text.remove(0, blanks);

    if (text == QStringLiteral(" "))
        text = QStringLiteral("Space-----------------------").left(count);

    qsizetype n = count;
    n = cutAtFirst(u'\r', text, n);
    n = cutAtFirst(u'\n', text, n);
    return leftWholeCharacters(text, n);
}
