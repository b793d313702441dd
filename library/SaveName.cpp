#include "library/SaveName.h"

#include "capture/FileNameRule.h"
#include "ui/platform/PlatformError.h"

#include <QSet>
#include <limits>

QString baseNameFromAnswer(const QString &answer)
{
    const qsizetype dot = answer.indexOf(u'.');
    return dot >= 1 ? answer.left(dot) : answer;
}

QString firstFreePath(const QString &folder, const QString &base,
                      const std::function<bool(const QString &path)> &taken)
{
    qint16 counter = 0;
    QString path = folder + numberedFileName(base, counter);
    while (taken(path)) {
        if (counter == std::numeric_limits<qint16>::max())
            throw PlatformError(
                ErrorNumber::Overflow,
                QStringLiteral("「%1」に番号を付けた名前がすべて使われています。").arg(base));
        ++counter;
        path = folder + numberedFileName(base, counter);
    }
    return path;
}

void writeUnderFirstFreeName(const QString &folder, const QString &base,
                             const std::function<bool(const QString &path)> &taken,
                             const std::function<bool(const QString &path)> &write, QString &target)
{
    QSet<QString> takenMeanwhile;
    const auto takenNow = [&](const QString &path) {
        return takenMeanwhile.contains(path) || taken(path);
    };
    while (true) {
        target = firstFreePath(folder, base, takenNow);
        if (write(target))
            return;
        takenMeanwhile.insert(target);
    }
}
