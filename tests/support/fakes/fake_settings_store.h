#pragma once

#include "platform/settings_store.h"

#include <QMap>
#include <QStringList>

namespace tv {

// Settings in memory, for tests. Every write is also recorded in order.
class FakeSettingsStore final : public SettingsStore {
public:
    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const override
    {
        return m_values.value(path(application, section, key), defaultValue);
    }
    bool setValue(const QString& application, const QString& section, const QString& key, const QString& value) override
    {
        if (m_failWrites)
            return false;
        m_values.insert(path(application, section, key), value);
        m_writes << path(application, section, key) + QLatin1Char('=') + value;
        return true;
    }
    // Every later write fails (a settings store that cannot be written).
    void failWrites(bool fail) { m_failWrites = fail; }
    // The store reads as damaged: problem() says so.
    void setProblem(const QString& problem) { m_problem = problem; }
    QString problem(const QString&) const override { return m_problem; }

    // "application|section|key=value", in the order written.
    const QStringList& writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }

private:
    static QString path(const QString& a, const QString& s, const QString& k)
    {
        return a + QLatin1Char('|') + s + QLatin1Char('|') + k;
    }
    QMap<QString, QString> m_values;
    QStringList m_writes;
    bool m_failWrites = false;
    QString m_problem;
};

} // namespace tv
