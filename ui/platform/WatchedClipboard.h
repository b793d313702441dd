#pragma once

#include "ui/platform/Clipboard.h"

#include <QStringDecoder>
#include <QTimer>
#include <optional>

class SelectionChannel;

// The clipboard as the capture sees it where the program watches it over a channel of its own.
// Its contents are read only when somebody looks after a change, without blocking: until the
// whole text has arrived the clipboard counts as holding none, and the arrival is reported as a
// change. A newer change gives up the read under way; a read that fails leaves the clipboard
// without text until it is tried again a tick later, and one that fails again until the next
// change. A text larger than the program takes in, or data that is no text, leaves it without
// text until the next change.
class WatchedClipboard : public Clipboard
{
    Q_OBJECT
public:
    // withoutFocus: whether the channel hears of copies made while other windows have the focus.
    WatchedClipboard(SelectionChannel &channel, bool withoutFocus, QObject *parent = nullptr);

    bool holdsText() override;
    QString text() override;
    void clear() override;
    void setText(const QString &text) override;
    bool reportsChanges() const override { return true; }
    bool watchesWithoutFocus() const override { return m_withoutFocus; }
    bool textTooLarge() const override { return m_tooLarge; }

    // The most bytes a text may have; the program's own limit unless a test sets a smaller one.
    void setTextLimit(qint64 bytes) { m_textLimit = bytes; }

private:
    enum class Look { Unknown, AskingTypes, ReadingHint, ReadingText, Known, Failed };

    // Tells whether the bytes decoded so far end inside a character.
    class Decoder : public QStringDecoder
    {
    public:
        using QStringDecoder::QStringDecoder;
        bool endsInsideACharacter() const { return state.remainingChars != 0; }
    };

    void startReading();
    void readTextOf(const QStringList &types);
    void takeTypes(const QStringList &types);
    void takePiece(const QByteArray &piece);
    void takeEnd();
    void takeNotText();
    void giveUpTooLarge();
    void know(bool holdsText);

    SelectionChannel &m_channel;
    bool m_withoutFocus;
    Look m_look = Look::Unknown;
    QStringList m_types;
    QByteArray m_hint;
    std::optional<Decoder> m_decoder;
    QString m_text;
    qint64 m_received = 0;
    qint64 m_textLimit;
    bool m_holdsText = false;
    bool m_tooLarge = false;
    // Reads failed since the last change.
    int m_failures = 0;
    QTimer m_retry;
};
