#pragma once

#include <QtGlobal>

// The largest text the program takes in, in bytes: a file for the pane, a text from the
// clipboard. On its way in a text is held several times over (its bytes, its text, the pane's
// copy), so a larger one would take gigabytes.
inline constexpr qint64 largestText = qint64(256) << 20;
