#include "app/main_window.h"

#include "app/department_grid_widget.h"
#include "app/missing_file_window.h"
#include "entry/entry_panel.h"
#include "geo/clock_text.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/log_file.h"
#include "logstore/station_paths.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "platform/qt_printer.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace tv {
namespace {

QString crlfJoin(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    return button;
}

} // namespace

MainWindow::MainWindow(Services services, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_session(this), m_model(this)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Journée Nationale des Moulins"));
    buildMenus();
    buildCentre();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::tick);
    wireEntry();
    wireStationMenus();
    wireReportMenus();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::addItem(QMenu* menu, const char* name, const QString& caption, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    // Items whose window comes later stay disabled until it exists.
    QMenu* file = menu("Mnu_Fichier", QStringLiteral("Fichier"));
    addItem(file, "Mnu_RAZ_All", QStringLiteral("Remise a zero des fichiers log, Departement, Prefixe "), false);
    addItem(file, "Mnu_MAJ_Prefixe_Departement", QStringLiteral("MAJ fichiers Prefixes et département a partir du log"),
            false);
    addItem(file, "Mnu_Nomenclature", QStringLiteral("Edition du fichier Nomenclature"), false);
    addItem(file, "Mnu_ADIF", QStringLiteral("Exporter le log au format ADIF"), false);
    addItem(file, "Mnu_CTrafic", QStringLiteral("Exporter le log au format C_Trafic"), false);
    QAction* quit = addItem(file, "Mnu_Quitter", QStringLiteral("Quitter Tournevent"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* station = menu("Mnu_Station", QStringLiteral("Station"));
    addItem(station, "Mnu_Indicatif", QStringLiteral("Indicatif et locator de la station"), false);

    QMenu* session = menu("Mnu_Session", QStringLiteral("Session"));
    m_sessionHf = addItem(session, "Mnu_Session_HF", QStringLiteral("Session HF"), false);
    m_sessionVhf = addItem(session, "Mnu_Session_VHF", QStringLiteral("Session VHF"), false);
    m_sessionHf->setCheckable(true);
    m_sessionVhf->setCheckable(true);

    QMenu* options = menu("mnu_Options", QStringLiteral("Options"));
    QMenu* autoDate = options->addMenu(QStringLiteral("Date Automatique"));
    autoDate->setObjectName(QStringLiteral("Mnu_Date_Auto"));
    m_autoYes = addItem(autoDate, "Mnu_Auto_Oui", QStringLiteral("Oui"));
    m_autoNo = addItem(autoDate, "Mnu_Auto_Non", QStringLiteral("Non"));
    QMenu* utc = options->addMenu(QStringLiteral("Heure en UTC"));
    utc->setObjectName(QStringLiteral("Mnu_Heure_UTC"));
    m_utcYes = addItem(utc, "Mnu_UTC_Oui", QStringLiteral("Oui"));
    m_utcNo = addItem(utc, "Mnu_UTC_Non", QStringLiteral("Non"));
    for (QAction* a : {m_autoYes, m_autoNo, m_utcYes, m_utcNo})
        a->setCheckable(true);
    connect(m_autoYes, &QAction::triggered, this, [this] {
        applyDateOption(true);
        m_services.settings.setBool(keys::kJnm, stationSection(), keys::kDateAutomatique, true);
        m_entry->date->clear();
        m_entry->millName->clear();
    });
    connect(m_autoNo, &QAction::triggered, this, [this] {
        applyDateOption(false);
        m_services.settings.setBool(keys::kJnm, stationSection(), keys::kDateAutomatique, false);
    });
    connect(m_utcYes, &QAction::triggered, this, [this] {
        applyUtcOption(true);
        m_services.settings.setBool(keys::kJnm, stationSection(), keys::kHeureUtc, true);
    });
    connect(m_utcNo, &QAction::triggered, this, [this] {
        applyUtcOption(false);
        m_services.settings.setBool(keys::kJnm, stationSection(), keys::kHeureUtc, false);
    });

    QMenu* maps = menu("Mnu_Carte", QStringLiteral("Cartes"));
    addItem(maps, "Mnu_Carte_Activation", QStringLiteral("Carte départementale des activations DMF contactées"), false);

    QMenu* stats = menu("Mnu_Statistique", QStringLiteral("Statistiques"));
    addItem(stats, "Mnu_Stat_Dist", QStringLiteral("Distances des stations contactées (VHF)"), false);
    addItem(stats, "Mnu_Stat_Prefixe", QStringLiteral("Des prefixes contactés"), false);
    addItem(stats, "Mnu_Stat_DFCF", QStringLiteral("Des activations DMF Contactées"), false);

    QMenu* recap = menu("Mnu_Recap", QStringLiteral("Recapitulatif JNM"));
    addItem(recap, "Mnu_Feuille_Recap", QStringLiteral("Enregistrer ou imprimer la Feuille récapitulative JNM"), false);

    QMenu* log = menu("Mnu_Log", QStringLiteral("Log JNM"));
    addItem(log, "Mnu_Imprime_Tout", QStringLiteral("Enregistrer ou imprimer le fichier log JNM"), false);

    // Two top-level entries that open their window directly.
    QAction* labels = bar->addAction(QStringLiteral("Impression d'etiquettes"));
    labels->setObjectName(QStringLiteral("Mnu_Imp_QSL"));
    labels->setEnabled(false);
    QAction* rules = bar->addAction(QStringLiteral("Règlement"));
    rules->setObjectName(QStringLiteral("Mnu_Reglement"));
    rules->setEnabled(false);

    QMenu* help = menu("Mnu_Aide", QStringLiteral("Aide"));
    QAction* history = addItem(help, "Mnu_Historique", QStringLiteral("Historique"));
    connect(history, &QAction::triggered, this, [this] { m_services.dialogs.message(historyText()); });
    addItem(help, "Mnu_Mode_Emploi", QStringLiteral("Mode d'emploi"), false);
    QAction* about = addItem(help, "Mnu_A_Propos", QStringLiteral("A Propos de "));
    connect(about, &QAction::triggered, this, [this] {
        m_services.dialogs.message(QStringLiteral("Tournevent   Revision") + StationSession::kRevision +
                                   QStringLiteral("\r\nCarnet de trafic de la Journée Nationale des Moulins"));
    });
}

void MainWindow::buildCentre()
{
    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);

    // Station, date, clock, score.
    auto* top = new QHBoxLayout;
    auto* stationFrame = new QGroupBox(centre);
    stationFrame->setObjectName(QStringLiteral("Frame1"));
    auto* stationRow = new QHBoxLayout(stationFrame);
    stationRow->addWidget(named<QLabel>(stationFrame, "Label2", QStringLiteral("Station :")));
    m_stationCall = named<QLabel>(stationFrame, "I_Station");
    stationRow->addWidget(m_stationCall);
    stationRow->addSpacing(16);
    stationRow->addWidget(named<QLabel>(stationFrame, "Label28", QStringLiteral("Locator :")));
    m_stationLocator = named<QLabel>(stationFrame, "L_Station");
    stationRow->addWidget(m_stationLocator);
    QFont strong = m_stationCall->font();
    strong.setBold(true);
    strong.setPointSize(strong.pointSize() + 2);
    m_stationCall->setFont(strong);
    m_stationLocator->setFont(strong);
    top->addWidget(stationFrame);

    m_dateFrame = new QGroupBox(QStringLiteral("F0ZZZ le"), centre);
    m_dateFrame->setObjectName(QStringLiteral("Frame7"));
    auto* dateRow = new QHBoxLayout(m_dateFrame);
    m_date = named<QLabel>(m_dateFrame, "Label33");
    m_date->setFont(strong);
    dateRow->addWidget(m_date);
    top->addWidget(m_dateFrame);

    auto* clockFrame = new QGroupBox(centre);
    clockFrame->setObjectName(QStringLiteral("Frame2"));
    auto* clockRow = new QHBoxLayout(clockFrame);
    m_utcClock = named<QLabel>(clockFrame, "Label37");
    m_localClock = named<QLabel>(clockFrame, "Label34");
    m_utcClock->setFont(strong);
    m_localClock->setFont(strong);
    clockRow->addWidget(m_utcClock);
    clockRow->addSpacing(12);
    clockRow->addWidget(m_localClock);
    top->addWidget(clockFrame);

    auto* commands = new QGroupBox(QStringLiteral("Commandes"), centre);
    commands->setObjectName(QStringLiteral("Frame6"));
    auto* commandRow = new QHBoxLayout(commands);
    commandRow->addWidget(named<QLabel>(commands, "Label1", QStringLiteral("Total des Points :")));
    m_score = named<QLabel>(commands, "P_QSO", QStringLiteral("0"));
    m_score->setFont(strong);
    commandRow->addWidget(m_score);
    commandRow->addStretch();
    m_debug = named<QLabel>(commands, "NB_Debug");
    commandRow->addWidget(m_debug);
    top->addWidget(commands, 1);
    column->addLayout(top);

    // The log.
    m_logFrame = new QGroupBox(QStringLiteral("Carnet de trafic F0ZZZ"), centre);
    m_logFrame->setObjectName(QStringLiteral("Frame5"));
    auto* logColumn = new QVBoxLayout(m_logFrame);
    m_list = new QTableView(m_logFrame);
    m_list->setObjectName(QStringLiteral("Liste_QSO"));
    m_list->setModel(&m_model);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAlternatingRowColors(true);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->horizontalHeader()->setStretchLastSection(true);
    const int charWidth = m_list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[] = {6, 9, 13, 6, 6, 4, 7, 8, 5, 5, 5, 12, 15};
    for (int i = 0; i < int(std::size(widths)); ++i)
        m_list->setColumnWidth(i, widths[i] * charWidth + 12);
    m_list->setMinimumHeight(12 * (m_list->fontMetrics().height() + 4));
    logColumn->addWidget(m_list);
    column->addWidget(m_logFrame, 1);

    // Entry fields and buttons, the department grid beside them.
    auto* bottom = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    m_entry = new EntryPanel(centre);
    left->addWidget(m_entry);
    auto* buttons = new QHBoxLayout;
    m_record = makeButton(centre, "Enregistrer", QStringLiteral("QSO Suivant"),
                          QStringLiteral("Nouveau QSO et enregistrement des données precedentes"));
    m_cancel = makeButton(centre, "Annuler", QStringLiteral("Annuler Saisie"),
                          QStringLiteral("Efface les données en cours de saisie"));
    m_edit = makeButton(centre, "Editer", QStringLiteral(" Editer  QSO"),
                        QStringLiteral("Clickez sur un QSO pour le selectionner puis sur ce bouton pour l'editer"));
    m_delete = makeButton(centre, "Effacer", QStringLiteral("Effacer QSO"),
                          QStringLiteral("Clickez sur un QSO pour le selectionner puis sur ce bouton pour l'effacer"));
    m_search = makeButton(centre, "Recherche", QStringLiteral("Chercher QSO"),
                          QStringLiteral("Cliquez sur ce bouton pour rechercher un QSO par indicatif, date, "
                                         "departement, ou locator"));
    m_cluster = makeButton(centre, "Command1", QStringLiteral("Cluster"), QString());
    m_search->setEnabled(false);
    m_cluster->setEnabled(false);
    for (QPushButton* b : {m_record, m_cancel, m_edit, m_delete, m_search, m_cluster})
        buttons->addWidget(b);
    left->addLayout(buttons);
    left->addStretch();
    bottom->addLayout(left, 1);
    m_grid = new DepartmentGridWidget(centre);
    bottom->addWidget(m_grid);
    column->addLayout(bottom);

    setCentralWidget(centre);

    // The fields of the chain after the callsign start disabled; each field enables the next.
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_entry->department, m_entry->locator, m_entry->activity, m_entry->date, m_entry->start, m_entry->end,
             m_entry->rstReceived, m_entry->rstSent, m_entry->firstName, m_entry->millNumber, m_entry->millName})
        w->setEnabled(false);
}

