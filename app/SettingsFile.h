#pragma once

#include "capture/TextCodec.h"
#include "ui/platform/ScreenMetrics.h"

#include <QByteArray>
#include <QString>
#include <array>

// ClipSet.ini holds twelve lines, each ended by CR LF: the eleven Settings values in index order,
// then the capture folder in double quotes, in the system's code page.
using SettingsValues = std::array<float, 11>;

// A value as the file holds it: integral values without a point, others with a full stop and the
// fewest digits (at most 7 significant) that give the value back, whatever the locale.
QString settingsNumberText(float value);

QByteArray settingsFileBytes(const SettingsValues &values, const QString &folder,
                             CodePage codePage);

// What a reading of the file gave, item by item from the first: a reading stops at the first item
// that is missing or is not a number, and the items before it count.
struct SettingsItems {
    SettingsValues values{};
    int valuesRead = 0;
    bool folderRead = false;
    QString folder;

    bool isComplete() const { return folderRead; }
};

// A number item is the text up to the next comma or line end, blanks around it ignored; the folder
// is the text between the double quotes (up to the line's last quote, or to the line end when the
// closing one is missing), or without quotes the text up to the next comma or line end.
SettingsItems readSettingsItems(const QByteArray &bytes, CodePage codePage);

// The values of a first start: the window over the middle of the screen, both splitters at half of
// it, shown at start-up and always on top, the folder not locked, the reading state shown, names
// of 12 characters.
SettingsValues defaultSettings(const ScreenMetrics &screen);
