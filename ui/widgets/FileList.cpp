#include "ui/widgets/FileList.h"

#include <QCollator>
#include <QDir>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QSet>
#include <vector>

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileList::selectedFilesChanged);
}

QStringList FileList::listFolder(const QString &folder, const QString &pattern)
{
    QDir dir(QDir::fromNativeSeparators(folder));
    // A text beginning with "." is captured under a hidden name, which is listed like any other.
    QStringList names =
        dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::Readable, QDir::NoSort);
    sortNames(names);
    return names;
}

void FileList::sortNames(QStringList &names)
{
    // The C locale has no collation rules of its own, and Qt then compares plainly, numbers
    // included; the neutral English rules sort as a file manager would there.
    const QLocale system = QLocale::system();
    QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One key per name instead of a collation per comparison keeps long folders quick.
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (const QString &name : std::as_const(names))
        keyed.emplace_back(collator.sortKey(name), name);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed[size_t(i)].second;
}

void FileList::setPath(const QString &folder)
{
    if (folder == m_path)
        return;
    m_path = folder;
    // A file of the same name in another folder is another file: the file commands act on the
    // current entry and the selection, so neither may carry over.
    clear();
    refresh();
}

void FileList::setPattern(const QString &pattern)
{
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    refresh();
}

void FileList::refresh()
{
    const QString current = fileName();
    QSet<QString> selected;
    for (const QListWidgetItem *item : selectedItems())
        selected.insert(item->text());
    int kept = 0;
    {
        const QSignalBlocker quiet(this);
        clear();
        const QStringList names = m_path.isEmpty() ? QStringList() : listFolder(m_path, m_pattern);
        addItems(names);
        for (int i = 0; i < count(); ++i) {
            if (item(i)->text() == current)
                setCurrentRow(i, QItemSelectionModel::NoUpdate);
            if (selected.contains(item(i)->text())) {
                item(i)->setSelected(true);
                ++kept;
            }
        }
    }
    // Selected files that are gone leave the selection smaller, which is a change like any other.
    if (kept != selected.size())
        Q_EMIT selectedFilesChanged();
}

QString FileList::fileName() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->text() : QString();
}

QString FileList::entry(int index) const
{
    const QListWidgetItem *it = item(index);
    return it ? it->text() : QString();
}

bool FileList::isSelected(int index) const
{
    const QListWidgetItem *it = item(index);
    return it && it->isSelected();
}

int FileList::selectedCount() const
{
    return int(selectionModel()->selectedIndexes().size());
}

QStringList FileList::selectedEntries() const
{
    QModelIndexList rows = selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList names;
    names.reserve(rows.size());
    for (const QModelIndex &row : std::as_const(rows))
        names << row.data().toString();
    return names;
}

void FileList::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT mouseDown(1);
    else if (event->button() == Qt::RightButton)
        Q_EMIT mouseDown(2);
}

void FileList::focusInEvent(QFocusEvent *event)
{
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}
