#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One running copy per user and program folder. The lock lives in the user's runtime folder (the
// temporary folder on Windows) and names the process that holds it, so a copy that was killed does
// not block the next start.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &programFolder, const QString &lockFolder = QString());

    // False when another running copy holds the lock.
    bool tryAcquire();
    void release();
    QString lockFilePath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
