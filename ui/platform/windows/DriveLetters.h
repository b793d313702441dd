#pragma once

#include "ui/widgets/DriveList.h"

// Every drive letter the system has, by its root ("C:\") and its volume's label. A drive without
// a medium is listed too: choosing it tells the user so.
QList<DriveList::Drive> driveLetters();
