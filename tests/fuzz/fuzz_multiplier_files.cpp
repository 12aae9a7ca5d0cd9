// The department and prefix files: look-ups, marks, the grid, the entities, the rebuild from a
// log and the score. Input: log bytes, NUL, prefix file, NUL, department file, NUL, country file.
#include "logstore/country_file.h"
#include "logstore/department_file.h"
#include "logstore/entity_resolver.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"
#include "logstore/score.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>

using namespace tv;

namespace {

constexpr int kMaxLines = 32;

void checkDepartments(const QByteArray& file, const QByteArray& code, const QByteArray& band)
{
    const DepartmentFile::Lookup found = DepartmentFile::findIn(file, code, band);
    FUZZ_CHECK(found.mark.size() <= 1);
    int changed = 0;
    const QByteArray marked = DepartmentFile::withMark(file, code, '1', band, &changed);
    FUZZ_CHECK(marked.size() == file.size());
    FUZZ_CHECK(changed == 0 || found.found);
    if (found.found && DepartmentFile::markColumn(band) && !found.mark.isEmpty())
        FUZZ_CHECK(DepartmentFile::findIn(marked, code, band).mark == "1");
    const DepartmentFile::Grid grid = DepartmentFile::gridOf(marked, band);
    FUZZ_CHECK(grid.count >= 0 && grid.count <= LogFile::splitLines(marked).size());
    if (const std::optional<int> cell = DepartmentFile::cellOf(code))
        FUZZ_CHECK(*cell >= 0 && *cell < DepartmentFile::kCells);
}

void checkEntity(const EntityResolver& resolver, const QList<QByteArray>& prefixLines, const QByteArray& callsign)
{
    const EntityResolver::Result r = resolver.resolve(callsign);
    if (r.kind == EntityResolver::Kind::Entity) {
        FUZZ_CHECK(r.line >= 0 && r.line < prefixLines.size());
        FUZZ_CHECK(PrefixFile::prefixOf(prefixLines[r.line]) == r.code || resolver.usesCountryFile());
    } else {
        FUZZ_CHECK(r.line == -1);
    }
}

// A rebuilt file is its template, line ends made CR LF, with marks set: same length, and every
// byte that changed is now a digit.
void checkRebuilt(const QByteArray& rebuilt, const QByteArray& templateBytes)
{
    const QByteArray base = LogFile::joinLines(LogFile::splitLines(templateBytes));
    FUZZ_CHECK(rebuilt.size() == base.size());
    for (qsizetype i = 0; i < base.size(); ++i)
        FUZZ_CHECK(rebuilt[i] == base[i] || (rebuilt[i] >= '0' && rebuilt[i] <= '9'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> in = fuzz::parts(fuzz::bytesOf(data, size), 4);
    const QList<QByteArray> logLines = LogFile::splitLines(in[0]).mid(0, kMaxLines);
    const QByteArray& prefixBytes = in[1];
    const QByteArray& departmentBytes = in[2];
    const QList<QByteArray> prefixLines = LogFile::splitLines(prefixBytes);
    const std::optional<CountryFile> countries = CountryFile::parse(in[3]);

    const EntityResolver plain(nullptr, prefixLines);
    const EntityResolver withCountries(countries ? &*countries : nullptr, prefixLines);
    for (const QByteArray& line : logLines) {
        const QByteArray callsign = qsoline::field(line, logcol::kCallsign);
        checkEntity(plain, prefixLines, callsign);
        checkEntity(withCountries, prefixLines, callsign);
        checkDepartments(departmentBytes, qsoline::field(line, logcol::kDepartment),
                         qsoline::field(line, logcol::kBand));
    }

    const MultiplierRebuild::Computed rebuilt =
        MultiplierRebuild::compute(logLines, prefixBytes, departmentBytes, countries ? &*countries : nullptr);
    checkRebuilt(rebuilt.files.prefixSsb, prefixBytes);
    checkRebuilt(rebuilt.files.prefixCw, prefixBytes);
    checkRebuilt(rebuilt.files.departmentSsb, departmentBytes);
    checkRebuilt(rebuilt.files.departmentCw, departmentBytes);

    const ScoreTally tally = tallyScore(logLines, rebuilt.files.departmentSsb, rebuilt.files.departmentCw,
                                        rebuilt.files.prefixSsb, rebuilt.files.prefixCw);
    FUZZ_CHECK(std::isfinite(score(tally, true)) && std::isfinite(score(tally, false)));
    FUZZ_CHECK(tally.hfTotals().qsos + tally.vhfTotals().qsos <= logLines.size());
    return 0;
}
