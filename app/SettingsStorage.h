#pragma once

#include <QByteArray>
#include <QString>

// ClipSet.ini on disk. Every failure is a PlatformError: 52 for a path that cannot name a file,
// another number for everything else.

QString settingsFilePath(const QString &appFolder);

// Throws error 52 when the path cannot name a file on this system (a NUL character, a name or a
// path too long for the file system).
void checkSettingsPath(const QString &path);

// Whether a plain file is there; a folder of that name does not count.
bool settingsFileExists(const QString &path);

QByteArray readSettingsFile(const QString &path);

// Replaces the file as a whole: when any step fails, the previous file stays as it was.
void replaceSettingsFile(const QString &path, const QByteArray &bytes);
