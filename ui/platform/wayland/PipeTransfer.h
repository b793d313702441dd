#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Reads a pipe that another program writes a clipboard's data into, as the data comes, without
// ever waiting for it. Owns the descriptor and closes it when done or destroyed.
class PipeReader : public QObject
{
    Q_OBJECT
public:
    PipeReader(int fd, QObject *parent = nullptr);
    ~PipeReader() override;

Q_SIGNALS:
    void dataArrived(const QByteArray &piece);
    void ended();
    void failed();

private:
    void readAvailable();
    void finish();

    int m_fd;
    QSocketNotifier *m_notifier;
};

// Writes the program's clipboard text into a pipe another program reads, as fast as that program
// takes it, and gives up when it stops taking any. Deletes itself when done.
class PipeWriter : public QObject
{
    Q_OBJECT
public:
    PipeWriter(int fd, const QByteArray &data, QObject *parent = nullptr);
    ~PipeWriter() override;

private:
    void writeSome();
    void finish();

    int m_fd;
    QByteArray m_data;
    qsizetype m_written = 0;
    QSocketNotifier *m_notifier;
};
