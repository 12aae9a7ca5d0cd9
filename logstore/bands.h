#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// Bands, modes and sessions as the log writes them.
namespace tv::bands {

// The 17 band texts, in the order of the marks of the multiplier files.
const QList<QByteArray>& all();
inline constexpr int kCount = 17;

// The position of a band text in the table (0 to 16), compared exactly ("Mhz", not "MHz").
std::optional<int> indexOf(const QByteArray& band);

// The column (counted from 1) of a band's mark in a multiplier file whose first mark (the
// "1.8 Mhz" one) stands at `firstColumn`; nothing for a band outside the table.
std::optional<int> markColumn(const QByteArray& band, int firstColumn);

// True for "1.8 Mhz" to "28 Mhz", the bands whose QSO lines carry no locator.
bool isHf(const QByteArray& band);

// The bands of a session's band list.
const QList<QByteArray>& hfSession();
const QList<QByteArray>& vhfSession();

inline const QByteArray kVhfBand = QByteArrayLiteral("144 Mhz");

// The QSO points of an HF band of the event (1, 3, 4, 5), or nothing for any other band.
std::optional<int> hfPoints(const QByteArray& band);

// The only modes the multiplier files and the score count.
inline const QByteArray kSsb = QByteArrayLiteral("SSB");
inline const QByteArray kCw = QByteArrayLiteral("CW");
enum class Mode { Ssb, Cw };
std::optional<Mode> modeOf(const QByteArray& mode);
QByteArray modeText(Mode mode);

} // namespace tv::bands
