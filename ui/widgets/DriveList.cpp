#include "ui/widgets/DriveList.h"

#ifdef Q_OS_WIN
#include "ui/platform/windows/DriveLetters.h"
#endif

#include <QDir>
#include <QFileInfo>
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

bool DriveList::isRecognisedVolume(const QString &root, const QByteArray &fileSystemType,
                                   bool rootIsFolder)
{
    if (QDir::fromNativeSeparators(root) == QDir::rootPath())
        return true;
#ifdef Q_OS_WIN
    Q_UNUSED(fileSystemType);
    return rootIsFolder;
#else
    static const QList<QByteArray> virtualTypes = {"autofs",      "binfmt_misc",
                                                   "bpf",         "cgroup",
                                                   "cgroup2",     "configfs",
                                                   "debugfs",     "devpts",
                                                   "devtmpfs",    "efivarfs",
                                                   "fusectl",     "hugetlbfs",
                                                   "mqueue",      "nsfs",
                                                   "overlay",     "proc",
                                                   "pstore",      "ramfs",
                                                   "rpc_pipefs",  "securityfs",
                                                   "selinuxfs",   "squashfs",
                                                   "sysfs",       "tmpfs",
                                                   "tracefs",     "fuse.gvfsd-fuse",
                                                   "fuse.portal", "fuse.snapfuse",
                                                   "nfsd"};
    if (!rootIsFolder || virtualTypes.contains(fileSystemType))
        return false;
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(root)) + u'/';
    // A mount below a hidden folder is hidden on purpose.
    if (path.contains(QStringLiteral("/.")))
        return false;
    if (path.startsWith(QStringLiteral("/run/media/")))
        return true;
    static const QStringList systemFolders = {QStringLiteral("/boot/"), QStringLiteral("/dev/"),
                                              QStringLiteral("/etc/"),  QStringLiteral("/proc/"),
                                              QStringLiteral("/run/"),  QStringLiteral("/snap/"),
                                              QStringLiteral("/sys/"),  QStringLiteral("/usr/"),
                                              QStringLiteral("/var/"),  QStringLiteral("/tmp/")};
    return std::none_of(systemFolders.cbegin(), systemFolders.cend(),
                        [&](const QString &folder) { return path.startsWith(folder); });
#endif
}

QList<DriveList::Drive> DriveList::mountedDrives()
{
#ifdef Q_OS_WIN
    return driveLetters();
#else
    QList<Drive> drives = {{QDir::toNativeSeparators(QDir::rootPath()), QString()}};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (root == QDir::rootPath() ||
            !isRecognisedVolume(root, volume.fileSystemType(), QFileInfo(root).isDir()))
            continue;
        drives.append({QDir::toNativeSeparators(root),
                       volume.displayName() == root ? QString() : volume.displayName()});
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive &a, const Drive &b) { return a.root < b.root; });
    drives.erase(std::unique(drives.begin(), drives.end(),
                             [](const Drive &a, const Drive &b) { return a.root == b.root; }),
                 drives.end());
    return drives;
#endif
}

void DriveList::showPopup()
{
    setDrives(mountedDrives());
    QComboBox::showPopup();
}
