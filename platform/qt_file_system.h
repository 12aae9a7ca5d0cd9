#pragma once

#include "platform/file_system.h"

namespace tv {

// The real file system, over QFile and QSaveFile.
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
};

} // namespace tv
