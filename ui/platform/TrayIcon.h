#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

class QMenu;

// Mouse-message numbers of the tray icon, as the main window's reaction table reads them.
namespace TrayMessage
{
inline constexpr int MouseMove = 512;
inline constexpr int LeftButtonDown = 513;
inline constexpr int LeftButtonUp = 514;
inline constexpr int LeftDoubleClick = 515;
inline constexpr int RightButtonDown = 516;
inline constexpr int RightButtonUp = 517;
} // namespace TrayMessage

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether the desktop shows the icon now, so that the user can reach the program through it.
    virtual bool isAvailable() const = 0;
    // The icon with its tip; a desktop that draws the icon's menu itself shows `menu`.
    virtual void add(const QIcon &icon, const QString &tip, QMenu *menu) = 0;
    virtual void remove() = 0;
    // Where the last mouse message happened, in screen coordinates: where its menu opens.
    virtual QPoint messagePosition() const = 0;

Q_SIGNALS:
    // One of the TrayMessage numbers.
    void mouseMessage(int message);
    // The desktop's tray came or went while the program runs.
    void availabilityChanged(bool available);
};
