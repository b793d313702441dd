#include "ui/platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString &programFolder, const QString &lockFolder)
{
    QString folder = lockFolder;
#ifdef Q_OS_WIN
    // Windows has no runtime folder (Qt names the home folder for it): the user's temporary
    // folder keeps the lock out of sight.
    if (folder.isEmpty())
        folder = QDir::tempPath();
#endif
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(QDir::cleanPath(programFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_path =
        folder + QStringLiteral("/quillbox-") + QString::fromLatin1(key) + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // The program runs for days: only a dead owner, never the lock's age, makes it stale.
    m_lock->setStaleLockTime(0);
}

bool InstanceLock::tryAcquire()
{
    return m_lock->tryLock(0);
}

void InstanceLock::release()
{
    m_lock->unlock();
}
