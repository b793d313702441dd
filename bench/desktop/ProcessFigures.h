#pragma once

#include <sys/types.h>

// What the kernel counts for a running process, read from /proc.
struct MemoryFigures {
    double residentMb = 0;
    double privateMb = 0;
};

MemoryFigures memoryOf(pid_t pid);
// The largest resident size since the last reset (or the start), in megabytes.
double peakMemoryOf(pid_t pid);
void resetPeakMemory(pid_t pid);
// User and system time together, in seconds.
double cpuSecondsOf(pid_t pid);
