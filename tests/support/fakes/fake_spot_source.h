#pragma once

#include "spots/spot_source.h"

#include <QHash>
#include <QStringList>

namespace tv {

// A spot source for tests: each band answers the spots or the failure the test gave it (no
// spot by default), at once, inside fetch(); every band asked for is recorded in order.
class FakeSpotSource final : public SpotSource {
public:
    void setSpots(const QString& band, const QList<Spot>& spots)
    {
        m_failures.remove(band);
        m_spots.insert(band, spots);
    }
    void setFailure(const QString& band, const QString& reason) { m_failures.insert(band, reason); }

    void fetch(const QString& band) override
    {
        m_requests << band;
        if (m_failures.contains(band))
            Q_EMIT fetchFailed(band, m_failures.value(band));
        else
            Q_EMIT spotsFetched(band, m_spots.value(band));
    }

    const QStringList& requests() const { return m_requests; }

private:
    QHash<QString, QList<Spot>> m_spots;
    QHash<QString, QString> m_failures;
    QStringList m_requests;
};

} // namespace tv
