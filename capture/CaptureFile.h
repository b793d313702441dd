#pragma once

#include <QByteArray>
#include <QString>

// Whether a plain file exists at exactly the path (a directory does not count, "*" and "?" are
// ordinary characters). A name the file system cannot hold throws error 53: one too long, and on
// Windows also one it refuses or takes for something else (a device such as con.txt).
bool plainFileExists(const QString &path);

// Writes the bytes as a new file at the path, whole or not at all: they go to a temporary file in
// the same folder first, which is then moved into place without replacing anything (where the file
// system cannot do that, the file is created only if the path is free and written in place). False
// when the path is taken by then; a failure throws a PlatformError (53 only for a name the file
// system refuses) and leaves no file behind.
bool writeNewFile(const QString &path, const QByteArray &bytes);

// Writes the bytes whole to a new hidden file beside the path, under a name the file list never
// shows, and returns its path; a write that fails leaves no file and throws a PlatformError (61
// when the disk is full, 75 for any other failure).
QString writeTemporaryBeside(const QString &path, const QByteArray &bytes);

#ifdef Q_OS_WIN
// Puts the finished temporary file in the place of the file at the path, which keeps its access
// list and attributes (or takes the path if no file is there any more). False when Windows refuses.
bool replaceWithTemporary(const QString &temporary, const QString &path);
#endif

#ifdef Q_OS_UNIX
// The two ways a finished file is moved into place without replacing another: a hard link, and a
// rename told not to replace. Each returns 0, or -1 with errno set, as the calls it stands for;
// tests stand in for a file system that has neither.
struct NoReplaceMoves {
    int (*link)(const char *from, const char *to);
    int (*renameNoReplace)(const char *from, const char *to);
};

// As writeNewFile, moving the file into place in the given ways.
bool writeNewFile(const QString &path, const QByteArray &bytes, const NoReplaceMoves &moves);
#endif
