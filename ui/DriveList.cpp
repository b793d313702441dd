#include "ui/DriveList.h"

#include <QDir>
#include <QStorageInfo>

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] { Q_EMIT driveChanged(); });
}

void DriveList::setDrives(const QList<Drive> &drives)
{
    const QSignalBlocker quiet(this);
    const QString current = drive();
    m_drives = drives;
    clear();
    for (const Drive &d : drives)
        addItem(d.name.isEmpty() ? d.root : QStringLiteral("%1 [%2]").arg(d.root, d.name));
    QStringList roots;
    for (const Drive &d : drives)
        roots << d.root;
    setCurrentIndex(int(roots.indexOf(driveOf(current, roots))));
}

QString DriveList::drive() const
{
    const int index = currentIndex();
    return index >= 0 && index < m_drives.size() ? m_drives.at(index).root : QString();
}

void DriveList::setDrive(const QString &path)
{
    QStringList roots;
    for (const Drive &d : std::as_const(m_drives))
        roots << d.root;
    const qsizetype index = roots.indexOf(driveOf(path, roots));
    if (index >= 0)
        setCurrentIndex(int(index));
}

QString DriveList::driveOf(const QString &path, const QStringList &roots)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    QString best;
    for (const QString &root : roots) {
        const QString r = QDir::cleanPath(QDir::fromNativeSeparators(root));
        const bool holds = r == QStringLiteral("/") || clean == r ||
                           clean.startsWith(r.endsWith(u'/') ? r : r + u'/');
        if (holds && (best.isEmpty() || r.size() > QDir::fromNativeSeparators(best).size()))
            best = root;
    }
    return best;
}

QList<DriveList::Drive> DriveList::mountedDrives()
{
    QList<Drive> drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const QByteArray type = volume.fileSystemType();
        const bool pseudo = type == "tmpfs" || type == "devtmpfs" || type == "proc" ||
                            type == "sysfs" || type == "overlay" || type == "squashfs";
        const bool system =
            root.startsWith(QStringLiteral("/proc")) || root.startsWith(QStringLiteral("/sys")) ||
            root.startsWith(QStringLiteral("/run")) || root.startsWith(QStringLiteral("/dev")) ||
            root.startsWith(QStringLiteral("/snap")) || root.startsWith(QStringLiteral("/boot"));
        if (root != QStringLiteral("/") && (pseudo || system))
            continue;
        drives.append({QDir::toNativeSeparators(root),
                       volume.displayName() == root ? QString() : volume.displayName()});
    }
    const QString systemRoot = QDir::toNativeSeparators(QDir::rootPath());
    if (std::none_of(drives.cbegin(), drives.cend(),
                     [&](const Drive &d) { return d.root == systemRoot; }))
        drives.prepend({systemRoot, QString()});
    std::sort(drives.begin(), drives.end(),
              [](const Drive &a, const Drive &b) { return a.root < b.root; });
    drives.erase(std::unique(drives.begin(), drives.end(),
                             [](const Drive &a, const Drive &b) { return a.root == b.root; }),
                 drives.end());
    return drives;
}
