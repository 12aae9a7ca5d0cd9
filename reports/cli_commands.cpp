#include "reports/cli_commands.h"

#include "logstore/callsign_rule.h"
#include "logstore/country_file.h"
#include "logstore/cp1252.h"
#include "logstore/entity_resolver.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "reports/adif_export.h"
#include "reports/ctrafic_export.h"
#include "reports/log_listing.h"
#include "reports/report_files.h"
#include "reports/report_messages.h"
#include "reports/summary_sheet.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace tv::cli {
namespace {

const QStringList kCommands = {QStringLiteral("adif"),    QStringLiteral("ctrafic"), QStringLiteral("summary"),
                               QStringLiteral("listing"), QStringLiteral("rebuild"), QStringLiteral("score"),
                               QStringLiteral("check"),   QStringLiteral("lookup")};

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

bool loadLog(const Station& station, FileSystem& files, QList<QByteArray>& lines, QTextStream& err)
{
    const LogFile::Loaded log = LogFile(files, station.paths.existingLog(files)).load();
    if (!log.result.ok()) {
        err << reportmessages::logUnreadable(station.paths.callsign(), log.result) << Qt::endl;
        return false;
    }
    lines = log.lines;
    return true;
}

int adifCommand(const Station& station, FileSystem& files, QTextStream& out, QTextStream& err)
{
    QList<QByteArray> lines;
    if (!loadLog(station, files, lines, err))
        return kReadFailed;
    const QString name = reportfiles::adif(station.paths.callsign(), station.hfSession);
    const FileResult written = adif::writeFile(files, station.paths, station.hfSession, lines);
    if (!written.ok()) {
        err << reportmessages::notWritten(name, written) << Qt::endl;
        return kWriteFailed;
    }
    out << QStringLiteral("Fichier ADIF écrit : ") << name << QStringLiteral(" (") << lines.size()
        << QStringLiteral(" QSO)") << Qt::endl;
    return kOk;
}

int ctraficCommand(const Station& station, FileSystem& files, QTextStream& out, QTextStream& err)
{
    const ctrafic::Outcome outcome = ctrafic::exportLog(files, station.paths, station.hfSession);
    if (!outcome.result.ok()) {
        err << outcome.message << Qt::endl;
        return outcome.readFailed ? kReadFailed : kWriteFailed;
    }
    out << outcome.message << Qt::endl;
    return kOk;
}

int listingCommand(const Station& station, FileSystem& files, QTextStream& out, QTextStream& err)
{
    if (reportfiles::logListing(station.paths.callsign(), station.eventDate, station.hfSession).isEmpty()) {
        err << reportmessages::badEventDate(station.eventDate) << Qt::endl;
        return kStation;
    }
    QList<QByteArray> lines;
    if (!loadLog(station, files, lines, err))
        return kReadFailed;
    const listing::SaveOutcome saved = listing::save(files, station.paths, station.eventDate, station.hfSession, lines);
    if (!saved.result.ok()) {
        err << saved.message << Qt::endl;
        return kWriteFailed;
    }
    out << saved.message << Qt::endl;
    return kOk;
}

bool loadTally(const Station& station, FileSystem& files, ScoreTally& tally, QTextStream& err)
{
    const LoadedScore loaded = summary::loadDayScore(files, station.paths, station.hfSession, station.countries);
    if (!loaded.result.ok()) {
        err << reportmessages::notReadable(fileNameOf(loaded.failedFile), loaded.result) << Qt::endl;
        return false;
    }
    tally = loaded.tally;
    for (const QString& skipped : tally.skippedText())
        err << QStringLiteral("Attention : ") << skipped << Qt::endl;
    return true;
}

int summaryCommand(const Station& station, SettingsStore& settings, FileSystem& files, QTextStream& out,
                   QTextStream& err)
{
    if (reportfiles::summarySheet(station.paths.callsign(), station.eventDate).isEmpty()) {
        err << reportmessages::badEventDate(station.eventDate) << Qt::endl;
        return kStation;
    }
    ScoreTally tally;
    if (!loadTally(station, files, tally, err))
        return kReadFailed;
    summary::Sheet sheet;
    sheet.eventDate = station.eventDate;
    sheet.op = summary::loadOperator(settings, station.paths.callsign());
    sheet.hfSession = station.hfSession;
    sheet.cells = summary::cellsFromTally(tally, station.hfSession);
    const summary::SaveOutcome saved = summary::save(files, station.paths, sheet);
    if (!saved.result.ok()) {
        err << saved.message << Qt::endl;
        return kWriteFailed;
    }
    out << saved.message << Qt::endl;
    return kOk;
}

void printTotals(QTextStream& out, const QString& session, const ScoreTally::Totals& totals, double score)
{
    out << QStringLiteral("Session ") << session << QStringLiteral(" : ") << scoreText(score)
        << QStringLiteral(" points (") << totals.qsos << QStringLiteral(" QSO, points QSO ") << scoreText(totals.points)
        << QStringLiteral(", multiplicateurs ") << totals.multipliers() << QStringLiteral(" : moulins ") << totals.mills
        << QStringLiteral(", départements ") << totals.departments << QStringLiteral(", DXCC ") << totals.entities
        << QStringLiteral(")") << Qt::endl;
}

int scoreCommand(const Station& station, FileSystem& files, QTextStream& out, QTextStream& err)
{
    ScoreTally tally;
    if (!loadTally(station, files, tally, err))
        return kReadFailed;
    out << QStringLiteral("Station ") << station.paths.callsign() << Qt::endl;
    printTotals(out, QStringLiteral("HF"), tally.hfTotals(), score(tally, true));
    printTotals(out, QStringLiteral("VHF"), tally.vhfTotals(), score(tally, false));
    return kOk;
}

int rebuildCommand(const Station& station, FileSystem& files, QTextStream& out, QTextStream& err)
{
    MultiplierRebuild rebuild(files, station.paths, station.countries);
    const QStringList targets = rebuild.targets();
    const MultiplierRebuild::Result result = rebuild.runFromLog();
    if (!result.result.ok()) {
        const QString name = fileNameOf(result.failedFile);
        if (targets.contains(result.failedFile) || result.failedFile == station.paths.rebuildMarker()) {
            err << reportmessages::notWritten(name, result.result) << Qt::endl;
            if (result.filesWritten > 0)
                err << QStringLiteral("Les fichiers qui le précèdent sont déjà reconstruits ; relancez rebuild "
                                      "pour terminer.")
                    << Qt::endl;
            return kWriteFailed;
        }
        err << reportmessages::notReadable(name, result.result) << Qt::endl;
        return kReadFailed;
    }
    out << QStringLiteral("Fichiers reconstruits à partir du log :") << Qt::endl;
    for (const QString& target : targets)
        out << QStringLiteral("  ") << fileNameOf(target) << Qt::endl;
    if (!result.unmatchedCallsigns.isEmpty())
        out << result.unmatchedCallsigns.size() << QStringLiteral(" QSO avec un indicatif sans préfixe connu (voir ")
            << station.paths.callsign() << QStringLiteral("_Absent.txt pour le CW)") << Qt::endl;
    return kOk;
}

QString malformedReason(const QByteArray& line)
{
    if (line.size() != logcol::kLineLength)
        return QStringLiteral("longueur %1 au lieu de %2").arg(line.size()).arg(logcol::kLineLength);
    if (line[logcol::kEndMarker.index()] != '*')
        return QStringLiteral("pas de « * » en colonne %1").arg(logcol::kEndMarker.first);
    if (!qsoline::sortKey(line))
        return QStringLiteral("date ou heure de début illisible");
    QString badDistance;
    qsoline::distance(line, &badDistance);
    return badDistance;
}

int checkCommand(const Station& station, FileSystem& files, QTextStream& out, QTextStream& err)
{
    QList<QByteArray> lines;
    if (!loadLog(station, files, lines, err))
        return kReadFailed;
    int bad = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (qsoline::isWellFormed(lines[i]))
            continue;
        ++bad;
        out << QStringLiteral("Ligne ") << (i + 1) << QStringLiteral(" mal formée : ") << malformedReason(lines[i])
            << Qt::endl;
    }
    const QString logName = station.paths.callsign() + QStringLiteral(".log");
    if (bad > 0) {
        out << logName << QStringLiteral(" : ") << bad << QStringLiteral(" ligne(s) mal formée(s) sur ") << lines.size()
            << Qt::endl;
        return kMalformedLines;
    }
    out << logName << QStringLiteral(" : ") << lines.size() << QStringLiteral(" ligne(s), toutes bien formées")
        << Qt::endl;
    return kOk;
}

