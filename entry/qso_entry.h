#pragma once

#include "entry/entry_form.h"
#include "logstore/department_file.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <QByteArray>

#include <optional>

namespace tv {

class Logbook;
class StationSession;
struct QsoWrite;

// What the window shows beside the form after an entry event: the log's own changes (list,
// number, grid marks, score) reach it through the Logbook's signals.
struct EntryEffects {
    // Show the department grid for this band and mode, captioned with the count (leading
    // space), `gridCaptionMiddle`, the band, " en " and the mode.
    bool refreshGrid = false;
    QByteArray gridBand;
    QByteArray gridMode;
    QString gridCaptionMiddle;
    // Paint this grid cell light red (a department new on this band and mode).
    int newDepartmentCell = -1;
    // The QSO-number caption: "QSO numéro " and this number.
    std::optional<int> qsoNumber;
};

// The QSO entry: the checks of each field when Enter is pressed, the look-ups and warnings,
// recording, cancel, edit and delete.
//
// Responsibilities: drives the form (texts, enabling, colours, focus, captions) and keeps what
// the look-ups found for the callsign, band and mode confirmed with Enter (DXCC prefix and
// entity, the operator's answer on a new entity, the nomenclature's department and locator)
// and the department confirmed with Enter. At recording, new or edit, every value is checked
// again with the same rules as at Enter; a field that no longer agrees with its look-up sends
// the operator back to it; everything derived (department mark and flag, entity and flag,
// points, distance, azimuth, mill reference, first-name line) comes from the texts the fields
// hold then. The Logbook writes the line first, then the marks and the lists.
// Collaborations: Services (dialogs, clock, files for the look-ups), StationSession (station,
// session, band, mode and activity in use, options, edit mode), Logbook (lines, duplicates,
// writes).
class QsoEntry {
public:
    QsoEntry(Services services, StationSession& session, Logbook& logbook);

    EntryForm& form() { return m_form; }
    const EntryForm& form() const { return m_form; }

    // What the look-ups found for the callsign confirmed with Enter, on the band and mode they
    // were made for; an empty callsign before that.
    struct LookedUp {
        QByteArray callsign;
        QByteArray band;
        QByteArray mode;
        QByteArray dxccPrefix;
        QByteArray entity;
        bool entityNew = false; // not yet contacted on that band and mode
    };
    LookedUp lookedUp() const
    {
        const Confirmed& c = m_confirmed;
        return {c.callsign, c.band, c.mode, c.dxccPrefix, c.entity, c.entityNew};
    }

    // The band list of the session (the band box's items), taken from the station.
    void followSession();

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
    // Ready for a QSO at the callsign field, with the band, mode and activity in use.
    void reset();
    // "Annuler Saisie".
    EntryEffects cancel();
    // " Editer  QSO" on the list row `row` (-1 when none is selected).
    EntryEffects edit(int row);
    // "Effacer QSO" on the list row `row` (-1 when none is selected).
    EntryEffects remove(int row);

    // The points a QSO on this band is worth: "1", "3", "4", "5" on HF, the distance on 144 Mhz,
    // nothing for other bands.
    static std::optional<QString> pointsFor(const QString& band, const QString& distance);
    // A signal report: 2 or 3 digits, readability 1-5, strength 1-9, tone 1-9.
    static bool isReport(const QString& text);

private:
    EntryEffects enterBand();
    EntryEffects enterMode();
    EntryEffects enterCallsign();
    EntryEffects enterDepartment();
    EntryEffects enterLocator();
    EntryEffects enterActivity();
    EntryEffects enterFollowing(EntryField field);

    // The message refusing the field's text as it stands, or empty when it is accepted. The
    // same rules serve Enter and the recording.
    QString refusal(EntryField field) const;
    static QString reportRefusal(bool received, const QString& text);
    QString millNumberRefusal(const QString& text) const;
    // The fields a QSO holds, in the order they are entered.
    QList<EntryField> chain() const;
    // Sends the operator to the field: message, field enabled, green and focused.
    void sendBack(EntryField field, const QString& text);
    bool refuseUnstorable(EntryField field);

    // Checks every field again and derives what the line needs; nothing when the operator was
    // sent back to a field.
    std::optional<QsoWrite> prepare(bool editing);
    std::optional<QByteArray> buildLine(bool editing, const QByteArray& departmentMark);
    bool lookUpCallsign(bool ask);
    // The department file's line for the department typed, on the band and mode; the message
    // refusing the department when the file cannot be read or has no such line, else empty.
    QString lookUpDepartment(bands::Mode mode, DepartmentFile::Lookup& found) const;
    // "2A" / "2B" written "2a" / "2b", one digit padded ("5" is "05").
    void normaliseDepartment();
    EntryEffects recordNew();
    EntryEffects recordEdit();
    void reportOutcome(const QString& callsign, const struct QsoWriteOutcome& outcome, bool edit);
    void commonEnd();
    void clearGathered();
    void showDistance();
    void message(const QString& text);
    void gridRefresh(EntryEffects& effects, const QByteArray& band, const QByteArray& mode,
                     const QString& middle) const;
    void restoreSelections();
    void setBandText(const QString& band);
    bool isFrench() const;
    QByteArray bandBytes() const;
    QByteArray modeBytes() const;
    QByteArray departmentCode() const;

    Services m_services;
    StationSession& m_session;
    Logbook& m_logbook;
    EntryForm m_form;

    // What the callsign's look-ups found, for the callsign, band and mode they were made for.
    struct Confirmed {
        QByteArray callsign;
        QByteArray band;
        QByteArray mode;
        QByteArray dxccPrefix;
        QByteArray entity;
        bool entityNew = false;      // the entity was not yet contacted on the band and mode
        bool entityAccepted = false; // and the operator answered Yes
        QByteArray nomenclatureDepartment;
        QByteArray nomenclatureLocator;
        QString filledDepartment; // what the first-name list put in the fields
        QString filledFirstName;
    } m_confirmed;
    QString m_confirmedDepartment; // the department text accepted with Enter
    int m_editRow = -1;            // the list row being edited
    QByteArray m_editLine;         // its line as loaded
};

} // namespace tv
