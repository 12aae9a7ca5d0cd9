#include "spots/spot_list.h"

#include "logstore/bands.h"
#include "logstore/cp1252.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tv::spotlist {

namespace {

const QStringList kTokens = {"HF", "1.8", "3.5", "7", "10", "14", "18", "21", "24", "28", "50", "144", "430", "VHF"};

// Columns of the display and sort lines.
constexpr int kTimeWidth = 13;
constexpr int kDxWidth = 12;
constexpr int kQrgWidth = 8;
constexpr int kSpotterWidth = 11;

QString decodeBody(QByteArrayView body)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    if (utf8.hasError())
        text = cp1252::decode(body.toByteArray());
    return text;
}

// The lines of a text, whatever its line ends.
QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

// The page read line by line; the table head's fields may leave the rest of a line to read.
class PageReader {
public:
    explicit PageReader(QList<QStringView> lines) : m_lines(std::move(lines)) {}
    bool atEnd() const { return !m_pending && m_next >= m_lines.size(); }
    QStringView read()
    {
        if (m_pending)
            return *std::exchange(m_pending, std::nullopt);
        return m_lines[m_next++];
    }
    // Skips `count` fields, each ended by a comma or by the end of its line.
    void skipFields(int count)
    {
        while (count > 0 && !atEnd()) {
            const QStringView line = read();
            qsizetype from = 0;
            for (; count > 0; --count) {
                const qsizetype comma = line.indexOf(u',', from);
                if (comma < 0) {
                    --count;
                    from = -1;
                    break;
                }
                from = comma + 1;
            }
            if (count == 0 && from >= 0 && from < line.size())
                m_pending = line.mid(from);
        }
    }
    // Reads up to a line that is "<TABLE>"; false when the page ends first.
    bool findTable()
    {
        while (!atEnd())
            if (read().trimmed() == u"<TABLE>")
                return true;
        return false;
    }

private:
    QList<QStringView> m_lines;
    qsizetype m_next = 0;
    std::optional<QStringView> m_pending;
};

// The text of a line from `skip` characters after the start marker, ending `shortBy`
// characters before the end marker (both markers at their first occurrence in the line).
std::optional<QString> between(QStringView line, QStringView start, int skip, QStringView end, int shortBy)
{
    const qsizetype p1 = line.indexOf(start);
    const qsizetype p2 = line.indexOf(end);
    if (p1 < 0 || p2 < 0)
        return std::nullopt;
    const qsizetype from = p1 + skip;
    const qsizetype length = p2 - shortBy - from;
    if (length < 0 || from + length > line.size())
        return std::nullopt;
    return line.mid(from, length).toString();
}

// One row's six lines after its start; nothing when a marker is missing.
std::optional<Spot> parseRow(const QStringView (&lines)[6])
{
    const auto dx = between(lines[0], u"_BLANK", 8, u"</A>", 0);
    const auto qrg = between(lines[1], u"RIGHT", 7, u"&NBSP", 1);
    const auto time = between(lines[2], u"LEFT", 7, u"&NBSP", 0);
    const auto spotter = between(lines[3], u"_BLANK", 8, u"</A>", 0);
    const auto remark = between(lines[4], u"LEFT", 7, u"</TD>", 0);
    if (!dx || !qrg || !time || !spotter || !remark || dx->trimmed().isEmpty())
        return std::nullopt;
    bool ok = false;
    const QString khz = qrg->trimmed();
    const double value = QLocale::c().toDouble(khz, &ok);
    if (!ok || !(value > 0) || value > 1e9)
        return std::nullopt;
    Spot spot;
    spot.callsign = dx->trimmed();
    spot.frequency = static_cast<quint64>(std::llround(value * 1000.0));
    spot.spotter = spotter->trimmed();
    spot.time = *time;
    spot.comment = decodeEntities(*remark).toUpper().trimmed(); // &#233; is an upper-case É too
    spot.qrg = khz;
    return spot;
}

// The DX call as the list's DX field: cut or padded to 12.
QString dxField(const Spot& spot)
{
    return spot.callsign.left(kDxWidth).leftJustified(kDxWidth);
}

QString timeField(const Spot& spot)
{
    return spot.time.leftJustified(kTimeWidth);
}

QString qrgField(const Spot& spot)
{
    return spot.qrg.rightJustified(kQrgWidth);
}

QString restField(const Spot& spot)
{
    return spot.spotter.leftJustified(kSpotterWidth) + u' ' + spot.comment;
}

const QRegularExpression& millPattern()
{
    static const QRegularExpression pattern = [] {
        const QString schemes = foreignMillSchemes().join(u'|');
        return QRegularExpression(
            QStringLiteral("(?<![A-Z0-9])(?:DMF[ -]?(\\d{5})|(%1)[ -](\\d{3,5}))(?![A-Z0-9])").arg(schemes),
            QRegularExpression::CaseInsensitiveOption);
    }();
    return pattern;
}

} // namespace

const QStringList& firstBands()
{
    static const QStringList list = {"All HF", "1.8 Mhz", "3.5 Mhz", "7.0 Mhz", "10 Mhz",  "14 Mhz",  "18 Mhz",
                                     "21 Mhz", "24 Mhz",  "28 Mhz",  "50 Mhz",  "144 Mhz", "432 Mhz", "All VHF"};
    return list;
}

const QStringList& secondBands()
{
    static const QStringList list = QStringList{"Sans"} + firstBands().mid(1, 12);
    return list;
}

QString token(int index)
{
    return index >= 0 && index < kTokens.size() ? kTokens[index] : QString();
}

