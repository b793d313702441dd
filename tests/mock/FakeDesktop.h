#pragma once

#include "ui/platform/HelpViewer.h"
#include "ui/platform/ProcessControl.h"
#include "ui/platform/TrayIcon.h"

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
    QMenu *menu = nullptr;
    QPoint position;
    QStringList calls;
    std::function<void()> whenAdded;

    bool isAvailable() const override { return available; }
    void add(const QIcon &, const QString &text, QMenu *trayMenu) override
    {
        shown = true;
        tip = text;
        menu = trayMenu;
        calls << QStringLiteral("add");
        if (whenAdded)
            whenAdded();
    }
    void remove() override
    {
        shown = false;
        calls << QStringLiteral("remove");
    }
    QPoint messagePosition() const override { return position; }
    void click(int message, QPoint at = {})
    {
        position = at;
        Q_EMIT mouseMessage(message);
    }
    // The desktop's tray comes or goes.
    void setAvailable(bool now)
    {
        available = now;
        Q_EMIT availabilityChanged(now);
    }
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
