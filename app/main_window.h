#pragma once

#include "entry/qso_entry.h"
#include "logstore/qso_list_model.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "station/logbook.h"
#include "station/station_session.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLabel;
class QGroupBox;
class QPushButton;
class QTableView;
class QTimer;

namespace tv {

class SerialPorts;

class DepartmentGridWidget;
class EntryPanel;
class HelpWindow;
class RulesWindow;

// The main window `Main`: station, clock, the QSO list, the entry fields, the department grid,
// the score, and the menus that open every other window.
//
// Responsibilities: shows the station and the log and follows their signals; turns menu items
// and the clock into calls of the core; opens the other windows.
// Collaborations: StationSession (station and choices), Logbook (the log, marks, score),
// QsoEntry through the EntryPanel; it reads and writes no file itself.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up: the station (through the station dialog the first time), its choices,
    // the log, the grid and the score, then the reminder. Returns false when the program must
    // end (no station, or a station file missing or unreadable).
    bool start();

    StationSession& session() { return m_session; }
    Logbook& logbook() { return m_logbook; }
    QsoListModel& qsoModel() { return m_model; }
    bool ended() const { return m_ended; }

Q_SIGNALS:
    // The program must end (a station file is missing or unreadable); main() quits on it.
    void programEnded(int exitCode);

public Q_SLOTS:
    // One tick of the clock: the UTC and local times, and today's date of the chosen clock.
    void tick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildCentre();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool enabled = true);
    void followCore();
    void applyEffects(const EntryEffects& effects);
    // Shows the grid for this band and mode (kept for the next change of marks).
    void showGrid(const QByteArray& band, const QByteArray& mode, const QString& middle);
    void showSession();
    void showOptions();
    void showStation();
    void selectRow(int row);

    // Station and its files (main_window_station.cpp).
    void wireStationMenus();
    void openStationDialog(bool modal);
    void applyStation();
    void switchSession(bool toHf);
    void resetFiles();
    // Rebuilds the multiplier files from the log; false when it failed.
    bool rebuildMultipliers();
    void backupAtClose();
    // A station file could not be read: the missing-file window for a missing one, otherwise
    // "Erreur N° " and the number; both end the program.
    void stationFileFailed(const QString& path, const FileResult& result);
    void endProgram();

    // Reports and exports (main_window_reports.cpp).
    void wireReportMenus();
    void wireAidsMenus();     // the operator aids' dock and menu item (main_window_aids.cpp)
    void wireLabelMenus();    // main_window_labels.cpp
    void wireStatsMenus();    // statistics, search, department QSOs (main_window_stats.cpp)
    void wireMapMenus();      // main_window_map.cpp
    void wireClusterButton(); // main_window_cluster.cpp
    void wireExchangeMenus(); // EDI export, ADIF import (main_window_exchange.cpp)
    // Alt letters, shortcuts, tab order, the aids' width (main_window_look.cpp), once every menu
    // exists.
    void wireLook();
    // The window's size and place of the last run; false when none is kept.
    bool restoreWindowGeometry();
    void storeWindowGeometry();

    Services m_services;
    StationSession m_session;
    Logbook m_logbook;
    QsoListModel m_model;
    std::unique_ptr<QsoEntry> m_entryCore;
    QPointer<RulesWindow> m_rules;
    QPointer<HelpWindow> m_help;
    bool m_ended = false;
    bool m_placed = false; // the size and place of the last run were restored
    bool m_closing = false;
    bool m_rebuilding = false;           // the multiplier files are being rewritten
    bool m_choiceNotStoredShown = false; // said once a run
    QByteArray m_gridBand;               // what the department grid shows
    QByteArray m_gridMode;
    QString m_gridMiddle;

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
    QGroupBox* m_logFrame = nullptr;            // Frame5
    QTableView* m_list = nullptr;               // Liste_QSO
    EntryPanel* m_entry = nullptr;              // Frame4
    DepartmentGridWidget* m_grid = nullptr;     // Frame3
    QLabel* m_score = nullptr;                  // P_QSO
    QLabel* m_debug = nullptr;                  // NB_Debug
    QPushButton* m_cluster = nullptr;           // Command1
    std::unique_ptr<SerialPorts> m_serialPorts; // the machine's serial ports, for the cluster window's rig
};

} // namespace tv
