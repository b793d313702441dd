#include "ui/platform/PlatformError.h"

PlatformError::PlatformError(int number, const QString &reason)
    : std::runtime_error(QStringLiteral("error %1: %2").arg(number).arg(reason).toStdString()),
      m_number(number), m_reason(reason)
{
}