// Takes "--name value" or "--name=value"; false when the value is missing.
bool takeValue(const QStringList& arguments, int& i, const QString& name, QString& value)
{
    const QString& argument = arguments[i];
    if (argument.startsWith(name + QLatin1Char('='))) {
        value = argument.mid(name.size() + 1);
        return !value.isEmpty();
    }
    if (i + 1 >= arguments.size())
        return false;
    value = arguments[++i];
    return !value.isEmpty();
}

// The entity of each callsign, resolved as the entry resolves it, against the blank template.
int lookupCommand(const Options& options, const FileSystem& files, const CountryFile* countries, QTextStream& out,
                  QTextStream& err)
{
    const StationPaths paths(options.dir, keys::kNoCallsign);
    const FileRead read = files.read(paths.prefixTemplate());
    if (!read.result.ok()) {
        err << reportmessages::notReadable(fileNameOf(paths.prefixTemplate()), read.result) << Qt::endl;
        return kReadFailed;
    }
    const QList<QByteArray> lines = LogFile::splitLines(read.bytes);
    const EntityResolver resolver(countries, lines);
    out << QStringLiteral("Entités DXCC d'après ")
        << (countries ? QStringLiteral("le fichier des pays ") + CountryFile::installedPath()
                      : QStringLiteral("les préfixes de FXXXX_Prefixe.txt (fichier des pays absent)"))
        << Qt::endl;
    for (const QString& typed : options.args) {
        const QByteArray callsign = cp1252::encode(typed.trimmed().toUpper());
        const EntityResolver::Result found = resolver.resolve(callsign);
        out << cp1252::decode(callsign).leftJustified(13) << QLatin1Char(' ');
        switch (found.kind) {
        case EntityResolver::Kind::Entity: {
            const QByteArray prefix = PrefixFile::prefixOf(lines[found.line]);
            out << cp1252::decode(prefix).leftJustified(7) << cp1252::decode(found.name)
                << (PrefixFile::isFrench(prefix) ? QStringLiteral(" (française)") : QStringLiteral(" (étrangère)"));
            break;
        }
        case EntityResolver::Kind::NoEntity:
            out << QStringLiteral("aucune entité (mobile maritime ou aéronautique)");
            break;
        case EntityResolver::Kind::NoLine:
            out << cp1252::decode(found.name) << QStringLiteral(" : pas de ligne dans FXXXX_Prefixe.txt");
            break;
        case EntityResolver::Kind::Unknown:
            out << PrefixFile::unknownPrefixMessage();
            break;
        }
        out << Qt::endl;
    }
    return kOk;
}

} // namespace

