#include "logstore/entity_resolver.h"

#include "logstore/fixed_text.h"
#include "logstore/prefix_file.h"

#include <algorithm>

namespace tv {

namespace {

constexpr int kPrefixWidth = 6;

QByteArray prefixField(const QByteArray& line)
{
    return fixedtext::field(line, 1, kPrefixWidth);
}

QByteArray codeField(const QByteArray& line)
{
    return fixedtext::field(line, PrefixFile::kEntityColumn, PrefixFile::kEntityWidth);
}

QByteArray nameField(const QByteArray& line)
{
    return fixedtext::mid(line, PrefixFile::kDescriptionColumn, int(line.size())).trimmed();
}

bool namesNoCountry(const QByteArray& part)
{
    static const QList<QByteArray> kSuffixes = {"P", "M", "A", "QRP", "QRPP", "LH"};
    return kSuffixes.contains(part) ||
           std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The longest prefix of `text` that `find` knows, as what `find` returns for it; -1 if none.
template <typename Find> int longestMatch(const QByteArray& text, int longest, Find find)
{
    for (qsizetype n = std::min<qsizetype>(text.size(), longest); n > 0; --n) {
        if (const int found = find(text.left(n)); found >= 0)
            return found;
    }
    return -1;
}

} // namespace

QList<QByteArray> EntityResolver::callsignParts(QByteArrayView callsign, bool* mobile)
{
    *mobile = false;
    QList<QByteArray> kept;
    const QList<QByteArray> parts = callsign.toByteArray().split('/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts[i].isEmpty())
            continue;
        if (i > 0 && (parts[i] == "MM" || parts[i] == "AM")) {
            *mobile = true;
            return {};
        }
        if (kept.isEmpty() || !namesNoCountry(parts[i]))
            kept.append(parts[i]);
    }
    // Shortest first; stable, so the first of two parts of one length stays first.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const QByteArray& a, const QByteArray& b) { return a.size() < b.size(); });
    return kept;
}

int EntityResolver::ownLine(const QList<QByteArray>& prefixLines, QByteArrayView code)
{
    if (code.isEmpty())
        return -1;
    for (int i = 0; i < prefixLines.size(); ++i) {
        if (prefixField(prefixLines[i]) == code)
            return i;
    }
    return -1;
}

EntityResolver::EntityResolver(const CountryFile* countries, const QList<QByteArray>& prefixLines)
    : m_countries(countries), m_lines(prefixLines)
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QByteArray prefix = prefixField(m_lines[i]);
        if (!prefix.isEmpty() && !m_prefixLines.contains(prefix)) {
            m_prefixLines.insert(prefix, i);
            m_longest = std::max(m_longest, int(prefix.size()));
        }
    }
    if (!countries)
        return;
    // The own lines of the file by name; the own line of a code is the first line of that prefix.
    QHash<QByteArray, int> byName;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QByteArray code = codeField(m_lines[i]);
        if (!code.isEmpty() && m_prefixLines.value(code, -1) == i && !byName.contains(nameField(m_lines[i])))
            byName.insert(nameField(m_lines[i]), i);
    }
    const auto ownLineOf = [&](const QByteArray& code) {
        const int line = m_prefixLines.value(code, -1);
        return line >= 0 && codeField(m_lines[line]) == code ? line : -1;
    };
    const QList<CountryFile::Entity>& entities = countries->entities();
    m_entityLine.fill(-1, entities.size());
    for (qsizetype e = 0; e < entities.size(); ++e)
        m_entityLine[e] = byName.value(entities[e].name, ownLineOf(entities[e].primary.toUpper()));
    for (const auto& [prefix, entity] : countries->prefixList()) {
        if (m_entityLine[entity] < 0)
            m_entityLine[entity] = ownLineOf(prefix);
    }
}

EntityResolver::Result EntityResolver::entityResult(int entity) const
{
    Result out;
    const int line = m_entityLine[entity];
    if (line < 0) {
        out.kind = Kind::NoLine;
        out.code = m_countries->entities()[entity].primary;
        out.name = m_countries->entities()[entity].name;
        return out;
    }
    out.kind = Kind::Entity;
    out.line = line;
    out.code = codeField(m_lines[line]);
    out.name = nameField(m_lines[line]);
    return out;
}

EntityResolver::Result EntityResolver::resolve(QByteArrayView callsign) const
{
    const QByteArray call = callsign.toByteArray().trimmed().toUpper();
    if (m_countries) {
        if (const int entity = m_countries->exactCall(call); entity >= 0)
            return entityResult(entity);
    }
    bool mobile = false;
    const QList<QByteArray> parts = callsignParts(call, &mobile);
    if (mobile)
        return {Kind::NoEntity, -1, {}, {}};
    if (m_countries) {
        for (const QByteArray& part : parts) {
            const int entity = longestMatch(part, m_countries->longestPrefix(),
                                            [&](const QByteArray& p) { return m_countries->prefix(p); });
            if (entity >= 0)
                return entityResult(entity);
        }
    }
    // The prefix file's own prefixes: the whole look-up without a country file, and an entity
    // the country file does not know with one.
    for (const QByteArray& part : parts) {
        const int matched =
            longestMatch(part, m_longest, [&](const QByteArray& p) { return m_prefixLines.value(p, -1); });
        if (matched < 0)
            continue;
        Result out;
        out.code = codeField(m_lines[matched]);
        if (out.code.isEmpty())
            return {};
        out.line = m_prefixLines.value(out.code, -1); // the first line of a prefix is the code's own
        out.kind = out.line >= 0 ? Kind::Entity : Kind::NoLine;
        out.name = nameField(m_lines[out.line >= 0 ? out.line : matched]);
        return out;
    }
    return {};
}

} // namespace tv
