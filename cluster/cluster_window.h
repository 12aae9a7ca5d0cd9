#pragma once

#include "platform/services.h"
#include "spots/spot_list.h"
#include "spots/spot_source.h"

#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tv {

class Logbook;
class RigPanel;
class SerialPorts;
class StationSession;

// The "Cluster" window: the latest DX spots of one or two bands, from a spot server's pages or a
// telnet DX cluster, sorted, filtered, with an alert; a click on a spot tunes the radio.
//
// Responsibilities: the band lists and their settings (application "ZEZ", "bande Cluster",
// "bande Cluster 1", and the source's address "Serveur Cluster"), one fetch of the chosen bands
// at a time (Afficher, Enter in Indicatif, and every minute), the list arranged again from the
// spots in memory when a sort or a filter changes, mill spots marked and spots of stations
// already worked on their band and mode shown apart (following the Logbook), the alert sound
// for a wanted call or a mill spot new since the last fetch, failures shown in the window's
// status (with the "no reply" sound), never in a box every minute.
// Collaborations: SpotSource (HttpSpotSource, TelnetSpotSource) fetch; spotlist arranges;
// RigPanel tunes; Logbook says what was worked; Sound plays.
class ClusterWindow final : public QWidget {
    Q_OBJECT
public:
    // Makes the source for an address: "telnet://host:port" or a web server's base address.
    using SourceFactory = std::function<std::unique_ptr<SpotSource>(const QString& address)>;

    ClusterWindow(Services services, StationSession& session, Logbook& logbook, SerialPorts& ports,
                  QWidget* parent = nullptr);
    ~ClusterWindow() override;

    static ClusterWindow* showOrRaise(Services services, StationSession& session, Logbook& logbook, SerialPorts& ports,
                                      QWidget* parent);

    void setSourceFactory(SourceFactory factory);
    void setRefreshInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    bool fetching() const { return !m_pending.isEmpty(); }
    const QList<spotlist::Row>& rows() const { return m_rows; }

    // Fetches the chosen bands now (what Afficher does, without storing the bands).
    void fetchBands();

private:
    void build();
    QWidget* buildHeader();
    void restoreSettings();
    void storeBands();
    void chooseSort(spotlist::Sort sort);
    void askNext();
    void received(const QString& token, const QList<Spot>& spots);
    void failed(const QString& token, const QString& reason);
    void endFetch();
    void arrange();
    void alertNewSpots();
    spotlist::Filter filter() const;
    bool worked(const Spot& spot) const;
    void clicked(int row);
    void status(const QString& text);

    Services m_services;
    StationSession& m_session;
    Logbook& m_logbook;
    SourceFactory m_factory;
    std::unique_ptr<SpotSource> m_source;
    QString m_sourceAddress;

    QTimer m_timer;
    spotlist::Sort m_sort = spotlist::Sort::Date;
    QStringList m_pending;   // the tokens still to fetch
    QList<Spot> m_gathered;  // the spots of this fetch so far
    QList<Spot> m_spots;     // the spots of the last fetch
    QSet<QString> m_alerted; // spots already alerted for (callsign and QRG)
    QList<spotlist::Row> m_rows;

    QLineEdit* m_address = nullptr; // Serveur
    QComboBox* m_band1 = nullptr;   // Bande_CL
    QComboBox* m_band2 = nullptr;   // Bande_CL2
    QPushButton* m_show = nullptr;  // Afficher
    QLabel* m_wait = nullptr;       // Patientez
    QPushButton* m_sortButtons[3] = {};
    QListWidget* m_list = nullptr;    // Liste_Stations
    QCheckBox* m_french = nullptr;    // Check1
    QCheckBox* m_prefix = nullptr;    // Check2
    QCheckBox* m_alert = nullptr;     // Check3
    QCheckBox* m_mills = nullptr;     // Check4
    QCheckBox* m_millAlert = nullptr; // Check5
    QLineEdit* m_callsign = nullptr;  // Indicatif
    QLabel* m_time = nullptr;         // QTR
    QLabel* m_status = nullptr;       // Etat
    RigPanel* m_rig = nullptr;
};

} // namespace tv
