#pragma once

#include "platform/file_system.h"

namespace tv {

// The real file system, over QFile and the system calls. A replace writes its temporary file
// itself ("NAME.tvtmp-XXXXXX" beside the target, created exclusively, never through a link),
// checks the write, the flush to disk (fdatasync) and the close, and only then renames it over
// the target; on any failure the temporary file is removed and the target is left as it was.
class QtFileSystem : public FileSystem {
public:
    bool exists(const QString& path) const override;
    std::optional<qint64> size(const QString& path) const override;
    FileRead read(const QString& path) const override;
    FileResult replace(const QString& path, const QByteArray& bytes) override;
    FileResult append(const QString& path, const QByteArray& bytes) override;
    FileRead readTail(const QString& path, qint64 count) const override;
    FileResult remove(const QString& path) override;
    QStringList fileNames(const QString& folder) const override;

protected:
    // Called once the temporary file of a replace holds every byte, just before it is renamed
    // over the target; returning false abandons the replace (the target stays as it was).
    // The seam through which tests stop a replace between its write and its rename.
    virtual bool readyToCommit(const QString& path);
    // The flush to disk and the close of a replace's temporary file (fdatasync, close): the
    // seams through which tests make a disk fail at those steps. -1 with errno set on failure.
    virtual int flushToDisk(int fd);
    virtual int closeFile(int fd);
};

} // namespace tv
