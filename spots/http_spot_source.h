#pragma once

#include "spots/spot_source.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QString>

class QNetworkReply;

namespace tv {

// Spots from a spot server's per-band pages over HTTP.
//
// Responsibilities: GET base address + spotlist::pagePath(token) without blocking, at most one
// request per token at a time (a fetch of a token already on its way is left to the running
// one, which answers it), with a time limit and a size limit on the body; parse the page
// (spotlist::parsePage) or report why nothing usable came back, in French.
// Collaborations: QNetworkAccessManager; the cluster window and `tournevent-cli spots`.
class HttpSpotSource final : public SpotSource {
    Q_OBJECT
public:
    // The reasons given for failures.
    static QString emptyReplyText(); // "Pas de reponse du site vérifiez votre liaison internet"

    explicit HttpSpotSource(QObject* parent = nullptr);
    ~HttpSpotSource() override;

    // The server's address, "http://host:port" with an optional path before the pages; no
    // default: without an address every fetch fails.
    void setBaseUrl(const QString& base) { m_base = base; }
    QString baseUrl() const { return m_base; }
    // The URL of a token's page.
    QString pageUrl(const QString& token) const;

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; } // 10 s by default
    void setMaxBodyBytes(qint64 bytes) { m_maxBodyBytes = bytes; }    // 4 MiB by default
    bool isFetching(const QString& token) const { return m_running.contains(token); }

    void fetch(const QString& token) override;

private:
    void finish(const QString& token, QNetworkReply* reply);
    QString failureText(QNetworkReply* reply) const;

    QNetworkAccessManager m_network;
    QString m_base;
    int m_timeoutMs = 10000;
    qint64 m_maxBodyBytes;
    QHash<QString, QNetworkReply*> m_running;
};

} // namespace tv
