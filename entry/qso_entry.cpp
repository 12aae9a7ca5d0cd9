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

#include <QDate>

namespace tv {
namespace {

using F = EntryField;

using entrytext::bytes;
using entrytext::kCrlf;
using entrytext::shownDepartment;

bool isCalendarDate(const QString& text)
{
    const int yy = text.mid(6, 2).toInt();
    return QDate(yy >= 50 ? 1900 + yy : 2000 + yy, text.mid(3, 2).toInt(), text.left(2).toInt()).isValid();
}

bool isClockTime(const QString& text)
{
    return text.left(2).toInt() < 24 && text.mid(3, 2).toInt() < 60;
}

} // namespace

QsoEntry::QsoEntry(Services services, StationSession& session, std::function<const QList<QByteArray>&()> logLines)
    : m_services(services), m_session(session), m_logLines(std::move(logLines))
{
    m_form[F::Band].enabled = true;
    m_form[F::Mode].enabled = true;
    m_form[F::Callsign].enabled = true;
    m_form.setText(F::Mode, QStringLiteral("SSB"));
    m_form.setText(F::RstReceived, QStringLiteral("59"));
    m_form.setText(F::RstSent, QStringLiteral("59"));
    m_form.setText(F::Activity, QStringLiteral("QSO"));
}

bool QsoEntry::isFrenchPrefix(const QByteArray& prefix)
{
    static const QList<QByteArray> kFrench = {"F", "TH", "TM", "TP", "TQ", "TV", "TW", "HW", "HX", "HY"};
    return kFrench.contains(prefix);
}

std::optional<QString> QsoEntry::pointsFor(const QString& band, const QString& distance)
{
    const QByteArray b = cp1252::encode(band);
    if (const std::optional<int> points = bands::hfPoints(b))
        return QString::number(*points);
    if (b == bands::kVhfBand)
        return distance;
    return std::nullopt;
}

QString QsoEntry::stationSection() const
{
    return keys::stationSection(m_session.storedCallsign());
}

bool QsoEntry::automaticDate() const
{
    return m_services.settings.boolValue(keys::kJnm, stationSection(), keys::kDateAutomatique, true);
}

bool QsoEntry::utcTime() const
{
    return m_services.settings.boolValue(keys::kJnm, stationSection(), keys::kHeureUtc, true);
}

bool QsoEntry::isHfSession() const
{
    return m_session.isHf();
}

QByteArray QsoEntry::bandBytes() const
{
    return bytes(m_form.text(F::Band));
}

QByteArray QsoEntry::modeBytes() const
{
    return bytes(m_form.text(F::Mode));
}

void QsoEntry::message(const QString& text)
{
    m_services.dialogs.message(text);
}

void QsoEntry::setBandText(const QString& band)
{
    m_form.setText(F::Band, band);
    m_form.bandIndex = int(m_form.bandList.indexOf(band));
}

void QsoEntry::setBandList(const QStringList& list)
{
    m_form.bandList = list;
    m_form.bandIndex = int(list.indexOf(m_form.text(F::Band)));
}

void QsoEntry::restoreSelections()
{
    SettingsStore& s = m_services.settings;
    const int band = s.intValue(keys::kJnm, stationSection(), keys::kBandeUtilisee, 0);
    if (band >= 0 && band < m_form.bandList.size())
        setBandText(m_form.bandList[band]);
    const int mode = s.intValue(keys::kJnm, stationSection(), keys::kModeUtilise, 0);
    if (mode >= 0 && mode < m_form.modeList.size()) {
        m_form.modeIndex = mode;
        m_form.setText(F::Mode, m_form.modeList[mode]);
    }
    const int activity = s.intValue(keys::kJnm, stationSection(), keys::kActivite, 0);
    if (activity >= 0 && activity < m_form.activityList.size()) {
        m_form.activityIndex = activity;
        m_form.setText(F::Activity, m_form.activityList[activity]);
    }
}

void QsoEntry::gridRefresh(EntryEffects& effects, const QString& middle) const
{
    effects.refreshGrid = true;
    effects.gridBand = bandBytes();
    effects.gridMode = modeBytes();
    effects.gridCaptionMiddle = middle;
}

bool QsoEntry::refuseUnstorable(EntryField field)
{
    const QString text = m_form.text(field);
    if (cp1252::isStorableFieldText(text))
        return false;
    QString bad;
    for (const QChar ch : text) {
        if (!cp1252::isStorableFieldText(QString(ch))) {
            bad = ch.unicode() < 0x20 ? QStringLiteral("caractère de contrôle") : QString(ch);
            break;
        }
    }
    message(QStringLiteral("Attention le caractère « ") + bad +
            QStringLiteral(" » ne peut pas être enregistré dans le log, corrigez la saisie"));
    m_form.focus = field;
    return true;
}

EntryEffects QsoEntry::enter(EntryField field)
{
    // A refused value keeps the focus in its field; an accepted one moves it on.
    m_form.focus = field;
    if (field != F::Band && field != F::Mode && field != F::Activity && field != F::Record && refuseUnstorable(field))
        return {};
    switch (field) {
    case F::Band:
        return enterBand();
    case F::Mode:
        return enterMode();
    case F::Callsign:
        return enterCallsign();
    case F::Department:
        return enterDepartment();
    case F::Locator:
        return enterLocator();
    case F::Activity:
        return enterActivity();
    case F::Date:
        return enterDate();
    case F::Start:
        return enterStart();
    case F::End:
        return enterEnd();
    case F::RstReceived:
        return enterRstReceived();
    case F::RstSent:
        return enterRstSent();
    case F::FirstName:
        return enterFirstName();
    case F::MillNumber:
        return enterMillNumber();
    case F::MillName:
        return enterMillName();
    case F::Record:
        return record();
    case F::Distance:
    case F::Azimuth:
        return {};
    }
    return {};
}

EntryEffects QsoEntry::escape(EntryField field)
{
    if (field == F::Callsign && m_form.text(F::Callsign).isEmpty() && !m_session.editMode()) {
        m_form.focus = F::Band;
        m_form[F::Band].colour = FieldColour::Expected;
        m_form.pass(F::Callsign);
        return {};
    }
    return cancel();
}

void QsoEntry::clickBand()
{
    m_form.pass(F::Callsign);
    m_form[F::Callsign].enabled = false;
    m_form[F::Band].colour = FieldColour::Expected;
}

void QsoEntry::doubleClick(EntryField field)
{
    if (field == F::Callsign || field == F::Department || field == F::Locator)
        m_form.setText(field, QString());
}

EntryEffects QsoEntry::enterBand()
{
    EntryEffects effects;
    const QString band = m_form.text(F::Band);
    m_session.setBand(bytes(band));
    gridRefresh(effects, QStringLiteral(" Dpts contacté(s) sur "));
    if (!bands::indexOf(bytes(band))) {
        message(QStringLiteral("Attention vous ne pouver selectionner que les bandes proposées"));
        setBandText(QStringLiteral("144 MHz"));
        m_form.focus = F::Band;
        return effects;
    }
    m_form.bandIndex = int(m_form.bandList.indexOf(band));
    m_form.pass(F::Band);
    m_form.expect(F::Mode);
    m_form.pass(F::Callsign);
    m_form[F::Callsign].enabled = true;
    if (!m_session.editMode() && m_form.bandIndex >= 0)
        m_services.settings.setInt(keys::kJnm, stationSection(), keys::kBandeUtilisee, m_form.bandIndex);
    return effects;
}

EntryEffects QsoEntry::enterMode()
{
    const QString mode = m_form.text(F::Mode);
    if (mode.size() > 6) {
        message(QStringLiteral("Attention 6 caracteres maxi pour le mode de trafic"));
        return {};
    }
    if (mode != QLatin1String("SSB") && mode != QLatin1String("CW")) {
        message(QStringLiteral("Attention le mode doit etre uniquement SSB ou CW "));
        return {};
    }
    EntryEffects effects;
    m_form.modeIndex = int(m_form.modeList.indexOf(mode));
    m_session.setBand(bandBytes());
    m_session.setMode(bytes(mode));
    gridRefresh(effects, QStringLiteral(" Dpts contacté(s) sur "));
    m_form.pass(F::Mode);
    m_form.expect(F::Callsign);
    if (!m_session.editMode())
        m_services.settings.setInt(keys::kJnm, stationSection(), keys::kModeUtilise, m_form.modeIndex);
    return effects;
}

EntryEffects QsoEntry::enterCallsign()
{
    QString typed = m_form.text(F::Callsign);
    if (typed.trimmed().isEmpty()) {
        message(QStringLiteral("Attention vous devez entrer un indicatif"));
        return {};
    }
    if (typed.size() > 12) {
        message(QStringLiteral("Attention 12 caracteres maxi pour l'indicatif"));
        return {};
    }
    typed = typed.toUpper();
    m_form.setText(F::Callsign, typed);
    m_callsign.clear(); // confirmed only once the duplicate check passes
    const QByteArray callsign = bytes(typed);

    if (!m_session.editMode()) {
        const QByteArray band = bandBytes();
        const QByteArray mode = modeBytes();
        for (const QByteArray& line : m_logLines()) {
            if (qsoline::fieldEquals(line, logcol::kCallsign, callsign) &&
                qsoline::fieldEquals(line, logcol::kBand, band) && qsoline::fieldEquals(line, logcol::kMode, mode)) {
                m_form.callsignLabel =
                    QStringLiteral("Contacté le ") + cp1252::decode(qsoline::rawField(line, logcol::kDate));
                message(QStringLiteral("Station ") + typed + QStringLiteral("  ") +
                        cp1252::decode(qsoline::field(line, logcol::kMillReference)) +
                        QStringLiteral(" deja contactée sur ") + cp1252::decode(qsoline::field(line, logcol::kBand)) +
                        QStringLiteral(" a ") + cp1252::decode(qsoline::field(line, logcol::kStart)) +
                        QStringLiteral(" en ") + cp1252::decode(qsoline::field(line, logcol::kMode)));
                m_form.focus = F::Callsign;
                return {};
            }
            m_form.callsignLabel = QStringLiteral("Nouvel indicatif");
        }
    }

    m_callsign = callsign;
    m_lookupBand = bandBytes();
    m_lookupMode = modeBytes();

    // First name and department already known for this operator.
    const NameLists lists(m_services.files, m_services.programDir);
    const NameLists::FirstName known = lists.findFirstName(m_callsign);
    m_firstNameFound = known.found;
    if (!known.message.isEmpty()) {
        message(known.message);
    } else if (known.found) {
        m_form[F::Department].enabled = true;
        m_form[F::FirstName].enabled = true;
        m_form.setText(F::Department, cp1252::decode(known.department));
        m_form.setText(F::FirstName, cp1252::decode(known.firstName));
    }

    // DXCC prefix: the callsign's prefix line, then the line of its entity.
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    const PrefixFile prefixes(m_services.files, paths);
    const std::optional<bands::Mode> mode = bands::modeOf(modeBytes());
    m_dxccPrefix.clear();
    m_entity.clear();
    m_newPrefix = false;
    if (mode) {
        const PrefixFile::Lookup first = prefixes.find(m_callsign, bandBytes(), *mode);
        const PrefixFile::Lookup entity =
            first.match ? prefixes.find(first.match->entity, bandBytes(), *mode) : PrefixFile::Lookup{};
        if (!first.result.ok() || (first.match && !entity.result.ok())) {
            message(QStringLiteral("Erreur N° ") +
                    QString::number(first.result.ok() ? entity.result.errorNumber : first.result.errorNumber) +
                    QStringLiteral(" : fichier des préfixes illisible"));
        } else if (!first.match || !entity.match) {
            // One message, whether the callsign or its entity has no line.
            message(QStringLiteral("Prefixe Unknown"));
        } else {
            m_dxccPrefix = entity.match->prefix;
            m_entity = first.match->entity;
            // The description is shown without the blanks that pad the prefix file's lines.
            if (entity.match->mark == "0") {
                m_newPrefix = m_services.dialogs.askYesNo(
                    QStringLiteral(" Valider le prefixe DXCC : ") + cp1252::decode(entity.match->prefix) +
                    QStringLiteral("  ") + cp1252::decode(entity.match->description.trimmed()) + QStringLiteral(" ?"));
            }
        }
    }

    // Department and locator of the station in the nomenclature.
    const NameLists::Station station = lists.findStation(m_callsign);
    m_nomenclatureDepartment = station.department;
    m_nomenclatureLocator = station.locator;
    m_department = shownDepartment(station.department);
    m_form.setText(F::Locator, cp1252::decode(station.locator));

    // A French station gives its department, in VHF too (the department field then hands over
    // to the locator); others go on to the activity (HF) or the locator (VHF).
    m_departmentMark.clear();
    m_form.pass(F::Callsign);
    if (m_dxccPrefix == "F" || m_dxccPrefix == "TM")
        m_form.expect(F::Department);
    else if (isHfSession())
        m_form.expect(F::Activity);
    else
        m_form.expect(F::Locator);
    return {};
}

EntryEffects QsoEntry::enterDepartment()
{
    if (!isFrenchPrefix(m_dxccPrefix))
        return {};
    QString typed = m_form.text(F::Department).trimmed();
    if (typed.isEmpty()) {
        message(QStringLiteral("Attention le n° de departement est obligatoire pour la France"));
        return {};
    }
    if (typed.size() > 2) {
        message(QStringLiteral("Attention 2 caracteres pour le departement"));
        return {};
    }
    if (typed == QLatin1String("2A"))
        typed = QStringLiteral("2a");
    else if (typed == QLatin1String("2B"))
        typed = QStringLiteral("2b");
    else if (typed.size() == 1 && typed[0].isDigit())
        typed.prepend(QLatin1Char('0')); // "5" is department "05", as the files write it
    m_form.setText(F::Department, typed);
    m_department = bytes(typed);
    if (m_department == "2a")
        m_department = "96";
    else if (m_department == "2b")
        m_department = "97";

    EntryEffects effects;
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    const DepartmentFile departments(m_services.files, paths);
    const std::optional<bands::Mode> mode = bands::modeOf(modeBytes());
    m_departmentMark.clear();
    if (mode) {
        const DepartmentFile::Lookup found = departments.find(m_department, bandBytes(), *mode);
        if (found.result.ok() && !found.found) {
            // A department that is not in the list would never count as a multiplier.
            message(QStringLiteral("Attention le département ") + typed + QStringLiteral(" n'existe pas"));
            return {};
        }
        m_departmentMark = found.mark;
        if (found.mark == "0") {
            message(QStringLiteral("Attention nouveau département le ") +
                    cp1252::decode(shownDepartment(m_department)) + QLatin1Char(' ') + cp1252::decode(found.name));
            if (const std::optional<int> cell = DepartmentFile::cellOf(m_department))
                effects.newDepartmentCell = *cell;
        }
    }
    m_form.pass(F::Department);
    if (bandBytes() != bands::kVhfBand) {
        m_form.expect(F::Activity);
        m_form[F::Mode].enabled = true;
    } else {
        m_form.setText(F::Locator, cp1252::decode(m_nomenclatureLocator));
        m_form.expect(F::Locator);
    }
    return effects;
}

void QsoEntry::showDistance()
{
    const QString station = m_session.locator();
    const QString other = m_form.text(F::Locator);
    if (other.isEmpty()) {
        m_form.setText(F::Azimuth, QStringLiteral("?"));
        m_form.setText(F::Distance, QStringLiteral("?"));
    } else if (other == station) {
        m_form.setText(F::Azimuth, QStringLiteral("?"));
        m_form.setText(F::Distance, QStringLiteral("0"));
    } else if (!locator::isValidLocator(station)) {
        // Without the station's own locator a distance would be made up.
        m_form.setText(F::Azimuth, QStringLiteral("?"));
        m_form.setText(F::Distance, QStringLiteral("?"));
    } else {
        m_form.setText(F::Azimuth, QString::number(locator::azimuthDegrees(station, other)));
        m_form.setText(F::Distance, locator::distanceText(station, other));
    }
}

EntryEffects QsoEntry::enterLocator()
{
    const QString typed = m_form.text(F::Locator);
    if (typed.isEmpty()) {
        message(QStringLiteral("Attention vous devez entrer un locator"));
        return {};
    }
    if (typed.size() != 6) {
        message(QStringLiteral("Attention 6 caracteres pour le locator"));
        return {};
    }
    if (!locator::isValidLocator(typed)) {
        message(QStringLiteral("Erreur dans la saisie du locator"));
        return {};
    }
    if (!locator::isValidLocator(m_session.locator()) && typed != m_session.locator())
        message(QStringLiteral("Attention le locator de la station n'est pas renseigné (menu Station) : "
                               "la distance ne peut pas être calculée"));
    m_form.pass(F::Locator);
    showDistance();
    m_form.expect(F::Activity);
    return {};
}

EntryEffects QsoEntry::enterActivity()
{
    m_form.activityIndex = int(m_form.activityList.indexOf(m_form.text(F::Activity)));
    const bool mill = m_form.text(F::Activity) == QLatin1String("MOULIN");
    if (mill && isFrenchPrefix(m_dxccPrefix))
        m_form.dmfVisible = true;
    m_form.pass(F::Activity);
    if (automaticDate()) {
        m_form.setText(F::Date, clocktext::date(m_services.clock, utcTime()));
        m_form.setText(F::Start, clocktext::time(m_services.clock, utcTime()).left(5));
        m_form[F::Date].enabled = true;
        m_form[F::Start].enabled = true;
        m_form.expect(F::RstReceived);
    } else {
        m_form.expect(F::Date);
    }
    if (!m_session.editMode() && m_form.activityIndex >= 0)
        m_services.settings.setInt(keys::kJnm, stationSection(), keys::kActivite, m_form.activityIndex);
    return {};
}

EntryEffects QsoEntry::enterDate()
{
    const QString date = m_form.text(F::Date);
    if (date.isEmpty()) {
        message(QStringLiteral("Attention vous devez entrer une date (pour le classement) "));
        return {};
    }
    if (date.size() != 8) {
        message(QStringLiteral("Attention 8 caracteres pour la date (format jj/mm/aa)"));
        return {};
    }
    if (!clocktext::isDateForm(date) || !isCalendarDate(date)) {
        message(QStringLiteral("Attention le format date doit etre jj/mm/aa"));
        return {};
    }
    m_form.pass(F::Date);
    m_form.expect(F::Start);
    return {};
}

EntryEffects QsoEntry::enterStart()
{
    const QString start = m_form.text(F::Start);
    if (start.trimmed().isEmpty()) {
        message(QStringLiteral("Attention vous devez entrer l'heure de debut (pour le classement) "));
        return {};
    }
    if (!clocktext::isTimeForm(start) || !isClockTime(start)) {
        message(QStringLiteral("Attention le format de l'heure doit etre hh:mm"));
        return {};
    }
    m_form.pass(F::Start);
    m_form.setText(F::End, start);
    m_form.expect(F::End);
    return {};
}

EntryEffects QsoEntry::enterEnd()
{
    const QString end = m_form.text(F::End);
    if (!clocktext::isTimeForm(end) || !isClockTime(end)) {
        message(QStringLiteral("Attention le format de l'heure doit etre hh:mm"));
        return {};
    }
    m_form.pass(F::End);
    m_form.expect(F::RstReceived);
    return {};
}

EntryEffects QsoEntry::enterRstReceived()
{
    const QString rst = m_form.text(F::RstReceived);
    if (rst.isEmpty()) {
        message(QStringLiteral("Attention le report recu est obligatoire"));
        return {};
    }
    if (rst.size() > 8) {
        message(QStringLiteral("Attention 8 caracteres maxi pour le report reçu"));
        return {};
    }
    m_form.pass(F::RstReceived);
    m_form.expect(F::RstSent);
    return {};
}

EntryEffects QsoEntry::enterRstSent()
{
    const QString rst = m_form.text(F::RstSent);
    if (rst.isEmpty()) {
        message(QStringLiteral("Attention le report envoyé est obligatoire"));
        return {};
    }
    if (rst.size() > 8) {
        message(QStringLiteral("Attention 8 caracteres maxi pour le report envoyé"));
        return {};
    }
    m_form.pass(F::RstSent);
    m_form.expect(F::FirstName);
    return {};
}

EntryEffects QsoEntry::enterFirstName()
{
    if (m_form.text(F::FirstName).size() > 15) {
        message(QStringLiteral("Attention 15 caracteres maxi pour le prenom"));
        return {};
    }
    m_form.pass(F::FirstName);
    if (m_form.text(F::Activity) == QLatin1String("MOULIN"))
        m_form.expect(F::MillNumber);
    else
        m_form.expect(F::MillName);
    return {};
}

EntryEffects QsoEntry::enterMillNumber()
{
    const QString number = m_form.text(F::MillNumber);
    const bool mill = m_form.text(F::Activity) == QLatin1String("MOULIN");
    const bool french = isFrenchPrefix(m_dxccPrefix);
    if (mill && number.isEmpty()) {
        message(QStringLiteral("Attention la reference du Moulin est obligatoire"));
        return {};
    }
    if (mill && french && number.size() != 5) {
        message(QStringLiteral("            5 caracteres pour un moulin Francais ex: 59045") + kCrlf +
                QStringLiteral("Pour un moulin etranger la reference complete ex: WIM 7001"));
        return {};
    }
    // Compared without regard to case: the Corsican departments are "2a" / "2b" and their
    // mill numbers are typed in upper case.
    if (mill && french && number.left(2).compare(m_form.text(F::Department), Qt::CaseInsensitive) != 0) {
        message(QStringLiteral("Attention le n° du Moulin ne correspond pas au departement ") +
                m_form.text(F::Department));
        return {};
    }
    if (number.size() > 15) {
        message(QStringLiteral("Attention 15 caracteres maxi pour la reference du Moulin"));
        return {};
    }
    m_form.setText(F::MillNumber, number.toUpper());
    m_form.pass(F::MillNumber);
    m_form.cancelEnabled = true;
    m_form.expect(F::MillName);
    return {};
}

EntryEffects QsoEntry::enterMillName()
{
    if (m_form.text(F::MillName).size() > 30) {
        message(QStringLiteral("Attention 30 caracteres maxi pour le nom du Moulin"));
        return {};
    }
    if (const std::optional<QString> points = pointsFor(m_form.text(F::Band), m_form.text(F::Distance)))
        m_points = *points;
    m_form.pass(F::MillName);
    m_form.recordEnabled = true;
    m_form.cancelEnabled = true;
    m_form.focus = F::Record;
    return {};
}

} // namespace tv
