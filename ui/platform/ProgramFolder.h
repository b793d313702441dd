#pragma once

#include <QString>

// The folder with exactly one trailing separator: a root keeps the one it has.
QString withTrailingSeparator(const QString &folder);

// The folder that holds ClipSet.ini and the default captures: the executable's folder when the
// user may write there (a portable copy), otherwise, and always for a copy in /usr/bin or
// /usr/local/bin, the user's own data folder, created here.
QString programFolder();

// Where the help file is: beside the executable, or else in the installed data folder.
QString helpFileFolder();