Options parse(const QStringList& arguments, const QList<Command>& commands)
{
    Options options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--dir") || argument.startsWith(QLatin1String("--dir="))) {
            if (!takeValue(arguments, i, QStringLiteral("--dir"), options.dir))
                options.error = QStringLiteral("l'option --dir demande un répertoire");
        } else if (argument == QLatin1String("--call") || argument.startsWith(QLatin1String("--call="))) {
            if (!takeValue(arguments, i, QStringLiteral("--call"), options.call))
                options.error = QStringLiteral("l'option --call demande un indicatif");
        } else if (!options.command.isEmpty()) {
            options.args << argument;
        } else if (argument.startsWith(QLatin1Char('-'))) {
            options.error = QStringLiteral("option inconnue : ") + argument;
        } else {
            options.command = argument;
        }
        if (!options.error.isEmpty())
            return options;
    }
    if (options.help)
        return options;
    const bool extra =
        std::any_of(commands.begin(), commands.end(), [&](const Command& c) { return c.name == options.command; });
    if (options.dir.isEmpty())
        options.error = QStringLiteral("l'option --dir est obligatoire");
    else if (options.command.isEmpty())
        options.error = QStringLiteral("aucune commande indiquée");
    else if (!kCommands.contains(options.command) && !extra)
        options.error = QStringLiteral("commande inconnue : ") + options.command;
    else if (options.command == QLatin1String("lookup") && options.args.isEmpty())
        options.error = QStringLiteral("la commande lookup demande au moins un indicatif");
    else if (!extra && options.command != QLatin1String("lookup") && !options.args.isEmpty())
        options.error = options.args[0].startsWith(QLatin1Char('-'))
                            ? QStringLiteral("option inconnue : ") + options.args[0]
                            : QStringLiteral("une seule commande à la fois (") + options.command +
                                  QStringLiteral(", ") + options.args[0] + QStringLiteral(")");
    return options;
}

