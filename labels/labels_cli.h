#pragma once

#include "labels/label_print.h"
#include "reports/cli_commands.h"

namespace tv::labels {

// The command `labels` of tournevent-cli: prints QSL labels of the station's log to a PDF file.
//
//   labels --pdf OUT.pdf [--format 1|2|3|4] [--type 1|2] [--start N] [--qso N,M-K...]
//          [--rxtx TEXT] [--antenna TEXT] [--mill-ref REF --mill-name NAME]
//
// The QSOs are all those of the log, or those numbered by --qso, in log order. The transceiver
// and antenna default to those of the label window's settings. The window's checks apply with
// its messages. The PDF is drawn by `makePrinter` (the program's painter) into a temporary file,
// then put in place atomically.
cli::Command cliCommand(PdfPrinterMaker makePrinter);

// The log rows (0-based, ascending, each once) that "N,M-K" lists name among `count` QSOs
// numbered from 1; false with an error text when a piece is not a number or a range, or names
// a QSO the log does not hold.
bool parseQsoNumbers(const QStringList& specs, int count, QList<int>* rows, QString* error);

} // namespace tv::labels
