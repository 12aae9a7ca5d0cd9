#include "platform/qt_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tv {
namespace {

// Fault injection for the reliability tests, off unless TOURNEVENT_FAULT names it (read once):
// a comma-separated list of "kill-at=N" (SIGKILL at the Nth step), "tear-at=N" (a write that
// stops half way, then SIGKILL), "fail-at=N:ENOSPC" (that step fails with that error: ENOSPC,
// EIO, EROFS, EACCES or EDQUOT) and "trace" (each step on the error output as
// "tournevent-fault N step file"). A step is one system call of a write: the open of a
// temporary file or of the file appended to, each write, the flush to disk, the close, the
// rename, the removal. Every step is counted here and nowhere else.
namespace fault {

struct Plan {
    bool on = false;
    bool trace = false;
    long killAt = 0;
    long tearAt = 0;
    long failAt = 0;
    int failErrno = 0;
};

int errnoNamed(const QByteArray& name)
{
    static const struct {
        const char* name;
        int number;
    } kKnown[] = {
        {"ENOSPC", ENOSPC}, {"EIO", EIO}, {"EROFS", EROFS}, {"EACCES", EACCES},
#ifdef EDQUOT
        {"EDQUOT", EDQUOT},
#endif
    };
    for (const auto& known : kKnown) {
        if (name == known.name)
            return known.number;
    }
    return EIO;
}

Plan readPlan()
{
    Plan plan;
    const QByteArray text = qgetenv("TOURNEVENT_FAULT");
    for (const QByteArray& item : text.split(',')) {
        const qsizetype equals = item.indexOf('=');
        const QByteArray key = (equals < 0 ? item : item.left(equals)).trimmed();
        const QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        const qsizetype colon = value.indexOf(':');
        if (key == "trace")
            plan.trace = true;
        else if (key == "kill-at")
            plan.killAt = value.toLong();
        else if (key == "tear-at")
            plan.tearAt = value.toLong();
        else if (key == "fail-at" && colon > 0) {
            plan.failAt = value.left(colon).toLong();
            plan.failErrno = errnoNamed(value.mid(colon + 1).trimmed());
        }
    }
    plan.on = plan.trace || plan.killAt > 0 || plan.tearAt > 0 || plan.failAt > 0;
    return plan;
}

const Plan& plan()
{
    static const Plan once = readPlan();
    return once;
}

void killNow()
{
    std::fflush(stderr);
    std::raise(SIGKILL);
    std::abort(); // not reached
}

// What the step about to be taken must do.
struct Step {
    int failErrno = 0; // fail with this error instead of taking the step
    bool tear = false; // a write: write half, then killNow()
};

Step at(const char* name, const QByteArray& path)
{
    const Plan& p = plan();
    if (!p.on)
        return {};
    static long taken = 0;
    const long n = ++taken;
    if (p.trace)
        std::fprintf(stderr, "tournevent-fault %ld %s %s\n", n, name,
                     QFileInfo(QFile::decodeName(path)).fileName().toLocal8Bit().constData());
    if (n == p.killAt)
        killNow();
    if (n == p.tearAt)
        return {0, true};
    if (n == p.failAt)
        return {p.failErrno, false};
    return {};
}

// Takes the step through `call` unless the plan fails it (-1 and errno) or kills here.
template <typename Call> auto take(const char* name, const QByteArray& path, Call call) -> decltype(call())
{
    const Step step = at(name, path);
    if (step.failErrno != 0) {
        errno = step.failErrno;
        return -1;
    }
    const auto result = call();
    if (step.tear)
        killNow();
    return result;
}

} // namespace fault

// The operator's error number for the last failed system call.
FileResult failureFromErrno(int savedErrno, const QString& detail)
{
    switch (savedErrno) {
    case ENOENT:
        return FileResult::failure(FileResult::kNotFound, detail);
    case ENOSPC:
    case EFBIG: // beyond the size a file may have: no room for it either
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

// "step : the system's words for the error".
QString systemText(const char* step, int savedErrno = errno)
{
    return QString::fromUtf8(step) + QStringLiteral(" : ") + QString::fromLocal8Bit(std::strerror(savedErrno));
}

QByteArray randomSuffix()
{
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray out(6, 'x');
    for (char& c : out)
        c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return out;
}

// Writes every byte, across short writes and interruptions; false with errno set on failure.
bool writeAll(int fd, const QByteArray& bytes, const QByteArray& path)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const fault::Step step = fault::at("write", path);
        if (step.failErrno != 0) {
            errno = step.failErrno;
            return false;
        }
        const size_t wanted = size_t(bytes.size() - done);
        const ssize_t n = ::write(fd, bytes.constData() + done, step.tear ? (wanted + 1) / 2 : wanted);
        if (step.tear)
            fault::killNow();
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

FileResult refusal(const QString& path, bool link)
{
    const QString name = QFileInfo(path).fileName();
    return FileResult::refusal(link ? name + QStringLiteral(" est un lien symbolique : Tournevent n'écrit pas à "
                                                            "travers un lien, rien n'a été modifié.")
                                    : name + QStringLiteral(" n'est pas un fichier ordinaire (dossier, "
                                                            "périphérique…) : Tournevent n'y écrit pas, rien n'a "
                                                            "été modifié."));
}

// A refusal when something other than a regular file stands at `path`; success when a
// regular file or nothing does (`*found` then holds the file's status, or zeros).
FileResult refuseUnlessRegular(const QString& path, struct stat* found)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return FileResult::success(); // nothing there, or a folder the write itself will report
    if (!S_ISREG(st.st_mode))
        return refusal(path, S_ISLNK(st.st_mode));
    if (found)
        *found = st;
    return FileResult::success();
}

// Makes the rename itself durable; the file is already whole and in place, so a folder that
// cannot be synced (some file systems refuse it) changes nothing for the caller.
void syncFolder(const QString& path)
{
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir < 0)
        return;
    (void)::fsync(dir);
    ::close(dir);
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

int QtFileSystem::flushToDisk(int fd)
{
    return ::fdatasync(fd);
}

int QtFileSystem::closeFile(int fd)
{
    return ::close(fd);
}

FileResult QtFileSystem::replace(const QString& path, const QByteArray& bytes)
{
    struct stat target {};
    const FileResult refused = refuseUnlessRegular(path, &target);
    if (!refused.ok())
        return refused;
    const bool hadTarget = target.st_mode != 0;
    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; fd < 0 && attempt < 64; ++attempt) {
        temporary = QFile::encodeName(path) + kTemporaryMark + randomSuffix();
        fd = fault::take("open-temporary", temporary, [&] {
            return ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        });
        const int savedErrno = errno;
        if (fd < 0 && savedErrno != EEXIST)
            return failureFromErrno(savedErrno, systemText("création du fichier temporaire", savedErrno));
    }
    if (fd < 0)
        return failureFromErrno(EEXIST, systemText("création du fichier temporaire", EEXIST));
    // Whatever fails from here leaves the target as it was and no temporary file behind.
    const auto abandon = [&](int savedErrno, const char* step) {
        const FileResult failed = failureFromErrno(savedErrno, systemText(step, savedErrno));
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.constData());
        return failed;
    };
    if (hadTarget && ::fchmod(fd, target.st_mode & 07777) != 0)
        return abandon(errno, "droits du fichier temporaire");
    if (!writeAll(fd, bytes, temporary))
        return abandon(errno, "écriture");
    if (fault::take("flush", temporary, [&] { return flushToDisk(fd); }) != 0)
        return abandon(errno, "écriture sur le disque");
    // A close that fails has closed the file all the same.
    const fault::Step closing = fault::at("close", temporary);
    int closed = closeFile(fd);
    fd = -1;
    if (closing.tear)
        fault::killNow();
    if (closing.failErrno != 0) {
        closed = -1;
        errno = closing.failErrno;
    }
    if (closed != 0)
        return abandon(errno, "fermeture");
    if (!readyToCommit(path))
        return abandon(EINTR, "interrompu avant le renommage");
    const QByteArray name = QFile::encodeName(path);
    if (fault::take("rename", name, [&] { return ::rename(temporary.constData(), name.constData()); }) != 0)
        return abandon(errno, "renommage");
    syncFolder(path);
    return FileResult::success();
}

