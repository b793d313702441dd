#include "capture/WholeCharacters.h"

#include <algorithm>

QString leftWholeCharacters(const QString &text, qsizetype n)
{
    n = std::clamp<qsizetype>(n, 0, text.size());
    while (n > 0 && text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}
