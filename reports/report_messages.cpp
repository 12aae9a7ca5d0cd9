#include "reports/report_messages.h"

namespace tv::reportmessages {

QString badEventDate(const QString& eventDate)
{
    return QStringLiteral("La date de la JNM « ") + eventDate +
           QStringLiteral(" » ne permet pas de nommer le fichier : elle doit être une date réelle écrite jj/mm/aa "
                          "(menu Station).");
}

QString notReadable(const QString& fileName, const FileResult& result)
{
    if (result.notFound())
        return QStringLiteral("Le fichier ") + fileName + QStringLiteral(" est introuvable.");
    return QStringLiteral("Erreur N° ") + QString::number(result.errorNumber) + QStringLiteral(" : le fichier ") +
           fileName + QStringLiteral(" n'a pas pu être lu.");
}

QString logUnreadable(const QString& storedCallsign, const FileResult& result)
{
    return notReadable(storedCallsign + QStringLiteral(".log"), result);
}

QString notWritten(const QString& fileName, const FileResult& result)
{
    return QStringLiteral("Erreur N° ") + QString::number(result.errorNumber) + QStringLiteral(" (") + result.reason() +
           QStringLiteral(") : le fichier ") + fileName +
           QStringLiteral(" n'a pas pu être écrit ; un fichier précédent de ce nom reste inchangé.");
}

} // namespace tv::reportmessages
