#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tv {

// The entry fields of the main window, in the order an operator fills them.
enum class EntryField {
    Band,        // Bande_A
    Mode,        // Mode_A
    Callsign,    // Indicatif_A
    Department,  // Depart_A
    Locator,     // Locator_A
    Activity,    // Activite_A
    Date,        // Date_A
    Start,       // Debut_A
    End,         // Fin_A
    RstReceived, // RSTR_A
    RstSent,     // RSTE_A
    FirstName,   // Prenom_A
    MillNumber,  // QTH_A
    MillName,    // Remarques_A
    Distance,    // Distance_A
    Azimuth,     // Azimut_A
    Record,      // the Enregistrer button, when it takes the focus
};
inline constexpr int kEntryFieldCount = 17;

// How a field is painted: the field expecting input is light green, a field already passed
// light yellow; Plain leaves the colour as it is.
enum class FieldColour { Plain, Expected, Passed };

struct FieldState {
    QString text;
    bool enabled = false;
    FieldColour colour = FieldColour::Plain;
};

// What the entry area shows: every field's text, enabling and colour, the focus, the captions
// and buttons. The core changes it; the window copies the typed texts in before each event
// and shows it after.
struct EntryForm {
    std::array<FieldState, kEntryFieldCount> fields;
    EntryField focus = EntryField::Mode;

    // The combo boxes: their list and the chosen index (-1 when the text typed is not in the list).
    QStringList bandList;
    int bandIndex = -1;
    QStringList modeList{QStringLiteral("SSB"), QStringLiteral("CW")};
    int modeIndex = 0;
    QStringList activityList{QStringLiteral("QSO"), QStringLiteral("MOULIN")};
    int activityIndex = 0;

    QString callsignLabel = QStringLiteral("Indicatif");   // Label5
    bool dmfVisible = false;                               // Label26
    QString recordCaption = QStringLiteral("QSO Suivant"); // Enregistrer
    bool recordEnabled = false;
    bool cancelEnabled = true;
    bool editEnabled = true;   // Editer
    bool deleteEnabled = true; // Effacer
    bool searchEnabled = true; // Recherche
    QString debugStep;         // NB_Debug

    FieldState& operator[](EntryField f) { return fields[size_t(f)]; }
    const FieldState& operator[](EntryField f) const { return fields[size_t(f)]; }
    QString text(EntryField f) const { return fields[size_t(f)].text; }
    void setText(EntryField f, const QString& t) { fields[size_t(f)].text = t; }

    // Enables, paints green and focuses a field.
    void expect(EntryField f)
    {
        (*this)[f].enabled = true;
        (*this)[f].colour = FieldColour::Expected;
        focus = f;
    }
    void pass(EntryField f) { (*this)[f].colour = FieldColour::Passed; }
};

} // namespace tv
