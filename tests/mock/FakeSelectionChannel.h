#pragma once

#include "ui/platform/SelectionChannel.h"

#include <QStringList>

// A desktop clipboard that a test moves by hand: it records what is asked of it, and the test
// answers, piece by piece, when it likes.
class FakeSelectionChannel : public SelectionChannel
{
    Q_OBJECT
public:
    QStringList requests;
    int abandoned = 0;
    QString written;
    bool cleared = false;

    void requestTypes() override
    {
        requests << QStringLiteral("types");
        awaitProgress();
    }
    void requestData(const QString &type) override
    {
        requests << type;
        awaitProgress();
    }
    void abandon() override
    {
        ++abandoned;
        stopAwaiting();
    }
    void setText(const QString &text) override { written = text; }
    void clear() override { cleared = true; }

    void change() { Q_EMIT selectionChanged(); }
    void offer(const QStringList &types)
    {
        stopAwaiting();
        Q_EMIT typesOffered(types);
    }
    void send(const QByteArray &piece)
    {
        awaitProgress();
        Q_EMIT dataArrived(piece);
    }
    void end()
    {
        stopAwaiting();
        Q_EMIT dataEnded();
    }
    void refuseAsNotText()
    {
        stopAwaiting();
        Q_EMIT dataNotText();
    }

protected:
    void dropStalledRequest() override { requests << QStringLiteral("dropped"); }
};
