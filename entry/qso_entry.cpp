#include "entry/qso_entry.h"

#include "entry/entry_text.h"
#include "geo/clock_text.h"
#include "geo/locator.h"
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
using entrytext::shownDepartment;

} // namespace

QsoEntry::QsoEntry(Services services, StationSession& session, Logbook& logbook)
    : m_services(services), m_session(session), m_logbook(logbook)
{
    m_form[F::Band].enabled = true;
    m_form[F::Mode].enabled = true;
    m_form[F::Callsign].enabled = true;
    m_form.setText(F::Mode, QStringLiteral("SSB"));
    m_form.setText(F::RstReceived, QStringLiteral("59"));
    m_form.setText(F::RstSent, QStringLiteral("59"));
    m_form.setText(F::Activity, QStringLiteral("QSO"));
    followSession();
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

bool QsoEntry::isReport(const QString& text)
{
    if (text.size() != 2 && text.size() != 3)
        return false;
    static const char kHighest[] = {'5', '9', '9'};
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('1') || text[i] > QLatin1Char(kHighest[i]))
            return false;
    }
    return true;
}

bool QsoEntry::isFrench() const
{
    return PrefixFile::isFrench(m_confirmed.dxccPrefix);
}

QByteArray QsoEntry::bandBytes() const
{
    return bytes(m_form.text(F::Band));
}

QByteArray QsoEntry::modeBytes() const
{
    return bytes(m_form.text(F::Mode));
}

