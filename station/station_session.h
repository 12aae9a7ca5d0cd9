#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace tv {

// The state shared by the windows while the program runs: who the station is, which session
// it works in, the band and mode in use, the edit mode and the QSO count. Owned by the main
// window; other windows hold a reference and follow its signals.
class StationSession final : public QObject {
    Q_OBJECT
public:
    enum class Session { Hf, Vhf, Other };

    explicit StationSession(QObject* parent = nullptr);

    static inline const QString kRevision = QStringLiteral(" 1.1.2");

    // The callsign as stored and used in file names and settings sections ("_" for "/").
    const QString& storedCallsign() const { return m_storedCallsign; }
    // The callsign as shown: every "_" shown as "/".
    QString displayCallsign() const;
    static QString displayForm(const QString& storedCallsign);
    const QString& locator() const { return m_locator; }
    const QString& eventDate() const { return m_eventDate; }
    void setStation(const QString& storedCallsign, const QString& locator);
    void setEventDate(const QString& date);

    Session session() const { return m_session; }
    QString sessionText() const { return m_sessionText; }
    // "HF", "VHF", or any other stored text (which leaves the session menus unchecked).
    void setSessionText(const QString& text);
    bool isHf() const { return m_session == Session::Hf; }

    const QByteArray& band() const { return m_band; }
    const QByteArray& mode() const { return m_mode; }
    void setBand(const QByteArray& band);
    void setMode(const QByteArray& mode);

    bool editMode() const { return m_editMode; }
    void setEditMode(bool on);

    int qsoCount() const { return m_qsoCount; }
    void setQsoCount(int count);

Q_SIGNALS:
    void stationChanged();
    void sessionChanged();
    void bandOrModeChanged();
    void editModeChanged(bool on);
    void qsoCountChanged(int count);

private:
    QString m_storedCallsign;
    QString m_locator;
    QString m_eventDate;
    Session m_session = Session::Hf;
    QString m_sessionText = QStringLiteral("HF");
    QByteArray m_band;
    QByteArray m_mode;
    bool m_editMode = false;
    int m_qsoCount = 0;
};

} // namespace tv
