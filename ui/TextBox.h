#pragma once

#include <QList>
#include <QPlainTextEdit>

class QAction;

// The multi-line text pane. Its text uses CR LF between lines, as the files do; a lone LF is
// shown as a line break inside the line and kept as LF. Until the user edits the pane, text()
// gives back exactly what setText() put in.
class TextBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const;
    // Raises changed() once, and only when the text really changes.
    void setText(const QString &text);
    bool isEmpty() const;

    // The window's menu shortcuts: while their items are enabled they act even with the focus
    // here, instead of the editor's own meaning of the same keys (Ctrl+A, Ctrl+K).
    void setWindowShortcuts(const QList<QAction *> &actions) { m_windowShortcuts = actions; }

    static QString toDisplay(const QString &text);
    static QString fromDisplay(const QString &display);

Q_SIGNALS:
    void changed();

protected:
    bool event(QEvent *event) override;

private:
    QString m_text;
    bool m_settingText = false;
    QList<QAction *> m_windowShortcuts;
};
