#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tv {
class Printer;
}

// What the report files and printouts share: spaces, the date part of their names, the
// sign-off line, text to Windows-1252, and the printing of a report.
namespace tv::reporttext {

// n spaces (none for n <= 0).
QByteArray spaces(int n);

// The date part of a report's file name, dd_mm_yy: characters 1-2 of the event date,
// characters 4-5, and the last two characters of the trimmed date (05/05/2008 gives
// 05_05_08). Nothing when the three pieces do not make a valid date dd/mm/yy
// (clocktext::isValidDate): such a date would put separators or other odd characters into a
// file name, or name the report after a day that does not exist.
std::optional<QString> eventDateSuffix(const QString& eventDate);

// The sign-off text that ends the summary sheet and the log listing; it ends with
// "Tournevent Rev " followed by the revision text (" 1.1.2").
QByteArray signOff();

// Text typed by the operator as report bytes: Windows-1252 (a character it cannot hold
// becomes "?"), and a tab or line break becomes a space so that one field stays on one line.
QByteArray fieldBytes(const QString& text);

// Prints a report: remembers the printer's font, sets "Courier New" bold 10, shows the printer
// selection, prints each line (Windows-1252 decoded), ends the document, then sets bold off
// and restores the font. A cancelled selection prints nothing.
enum class PrintOutcome { Printed, Cancelled, Failed };
PrintOutcome printLines(Printer& printer, const QList<QByteArray>& lines);

// The message for a printout that could not be made (empty for the other outcomes).
QString printFailureMessage(PrintOutcome outcome);

} // namespace tv::reporttext
