#include "capture/TextLines.h"

QString joinedLines(QString contents)
{
    // Cut in place: a file's text may be large, and a copy of it costs as much as reading it.
    if (contents.endsWith(u"\r\n"))
        contents.chop(2);
    else if (contents.endsWith(u'\r'))
        contents.chop(1);
    const QStringView lines(contents);
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
        return contents;
    text.append(lines.sliced(from));
    return text;
}

QString readTextFile(const QByteArray &bytes, CodePage codePage)
{
    return joinedLines(decodeText(bytes, codePage));
}
