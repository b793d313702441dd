#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>

// The desktop's clipboard over a connection of the program's own, which hears of every change
// whichever window has the focus and moves data without ever waiting on the program that owns
// the clipboard. Every request is answered later, through the signals, never inside the call.
class SelectionChannel : public QObject
{
    Q_OBJECT
public:
    explicit SelectionChannel(QObject *parent = nullptr);

    // More types than any owner has a use for; an owner offering millions would cost memory and,
    // on X11, a name look-up each, on the window's thread. Types past these are not heard of.
    static constexpr int mostTypes = 1024;

    // Asks for the types the current clipboard is offered in: answered by typesOffered() or
    // transferFailed().
    virtual void requestTypes() = 0;
    // Asks for the clipboard's data in one of its types: answered by pieces of data, then
    // dataEnded(); or by dataNotText() or transferFailed() at any point.
    virtual void requestData(const QString &type) = 0;
    // Gives up the request under way, if any; nothing more is reported of it.
    virtual void abandon() = 0;

    virtual void setText(const QString &text) = 0;
    virtual void clear() = 0;

    // How long a transfer may go without any progress before it counts as failed: an owner that
    // hangs or exits midway must not hold the program's memory or its clipboard for ever.
    void setStallLimit(std::chrono::milliseconds limit) { m_stall.setInterval(limit); }

Q_SIGNALS:
    // Another program, or this one, put something on the clipboard or emptied it.
    void selectionChanged();
    void typesOffered(const QStringList &types);
    void dataArrived(const QByteArray &piece);
    void dataEnded();
    // The owner answered with data that cannot be text (on X11, in units other than bytes):
    // asking again would bring the same answer.
    void dataNotText();
    void transferFailed();

protected:
    // A request is waiting for its owner's answer: the stall limit runs from now.
    void awaitProgress() { m_stall.start(); }
    void stopAwaiting() { m_stall.stop(); }
    // Called when the stall limit passes: the implementation drops the request it had.
    virtual void dropStalledRequest() = 0;

private:
    QTimer m_stall;
};
