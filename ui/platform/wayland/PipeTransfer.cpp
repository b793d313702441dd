#include "ui/platform/wayland/PipeTransfer.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// One piece a read or write moves; more per wake-up would keep the window waiting.
constexpr qsizetype pieceSize = 1024 * 1024;
constexpr int piecesPerWakeUp = 4;
// A reader that takes nothing for this long has gone away without closing its end.
constexpr int writeStallMs = 5000;

void makeNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

} // namespace

PipeReader::PipeReader(int fd, QObject *parent)
    : QObject(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this))
{
    makeNonBlocking(fd);
    connect(m_notifier, &QSocketNotifier::activated, this, &PipeReader::readAvailable);
}

PipeReader::~PipeReader()
{
    finish();
}

void PipeReader::readAvailable()
{
    for (int i = 0; i < piecesPerWakeUp && m_fd >= 0; ++i) {
        QByteArray piece(pieceSize, Qt::Uninitialized);
        const ssize_t got = ::read(m_fd, piece.data(), std::size_t(piece.size()));
        if (got > 0) {
            piece.truncate(got);
            Q_EMIT dataArrived(piece);
        } else if (got == 0) {
            finish();
            Q_EMIT ended();
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return;
        } else if (errno != EINTR) {
            finish();
            Q_EMIT failed();
        }
    }
}

void PipeReader::finish()
{
    if (m_fd < 0)
        return;
    m_notifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
}

PipeWriter::PipeWriter(int fd, const QByteArray &data, QObject *parent)
    : QObject(parent), m_fd(fd), m_data(data),
      m_notifier(new QSocketNotifier(fd, QSocketNotifier::Write, this)), m_stall(new QTimer(this))
{
    makeNonBlocking(fd);
    m_stall->setSingleShot(true);
    connect(m_stall, &QTimer::timeout, this, &PipeWriter::finish);
    connect(m_notifier, &QSocketNotifier::activated, this, &PipeWriter::writeSome);
    // Ending a writer already under way would hand its reader a text cut short, which looks
    // like a whole one; the new reader gets nothing instead.
    if (writersBeside() >= writersPerParent) {
        finish();
        return;
    }
    m_stall->start(writeStallMs);
}

PipeWriter::~PipeWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int PipeWriter::writersBeside() const
{
    if (!parent())
        return 0;
    int writing = 0;
    for (PipeWriter *sibling : parent()->findChildren<PipeWriter *>(Qt::FindDirectChildrenOnly))
        writing += sibling != this && sibling->m_fd >= 0;
    return writing;
}

void PipeWriter::writeSome()
{
    for (int i = 0; i < piecesPerWakeUp && m_written < m_data.size(); ++i) {
        const qsizetype size = std::min(pieceSize, m_data.size() - m_written);
        const ssize_t put = ::write(m_fd, m_data.constData() + m_written, std::size_t(size));
        if (put > 0) {
            m_written += put;
            m_stall->start(writeStallMs);
        } else if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else if (put < 0 && errno != EINTR) {
            // The reader has closed its end.
            finish();
            return;
        }
    }
    if (m_written >= m_data.size())
        finish();
}

void PipeWriter::finish()
{
    if (m_fd < 0)
        return;
    // Closed at once, so that the reader sees the end now and the descriptor is free again.
    m_notifier->setEnabled(false);
    m_stall->stop();
    ::close(m_fd);
    m_fd = -1;
    deleteLater();
}
