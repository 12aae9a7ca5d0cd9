// Recording, cancelling, editing and deleting a QSO.

#include "entry/entry_text.h"
#include "entry/qso_entry.h"
#include "geo/clock_text.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/department_file.h"
#include "logstore/name_lists.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"
#include "platform/dialogs.h"
#include "station/logbook.h"
#include "station/station_session.h"

namespace tv {
namespace {

using F = EntryField;

using entrytext::bytes;
using entrytext::kCrlf;

QString shownDepartment(const QByteArray& code)
{
    return cp1252::decode(entrytext::shownDepartment(code));
}

// The name of the column a field fills, for the message of a value too long for the line.
QString columnName(const logcol::Column* column)
{
    if (!column)
        return QString();
    struct Named {
        int first;
        const char* name;
    };
    static const Named kNames[] = {{1, "la date"},
                                   {11, "l'indicatif"},
                                   {23, "l'heure de début"},
                                   {30, "l'heure de fin"},
                                   {37, "le département"},
                                   {42, "le locator"},
                                   {50, "la bande"},
                                   {60, "le mode"},
                                   {69, "le report envoyé"},
                                   {79, "le report reçu"},
                                   {89, "la référence du moulin"},
                                   {111, "le prénom"},
                                   {128, "les points"},
                                   {155, "la distance"},
                                   {161, "l'azimut"},
                                   {169, "le nom du moulin"}};
    for (const Named& n : kNames) {
        if (n.first == column->first)
            return QString::fromUtf8(n.name);
    }
    return QStringLiteral("un champ");
}

} // namespace

std::optional<QsoWrite> QsoEntry::prepare(bool editing)
{
    m_form.setText(F::Callsign, m_form.text(F::Callsign).trimmed().toUpper());
    m_form.setText(F::FirstName, cp1252::upperCase(m_form.text(F::FirstName).trimmed()));
    m_form.setText(F::MillNumber, m_form.text(F::MillNumber).trimmed().toUpper());
    m_form.setText(F::Locator, m_form.text(F::Locator).trimmed().toUpper());
    for (F f : {F::RstReceived, F::RstSent, F::MillName})
        m_form.setText(f, m_form.text(f).trimmed());
    if (isFrench() || editing)
        normaliseDepartment();

    const QByteArray callsign = bytes(m_form.text(F::Callsign));
    const bool sameLookUp =
        callsign == m_confirmed.callsign && bandBytes() == m_confirmed.band && modeBytes() == m_confirmed.mode;
    if (editing && !sameLookUp && refusal(F::Callsign).isEmpty()) {
        // An edit looks the changed callsign up again, without questions: the rebuild that
        // follows it counts the multipliers from the log.
        m_confirmed.callsign = callsign;
        if (!lookUpCallsign(false)) {
            m_form.expect(F::Callsign);
            return std::nullopt;
        }
    }
    if (!editing && !sameLookUp) {
        // The duplicate search, the prefix, the nomenclature and the first name belong to the
        // callsign, band and mode confirmed with Enter: a changed one is confirmed again first.
        const QString why = refusal(F::Callsign);
        sendBack(F::Callsign, !why.isEmpty() ? why
                                             : QStringLiteral("Attention validez l'indicatif avec la touche Entrée "
                                                              "avant d'enregistrer le QSO"));
        return std::nullopt;
    }
    for (F f : chain()) {
        if (refuseUnstorable(f))
            return std::nullopt;
        if (const QString why = refusal(f); !why.isEmpty()) {
            sendBack(f, why);
            return std::nullopt;
        }
    }
    if (!editing && isFrench() && m_form.text(F::Department) != m_confirmedDepartment) {
        sendBack(F::Department, QStringLiteral("Attention validez le département avec la touche Entrée avant "
                                               "d'enregistrer le QSO"));
        return std::nullopt;
    }

    QsoWrite qso;
    if (isFrench()) {
        // The department's mark, read again for the band and mode recorded.
        DepartmentFile::Lookup found;
        if (const QString why = lookUpDepartment(*bands::modeOf(modeBytes()), found); !why.isEmpty()) {
            sendBack(F::Department, why);
            return std::nullopt;
        }
        if (!editing && found.mark == "0")
            qso.departmentToMark = departmentCode();
    } else {
        // Only a French station gives a department: one left from another callsign is not its.
        m_form.setText(F::Department, QString());
    }
    if (!bands::isHf(bandBytes()))
        showDistance();
    if (!editing && m_confirmed.entityNew && m_confirmed.entityAccepted)
        qso.entityToMark = m_confirmed.entity;
    qso.firstNameLine =
        NameLists::firstNameLine(callsign, bytes(m_form.text(F::Department)), bytes(m_form.text(F::FirstName)));
    return qso;
}

std::optional<QByteArray> QsoEntry::buildLine(bool editing, const QByteArray& departmentMark)
{
    const bool mill = m_form.text(F::Activity) == QLatin1String("MOULIN");
    QsoRecord r;
    r.date = bytes(m_form.text(F::Date));
    r.callsign = bytes(m_form.text(F::Callsign));
    r.start = bytes(m_form.text(F::Start));
    r.end = bytes(m_form.text(F::End));
    r.department = bytes(m_form.text(F::Department));
    r.locator = bytes(m_form.text(F::Locator));
    r.band = bandBytes();
    r.mode = modeBytes();
    r.rstSent = bytes(m_form.text(F::RstSent));
    r.rstReceived = bytes(m_form.text(F::RstReceived));
    const QByteArray number = bytes(m_form.text(F::MillNumber));
    // "DMF " marks a French mill; a foreign mill's reference ("WIM 7001") is written whole.
    r.millReference = mill && isFrench() ? "DMF " + number : number;
    r.firstName = bytes(m_form.text(F::FirstName));
    r.points = bytes(pointsFor(m_form.text(F::Band), m_form.text(F::Distance)).value_or(QString()));
    if (editing) {
        r.newDepartmentFlag = " ";
        // A refused entity stays refused while the QSO keeps its callsign, band and mode.
        const bool sameContact = qsoline::field(m_editLine, logcol::kCallsign) == r.callsign &&
                                 qsoline::field(m_editLine, logcol::kBand) == r.band &&
                                 qsoline::field(m_editLine, logcol::kMode) == r.mode;
        const bool refused =
            qsoline::rawField(m_editLine, logcol::kNewPrefixFlag) == QByteArray(1, logcol::kEntityRefused);
        r.newPrefixFlag = sameContact && refused ? QByteArray(1, logcol::kEntityRefused) : QByteArray(" ");
        r.countArea = qsoline::rawField(m_editLine, logcol::kCountArea);
    } else {
        r.newDepartmentFlag = departmentMark.isEmpty() ? "0" : "1";
        r.newPrefixFlag = !m_confirmed.entityNew ? "0" : m_confirmed.entityAccepted ? "1" : "N";
        r.countArea = "1";
    }
    r.distance = bytes(m_form.text(F::Distance));
    r.azimuth = bytes(m_form.text(F::Azimuth));
    r.activity = QByteArray::number(mill ? 1 : 0);
    r.millName = bytes(m_form.text(F::MillName));

    const logcol::Column* tooLong = nullptr;
    std::optional<QByteArray> line = qsoline::build(r, &tooLong);
    if (!line)
        message(QStringLiteral("Attention ") + columnName(tooLong) +
                QStringLiteral(" est trop long pour le log : corrigez la saisie"));
    return line;
}

EntryEffects QsoEntry::record()
{
    m_form.debugStep = QStringLiteral("1");
    return m_session.editMode() ? recordEdit() : recordNew();
}

void QsoEntry::reportOutcome(const QString& callsign, const QsoWriteOutcome& outcome, bool edit)
{
    if (!outcome.logWritten()) {
        message(Logbook::errorText(outcome.log) +
                (edit ? QStringLiteral(" : la correction du QSO n'a pas été enregistrée dans le log. "
                                       "La saisie est conservée.")
                      : QStringLiteral(" : le QSO avec ") + callsign +
                            QStringLiteral(" n'a pas été enregistré dans le log. La saisie est conservée, corrigez "
                                           "le problème puis cliquez à nouveau sur « QSO Suivant ».")));
        return;
    }
    if (outcome.unknownEntity)
        message(PrefixFile::unknownEntityMessage());
    if (!outcome.failures.isEmpty())
        message(QStringLiteral("Le QSO est enregistré dans le log, mais ces fichiers n'ont pas pu être mis à jour :") +
                kCrlf + outcome.failures.join(kCrlf) + kCrlf +
                QStringLiteral("Utilisez « MAJ fichiers Prefixes et département a partir du log » une fois le "
                               "problème corrigé."));
}

EntryEffects QsoEntry::recordNew()
{
    if (m_session.automaticDate()) {
        // With the automatic date the QSO ends when it is recorded.
        const CalendarTime now = m_session.utc() ? m_services.clock.utcNow() : m_services.clock.localNow();
        m_form.setText(F::End, clocktext::timeText(now).left(5));
    }
    std::optional<QsoWrite> qso = prepare(false);
    if (!qso)
        return {};
    m_form.debugStep = QStringLiteral("2");
    const QString callsign = m_form.text(F::Callsign);
    const QString typedLocator = m_form.text(F::Locator);
    const QByteArray department = departmentCode();
    const Confirmed& c = m_confirmed;
    if (bytes(typedLocator) != c.nomenclatureLocator || department != c.nomenclatureDepartment) {
        const QString oldDepartment =
            c.nomenclatureDepartment.isEmpty() ? QStringLiteral("XX") : shownDepartment(c.nomenclatureDepartment);
        const QString oldLocator =
            c.nomenclatureLocator.isEmpty() ? QStringLiteral("XXXXXX") : cp1252::decode(c.nomenclatureLocator);
        if (m_services.dialogs.askYesNo(QStringLiteral("Remplacer ") + callsign + QStringLiteral(" Département ") +
                                        oldDepartment + QStringLiteral(" Locator ") + oldLocator + kCrlf + kCrlf +
                                        QStringLiteral("      par ") + callsign + QStringLiteral(" département ") +
                                        shownDepartment(department) + QStringLiteral(" Locator ") + typedLocator +
                                        QStringLiteral(" ?"))) {
            m_form.debugStep = QStringLiteral("3");
            qso->station = std::array<QByteArray, 3>{c.callsign, department, bytes(typedLocator)};
        }
    }
    qso->inDateOrder = !m_session.automaticDate();
    if (bands::isHf(bandBytes())) // HF QSO lines carry no locator
        m_form.setText(F::Locator, QString());
    const std::optional<QByteArray> line = buildLine(false, qso->departmentToMark);
    if (!line)
        return {};
    qso->line = *line;

    // The Logbook writes the line first: if it cannot be written, nothing else is.
    m_form.debugStep = qso->inDateOrder ? QStringLiteral("8") : QStringLiteral("7");
    const QsoWriteOutcome outcome = m_logbook.record(*qso);
    reportOutcome(callsign, outcome, false);
    if (!outcome.logWritten())
        return {};
    m_form.dmfVisible = false;
    m_form.debugStep = QStringLiteral("6");
    m_form.recordCaption = QStringLiteral("QSO Suivant");
    m_form.recordEnabled = false;
    EntryEffects effects;
    commonEnd();
    gridRefresh(effects, m_session.band(), m_session.mode(), QStringLiteral(" Départements sur "));
    return effects;
}

EntryEffects QsoEntry::recordEdit()
{
    m_form.debugStep = QStringLiteral("9");
    if (m_logbook.count() == 1) {
        message(QStringLiteral("Il doit y avoir au moins DEUX QSO d'enregistré pour pouvoir modifier le premier QSO"));
        return {};
    }
    std::optional<QsoWrite> qso = prepare(true);
    if (!qso)
        return {};
    if (bands::isHf(bandBytes()))
        m_form.setText(F::Locator, QString());
    const std::optional<QByteArray> line = buildLine(true, QByteArray());
    if (!line)
        return {};
    qso->line = *line;

    m_form.debugStep = QStringLiteral("10");
    const QsoWriteOutcome outcome = m_logbook.replace(m_editRow, m_editLine, *qso);
    reportOutcome(m_form.text(F::Callsign), outcome, true);
    if (!outcome.logWritten())
        return {};
    m_form.debugStep = QStringLiteral("12");
    for (F f : {F::Department, F::Locator, F::Mode, F::Activity, F::Date, F::Start, F::End, F::RstReceived, F::RstSent,
                F::FirstName, F::MillNumber, F::MillName})
        m_form[f].enabled = false;
    m_form[F::Callsign].enabled = true;
    m_form[F::Band].enabled = true;
    m_form.recordEnabled = false;
    m_form.recordCaption = QStringLiteral("QSO Suivant");
    m_form.searchEnabled = m_form.cancelEnabled = m_form.editEnabled = m_form.deleteEnabled = true;
    m_session.setEditMode(false);
    m_editRow = -1;
    EntryEffects effects;
    commonEnd();
    gridRefresh(effects, m_session.band(), m_session.mode(), QStringLiteral(" Dpts contacté(s) sur  "));
    return effects;
}

void QsoEntry::commonEnd()
{
    m_form.debugStep = QStringLiteral("13");
    restoreSelections();
    for (F f : {F::Callsign, F::Department, F::Locator, F::Start, F::End, F::FirstName, F::MillNumber, F::Distance,
                F::Azimuth, F::MillName})
        m_form.setText(f, QString());
    if (m_session.automaticDate())
        m_form.setText(F::Date, QString());
    m_form[F::Mode].enabled = true;
    m_form[F::Activity].enabled = false;
    m_form.setText(F::RstReceived, QStringLiteral("59"));
    m_form.setText(F::RstSent, QStringLiteral("59"));
    m_form.callsignLabel = QStringLiteral("Indicatif");
    for (F f : {F::Band, F::Department, F::Mode})
        m_form.pass(f);
    m_form.expect(F::Callsign);
    for (F f : {F::Department, F::Locator, F::Date, F::Start, F::End, F::RstReceived, F::RstSent, F::FirstName,
                F::MillNumber, F::MillName})
        m_form[f].enabled = false;
    clearGathered();
}

void QsoEntry::reset()
{
    commonEnd();
    m_form.debugStep.clear();
}

void QsoEntry::clearGathered()
{
    m_confirmed = Confirmed{};
    m_confirmedDepartment.clear();
}

EntryEffects QsoEntry::cancel()
{
    m_session.setEditMode(false);
    m_editRow = -1;
    restoreSelections(); // the mode is then set back to "SSB" below
    for (F f : {F::Callsign, F::Department, F::Locator, F::Date, F::Start, F::End, F::FirstName, F::MillNumber,
                F::MillName, F::Distance, F::Azimuth})
        m_form.setText(f, QString());
    m_form.setText(F::Mode, QStringLiteral("SSB"));
    m_form.modeIndex = 0;
    m_form.setText(F::RstReceived, QStringLiteral("59"));
    m_form.setText(F::RstSent, QStringLiteral("59"));
    for (FieldState& field : m_form.fields)
        field.colour = FieldColour::Passed;

    EntryEffects effects;
    gridRefresh(effects, bandBytes(), modeBytes(), QStringLiteral(" Dpts contacté(s) sur "));
    m_form.callsignLabel = QStringLiteral("Indicatif");
    m_form.dmfVisible = false;
    for (F f : {F::Department, F::Locator, F::Mode, F::Activity, F::Date, F::Start, F::End, F::RstReceived, F::RstSent,
                F::FirstName, F::MillNumber, F::MillName})
        m_form[f].enabled = false;
    m_form.expect(F::Callsign);
    m_form.recordEnabled = false;
    m_form.recordCaption = QStringLiteral("QSO Suivant");
    m_form.cancelEnabled = m_form.searchEnabled = m_form.editEnabled = m_form.deleteEnabled = true;
    effects.qsoNumber = m_logbook.count() + 1;
    clearGathered();
    return effects;
}

EntryEffects QsoEntry::edit(int row)
{
    const QList<QByteArray>& lines = m_logbook.lines();
    if (row < 0 || row >= lines.size()) {
        message(QStringLiteral("Selectionnez d'abord un QSO"));
        return {};
    }
    m_session.setEditMode(true);
    m_editRow = row;
    m_editLine = lines[row];
    const QByteArray& line = m_editLine;
    for (FieldState& field : m_form.fields)
        field.colour = FieldColour::Passed;

    auto load = [this, &line](F f, logcol::Column column) {
        m_form[f].enabled = true;
        m_form.setText(f, cp1252::decode(qsoline::field(line, column)));
    };
    load(F::Callsign, logcol::kCallsign);
    load(F::Department, logcol::kDepartment);
    load(F::Locator, logcol::kLocator);
    load(F::Band, logcol::kBand);
    m_form.bandIndex = int(m_form.bandList.indexOf(m_form.text(F::Band)));
    load(F::Mode, logcol::kMode);
    m_form.modeIndex = int(m_form.modeList.indexOf(m_form.text(F::Mode)));
    load(F::Date, logcol::kDate);
    load(F::Start, logcol::kStart);
    load(F::End, logcol::kEnd);
    load(F::RstSent, logcol::kRstSent);
    load(F::RstReceived, logcol::kRstReceived);
    load(F::FirstName, logcol::kFirstName);
    load(F::MillName, logcol::kMillName);
    // The mill number without its "DMF "; a reference recorded without it is loaded whole.
    QByteArray reference = qsoline::field(line, logcol::kMillReference);
    if (reference.startsWith("DMF "))
        reference = reference.mid(4).trimmed();
    m_form[F::MillNumber].enabled = true;
    m_form.setText(F::MillNumber, cp1252::decode(reference));
    showDistance();

    m_form[F::Activity].enabled = true;
    m_form.activityIndex = qsoline::field(line, logcol::kActivity).toInt() == 1 ? 1 : 0;
    m_form.setText(F::Activity, m_form.activityList[m_form.activityIndex]);

    // The values the field checks rely on, as the callsign field would have found them.
    clearGathered();
    m_confirmed.callsign = bytes(m_form.text(F::Callsign));
    lookUpCallsign(false);

    m_form.recordEnabled = true;
    m_form.recordCaption = QStringLiteral("Valider");
    m_form.searchEnabled = m_form.editEnabled = m_form.deleteEnabled = false;
    EntryEffects effects;
    effects.qsoNumber = row + 1;
    m_form.expect(F::Band);
    return effects;
}

EntryEffects QsoEntry::remove(int row)
{
    const QList<QByteArray>& lines = m_logbook.lines();
    if (row < 0 || row >= lines.size()) {
        message(QStringLiteral("Selectionnez d'abord un QSO"));
        return {};
    }
    const QByteArray line = lines[row];
    const QString callsign = cp1252::decode(qsoline::field(line, logcol::kCallsign));
    const bool editing = m_session.editMode();
    if (!editing && !m_services.dialogs.askYesNo(QStringLiteral("Effacer le QSO avec la station ") + callsign +
                                                 QStringLiteral(" ?")))
        return {};

    const QsoWriteOutcome outcome = m_logbook.remove(row, line);
    if (!outcome.logWritten()) {
        message(Logbook::errorText(outcome.log) + QStringLiteral(" : le QSO avec ") + callsign +
                QStringLiteral(" n'a pas été effacé, le log est inchangé."));
        return {};
    }
    if (!outcome.failures.isEmpty())
        message(QStringLiteral("Le QSO est effacé du log, mais ces fichiers n'ont pas pu être mis à jour :") + kCrlf +
                outcome.failures.join(kCrlf));
    EntryEffects effects;
    if (editing) {
        // The QSO being corrected may be the one deleted: the correction ends here.
        effects = cancel();
        effects.qsoNumber.reset(); // the reload gives the number
    }
    m_form[F::Callsign].enabled = true;
    m_form.focus = F::Callsign;
    m_form[F::Callsign].colour = FieldColour::Expected;
    gridRefresh(effects, m_session.band(), m_session.mode(), QStringLiteral(" Dpts contacté(s) sur  "));
    return effects;
}

} // namespace tv
