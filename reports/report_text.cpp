#include "reports/report_text.h"

#include "geo/clock_text.h"
#include "logstore/cp1252.h"
#include "platform/printer.h"
#include "platform/version.h"

namespace tv::reporttext {

QByteArray spaces(int n)
{
    return n > 0 ? QByteArray(n, ' ') : QByteArray();
}

std::optional<QString> eventDateSuffix(const QString& eventDate)
{
    const QString day = eventDate.mid(0, 2);
    const QString month = eventDate.mid(3, 2);
    const QString year = eventDate.trimmed().right(2);
    if (!clocktext::isValidDate(day + QLatin1Char('/') + month + QLatin1Char('/') + year))
        return std::nullopt;
    return day + QLatin1Char('_') + month + QLatin1Char('_') + year;
}

QByteArray signOff()
{
    return cp1252::encode(QStringLiteral("Document établi avec Tournevent Rev ") + revisionText());
}

QByteArray fieldBytes(const QString& text)
{
    QByteArray bytes = cp1252::encode(text);
    for (char& c : bytes) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0')
            c = ' ';
    }
    return bytes;
}

PrintOutcome printLines(Printer& printer, const QList<QByteArray>& lines)
{
    const QString oldName = printer.fontName();
    const int oldSize = printer.fontSize();
    printer.setFontName(QStringLiteral("Courier New"));
    printer.setBold(true);
    printer.setFontSize(10);

    PrintOutcome outcome = PrintOutcome::Cancelled;
    if (printer.choosePrinter()) {
        for (const QByteArray& line : lines)
            printer.printLine(cp1252::decode(line));
        outcome = printer.endDocument() ? PrintOutcome::Printed : PrintOutcome::Failed;
    }

    printer.setBold(false);
    printer.setFontName(oldName);
    printer.setFontSize(oldSize);
    return outcome;
}

QString printFailureMessage(PrintOutcome outcome)
{
    if (outcome != PrintOutcome::Failed)
        return {};
    return QStringLiteral("L'impression n'a pas pu être faite : vérifiez l'imprimante choisie.");
}

} // namespace tv::reporttext
