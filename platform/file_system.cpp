#include "platform/file_system.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace tv {

QString FileResult::reason() const
{
    if (refused)
        return detail;
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

bool FileSystem::isLeftoverTemporary(const QString& name)
{
    static const QRegularExpression ours(QStringLiteral("^.+\\.tvtmp-[A-Za-z0-9]{6}$"));
    // Files the program writes: the station files and their copies, the reports, the settings.
    static const QRegularExpression older(QStringLiteral("^.+\\.(log|txt|adi|ctf|bak|hf_|vhf|raz|ini)[0-9]*"
                                                         "\\.([A-Za-z0-9]{6})$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (ours.match(name).hasMatch())
        return true;
    const QRegularExpressionMatch match = older.match(name);
    if (!match.hasMatch())
        return false;
    const QString suffix = match.captured(2);
    return std::any_of(suffix.begin(), suffix.end(), [](QChar c) { return !c.isLower(); });
}

FileSystem::Cleanup FileSystem::removeLeftoverTemporaries(const QString& folder)
{
    Cleanup out;
    const QStringList names = fileNames(folder);
    for (const QString& name : names) {
        if (!isLeftoverTemporary(name))
            continue;
        const FileResult removed = remove(QDir(folder).filePath(name));
        if (removed.ok())
            out.removed << name;
        else if (!removed.notFound())
            out.failures << name + QStringLiteral(" : ") + removed.reason();
    }
    return out;
}

} // namespace tv
