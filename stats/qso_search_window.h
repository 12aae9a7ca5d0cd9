#pragma once

#include "platform/services.h"
#include "stats/qso_search.h"

#include <QByteArray>
#include <QList>
#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;

namespace tv {

class Logbook;

// The window `Recherche_Indicatif` ("Fenetre de recherche"): finds QSOs of the Logbook's lines
// by callsign (`Indica`), date (`Data`), department (`Depa`) or locator (`Loca`), chosen by the
// option buttons `Option1_1` to `Option1_4`. Enter in a field checks its text (qsosearch::check)
// and lists the QSOs found in `QSO_Effectues`; a click on one asks the main window to select it
// (qsoChosen) and closes the window. The last search is run again when a QSO is recorded or the
// log is read again. One window at a time: showOrRaise() brings the open one to the front.
class QsoSearchWindow final : public QWidget {
    Q_OBJECT
public:
    QsoSearchWindow(Services services, const Logbook& logbook, QWidget* parent = nullptr);
    static QsoSearchWindow* showOrRaise(Services services, const Logbook& logbook, QWidget* parent);

    // The fixed-pitch headings above the results, each over its column.
    static QString columnTitles();

Q_SIGNALS:
    // The operator chose the QSO at this row of the log.
    void qsoChosen(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter(qsosearch::Criterion criterion);
    void run(bool tellNoMatch);
    void choose(QListWidgetItem* item);

    Services m_services;
    const Logbook& m_logbook;
    std::array<QRadioButton*, 4> m_options{};
    std::array<QLineEdit*, 4> m_fields{}; // Indica, Data, Depa, Loca
    QListWidget* m_results = nullptr;     // QSO_Effectues
    QList<qsosearch::Match> m_matches;
    std::optional<std::pair<qsosearch::Criterion, QByteArray>> m_last;
};

} // namespace tv
