#pragma once

#include <QComboBox>
#include <QStringList>

// The drive list: the root and the mounted volumes a user would recognise, each shown by its
// mount point and name. A drive is identified by its mount point.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    struct Drive {
        QString root;
        QString name;
    };

    explicit DriveList(QWidget *parent = nullptr);

    void setDrives(const QList<Drive> &drives);
    QList<Drive> drives() const { return m_drives; }
    // The mount point of the current drive.
    QString drive() const;
    // Makes the drive that holds the path current; raises driveChanged() when that changes.
    void setDrive(const QString &path);

    // The root and the mounted volumes a user would recognise, sorted by mount point; on Windows
    // every drive letter.
    static QList<Drive> mountedDrives();
    // Whether a mounted volume is one a user would recognise as a drive: a real or network file
    // system mounted on a folder of its own, not a system or runtime mount.
    static bool isRecognisedVolume(const QString &root, const QByteArray &fileSystemType,
                                   bool rootIsFolder);
    // The mount point among the roots that holds the path: the longest one that is a prefix.
    static QString driveOf(const QString &path, const QStringList &roots);

Q_SIGNALS:
    void driveChanged();

protected:
    // Volumes come and go: the list is read anew each time it opens.
    void showPopup() override;

private:
    QList<Drive> m_drives;
};
