#include "logstore/country_file.h"

#include "platform/installed_files.h"

#include "logstore/log_file.h"

namespace tv {

namespace {

struct WaeParent {
    const char* entry;
    const char* parent;
};
// The WAE-only entries and the primary prefix of the DXCC entity each lies in.
constexpr WaeParent kWaeParents[] = {{"*4U1V", "OE"}, {"*GM/s", "GM"}, {"*IG9", "I"},
                                     {"*IT9", "I"},   {"*JW/b", "JW"}, {"*TA1", "TA"}};
// Prefixes given to another entity (by its primary prefix) than the file says.
constexpr WaeParent kReassigned[] = {{"TW", "F"}};

struct Record {
    QByteArray name;
    QByteArray primary;
    QList<QByteArray> prefixes;
    QList<QByteArray> exactCalls;
};

QList<Record> records(QByteArrayView text)
{
    QList<Record> out;
    for (const QByteArrayView raw : QByteArray(text.toByteArray()).split(';')) {
        const QByteArray record = raw.trimmed().toByteArray();
        const qsizetype lineEnd = LogFile::lineAt(record, 0).end; // any line end: CR LF, LF or CR
        if (record.isEmpty() || lineEnd == record.size())
            continue;
        const QList<QByteArray> head = record.left(lineEnd).split(':');
        if (head.size() < 8)
            continue;
        Record r{head[0].trimmed(), head[7].trimmed(), {}, {}};
        for (QByteArray item : record.mid(lineEnd + 1).split(',')) {
            item = item.trimmed();
            for (qsizetype i = 0; i < item.size(); ++i) {
                if (QByteArrayView("([<{~").contains(item[i])) {
                    item.truncate(i);
                    break;
                }
            }
            if (item.startsWith('='))
                r.exactCalls.append(item.mid(1).toUpper());
            else if (!item.isEmpty())
                r.prefixes.append(item.toUpper());
        }
        out.append(r);
    }
    return out;
}

} // namespace

QString CountryFile::installedPath()
{
    return installed::countryFile();
}

std::optional<CountryFile> CountryFile::parse(QByteArrayView text)
{
    const QList<Record> all = records(text);
    CountryFile file;
    QHash<QByteArray, int> byPrimary;
    for (const Record& r : all) {
        if (r.primary.startsWith('*'))
            continue;
        byPrimary.insert(r.primary, int(file.m_entities.size()));
        file.m_entities.append({r.name, r.primary});
    }
    if (file.m_entities.isEmpty())
        return std::nullopt;

    // WAE entries first, so that a DXCC entity's own prefix or call overrides theirs.
    auto take = [&](const Record& r, int entity) {
        for (const QByteArray& p : r.prefixes) {
            if (!file.m_prefixes.contains(p))
                file.m_prefixList.append({p, entity});
            file.m_prefixes.insert(p, entity);
            file.m_longest = std::max(file.m_longest, int(p.size()));
        }
        for (const QByteArray& c : r.exactCalls)
            file.m_exact.insert(c, entity);
    };
    for (const Record& r : all) {
        for (const WaeParent& w : kWaeParents) {
            if (r.primary == w.entry && byPrimary.contains(w.parent))
                take(r, byPrimary.value(w.parent));
        }
    }
    for (const Record& r : all) {
        if (!r.primary.startsWith('*'))
            take(r, byPrimary.value(r.primary));
    }
    for (const WaeParent& w : kReassigned) {
        if (byPrimary.contains(w.parent) && file.m_prefixes.contains(w.entry)) {
            file.m_prefixes.insert(w.entry, byPrimary.value(w.parent));
            for (auto& [prefix, entity] : file.m_prefixList) {
                if (prefix == w.entry)
                    entity = byPrimary.value(w.parent);
            }
        }
    }
    return file;
}

std::shared_ptr<const CountryFile> CountryFile::load(const FileSystem& files, const QString& path)
{
    const FileRead read = files.read(path);
    if (!read.result.ok())
        return nullptr;
    std::optional<CountryFile> parsed = parse(read.bytes);
    return parsed ? std::make_shared<const CountryFile>(std::move(*parsed)) : nullptr;
}

} // namespace tv
