#include "logstore/multiplier_rebuild.h"

#include "logstore/bands.h"
#include "logstore/department_file.h"
#include "logstore/fixed_text.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"

#include <QHash>

#include <array>
#include <utility>

namespace tv {
namespace {

// Where the rebuild reads a log line.
constexpr int kCallsignColumn = 11, kCallsignWidth = 12;
constexpr int kDepartmentColumn = 37, kDepartmentWidth = 2;
constexpr int kBandColumn = 50, kBandWidth = 8;
constexpr int kModeColumn = 60, kModeWidth = 7;
constexpr int kCountColumn = 135, kCountWidth = 1;

constexpr int kSsb = 0;
constexpr int kCw = 1;

std::optional<int> modeIndex(const QByteArray& mode)
{
    if (mode == bands::kSsb)
        return kSsb;
    if (mode == bands::kCw)
        return kCw;
    return std::nullopt;
}

// The band's index in the table, compared in upper case.
std::optional<int> bandIndexUpper(const QByteArray& band)
{
    static const QHash<QByteArray, int> table = [] {
        QHash<QByteArray, int> t;
        for (int i = 0; i < bands::kCount; ++i)
            t.insert(bands::all()[i].toUpper(), i);
        return t;
    }();
    const auto it = table.constFind(band.toUpper());
    if (it == table.constEnd())
        return std::nullopt;
    return it.value();
}

// The first line of each department code (Corsica under any of its spellings).
QHash<QByteArray, int> departmentIndex(const QList<QByteArray>& lines)
{
    QHash<QByteArray, int> first;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray key = DepartmentFile::canonicalCode(fixedtext::mid(lines[i], 1, DepartmentFile::kCodeWidth));
        if (!key.isEmpty() && !first.contains(key))
            first.insert(key, i);
    }
    return first;
}

}  // namespace

MultiplierRebuild::Computed MultiplierRebuild::compute(const QList<QByteArray>& logLines,
                                                       const QByteArray& prefixTemplate,
                                                       const QByteArray& departmentTemplate,
                                                       const Progress& progress)
{
    const QList<QByteArray> prefixLines = LogFile::splitLines(prefixTemplate);
    const QList<QByteArray> departmentLines = LogFile::splitLines(departmentTemplate);
    std::array<QList<QByteArray>, 2> prefixes = {prefixLines, prefixLines};
    std::array<QList<QByteArray>, 2> departments = {departmentLines, departmentLines};

    const PrefixIndex callsignIndex(prefixLines, PrefixFile::kLookupPrefixWidth);
    const PrefixIndex entityIndex(prefixLines, PrefixFile::kRebuildPrefixWidth);
    const QHash<QByteArray, int> departmentFirst = departmentIndex(departmentLines);

    Computed out;
    const int total = int(logLines.size());
    for (int n = 0; n < total; ++n) {
        if (progress && n % kProgressStep == 0)
            progress(n, total);
        const QByteArray& line = logLines[n];
        const std::optional<int> mode = modeIndex(fixedtext::field(line, kModeColumn, kModeWidth));
        if (!mode)
            continue;
        const std::optional<int> band = bandIndexUpper(fixedtext::field(line, kBandColumn, kBandWidth));

        // Prefixes: the callsign's entity, then the entity's own line.
        const QByteArray callsign = fixedtext::field(line, kCallsignColumn, kCallsignWidth);
        const int matched = callsignIndex.firstMatch(callsign);
        const QByteArray entity = matched >= 0 ? PrefixFile::entityOf(prefixLines[matched]) : QByteArray();
        QByteArray unplaced;
        if (matched < 0 && !callsign.isEmpty())
            out.unmatchedCallsigns.append(callsign);
        if (entity.isEmpty()) {
            unplaced = callsign;
        } else {
            const int entityLine = entityIndex.firstMatch(entity);
            if (entityLine < 0) {
                unplaced = entity;
            } else if (band) {
                const int column = PrefixFile::kFirstMarkColumn + *band;
                QByteArray& target = prefixes[*mode][entityLine];
                if (column <= target.size() && fixedtext::numericValue(target.mid(column - 1, 1)) == 0)
                    target[column - 1] = '1';
            }
        }
        if (*mode == kCw && !unplaced.isEmpty())
            out.absentLines.append(unplaced);

        // Departments: the larger of the mark in place and the line's count mark.
        const QByteArray code = fixedtext::field(line, kDepartmentColumn, kDepartmentWidth).toUpper();
        const QByteArray key = DepartmentFile::canonicalCode(code);
        const auto found = key.isEmpty() ? departmentFirst.constEnd() : departmentFirst.constFind(key);
        if (band && found != departmentFirst.constEnd()) {
            const int column = DepartmentFile::kFirstMarkColumn + *band;
            QByteArray& target = departments[*mode][found.value()];
            const QByteArray mark = fixedtext::field(line, kCountColumn, kCountWidth);
            if (column <= target.size() && !mark.isEmpty() &&
                fixedtext::numericValue(mark) > fixedtext::numericValue(target.mid(column - 1, 1)))
                target[column - 1] = mark[0];
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

MultiplierRebuild::MultiplierRebuild(FileSystem& files, StationPaths paths)
    : m_files(files), m_paths(std::move(paths))
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

    Computed computed = compute(logLines, prefixTemplate.bytes, departmentTemplate.bytes, m_progress);
    out.absentLines = std::move(computed.absentLines);
    out.unmatchedCallsigns = std::move(computed.unmatchedCallsigns);

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

}  // namespace tv
