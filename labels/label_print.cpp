#include "labels/label_print.h"

#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "reports/report_messages.h"

#include <QTemporaryDir>

namespace tv::labels {

QString checkMessage(const LabelSettings& s)
{
    if (s.rxtx.size() > 15)
        return QStringLiteral("15 caracteres maxi pour le transceiver");
    if (s.antenna.size() > 13)
        return QStringLiteral("12 caracteres maxi pour l'antenne");
    if (s.type == 2 && s.millRef.size() != 9)
        return QStringLiteral("9 caracteres pour la reference du moulin ex: DMF 60012");
    if (s.type == 2 && (s.millName.isEmpty() || s.millName.size() > 34))
        return QStringLiteral("30 caracteres maxi pour le nom du moulin ex: Moulin de la prairie verte");
    return {};
}

QString emptySelectionMessage()
{
    return QStringLiteral("Aucun QSO sélectionné : il n'y a pas d'étiquette à imprimer.");
}

Equipment loadEquipment(const SettingsStore& settings)
{
    return {settings.value(keys::kAssistant, keys::kSetup, keys::kTransceiver),
            settings.value(keys::kAssistant, keys::kSetup, keys::kAntenne)};
}

bool storeEquipment(SettingsStore& settings, const Equipment& equipment)
{
    const bool rxtx = settings.setValue(keys::kAssistant, keys::kSetup, keys::kTransceiver, equipment.rxtx);
    return settings.setValue(keys::kAssistant, keys::kSetup, keys::kAntenne, equipment.antenna) && rxtx;
}

QString nextSheetQuestion(Format format)
{
    const QString question = QStringLiteral("Page suivante ?");
    return format == Format::AveryDP167 ? QString(15, QLatin1Char(' ')) + question : question;
}

void placeSheets(Printer& printer, const QList<Sheet>& sheets)
{
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        if (i > 0)
            printer.newPage();
        for (const PlacedLabel& label : sheets[i].labels)
            for (const PlacedText& text : label.texts)
                printer.placeText(text.x, text.y, text.text, text.font);
    }
}

PrintOutcome printSheets(Printer& printer, Dialogs& dialogs, const QList<Sheet>& sheets, Format format,
                         bool stopAtEachSheet)
{
    if (!printer.choosePrinter())
        return PrintOutcome::Cancelled;
    if (!stopAtEachSheet) {
        placeSheets(printer, sheets);
        return printer.endDocument() ? PrintOutcome::Printed : PrintOutcome::Failed;
    }
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        if (i > 0 && !dialogs.askYesNo(nextSheetQuestion(format)))
            return PrintOutcome::Stopped;
        placeSheets(printer, {sheets[i]});
        if (!printer.endDocument())
            return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

QString printFailureMessage()
{
    return QStringLiteral("L'impression des étiquettes n'a pas pu se faire : vérifiez l'imprimante.");
}

PdfOutcome savePdf(FileSystem& files, const QString& target, const PdfPrinterMaker& makePrinter,
                   const QList<Sheet>& sheets)
{
    const QString name = StationPaths::fileName(target);
    const QTemporaryDir scratch;
    const QString drawn = scratch.filePath(QStringLiteral("etiquettes.pdf"));
    const std::unique_ptr<Printer> printer = scratch.isValid() ? makePrinter(drawn) : nullptr;
    if (!printer) {
        const FileResult failed = FileResult::failure(FileResult::kAccessError, QStringLiteral("no temporary folder"));
        return {failed, reportmessages::notWritten(name, failed)};
    }
    placeSheets(*printer, sheets);
    FileRead read;
    if (!printer->endDocument())
        read.result = FileResult::failure(FileResult::kDeviceError, QStringLiteral("PDF not drawn"));
    else
        read = files.read(drawn);
    const FileResult written = read.result.ok() ? files.replace(target, read.bytes) : read.result;
    if (!written.ok())
        return {written, reportmessages::notWritten(name, written)};
    return {written, QStringLiteral("Étiquettes enregistrées dans ") + name +
                         QStringLiteral(" (%1 feuille%2).").arg(sheets.size()).arg(sheets.size() > 1 ? "s" : "")};
}

} // namespace tv::labels
