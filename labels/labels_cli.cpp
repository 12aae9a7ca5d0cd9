#include "labels/labels_cli.h"

#include "logstore/log_file.h"
#include "platform/file_system.h"
#include "reports/report_messages.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <set>

namespace tv::labels {
namespace {

// A whole number option between low and high; `fallback` when the option is absent.
bool numberOption(cli::CommandArgs& args, const QString& name, int low, int high, int fallback, int* value,
                  const QString& error)
{
    const QString text = args.value(name);
    if (text.isEmpty()) {
        *value = fallback;
        return true;
    }
    bool ok = false;
    *value = text.toInt(&ok);
    if (ok && *value >= low && *value <= high)
        return true;
    args.fail(error);
    return false;
}

struct Request {
    QString pdf;
    LabelSettings settings;
    QStringList qsos;
};

void takeOptions(cli::CommandArgs& args, const SettingsStore& store, Request& request)
{
    LabelSettings& s = request.settings;
    request.pdf = args.value(QStringLiteral("--pdf"));
    int format = 1;
    numberOption(args, QStringLiteral("--format"), 1, kFormatCount, 1, &format,
                 QStringLiteral("l'option --format demande 1, 2, 3 ou 4"));
    formatFromNumber(format, &s.format);
    numberOption(args, QStringLiteral("--type"), 1, 2, 1, &s.type, QStringLiteral("l'option --type demande 1 ou 2"));
    numberOption(args, QStringLiteral("--start"), 1, kLabelsPerSheet, 1, &s.start,
                 QStringLiteral("l'option --start demande une position de 1 à 16"));
    request.qsos = args.values(QStringLiteral("--qso"));
    // Without --rxtx or --antenna, the texts the label window keeps.
    const Equipment kept = loadEquipment(store);
    s.rxtx = args.value(QStringLiteral("--rxtx"));
    s.antenna = args.value(QStringLiteral("--antenna"));
    if (s.rxtx.isEmpty())
        s.rxtx = kept.rxtx;
    if (s.antenna.isEmpty())
        s.antenna = kept.antenna;
    s.millRef = args.value(QStringLiteral("--mill-ref"));
    s.millName = args.value(QStringLiteral("--mill-name"));
    if (request.pdf.isEmpty())
        args.fail(QStringLiteral("la commande labels demande --pdf FICHIER.pdf"));
}

int run(const PdfPrinterMaker& makePrinter, const cli::Context& context, const cli::Station& station,
        cli::CommandArgs& args)
{
    Request request;
    takeOptions(args, context.settings, request);
    if (const int usage = cli::usageError(context, args); usage != cli::kOk)
        return usage;
    LabelSettings& settings = request.settings;
    settings.ownCallsign = station.paths.callsign();
    if (const QString refused = checkMessage(settings); !refused.isEmpty()) {
        context.err << refused << Qt::endl;
        return cli::kUsage;
    }
    const LogFile::Loaded log = LogFile(context.files, station.paths.existingLog(context.files)).load();
    if (!log.result.ok()) {
        context.err << reportmessages::logUnreadable(station.paths.callsign(), log.result) << Qt::endl;
        return cli::kReadFailed;
    }
    QList<QByteArray> chosen = log.lines;
    if (!request.qsos.isEmpty()) {
        QList<int> rows;
        QString error;
        if (!parseQsoNumbers(request.qsos, int(log.lines.size()), &rows, &error)) {
            context.err << QStringLiteral("tournevent-cli : ") << error << Qt::endl;
            return cli::kUsage;
        }
        chosen.clear();
        for (int row : rows)
            chosen << log.lines[row];
    }
    const QList<Sheet> sheets = layOut(chosen, settings);
    if (sheets.isEmpty()) {
        context.out << emptySelectionMessage() << Qt::endl;
        return cli::kOk;
    }
    const PdfOutcome saved = savePdf(context.files, QFileInfo(request.pdf).absoluteFilePath(), makePrinter, sheets);
    if (!saved.result.ok()) {
        context.err << saved.message << Qt::endl;
        return cli::kWriteFailed;
    }
    context.out << saved.message << Qt::endl;
    return cli::kOk;
}

} // namespace

bool parseQsoNumbers(const QStringList& specs, int count, QList<int>* rows, QString* error)
{
    static const QRegularExpression piece(QStringLiteral("^\\s*(\\d+)\\s*(?:-\\s*(\\d+)\\s*)?$"));
    std::set<int> numbers;
    for (const QString& spec : specs) {
        for (const QString& part : spec.split(QLatin1Char(','))) {
            const QRegularExpressionMatch m = piece.match(part);
            if (!m.hasMatch()) {
                *error = QStringLiteral("l'option --qso demande des numéros de QSO, par exemple 1,4-7 : ") + spec;
                return false;
            }
            const int first = m.captured(1).toInt();
            const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
            for (int n : {first, last}) {
                if (n < 1 || n > count) {
                    *error = QStringLiteral("le QSO n° %1 n'est pas dans le log (%2 QSO)").arg(n).arg(count);
                    return false;
                }
            }
            for (int n = std::min(first, last); n <= std::max(first, last); ++n)
                numbers.insert(n - 1);
        }
    }
    rows->clear();
    for (int row : numbers)
        rows->append(row);
    return true;
}

cli::Command cliCommand(PdfPrinterMaker makePrinter)
{
    cli::Command command;
    command.name = QStringLiteral("labels");
    command.help = QStringLiteral(
        "  labels    imprime les étiquettes QSL dans un fichier PDF :\n"
        "            labels --pdf FICHIER.pdf [--format 1|2|3|4] [--type 1|2] [--start N]\n"
        "            [--qso N,M-K...] [--rxtx TEXTE] [--antenna TEXTE] [--mill-ref REF --mill-name NOM]\n"
        "            format 1 AVERY L7162, 2 AVERY DP167, 3 DECADRY OLW4732, 4 DECADRY OLW4799 ;\n"
        "            type 2 : le moulin de la station sur chaque étiquette ; --start : première\n"
        "            position (1 à 16) de la première feuille ; --qso : numéros du log (tous sinon)\n");
    command.needsStation = true;
    command.paints = true;
    command.run = [makePrinter = std::move(makePrinter)](const cli::Context& context, const cli::Station* station,
                                                         cli::CommandArgs& args) {
        return run(makePrinter, context, *station, args);
    };
    return command;
}

} // namespace tv::labels
