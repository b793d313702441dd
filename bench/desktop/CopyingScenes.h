#pragma once

#include "CaptureWatch.h"
#include "Figure.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <sys/types.h>

// This process as the other program on the desktop: it owns the clipboard, copies texts one
// after the other, and sees each capture the program makes of them in its capture folder.
class CopyingScenes
{
public:
    // Figures are named with the prefix first ("wine_" for the program under Wine).
    CopyingScenes(pid_t program, const QString &captureFolder, const char *prefix = "");

    bool isReady() const { return m_watch.isOpen(); }
    // Copies the text and waits for its capture; the capture's bytes must be the text's.
    bool copyAndAwait(const QString &text, std::chrono::milliseconds timeout);
    // Switches the program's reading on with its shortcut, Ctrl+K, typed into its window, and
    // waits until a copy is captured.
    bool switchReadingOn(unsigned long window);
    // A program under Wine gets an X11 text with CR LF for each line feed, as Windows texts have.
    void expectWindowsLineEnds() { m_windowsLineEnds = true; }

    void latency(int copies);
    void burst(const char *name, int copies, std::chrono::milliseconds apart);
    void memoryAfterCaptures(int captures);
    void memoryWithLargeText(qsizetype size);
    void idleCpu(const char *name, std::chrono::seconds span);

private:
    int capturesOf(const QList<QString> &texts, const QList<CaptureWatch::Arrival> &arrivals);
    QByteArray nameOf(const char *figure) const;
    // The bytes of the capture of a copied text: the text plus CR LF.
    QByteArray captureBytes(const QString &text) const;

    pid_t m_program;
    const char *m_prefix;
    bool m_windowsLineEnds = false;
    CaptureWatch m_watch;
    int m_serial = 0;
};
