#pragma once

#include "labels/label_sheet.h"
#include "platform/file_system.h"

#include <QString>

#include <functional>
#include <memory>

namespace tv {
class Dialogs;
class Printer;
class SettingsStore;
} // namespace tv

// Printing a print run of labels: the checks of the typed texts, the transceiver and antenna
// kept in the settings, the sheets sent to a printer, or written to a PDF file.
namespace tv::labels {

// The message of the first check the settings fail, in this order: transceiver over 15
// characters, antenna over 13, and for label type 2 a mill reference not of 9 characters, a
// mill name empty or over 34. Empty when every check passes.
QString checkMessage(const LabelSettings& settings);

// The message shown when there is no QSO to print.
QString emptySelectionMessage();

// The transceiver and antenna texts kept between print runs (application "Assistant").
struct Equipment {
    QString rxtx;
    QString antenna;
};
Equipment loadEquipment(const SettingsStore& settings);
bool storeEquipment(SettingsStore& settings, const Equipment& equipment);

// The question asked after each full sheet when the operator stops at each sheet.
QString nextSheetQuestion(Format format);

enum class PrintOutcome {
    Printed,   // every sheet went to the printer
    Stopped,   // the operator answered No to the next sheet: the sheets before it are printed
    Cancelled, // the printer selection was cancelled: nothing printed
    Failed,    // the printer refused a sheet
};

// Shows the printer selection, then prints the sheets. Without a stop at each sheet they make
// one document, a page per sheet; with it, each sheet is a document of its own and the
// operator is asked before the next one. The sheets must not be empty.
PrintOutcome printSheets(Printer& printer, Dialogs& dialogs, const QList<Sheet>& sheets, Format format,
                         bool stopAtEachSheet);
QString printFailureMessage();

// Places the texts of the sheets on the printer's pages (a new page before each sheet but the
// first); the document is left open.
void placeSheets(Printer& printer, const QList<Sheet>& sheets);

// A printer that writes a PDF file at the given path.
using PdfPrinterMaker = std::function<std::unique_ptr<Printer>(const QString& path)>;

struct PdfOutcome {
    FileResult result;
    QString message; // what to tell the operator, success or failure
};
// Writes the sheets as a PDF document, a page per sheet, then puts it in place of `target`
// through the atomic replace: a failure leaves the previous file whole.
PdfOutcome savePdf(FileSystem& files, const QString& target, const PdfPrinterMaker& makePrinter,
                   const QList<Sheet>& sheets);

} // namespace tv::labels
