#pragma once

#include "entry/entry_form.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <optional>

namespace tv {

class StationSession;

// What the main window must do after an entry event, beside showing the form.
struct EntryEffects {
    // Colour the department grid again for this band and mode, and caption it with the count
    // (leading space), `gridCaptionMiddle`, the band, " en " and the mode.
    bool refreshGrid = false;
    QByteArray gridBand;
    QByteArray gridMode;
    QString gridCaptionMiddle;
    // Paint this grid cell light red (a department new on this band and mode).
    int newDepartmentCell = -1;
    // The log changed: reload the list from these lines (already written to the file).
    bool reloadList = false;
    // A line was appended to the log: add it to the list.
    std::optional<QByteArray> appendedLine;
    // The QSO-number caption: "QSO numéro " (or "QSO numero " after a reload) and this number;
    // when the list changed and no number is given, the new QSO count plus 1.
    std::optional<int> qsoNumber;
    bool qsoNumberAccented = true;
    bool selectLastRow = false;
    bool refreshScore = false;
    // The station's multiplier files must be rebuilt from the log (after an edit).
    bool rebuildMultipliers = false;
};

// The QSO entry: the checks of each field when Enter is pressed, the look-ups and warnings,
// recording, cancel, edit and delete.
//
// Responsibilities: keeps the values gathered while a contact is entered (callsign, DXCC
// prefix and entity, the new-prefix and new-department answers, the nomenclature's department
// and locator, the points) and drives the form: texts, enabling, colours, focus, captions.
// Writes the log line first and the multiplier marks and reference lists after it, so a
// failure never leaves a mark for a QSO that is not in the log.
// Collaborations: Services (dialogs, settings, clock, files), StationSession (station, session,
// band and mode in use, edit mode, QSO count), the log lines shown in the list.
class QsoEntry {
public:
    // `logLines` gives the lines of the list as loaded from the log (for the duplicate search
    // and the edit); the window owns them.
    QsoEntry(Services services, StationSession& session, std::function<const QList<QByteArray>&()> logLines);

    EntryForm& form() { return m_form; }
    const EntryForm& form() const { return m_form; }

    // The band list of the session (the band box's items).
    void setBandList(const QStringList& bands);

    // Enter in a field. The texts of the form must hold what the operator typed.
    EntryEffects enter(EntryField field);
    // Escape in a field: in an empty callsign field it hands the focus to the band; anywhere
    // else it cancels the entry, so that an operator in a pile-up drops a contact with one key.
    EntryEffects escape(EntryField field);
    // A mouse click in the band box.
    void clickBand();
    // A double click in the callsign, department or locator field empties it.
    void doubleClick(EntryField field);

    // "QSO Suivant" / "Valider".
    EntryEffects record();
    // "Annuler Saisie".
    EntryEffects cancel();
    // " Editer  QSO" on the list row `row` (-1 when none is selected).
    EntryEffects edit(int row);
    // "Effacer QSO" on the list row `row` (-1 when none is selected).
    EntryEffects remove(int row);

    // The French prefix set: the prefixes that count as French for the department and the mill.
    static bool isFrenchPrefix(const QByteArray& prefix);
    // The points a QSO on this band is worth: "1", "3", "4", "5" on HF, the distance on 144 Mhz,
    // nothing for other bands.
    static std::optional<QString> pointsFor(const QString& band, const QString& distance);

private:
    EntryEffects enterBand();
    EntryEffects enterMode();
    EntryEffects enterCallsign();
    EntryEffects enterDepartment();
    EntryEffects enterLocator();
    EntryEffects enterActivity();
    EntryEffects enterDate();
    EntryEffects enterStart();
    EntryEffects enterEnd();
    EntryEffects enterRstReceived();
    EntryEffects enterRstSent();
    EntryEffects enterFirstName();
    EntryEffects enterMillNumber();
    EntryEffects enterMillName();

    EntryEffects recordNew();
    EntryEffects recordEdit();
    void commonEnd(EntryEffects& effects);
    // Forgets the values gathered for the contact (after recording or cancelling).
    void clearGathered();
    // Checks every text of the contact before anything is written; false after a message.
    bool checkStorable();
    std::optional<QByteArray> buildLine(bool editVariant);
    void showDistance();
    void message(const QString& text);
    bool refuseUnstorable(EntryField field);
    void gridRefresh(EntryEffects& effects, const QString& middle) const;
    void restoreSelections();
    void setBandText(const QString& band);
    QString stationSection() const;
    bool automaticDate() const;
    bool utcTime() const;
    bool isHfSession() const;
    QByteArray bandBytes() const;
    QByteArray modeBytes() const;

    Services m_services;
    StationSession& m_session;
    std::function<const QList<QByteArray>&()> m_logLines;
    EntryForm m_form;

    // Values gathered while the contact is entered.
    QByteArray m_callsign;
    QByteArray m_department; // as entered; "96" / "97" for Corsica
    QByteArray m_dxccPrefix;
    QByteArray m_entity;
    bool m_newPrefix = false;    // the operator confirmed a new DXCC entity
    QByteArray m_departmentMark; // the department's mark on this band and mode; empty if unknown
    QByteArray m_nomenclatureDepartment;
    QByteArray m_nomenclatureLocator;
    bool m_firstNameFound = false;
    QString m_points;
    QByteArray m_lookupBand; // the band and mode of the callsign's look-ups
    QByteArray m_lookupMode;
    int m_editRow = -1;    // the list row being edited
    QByteArray m_editLine; // its line as loaded
};

} // namespace tv
