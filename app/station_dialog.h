#pragma once

#include "platform/services.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tv {

class StationSession;

// The window `Station` ("Identification de la station"): the station's callsign, locator and
// event date.
//
// Responsibilities: the typing rules (a-z typed as A-Z in the three fields, "/" typed as "_" in
// the callsign), the Enter chain (callsign, then the locator in a VHF session only, then the
// date, then `Validation`), and the validation: every check and message, the file set of a
// new station and its default settings, or the three settings of a known station; then the
// StationSession takes the station and the event date, `stationValidated()` is emitted and the
// window closes (accept()).
// When the window opens, `New_Indicatif` is enabled; `New_Locator`, `Nouv_Date` and
// `Validation` are disabled until the Enter chain reaches them.
// A station is new when its log does not exist (or at the first installation, where the files
// of the set that are missing are created and an existing log is kept); a log that exists but
// cannot be read is reported and nothing is written. Until a validation succeeds, no file and
// no setting changes and the previous station stays current.
// Collaborations: StationFileSet (files and settings), StationSession (the current station),
// Services (settings, messages, files, program directory).
class StationDialog final : public QDialog {
    Q_OBJECT
public:
    StationDialog(Services services, StationSession& session, QWidget* parent = nullptr);

    bool firstInstallation() const { return m_firstInstallation; }

Q_SIGNALS:
    // A station was validated: its settings are written and the StationSession holds it. The
    // main window reloads its list, grid, band and mode positions and option menus.
    void stationValidated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void load();
    void callsignEntered();
    void locatorEntered();
    void dateEntered();
    void validate();
    // Shows the message and gives the field the focus back.
    void refuse(QLineEdit* field, const QString& message);

    Services m_services;
    StationSession& m_session;
    QString m_currentCallsign; // the station current when the window opened
    bool m_firstInstallation = false;

    QLineEdit* m_callsign = nullptr;   // New_Indicatif
    QLineEdit* m_locator = nullptr;    // New_Locator
    QLineEdit* m_date = nullptr;       // Nouv_Date
    QPushButton* m_validate = nullptr; // Validation
};

} // namespace tv
