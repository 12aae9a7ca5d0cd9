#include "spots/http_spot_source.h"

#include "spots/spot_list.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace tv {

namespace {

// Why a reply was cut short by this source, kept on the reply.
const char* const kCutProperty = "tournevent_cut";
enum class Cut { None, TooLarge, TooSlow };

QString siteName(const QUrl& url)
{
    return url.port() < 0 ? url.host() : QStringLiteral("%1:%2").arg(url.host()).arg(url.port());
}

} // namespace

QString HttpSpotSource::emptyReplyText()
{
    return QStringLiteral("Pas de reponse du site vérifiez votre liaison internet");
}

HttpSpotSource::HttpSpotSource(QObject* parent) : SpotSource(parent), m_maxBodyBytes(spotlist::kMaxPageBytes)
{
}

HttpSpotSource::~HttpSpotSource()
{
    for (QNetworkReply* reply : std::as_const(m_running)) {
        reply->disconnect(this);
        reply->abort();
    }
}

QString HttpSpotSource::pageUrl(const QString& token) const
{
    QString base = m_base.trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    return base + spotlist::pagePath(token);
}

void HttpSpotSource::fetch(const QString& token)
{
    if (m_running.contains(token))
        return; // the request on its way answers this fetch too
    if (m_base.trimmed().isEmpty()) {
        Q_EMIT fetchFailed(token, QStringLiteral("Aucune adresse de serveur de spots n'est réglée."));
        return;
    }
    const QUrl url(pageUrl(token), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"http" && url.scheme() != u"https")) {
        Q_EMIT fetchFailed(token, QStringLiteral("L'adresse du serveur de spots « %1 » n'est pas valide.").arg(m_base));
        return;
    }
    QNetworkRequest request(url);
    QNetworkReply* reply = m_network.get(request);
    reply->setProperty(kCutProperty, int(Cut::None));
    m_running.insert(token, reply);
    const auto cut = [reply](Cut why) {
        if (reply->property(kCutProperty).toInt() != int(Cut::None) || reply->isFinished())
            return;
        reply->setProperty(kCutProperty, int(why));
        reply->abort();
    };
    connect(reply, &QNetworkReply::downloadProgress, this, [this, cut](qint64 received, qint64 total) {
        if (received > m_maxBodyBytes || total > m_maxBodyBytes)
            cut(Cut::TooLarge);
    });
    QTimer* timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, [cut] { cut(Cut::TooSlow); });
    timer->start(m_timeoutMs);
    connect(reply, &QNetworkReply::finished, this, [this, token, reply] { finish(token, reply); });
}

void HttpSpotSource::finish(const QString& token, QNetworkReply* reply)
{
    m_running.remove(token);
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError || reply->property(kCutProperty).toInt() != int(Cut::None)) {
        Q_EMIT fetchFailed(token, failureText(reply));
        return;
    }
    const QByteArray body = reply->readAll();
    if (body.size() > m_maxBodyBytes) {
        reply->setProperty(kCutProperty, int(Cut::TooLarge));
        Q_EMIT fetchFailed(token, failureText(reply));
        return;
    }
    if (body.trimmed().isEmpty()) {
        Q_EMIT fetchFailed(token, emptyReplyText());
        return;
    }
    Q_EMIT spotsFetched(token, spotlist::parsePage(body));
}

QString HttpSpotSource::failureText(QNetworkReply* reply) const
{
    const QString site = siteName(reply->url());
    switch (Cut(reply->property(kCutProperty).toInt())) {
    case Cut::TooLarge:
        return QStringLiteral("La page reçue de %1 est trop grande (plus de %2 octets).").arg(site).arg(m_maxBodyBytes);
    case Cut::TooSlow:
        return QStringLiteral("Le site %1 ne répond pas (plus de %2 s).").arg(site).arg((m_timeoutMs + 999) / 1000);
    case Cut::None:
        break;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Le site %1 refuse la connexion.").arg(site);
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Le site %1 est introuvable.").arg(site);
    case QNetworkReply::TimeoutError:
        return QStringLiteral("Le site %1 ne répond pas.").arg(site);
    default:
        if (status >= 400)
            return QStringLiteral("Le site %1 répond par l'erreur HTTP %2.").arg(site).arg(status);
        return emptyReplyText();
    }
}

} // namespace tv
