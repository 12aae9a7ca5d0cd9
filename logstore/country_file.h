#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <memory>
#include <optional>

namespace tv {

// The DXCC country file "cty.dat" (AD1C format, as the hamradio-files package installs it), read
// for the look-up of callsigns: one record per entity, ended by ";":
//   Name: CQ zone: ITU zone: continent: latitude: longitude: UTC offset: primary prefix:
//       prefix,prefix(zone)[zone],=EXACTCALL,...;
// Each prefix and exact call belongs to its entity; what follows a prefix in brackets of any
// kind ("(14)", "[27]", "<lat/lon>", "{EU}", "~tz~") is dropped.
//
// Two rules of the program's own go over the file: a WAE-only entry (primary prefix starting
// with "*": Sicily, European Turkey, Vienna Intl Ctr, Shetland, Bear Island, African Italy) is
// no DXCC entity, its prefixes and exact calls count for the DXCC entity it lies in, unless that
// entity lists the same prefix itself; and "TW" belongs to France, as the entry checks have it
// (the country file files it under Wallis & Futuna). tools/make_prefix_file.py reads the file
// the same way.
class CountryFile {
public:
    struct Entity {
        QByteArray name;    // "Canary Islands"
        QByteArray primary; // "EA8", "3D2/c"
    };

    // Where the hamradio-files package installs the file.
    static QString installedPath();

    // The entities of the text; nothing when it holds no readable entity.
    static std::optional<CountryFile> parse(QByteArrayView text);
    // The file at `path`; nothing when it is missing, unreadable or holds no entity.
    static std::shared_ptr<const CountryFile> load(const FileSystem& files, const QString& path);

    const QList<Entity>& entities() const { return m_entities; }
    // The entity of an exact call, of a prefix (both in capitals); -1 when the file has none.
    int exactCall(const QByteArray& call) const { return m_exact.value(call, -1); }
    int prefix(const QByteArray& prefix) const { return m_prefixes.value(prefix, -1); }
    int longestPrefix() const { return m_longest; }
    // The prefixes with their entity, in file order.
    const QList<std::pair<QByteArray, int>>& prefixList() const { return m_prefixList; }

private:
    QList<Entity> m_entities;
    QHash<QByteArray, int> m_exact;
    QHash<QByteArray, int> m_prefixes;
    QList<std::pair<QByteArray, int>> m_prefixList;
    int m_longest = 0;
};

} // namespace tv
