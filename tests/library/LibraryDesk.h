#pragma once

#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/LineEndBlocks.h"
#include "ui/widgets/TextBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <memory>

// The main window over a folder of its own, inside the test's program folder.
struct LibraryDesk {
    TestPlatform desktop;
    std::unique_ptr<frmClip> window;
    QString folder;

    LibraryDesk()
    {
        desktop.state.Settings[7] = 0;
        desktop.state.Settings[9] = -1;
        folder = withTrailingSeparator(desktop.folder.path() + QStringLiteral("/files"));
        QDir().mkpath(folder);
        window = std::make_unique<frmClip>(desktop.state, desktop.platform);
        window->dirText->setPath(folder);
    }

    ScriptedDialogs &dialogs() { return desktop.dialogs; }
    ProgramState &state() { return desktop.state; }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder + name);
        QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
                 qPrintable(name));
    }
    QByteArray read(const QString &name) const
    {
        QFile file(folder + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    bool exists(const QString &name) const { return QFileInfo(folder + name).isFile(); }
    QStringList files() const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Re-reads the list and makes the entry current, selecting only the given entries.
    void choose(const QString &current, const QStringList &selected = {})
    {
        FileList *list = window->flbText;
        list->refresh();
        list->clearSelection();
        for (int i = 0; i < list->count(); ++i) {
            if (list->entry(i) == current)
                list->setCurrentRow(i, QItemSelectionModel::NoUpdate);
            if (selected.contains(list->entry(i)))
                list->item(i)->setSelected(true);
        }
    }
    void load(const QString &name)
    {
        choose(name, {name});
        window->flbText_MouseDown(1);
    }
    // Gives the pane the text by an edit, as the user's typing or pasting does: the pane still
    // holds the file it loaded. The text must be small enough for the editor.
    void edit(const QString &text) const
    {
        QTextCursor cursor = window->txtText->textCursor();
        cursor.select(QTextCursor::Document);
        LineEndBlocks::insert(cursor, text);
    }
};

enum FileCommand { OverwriteSave, SaveAs, Rename };

inline void runFileCommand(frmClip &window, int command)
{
    if (command == OverwriteSave)
        window.mnuUwa_Click();
    else if (command == SaveAs)
        window.mnuName_Click();
    else
        window.mnuRename_Click();
}

// Whether taking the write permission away from a folder stops this process writing there;
// it does not for root.
inline bool readOnlyFoldersStopWrites()
{
    QTemporaryDir probe;
    QFile::setPermissions(probe.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile file(probe.path() + QStringLiteral("/probe"));
    const bool wrote = file.open(QIODevice::WriteOnly);
    file.close();
    QFile::remove(file.fileName());
    QFile::setPermissions(probe.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return !wrote;
}
