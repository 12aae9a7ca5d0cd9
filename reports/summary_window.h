#pragma once

#include "platform/services.h"
#include "reports/summary_sheet.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tv {

// The window `Recapitulation` ("Feuille récapitulative"): the summary sheet with its editable
// cells (`QSO1`..`QSO11`, `Point1`.., `MC1`.., `MD1`.., `MP1`.., `Tot_QSO`.., `VHF_QSO`..,
// `Total_Points`), the operator's fields, the category (`Option1`) and the session shown
// (`Option2`). `Enregistrer` stores the fields and writes the sheet file, `Imprimer` prints it.
//
// Everything is recounted each time the window is built: the live session from the station's
// log and multiplier files (the main window rebuilds the multiplier files just before), the
// other session from its archive (summary::loadDayScore), so the sheet of either session is
// the whole day. When one of those files cannot be read the operator is told which, and the
// sheet can be neither saved nor printed.
//
// There is one summary window at a time: showOrRaise() brings the open one to the front
// instead of building a second.
class SummaryWindow final : public QWidget {
    Q_OBJECT
public:
    // `hfSession`: `Mnu_Session_HF` is checked in the main window (which total row is shown and
    // scored). It prints on the services' printer.
    SummaryWindow(Services services, QString storedCallsign, QString eventDate, bool hfSession,
                  QWidget* parent = nullptr);

    // Shows the summary window, building it when none is open, or when the one open counts
    // another station, event date or session (that one is closed). `beforeBuilding`, when
    // given, runs first when a window is to be built; false stops there and gives nothing.
    // An open window is raised and activated, its cells as the operator left them.
    static SummaryWindow* showOrRaise(Services services, const QString& storedCallsign, const QString& eventDate,
                                      bool hfSession, QWidget* parent,
                                      const std::function<bool()>& beforeBuilding = {});

    // The sheet as the window shows it now.
    summary::Sheet sheet() const;

public Q_SLOTS:
    void save();  // Enregistrer
    void print(); // Imprimer

private:
    void build();
    void load();
    void showCells(const summary::Cells& cells);
    void applyCategory(int category);
    int selectedCategory() const;
    void refreshTotal();

    Services m_services;
    QString m_callsign;
    QString m_eventDate;
    bool m_hfSession;

    std::array<std::array<QLineEdit*, summary::kColumns>, summary::kRows> m_rows{};
    std::array<QLineEdit*, summary::kColumns> m_hfTotal{};
    std::array<QLineEdit*, summary::kColumns> m_vhfTotal{};
    QLineEdit* m_totalPoints = nullptr;

    QLineEdit* m_nom = nullptr;
    QLineEdit* m_prenom = nullptr;
    QLineEdit* m_indicatif = nullptr;
    QLineEdit* m_adresse1 = nullptr;
    QLineEdit* m_adresse2 = nullptr;
    QLineEdit* m_pays = nullptr;
    QLineEdit* m_reference = nullptr;
    QLineEdit* m_operateurs = nullptr;
    QLineEdit* m_commune = nullptr;
    QButtonGroup* m_category = nullptr; // Option1: ids 1, 2, 3
    QButtonGroup* m_session = nullptr;  // Option2: ids 1 (HF), 2 (VHF)
    QLabel* m_date = nullptr;           // JNM_Date
    QPushButton* m_save = nullptr;
    QPushButton* m_print = nullptr;
};

} // namespace tv