QString CommandArgs::value(const QString& name)
{
    QString found;
    for (int i = 0; i < m_args.size(); ++i) {
        if (m_args[i] == name || m_args[i].startsWith(name + QLatin1Char('='))) {
            const int at = i;
            if (!takeValue(m_args, i, name, found)) {
                fail(QStringLiteral("l'option ") + name + QStringLiteral(" demande une valeur"));
                m_args.remove(at, i - at + 1);
                return {};
            }
            m_args.remove(at, i - at + 1);
            return found;
        }
    }
    return found;
}

QStringList CommandArgs::values(const QString& name)
{
    QStringList out;
    for (QString v = value(name); !v.isEmpty(); v = value(name))
        out << v;
    return out;
}

bool CommandArgs::flag(const QString& name)
{
    return m_args.removeAll(name) > 0;
}

QStringList CommandArgs::operands()
{
    QStringList out;
    for (int i = 0; i < m_args.size();) {
        if (m_args[i].startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        out << m_args.takeAt(i);
    }
    return out;
}

int usageError(const Context& context, const CommandArgs& args)
{
    const QString error = args.finish();
    if (error.isEmpty())
        return kOk;
    context.err << QStringLiteral("tournevent-cli : ") << error << Qt::endl
                << QStringLiteral("Essayez « tournevent-cli --help ».") << Qt::endl;
    return kUsage;
}

void CommandArgs::fail(const QString& error)
{
    if (m_error.isEmpty())
        m_error = error;
}

QString CommandArgs::finish() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (m_args.isEmpty())
        return {};
    return m_args[0].startsWith(QLatin1Char('-')) ? QStringLiteral("option inconnue : ") + m_args[0]
                                                  : QStringLiteral("argument en trop : ") + m_args[0];
}

