#pragma once

#include <QFile>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLBOX_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLBOX_ADDRESS_SANITIZER
#endif
#endif

// Lets this process map at most the given bytes more than it has mapped now, while it lives. The
// address sanitizer maps far more than any such bound for itself, and ends the process on a failed
// allocation instead of throwing: tests that need the bound do without it there.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(rlim_t more)
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        statm.open(QIODevice::ReadOnly);
        const rlim_t mapped =
            statm.readAll().split(' ').first().toULongLong() * sysconf(_SC_PAGESIZE);
        getrlimit(RLIMIT_AS, &m_old);
        const rlimit limit{mapped + more, m_old.rlim_max};
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_old); }
    AddressSpaceLimit(const AddressSpaceLimit &) = delete;
    AddressSpaceLimit &operator=(const AddressSpaceLimit &) = delete;

private:
    rlimit m_old{};
};
