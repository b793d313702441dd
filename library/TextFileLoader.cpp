#include "library/TextFileLoader.h"

#include "ui/platform/PlatformError.h"

#include <QFile>
#include <QFileInfo>

QByteArray readFileBytes(const QString &path,
                         const std::function<void(qint64 read, qint64 length)> &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo(path).isFile())
            throw PlatformError(ErrorNumber::FileNotFound,
                                QStringLiteral("ファイルが見つかりません: %1").arg(path));
        throw PlatformError(ErrorNumber::PathFileAccess,
                            QStringLiteral("ファイルを開けません: %1").arg(path));
    }
    const qint64 length = file.size();
    const auto readInto = [&](char *at, qint64 most) {
        const qint64 got = file.read(at, most);
        if (got < 0)
            throw PlatformError(ErrorNumber::PathFileAccess,
                                QStringLiteral("ファイルを読み込めません: %1").arg(path));
        return got;
    };
    // One buffer of the file's length, filled chunk by chunk: nothing is copied on the way.
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < length) {
        const qint64 got =
            readInto(bytes.data() + filled, std::min(readChunkSize, length - filled));
        if (got == 0)
            break;
        filled += got;
        if (progress)
            progress(filled, length);
    }
    bytes.truncate(filled);
    // A file that grew while it was read gives the rest too.
    if (filled == length) {
        QByteArray more(readChunkSize, Qt::Uninitialized);
        while (const qint64 got = readInto(more.data(), readChunkSize)) {
            bytes.append(more.constData(), got);
            if (progress)
                progress(bytes.size(), length);
        }
    }
    return bytes;
}