QString helpText(const QList<Command>& commands)
{
    QString extra;
    for (const Command& c : commands)
        extra += c.help;
    return QStringLiteral(
               "Usage : tournevent-cli [--dir CHEMIN] [--call INDICATIF] COMMANDE\n"
               "        tournevent-cli [--dir CHEMIN] lookup INDICATIF...\n"
               "\n"
               "Produit les comptes rendus de Tournevent sans ouvrir de fenêtre, à partir des fichiers\n"
               "de la station dans le répertoire CHEMIN et des réglages gardés dans CHEMIN/settings,\n"
               "ou dans les réglages de l'utilisateur pour le répertoire par défaut du programme\n"
               "(indicatif, date de la JNM, session, champs de la feuille récapitulative).\n"
               "\n"
               "Commandes :\n"
               "  adif      écrit le log au format ADIF dans INDICATIF.adi (INDICATIF_VHF.adi en VHF)\n"
               "  ctrafic   copie le log dans INDICATIF.ctf (INDICATIF_VHF.ctf en VHF), format C_Trafic\n"
               "  summary   écrit la feuille récapitulative INDICATIF_Recapitulatif_JNM_jj_mm_aa.txt,\n"
               "            qui compte les deux sessions (l'autre depuis son archive .hf_ ou .vhf)\n"
               "  listing   écrit le log mis en page INDICATIF_Log_JNM_jj_mm_aa.txt\n"
               "            (INDICATIF_Log_JNM_VHF_jj_mm_aa.txt en VHF)\n"
               "  rebuild   reconstruit les fichiers de départements et de préfixes à partir du log\n"
               "            (à lancer avant summary, comme le fait la fenêtre de la feuille récapitulative)\n"
               "  score     affiche le score des sessions HF et VHF (comptées comme la feuille)\n"
               "  check     signale les lignes mal formées du log avec leur numéro\n"
               "  lookup    donne l'entité DXCC de chaque indicatif (préfixe, nom, française ou non),\n"
               "            comptée comme à la saisie ; aucune station n'est nécessaire\n"
               "%1"
               "\n"
               "Options :\n"
               "  --dir CHEMIN       répertoire du programme (par défaut celui de Tournevent)\n"
               "  --call INDICATIF   station à traiter (sinon celle des réglages), F0ZZZ/P ou F0ZZZ_P\n"
               "  --help             affiche cette aide\n"
               "\n"
               "Codes de sortie :\n"
               "  0  réussite\n"
               "  1  check : le log contient des lignes mal formées\n"
               "  2  ligne de commande incorrecte\n"
               "  3  aucune station, ou indicatif ou date de la JNM inutilisable pour nommer un fichier\n"
               "  4  fichier de la station introuvable ou illisible\n"
               "  5  écriture impossible (un fichier précédent du même nom reste intact)\n"
               "  6  serveur, cluster ou émetteur injoignable\n")
        .arg(extra);
}

