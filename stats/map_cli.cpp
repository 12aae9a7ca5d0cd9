#include "stats/map_cli.h"

#include "logstore/bands.h"
#include "logstore/log_file.h"
#include "platform/file_system.h"
#include "reports/report_messages.h"
#include "station/station_session.h"
#include "stats/activation_map.h"
#include "stats/activation_map_window.h"

#include <QTextStream>

namespace tv::activationmap {
namespace {

// The PNG is drawn twice the size of the map's own units.
constexpr double kPngScale = 2;

int run(const cli::Context& context, const cli::Station* station, cli::CommandArgs& args)
{
    const QString band = args.value(QStringLiteral("--band"));
    const QString mode = args.value(QStringLiteral("--mode"));
    const QString svgPath = args.value(QStringLiteral("--svg"));
    const QString pngPath = args.value(QStringLiteral("--png"));
    if (band.isEmpty())
        args.fail(QStringLiteral("la commande map demande --band, par exemple --band \"14 Mhz\""));
    else if (!bands::indexOf(band.toLatin1()))
        args.fail(QStringLiteral("bande inconnue : ") + band + QStringLiteral(" (écrite comme « 14 Mhz »)"));
    if (mode != QLatin1String("SSB") && mode != QLatin1String("CW"))
        args.fail(QStringLiteral("la commande map demande --mode SSB ou --mode CW"));
    if (svgPath.isEmpty() && pngPath.isEmpty())
        args.fail(QStringLiteral("la commande map demande --svg FICHIER ou --png FICHIER"));
    if (const int code = cli::usageError(context, args); code != cli::kOk)
        return code;

    const LogFile::Loaded log = LogFile(context.files, station->paths.existingLog(context.files)).load();
    if (!log.result.ok()) {
        context.err << reportmessages::logUnreadable(station->paths.callsign(), log.result) << Qt::endl;
        return cli::kReadFailed;
    }
    const FranceMap& map = FranceMap::shipped();
    const Colouring colouring = colour(log.lines, band.toLatin1(), mode.toLatin1());
    const QByteArray document =
        svg(map, colouring,
            {0xFFFFFF, title(StationSession::displayForm(station->paths.callsign()), band, mode, colouring)});
    for (const auto& [path, bytes] :
         {std::pair{svgPath, document},
          std::pair{pngPath, pngPath.isEmpty() ? QByteArray() : ActivationMapWindow::renderPng(document, kPngScale)}}) {
        if (path.isEmpty())
            continue;
        const FileResult written = context.files.replace(path, bytes);
        if (!written.ok()) {
            context.err << reportmessages::notWritten(path, written) << Qt::endl;
            return cli::kWriteFailed;
        }
        context.out << QStringLiteral("Carte écrite : ") << path << QStringLiteral(" (") << colouring.matchingQsos
                    << QStringLiteral(" activation(s), ") << colouring.colouredDepartments()
                    << QStringLiteral(" département(s) contacté(s))") << Qt::endl;
    }
    return cli::kOk;
}

} // namespace

cli::Command command()
{
    return {QStringLiteral("map"),
            QStringLiteral("  map       écrit la carte des activations contactées par département, pour une bande\n"
                           "            et un mode : map --band \"14 Mhz\" --mode SSB|CW --svg CARTE.svg\n"
                           "            et/ou --png CARTE.png\n"),
            true, true, run};
}

} // namespace tv::activationmap
