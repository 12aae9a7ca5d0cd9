#pragma once

#include <QGroupBox>
#include <QValidator>

class QComboBox;
class QLabel;
class QLineEdit;

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
// activity, date and times, reports, first name, mill number and name.
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

    // "QSO numéro " and the number; the list reload writes it without the accent.
    void setQsoNumber(int number, bool accented = true);
};

} // namespace tv
