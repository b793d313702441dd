#pragma once

#include <QString>
#include <stdexcept>

// The failure numbers that handlers test for. Every other failure carries a number of its own,
// which no handler tests; the reason is for the user and for test diagnostics.
namespace ErrorNumber
{
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int Overflow = 6;
} // namespace ErrorNumber

class PlatformError : public std::runtime_error
{
public:
    PlatformError(int number, const QString &reason);

    int number() const { return m_number; }
    QString reason() const { return m_reason; }

private:
    int m_number;
    QString m_reason;
};
