#include "app/QtHelpViewer.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>

QtHelpViewer::~QtHelpViewer()
{
    delete m_window;
}

void QtHelpViewer::showContents(const QString &helpFile, QWidget *owner)
{
    if (!m_window) {
        // A window of the owner's, so the window manager keeps it in front of the main window.
        m_window = new QTextBrowser(owner);
        m_window->setWindowFlag(Qt::Window);
        m_window->setWindowTitle(QStringLiteral("Quillboxﾍﾙﾌﾟ"));
        m_window->setOpenExternalLinks(true);
        m_window->resize(640, 560);
    }
    const QUrl url = QUrl::fromLocalFile(helpFile);
    if (!QFileInfo::exists(helpFile))
        m_window->setPlainText(
            QStringLiteral("ヘルプファイルが見つかりません。\n%1").arg(helpFile));
    else if (m_window->source() == url)
        m_window->reload();
    else
        m_window->setSource(url, QTextDocument::HtmlResource);
    // The contents stand at the top of the page.
    m_window->verticalScrollBar()->setValue(0);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