QByteArray QsoEntry::departmentCode() const
{
    const QByteArray shown = bytes(m_form.text(F::Department));
    if (shown == "2a")
        return "96";
    if (shown == "2b")
        return "97";
    return shown;
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

void QsoEntry::followSession()
{
    m_form.bandList.clear();
    for (const QByteArray& band : m_session.bandList())
        m_form.bandList << cp1252::decode(band);
    setBandText(cp1252::decode(m_session.band()));
}

void QsoEntry::restoreSelections()
{
    setBandText(cp1252::decode(m_session.band()));
    m_form.modeIndex = m_session.modeIndex();
    m_form.setText(F::Mode, cp1252::decode(m_session.mode()));
    m_form.activityIndex = m_session.activityIndex();
    m_form.setText(F::Activity, m_form.activityList.value(m_form.activityIndex));
}

void QsoEntry::gridRefresh(EntryEffects& effects, const QByteArray& band, const QByteArray& mode,
                           const QString& middle) const
{
    effects.refreshGrid = true;
    effects.gridBand = band;
    effects.gridMode = mode;
    effects.gridCaptionMiddle = middle;
}

void QsoEntry::sendBack(EntryField field, const QString& text)
{
    message(text);
    m_form.expect(field);
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
    sendBack(field, QStringLiteral("Attention le caractère « ") + bad +
                        QStringLiteral(" » ne peut pas être enregistré dans le log, corrigez la saisie"));
    return true;
}

QString QsoEntry::reportRefusal(bool received, const QString& text)
{
    if (text.trimmed().isEmpty())
        return received ? QStringLiteral("Attention le report recu est obligatoire")
                        : QStringLiteral("Attention le report envoyé est obligatoire");
    if (text.size() > logcol::kRstReceived.width)
        return received ? QStringLiteral("Attention 8 caracteres maxi pour le report reçu")
                        : QStringLiteral("Attention 8 caracteres maxi pour le report envoyé");
    if (isReport(text.trimmed()))
        return QString();
    return (received ? QStringLiteral("Attention le report reçu") : QStringLiteral("Attention le report envoyé")) +
           QStringLiteral(" doit avoir 2 ou 3 chiffres (R de 1 à 5, S de 1 à 9, T de 1 à 9), ex : 59 ou 599");
}

QString QsoEntry::millNumberRefusal(const QString& text) const
{
    const bool mill = m_form.text(F::Activity) == QLatin1String("MOULIN");
    if (mill && text.trimmed().isEmpty())
        return QStringLiteral("Attention la reference du Moulin est obligatoire");
    if (mill && isFrench() && text.trimmed().size() != 5)
        return QStringLiteral("            5 caracteres pour un moulin Francais ex: 59045") + kCrlf +
               QStringLiteral("Pour un moulin etranger la reference complete ex: WIM 7001");
    // Compared without regard to case: the Corsican departments are "2a" / "2b" and their
    // mill numbers are typed in upper case.
    if (mill && isFrench() &&
        text.trimmed().left(2).compare(m_form.text(F::Department).trimmed(), Qt::CaseInsensitive) != 0)
        return QStringLiteral("Attention le n° du Moulin ne correspond pas au departement ") +
               m_form.text(F::Department);
    // The reference column holds "DMF " and the number, with a blank to spare.
    return text.size() > logcol::kMillReference.width - 5
               ? QStringLiteral("Attention 15 caracteres maxi pour la reference du Moulin")
               : QString();
}

QString QsoEntry::refusal(EntryField field) const
{
    const QString text = m_form.text(field);
    switch (field) {
    case F::Band:
        return bands::indexOf(bytes(text)) ? QString()
                                           : QStringLiteral("Attention vous ne pouver selectionner que les bandes "
                                                            "proposées");
    case F::Mode:
        if (text.size() > 6)
            return QStringLiteral("Attention 6 caracteres maxi pour le mode de trafic");
        return text == QLatin1String("SSB") || text == QLatin1String("CW")
                   ? QString()
                   : QStringLiteral("Attention le mode doit etre uniquement SSB ou CW ");
    case F::Callsign:
        if (text.trimmed().isEmpty())
            return QStringLiteral("Attention vous devez entrer un indicatif");
        return text.trimmed().size() > logcol::kCallsign.width
                   ? QStringLiteral("Attention 12 caracteres maxi pour l'indicatif")
                   : QString();
    case F::Department:
        if (text.trimmed().isEmpty())
            return QStringLiteral("Attention le n° de departement est obligatoire pour la France");
        return text.trimmed().size() > 2 ? QStringLiteral("Attention 2 caracteres pour le departement") : QString();
    case F::Locator:
        if (text.isEmpty())
            return QStringLiteral("Attention vous devez entrer un locator");
        if (text.size() != logcol::kLocator.width)
            return QStringLiteral("Attention 6 caracteres pour le locator");
        return locator::isValidLocator(text) ? QString() : QStringLiteral("Erreur dans la saisie du locator");
    case F::Activity:
        return m_form.activityList.contains(text) ? QString()
                                                  : QStringLiteral("Attention l'activité doit être QSO ou MOULIN");
    case F::Date:
        if (text.isEmpty())
            return QStringLiteral("Attention vous devez entrer une date (pour le classement) ");
        if (text.size() != 8)
            return QStringLiteral("Attention 8 caracteres pour la date (format jj/mm/aa)");
        return clocktext::isValidDate(text) ? QString() : QStringLiteral("Attention le format date doit etre jj/mm/aa");
    case F::Start:
        if (text.trimmed().isEmpty())
            return QStringLiteral("Attention vous devez entrer l'heure de debut (pour le classement) ");
        [[fallthrough]];
    case F::End:
        return clocktext::isValidTime(text) ? QString()
                                            : QStringLiteral("Attention le format de l'heure doit etre hh:mm");
    case F::RstReceived:
    case F::RstSent:
        return reportRefusal(field == F::RstReceived, text);
    case F::FirstName:
        return text.size() > logcol::kFirstName.width ? QStringLiteral("Attention 15 caracteres maxi pour le prenom")
                                                      : QString();
    case F::MillNumber:
        return millNumberRefusal(text);
    case F::MillName:
        return text.size() > logcol::kMillName.width
                   ? QStringLiteral("Attention 30 caracteres maxi pour le nom du Moulin")
                   : QString();
    case F::Distance:
    case F::Azimuth:
    case F::Record:
        return QString();
    }
    return QString();
}

QList<EntryField> QsoEntry::chain() const
{
    QList<F> fields{F::Band, F::Mode, F::Callsign};
    if (isFrench())
        fields << F::Department;
    if (!bands::isHf(bandBytes()))
        fields << F::Locator;
    fields << F::Activity << F::Date << F::Start << F::End << F::RstReceived << F::RstSent << F::FirstName
           << F::MillNumber << F::MillName;
    return fields;
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
    case F::Record:
        return record();
    case F::Distance:
    case F::Azimuth:
        return {};
    default:
        return enterFollowing(field);
    }
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
    gridRefresh(effects, bytes(band), modeBytes(), QStringLiteral(" Dpts contacté(s) sur "));
    if (const QString why = refusal(F::Band); !why.isEmpty()) {
        message(why);
        setBandText(QStringLiteral("144 MHz"));
        m_form.focus = F::Band;
        return effects;
    }
    m_form.bandIndex = int(m_form.bandList.indexOf(band));
    m_form.pass(F::Band);
    m_form.expect(F::Mode);
    m_form.pass(F::Callsign);
    m_form[F::Callsign].enabled = true;
    if (!m_session.editMode())
        m_session.chooseBand(m_form.bandIndex);
    return effects;
}

