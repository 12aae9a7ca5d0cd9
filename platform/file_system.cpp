#include "platform/file_system.h"

namespace tv {

QString FileResult::reason() const
{
    switch (errorNumber) {
    case kNotFound:
        return QStringLiteral("fichier introuvable");
    case kDeviceError:
        return QStringLiteral("erreur de lecture ou d'écriture sur le disque");
    case kDiskFull:
        return QStringLiteral("disque plein");
    case kPermissionDenied:
        return QStringLiteral("permission refusée");
    default:
        return QStringLiteral("accès au fichier impossible");
    }
}

FileRead FileSystem::readTail(const QString& path, qint64 count) const
{
    FileRead whole = read(path);
    if (whole.result.ok() && whole.bytes.size() > count)
        whole.bytes = whole.bytes.right(count);
    return whole;
}

FileResult FileSystem::copy(const QString& source, const QString& destination)
{
    const FileRead in = read(source);
    if (!in.result.ok())
        return in.result;
    return replace(destination, in.bytes);
}

} // namespace tv
