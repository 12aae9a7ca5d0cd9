#pragma once

#include "entry/qso_entry.h"
#include "logstore/qso_list_model.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "station/station_session.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QGroupBox;
class QPushButton;
class QTableView;
class QTimer;

namespace tv {

class DepartmentGridWidget;
class EntryPanel;
class HelpWindow;
class RulesWindow;

// The main window `Main`: station, clock, the QSO list, the entry fields, the department grid,
// the score, and the menus that open every other window.
//
// Responsibilities: the start-up sequence, the clock, the option menus, help, closing.
// Collaborations: StationSession (shared state), QsoListModel (the list), the core services
// for every file it shows; it reads and writes no file itself.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up sequence: settings, first installation, band list, grid, list,
    // score, reminder. Returns false when the program must end (a station file is missing
    // and the operator chose how to go on).
    bool start();

    StationSession& session() { return m_session; }
    QsoListModel& qsoModel() { return m_model; }
    bool ended() const { return m_ended; }

    // The version history shown by "Historique", each line followed by CR LF.
    static QString historyText();
    // The reminder shown at every start.
    static QString startReminderText();
    static QString firstInstallText();
    // Shown when the first start's station dialog is closed without a station.
    static QString noStationText();
    // Shown at start-up when the settings store cannot be written.
    static QString settingsUnwritableText();

Q_SIGNALS:
    // The program must end (a station file is missing or unreadable); main() quits on it.
    void programEnded(int exitCode);

public Q_SLOTS:
    // One tick of the clock: the UTC and local times, and today's date of the chosen clock.
    void tick();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Entry (main_window_entry.cpp).
    void wireEntry();
    QWidget* fieldWidget(EntryField field) const;
    std::optional<EntryField> fieldOf(QObject* object) const;
    void runEntry(const std::function<EntryEffects()>& action);
    void readForm();
    void showForm(bool moveFocus);
    void applyEffects(const EntryEffects& effects);
    // Colours the grid for the band and mode and captions it; returns the department count.
    int refreshDepartments(const QByteArray& band, const QByteArray& mode, const QString& middle);
    void refreshScore();

    // Station and its files (main_window_station.cpp).
    void wireStationMenus();
    void openStationDialog(bool modal);
    void applyStation();
    void switchSession(bool toHf);
    void resetFiles();
    // Rebuilds the multiplier files from the log; false when the program must end.
    bool rebuildMultipliers();
    void backupAtClose();
    void warnPrefixFileSizes();

    // Reports and exports (main_window_reports.cpp).
    void wireReportMenus();

    void buildMenus();
    void buildCentre();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool enabled = true);

    QString jnm(const QString& section, const QString& key, const QString& defaultValue) const;
    QString stationSection() const;

    void applySessionBands();
    // Band and mode positions, option menus and event date from the station's settings.
    void applyStationSettings();
    // The station's callsign and locator in the labels and captions.
    void showStation();
    void applyUtcOption(bool utc);
    void applyDateOption(bool automatic);
    void setCaption();

    // Loads the log into the list; false when the program must end.
    bool loadQsoList(bool accentedCaption);
    void selectLastRow();
    // A station file could not be read: the missing-file window for a missing one, otherwise
    // "Erreur N° " and the number; both end the program.
    void stationFileFailed(const FileResult& result, const QString& missingTail);
    void endProgram();

    Services m_services;
    StationSession m_session;
    QsoListModel m_model;
    std::unique_ptr<QsoEntry> m_entryCore;
    QPointer<RulesWindow> m_rules;
    QPointer<HelpWindow> m_help;
    bool m_ended = false;
    bool m_closing = false;
    bool m_rebuilding = false; // the multiplier files are being rewritten

    // Menus.
    QAction* m_sessionHf = nullptr;
    QAction* m_sessionVhf = nullptr;
    QAction* m_autoYes = nullptr;
    QAction* m_autoNo = nullptr;
    QAction* m_utcYes = nullptr;
    QAction* m_utcNo = nullptr;

    // Station, date and clock.
    QLabel* m_stationCall = nullptr;    // I_Station
    QLabel* m_stationLocator = nullptr; // L_Station
    QGroupBox* m_dateFrame = nullptr;   // Frame7
    QLabel* m_date = nullptr;           // Label33
    QLabel* m_utcClock = nullptr;       // Label37
    QLabel* m_localClock = nullptr;     // Label34
    QTimer* m_timer = nullptr;          // Timer1

    // List, entry, grid, score.
    QGroupBox* m_logFrame = nullptr;        // Frame5
    QTableView* m_list = nullptr;           // Liste_QSO
    EntryPanel* m_entry = nullptr;          // Frame4
    DepartmentGridWidget* m_grid = nullptr; // Frame3
    QLabel* m_score = nullptr;              // P_QSO
    QLabel* m_debug = nullptr;              // NB_Debug

    QPushButton* m_record = nullptr;  // Enregistrer
    QPushButton* m_cancel = nullptr;  // Annuler
    QPushButton* m_edit = nullptr;    // Editer
    QPushButton* m_delete = nullptr;  // Effacer
    QPushButton* m_search = nullptr;  // Recherche
    QPushButton* m_cluster = nullptr; // Command1
};

} // namespace tv
