#pragma once

#include "platform/services.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace tv {

class SettingsStore;

// The window `Gestion_Erreur` shown when a station file named by the settings is missing
// (error 53): it names the station and the missing file, and offers to forget the station
// ("Initialiser": the next start asks for a new one) or to quit.
//
// Responsibilities: show the texts, write the two settings of "Initialiser". The caller ends
// the program after the window closes, whatever the choice.
// Collaborations: SettingsStore (application "JNM", section "Setup ").
class MissingFileWindow final : public QDialog {
    Q_OBJECT
public:
    // How the window was closed: "Initialiser" (the settings are written) or "Quitter" (or the
    // close box: nothing is written).
    enum Outcome { Quit = QDialog::Rejected, Initialised = QDialog::Accepted };

    // `storedCallsign` is the station as the settings name it ("_" where the callsign has "/");
    // `tail` completes the missing file's name after it.
    MissingFileWindow(Services& services, const QString& storedCallsign, const QString& tail = logTail(),
                      QWidget* parent = nullptr);

    // The tails the callers show.
    static QString logTail() { return QStringLiteral(".log"); }
    static QString departmentTail() { return QStringLiteral("_Departement_SSB.txt ou Departement_CW.txt"); }
    static QString prefixTail() { return QStringLiteral("_Prefixe_SSB.txt ou Prefixe_CW.txt"); }

    void setTail(const QString& tail);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void initialise();

    SettingsStore& m_settings;
    QLabel* m_tail = nullptr;
};

} // namespace tv
