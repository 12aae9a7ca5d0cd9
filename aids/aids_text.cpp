#include "aids/aids_text.h"

#include "logstore/cp1252.h"
#include "platform/clock.h"

#include <QDate>

namespace tv {
namespace aidstext {

qint64 minuteOf(const CalendarTime& time)
{
    const qint64 days = QDate(1950, 1, 1).daysTo(QDate(time.year, time.month, time.day));
    return days * 24 * 60 + time.hour * 60 + time.minute;
}

QString rateText(const Rate& rate)
{
    QString text =
        QStringLiteral("Cadence : %1/h (10 min), %2/h (60 min), ").arg(rate.perHour10()).arg(rate.perHour60());
    if (!rate.minutesSinceLast)
        return text + QStringLiteral("aucun QSO");
    const qint64 minutes = *rate.minutesSinceLast;
    if (minutes < 60)
        return text + QStringLiteral("dernier QSO il y a %1 min").arg(minutes);
    if (minutes < 24 * 60)
        return text + QStringLiteral("dernier QSO il y a %1 h %2")
                          .arg(minutes / 60)
                          .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text + QStringLiteral("dernier QSO il y a plus d'un jour");
}

QString millOffer(const MillHistory::Mill& mill)
{
    QStringList parts{cp1252::decode(mill.reference)};
    if (!mill.department.isEmpty())
        parts << cp1252::decode(mill.department);
    if (!mill.name.isEmpty())
        parts << cp1252::decode(mill.name);
    return parts.join(QStringLiteral(" — "));
}

QString millNumberOf(const MillHistory::Mill& mill)
{
    const QString reference = cp1252::decode(mill.reference);
    return reference.startsWith(QLatin1String("DMF ")) ? reference.mid(4) : reference;
}

} // namespace aidstext

namespace board {

QList<BoardRow> rows(const ScoreTally& tally, const QList<QByteArray>& bands)
{
    QList<BoardRow> out;
    for (const QByteArray& band : bands) {
        const std::optional<int> index = scoring::scoredBandIndex(band);
        for (int mode : {ScoreTally::kSsb, ScoreTally::kCw}) {
            BoardRow row{band, mode == ScoreTally::kSsb ? QByteArray("SSB") : QByteArray("CW")};
            if (index) {
                const BandModeTally& cell = tally.cell(*index, mode);
                row.departments = cell.departments;
                row.entities = cell.entities;
                row.mills = cell.mills / 10; // the tally counts 10 per mill QSO
            }
            out << row;
        }
    }
    return out;
}

QString statusText(bool isNew)
{
    return isNew ? QStringLiteral("nouveau ici") : QStringLiteral("déjà contacté");
}

} // namespace board
} // namespace tv
