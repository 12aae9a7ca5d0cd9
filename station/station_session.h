#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

namespace tv {

class SettingsStore;

// The station on the air and the operator's choices: who the station is, which session it works
// in, the band, mode and activity in use, the UTC and automatic-date options and the edit mode.
// The one owner of these: menus and combo boxes set them here and follow the signals; no window
// reads a menu check or a combo text as state. With a settings store, every choice is kept in
// the station's section ("bande Utilisee", "Mode Utilise", "Activite", "Heure UTC",
// "Date Automatique") as it is made.
class StationSession final : public QObject {
    Q_OBJECT
public:
    enum class Session { Hf, Vhf, Other };

    explicit StationSession(SettingsStore* settings = nullptr, QObject* parent = nullptr);

    // The callsign as stored and used in file names and settings sections ("_" for "/").
    const QString& storedCallsign() const { return m_storedCallsign; }
    // The callsign as shown: every "_" shown as "/".
    QString displayCallsign() const;
    static QString displayForm(const QString& storedCallsign);
    const QString& locator() const { return m_locator; }
    const QString& eventDate() const { return m_eventDate; }
    void setStation(const QString& storedCallsign, const QString& locator);
    void setEventDate(const QString& date);

    // Reads the station's choices from its settings section: session, locator, event date,
    // band, mode and activity positions, UTC and automatic date.
    void readSettings();

    Session session() const { return m_session; }
    QString sessionText() const { return m_sessionText; }
    // "HF", "VHF", or any other stored text (which leaves the session menus unchecked and the
    // band list of the last known session).
    void setSessionText(const QString& text);
    bool isHf() const { return m_session == Session::Hf; }
    // The bands the session offers, in the band box's order.
    const QList<QByteArray>& bandList() const;

    const QByteArray& band() const { return m_band; }
    const QByteArray& mode() const { return m_mode; }
    int bandIndex() const { return m_bandIndex; }
    int modeIndex() const { return m_modeIndex; }
    int activityIndex() const { return m_activityIndex; }
    static const QList<QByteArray>& modeList();
    static const QList<QByteArray>& activityList();
    // The band, mode or activity at that position of its list becomes the one in use and is
    // stored; a position outside the list changes nothing.
    void chooseBand(int index);
    void chooseMode(int index);
    void chooseActivity(int index);

    bool utc() const { return m_utc; }
    bool automaticDate() const { return m_automaticDate; }
    void setUtc(bool utc);
    void setAutomaticDate(bool automatic);

    bool editMode() const { return m_editMode; }
    void setEditMode(bool on);

Q_SIGNALS:
    void stationChanged();
    void sessionChanged();
    void bandOrModeChanged();
    void optionsChanged();
    void editModeChanged(bool on);
    // The settings store refused a choice: it holds for this run, not for the next start.
    void choiceNotStored();

private:
    QString section() const;
    void store(const QString& key, int value);

    SettingsStore* m_settings;
    QString m_storedCallsign;
    QString m_locator;
    QString m_eventDate;
    Session m_session = Session::Hf;
    QString m_sessionText = QStringLiteral("HF");
    QByteArray m_band;
    QByteArray m_mode = QByteArrayLiteral("SSB");
    int m_bandIndex = 0;
    int m_modeIndex = 0;
    int m_activityIndex = 0;
    bool m_utc = true;
    bool m_automaticDate = true;
    bool m_editMode = false;
};

} // namespace tv
