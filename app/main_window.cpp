#include "app/main_window.h"
#include "platform/serial_port.h"

#include "app/department_grid_widget.h"
#include "entry/entry_panel.h"
#include "geo/clock_text.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/department_file.h"
#include "logstore/log_file.h"
#include "logstore/prefix_file.h"
#include "logstore/qso_line.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "platform/palette.h"
#include "platform/qt_printer.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "platform/version.h"
#include "station/startup.h"

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
#include <utility>

namespace tv {

MainWindow::MainWindow(Services services, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_session(&services.settings, this), m_logbook(services, this),
      m_model(this)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Journée Nationale des Moulins"));
    buildMenus();
    buildCentre();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::tick);
    m_entryCore = std::make_unique<QsoEntry>(m_services, m_session, m_logbook);
    m_entry->bind(m_entryCore.get(),
                  [this] { return m_list->selectionModel()->hasSelection() ? m_list->currentIndex().row() : -1; });
    followCore();
    wireStationMenus();
    wireReportMenus();
    wireExchangeMenus();
    wireAidsMenus();
    wireLabelMenus();
    wireStatsMenus();
    wireMapMenus();
    wireClusterButton();
    wireLook();
    m_placed = restoreWindowGeometry();
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
        m_session.setAutomaticDate(true);
        m_entry->date->clear();
        m_entry->millName->clear();
    });
    connect(m_autoNo, &QAction::triggered, this, [this] { m_session.setAutomaticDate(false); });
    connect(m_utcYes, &QAction::triggered, this, [this] { m_session.setUtc(true); });
    connect(m_utcNo, &QAction::triggered, this, [this] { m_session.setUtc(false); });

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
    connect(history, &QAction::triggered, this, [this] { m_services.dialogs.message(startup::historyText()); });
    addItem(help, "Mnu_Mode_Emploi", QStringLiteral("Mode d'emploi"), false);
    QAction* about = addItem(help, "Mnu_A_Propos", QStringLiteral("A Propos de "));
    connect(about, &QAction::triggered, this, [this] { m_services.dialogs.message(startup::aboutText()); });
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

    m_dateFrame = new QGroupBox(centre); // the station's callsign once it is known
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
    m_logFrame = new QGroupBox(QStringLiteral("Carnet de trafic"), centre);
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
    m_cluster = named<QPushButton>(centre, "Command1", QStringLiteral("Cluster"));
    m_cluster->setEnabled(false);
    for (QPushButton* b :
         {m_entry->record, m_entry->cancel, m_entry->edit, m_entry->remove, m_entry->search, m_cluster})
        buttons->addWidget(b);
    left->addLayout(buttons);
    left->addStretch();
    bottom->addLayout(left, 1);
    m_grid = new DepartmentGridWidget(centre);
    bottom->addWidget(m_grid);
    column->addLayout(bottom);

    setCentralWidget(centre);
}

void MainWindow::followCore()
{
    connect(m_entry, &EntryPanel::effectsReady, this, &MainWindow::applyEffects);
    connect(&m_logbook, &Logbook::appended, this, [this](int row) {
        m_model.appendLine(m_logbook.lines()[row]);
        m_entry->setQsoNumber(m_logbook.count() + 1, true);
        selectRow(row);
    });
    connect(&m_logbook, &Logbook::reloaded, this, [this] {
        m_model.setLines(m_logbook.lines());
        m_entry->setQsoNumber(m_logbook.count() + 1, false); // the start captions it with the accent
        selectRow(m_logbook.count() - 1);
    });
    connect(&m_logbook, &Logbook::marksChanged, this, [this] { showGrid(m_gridBand, m_gridMode, m_gridMiddle); });
    connect(&m_logbook, &Logbook::scoreChanged, this,
            [this] { m_score->setText(scoreText(m_logbook.score(m_session.isHf()))); });
    connect(&m_logbook, &Logbook::fileFailed, this, &MainWindow::stationFileFailed);
    connect(&m_session, &StationSession::sessionChanged, this, &MainWindow::showSession);
    connect(&m_session, &StationSession::optionsChanged, this, &MainWindow::showOptions);
    connect(&m_session, &StationSession::choiceNotStored, this, [this] {
        if (!std::exchange(m_choiceNotStoredShown, true))
            m_services.dialogs.message(QStringLiteral("Les réglages du programme ne peuvent pas être enregistrés : la "
                                                      "bande, le mode et les options choisis ne seront pas repris au "
                                                      "prochain démarrage."));
    });
    connect(&m_session, &StationSession::stationChanged, this, &MainWindow::showStation);
}

void MainWindow::applyEffects(const EntryEffects& effects)
{
    if (effects.qsoNumber)
        m_entry->setQsoNumber(*effects.qsoNumber, true);
    if (effects.refreshGrid)
        showGrid(effects.gridBand, effects.gridMode, effects.gridCaptionMiddle);
    if (effects.newDepartmentCell >= 0)
        m_grid->setCellColour(effects.newDepartmentCell, QColor(palette::kNewDepartment));
    m_debug->setText(m_entryCore->form().debugStep);
}

