#pragma once

#include <QString>

class QWidget;

// The help system: opens a help file at its contents.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    virtual void showContents(const QString &helpFile, QWidget *owner) = 0;
};
