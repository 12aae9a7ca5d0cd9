#pragma once

#include "platform/services.h"
#include "stats/prefix_stats.h"

#include <QByteArray>
#include <QWidget>

#include <memory>

class QListWidget;

namespace tv {

class BandModeWidget;
class Logbook;
class StationSession;

// The window `Statistique_Prefixe` ("Statistiques Prefixes"): the DXCC entities contacted on
// the band and mode chosen (`Bande_E`, `Mode_AX`, the ones in use at the opening), listed in
// `Liste_Prefixes` when `Afficher` is clicked, and listed again whenever a QSO is recorded or
// the log is read again. The entities are worked out from the Logbook's lines (PrefixStats);
// the station's prefix file is read once, at the opening, for its prefixes and descriptions.
// One window at a time: showOrRaise() brings the open one to the front.
class PrefixStatsWindow final : public QWidget {
    Q_OBJECT
public:
    PrefixStatsWindow(Services services, const StationSession& session, const Logbook& logbook,
                      QWidget* parent = nullptr);
    static PrefixStatsWindow* showOrRaise(Services services, const StationSession& session, const Logbook& logbook,
                                          QWidget* parent);

public Q_SLOTS:
    void showEntities(); // Afficher

private:
    void refresh();

    const Logbook& m_logbook;
    std::unique_ptr<PrefixStats> m_stats;
    BandModeWidget* m_choice = nullptr;
    QListWidget* m_list = nullptr; // Liste_Prefixes
    QByteArray m_band;             // what the list shows; empty before Afficher
    QByteArray m_mode;
};

} // namespace tv
