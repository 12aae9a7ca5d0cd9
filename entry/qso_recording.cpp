// Recording, cancelling, editing and deleting a QSO.

#include "entry/qso_entry.h"

#include "entry/entry_text.h"
#include "geo/clock_text.h"
#include "geo/locator.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/department_file.h"
#include "logstore/log_file.h"
#include "logstore/name_lists.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "station/station_session.h"

namespace tv {
namespace {

using F = EntryField;

using entrytext::bytes;
using entrytext::kCrlf;

QString shownDepartment(const QString& code)
{
    return cp1252::decode(entrytext::shownDepartment(cp1252::encode(code)));
}

QString fileError(const FileResult& result)
{
    return QStringLiteral("Erreur N° ") + QString::number(result.errorNumber) + QStringLiteral(" (") + result.reason() +
           QLatin1Char(')');
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

bool QsoEntry::checkStorable()
{
    for (F field : {F::Date, F::Callsign, F::Start, F::End, F::Department, F::Locator, F::Band, F::Mode, F::RstSent,
                    F::RstReceived, F::MillNumber, F::FirstName, F::MillName}) {
        if (refuseUnstorable(field))
            return false;
    }
    return true;
}

std::optional<QByteArray> QsoEntry::buildLine(bool editVariant)
{
    const bool mill = m_form.text(F::Activity) == QLatin1String("MOULIN");
    QsoRecord r;
    r.date = bytes(m_form.text(F::Date));
    r.callsign = bytes(editVariant ? m_form.text(F::Callsign).toUpper() : m_form.text(F::Callsign));
    r.start = bytes(m_form.text(F::Start));
    r.end = bytes(m_form.text(F::End));
    r.department = bytes(m_form.text(F::Department));
    r.locator = bytes(editVariant ? m_form.text(F::Locator).toUpper() : m_form.text(F::Locator));
    r.band = bytes(m_form.text(F::Band));
    r.mode = bytes(m_form.text(F::Mode));
    r.rstSent = bytes(m_form.text(F::RstSent));
    r.rstReceived = bytes(m_form.text(F::RstReceived));
    const QByteArray number = bytes(m_form.text(F::MillNumber));
    if (editVariant)
        r.millReference = (mill ? QByteArray("DMF ") : QByteArray("    ")) + number;
    else if (mill && (m_dxccPrefix == "TM" || m_dxccPrefix == "F" || m_dxccPrefix == "TO"))
        r.millReference = "DMF " + number;
    else
        r.millReference = number;
    r.firstName = bytes(m_form.text(F::FirstName));
    if (editVariant) {
        r.points = bytes(pointsFor(m_form.text(F::Band), m_form.text(F::Distance)).value_or(m_points));
        r.newDepartmentFlag = " ";
        r.newPrefixFlag = " ";
        r.countArea = qsoline::rawField(m_editLine, logcol::kCountArea);
    } else {
        r.points = bytes(m_points);
        r.newDepartmentFlag = m_departmentMark == "0" ? "1" : "0";
        r.newPrefixFlag = m_newPrefix ? "1" : "0";
        r.countArea = "1";
    }
    r.distance = bytes(m_form.text(F::Distance));
    r.azimuth = bytes(m_form.text(F::Azimuth));
    r.activity = QByteArray::number(std::max(0, m_form.activityIndex));
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
    if (!clocktext::isDateForm(m_form.text(F::Date))) {
        message(QStringLiteral("Attention le format date doit etre jj/mm/aa"));
        return {};
    }
    if (!clocktext::isTimeForm(m_form.text(F::Start))) {
        message(QStringLiteral("Attention le format date doit etre hh:mm"));
        return {};
    }
    m_form.setText(F::FirstName, cp1252::upperCase(m_form.text(F::FirstName)));
    if (!checkStorable())
        return {};
    if (!m_session.editMode() && (m_callsign.isEmpty() || bytes(m_form.text(F::Callsign)) != m_callsign ||
                                  bandBytes() != m_lookupBand || modeBytes() != m_lookupMode)) {
        // The look-ups (duplicate, prefix, department, nomenclature) belong to the callsign,
        // band and mode confirmed with Enter: a changed one is confirmed again first.
        message(QStringLiteral("Attention validez l'indicatif avec la touche Entrée avant d'enregistrer le QSO"));
        m_form.expect(F::Callsign);
        return {};
    }
    return m_session.editMode() ? recordEdit() : recordNew();
}

EntryEffects QsoEntry::recordNew()
{
    m_form.debugStep = QStringLiteral("2");
    const QString callsign = m_form.text(F::Callsign);
    const QString typedLocator = m_form.text(F::Locator);
    bool rememberStation = false;
    if (bytes(typedLocator) != m_nomenclatureLocator || m_department != m_nomenclatureDepartment) {
        const QString oldDepartment = m_nomenclatureDepartment.isEmpty()
                                          ? QStringLiteral("XX")
                                          : shownDepartment(cp1252::decode(m_nomenclatureDepartment));
        const QString oldLocator =
            m_nomenclatureLocator.isEmpty() ? QStringLiteral("XXXXXX") : cp1252::decode(m_nomenclatureLocator);
        rememberStation = m_services.dialogs.askYesNo(
            QStringLiteral("Remplacer ") + callsign + QStringLiteral(" Département ") + oldDepartment +
            QStringLiteral(" Locator ") + oldLocator + kCrlf + kCrlf + QStringLiteral("      par ") + callsign +
            QStringLiteral(" département ") + shownDepartment(cp1252::decode(m_department)) +
            QStringLiteral(" Locator ") + typedLocator + QStringLiteral(" ?"));
        if (rememberStation)
            m_form.debugStep = QStringLiteral("3");
    }
    const bool newDepartment = !m_departmentMark.isEmpty() && m_departmentMark.toInt() == 0;

    const bool automatic = automaticDate();
    if (automatic)
        m_form.setText(F::End, clocktext::time(m_services.clock, utcTime()).left(5));
    if (bands::isHf(bandBytes())) // HF QSO lines carry no locator
        m_form.setText(F::Locator, QString());

    const std::optional<QByteArray> line = buildLine(false);
    if (!line)
        return {};

    // The line goes into the log first: if it cannot be written, nothing else is.
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    LogFile log(m_services.files, paths.existingLog(m_services.files));
    EntryEffects effects;
    FileResult written;
    if (automatic) {
        m_form.debugStep = QStringLiteral("7");
        written = log.append(*line);
        effects.appendedLine = *line;
    } else {
        m_form.debugStep = QStringLiteral("8");
        written = log.replaceInOrder(std::nullopt, QByteArray(logcol::kLineLength, ' '), *line);
        effects.reloadList = true;
    }
    if (!written.ok()) {
        effects = {};
        message(fileError(written) + QStringLiteral(" : le QSO avec ") + callsign +
                QStringLiteral(" n'a pas été enregistré dans le log. La saisie est conservée, "
                               "corrigez le problème puis cliquez à nouveau sur « QSO Suivant »."));
        return effects;
    }
    m_form.dmfVisible = false;

    // Then the marks and the reference lists; a failure there leaves a QSO that the rebuild of
    // the multiplier files will count.
    QStringList failures;
    const std::optional<bands::Mode> mode = bands::modeOf(modeBytes());
    if (newDepartment && mode) {
        m_form.debugStep = QStringLiteral("4");
        DepartmentFile departments(m_services.files, paths);
        const FileResult marked = departments.setMark(m_department, '1', bandBytes(), *mode).result;
        if (!marked.ok())
            failures << paths.departments(*mode).section(QLatin1Char('/'), -1) + QStringLiteral(" : ") +
                            fileError(marked);
    }
    if (m_newPrefix && mode) {
        PrefixFile prefixes(m_services.files, paths);
        const PrefixFile::MarkResult marked = prefixes.markEntity(m_entity, bandBytes(), *mode);
        if (!marked.result.ok())
            failures << paths.prefixes(*mode).section(QLatin1Char('/'), -1) + QStringLiteral(" : ") +
                            fileError(marked.result);
        else if (!marked.prefix)
            message(QStringLiteral("Prefixe Inconnu"));
        else
            m_dxccPrefix = *marked.prefix;
    }
    NameLists lists(m_services.files, m_services.programDir);
    if (rememberStation) {
        const FileResult remembered = lists.rememberStation(m_callsign, m_department, bytes(typedLocator));
        if (!remembered.ok())
            failures << QStringLiteral("Nomenclature.txt : ") + fileError(remembered);
    }
    const FileResult named = lists.rememberFirstName(
        NameLists::firstNameLine(bytes(callsign), bytes(m_form.text(F::Department)), bytes(m_form.text(F::FirstName))),
        m_firstNameFound);
    if (!named.ok())
        failures << QStringLiteral("Liste_Prenom.txt : ") + fileError(named);
    if (!failures.isEmpty())
        message(QStringLiteral("Le QSO est enregistré dans le log, mais ces fichiers n'ont pas pu être mis à jour :") +
                kCrlf + failures.join(kCrlf) + kCrlf +
                QStringLiteral("Utilisez « MAJ fichiers Prefixes et département a partir du log » une fois le "
                               "problème corrigé."));

    m_form.debugStep = QStringLiteral("6");
    m_session.setBand(bandBytes());
    gridRefresh(effects, QStringLiteral(" Départements sur "));
    m_form.recordCaption = QStringLiteral("QSO Suivant");
    m_form.recordEnabled = false;
    effects.qsoNumberAccented = automatic;
    effects.selectLastRow = true;
    commonEnd(effects);
    return effects;
}

EntryEffects QsoEntry::recordEdit()
{
    m_form.debugStep = QStringLiteral("9");
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    LogFile log(m_services.files, paths.existingLog(m_services.files));
    const LogFile::Loaded current = log.load();
    if (current.result.ok() && current.lines.size() == 1) {
        message(QStringLiteral("Il doit y avoir au moins DEUX QSO d'enregistré pour pouvoir modifier le premier QSO"));
        return {};
    }
    if (bands::isHf(bandBytes()))
        m_form.setText(F::Locator, QString());
    const std::optional<QByteArray> line = buildLine(true);
    if (!line)
        return {};

    m_form.debugStep = QStringLiteral("10");
    const FileResult written = log.replaceInOrder(m_editRow, m_editLine, *line);
    if (!written.ok()) {
        message(fileError(written) + QStringLiteral(" : la correction du QSO n'a pas été enregistrée dans le log. "
                                                    "La saisie est conservée."));
        return {};
    }
    m_form.debugStep = QStringLiteral("12");
    const FileResult named = NameLists(m_services.files, m_services.programDir)
                                 .rememberFirstName(NameLists::firstNameLine(bytes(m_form.text(F::Callsign).toUpper()),
                                                                             bytes(m_form.text(F::Department)),
                                                                             bytes(m_form.text(F::FirstName))),
                                                    m_firstNameFound);
    if (!named.ok())
        message(QStringLiteral("Le QSO est corrigé dans le log, mais Liste_Prenom.txt n'a pas pu être mis à jour : ") +
                fileError(named));

    EntryEffects effects;
    effects.reloadList = true;
    effects.qsoNumberAccented = false;
    effects.selectLastRow = true;
    effects.rebuildMultipliers = true;
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
    m_session.setBand(bandBytes());
    gridRefresh(effects, QStringLiteral(" Dpts contacté(s) sur  "));
    commonEnd(effects);
    return effects;
}

void QsoEntry::commonEnd(EntryEffects& effects)
{
    m_form.debugStep = QStringLiteral("13");
    restoreSelections();
    for (F f : {F::Callsign, F::Department, F::Locator, F::Start, F::End, F::FirstName, F::MillNumber, F::Distance,
                F::Azimuth, F::MillName})
        m_form.setText(f, QString());
    if (automaticDate())
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
    effects.refreshScore = true;
}

void QsoEntry::clearGathered()
{
    m_callsign.clear();
    m_department.clear();
    m_dxccPrefix.clear();
    m_entity.clear();
    m_newPrefix = false;
    m_departmentMark.clear();
    m_nomenclatureDepartment.clear();
    m_nomenclatureLocator.clear();
    m_firstNameFound = false;
    m_points.clear();
    m_lookupBand.clear();
    m_lookupMode.clear();
}

EntryEffects QsoEntry::cancel()
{
    restoreSelections(); // the mode is then set back to "SSB" below
    m_session.setEditMode(false);
    m_editRow = -1;
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
    gridRefresh(effects, QStringLiteral(" Dpts contacté(s) sur "));
    m_form.callsignLabel = QStringLiteral("Indicatif");
    m_form.dmfVisible = false;
    for (F f : {F::Department, F::Locator, F::Mode, F::Activity, F::Date, F::Start, F::End, F::RstReceived, F::RstSent,
                F::FirstName, F::MillNumber, F::MillName})
        m_form[f].enabled = false;
    m_form.expect(F::Callsign);
    m_form.recordEnabled = false;
    m_form.recordCaption = QStringLiteral("QSO Suivant");
    m_form.cancelEnabled = m_form.searchEnabled = m_form.editEnabled = m_form.deleteEnabled = true;
    effects.qsoNumber = m_session.qsoCount() + 1;
    clearGathered();
    return effects;
}

EntryEffects QsoEntry::edit(int row)
{
    const QList<QByteArray>& lines = m_logLines();
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
    const int activity = qsoline::field(line, logcol::kActivity).toInt();
    m_form.activityIndex = activity == 1 ? 1 : 0;
    m_form.setText(F::Activity, m_form.activityList[m_form.activityIndex]);

    // The values the field checks rely on, as the callsign field would have found them.
    m_callsign = bytes(m_form.text(F::Callsign));
    m_dxccPrefix.clear();
    if (const std::optional<bands::Mode> mode = bands::modeOf(modeBytes())) {
        const StationPaths paths(m_services.programDir, m_session.storedCallsign());
        const PrefixFile prefixes(m_services.files, paths);
        const PrefixFile::Lookup first = prefixes.find(m_callsign, bandBytes(), *mode);
        if (first.match) {
            const PrefixFile::Lookup entity = prefixes.find(first.match->entity, bandBytes(), *mode);
            if (entity.match)
                m_dxccPrefix = entity.match->prefix;
        }
    }
    m_firstNameFound = NameLists(m_services.files, m_services.programDir).findFirstName(m_callsign).found;

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
    const QList<QByteArray>& lines = m_logLines();
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

    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    LogFile log(m_services.files, paths.existingLog(m_services.files));
    const FileResult removed = log.removeAt(row, line);
    if (!removed.ok()) {
        message(fileError(removed) + QStringLiteral(" : le QSO avec ") + callsign +
                QStringLiteral(" n'a pas été effacé, le log est inchangé."));
        return {};
    }
    EntryEffects effects;
    if (editing) {
        // The QSO being corrected may be the one deleted: the correction ends here.
        effects = cancel();
        effects.qsoNumber.reset(); // the reload gives the number
    }
    effects.reloadList = true;
    effects.qsoNumberAccented = false;
    effects.selectLastRow = true;
    effects.refreshScore = true;
    m_form[F::Callsign].enabled = true;
    m_form.focus = F::Callsign;
    m_form[F::Callsign].colour = FieldColour::Expected;
    m_session.setBand(bandBytes());
    gridRefresh(effects, QStringLiteral(" Dpts contacté(s) sur  "));
    return effects;
}

} // namespace tv
