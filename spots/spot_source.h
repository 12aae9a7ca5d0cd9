#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace tv {

// One DX spot: a station heard on a frequency, as a spotter reported it.
struct Spot {
    QString callsign;      // the station spotted, as the source writes it, blanks trimmed
    quint64 frequency = 0; // hertz
    QString spotter;
    QString time; // as the source writes it (13 characters on the spot pages), shown and sorted as text
    QString comment;
    QString qrg; // the frequency in kHz as the source writes it ("14025.0"), shown in the list
    bool operator==(const Spot&) const = default;
};

// Where DX spots come from: a spot server's per-band pages, or any other feed.
//
// Responsibilities: fetch the latest spots of one band and report them, or the failure in
// French for the operator, through one of its two signals, exactly once per fetch. A source
// may report before fetch() returns (the test fake does) or later (a network source): callers
// connect first and must not assume either.
// Collaborations: the cluster window asks and lists; FakeSpotSource in the tests.
class SpotSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Fetches the spots of one band page: "HF", "1.8", "3.5", "7", ... "144", "430", "VHF".
    virtual void fetch(const QString& band) = 0;

Q_SIGNALS:
    void spotsFetched(const QString& band, const QList<tv::Spot>& spots);
    // Nothing usable came back (no connection, an empty page...): `reason` is for the operator.
    void fetchFailed(const QString& band, const QString& reason);
};

} // namespace tv
