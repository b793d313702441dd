#include "capture/TextLines.h"

QString joinedLines(const QString &contents)
{
    qsizetype end = contents.size();
    if (contents.endsWith(QStringLiteral("\r\n")))
        end -= 2;
    else if (contents.endsWith(u'\r'))
        end -= 1;
    QString text;
    text.reserve(end + end / 32);
    qsizetype from = 0;
    for (qsizetype at = 0; at < end; ++at) {
        if (contents.at(at) != u'\r' || (at + 1 < end && contents.at(at + 1) == u'\n'))
            continue;
        // A carriage return alone ends a line too: it comes back as CR LF.
        text.append(QStringView(contents).sliced(from, at - from));
        text.append(QStringLiteral("\r\n"));
        from = at + 1;
    }
    text.append(QStringView(contents).sliced(from, end - from));
    return text;
}

QString readTextFile(const QByteArray &bytes, CodePage codePage)
{
    return joinedLines(decodeText(bytes, codePage));
}
