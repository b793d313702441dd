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

    static QList<Drive> mountedDrives();
    // The mount point among the roots that holds the path: the longest one that is a prefix.
    static QString driveOf(const QString &path, const QStringList &roots);

Q_SIGNALS:
    void driveChanged();

private:
    QList<Drive> m_drives;
};