FileResult QtFileSystem::append(const QString& path, const QByteArray& bytes)
{
    const FileResult refused = refuseUnlessRegular(path, nullptr);
    if (!refused.ok())
        return refused;
    // Not through a link, and without waiting on a pipe: a regular file is checked once open.
    const QByteArray name = QFile::encodeName(path);
    const int fd = fault::take("open-append", name, [&] {
        return ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    });
    if (fd < 0) {
        const int savedErrno = errno;
        return savedErrno == ELOOP ? refusal(path, true)
                                   : failureFromErrno(savedErrno, systemText("ouverture", savedErrno));
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return refusal(path, false);
    }
    const off_t before = opened.st_size;
    if (!writeAll(fd, bytes, name) || fault::take("fsync-append", name, [&] { return ::fsync(fd); }) != 0) {
        const int savedErrno = errno;
        FileResult failed = failureFromErrno(savedErrno, systemText("écriture", savedErrno));
        // Cut back whatever part of the piece reached the disk.
        if (::ftruncate(fd, before) != 0)
            failed.detail += QStringLiteral(" (fin partielle non retirée)");
        ::close(fd);
        return failed;
    }
    // The piece is on the disk (fsync said so): a close that complains now cannot undo it, and
    // calling it a failure would have the QSO recorded twice.
    fault::take("close-append", name, [&] { return ::close(fd); });
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
    const QByteArray name = QFile::encodeName(path);
    if (fault::take("remove", name, [&] { return ::unlink(name.constData()); }) != 0)
        return failureFromErrno(errno, systemText("suppression"));
    return FileResult::success();
}

QStringList QtFileSystem::fileNames(const QString& folder) const
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace tv
