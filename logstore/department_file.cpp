#include "logstore/department_file.h"

#include "logstore/fixed_text.h"
#include "logstore/log_file.h"

#include <utility>

namespace tv {
namespace {

// Calls fn(begin, end) for each line of the bytes: [begin, end) without its line end.
template <typename Fn> void forEachLine(const QByteArray& bytes, Fn fn)
{
    for (qsizetype start = 0; start < bytes.size();) {
        const LogFile::LineSpan span = LogFile::lineAt(bytes, start);
        if (!fn(start, span.end))
            return;
        start = span.next;
    }
}

QByteArray lineCode(const QByteArray& bytes, qsizetype begin, qsizetype end)
{
    return bytes.mid(begin, std::min<qsizetype>(DepartmentFile::kCodeWidth, end - begin));
}

} // namespace

DepartmentFile::DepartmentFile(FileSystem& files, StationPaths paths) : m_files(files), m_paths(std::move(paths))
{
}

std::optional<int> DepartmentFile::markColumn(const QByteArray& band)
{
    return bands::markColumn(band, kFirstMarkColumn);
}

QByteArray DepartmentFile::canonicalCode(const QByteArray& code)
{
    const QByteArray trimmed = fixedtext::trimSpaces(code);
    if (trimmed == "2A" || trimmed == "2a" || trimmed == "96")
        return QByteArrayLiteral("96");
    if (trimmed == "2B" || trimmed == "2b" || trimmed == "97")
        return QByteArrayLiteral("97");
    return trimmed;
}

std::optional<int> DepartmentFile::cellOf(const QByteArray& code)
{
    const QByteArray key = canonicalCode(code);
    if (key.isEmpty() || key.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool DepartmentFile::sameDepartment(const QByteArray& lineCode, const QByteArray& code)
{
    const QByteArray wanted = canonicalCode(code);
    return !wanted.isEmpty() && canonicalCode(lineCode) == wanted;
}

DepartmentFile::Lookup DepartmentFile::findIn(const QByteArray& fileBytes, const QByteArray& code,
                                              const QByteArray& band)
{
    Lookup out;
    const std::optional<int> column = markColumn(band);
    forEachLine(fileBytes, [&](qsizetype begin, qsizetype end) {
        if (!sameDepartment(lineCode(fileBytes, begin, end), code))
            return true;
        const QByteArray line = fileBytes.mid(begin, end - begin);
        out.found = true;
        out.line = line;
        if (column)
            out.mark = fixedtext::mid(line, *column, 1);
        QByteArray name = fixedtext::mid(line, kNameColumn, int(line.size()));
        qsizetype lead = 0;
        while (lead < name.size() && name[lead] == ' ')
            ++lead;
        out.name = name.mid(lead);
        return false;
    });
    return out;
}

QByteArray DepartmentFile::withMark(const QByteArray& fileBytes, const QByteArray& code, char mark,
                                    const QByteArray& band, int* linesMarked)
{
    QByteArray out = fileBytes;
    int changed = 0;
    const std::optional<int> column = markColumn(band);
    if (column) {
        forEachLine(fileBytes, [&](qsizetype begin, qsizetype end) {
            const qsizetype at = begin + *column - 1;
            if (at < end && sameDepartment(lineCode(fileBytes, begin, end), code) && out[at] != mark) {
                out[at] = mark;
                ++changed;
            }
            return true;
        });
    }
    if (linesMarked)
        *linesMarked = changed;
    return out;
}

DepartmentFile::Grid DepartmentFile::gridOf(const QByteArray& fileBytes, const QByteArray& band)
{
    Grid grid;
    const std::optional<int> column = markColumn(band);
    if (!column)
        return grid;
    forEachLine(fileBytes, [&](qsizetype begin, qsizetype end) {
        const qsizetype at = begin + *column - 1;
        if (at >= end)
            return true; // a line without marks (an empty last line) names nothing
        const char mark = fileBytes[at];
        const std::optional<int> cell = cellOf(lineCode(fileBytes, begin, end));
        if (mark != '0') {
            ++grid.count;
            if (cell)
                grid.cells[*cell] = mark;
        } else if (cell && grid.cells[*cell] == '\0') {
            grid.cells[*cell] = '0';
        }
        return true;
    });
    return grid;
}

DepartmentFile::Lookup DepartmentFile::find(const QByteArray& code, const QByteArray& band, bands::Mode mode) const
{
    const FileRead read = m_files.read(m_paths.departments(mode));
    if (!read.result.ok()) {
        Lookup failed;
        failed.result = read.result;
        return failed;
    }
    return findIn(read.bytes, code, band);
}

DepartmentFile::MarkResult DepartmentFile::setMark(const QByteArray& code, char mark, const QByteArray& band,
                                                   bands::Mode mode)
{
    MarkResult out;
    const QString path = m_paths.departments(mode);
    const FileRead read = m_files.read(path);
    if (!read.result.ok()) {
        out.result = read.result;
        return out;
    }
    const QByteArray marked = withMark(read.bytes, code, mark, band, &out.linesMarked);
    if (out.linesMarked > 0)
        out.result = m_files.replace(path, marked);
    if (!out.result.ok())
        out.linesMarked = 0;
    return out;
}

DepartmentFile::Grid DepartmentFile::grid(const QByteArray& band, bands::Mode mode) const
{
    const FileRead read = m_files.read(m_paths.departments(mode));
    if (!read.result.ok()) {
        Grid failed;
        failed.result = read.result;
        return failed;
    }
    return gridOf(read.bytes, band);
}

} // namespace tv