EntryEffects QsoEntry::enterMode()
{
    if (const QString why = refusal(F::Mode); !why.isEmpty()) {
        message(why);
        return {};
    }
    EntryEffects effects;
    m_form.modeIndex = int(m_form.modeList.indexOf(m_form.text(F::Mode)));
    gridRefresh(effects, bandBytes(), modeBytes(), QStringLiteral(" Dpts contacté(s) sur "));
    m_form.pass(F::Mode);
    m_form.expect(F::Callsign);
    if (!m_session.editMode())
        m_session.chooseMode(m_form.modeIndex);
    return effects;
}

bool QsoEntry::lookUpCallsign(bool ask)
{
    Confirmed& c = m_confirmed;
    c.band = bandBytes();
    c.mode = modeBytes();
    c.dxccPrefix.clear();
    c.entity.clear();
    c.entityNew = c.entityAccepted = false;
    const StationPaths paths = m_logbook.paths();
    const PrefixFile prefixes(m_services.files, paths);
    const std::optional<bands::Mode> mode = bands::modeOf(c.mode);
    if (!mode)
        return true;
    const PrefixFile::Lookup found = prefixes.lookUp(m_services.countries, c.callsign, c.band, *mode);
    if (!found.result.ok()) {
        message(Logbook::errorText(found.result) + QStringLiteral(" : le fichier ") +
                StationPaths::fileName(paths.prefixes(*mode)) + QStringLiteral(" ne peut pas être lu"));
        return false;
    }
    if (found.entity.kind == EntityResolver::Kind::NoEntity)
        return true; // a maritime or aeronautical mobile counts for no entity
    if (found.entity.kind != EntityResolver::Kind::Entity) {
        // One message, whether no prefix begins the callsign or its entity has no line.
        if (ask)
            message(PrefixFile::unknownPrefixMessage());
        return true;
    }
    c.dxccPrefix = found.prefix;
    c.entity = found.entity.code;
    c.entityNew = found.mark == "0";
    if (ask && c.entityNew)
        c.entityAccepted = m_services.dialogs.askYesNo(QStringLiteral(" Valider le prefixe DXCC : ") +
                                                       cp1252::decode(found.prefix) + QStringLiteral("  ") +
                                                       cp1252::decode(found.entity.name) + QStringLiteral(" ?"));
    return true;
}

