#include "app/station_dialog.h"

#include "geo/clock_text.h"
#include "geo/locator.h"
#include "logstore/callsign_rule.h"
#include "logstore/callsign_validator.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/named_widget.h"
#include "platform/palette.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "station/station_file_set.h"
#include "station/station_session.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tv {
namespace {

void paint(QWidget* field, palette::Rgb colour)
{
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, QColor(colour));
    field->setPalette(colours);
}

QLineEdit* makeField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

} // namespace

StationDialog::StationDialog(Services services, StationSession& session, QWidget* parent)
    : QDialog(parent), m_services(services), m_session(session)
{
    setObjectName(QStringLiteral("Station"));
    setWindowTitle(QStringLiteral("Identification de la station"));
    buildLayout();
    load();

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void StationDialog::buildLayout()
{
    auto* frame = new QGroupBox(QStringLiteral("STATION EMETTRICE"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    m_callsign = makeField(frame, "New_Indicatif");
    m_locator = makeField(frame, "New_Locator");
    m_date = makeField(frame, "Nouv_Date");
    grid->addWidget(named<QLabel>(frame, "Label1", QStringLiteral("Indicatif")), 0, 0);
    grid->addWidget(m_callsign, 0, 1);
    grid->addWidget(named<QLabel>(frame, "Label2", QStringLiteral("Locator")), 1, 0);
    grid->addWidget(m_locator, 1, 1);
    grid->addWidget(named<QLabel>(frame, "Label3", QStringLiteral("Date JNM")), 2, 0);
    grid->addWidget(m_date, 2, 1);

    m_validate = new QPushButton(QStringLiteral("Validez"), this);
    m_validate->setObjectName(QStringLiteral("Validation"));
    m_validate->setAutoDefault(true);
    connect(m_validate, &QPushButton::clicked, this, &StationDialog::validate);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(
        named<QLabel>(this, "Label4", QStringLiteral("! Pour la saisie la \"/\" est remplacée par le \"_\" ")));
    layout->addWidget(m_validate, 0, Qt::AlignHCenter);

    for (QLineEdit* field : {m_callsign, m_locator, m_date})
        field->installEventFilter(this);
    m_callsign->setValidator(new CallsignValidator(callsign::Kind::Station, m_callsign));
    m_locator->setEnabled(false);
    m_date->setEnabled(false);
    m_validate->setEnabled(false);
}

void StationDialog::load()
{
    const SettingsStore& settings = m_services.settings;
    m_currentCallsign = settings.value(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    m_callsign->setText(m_currentCallsign);
    m_locator->setText(settings.value(keys::kJnm, keys::kSetup, keys::kLocatorStation, keys::kNoLocator));
    m_date->setText(settings.value(keys::kJnm, keys::stationSection(m_currentCallsign), keys::kDateJnm, QString()));
    m_firstInstallation = m_currentCallsign == keys::kNoCallsign;
    m_callsign->setFocus();
}

bool StationDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (event->type() != QEvent::KeyPress || field == nullptr)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (field == m_callsign)
            callsignEntered();
        else if (field == m_locator)
            locatorEntered();
        else
            dateEntered();
        return true;
    }
    const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (plain && key->text().size() == 1) {
        const QChar typed = key->text().at(0);
        // The callsign's validator applies the callsign rule; the other fields take capitals.
        if (field != m_callsign && typed >= QLatin1Char('a') && typed <= QLatin1Char('z')) {
            field->insert(QString(typed.toUpper()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StationDialog::callsignEntered()
{
    const QString session = m_services.settings.value(keys::kJnm, keys::stationSection(m_currentCallsign),
                                                      keys::kSession, QStringLiteral("HF"));
    QLineEdit* next = session == QLatin1String("VHF") ? m_locator : m_date;
    paint(m_callsign, palette::kPassed);
    next->setEnabled(true);
    paint(next, palette::kExpected);
    next->setFocus();
}

void StationDialog::locatorEntered()
{
    paint(m_locator, palette::kPassed);
    m_date->setEnabled(true);
    paint(m_date, palette::kExpected);
    m_date->setFocus();
}

void StationDialog::dateEntered()
{
    if (m_date->text().isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Attention vous devez entrer une date"));
        return;
    }
    if (!clocktext::isValidDate(m_date->text())) {
        m_services.dialogs.message(QStringLiteral("Attention le format date doit etre jj/mm/aa"));
        return;
    }
    paint(m_date, palette::kPassed);
    m_validate->setEnabled(true);
    m_validate->setFocus();
}

void StationDialog::refuse(QLineEdit* field, const QString& message)
{
    m_services.dialogs.message(message);
    if (field->isEnabled())
        field->setFocus();
}

void StationDialog::validate()
{
    const QString callsign = m_callsign->text().toUpper();
    const QString eventDate = m_date->text();
    if (callsign.isEmpty())
        return refuse(m_callsign, QStringLiteral("Vous devez entrer un indicatif"));
    if (callsign.size() > callsign::kStationMaxLength)
        return refuse(m_callsign, QStringLiteral("12 caracteres maximum pour l'indicatif"));
    if (!callsign::isStoredForm(callsign)) {
        m_callsign->clear();
        return refuse(m_callsign,
                      QStringLiteral("L'indicatif ne doit comporter que des lettres des chiffres ou le signe _ "));
    }
    // "FXXXX" names the templates, not a station.
    if (callsign == keys::kNoCallsign)
        return refuse(m_callsign, QStringLiteral("Vous devez entrer un indicatif"));

    const QString locator = m_locator->text().toUpper();
    if (locator.isEmpty())
        return refuse(m_locator, QStringLiteral("Vous devez entrer un locator"));
    if (locator.size() != 6)
        return refuse(m_locator, QStringLiteral("Le locator doit comporter 6 caracteres"));
    if (locator != keys::kNoLocator && !locator::isValidLocator(locator))
        return refuse(m_locator, QStringLiteral("Erreur dans la saisie du locator"));

    // The event date names the report files: it is checked here again, whatever the Enter
    // chain did.
    if (eventDate.isEmpty())
        return refuse(m_date, QStringLiteral("Attention vous devez entrer une date"));
    if (!clocktext::isValidDate(eventDate))
        return refuse(m_date, QStringLiteral("Attention le format date doit etre jj/mm/aa"));

    const QString notChanged = QStringLiteral("\r\nLa station n'a pas été changée.");
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, callsign);
    const QString logPath = files.paths().existingLog(m_services.files);
    const FileRead log = m_services.files.read(logPath);
    if (!log.result.ok() && !log.result.notFound()) {
        m_services.dialogs.message(StationFileSet::readFailureText(QFileInfo(logPath).fileName(), log.result) +
                                   notChanged);
        return;
    }

    const bool missingLog = log.result.notFound();
    if (missingLog || m_firstInstallation) {
        const StationFileOutcome created = missingLog ? files.create() : files.createMissing();
        if (!created.done()) {
            m_services.dialogs.message(created.message + notChanged);
            return;
        }
    }
    const bool stored = missingLog || m_firstInstallation ? files.writeNewStationSettings(locator, eventDate)
                                                          : files.writeKnownStationSettings(locator, eventDate);
    if (!stored) {
        m_services.dialogs.message(QStringLiteral("L'indicatif, le locator et la date de la JNM n'ont pas pu être "
                                                  "enregistrés dans les réglages du programme.") +
                                   notChanged);
        return;
    }

    const SettingsStore& settings = m_services.settings;
    m_session.setStation(settings.value(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign),
                         settings.value(keys::kJnm, keys::kSetup, keys::kLocatorStation, keys::kNoLocator));
    m_session.setEventDate(eventDate);
    m_firstInstallation = false;
    Q_EMIT stationValidated();
    accept();
}

} // namespace tv
