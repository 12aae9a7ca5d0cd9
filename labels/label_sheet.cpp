#include "labels/label_sheet.h"

#include "logstore/cp1252.h"
#include "logstore/qso_line.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tv::labels {
namespace {

// The four sheets, A4 portrait, 2 x 8 labels each (millimetres):
//
// | Format            | label         | left | top  | pitch across | pitch down | confirm | blanks |
// |-------------------|---------------|------|------|--------------|------------|---------|--------|
// | AVERY L7162       |  99.1 x 33.9  | 4.65 | 12.9 |  101.6       |  33.9      | 13 pt   | 8 pt   |
// | AVERY DP167       | 105   x 37    | 0    |  0.5 |  105         |  37        | 15 pt   | 2 pt   |
// | DECADRY OLW4732   |  99.1 x 34    | 4.65 | 12.5 |  101.6       |  34        | 13 pt   | 8 pt   |
// | DECADRY OLW4799   | 105   x 35    | 0    |  8.5 |  105         |  35        | 13 pt   | 8 pt   |
//
// The 99.1 mm labels stand 2.5 mm apart across; every other label touches its neighbours.
// The margins centre the labels on the 210 x 297 mm paper.
const std::array<SheetFormat, kFormatCount> kFormats = {{
    {"AVERY   L7162            99.1 x 33.9   16 étiquettes", 99.1, 33.9, 4.65, 12.9, 101.6, 33.9, 13, 8},
    {"AVERY   DP167               105 x 37   16 étiquettes", 105.0, 37.0, 0.0, 0.5, 105.0, 37.0, 15, 2},
    {"DECADRY   OLW4732   99.1 x 34   16 étiquettes", 99.1, 34.0, 4.65, 12.5, 101.6, 34.0, 13, 8},
    {"DECADRY   OLW4799    105 x 35   16 étiquettes", 105.0, 35.0, 0.0, 8.5, 105.0, 35.0, 13, 8},
}};

constexpr double kMmPerPoint = 25.4 / 72.0;

QString field(const QByteArray& line, logcol::Column column)
{
    return cp1252::decode(qsoline::field(line, column));
}

double advanceMm(int pointSize)
{
    return kAdvanceEm * pointSize * kMmPerPoint;
}

double lineHeightMm(int pointSize)
{
    return kLineEm * pointSize * kMmPerPoint;
}

} // namespace

const SheetFormat& sheetFormat(Format format)
{
    return kFormats[std::clamp(int(format), 1, kFormatCount) - 1];
}

bool formatFromNumber(int number, Format* format)
{
    if (number < 1 || number > kFormatCount)
        return false;
    *format = Format(number);
    return true;
}

RectMm labelRect(Format format, int position)
{
    const SheetFormat& f = sheetFormat(format);
    const int column = position % kColumns;
    const int row = position / kColumns;
    return {f.left + column * f.pitchX, f.top + row * f.pitchY, f.labelWidth, f.labelHeight};
}

QList<LabelLine> labelLines(const QByteArray& qsoLine, const LabelSettings& s)
{
    const QString call = field(qsoLine, logcol::kCallsign);
    const bool blank = call.isEmpty();
    const QString date = blank ? QStringLiteral("........") : field(qsoLine, logcol::kDate);
    const QString time = blank ? QStringLiteral(".....") : field(qsoLine, logcol::kStart);
    const QString report = blank ? QStringLiteral("..") : field(qsoLine, logcol::kRstReceived);
    const QString mode = blank ? QStringLiteral("...") : field(qsoLine, logcol::kMode);
    const QString band = blank ? QStringLiteral(".. Mhz") : field(qsoLine, logcol::kBand);
    const QString reference = blank ? QString() : field(qsoLine, logcol::kMillReference);

    QString mill;
    if (s.type == 2)
        mill = s.millRef.trimmed() + QLatin1Char(' ') + s.millName.trimmed();
    else if (!reference.isEmpty())
        mill = QStringLiteral("Activant la référence ") + reference;
    const int spacer = sheetFormat(s.format).spacerSize;
    return {
        {QStringLiteral("Confirme le QSO avec ") + call, sheetFormat(s.format).confirmSize, true},
        {mill, 10, true},
        {QStringLiteral("Journée Nationale des Moulins"), 10, false},
        {QString(), spacer, false},
        {QStringLiteral("Le %1 %2 UTC %3 %4 %5").arg(date, time, band, report, mode), 10, false},
        {QString(), spacer, false},
        {QStringLiteral("TX : ") + s.rxtx.trimmed() + QStringLiteral("  Ant : ") + s.antenna.trimmed(), 10, false},
        {QStringLiteral("Merci Pour le QSO   73's de ") + s.ownCallsign.trimmed(), 10, false},
    };
}

PlacedLabel placeLabel(const QList<LabelLine>& lines, const RectMm& rect, int position)
{
    PlacedLabel label{position, rect, {}};
    double block = 0;
    for (const LabelLine& line : lines)
        block += lineHeightMm(line.pointSize);
    double y = rect.y + std::max(0.0, (rect.height - block) / 2);
    const double room = rect.width - 2 * kSideMarginMm;
    for (const LabelLine& line : lines) {
        const double advance = advanceMm(line.pointSize);
        const QString text = line.text.left(qsizetype(std::floor(room / advance)));
        if (!text.trimmed().isEmpty()) {
            const double x = rect.x + std::max(kSideMarginMm, (rect.width - text.size() * advance) / 2);
            label.texts.append({x, y, text, PrintFont{QString::fromLatin1(kFontFamily), line.pointSize, line.bold}});
        }
        y += lineHeightMm(line.pointSize);
    }
    return label;
}

QList<Sheet> layOut(const QList<QByteArray>& qsoLines, const LabelSettings& settings)
{
    QList<Sheet> sheets;
    int position = std::clamp(settings.start, 1, kLabelsPerSheet) - 1;
    auto add = [&](const QByteArray& line) {
        if (sheets.isEmpty() || position == kLabelsPerSheet) {
            if (!sheets.isEmpty())
                position = 0;
            sheets.append(Sheet{});
        }
        sheets.last().labels.append(
            placeLabel(labelLines(line, settings), labelRect(settings.format, position), position));
        ++position;
    };
    for (const QByteArray& line : qsoLines)
        add(line);
    if (!qsoLines.isEmpty() && position % kColumns != 0)
        add(QByteArray());
    return sheets;
}

int sheetCount(qsizetype qsoCount, int start)
{
    const qsizetype first = kLabelsPerSheet - (std::clamp(start, 1, kLabelsPerSheet) - 1);
    if (qsoCount <= 0)
        return 0;
    return 1 + int((std::max<qsizetype>(0, qsoCount - first) + kLabelsPerSheet - 1) / kLabelsPerSheet);
}

Sheet layOutSheet(const QList<QByteArray>& qsoLines, const LabelSettings& settings, int index)
{
    const qsizetype first = kLabelsPerSheet - (std::clamp(settings.start, 1, kLabelsPerSheet) - 1);
    if (index <= 0)
        return layOut(qsoLines.mid(0, first), settings).value(0);
    LabelSettings rest = settings;
    rest.start = 1;
    return layOut(qsoLines.mid(first + qsizetype(index - 1) * kLabelsPerSheet, kLabelsPerSheet), rest).value(0);
}

} // namespace tv::labels