EntryEffects QsoEntry::enterCallsign()
{
    if (const QString why = refusal(F::Callsign); !why.isEmpty()) {
        message(why);
        return {};
    }
    const QString typed = m_form.text(F::Callsign).trimmed().toUpper();
    m_form.setText(F::Callsign, typed);
    const QByteArray callsign = bytes(typed);
    m_confirmed.callsign.clear(); // confirmed only once the duplicate check passes

    if (!m_session.editMode()) {
        if (const std::optional<int> row = m_logbook.findDuplicate(callsign, bandBytes(), modeBytes())) {
            const QByteArray& line = m_logbook.lines()[*row];
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
        if (!m_logbook.lines().isEmpty())
            m_form.callsignLabel = QStringLiteral("Nouvel indicatif");
    }

    // What the first-name list filled in for an earlier callsign is not this one's.
    Confirmed& c = m_confirmed;
    if (!c.filledDepartment.isEmpty() && m_form.text(F::Department) == c.filledDepartment)
        m_form.setText(F::Department, QString());
    if (!c.filledFirstName.isEmpty() && m_form.text(F::FirstName) == c.filledFirstName)
        m_form.setText(F::FirstName, QString());
    c.filledDepartment.clear();
    c.filledFirstName.clear();
    m_confirmedDepartment.clear();

    // First name and department already known for this operator.
    const NameLists lists(m_services.files, m_services.programDir);
    const NameLists::FirstName known = lists.findFirstName(callsign);
    if (!known.message.isEmpty()) {
        message(known.message);
    } else if (known.found) {
        c.filledDepartment = cp1252::decode(known.department);
        c.filledFirstName = cp1252::decode(known.firstName);
        m_form[F::Department].enabled = true;
        m_form[F::FirstName].enabled = true;
        m_form.setText(F::Department, c.filledDepartment);
        m_form.setText(F::FirstName, c.filledFirstName);
    }

    c.callsign = callsign;
    if (!lookUpCallsign(!m_session.editMode())) {
        c.callsign.clear();
        return {};
    }

    // Department and locator of the station in the nomenclature.
    const NameLists::Station station = lists.findStation(callsign);
    c.nomenclatureDepartment = station.department;
    c.nomenclatureLocator = station.locator;
    if (!station.department.isEmpty())
        m_form.setText(F::Department, cp1252::decode(shownDepartment(station.department)));
    m_form.setText(F::Locator, cp1252::decode(station.locator));

    // A French station gives its department, in VHF too (the department field then hands over
    // to the locator); others go on to the activity (HF) or the locator (VHF).
    m_form.pass(F::Callsign);
    if (isFrench())
        m_form.expect(F::Department);
    else if (m_session.isHf())
        m_form.expect(F::Activity);
    else
        m_form.expect(F::Locator);
    return {};
}

QString QsoEntry::lookUpDepartment(bands::Mode mode, DepartmentFile::Lookup& found) const
{
    const StationPaths paths = m_logbook.paths();
    found = DepartmentFile(m_services.files, paths).find(departmentCode(), bandBytes(), mode);
    if (!found.result.ok())
        return Logbook::errorText(found.result) + QStringLiteral(" : le fichier ") +
               StationPaths::fileName(paths.departments(mode)) +
               QStringLiteral(" ne peut pas être lu, le département n'est pas vérifié");
    // A department that is not in the list would never count as a multiplier.
    if (!found.found)
        return QStringLiteral("Attention le département ") + m_form.text(F::Department) +
               QStringLiteral(" n'existe pas");
    return QString();
}

void QsoEntry::normaliseDepartment()
{
    QString typed = m_form.text(F::Department).trimmed();
    if (typed == QLatin1String("2A"))
        typed = QStringLiteral("2a");
    else if (typed == QLatin1String("2B"))
        typed = QStringLiteral("2b");
    else if (typed.size() == 1 && typed[0].isDigit())
        typed.prepend(QLatin1Char('0')); // "5" is department "05", as the files write it
    m_form.setText(F::Department, typed);
}

EntryEffects QsoEntry::enterDepartment()
{
    if (!isFrench())
        return {};
    if (const QString why = refusal(F::Department); !why.isEmpty()) {
        message(why);
        return {};
    }
    normaliseDepartment();
    const QString typed = m_form.text(F::Department);

    EntryEffects effects;
    if (const std::optional<bands::Mode> mode = bands::modeOf(modeBytes())) {
        DepartmentFile::Lookup found;
        if (const QString why = lookUpDepartment(*mode, found); !why.isEmpty()) {
            message(why);
            return {};
        }
        if (found.mark == "0") {
            message(QStringLiteral("Attention nouveau département le ") +
                    cp1252::decode(shownDepartment(departmentCode())) + QLatin1Char(' ') + cp1252::decode(found.name));
            if (const std::optional<int> cell = DepartmentFile::cellOf(departmentCode()))
                effects.newDepartmentCell = *cell;
        }
    }
    m_confirmedDepartment = typed;
    m_form.pass(F::Department);
    if (bands::isHf(bandBytes())) {
        m_form.expect(F::Activity);
        m_form[F::Mode].enabled = true;
    } else {
        if (m_form.text(F::Locator).isEmpty())
            m_form.setText(F::Locator, cp1252::decode(m_confirmed.nomenclatureLocator));
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
    } else if (!locator::isValidLocator(station) || !locator::isValidLocator(other)) {
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
    if (const QString why = refusal(F::Locator); !why.isEmpty()) {
        message(why);
        return {};
    }
    if (!locator::isValidLocator(m_session.locator()) && m_form.text(F::Locator) != m_session.locator())
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
    m_form.dmfVisible = mill && isFrench();
    m_form.pass(F::Activity);
    if (m_session.automaticDate() && !m_session.editMode()) {
        // Date and start time from one reading of the clock, so that a QSO at midnight never
        // gets yesterday's date with today's time.
        const CalendarTime now = m_session.utc() ? m_services.clock.utcNow() : m_services.clock.localNow();
        m_form.setText(F::Date, clocktext::dateText(now));
        m_form.setText(F::Start, clocktext::timeText(now).left(5));
        m_form[F::Date].enabled = true;
        m_form[F::Start].enabled = true;
        m_form.expect(F::RstReceived);
    } else {
        // An edit keeps the QSO's own date and times unless the operator changes them.
        m_form.expect(F::Date);
    }
    if (!m_session.editMode())
        m_session.chooseActivity(m_form.activityIndex);
    return {};
}

EntryEffects QsoEntry::enterFollowing(EntryField field)
{
    if (const QString why = refusal(field); !why.isEmpty()) {
        message(why);
        return {};
    }
    m_form.pass(field);
    switch (field) {
    case F::Date:
        m_form.expect(F::Start);
        break;
    case F::Start:
        m_form.setText(F::End, m_form.text(F::Start));
        m_form.expect(F::End);
        break;
    case F::End:
        m_form.expect(F::RstReceived);
        break;
    case F::RstReceived:
        m_form.setText(F::RstReceived, m_form.text(F::RstReceived).trimmed());
        m_form.expect(F::RstSent);
        break;
    case F::RstSent:
        m_form.setText(F::RstSent, m_form.text(F::RstSent).trimmed());
        m_form.expect(F::FirstName);
        break;
    case F::FirstName:
        m_form.expect(m_form.text(F::Activity) == QLatin1String("MOULIN") ? F::MillNumber : F::MillName);
        break;
    case F::MillNumber:
        m_form.setText(F::MillNumber, m_form.text(F::MillNumber).trimmed().toUpper());
        m_form.cancelEnabled = true;
        m_form.expect(F::MillName);
        break;
    case F::MillName:
        m_form.recordEnabled = true;
        m_form.cancelEnabled = true;
        m_form.focus = F::Record;
        break;
    default:
        break;
    }
    return {};
}

} // namespace tv
