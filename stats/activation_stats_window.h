#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;
class QListWidget;

namespace tv {

class BandModeWidget;
class Logbook;
class StationSession;

// The window `Statistique_DFCF` ("Statistiques des activations contactées"): the mill
// activations contacted on the band and mode chosen (`Bande_E`, the band in use at the opening;
// `Mode_A`, "SSB"), listed in `Liste_Moulins` with their count `TotActiv` when `Afficher` is
// clicked, and again whenever a QSO is recorded or the log is read again. One window at a
// time: showOrRaise() brings the open one to the front.
class ActivationStatsWindow final : public QWidget {
    Q_OBJECT
public:
    ActivationStatsWindow(const StationSession& session, const Logbook& logbook, QWidget* parent = nullptr);
    static ActivationStatsWindow* showOrRaise(const StationSession& session, const Logbook& logbook, QWidget* parent);

public Q_SLOTS:
    void showActivations(); // Afficher

private:
    void refresh();

    const Logbook& m_logbook;
    BandModeWidget* m_choice = nullptr;
    QListWidget* m_list = nullptr; // Liste_Moulins
    QLabel* m_total = nullptr;     // TotActiv
    QLabel* m_kind = nullptr;      // TypActiv
    QLabel* m_bandShown = nullptr; // BandActiv
    QByteArray m_band;             // what the list shows; empty before Afficher
    QByteArray m_mode;
};

} // namespace tv
