#include "logstore/multiplier_rebuild.h"

#include "logstore/bands.h"
#include "logstore/department_file.h"
#include "logstore/entity_resolver.h"
#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

namespace tv {
namespace {

// Where the rebuild reads a log line: the department's two characters, the count's one.
constexpr int kCallsignColumn = logcol::kCallsign.first, kCallsignWidth = logcol::kCallsign.width;
constexpr int kDepartmentColumn = logcol::kDepartment.first, kDepartmentWidth = 2;
constexpr int kBandColumn = logcol::kBand.first, kBandWidth = logcol::kBand.width;
constexpr int kModeColumn = logcol::kMode.first, kModeWidth = logcol::kMode.width;
constexpr int kCountColumn = logcol::kCount.first, kCountWidth = logcol::kCount.width;

constexpr int kSsb = 0;
constexpr int kCw = 1;

std::optional<int> modeIndex(QByteArrayView mode)
{
    if (mode == "SSB")
        return kSsb;
    if (mode == "CW")
        return kCw;
    return std::nullopt;
}

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// The band's index in the table, compared in upper case (ASCII letters only).
std::optional<int> bandIndexUpper(QByteArrayView band)
{
    for (int i = 0; i < bands::kCount; ++i) {
        const QByteArray& known = bands::all()[i];
        if (known.size() != band.size())
            continue;
        qsizetype k = 0;
        while (k < band.size() && asciiUpper(band[k]) == asciiUpper(known[k]))
            ++k;
        if (k == band.size())
            return i;
    }
    return std::nullopt;
}

// A department code as one number for comparisons: Corsica under any spelling is 96 or 97;
// any other code (at most 2 bytes once trimmed) is packed with its length. 0 for no code.
quint32 departmentKey(QByteArrayView code, bool upper)
{
    char c[2] = {0, 0};
    const qsizetype n = std::min<qsizetype>(code.size(), 2);
    for (qsizetype i = 0; i < n; ++i)
        c[i] = upper ? asciiUpper(code[i]) : code[i];
    const QByteArray canonical = DepartmentFile::canonicalCode(QByteArray(c, n));
    if (canonical.isEmpty())
        return 0;
    quint32 key = quint32(canonical.size()) << 16;
    for (qsizetype i = 0; i < canonical.size(); ++i)
        key |= quint32(uchar(canonical[i])) << (8 * i);
    return key;
}

// The first line of each department code (Corsica under any of its spellings).
std::unordered_map<quint32, int> departmentIndex(const QList<QByteArray>& lines)
{
    std::unordered_map<quint32, int> first;
    for (int i = 0; i < lines.size(); ++i) {
        const quint32 key = departmentKey(fixedtext::fieldView(lines[i], 1, DepartmentFile::kCodeWidth), false);
        if (key != 0)
            first.emplace(key, i); // keeps the first line of a code
    }
    return first;
}

} // namespace

MultiplierRebuild::Computed MultiplierRebuild::compute(const QList<QByteArray>& logLines,
                                                       const QByteArray& prefixTemplate,
                                                       const QByteArray& departmentTemplate,
                                                       const CountryFile* countries, const Progress& progress)
{
    const QList<QByteArray> prefixLines = LogFile::splitLines(prefixTemplate);
    const QList<QByteArray> departmentLines = LogFile::splitLines(departmentTemplate);
    std::array<QList<QByteArray>, 2> prefixes = {prefixLines, prefixLines};
    std::array<QList<QByteArray>, 2> departments = {departmentLines, departmentLines};

    const EntityResolver resolver(countries, prefixLines);
    const std::unordered_map<quint32, int> departmentFirst = departmentIndex(departmentLines);

    Computed out;
    const int total = int(logLines.size());
    for (int n = 0; n < total; ++n) {
        if (progress && n % kProgressStep == 0)
            progress(n, total);
        const QByteArray& line = logLines[n];
        const std::optional<int> mode = modeIndex(fixedtext::fieldView(line, kModeColumn, kModeWidth));
        if (!mode)
            continue;
        const std::optional<int> band = bandIndexUpper(fixedtext::fieldView(line, kBandColumn, kBandWidth));

        // Prefixes: the callsign's entity marks its own line.
        const QByteArrayView callsign = fixedtext::fieldView(line, kCallsignColumn, kCallsignWidth);
        const EntityResolver::Result entity = resolver.resolve(callsign);
        QByteArrayView unplaced;
        switch (entity.kind) {
        case EntityResolver::Kind::Entity:
            if (band && fixedtext::at(line, logcol::kNewPrefixFlag.first) != logcol::kEntityRefused) {
                const int column = PrefixFile::kFirstMarkColumn + *band;
                const QByteArray& current = std::as_const(prefixes[*mode])[entity.line];
                if (column <= current.size() && fixedtext::markValue(current[column - 1]) == 0)
                    prefixes[*mode][entity.line][column - 1] = '1';
            }
            break;
        case EntityResolver::Kind::NoEntity:
            break;
        case EntityResolver::Kind::NoLine:
            unplaced = entity.code;
            break;
        case EntityResolver::Kind::Unknown:
            if (!callsign.isEmpty())
                out.unmatchedCallsigns.append(callsign.toByteArray());
            unplaced = callsign;
            break;
        }
        if (*mode == kCw && !unplaced.isEmpty())
            out.absentLines.append(unplaced.toByteArray());

        // Departments: the larger of the mark in place and the line's count mark.
        const quint32 key = departmentKey(fixedtext::fieldView(line, kDepartmentColumn, kDepartmentWidth), true);
        const auto found = key == 0 ? departmentFirst.end() : departmentFirst.find(key);
        const QByteArrayView mark = fixedtext::fieldView(line, kCountColumn, kCountWidth);
        if (band && found != departmentFirst.end() && !mark.isEmpty()) {
            const int column = DepartmentFile::kFirstMarkColumn + *band;
            const QByteArray& current = std::as_const(departments[*mode])[found->second];
            if (column <= current.size() && fixedtext::markValue(mark[0]) > fixedtext::markValue(current[column - 1]))
                departments[*mode][found->second][column - 1] = mark[0];
        }
    }
    if (progress)
        progress(total, total);

    out.files.prefixSsb = LogFile::joinLines(prefixes[kSsb]);
    out.files.prefixCw = LogFile::joinLines(prefixes[kCw]);
    out.files.absent = LogFile::joinLines(out.absentLines);
    out.files.departmentSsb = LogFile::joinLines(departments[kSsb]);
    out.files.departmentCw = LogFile::joinLines(departments[kCw]);
    return out;
}

MultiplierRebuild::MultiplierRebuild(FileSystem& files, StationPaths paths, const CountryFile* countries)
    : m_files(files), m_paths(std::move(paths)), m_countries(countries)
{
}

QStringList MultiplierRebuild::targets() const
{
    return {m_paths.prefixes(bands::Mode::Ssb), m_paths.prefixes(bands::Mode::Cw), m_paths.absentList(),
            m_paths.departments(bands::Mode::Ssb), m_paths.departments(bands::Mode::Cw)};
}

MultiplierRebuild::Result MultiplierRebuild::run(const QList<QByteArray>& logLines)
{
    Result out;
    const FileRead prefixTemplate = m_files.read(m_paths.prefixTemplate());
    if (!prefixTemplate.result.ok()) {
        out.result = prefixTemplate.result;
        out.failedFile = m_paths.prefixTemplate();
        return out;
    }
    const FileRead departmentTemplate = m_files.read(m_paths.departmentTemplate());
    if (!departmentTemplate.result.ok()) {
        out.result = departmentTemplate.result;
        out.failedFile = m_paths.departmentTemplate();
        return out;
    }

    Computed computed = compute(logLines, prefixTemplate.bytes, departmentTemplate.bytes, m_countries, m_progress);
    out.absentLines = std::move(computed.absentLines);
    out.unmatchedCallsigns = std::move(computed.unmatchedCallsigns);

    // The marker first: until it is removed, the five files are not known to belong together.
    if (const FileResult begun = beginChange(m_files, m_paths); !begun.ok()) {
        out.result = begun;
        out.failedFile = m_paths.rebuildMarker();
        return out;
    }
    const QStringList paths = targets();
    const QByteArray* contents[] = {&computed.files.prefixSsb, &computed.files.prefixCw, &computed.files.absent,
                                    &computed.files.departmentSsb, &computed.files.departmentCw};
    for (int i = 0; i < paths.size(); ++i) {
        const FileResult written = m_files.replace(paths[i], *contents[i]);
        if (!written.ok()) {
            out.result = written;
            out.failedFile = paths[i];
            return out;
        }
        ++out.filesWritten;
    }
    if (const FileResult ended = endChange(m_files, m_paths); !ended.ok()) {
        out.result = ended;
        out.failedFile = m_paths.rebuildMarker();
    }
    return out;
}

FileResult MultiplierRebuild::beginChange(FileSystem& files, const StationPaths& paths)
{
    return files.replace(paths.rebuildMarker(),
                         QByteArrayLiteral("Reconstruction des fichiers de multiplicateurs en cours\r\n"));
}

FileResult MultiplierRebuild::endChange(FileSystem& files, const StationPaths& paths)
{
    const FileResult removed = files.remove(paths.rebuildMarker());
    return removed.notFound() ? FileResult::success() : removed;
}

bool MultiplierRebuild::wasInterrupted(const FileSystem& files, const StationPaths& paths)
{
    return files.exists(paths.rebuildMarker());
}

MultiplierRebuild::Resumed MultiplierRebuild::resumeIfInterrupted()
{
    Resumed out;
    if (!wasInterrupted(m_files, m_paths))
        return out;
    out.redone = true;
    out.result = runFromLog();
    return out;
}

MultiplierRebuild::Result MultiplierRebuild::runFromLog()
{
    const QString logPath = m_paths.existingLog(m_files);
    const LogFile::Loaded loaded = LogFile(m_files, logPath).load();
    if (!loaded.result.ok()) {
        Result out;
        out.result = loaded.result;
        out.failedFile = logPath;
        return out;
    }
    return run(loaded.lines);
}

} // namespace tv
