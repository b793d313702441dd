#include "ui/widgets/FolderList.h"

#include "ui/platform/PlatformError.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FileList.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace
{

QString nativeFolder(const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(folder)));
}

constexpr int indentRole = Qt::UserRole + 1;
constexpr int indentStep = 10;

// Draws each folder indented by its depth. Leading blanks in the text would not do: their width
// changes with the font the system picks for each name's script.
class IndentingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + indentOf(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indentOf(index), 0);
    }

private:
    static int indentOf(const QModelIndex &index)
    {
        return index.data(indentRole).toInt() * indentStep;
    }
};

QString entryName(const QString &folder)
{
    const QString name = QFileInfo(QDir::fromNativeSeparators(folder)).fileName();
    return name.isEmpty() ? folder : name;
}

} // namespace

FolderList::FolderList(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new IndentingDelegate(this));
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        try {
            setPath(item->data(Qt::UserRole).toString());
        } catch (const PlatformError &) {
            // A folder removed since the list was filled: the list shows what is there now.
            fill();
        }
    });
}

QStringList FolderList::entriesFor(const QString &folder)
{
    QStringList ancestors;
    QDir dir(QDir::fromNativeSeparators(folder));
    while (true) {
        ancestors.prepend(nativeFolder(dir.absolutePath()));
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QStringList children =
        QDir(QDir::fromNativeSeparators(folder))
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Readable);
    FileList::sortNames(children);
    const QString prefix = QDir::fromNativeSeparators(folder);
    for (const QString &child : std::as_const(children))
        ancestors << nativeFolder(prefix + u'/' + child);
    return ancestors;
}

void FolderList::setPath(const QString &folder)
{
    const QString target = nativeFolder(QFileInfo(folder).absoluteFilePath());
    if (!QFileInfo(QDir::fromNativeSeparators(target)).isDir())
        throw PlatformError(ErrorNumber::PathNotFound,
                            QStringLiteral("フォルダが見つかりません: %1").arg(target));
    if (target == m_path) {
        // The same folder again shows the subfolders made since.
        fill();
        return;
    }
    m_path = target;
    QStringList roots;
    for (const auto &volume : DriveList::mountedDrives())
        roots << volume.root;
    m_folderOfDrive.insert(DriveList::driveOf(target, roots), target);
    fill();
    Q_EMIT pathChanged();
}

void FolderList::openDrive(const QString &root)
{
    const QStorageInfo volume(QDir::fromNativeSeparators(root));
    // A volume unmounted since the list was read leaves its mount point to the volume around it.
    const bool mountedThere =
        QDir::cleanPath(volume.rootPath()) == QDir::cleanPath(QDir::fromNativeSeparators(root));
    if (!volume.isValid() || !volume.isReady() || !mountedThere)
        throw PlatformError(ErrorNumber::DeviceUnavailable,
                            QStringLiteral("ドライブの準備ができていません: %1").arg(root));
    const QString remembered = m_folderOfDrive.value(root, root);
    setPath(QFileInfo(QDir::fromNativeSeparators(remembered)).isDir() ? remembered : root);
}

void FolderList::fill()
{
    clear();
    const QStringList entries = entriesFor(m_path);
    const qsizetype depth = entries.indexOf(m_path);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const bool isAncestorOrSelf = i <= depth;
        const int indent = int(isAncestorOrSelf ? i : depth + 1);
        auto *item =
            new QListWidgetItem(isAncestorOrSelf ? openIcon : closedIcon, entryName(entries.at(i)));
        item->setData(Qt::UserRole, entries.at(i));
        item->setData(indentRole, indent);
        addItem(item);
    }
    setCurrentRow(int(depth));
}
