#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;
class QTimer;

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
// takes it, and gives up when no byte has gone out for a while. Deletes itself when done. The
// writers of one parent are bounded: a reader that takes a little now and then keeps its writer,
// and its descriptor, as long as it likes, so a new writer past the bound closes its pipe at once.
class PipeWriter : public QObject
{
    Q_OBJECT
public:
    PipeWriter(int fd, const QByteArray &data, QObject *parent);
    ~PipeWriter() override;

    static constexpr int writersPerParent = 8;

private:
    // How many other writers of the same parent still write.
    int writersBeside() const;
    void writeSome();
    void finish();

    int m_fd;
    QByteArray m_data;
    qsizetype m_written = 0;
    QSocketNotifier *m_notifier;
    QTimer *m_stall;
};