QString pagePath(const QString& token)
{
    const bool whole = token == u"HF" || token == u"VHF";
    return QStringLiteral("/dxc/top_50_") + token + (whole ? QStringLiteral(".html") : QStringLiteral("_MHz.html"));
}

std::optional<std::pair<quint64, quint64>> tokenRange(const QString& token)
{
    constexpr quint64 kVhfStart = 30'000'000;
    if (token == u"HF")
        return std::pair<quint64, quint64>{0, kVhfStart - 1};
    if (token == u"VHF")
        return std::pair<quint64, quint64>{kVhfStart, std::numeric_limits<quint64>::max()};
    const qsizetype index = kTokens.indexOf(token);
    if (index <= 0 || index >= kTokens.size() - 1)
        return std::nullopt;
    const bands::Band* band = bands::find(firstBands()[index].toLatin1());
    if (!band)
        return std::nullopt;
    return std::pair<quint64, quint64>{band->lowHz, band->highHz};
}

QList<Spot> parsePage(QByteArrayView body)
{
    if (body.size() > kMaxPageBytes)
        return {};
    const QString text = decodeBody(body).toUpper();
    PageReader page(splitLines(text));
    QList<Spot> spots;
    while (page.findTable()) {
        page.skipFields(7);
        while (!page.atEnd()) {
            const QStringView start = page.read();
            if (start.trimmed() == u"</TABLE>")
                break;
            QStringView row[6];
            int got = 0;
            for (; got < 6 && !page.atEnd(); ++got)
                row[got] = page.read();
            if (got < 6)
                return spots; // the page was cut inside a row
            if (const auto spot = parseRow(row))
                spots << *spot;
        }
    }
    return spots;
}

QString decodeEntities(const QString& text)
{
    static const QList<std::pair<QString, QChar>> named = {{"amp", u'&'},  {"lt", u'<'},    {"gt", u'>'},
                                                           {"quot", u'"'}, {"apos", u'\''}, {"nbsp", u' '}};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semicolon = text[i] == u'&' ? text.indexOf(u';', i + 1) : -1;
        if (semicolon < 0 || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const QString name = text.mid(i + 1, semicolon - i - 1).toLower();
        std::optional<char32_t> decoded;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.startsWith(u"#x") ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF))
                decoded = code;
        } else {
            for (const auto& [entity, c] : named)
                if (name == entity)
                    decoded = c.unicode();
        }
        if (!decoded) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&*decoded, 1);
        i = semicolon;
    }
    return out;
}

QString displayLine(const Spot& spot)
{
    return u' ' + timeField(spot) + u' ' + dxField(spot) + u' ' + qrgField(spot) + u' ' + restField(spot);
}

const QStringList& foreignMillSchemes()
{
    static const QStringList schemes = {"WIM"};
    return schemes;
}

QString millReference(const QString& comment)
{
    const QRegularExpressionMatch m = millPattern().match(comment);
    if (!m.hasMatch())
        return {};
    if (m.capturedLength(1) > 0)
        return QStringLiteral("DMF ") + m.captured(1);
    return m.captured(2).toUpper() + u' ' + m.captured(3);
}

bool keeps(const Spot& spot, const Filter& filter)
{
    if (filter.millsOnly && millReference(spot.comment).isEmpty())
        return false;
    if (!filter.french && !filter.prefix)
        return true;
    const QString dx = dxField(spot);
    static const QStringList frenchPrefixes = {"TH", "TK", "TM", "TP", "TQ", "TV", "TW", "HW", "HX", "HY"};
    if (filter.french && (dx.startsWith(u'F') || frenchPrefixes.contains(dx.left(2))))
        return true;
    return filter.prefix && !filter.text.isEmpty() && dx.startsWith(filter.text.toUpper());
}

QString sortLine(const Spot& spot, Sort sort)
{
    const QString dx = dxField(spot), time = timeField(spot), qrg = qrgField(spot);
    switch (sort) {
    case Sort::Dx:
        return u' ' + dx + u' ' + time + u' ' + qrg + u' ' + restField(spot);
    case Sort::Qrg:
        return u' ' + qrg + u' ' + dx + u' ' + time + u' ' + restField(spot);
    case Sort::Date:
        break;
    }
    return u' ' + time + u' ' + dx + u' ' + qrg + u' ' + restField(spot);
}

QList<Row> arrange(const QList<Spot>& spots, Sort sort, const Filter& filter,
                   const std::function<bool(const Spot&)>& worked)
{
    QSet<QString> seen;
    QList<std::pair<QString, Row>> keyed;
    for (const Spot& spot : spots) {
        const QString key =
            QStringList{spot.callsign, QString::number(spot.frequency), spot.qrg, spot.spotter, spot.time, spot.comment}
                .join(u'\x1f');
        if (seen.contains(key) || !keeps(spot, filter))
            continue;
        seen.insert(key);
        keyed.append(
            {sortLine(spot, sort), Row{spot, displayLine(spot), millReference(spot.comment), worked && worked(spot)}});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<Row> rows;
    rows.reserve(keyed.size());
    for (auto& [key, row] : keyed)
        rows << std::move(row);
    return rows;
}

bool alerts(const Spot& spot, const Filter& filter, bool callsignAlert, bool millAlert)
{
    if (millAlert && !millReference(spot.comment).isEmpty())
        return true;
    if (!callsignAlert || !filter.prefix)
        return false;
    QString dx = spot.callsign;
    dx.remove(u' ');
    return dx.startsWith(filter.text);
}

} // namespace tv::spotlist
