#include "stats/stats_cli.h"

#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/log_file.h"
#include "logstore/station_paths.h"
#include "reports/report_messages.h"
#include "station/station_session.h"
#include "stats/activation_stats.h"
#include "stats/distance_stats.h"
#include "stats/prefix_stats.h"
#include "stats/qso_search.h"

#include <QTextStream>

namespace tv::statscli {
namespace {

using cli::CommandArgs;
using cli::Context;
using cli::Station;

bool loadLog(const Context& context, const Station& station, QList<QByteArray>& lines)
{
    const LogFile::Loaded log = LogFile(context.files, station.paths.existingLog(context.files)).load();
    if (!log.result.ok()) {
        context.err << reportmessages::logUnreadable(station.paths.callsign(), log.result) << Qt::endl;
        return false;
    }
    lines = log.lines;
    return true;
}

void printLines(const Context& context, const QList<QByteArray>& lines)
{
    for (const QByteArray& line : lines)
        context.out << cp1252::decode(line) << Qt::endl;
}

int distances(const Context& context, const Station& station, CommandArgs& args, bool chosen)
{
    if (chosen)
        args.fail(QStringLiteral("les distances se comptent sur 144 MHz, sans --band ni --mode"));
    if (const int usage = cli::usageError(context, args))
        return usage;
    QList<QByteArray> lines;
    if (!loadLog(context, station, lines))
        return cli::kReadFailed;
    const distancestats::Counts counts = distancestats::count(lines);
    context.out << QStringLiteral("Distances des QSO 144 MHz") << Qt::endl;
    for (int i = 0; i < distancestats::kClasses; ++i) {
        const int n = counts.perClass[i];
        context.out << distancestats::captions()[i].leftJustified(15) << (n ? QString::number(n) : QString())
                    << Qt::endl;
    }
    context.out << QStringLiteral("Total QSO      ") << counts.total << Qt::endl;
    return cli::kOk;
}

// The band and mode of --band and --mode, else those in use (the mode of activations: SSB).
struct Choice {
    QByteArray band;
    QByteArray mode;
};
struct Options {
    QString band;
    QString mode;
};
Choice choose(const Context& context, const Station& station, const Options& options, CommandArgs& args, bool modeInUse)
{
    StationSession session(&context.settings);
    session.setStation(station.paths.callsign(), QString());
    session.readSettings();
    Choice out{session.band(), modeInUse ? session.mode() : bands::kSsb};
    if (const QString& band = options.band; !band.isEmpty()) {
        out.band.clear();
        for (const QByteArray& known : bands::all()) {
            if (cp1252::decode(known).compare(band.trimmed(), Qt::CaseInsensitive) == 0)
                out.band = known;
        }
        if (out.band.isEmpty())
            args.fail(QStringLiteral("bande inconnue : ") + band);
    }
    if (const QString& mode = options.mode; !mode.isEmpty()) {
        out.mode = cp1252::encode(mode.toUpper());
        if (!bands::modeOf(out.mode))
            args.fail(QStringLiteral("mode inconnu : ") + mode + QStringLiteral(" (SSB ou CW)"));
    }
    return out;
}

int prefixes(const Context& context, const Station& station, const Options& options, CommandArgs& args)
{
    const Choice choice = choose(context, station, options, args, true);
    if (const int usage = cli::usageError(context, args))
        return usage;
    QList<QByteArray> lines;
    if (!loadLog(context, station, lines))
        return cli::kReadFailed;
    const PrefixStats::Lines prefixLines = PrefixStats::readPrefixLines(context.files, station.paths);
    if (!prefixLines.result.ok()) {
        context.err << reportmessages::notReadable(StationPaths::fileName(prefixLines.path), prefixLines.result)
                    << Qt::endl;
        return cli::kReadFailed;
    }
    const QList<QByteArray> entries =
        PrefixStats(station.countries, prefixLines.lines).entries(lines, choice.band, *bands::modeOf(choice.mode));
    context.out << QStringLiteral("Prefixes contactés sur ") << cp1252::decode(choice.band) << QStringLiteral(" en ")
                << cp1252::decode(choice.mode) << QStringLiteral(" : ") << entries.size() << Qt::endl;
    printLines(context, entries);
    return cli::kOk;
}

int activations(const Context& context, const Station& station, const Options& options, CommandArgs& args)
{
    const Choice choice = choose(context, station, options, args, false);
    if (const int usage = cli::usageError(context, args))
        return usage;
    QList<QByteArray> lines;
    if (!loadLog(context, station, lines))
        return cli::kReadFailed;
    const QList<QByteArray> entries = activationstats::entries(lines, choice.band, choice.mode);
    printLines(context, entries);
    context.out << entries.size() << QStringLiteral(" activations DMF contactées sur ") << cp1252::decode(choice.band)
                << QStringLiteral(" en ") << cp1252::decode(choice.mode) << Qt::endl;
    return cli::kOk;
}

int runStats(const Context& context, const Station* station, CommandArgs& args)
{
    // The options first: their values are not operands.
    const Options options{args.value(QStringLiteral("--band")), args.value(QStringLiteral("--mode"))};
    const QStringList which = args.operands();
    const QString what = which.value(0);
    if (which.size() > 1)
        args.fail(QStringLiteral("argument en trop : ") + which[1]);
    if (what == QLatin1String("distances"))
        return distances(context, *station, args, !options.band.isEmpty() || !options.mode.isEmpty());
    if (what == QLatin1String("prefixes"))
        return prefixes(context, *station, options, args);
    if (what == QLatin1String("activations"))
        return activations(context, *station, options, args);
    args.fail(what.isEmpty() ? QStringLiteral("la commande stats demande distances, prefixes ou activations")
                             : QStringLiteral("statistique inconnue : ") + what);
    return cli::usageError(context, args);
}

int runSearch(const Context& context, const Station* station, CommandArgs& args)
{
    const struct {
        const char* option;
        qsosearch::Criterion criterion;
    } options[] = {{"--callsign", qsosearch::Criterion::Callsign},
                   {"--date", qsosearch::Criterion::Date},
                   {"--dept", qsosearch::Criterion::Department},
                   {"--locator", qsosearch::Criterion::Locator}};
    QList<std::pair<qsosearch::Criterion, QString>> given;
    for (const auto& o : options) {
        for (const QString& v : args.values(QString::fromLatin1(o.option)))
            given.append({o.criterion, v});
    }
    if (given.size() != 1)
        args.fail(QStringLiteral("la commande search demande un critère : --callsign, --date, --dept ou --locator"));
    if (const int usage = cli::usageError(context, args))
        return usage;
    const auto& [criterion, text] = given.first();
    if (const qsosearch::Check check = qsosearch::check(criterion, text); !check.ok()) {
        context.err << check.message << Qt::endl;
        return cli::kUsage;
    }
    QList<QByteArray> lines;
    if (!loadLog(context, *station, lines))
        return cli::kReadFailed;
    const qsosearch::Result result = qsosearch::search(lines, criterion, cp1252::encode(text));
    for (const qsosearch::Match& match : result.matches)
        context.out << cp1252::decode(match.entry) << Qt::endl;
    if (!result.message.isEmpty())
        context.out << result.message << Qt::endl;
    return cli::kOk;
}

} // namespace

cli::Command statsCommand()
{
    return {QStringLiteral("stats"),
            QStringLiteral("  stats     distances : les QSO 144 MHz par tranche de 100 km ;\n"
                           "            prefixes [--band BANDE] [--mode SSB|CW] : les préfixes DXCC contactés ;\n"
                           "            activations [--band BANDE] [--mode SSB|CW] : les activations DMF\n"
                           "            contactées (par défaut la bande et le mode en cours, SSB pour activations)\n"),
            true, false, runStats};
}

cli::Command searchCommand()
{
    return {QStringLiteral("search"),
            QStringLiteral("  search    --callsign TEXTE | --date JJ/MM/AA | --dept DPT | --locator XX99 :\n"
                           "            les QSO trouvés, comme la fenêtre de recherche\n"),
            true, false, runSearch};
}

} // namespace tv::statscli
