#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// Runs the event loop for a while, so that this process serves the clipboard it owns to whoever
// asks and hears of the captures meanwhile.
void serveFor(std::chrono::milliseconds time);

// The bytes of a capture file, or none when it cannot be read.
QByteArray fileContents(const QString &path);
