#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <optional>
#include <span>

// Bands, modes and sessions as the log writes them.
namespace tv::bands {

// What the event and the other programs need to know of one band.
struct Band {
    QByteArray text; // as the log writes it, compared exactly: "14 Mhz" ("Mhz", not "MHz")
    QByteArray adif; // the band name of the ADIF format: "20m"
    bool hf;         // HF: the QSO line carries no locator
    // QSO points: 1, 3, 4 or 5 on the five HF bands of the event, kDistancePoints on 144 Mhz
    // (the distance in km), 0 on a band the event does not score.
    int points;
    quint64 lowHz; // the amateur band's edges in whole hertz, both included
    quint64 highHz;
};
inline constexpr int kDistancePoints = -1;

// The band table: the 17 bands in the order of the marks of the multiplier files (a band's
// index is its mark column after the first). Every band list of the program is read from it.
std::span<const Band> table();
inline constexpr int kCount = 17;

// The 17 band texts, in table order.
const QList<QByteArray>& all();

// The position of a band text in the table (0 to 16), compared exactly ("Mhz", not "MHz").
std::optional<int> indexOf(const QByteArray& band);
// The table's entry of a band text, or nothing.
const Band* find(const QByteArray& band);

// The band whose range holds a frequency in hertz, or nothing outside every band.
const Band* ofFrequency(quint64 hz);

// The column (counted from 1) of a band's mark in a multiplier file whose first mark (the
// "1.8 Mhz" one) stands at `firstColumn`; nothing for a band outside the table.
std::optional<int> markColumn(const QByteArray& band, int firstColumn);

// True for "1.8 Mhz" to "28 Mhz", the bands whose QSO lines carry no locator.
bool isHf(const QByteArray& band);

// The bands of a session's band list: the HF bands the event scores, and 144 Mhz.
const QList<QByteArray>& hfSession();
const QList<QByteArray>& vhfSession();

// The band scored by distance.
inline const QByteArray kVhfBand = QByteArrayLiteral("144 Mhz");

// The QSO points of an HF band of the event (1, 3, 4, 5), or nothing for any other band.
std::optional<int> hfPoints(const QByteArray& band);

// The bands the score counts, in table order: the HF session's, then 144 Mhz.
const QList<QByteArray>& scored();

// The only modes the multiplier files and the score count.
inline const QByteArray kSsb = QByteArrayLiteral("SSB");
inline const QByteArray kCw = QByteArrayLiteral("CW");
enum class Mode { Ssb, Cw };
std::optional<Mode> modeOf(const QByteArray& mode);
QByteArray modeText(Mode mode);

} // namespace tv::bands
