#pragma once

#include <QString>

// The folder with exactly one trailing separator: a root keeps the one it has.
QString withTrailingSeparator(const QString &folder);

// The folder that holds ClipSet.ini and the default captures: the executable's folder for a
// portable copy, the user's own data folder, created here, for an installed one (InstalledCopy.h).
QString programFolder();

// Where the help file is: beside the executable, or else in the installed data folder.
QString helpFileFolder();
