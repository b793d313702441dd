#pragma once

#include "CaptureWatch.h"

#include <QByteArray>
#include <QString>
#include <sys/types.h>

struct _XDisplay;

// Large texts copied by another program (xclip, as a user's editor would hand them over): the
// time from the moment it owns the clipboard to the complete capture file, and how late the
// program's window answers while the text arrives.
class LargeCopies
{
public:
    LargeCopies(pid_t program, unsigned long window, const QString &captureFolder);
    ~LargeCopies();

    bool isReady() const;
    // Five copies of the size; prints the median time to the complete file and, when asked,
    // the longest the window kept a ping waiting and the peak resident memory.
    void measure(const char *name, qsizetype bytes, bool lateness);
    // Five 20 MB copies handed over by the given owner program (tests/e2e/slow_owner) as fast
    // as the program takes them: the longest the window kept a ping waiting while the text
    // arrived, from the owner taking the clipboard until it has handed over the last piece.
    void measureArrival(const QString &owner);

private:
    // Copies the text with xclip and returns the time from its taking the clipboard to the
    // capture, in milliseconds, or a negative number when no complete capture arrived.
    double copyAndTime(const QByteArray &text);
    bool waitForOwnerChange(unsigned long previous);

    pid_t m_program;
    unsigned long m_window;
    QString m_folder;
    CaptureWatch m_watch;
    _XDisplay *m_display = nullptr;
    unsigned long m_clipboard = 0;
    int m_serial = 0;
};
