// The log's reader: file bytes cut into lines, each line cut into its fields, built again.
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tv;

namespace {

constexpr logcol::Column kColumns[] = {
    logcol::kDate,       logcol::kCallsign,          logcol::kStart,         logcol::kEnd,
    logcol::kDepartment, logcol::kLocator,           logcol::kBand,          logcol::kMode,
    logcol::kRstSent,    logcol::kRstReceived,       logcol::kMillReference, logcol::kFirstName,
    logcol::kPoints,     logcol::kNewDepartmentFlag, logcol::kNewPrefixFlag, logcol::kCountArea,
    logcol::kDistance,   logcol::kAzimuth,           logcol::kActivity,      logcol::kMillName,
};

void checkLine(const QByteArray& line)
{
    for (const logcol::Column column : kColumns)
        FUZZ_CHECK(qsoline::fieldEquals(line, column, qsoline::field(line, column)));

    // Every field read fits its column, so the record builds again; the built line reads back
    // as the same record and builds to the same bytes.
    const QsoRecord record = qsoline::parse(line);
    const std::optional<QByteArray> built = qsoline::build(record);
    FUZZ_CHECK(built.has_value());
    FUZZ_CHECK(built->size() == logcol::kLineLength);
    FUZZ_CHECK(qsoline::parse(*built) == record);
    FUZZ_CHECK(qsoline::build(qsoline::parse(*built)) == built);
    if (qsoline::isWellFormed(line)) {
        FUZZ_CHECK(qsoline::sortKey(line).has_value());
        FUZZ_CHECK(qsoline::isWellFormed(*built));
        FUZZ_CHECK(qsoline::sortKey(*built) == qsoline::sortKey(line));
    }
    QString problem;
    if (const std::optional<double> km = qsoline::distance(line, &problem)) {
        FUZZ_CHECK(problem.isEmpty());
        FUZZ_CHECK(*km >= 0 && *km <= 20100);
    }
    FUZZ_CHECK(qsoline::listEntry(1, line).mid(logcol::kListOffset) == line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QList<QByteArray> lines = LogFile::splitLines(bytes);
    for (const QByteArray& line : lines) {
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
        checkLine(line);
    }
    FUZZ_CHECK(LogFile::splitLines(LogFile::joinLines(lines)) == lines);
    if (!lines.isEmpty()) {
        const int at = LogFile::orderedPosition(lines.mid(1), lines.first());
        FUZZ_CHECK(at >= 0 && at <= lines.size() - 1);
    }
    return 0;
}
