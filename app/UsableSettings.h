#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// Stored values that cannot serve on this desktop (a hand-edited file, a screen taken away, a
// folder removed) are held to the nearest ones that can. Rectangles are in twips.

// The window keeps its place while a strip along its top edge, where its title bar is, lies on
// one of the screens; otherwise it is brought onto the primary screen. It is never smaller than
// the least size, nor larger than the screens together.
QRectF usableWindowRect(const QRectF &outer, const QList<QRectF> &screens, const QRectF &primary,
                        const QSizeF &least);

// The file-name length within the spinner's range, 5 to 25.
float usableNameLength(float length);

// The splitters where a drag can leave them: at least 80 and 60 pixels from the window's left and
// top edges, and as far from its right and bottom edges (the window's outer size in pixels).
float usableVerticalSplitter(float left, float windowWidth);
float usableHorizontalSplitter(float top, float windowHeight);

// The folder with one trailing separator when it is an existing absolute folder, else the
// program folder.
QString usableFolder(const QString &folder, const QString &programFolder);
