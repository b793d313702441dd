#pragma once

#include <QList>
#include <QPlainTextEdit>

class LargeTextView;
class QAction;

// The multi-line text pane. A line of its text ends at CR LF, at a CR alone, at an LF alone or at
// a paragraph separator; each is shown as a line break and kept as it was, as is every other
// character, typed, pasted or set. Until the user edits the pane, text() gives back exactly what
// setText() put in.
//
// A large text is shown by a view that shares the caller's string instead of the editor, which
// would copy the text and lay out every line; the first edit hands the text to the editor.
class TextBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    // Texts from this many characters on are shown by the large-text view. Below it the editor
    // takes a text in a few tens of milliseconds and a megabyte or two, which nobody notices;
    // above it the editor's cost grows with the text, to a second and over a hundred megabytes
    // for 20 million characters.
    static constexpr qsizetype largeTextLength = 256 * 1024;

    explicit TextBox(QWidget *parent = nullptr);

    QString text() const;
    // Raises changed() once, and only when the text really changes; then textSet(), also for the
    // text the pane already held.
    void setText(const QString &text);
    bool isEmpty() const;

    // The window's menu shortcuts: while their items are enabled they act even with the focus
    // here, instead of the editor's own meaning of the same keys (Ctrl+A, Ctrl+K).
    void setWindowShortcuts(const QList<QAction *> &actions) { m_windowShortcuts = actions; }

    using QPlainTextEdit::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    void changed();
    // The pane now holds a text handed to setText(), not one the user edited.
    void textSet();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    QString m_text;
    bool m_settingText = false;
    QList<QAction *> m_windowShortcuts;
    LargeTextView *m_largeView = nullptr;

    bool showsLargeText() const;
    void showLargeText(const QString &text);
    void hideLargeText();
    // Hands the large text to the editor, with the caret, the selection and the scrolling the
    // user had, before the first edit is applied.
    void beginEditing();
    void showLargeTextMenu(const QPoint &globalPos);
    // Inserts the text at the caret, over the selection, with its line ends and markers kept.
    void insertAsKept(const QString &text);
    void pasteSelectionAt(const QPoint &viewportPos);
};
