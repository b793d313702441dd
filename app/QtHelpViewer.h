#pragma once

#include "ui/platform/HelpViewer.h"

#include <QPointer>
#include <QTextBrowser>

// The program's help system: a small window that shows the HTML help file.
class QtHelpViewer : public HelpViewer
{
public:
    ~QtHelpViewer() override;
    void showContents(const QString &helpFile, QWidget *owner) override;
    QTextBrowser *window() const { return m_window; }

private:
    QPointer<QTextBrowser> m_window;
};
