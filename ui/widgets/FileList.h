#pragma once

#include <QListWidget>
#include <QStringList>

// The file list: the current folder's files matching the pattern, sorted as a file manager
// sorts them, with extended selection.
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Re-reads the folder when the path changes, leaving no entry current or selected.
    void setPath(const QString &folder);
    void setPattern(const QString &pattern);
    // Re-reads the folder at once, keeping the current entry and the selection by name; raises
    // selectedFilesChanged() when selected files are gone.
    void refresh();

    // The name of the current entry; empty when there is none.
    QString fileName() const;
    QString entry(int index) const;
    bool isSelected(int index) const;
    // The number of selected entries, and their names in list order: without a look at every
    // entry, so that a long list stays quick.
    int selectedCount() const;
    QStringList selectedEntries() const;

    static QStringList listFolder(const QString &folder, const QString &pattern);
    // Sorts names as a file manager does: case aside, numbers by their value ("memo 2" before
    // "memo 10"), in the user's language.
    static void sortNames(QStringList &names);

Q_SIGNALS:
    void selectedFilesChanged();
    // After the press has made the row under the pointer current: 1 left, 2 right button.
    void mouseDown(int button);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    // Taking the focus makes no entry current: the file commands act on the current entry, and
    // one the user never chose must not become their target.
    void focusInEvent(QFocusEvent *event) override;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};
