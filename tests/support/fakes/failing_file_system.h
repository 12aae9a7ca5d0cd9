#pragma once

#include "platform/qt_file_system.h"

#include <QString>

#include <cerrno>

namespace tv {

// The real file system, with failures on demand: the next N writes (replace, append, copy
// destination) fail with the given error number and change nothing; or a replace stops after
// its temporary file is written, just before the rename; or its flush to disk or the close of
// its temporary file fails (EIO); or the reads of a file fail.
class FailingFileSystem final : public QtFileSystem {
public:
    void failWrites(int count, int errorNumber = FileResult::kDiskFull)
    {
        m_failures = count;
        m_errorNumber = errorNumber;
    }
    // Fails only the writes whose path ends with this text.
    void onlyPathsEndingWith(const QString& tail) { m_tail = tail; }
    void stopBeforeRename(bool stop) { m_stopBeforeRename = stop; }
    void failFlushToDisk(bool fail) { m_failFlush = fail; }
    void failClose(bool fail) { m_failClose = fail; }
    // Every read of a path ending with this text fails with the error number (0: none).
    void failReadsOf(const QString& tail, int errorNumber = FileResult::kDeviceError)
    {
        m_readTail = tail;
        m_readError = errorNumber;
    }
    int writes() const { return m_writes; }

    FileResult replace(const QString& path, const QByteArray& bytes) override
    {
        ++m_writes;
        if (shouldFail(path))
            return FileResult::failure(m_errorNumber, QStringLiteral("injected failure"));
        return QtFileSystem::replace(path, bytes);
    }
    FileResult append(const QString& path, const QByteArray& bytes) override
    {
        ++m_writes;
        if (shouldFail(path))
            return FileResult::failure(m_errorNumber, QStringLiteral("injected failure"));
        return QtFileSystem::append(path, bytes);
    }

    FileRead read(const QString& path) const override
    {
        if (m_readError != 0 && path.endsWith(m_readTail))
            return {FileResult::failure(m_readError, QStringLiteral("injected failure")), {}};
        return QtFileSystem::read(path);
    }

protected:
    bool readyToCommit(const QString&) override { return !m_stopBeforeRename; }
    int flushToDisk(int fd) override { return m_failFlush ? (errno = EIO, -1) : QtFileSystem::flushToDisk(fd); }
    int closeFile(int fd) override
    {
        const int closed = QtFileSystem::closeFile(fd);
        return m_failClose ? (errno = EIO, -1) : closed;
    }

private:
    bool shouldFail(const QString& path)
    {
        if (m_failures <= 0 || (!m_tail.isEmpty() && !path.endsWith(m_tail)))
            return false;
        --m_failures;
        return true;
    }

    int m_failures = 0;
    int m_errorNumber = FileResult::kDiskFull;
    int m_writes = 0;
    QString m_tail;
    bool m_stopBeforeRename = false;
    bool m_failFlush = false;
    bool m_failClose = false;
    QString m_readTail;
    int m_readError = 0;
};

} // namespace tv
