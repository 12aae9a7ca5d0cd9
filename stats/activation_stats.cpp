#include "stats/activation_stats.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"

#include <algorithm>

namespace tv::activationstats {
namespace {

void appendPadded(QByteArray& out, const QByteArray& line, int column, int width)
{
    const QByteArray part = fixedtext::mid(line, column, width);
    out.append(part);
    out.append(width - part.size(), ' ');
}

} // namespace

QByteArray entryOf(const QByteArray& logLine)
{
    QByteArray out("  ");
    out.reserve(2 + 15 + 30 + 10 + 12);
    appendPadded(out, logLine, logcol::kMillReference.first, 15);
    appendPadded(out, logLine, logcol::kMillName.first, logcol::kMillName.width);
    appendPadded(out, logLine, logcol::kDate.first, 10);
    appendPadded(out, logLine, logcol::kCallsign.first, logcol::kCallsign.width);
    return out;
}

QList<QByteArray> entries(const QList<QByteArray>& logLines, const QByteArray& band, const QByteArray& mode)
{
    const QByteArray wantedBand = fixedtext::trimSpaces(band);
    QList<QByteArray> out;
    for (const QByteArray& line : logLines) {
        if (fixedtext::fieldView(line, logcol::kActivity.first, logcol::kActivity.width) != "1" ||
            fixedtext::fieldView(line, logcol::kBand.first, logcol::kBand.width) != wantedBand ||
            fixedtext::fieldView(line, logcol::kMode.first, logcol::kMode.width) != mode)
            continue;
        out.append(entryOf(line));
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace tv::activationstats
