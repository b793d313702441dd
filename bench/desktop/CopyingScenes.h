#pragma once

#include "CaptureWatch.h"
#include "Figure.h"

#include <QString>
#include <chrono>
#include <sys/types.h>

// This process as the other program on the desktop: it owns the clipboard, copies texts one
// after the other, and sees each capture the program makes of them in its capture folder.
class CopyingScenes
{
public:
    CopyingScenes(pid_t program, const QString &captureFolder);

    bool isReady() const { return m_watch.isOpen(); }
    // Copies the text and waits for its capture; the capture's bytes must be the text's.
    bool copyAndAwait(const QString &text, std::chrono::milliseconds timeout);

    void latency(int copies);
    void burst(const char *name, int copies, std::chrono::milliseconds apart);
    void memoryAfterCaptures(int captures);
    void memoryWithLargeText(qsizetype size);
    void idleCpu(const char *name, std::chrono::seconds span);

private:
    int capturesOf(const QList<QString> &texts, const QList<CaptureWatch::Arrival> &arrivals);

    pid_t m_program;
    CaptureWatch m_watch;
    int m_serial = 0;
};
