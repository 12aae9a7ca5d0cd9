#pragma once

#include <QString>

namespace tv {

// The per-user settings store: text values addressed by application, section and key.
//
// Responsibilities: read a value with a default, write one. Booleans are kept as the text
// of a boolean ("True"/"False"), numbers as their digits.
// Collaborations: QtSettingsStore (the real store), FakeSettingsStore (tests).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual QString value(const QString& application, const QString& section, const QString& key,
                          const QString& defaultValue = QString()) const = 0;
    // Writes a value; false when the store could not keep it (the operator is then told).
    virtual bool setValue(const QString& application, const QString& section, const QString& key,
                          const QString& value) = 0;
    // Why the application's store cannot be read (unreadable or damaged), in French words for
    // the operator; empty when it reads well or does not exist yet. Its values must then not be
    // taken for the station's: every key would give its default.
    virtual QString problem(const QString& application) const
    {
        (void)application;
        return {};
    }

    // A boolean read as the store keeps it: "True", "true" and any non-zero number are true,
    // "False", "false" and 0 are false; anything else gives the default.
    bool boolValue(const QString& application, const QString& section, const QString& key, bool defaultValue) const;
    bool setBool(const QString& application, const QString& section, const QString& key, bool value);

    // A whole number; text that is not a number gives the default.
    int intValue(const QString& application, const QString& section, const QString& key, int defaultValue) const;
    bool setInt(const QString& application, const QString& section, const QString& key, int value);
};

} // namespace tv
