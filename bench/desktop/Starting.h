#pragma once

#include "MapWatch.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <sys/types.h>
#include <vector>

struct Started {
    pid_t pid = -1;
    // 0 when no window was shown in time.
    unsigned long window = 0;
    double milliseconds = 0;
};

// Starts the executable and waits for its window with the title: the time from exec to the window
// being mapped.
Started startAndWaitForWindow(MapWatch &watch, const QString &executable,
                              const QStringList &arguments, const char *title,
                              std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Kills the process and collects it.
void stop(pid_t pid);

double median(std::vector<double> values);
