#include "ProcessLimits.h"

#ifdef Q_OS_UNIX
#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

quint64 setCurrentLimit(int resource, quint64 limit)
{
    rlimit previous{};
    getrlimit(resource, &previous);
    const rlimit next{rlim_t(limit), previous.rlim_max};
    setrlimit(resource, &next);
    return previous.rlim_cur;
}

} // namespace

FileSizeLimit::FileSizeLimit(quint64 bytes)
{
    // The write past the limit fails; the signal that would end the process is not wanted.
    std::signal(SIGXFSZ, SIG_IGN);
    m_previous = setCurrentLimit(RLIMIT_FSIZE, bytes);
}

FileSizeLimit::~FileSizeLimit()
{
    setCurrentLimit(RLIMIT_FSIZE, m_previous);
}

bool FileSizeLimit::isAvailable()
{
    return true;
}

AddressSpaceLimit::AddressSpaceLimit(quint64 more)
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    const quint64 mapped =
        statm.readAll().split(' ').first().toULongLong() * quint64(sysconf(_SC_PAGESIZE));
    m_previous = setCurrentLimit(RLIMIT_AS, mapped + more);
}

AddressSpaceLimit::~AddressSpaceLimit()
{
    setCurrentLimit(RLIMIT_AS, m_previous);
}

bool AddressSpaceLimit::isAvailable()
{
    return true;
}

bool permissionsBind()
{
    return geteuid() != 0;
}

#else

FileSizeLimit::FileSizeLimit(quint64) {}
FileSizeLimit::~FileSizeLimit() = default;
bool FileSizeLimit::isAvailable()
{
    return false;
}

AddressSpaceLimit::AddressSpaceLimit(quint64) {}
AddressSpaceLimit::~AddressSpaceLimit() = default;
bool AddressSpaceLimit::isAvailable()
{
    return false;
}

bool permissionsBind()
{
    return false;
}

#endif
