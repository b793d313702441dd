#pragma once

#include <QtGlobal>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLBOX_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLBOX_ADDRESS_SANITIZER
#endif
#endif

// Stand-ins for a full disk and a short address space, through this process's own limits. Windows
// sets no such limits on a process: there isAvailable() is false, and a test that needs one skips
// itself.

// Makes every write that takes a file past the size fail, as on a full disk, while it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(quint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    static bool isAvailable();

private:
    quint64 m_previous = 0;
};

// Lets this process map at most the given bytes more than it has mapped now, while it lives. The
// address sanitizer maps far more than any such bound for itself, and ends the process on a failed
// allocation instead of throwing: tests that need the bound do without it there.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(quint64 more);
    ~AddressSpaceLimit();
    AddressSpaceLimit(const AddressSpaceLimit &) = delete;
    AddressSpaceLimit &operator=(const AddressSpaceLimit &) = delete;

    static bool isAvailable();

private:
    quint64 m_previous = 0;
};

// Whether a folder whose permissions forbid writing keeps this process out: not for root, and not
// on Windows, where a folder's read-only attribute keeps nobody out.
bool permissionsBind();
