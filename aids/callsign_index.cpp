#include "aids/callsign_index.h"

#include <QSet>

#include <algorithm>

namespace tv {

namespace {

quint16 pairKey(char a, char b)
{
    return quint16((uchar(a) << 8) | uchar(b));
}

bool isCallsign(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 15)
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/'; });
}

// Those that begin with the typed text first, then the others, each group in order.
void beginnersFirst(QList<QByteArray>& calls, QByteArrayView typed)
{
    std::stable_sort(calls.begin(), calls.end(), [&](const QByteArray& a, const QByteArray& b) {
        return a.startsWith(typed) && !b.startsWith(typed);
    });
}

} // namespace

CallsignIndex::CallsignIndex(QList<QByteArray> callsigns)
{
    for (QByteArray& c : callsigns)
        c = c.trimmed().toUpper();
    std::sort(callsigns.begin(), callsigns.end());
    callsigns.erase(std::unique(callsigns.begin(), callsigns.end()), callsigns.end());
    callsigns.removeAll(QByteArray());
    m_calls = std::move(callsigns);
    for (int id = 0; id < m_calls.size(); ++id) {
        const QByteArray& call = m_calls[id];
        m_byLength[int(call.size())].append(id);
        QSet<quint16> seen;
        for (qsizetype i = 0; i + 1 < call.size(); ++i) {
            const quint16 key = pairKey(call[i], call[i + 1]);
            if (!seen.contains(key)) {
                seen.insert(key);
                m_pairs[key].append(id);
            }
        }
    }
}

QList<QByteArray> CallsignIndex::readMasterFile(QByteArrayView text)
{
    QList<QByteArray> out;
    for (const QByteArrayView line : QByteArray(text.toByteArray()).split('\n')) {
        const QByteArrayView call = line.trimmed();
        if (!call.startsWith('#') && isCallsign(call))
            out.append(call.toByteArray());
    }
    return out;
}

bool CallsignIndex::oneAway(QByteArrayView a, QByteArrayView b)
{
    if (a.size() > b.size())
        std::swap(a, b);
    const qsizetype shorter = a.size();
    if (b.size() - shorter > 1)
        return false;
    qsizetype i = 0;
    while (i < shorter && a[i] == b[i])
        ++i;
    if (a.size() == b.size())
        return i < shorter && a.sliced(i + 1) == b.sliced(i + 1); // one changed
    return a.sliced(i) == b.sliced(i + 1);                        // one added to a
}

CallsignIndex::Suggestions CallsignIndex::suggest(QByteArrayView typed, const QList<QByteArray>& extra, int limit) const
{
    Suggestions out;
    if (typed.size() < 2)
        return out;
    // The rarest pair of the typed text narrows the candidates.
    const QList<int>* candidates = nullptr;
    for (qsizetype i = 0; i + 1 < typed.size(); ++i) {
        const auto it = m_pairs.constFind(pairKey(typed[i], typed[i + 1]));
        if (it == m_pairs.cend()) {
            static const QList<int> kNone;
            candidates = &kNone;
            break;
        }
        if (!candidates || it->size() < candidates->size())
            candidates = &*it;
    }
    QSet<QByteArray> listed;
    auto take = [&](QList<QByteArray>& into, const QByteArray& call) {
        if (!listed.contains(call)) {
            listed.insert(call);
            into.append(call);
        }
    };
    for (const int id : *candidates) {
        if (m_calls[id].contains(typed))
            take(out.partial, m_calls[id]);
    }
    for (const QByteArray& call : extra) {
        if (call.contains(typed))
            take(out.partial, call);
    }
    beginnersFirst(out.partial, typed);
    out.partial = out.partial.mid(0, limit);

    for (qsizetype length = typed.size() - 1; length <= typed.size() + 1; ++length) {
        for (const int id : m_byLength.value(int(length))) {
            if (oneAway(m_calls[id], typed))
                take(out.oneAway, m_calls[id]);
        }
    }
    for (const QByteArray& call : extra) {
        if (oneAway(call, typed))
            take(out.oneAway, call);
    }
    std::sort(out.oneAway.begin(), out.oneAway.end());
    out.oneAway = out.oneAway.mid(0, limit);
    return out;
}

} // namespace tv