QString MainWindow::jnm(const QString& section, const QString& key, const QString& defaultValue) const
{
    return m_services.settings.value(keys::kJnm, section, key, defaultValue);
}

QString MainWindow::stationSection() const
{
    return keys::stationSection(m_session.storedCallsign());
}

QString MainWindow::historyText()
{
    static const char* const kLines[] = {
        "V1.0.0   le 30/12/2005 creation a partir de Bastidou",
        "V1.0.1 Correction erreur calcul des points en mode QSO  ",
        "V1.0.2 Gestion Imprimante automatique",
        "V1.0.3 Autorisation Moulins étrangers",
        "V1.0.4 Gestion erreur 53",
        "V1.0.5 Touche 'Entrée' autorisée en mode édition",
        "V1.0.6 MAJ pour la JNM du 24 juin 2007 + prenom automatique",
        "V1.0.7 Ajout impression etiquettes pour QSL",
        "V1.0.8 Dans Station le locator est demandé que pour la session VHF",
        "V1.0.9 Ajout Commune et CP dans récapitulatif",
        "V1.0.9 Affichage des QSO par un click sur un département + Cluster",
        "V1.1.0 Refonte de l'algorithme de calcul des points",
        "V1.1.1 Erreur feuille recapitulation : pas acces parametres moulin",
        "V1.1.2 Mise à jour JNM 21 juin 2015",
    };
    QString text;
    for (const char* line : kLines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

QString MainWindow::firstInstallText()
{
    return crlfJoin({
        QStringLiteral(" Premiere installation en session HF, vous devez entrer"),
        QStringLiteral("                votre Indicatif et la date de la JNM"),
        QStringLiteral("   Pour une session VHF changez dans le menu Session"),
        QStringLiteral("puis dans station entrez Indicatif Locator et la date JNM"),
    });
}

QString MainWindow::settingsUnwritableText()
{
    return QStringLiteral("Attention les réglages de Tournevent ne peuvent pas être enregistrés :\r\n"
                          "l'indicatif, la session, la bande et les options choisis ne seront pas gardés "
                          "au prochain démarrage.");
}

QString MainWindow::noStationText()
{
    return QStringLiteral("Aucun indicatif n'a été validé : Tournevent s'arrête.\r\n"
                          "Relancez Tournevent pour identifier la station.");
}

QString MainWindow::startReminderText()
{
    return crlfJoin({
        QStringLiteral("                                   Avant le debut de la JNM "),
        QStringLiteral(" -1- Dans le menu 'Station' verifiez Indicatif Locator et date d'Activité "),
        QString(),
        QStringLiteral("            -2- Remettez a zero les fichiers de Tournevent   "),
        QStringLiteral("                       pour cela allez dans le menu 'Fichiers'             "),
        QStringLiteral("   puis cliquez sur 'Remise a zero des fichiers log, Departement, Prefixe'  "),
        QString(),
        QStringLiteral("                -3- Selectionnez une des session HF ou VHF  "),
        QStringLiteral("       pour cela allez dans le menu 'Session' et selectionnez 'HF' ou 'VHF'"),
        QString(),
        QStringLiteral(" Si vous contactez un Moulin n'oubliez pas de sélectionner MOULIN "),
        QStringLiteral("   dans la fenêtre activité, dans le cas contraire sélectionnez QSO"),
    });
}

void MainWindow::applySessionBands()
{
    const bool hf = m_session.session() == StationSession::Session::Hf;
    const bool vhf = m_session.session() == StationSession::Session::Vhf;
    if (!hf && !vhf)
        return; // an unknown stored session leaves the menus and the band list as designed
    m_sessionHf->setChecked(hf);
    m_sessionVhf->setChecked(vhf);
    m_entry->band->clear();
    QStringList list;
    for (const QByteArray& band : hf ? bands::hfSession() : bands::vhfSession())
        list << cp1252::decode(band);
    m_entry->band->addItems(list);
    m_entry->band->setCurrentIndex(0);
    m_entryCore->setBandList(list);
}

void MainWindow::applyUtcOption(bool utc)
{
    m_utcYes->setChecked(utc);
    m_utcNo->setChecked(!utc);
    tick();
}

void MainWindow::applyDateOption(bool automatic)
{
    m_autoYes->setChecked(automatic);
    m_autoNo->setChecked(!automatic);
    m_entry->dateLabel->setText(automatic ? QStringLiteral("Date automatique") : QStringLiteral("Date manuelle"));
}

void MainWindow::setCaption()
{
    setWindowTitle(QStringLiteral("Journée Nationale des Moulins   Session ") + m_session.sessionText() +
                   QStringLiteral("   Revision ") + StationSession::kRevision);
}

void MainWindow::tick()
{
    const QString utc = clocktext::utcTime(m_services.clock).left(5) + QStringLiteral(" Utc");
    const QString local = clocktext::localTime(m_services.clock).left(5) + QStringLiteral(" Loc");
    const bool inUtc = m_utcYes->isChecked();
    m_utcClock->setText(utc);
    m_localClock->setText(local);
    m_utcClock->setEnabled(inUtc);
    m_localClock->setEnabled(!inUtc);
    m_date->setText(clocktext::date(m_services.clock, inUtc));
}

bool MainWindow::start()
{
    // Centre on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }

    m_entry->mode->clear();
    m_entry->mode->addItems({QStringLiteral("SSB"), QStringLiteral("CW")});
    m_entry->activity->clear();
    m_entry->activity->addItems({QStringLiteral("QSO"), QStringLiteral("MOULIN")});

    m_session.setStation(jnm(keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign), m_session.locator());
    const bool unusable =
        m_session.storedCallsign() != keys::kNoCallsign && !StationPaths::isSafeCallsign(m_session.storedCallsign());
    if (m_session.storedCallsign() == keys::kNoCallsign || unusable) {
        // No station yet, or one whose callsign cannot name a file: the operator says which.
        m_services.dialogs.message(unusable ? QStringLiteral("L'indicatif enregistré « ") + m_session.storedCallsign() +
                                                  QStringLiteral(" » ne peut pas nommer un fichier : entrez "
                                                                 "l'indicatif de la station.")
                                            : firstInstallText());
        openStationDialog(true);
        m_session.setStation(jnm(keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign), m_session.locator());
        if (m_session.storedCallsign() == keys::kNoCallsign ||
            !StationPaths::isSafeCallsign(m_session.storedCallsign())) {
            // The dialog was closed without a station: there are no files to open.
            m_services.dialogs.message(noStationText());
            endProgram();
            return false;
        }
    }
    m_session.setSessionText(jnm(stationSection(), keys::kSession, QStringLiteral("HF")));
    applySessionBands();
    m_session.setStation(m_session.storedCallsign(), jnm(keys::kSetup, keys::kLocatorStation, keys::kNoLocator));
    applyStationSettings();
    showStation();

    m_session.setEditMode(false);
    m_record->setEnabled(false);

    SettingsStore& settings = m_services.settings;
    if (!settings.setValue(keys::kJnm, stationSection(), keys::kRevision, StationSession::kRevision))
        m_services.dialogs.message(settingsUnwritableText());
    settings.setValue(keys::kJnm, keys::kSetup, keys::kCheminRepertoire, m_services.programDir);

    refreshDepartments(m_session.band(), cp1252::encode(m_entry->mode->currentText()),
                       QStringLiteral(" Dpts contacté(s) sur  "));
    if (m_ended)
        return false;
    warnPrefixFileSizes();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = loadQsoList(true);
    QApplication::restoreOverrideCursor();
    if (!loaded)
        return false;
    selectLastRow();
    setCaption();

    EntryForm& form = m_entryCore->form();
    form[EntryField::Callsign].enabled = true;
    form[EntryField::Band].colour = FieldColour::Passed;
    form.expect(EntryField::Mode);
    readForm();
    showForm(true);

    refreshScore();
    if (m_ended)
        return false;
    m_entry->activity->setCurrentIndex(settings.intValue(keys::kJnm, stationSection(), keys::kActivite, 0));

    tick();
    m_timer->start();
    m_services.dialogs.message(startReminderText());
    return true;
}

void MainWindow::applyStationSettings()
{
    SettingsStore& settings = m_services.settings;
    m_entry->band->setCurrentIndex(settings.intValue(keys::kJnm, stationSection(), keys::kBandeUtilisee, 0));
    m_session.setBand(cp1252::encode(m_entry->band->currentText()));
    m_entry->mode->setCurrentIndex(settings.intValue(keys::kJnm, stationSection(), keys::kModeUtilise, 0));
    m_session.setMode(cp1252::encode(m_entry->mode->currentText()));
    applyUtcOption(settings.boolValue(keys::kJnm, stationSection(), keys::kHeureUtc, true));
    m_session.setEventDate(jnm(stationSection(), keys::kDateJnm, keys::kDefaultEventDate));
    applyDateOption(settings.boolValue(keys::kJnm, stationSection(), keys::kDateAutomatique, true));
}

void MainWindow::showStation()
{
    const QString shown = m_session.displayCallsign();
    m_stationCall->setText(shown);
    m_stationLocator->setText(m_session.locator());
    m_logFrame->setTitle(QStringLiteral("Carnet de trafic de ") + shown);
    // The date frame names the station that is on the air, not a fixed example callsign.
    m_dateFrame->setTitle(shown + QStringLiteral(" le"));
}

bool MainWindow::loadQsoList(bool accentedCaption)
{
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    LogFile log(m_services.files, paths.existingLog(m_services.files));
    LogFile::Loaded loaded = log.load();
    if (!loaded.result.ok()) {
        stationFileFailed(loaded.result, MissingFileWindow::logTail());
        return false;
    }
    m_model.setLines(std::move(loaded.lines));
    m_session.setQsoCount(m_model.rowCount());
    m_entry->setQsoNumber(m_session.qsoCount() + 1, accentedCaption);
    return true;
}

void MainWindow::selectLastRow()
{
    const int last = m_model.rowCount() - 1;
    if (last < 0)
        return;
    m_list->selectRow(last);
    m_list->scrollToBottom();
}

void MainWindow::endProgram()
{
    m_ended = true;
    m_timer->stop();
    hide();
    Q_EMIT programEnded(1);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_rebuilding) {
        // The multiplier files are being rewritten: the window closes once they are whole.
        event->ignore();
        return;
    }
    // The other windows close first, so that each asks its own question (the nomenclature
    // editor asks whether to save); one that stays open keeps the program running.
    if (!m_ended) {
        for (QWidget* child : findChildren<QWidget*>()) {
            if (child->isWindow() && child->isVisible() && !child->close()) {
                event->ignore();
                return;
            }
        }
    }
    m_timer->stop();
    if (!m_ended && !m_closing) {
        m_closing = true;
        backupAtClose();
    }
    event->accept();
}

} // namespace tv
