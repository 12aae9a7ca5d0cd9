#pragma once

#include "spots/spot_source.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

// The spot list of the cluster window: band pages, the parse of a spot page, display lines,
// sorts, filters and alerts. Pure computations on spots; the sources fetch, the window shows.
namespace tv::spotlist {

// The first band list: "All HF", "1.8 Mhz" ... "432 Mhz", "All VHF" (indexes 0 to 13).
const QStringList& firstBands();
// The second band list: "Sans" (no second band), "1.8 Mhz" ... "432 Mhz" (indexes 0 to 12).
const QStringList& secondBands();

// The page token of a first-list index: "HF", "1.8", "3.5", "7", "10", ... "144", "430" (the
// 432 Mhz page), "VHF"; "" outside the list. Index 0 of the second list means no band.
QString token(int index);
// The page of a token below the server's address: "/dxc/top_50_14_MHz.html",
// "/dxc/top_50_HF.html"; an empty token gives "/dxc/top_50__MHz.html".
QString pagePath(const QString& token);
// The frequency range, in hertz with both ends included, that a token's page covers: the band
// of the band table, or below 30 MHz for "HF" and from 30 MHz up for "VHF"; nothing for a
// token that names no band.
std::optional<std::pair<quint64, quint64>> tokenRange(const QString& token);

// The largest page read: a larger body gives no spot (a spot server's page is some 20 KiB).
inline constexpr qsizetype kMaxPageBytes = 4 * 1024 * 1024;

// The spots of a spot page. The body is UTF-8, or Windows-1252 when it is not valid UTF-8, with
// any line ends (LF, CR LF, CR), and is upper-cased before it is read. Each table starts at a
// line "<TABLE>" (blanks around a marker line are ignored) followed by seven head fields (a
// field ends at a comma or a line end); then each row is seven lines: the row start, the DX
// call (after "_BLANK" + 2 characters, up to "</A>"), the QRG (after "RIGHT" + 2, up to one
// character before "&NBSP"), the date-time (after "LEFT" + 3, up to "&NBSP"), the spotter (as
// the DX call), the remark (after "LEFT" + 3, up to "</TD>", HTML entities decoded, then upper-cased) and the
// row end; "</TABLE>" ends the table, and a later "<TABLE>" starts another. A row that lacks a
// marker, or whose QRG is no frequency, is left out; a row cut by the end of the page too.
QList<Spot> parsePage(QByteArrayView body);

// A remark's HTML character references decoded: &amp; &lt; &gt; &quot; &apos; &#39; &nbsp;
// (a space), &#NNN; and &#xHH; in any case; anything else is kept as written.
QString decodeEntities(const QString& text);

// The display line of a spot: a space, the date-time (13 columns, padded; a longer one is kept
// whole), a space, the DX call cut or padded to 12, a space, the QRG right-aligned in 8 (a
// longer one kept whole), a space, the spotter padded to 11, a space and the remark. With a
// 13-character date-time the QRG fills columns 29-36.
QString displayLine(const Spot& spot);

// The mill reference named in a spot's remark, normalised, or "" when none:
//  - a French mill "DMF" followed by five digits, with a space, a hyphen or nothing between
//    ("DMF59045", "dmf-59045" give "DMF 59045");
//  - a mill of a foreign scheme of kForeignMillSchemes: its three letters, a space or a
//    hyphen, and three to five digits ("WIM 7001").
// The reference stands apart from the words around it ("XDMF 59045" or "DMF 590456" is none).
QString millReference(const QString& comment);
// The foreign mill schemes recognised in remarks. Only known schemes count: a rule on the
// letters alone would take ordinary words ("JIM 599", "QRM 100") for mills.
const QStringList& foreignMillSchemes();

// The order of the list.
enum class Sort { Date = 1, Dx = 2, Qrg = 3 };

// What the operator keeps. `french`: French stations (calls beginning with "F" or with "TH",
// "TK", "TM", "TP", "TQ", "TV", "TW", "HW", "HX", "HY"); `prefix`: calls beginning with `text`
// in upper case (no call when `text` is empty). With both, a spot either keeps is listed
// once; with neither, every spot is kept. `millsOnly` then keeps the mill spots alone.
struct Filter {
    bool french = false;
    bool prefix = false;
    QString text;
    bool millsOnly = false;
};

// One entry of the list.
struct Row {
    Spot spot;
    QString line;          // displayLine(spot)
    QString millReference; // millReference(spot.comment)
    bool worked = false;   // the station was already worked (as told by the caller)
};

// The list the window shows: the spots of one or two band pages merged (a spot given twice,
// field for field, is listed once), filtered, then sorted by the text of their sort line: a
// space and the fields date-time, DX, QRG, spotter, remark (Sort::Date), DX first (Sort::Dx)
// or QRG first then DX and date-time (Sort::Qrg); equal lines keep their order. `worked`,
// when given, says which spots are of stations already worked.
QList<Row> arrange(const QList<Spot>& spots, Sort sort, const Filter& filter,
                   const std::function<bool(const Spot&)>& worked = {});

// The sort line of a spot for a sort.
QString sortLine(const Spot& spot, Sort sort);

// True when a spot should sound the alert: `callsignAlert` with the prefix filter on and the
// DX call, blanks removed, beginning with the text exactly as typed (an empty text alerts for
// every spot); or `millAlert` and the spot names a mill. Every spot fetched is tested, kept by
// the filter or not.
bool alerts(const Spot& spot, const Filter& filter, bool callsignAlert, bool millAlert);

// Whether a filter keeps a spot.
bool keeps(const Spot& spot, const Filter& filter);

} // namespace tv::spotlist