void MainWindow::showGrid(const QByteArray& band, const QByteArray& mode, const QString& middle)
{
    m_gridBand = band;
    m_gridMode = mode;
    m_gridMiddle = middle;
    m_grid->clearColours();
    int count = 0;
    if (const std::optional<bands::Mode> m = bands::modeOf(mode)) {
        const DepartmentFile::Grid grid = m_logbook.departmentGrid(band, *m);
        if (!grid.result.ok()) {
            stationFileFailed(m_logbook.paths().departments(*m), grid.result);
            return;
        }
        for (int cell = 0; cell < DepartmentGridWidget::kCells; ++cell)
            m_grid->colourByMark(cell, grid.cells[cell]);
        count = grid.count;
    }
    m_grid->setTitle(QLatin1Char(' ') + QString::number(count) + middle + cp1252::decode(band) +
                     QStringLiteral(" en ") + cp1252::decode(mode));
}

void MainWindow::showSession()
{
    const bool hf = m_session.session() == StationSession::Session::Hf;
    const bool vhf = m_session.session() == StationSession::Session::Vhf;
    m_sessionHf->setChecked(hf);
    m_sessionVhf->setChecked(vhf);
    setWindowTitle(QStringLiteral("Journée Nationale des Moulins   Session ") + m_session.sessionText() +
                   QStringLiteral("   Revision ") + revisionText());
    if (!hf && !vhf)
        return; // an unknown stored session leaves the band list as it was
    QStringList list;
    for (const QByteArray& band : m_session.bandList())
        list << cp1252::decode(band);
    m_entry->setBandList(list);
    m_entryCore->followSession();
    m_entry->showForm(false);
}

void MainWindow::showOptions()
{
    m_utcYes->setChecked(m_session.utc());
    m_utcNo->setChecked(!m_session.utc());
    m_autoYes->setChecked(m_session.automaticDate());
    m_autoNo->setChecked(!m_session.automaticDate());
    m_entry->dateLabel->setText(m_session.automaticDate() ? QStringLiteral("Date automatique")
                                                          : QStringLiteral("Date manuelle"));
    tick();
}

void MainWindow::tick()
{
    const QString utc = clocktext::utcTime(m_services.clock).left(5) + QStringLiteral(" Utc");
    const QString local = clocktext::localTime(m_services.clock).left(5) + QStringLiteral(" Loc");
    m_utcClock->setText(utc);
    m_localClock->setText(local);
    m_utcClock->setEnabled(m_session.utc());
    m_localClock->setEnabled(!m_session.utc());
    m_date->setText(clocktext::date(m_services.clock, m_session.utc()));
}

bool MainWindow::start()
{
    // Where the last run left it, else centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && !m_placed) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    if (const QString problem = startup::settingsProblemText(m_services.settings); !problem.isEmpty())
        m_services.dialogs.message(problem);
    startup::Identity identity = startup::readIdentity(m_services.settings, m_session);
    if (identity != startup::Identity::Ready) {
        // No station yet, or one whose callsign cannot name a file: the operator says which.
        m_services.dialogs.message(startup::identityText(identity, m_session.storedCallsign()));
        openStationDialog(true);
        if (startup::readIdentity(m_services.settings, m_session) != startup::Identity::Ready) {
            // The dialog was closed without a station: there are no files to open.
            m_services.dialogs.message(startup::noStationText());
            endProgram();
            return false;
        }
    }
    if (!startup::begin(m_services.settings, m_session, m_services.programDir))
        m_services.dialogs.message(startup::settingsUnwritableText());
    showSession();
    showOptions();
    showStation();
    m_logbook.setStation(m_session.storedCallsign());
    for (const QString& warning : PrefixFile::sizeWarnings(m_services.files, m_logbook.paths()) +
                                      startup::repairFiles(m_services.files, m_logbook.paths(), m_services.countries))
        m_services.dialogs.message(warning);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = m_logbook.load().ok();
    QApplication::restoreOverrideCursor();
    if (!loaded || m_ended)
        return false;
    for (const QString& skipped : m_logbook.tally().skippedText())
        m_services.dialogs.message(QStringLiteral("Attention : ") + skipped);
    showGrid(m_session.band(), m_session.mode(), QStringLiteral(" Dpts contacté(s) sur  "));
    if (m_ended)
        return false;

    // The operator types a callsign at once: the band and mode in use are already chosen.
    m_entryCore->reset();
    m_entry->showForm(true);
    m_entry->setQsoNumber(m_logbook.count() + 1, true);

    tick();
    m_timer->start();
    m_services.dialogs.message(startup::reminderText());
    return true;
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

void MainWindow::selectRow(int row)
{
    if (row < 0 || row >= m_model.rowCount())
        return;
    m_list->selectRow(row);
    m_list->scrollTo(m_model.index(row, 0));
}

} // namespace tv
