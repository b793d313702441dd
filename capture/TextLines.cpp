#include "capture/TextLines.h"

QString joinedLines(const QString &contents)
{
    QStringView lines(contents);
    if (lines.endsWith(u"\r\n"))
        lines.chop(2);
    else if (lines.endsWith(u'\r'))
        lines.chop(1);
    // Lines that end in CR LF are already joined as the pane wants them; only a carriage return
    // alone needs its line feed, so the text is copied piecewise only when one occurs.
    QString text;
    qsizetype from = 0;
    for (qsizetype at = lines.indexOf(u'\r'); at >= 0; at = lines.indexOf(u'\r', at + 1)) {
        if (at + 1 < lines.size() && lines.at(at + 1) == u'\n')
            continue;
        if (from == 0)
            text.reserve(lines.size() + lines.size() / 16 + 2);
        text.append(lines.sliced(from, at + 1 - from));
        text.append(u'\n');
        from = at + 1;
    }
    if (from == 0)
        return lines.size() == contents.size() ? contents : lines.toString();
    text.append(lines.sliced(from));
    return text;
}

QString readTextFile(const QByteArray &bytes, CodePage codePage)
{
    return joinedLines(decodeText(bytes, codePage));
}
