#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// Stored values that cannot serve on this desktop (a hand-edited file, a screen taken away, a
// folder removed) are held to the nearest ones that can. Rectangles are in twips.

// The window keeps its place while a strip along its top edge, where its title bar is, lies on
// one of the screens; otherwise it is brought onto the primary screen. It is never smaller than
// the least size.
QRectF usableWindowRect(const QRectF &outer, const QList<QRectF> &screens, const QRectF &primary,
                        const QSizeF &least);

// The file-name length within the spinner's range, 5 to 25.
float usableNameLength(float length);

// The splitters at least where a drag can leave them (80 and 60 pixels); the layout keeps them
// inside the window.
float usableVerticalSplitter(float left);
float usableHorizontalSplitter(float top);

// The folder with one trailing separator when it is an existing absolute folder, else the
// program folder.
QString usableFolder(const QString &folder, const QString &programFolder);
