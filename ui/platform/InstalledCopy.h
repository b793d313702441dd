#pragma once

#include <QString>

// Whether a program in this folder is an installed copy, which keeps its settings and captures in
// the user's own data folder: one in a folder its user may not write to, and always one where the
// system's packages and installers put programs, even for a user who may write there, so that
// removing the program never leaves them behind among the system's programs.
bool isInstalledCopy(const QString &executableFolder);
