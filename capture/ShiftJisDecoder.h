#pragma once

#include <QByteArrayView>
#include <QString>

// Code page 932 to UTF-16 through a table that is built once from the system's conversion at first
// use: that conversion itself is several times slower than the viewer needs. A byte or pair that
// code page 932 does not define becomes U+FFFD; a lead byte takes the byte after it as its pair
// whatever that is.
QString decodeShiftJis(QByteArrayView bytes);
