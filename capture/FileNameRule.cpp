#include "capture/FileNameRule.h"

#include <QRegularExpression>

bool isUsableBaseName(const QString &base)
{
    for (const QChar c : base) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    }
    // Windows takes "CON.txt" and "con .txt" for the device too.
    static const QRegularExpression reserved(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    QString stem = base;
    while (stem.endsWith(u' '))
        stem.chop(1);
    return !reserved.match(stem).hasMatch();
}

QString numberedFileName(const QString &base, int counter)
{
    if (counter == 0)
        return base + QStringLiteral(".txt");
    return base + u' ' + QString::number(counter) + QStringLiteral(".txt");
}
