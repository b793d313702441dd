#include "capture/FileNameRule.h"

#include <QRegularExpression>

bool isUsableBaseName(const QString &base)
{
    for (const QChar c : base) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    }
    // Windows takes the part before the first dot for the device, blanks at its end ignored:
    // "CON.txt", "con .txt" and "CON .md.txt" all name it.
    static const QRegularExpression reserved(
        QStringLiteral(
            "^(CON|PRN|AUX|NUL|COM[1-9\u00B9\u00B2\u00B3]|LPT[1-9\u00B9\u00B2\u00B3]) *$"),
        QRegularExpression::CaseInsensitiveOption);
    return !reserved.match(base.section(u'.', 0, 0)).hasMatch();
}

QString numberedFileName(const QString &base, int counter)
{
    if (counter == 0)
        return base + QStringLiteral(".txt");
    return base + u' ' + QString::number(counter) + QStringLiteral(".txt");
}
