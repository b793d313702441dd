#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <chrono>

class QSocketNotifier;

// Sees each captured file the moment it is complete. The program writes a capture under a hidden
// name and links or renames it to its ".txt" name when it is whole, so the appearance of a
// ".txt" name in the folder is the moment the capture is done.
class CaptureWatch : public QObject
{
public:
    using Clock = std::chrono::steady_clock;
    struct Arrival {
        QString path;
        Clock::time_point at;
    };

    explicit CaptureWatch(const QString &folder);
    ~CaptureWatch() override;

    bool isOpen() const { return m_descriptor >= 0; }
    // Runs the event loop, so that this process keeps serving its clipboard, until `count`
    // captures have arrived or the time is up; hands over what arrived and forgets it.
    QList<Arrival> take(int count, std::chrono::milliseconds timeout);

private:
    void readEvents();

    QString m_folder;
    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
    QList<Arrival> m_arrived;
};
