#include "library/TextFileWriter.h"

#include "ui/platform/PlatformError.h"

#include <QFileInfo>
#include <QSaveFile>

namespace
{

[[noreturn]] void fail(QSaveFile &file, const QString &path)
{
    const bool diskFull = file.error() == QFileDevice::ResourceError;
    if (file.isOpen())
        file.cancelWriting();
    const int number = diskFull ? ErrorNumber::DiskFull : ErrorNumber::PathFileAccess;
    throw PlatformError(number, writeFailureReason(path, diskFull));
}

} // namespace

QString writeFailureReason(const QString &path, bool diskFull)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("フォルダー「%1」が見つかりません。").arg(folder.filePath());
    if (file.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    if (diskFull)
        return QStringLiteral("ディスクの空き容量が足りません。");
    if (file.exists() && !file.isWritable())
        return QStringLiteral("ファイルは書き込み禁止です。");
    if (!folder.isWritable())
        return QStringLiteral("フォルダーに書き込む権限がありません。");
    return QStringLiteral("ファイルに書き込めませんでした。");
}

void writeTextFile(const QString &path, const QString &text, CodePage codePage)
{
    const QByteArray bytes = textFileBytes(text, codePage);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(file, path);
    if (file.write(bytes) != bytes.size())
        fail(file, path);
    if (!file.commit())
        fail(file, path);
}
