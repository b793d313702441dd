#include "ui/platform/OfferedText.h"

namespace OfferedText
{

namespace
{

// STRING is Latin-1 by definition; the others carry UTF-8.
const QString latin1Type = QStringLiteral("STRING");

} // namespace

QString preferredType(const QStringList &offered)
{
    static const QString preference[] = {QStringLiteral("text/plain;charset=utf-8"),
                                         QStringLiteral("UTF8_STRING"),
                                         QStringLiteral("text/plain"), latin1Type};
    for (const QString &wanted : preference) {
        for (const QString &type : offered) {
            if (type.compare(wanted, Qt::CaseInsensitive) == 0)
                return type;
        }
    }
    return QString();
}

QStringConverter::Encoding encodingOf(const QString &type)
{
    return type == latin1Type ? QStringConverter::Latin1 : QStringConverter::Utf8;
}

bool hintMarksSecret(const QByteArray &hint)
{
    return hint.trimmed() == "secret";
}

} // namespace OfferedText
