#pragma once

#include "entry/qso_entry.h"

#include <QGroupBox>
#include <QValidator>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tv {

// Turns the letters a to z into A to Z as they are typed (or pasted); every other character,
// accented letters included, stays as typed.
class AsciiUpperValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

// The entry fields of the main window (`Frame4`, caption "QSO numéro " and the next number),
// laid out in the order an operator fills them: band, mode, callsign, department, locator,
// activity, date and times, reports, first name, mill number and name; and the buttons that
// act on the entry (the window places them).
//
// Responsibilities: binds the fields to the entry core: for every Enter, Escape, click and
// double click it copies the typed texts into the core's form, calls the core and shows the
// form again (texts, enabling, colours, focus, captions); what else the window must show comes
// out as effectsReady().
class EntryPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit EntryPanel(QWidget* parent = nullptr);

    QComboBox* band = nullptr;        // Bande_A
    QComboBox* mode = nullptr;        // Mode_A
    QComboBox* activity = nullptr;    // Activite_A
    QLineEdit* date = nullptr;        // Date_A
    QLineEdit* callsign = nullptr;    // Indicatif_A
    QLineEdit* start = nullptr;       // Debut_A
    QLineEdit* end = nullptr;         // Fin_A
    QLineEdit* department = nullptr;  // Depart_A
    QLineEdit* locator = nullptr;     // Locator_A
    QLineEdit* rstSent = nullptr;     // RSTE_A
    QLineEdit* rstReceived = nullptr; // RSTR_A
    QLineEdit* millNumber = nullptr;  // QTH_A
    QLineEdit* firstName = nullptr;   // Prenom_A
    QLineEdit* millName = nullptr;    // Remarques_A
    QLineEdit* distance = nullptr;    // Distance_A
    QLineEdit* azimuth = nullptr;     // Azimut_A

    QLabel* dateLabel = nullptr;     // Label15: "Date automatique" / "Date manuelle"
    QLabel* callsignLabel = nullptr; // Label5: "Indicatif", "Nouvel indicatif", "Contacté le …"
    QLabel* dmfLabel = nullptr;      // Label26: "DMF", shown for a French mill

    QPushButton* record = nullptr; // Enregistrer
    QPushButton* cancel = nullptr; // Annuler
    QPushButton* edit = nullptr;   // Editer
    QPushButton* remove = nullptr; // Effacer
    QPushButton* search = nullptr; // Recherche

    // "QSO numéro " and the number; the list reload writes it without the accent.
    void setQsoNumber(int number, bool accented = true);

    // Hands the fields to the entry core; `selectedRow` gives the list row chosen for the edit
    // and the delete (-1 when none).
    void bind(QsoEntry* core, std::function<int()> selectedRow);
    // Runs a core action with the typed texts, then shows the form and hands on its effects.
    void run(const std::function<EntryEffects()>& action);
    // Copies the typed texts into the form, and shows the form.
    void readForm();
    void showForm(bool moveFocus);
    // The band box's items.
    void setBandList(const QStringList& bands);

Q_SIGNALS:
    void effectsReady(const tv::EntryEffects& effects);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* fieldWidget(EntryField field) const;
    std::optional<EntryField> fieldOf(QObject* object) const;

    QsoEntry* m_core = nullptr;
    std::function<int()> m_selectedRow;
};

} // namespace tv
