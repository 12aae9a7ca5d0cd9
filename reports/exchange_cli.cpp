#include "reports/exchange_cli.h"

#include "logstore/bands.h"
#include "logstore/entity_resolver.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "platform/file_system.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "reports/adif_import.h"
#include "reports/edi_export.h"
#include "reports/report_messages.h"

#include <QFileInfo>
#include <QTextStream>

namespace tv::exchangecli {
namespace {

int runEdi(const cli::Context& context, const cli::Station& station, cli::CommandArgs& args)
{
    const QString out = args.value(QStringLiteral("--out"));
    if (out.isEmpty())
        args.fail(QStringLiteral("la commande edi demande --out DOSSIER"));
    else if (!QFileInfo(out).isDir())
        args.fail(QStringLiteral("le dossier ") + out + QStringLiteral(" n'existe pas"));
    if (const int usage = cli::usageError(context, args); usage != cli::kOk)
        return usage;
    const edi::VhfLog log = edi::vhfLog(context.files, station.paths, station.hfSession);
    if (!log.result.ok()) {
        context.err << reportmessages::notReadable(StationPaths::fileName(log.path), log.result) << Qt::endl;
        return cli::kReadFailed;
    }
    const FileRead prefixes = context.files.read(station.paths.prefixes(bands::Mode::Ssb));
    const EntityResolver entities(context.countries, LogFile::splitLines(prefixes.bytes));
    const edi::Written written =
        edi::writeFiles(context.files, QFileInfo(out).absoluteFilePath(),
                        edi::stationOf(context.settings, station.paths.callsign()), log.lines, &entities);
    if (!written.result.ok()) {
        context.err << edi::outcomeText(written) << Qt::endl;
        return cli::kWriteFailed;
    }
    context.out << edi::outcomeText(written).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
    return cli::kOk;
}

// Adds the lines to the log and rebuilds the multiplier files: kOk, or the failure told.
int addLines(const cli::Context& context, const cli::Station& station, const QString& logPath,
             const QList<QByteArray>& lines)
{
    // A kill between the log and the rebuild leaves the marker: the next start rebuilds.
    (void)MultiplierRebuild::beginChange(context.files, station.paths);
    const FileResult written = LogFile(context.files, logPath).insertInOrder(lines);
    if (!written.ok()) {
        (void)MultiplierRebuild::endChange(context.files, station.paths);
        context.err << reportmessages::notWritten(StationPaths::fileName(logPath), written)
                    << QStringLiteral(" Rien n'a été importé.") << Qt::endl;
        return cli::kWriteFailed;
    }
    const MultiplierRebuild::Result rebuilt =
        MultiplierRebuild(context.files, station.paths, station.countries).runFromLog();
    context.out << QStringLiteral("%1 QSO ajouté(s) au log %2.").arg(lines.size()).arg(StationPaths::fileName(logPath))
                << Qt::endl;
    if (!rebuilt.result.ok()) {
        context.err << QStringLiteral("Les fichiers de départements et de préfixes n'ont pas été reconstruits : ")
                    << reportmessages::notWritten(StationPaths::fileName(rebuilt.failedFile), rebuilt.result)
                    << QStringLiteral(" Relancez rebuild.") << Qt::endl;
        return cli::kWriteFailed;
    }
    return cli::kOk;
}

int runImport(const cli::Context& context, const cli::Station& station, cli::CommandArgs& args)
{
    const bool dryRun = args.flag(QStringLiteral("--dry-run"));
    const QStringList operands = args.operands();
    if (operands.size() != 1)
        args.fail(QStringLiteral("la commande import demande un fichier ADIF, un seul"));
    if (const int usage = cli::usageError(context, args); usage != cli::kOk)
        return usage;
    const QString name = QFileInfo(operands[0]).fileName();
    const FileRead adif = context.files.read(operands[0]);
    if (!adif.result.ok()) {
        context.err << reportmessages::notReadable(name, adif.result) << Qt::endl;
        return cli::kReadFailed;
    }
    const QString logPath = station.paths.existingLog(context.files);
    const LogFile::Loaded log = LogFile(context.files, logPath).load();
    if (!log.result.ok()) {
        context.err << reportmessages::logUnreadable(station.paths.callsign(), log.result) << Qt::endl;
        return cli::kReadFailed;
    }
    const QString stationLocator =
        context.settings.value(keys::kJnm, keys::kSetup, keys::kLocatorStation, keys::kNoLocator);
    const adifimport::Plan plan = adifimport::plan(adif.bytes, log.lines, stationLocator);
    if (!plan.error.isEmpty()) {
        context.err << QStringLiteral("Le fichier ") << name << QStringLiteral(" n'est pas lisible : ") << plan.error
                    << QStringLiteral(". Rien n'a été importé.") << Qt::endl;
        return cli::kReadFailed;
    }
    for (const QString& line : adifimport::details(plan))
        context.out << line << Qt::endl;
    context.out << adifimport::summary(plan) << Qt::endl;
    const QList<QByteArray> lines = plan.linesToAdd();
    if (dryRun || lines.isEmpty())
        return cli::kOk;
    return addLines(context, station, logPath, lines);
}

} // namespace

cli::Command ediCommand()
{
    cli::Command command;
    command.name = QStringLiteral("edi");
    command.help = QStringLiteral("  edi       écrit les fichiers EDI (REG1TEST) des QSO VHF, un par bande :\n"
                                  "            edi --out DOSSIER\n");
    command.run = [](const cli::Context& context, const cli::Station* station, cli::CommandArgs& args) {
        return runEdi(context, *station, args);
    };
    return command;
}

cli::Command importCommand()
{
    cli::Command command;
    command.name = QStringLiteral("import");
    command.help = QStringLiteral("  import    ajoute au log les QSO d'un fichier ADIF (sans les doublons) :\n"
                                  "            import FICHIER.adi [--dry-run]\n");
    command.run = [](const cli::Context& context, const cli::Station* station, cli::CommandArgs& args) {
        return runImport(context, *station, args);
    };
    return command;
}

} // namespace tv::exchangecli
