#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tv {

// The outcome of one file operation.
//
// `errorNumber` follows the numbering the operator's messages use ("Erreur N° 53"): 53 file
// not found, 57 device input/output error, 61 disk full, 70 permission denied, 75 path or
// file access error. 0 means success.
struct FileResult {
    int errorNumber = 0;
    QString detail;       // the platform's own description, for the message shown
    bool refused = false; // the write was refused before it began; `detail` says why, in French

    bool ok() const { return errorNumber == 0; }
    // What went wrong, in French words for the operator ("disque plein").
    QString reason() const;
    bool notFound() const { return errorNumber == kNotFound; }

    static constexpr int kNotFound = 53;
    static constexpr int kDeviceError = 57;
    static constexpr int kDiskFull = 61;
    static constexpr int kPermissionDenied = 70;
    static constexpr int kAccessError = 75;

    static FileResult success() { return {}; }
    static FileResult failure(int number, const QString& text) { return {number, text}; }
    // A write refused before anything was touched (a symbolic link, a device, a folder), with
    // the French sentence the operator is shown.
    static FileResult refusal(const QString& frenchText) { return {kAccessError, frenchText, true}; }
};

struct FileRead {
    FileResult result;
    QByteArray bytes;
};

// Every access to a user file goes through here.
//
// Responsibilities: read a whole file; replace a file atomically (temporary file in the same
// folder, flushed to disk, renamed over the target) so that a crash or a full disk never
// leaves half a file; append bytes as one whole piece or not at all; copy through the same
// atomic replace; remove; list a folder. Writes go only to regular files: a symbolic link, a
// device or a folder in the target's place is refused and left as it is.
// Collaborations: QtFileSystem (the real one), FailingFileSystem in the tests (a decorator
// that fails chosen operations).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const QString& path) const = 0;
    // The size in bytes, or nothing when the file does not exist.
    virtual std::optional<qint64> size(const QString& path) const = 0;
    virtual FileRead read(const QString& path) const = 0;
    // The last `count` bytes of a file (all of it when shorter).
    virtual FileRead readTail(const QString& path, qint64 count) const;
    // Replaces (or creates) the file with exactly these bytes, atomically.
    virtual FileResult replace(const QString& path, const QByteArray& bytes) = 0;
    // Appends the bytes in one write and flushes; on failure the file is cut back to its
    // previous length so that no partial piece stays. Creates the file when absent.
    virtual FileResult append(const QString& path, const QByteArray& bytes) = 0;
    // Copies source over destination, atomically.
    virtual FileResult copy(const QString& source, const QString& destination);
    virtual FileResult remove(const QString& path) = 0;
    // The names (not paths) of the files of a folder.
    virtual QStringList fileNames(const QString& folder) const = 0;

    // A replace writes its temporary file beside the target as the target's name, this mark
    // and six letters or digits ("F0ZZZ.log.tvtmp-a8Kx2Q").
    static constexpr const char* kTemporaryMark = ".tvtmp-";
    // Whether a file name is a temporary file that a replace stopped by a crash or a kill left
    // behind: ours, or the "NAME.XXXXXX" of the saves of earlier versions (NAME a file the
    // program writes, XXXXXX six letters or digits that are not a lower-case word).
    static bool isLeftoverTemporary(const QString& name);
    // Removes such leftovers from a folder, touching nothing else; the names removed, and the
    // failures as "name : reason".
    struct Cleanup {
        QStringList removed;
        QStringList failures;
    };
    Cleanup removeLeftoverTemporaries(const QString& folder);
};

} // namespace tv
