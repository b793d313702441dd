#include "Starting.h"

#include <QFile>
#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

Started startAndWaitForWindow(MapWatch &watch, const QString &executable,
                              const QStringList &arguments, const char *title,
                              std::chrono::milliseconds timeout)
{
    std::vector<QByteArray> owned{QFile::encodeName(executable)};
    for (const QString &argument : arguments)
        owned.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : owned)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const auto exec = MapWatch::Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    const MapWatch::Mapped mapped = watch.waitForWindow(pid, title, timeout);
    Started started{pid, mapped.window, 0};
    started.milliseconds = std::chrono::duration<double, std::milli>(mapped.at - exec).count();
    return started;
}

void stop(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
