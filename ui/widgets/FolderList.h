#pragma once

#include <QHash>
#include <QListWidget>

// The folder list: the current folder's ancestors from the root down, the folder itself, and its
// subfolders. Opening an entry (double click or Enter) makes it the current folder.
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    // The current folder, in native form; it ends in a separator only at a root.
    QString path() const { return m_path; }
    // Throws PlatformError 76 when the folder does not exist; raises pathChanged() when the
    // path really changes.
    void setPath(const QString &folder);
    // Opens the folder last current on the drive with this root, at first the root itself.
    void openDrive(const QString &root);

    // The entries shown for a folder: its ancestors, itself, then its sorted subfolders.
    static QStringList entriesFor(const QString &folder);

Q_SIGNALS:
    void pathChanged();

private:
    void fill();

    QString m_path;
    QHash<QString, QString> m_folderOfDrive;
};