namespace {

// The station the command works on: --call, else the settings' callsign in upper case.
// kOk, or the exit code after the message.
int resolveStation(const Options& options, SettingsStore& settings, QTextStream& err, QString& callsign)
{
    const QString problem = settings.problem(keys::kJnm);
    if (!problem.isEmpty()) {
        err << QStringLiteral("Attention ") << problem
            << QStringLiteral(" : la station, la date et la session ne sont pas connues, rien n'est fait.") << Qt::endl;
        return kStation;
    }
    callsign = callsign::toStored(options.call);
    if (callsign.isEmpty())
        callsign = settings.value(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign).toUpper();
    if (callsign == keys::kNoCallsign) {
        if (options.call.isEmpty())
            err << QStringLiteral("Aucune station n'est enregistrée pour ") << options.dir
                << QStringLiteral(" : indiquez-la avec --call INDICATIF.") << Qt::endl;
        else
            err << QStringLiteral("FXXXX est l'indicatif des modèles, pas celui d'une station : indiquez "
                                  "l'indicatif de la station avec --call INDICATIF.")
                << Qt::endl;
        return kStation;
    }
    if (!StationPaths::isSafeCallsign(callsign)) {
        err << QStringLiteral("L'indicatif « ") << callsign
            << QStringLiteral(" » ne peut pas nommer un fichier (lettres, chiffres et « _ » seulement, 12 au plus).")
            << Qt::endl;
        return kStation;
    }
    return kOk;
}

// A rebuild of the multiplier files stopped half way is done again before they are read.
int finishInterruptedRebuild(const Station& station, FileSystem& files, QTextStream& err)
{
    const MultiplierRebuild::Resumed resumed =
        MultiplierRebuild(files, station.paths, station.countries).resumeIfInterrupted();
    if (!resumed.redone)
        return kOk;
    if (resumed.result.result.ok()) {
        err << QStringLiteral("La reconstruction des fichiers de départements et de préfixes avait été "
                              "interrompue : elle a été refaite à partir du log.")
            << Qt::endl;
        return kOk;
    }
    const QString name = fileNameOf(resumed.result.failedFile);
    err << QStringLiteral("La reconstruction interrompue des fichiers de départements et de préfixes n'a pas pu "
                          "être refaite : ")
        << (resumed.result.failedFile == station.paths.existingLog(files)
                ? reportmessages::notReadable(name, resumed.result.result)
                : reportmessages::notWritten(name, resumed.result.result))
        << Qt::endl;
    return resumed.result.failedFile == station.paths.existingLog(files) ? kReadFailed : kWriteFailed;
}

int executeCommand(const Options& options, SettingsStore& settings, FileSystem& files, const CountryFile* countries,
                   QTextStream& out, QTextStream& err, const QList<Command>& commands)
{
    if (options.help) {
        out << helpText(commands);
        return kOk;
    }
    if (!options.error.isEmpty()) {
        err << QStringLiteral("tournevent-cli : ") << options.error << Qt::endl
            << QStringLiteral("Essayez « tournevent-cli --help ».") << Qt::endl;
        return kUsage;
    }
    if (!QFileInfo(options.dir).isDir()) {
        err << QStringLiteral("Le répertoire ") << options.dir << QStringLiteral(" n'existe pas.") << Qt::endl;
        return kReadFailed;
    }
    // Temporary files of writes stopped by a crash or a kill.
    for (const QString& failure : files.removeLeftoverTemporaries(options.dir).failures)
        err << QStringLiteral("Fichier temporaire non supprimé : ") << failure << Qt::endl;

    if (options.command == QLatin1String("lookup"))
        return lookupCommand(options, files, countries, out, err);
    const auto extra =
        std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == options.command; });
    const Context context{settings, files, countries, out, err};
    const auto runExtra = [&](const Station* station) {
        CommandArgs args(options.args);
        const int code = extra->run(context, station, args);
        return code == kOk ? usageError(context, args) : code;
    };
    if (extra != commands.end() && !extra->needsStation)
        return runExtra(nullptr);

    QString callsign;
    if (const int refused = resolveStation(options, settings, err, callsign); refused != kOk)
        return refused;
    const QString section = keys::stationSection(callsign);
    const Station station{
        StationPaths(options.dir, callsign),
        settings.value(keys::kJnm, section, keys::kDateJnm, keys::kDefaultEventDate),
        reportfiles::isHfSession(settings, callsign),
        countries,
    };

    const QString& command = options.command;
    // The commands that read the multiplier files (those of the subsystems above may).
    if (extra != commands.end() || command == QLatin1String("score") || command == QLatin1String("summary")) {
        if (const int failed = finishInterruptedRebuild(station, files, err); failed != kOk)
            return failed;
    }
    if (extra != commands.end())
        return runExtra(&station);
    if (command == QLatin1String("adif"))
        return adifCommand(station, files, out, err);
    if (command == QLatin1String("ctrafic"))
        return ctraficCommand(station, files, out, err);
    if (command == QLatin1String("listing"))
        return listingCommand(station, files, out, err);
    if (command == QLatin1String("summary"))
        return summaryCommand(station, settings, files, out, err);
    if (command == QLatin1String("rebuild"))
        return rebuildCommand(station, files, out, err);
    if (command == QLatin1String("score"))
        return scoreCommand(station, files, out, err);
    return checkCommand(station, files, out, err);
}

} // namespace

int execute(const Options& options, SettingsStore& settings, FileSystem& files, const CountryFile* countries,
            QTextStream& out, QTextStream& err, const QList<Command>& commands)
{
    const int code = executeCommand(options, settings, files, countries, out, err, commands);
    // What the command printed is part of its result: output that could not be written (a full
    // disk, a closed pipe) is a failed write, even when the files were written.
    out.flush();
    if (out.status() != QTextStream::Ok && (code == kOk || code == kMalformedLines)) {
        err << QStringLiteral("tournevent-cli : la sortie n'a pas pu être écrite.") << Qt::endl;
        return kWriteFailed;
    }
    return code;
}

} // namespace tv::cli
