#pragma once

#include <QString>
#include <functional>

// The base name that an answer to save as or rename stands for: the answer up to its first ".",
// unless the answer starts with "."; ".txt" is added to it afterwards.
QString baseNameFromAnswer(const QString &answer);

// The first path in the folder (which ends in a separator) for the base, then the base numbered
// 1, 2, ..., that is not taken. The counter is a 16-bit number, as in the capture loop: when every
// name up to 32767 is taken, this throws PlatformError 6.
QString firstFreePath(const QString &folder, const QString &base,
                      const std::function<bool(const QString &path)> &taken);

// Writes under the first free path for the base, as firstFreePath finds it: `write` is handed the
// path and returns false when it finds it taken after all, by another program since the test; the
// numbering then goes on past it. `target` holds the path being tried, and once this returns the
// path written.
void writeUnderFirstFreeName(const QString &folder, const QString &base,
                             const std::function<bool(const QString &path)> &taken,
                             const std::function<bool(const QString &path)> &write,
                             QString &target);
