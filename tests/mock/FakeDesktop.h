#pragma once

#include "ui/HelpViewer.h"
#include "ui/ProcessControl.h"
#include "ui/TrayIcon.h"

#include <QStringList>
#include <functional>

// Records what the program asks of the tray, the help system and the process.
class FakeTray : public TrayIcon
{
    Q_OBJECT
public:
    bool available = true;
    bool shown = false;
    QString tip;
    QStringList calls;
    std::function<void()> whenAdded;

    bool isAvailable() const override { return available; }
    void add(const QIcon &, const QString &text) override
    {
        shown = true;
        tip = text;
        calls << QStringLiteral("add");
        if (whenAdded)
            whenAdded();
    }
    void remove() override
    {
        shown = false;
        calls << QStringLiteral("remove");
    }
    void click(int message) { Q_EMIT mouseMessage(message); }
};

class FakeHelp : public HelpViewer
{
public:
    QStringList opened;
    void showContents(const QString &helpFile, QWidget *) override { opened << helpFile; }
};

class FakeProcess : public ProcessControl
{
public:
    int endCount = 0;
    void endProcess() override { ++endCount; }
};
