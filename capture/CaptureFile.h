#pragma once

#include <QByteArray>
#include <QString>

// Whether a plain file exists at exactly the path (a directory does not count, "*" and "?" are
// ordinary characters). A name longer than the file system holds throws error 53.
bool plainFileExists(const QString &path);

// Writes the bytes as a new file at the path, whole or not at all: they go to a temporary file in
// the same folder first, which is then moved into place without replacing anything. False when
// the path is taken by then; a failure throws a PlatformError (53 for a name the file system
// refuses) and leaves no file behind.
bool writeNewFile(const QString &path, const QByteArray &bytes);
