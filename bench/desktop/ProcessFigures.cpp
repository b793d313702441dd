#include "ProcessFigures.h"

#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

MemoryFigures memoryOf(pid_t pid)
{
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    MemoryFigures figures;
    std::string key;
    double kilobytes = 0;
    std::string unit;
    std::string line;
    while (std::getline(rollup, line)) {
        std::istringstream fields(line);
        if (!(fields >> key >> kilobytes >> unit))
            continue;
        if (key == "Rss:")
            figures.residentMb = kilobytes / 1024;
        else if (key == "Private_Clean:" || key == "Private_Dirty:")
            figures.privateMb += kilobytes / 1024;
    }
    return figures;
}

double peakMemoryOf(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string key;
        double kilobytes = 0;
        if (fields >> key >> kilobytes && key == "VmHWM:")
            return kilobytes / 1024;
    }
    return 0;
}

void resetPeakMemory(pid_t pid)
{
    // Writing 5 to clear_refs sets the peak back to the present resident size.
    std::ofstream("/proc/" + std::to_string(pid) + "/clear_refs") << "5";
}

double cpuSecondsOf(pid_t pid)
{
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(statFile, stat);
    // The command name may hold blanks and parentheses: the fields start after the last ')'.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14)
            utime = std::stoll(field);
        else if (index == 15)
            stime = std::stoll(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}
