#include "app/QtHelpViewer.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
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
        // Whole on the screen, frame included, in its middle.
        const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        const QSize size = QSize(640, 560).boundedTo(area.size() - QSize(40, 80));
        m_window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
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
