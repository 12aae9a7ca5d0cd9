#include "spots/spots_cli.h"

#include "logstore/callsign_rule.h"
#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "spots/http_spot_source.h"
#include "spots/spot_list.h"
#include "spots/telnet_spot_source.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace tv {

namespace {

using spotlist::Sort;

struct Request {
    QUrl source;
    QStringList tokens;
    Sort sort = Sort::Date;
    spotlist::Filter filter;
    int seconds = 10;
};

QUrl sourceUrl(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    if (url.scheme() == u"telnet")
        return url.port() > 0 ? url : QUrl();
    return url.scheme() == u"http" || url.scheme() == u"https" ? url : QUrl();
}

// Takes the options; a bad one is recorded in `args` as the usage error.
Request takeRequest(cli::CommandArgs& args)
{
    Request request;
    const QString source = args.value("--source"), band = args.value("--band"), band2 = args.value("--band2");
    const QString sort = args.value("--sort"), seconds = args.value("--seconds");
    const QStringList prefixes = args.values("--prefix");
    request.filter.french = args.flag("--french");
    request.filter.millsOnly = args.flag("--mills");
    request.filter.prefix = !prefixes.isEmpty();
    request.filter.text = prefixes.isEmpty() ? QString() : prefixes.last().toUpper();

    request.source = sourceUrl(source);
    if (source.isEmpty())
        args.fail(QStringLiteral("la commande spots demande --source URL ou --source telnet://HOTE:PORT"));
    else if (request.source.isEmpty())
        args.fail(QStringLiteral("source de spots inconnue : %1 (http://… ou telnet://HOTE:PORT)").arg(source));
    const qsizetype first = spotlist::firstBands().indexOf(band);
    if (band.isEmpty())
        args.fail(QStringLiteral("la commande spots demande --band BANDE (« All HF », « 14 Mhz »…)"));
    else if (first < 0)
        args.fail(QStringLiteral("bande inconnue : %1 (%2)").arg(band, spotlist::firstBands().join(", ")));
    else
        request.tokens << spotlist::token(int(first));
    const qsizetype second = band2.isEmpty() ? 0 : spotlist::secondBands().indexOf(band2);
    if (second < 0)
        args.fail(QStringLiteral("seconde bande inconnue : %1 (%2)").arg(band2, spotlist::secondBands().join(", ")));
    else if (second > 0 && !request.tokens.contains(spotlist::token(int(second))))
        request.tokens << spotlist::token(int(second)); // the same band twice is fetched once
    const QStringList sorts = {"date", "dx", "qrg"};
    if (!sort.isEmpty() && !sorts.contains(sort))
        args.fail(QStringLiteral("tri inconnu : %1 (date, dx ou qrg)").arg(sort));
    else if (!sort.isEmpty())
        request.sort = Sort(sorts.indexOf(sort) + 1);
    bool ok = true;
    if (!seconds.isEmpty())
        request.seconds = seconds.toInt(&ok);
    if (!ok || request.seconds < 0 || request.seconds > 3600)
        args.fail(QStringLiteral("--seconds demande un nombre de secondes (0 à 3600)"));
    return request;
}

// The callsign a telnet cluster is given: the station's, else "F0ZZZ".
QString loginCallsign(const SettingsStore& settings)
{
    const QString stored = settings.value(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    return stored.isEmpty() || stored == keys::kNoCallsign ? QStringLiteral("F0ZZZ") : callsign::toShown(stored);
}

// Fetches every token once from `source`; the first failure's reason in `failure`.
QList<Spot> fetchAll(SpotSource& source, const QStringList& tokens, QString& failure)
{
    QList<Spot> spots;
    QStringList pending = tokens;
    QEventLoop loop;
    const auto done = [&](const QString& token) {
        pending.removeOne(token);
        if (pending.isEmpty())
            loop.quit();
    };
    QObject::connect(&source, &SpotSource::spotsFetched, &loop, [&](const QString& token, const QList<Spot>& got) {
        spots += got;
        done(token);
    });
    QObject::connect(&source, &SpotSource::fetchFailed, &loop, [&](const QString& token, const QString& reason) {
        if (failure.isEmpty())
            failure = reason;
        done(token);
    });
    for (const QString& token : tokens)
        source.fetch(token);
    if (!pending.isEmpty())
        loop.exec();
    return spots;
}

// Waits `seconds` for the cluster's spots; false with the reason when the link failed before
// it was ever up.
bool listen(TelnetSpotSource& source, int seconds, QString& failure)
{
    QEventLoop loop;
    bool everUp = false;
    QObject::connect(&source, &TelnetSpotSource::linkChanged, &loop, [&](bool up, const QString& reason) {
        everUp = everUp || up;
        if (!up && !everUp) {
            failure = reason;
            loop.quit();
        }
    });
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    source.start();
    loop.exec();
    return failure.isEmpty();
}

int run(const cli::Context& context, cli::CommandArgs& args)
{
    const Request request = takeRequest(args);
    if (const int code = cli::usageError(context, args); code != cli::kOk)
        return code;

    QString failure;
    QList<Spot> spots;
    if (request.source.scheme() == u"telnet") {
        SystemClock clock;
        TelnetSpotSource source(request.source.host(), quint16(request.source.port()), loginCallsign(context.settings),
                                clock);
        if (listen(source, request.seconds, failure))
            spots = fetchAll(source, request.tokens, failure);
    } else {
        HttpSpotSource source;
        source.setBaseUrl(request.source.toString());
        spots = fetchAll(source, request.tokens, failure);
    }
    if (!failure.isEmpty()) {
        context.err << failure << Qt::endl;
        return cli::kReadFailed;
    }
    for (const spotlist::Row& row : spotlist::arrange(spots, request.sort, request.filter))
        context.out << row.line << u'\n';
    context.out.flush();
    return cli::kOk;
}

} // namespace

cli::Command spotsCommand()
{
    return {
        QStringLiteral("spots"),
        QStringLiteral("  spots     affiche les spots d'une ou deux bandes comme la fenêtre Cluster les liste :\n"
                       "            spots --source URL|telnet://HOTE:PORT --band BANDE [--band2 BANDE]\n"
                       "            [--sort date|dx|qrg] [--french] [--prefix P] [--mills] [--seconds N]\n"
                       "            (BANDE : « All HF », « 14 Mhz »… ; un cluster telnet donne les spots reçus\n"
                       "            en N secondes, 10 par défaut ; code 4 quand la source ne répond pas)\n"),
        false,
        false,
        [](const cli::Context& context, const cli::Station*, cli::CommandArgs& args) { return run(context, args); },
    };
}

} // namespace tv
