#include "platform/qt_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace tv {
namespace {

// The operator's error number for the last failed system call.
FileResult failureFromErrno(int savedErrno, const QString& detail)
{
    switch (savedErrno) {
    case ENOENT:
        return FileResult::failure(FileResult::kNotFound, detail);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileResult::failure(FileResult::kDiskFull, detail);
    case EACCES:
    case EPERM:
    case EROFS:
        return FileResult::failure(FileResult::kPermissionDenied, detail);
    case EIO:
        return FileResult::failure(FileResult::kDeviceError, detail);
    default:
        return FileResult::failure(FileResult::kAccessError, detail);
    }
}

} // namespace

bool QtFileSystem::exists(const QString& path) const
{
    return QFileInfo(path).isFile();
}

std::optional<qint64> QtFileSystem::size(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return info.size();
}

FileRead QtFileSystem::read(const QString& path) const
{
    FileRead out;
    if (!QFileInfo(path).isFile()) {
        out.result = FileResult::failure(FileResult::kNotFound, path);
        return out;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        out.result = failureFromErrno(errno, file.errorString());
        return out;
    }
    out.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        out.result = failureFromErrno(errno, file.errorString());
    return out;
}

bool QtFileSystem::readyToCommit(const QString&)
{
    return true;
}

FileResult QtFileSystem::replace(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    errno = 0;
    // Unbuffered, so that a write the disk refuses fails here and not silently inside commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failureFromErrno(errno, file.errorString());
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const FileResult failed = failureFromErrno(errno, file.errorString());
        file.cancelWriting();
        return failed;
    }
    if (!readyToCommit(path)) {
        file.cancelWriting();
        return FileResult::failure(FileResult::kAccessError, QStringLiteral("interrupted before commit"));
    }
    errno = 0;
    if (!file.commit())
        return failureFromErrno(errno, file.errorString());
    return FileResult::success();
}

FileResult QtFileSystem::append(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return failureFromErrno(errno, file.errorString());
    const qint64 before = file.size();
    errno = 0;
    const bool written = file.write(bytes) == bytes.size() && ::fsync(file.handle()) == 0;
    if (!written) {
        const FileResult failed = failureFromErrno(errno, file.errorString());
        // Cut back whatever part of the piece reached the disk.
        if (::ftruncate(file.handle(), before) != 0)
            return FileResult::failure(failed.errorNumber, failed.detail + QStringLiteral(" (file not cut back)"));
        return failed;
    }
    return FileResult::success();
}

FileRead QtFileSystem::readTail(const QString& path, qint64 count) const
{
    FileRead out;
    QFile file(path);
    errno = 0;
    if (!QFileInfo(path).isFile()) {
        out.result = FileResult::failure(FileResult::kNotFound, path);
        return out;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        out.result = failureFromErrno(errno, file.errorString());
        return out;
    }
    if (!file.seek(std::max<qint64>(0, file.size() - count))) {
        out.result = failureFromErrno(errno, file.errorString());
        return out;
    }
    out.bytes = file.read(count);
    if (file.error() != QFileDevice::NoError)
        out.result = failureFromErrno(errno, file.errorString());
    return out;
}

FileResult QtFileSystem::remove(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return FileResult::failure(FileResult::kNotFound, path);
    errno = 0;
    if (!file.remove())
        return failureFromErrno(errno, file.errorString());
    return FileResult::success();
}

QStringList QtFileSystem::fileNames(const QString& folder) const
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace tv
