#pragma once

#include "platform/qt_file_system.h"

#include <QString>

namespace tv {

// The real file system, with failures on demand: the next N writes (replace, append, copy
// destination) fail with the given error number and change nothing; or a replace stops after
// its temporary file is written, just before the rename.
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

protected:
    bool readyToCommit(const QString&) override { return !m_stopBeforeRename; }

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
};

}  // namespace tv
