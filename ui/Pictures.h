#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, built into the executable.
namespace Pictures
{
QIcon windowIcon();
// Reading on shows the stop picture, reading off the start picture.
QPixmap readingOn();
QPixmap readingOff();
QIcon copy();
// Buttons that can be disabled carry a greyed picture for that state.
QIcon save();
QIcon saveAs();
QIcon rename();
QIcon deleteFile();
} // namespace Pictures
