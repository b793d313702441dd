#include "library/TextFileLoader.h"

#include "ui/PlatformError.h"

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
    QByteArray bytes;
    bytes.reserve(length);
    while (true) {
        const qsizetype at = bytes.size();
        bytes.resize(at + readChunkSize);
        const qint64 got = file.read(bytes.data() + at, readChunkSize);
        if (got < 0)
            throw PlatformError(ErrorNumber::PathFileAccess,
                                QStringLiteral("ファイルを読み込めません: %1").arg(path));
        bytes.resize(at + got);
        if (got == 0)
            break;
        if (progress)
            progress(bytes.size(), length);
    }
    return bytes;
}
