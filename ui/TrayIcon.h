#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

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

    virtual bool isAvailable() const = 0;
    virtual void add(const QIcon &icon, const QString &tip) = 0;
    virtual void remove() = 0;

Q_SIGNALS:
    // One of the TrayMessage numbers.
    void mouseMessage(int message);
};
