#pragma once

#include "platform/settings_store.h"

namespace tv {

// Settings kept with QSettings: one store per application ("JNM", "ZEZ", "Assistant").
// By default the platform's per-user store; given a folder, one INI file per application
// in that folder (portable use: `tournevent --dir PATH` keeps its settings in PATH).
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore() = default;
    explicit QtSettingsStore(const QString& iniFolder);

    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const override;
    bool setValue(const QString& application, const QString& section, const QString& key,
                  const QString& value) override;
    QString problem(const QString& application) const override;

private:
    QString m_iniFolder;
};

} // namespace tv
