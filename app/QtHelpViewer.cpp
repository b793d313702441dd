#include "app/QtHelpViewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

QtHelpViewer::~QtHelpViewer()
{
    delete m_window;
}

void QtHelpViewer::showContents(const QString &helpFile, QWidget *owner)
{
    if (!m_window) {
        m_window = new QTextBrowser(owner);
        m_window->setWindowFlag(Qt::Window);
        m_window->setWindowTitle(QStringLiteral("Quillboxﾍﾙﾌﾟ"));
        m_window->setOpenExternalLinks(true);
        m_window->resize(560, 480);
    }
    if (QFileInfo::exists(helpFile))
        m_window->setSource(QUrl::fromLocalFile(helpFile), QTextDocument::HtmlResource);
    else
        m_window->setPlainText(
            QStringLiteral("ヘルプファイルが見つかりません。\n%1").arg(helpFile));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
