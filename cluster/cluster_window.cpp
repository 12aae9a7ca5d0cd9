#include "cluster/cluster_window.h"

#include "geo/clock_text.h"
#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "platform/palette.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "platform/sound.h"
#include "rig/rig_panel.h"
#include "rig/spot_tuning.h"
#include "spots/http_spot_source.h"
#include "spots/telnet_spot_source.h"
#include "station/logbook.h"
#include "station/station_session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace tv {

namespace {

QPointer<ClusterWindow> g_open;

std::unique_ptr<SpotSource> defaultSource(const QString& address, const QString& callsign, const Clock& clock)
{
    const QUrl url(address);
    if (url.scheme() == QLatin1String("telnet")) {
        auto source = std::make_unique<TelnetSpotSource>(url.host(), quint16(url.port(23)), callsign, clock);
        source->start();
        return source;
    }
    auto source = std::make_unique<HttpSpotSource>();
    source->setBaseUrl(address);
    return source;
}

QString spotKey(const Spot& spot)
{
    return spot.callsign + QLatin1Char('|') + spot.qrg;
}

} // namespace

ClusterWindow* ClusterWindow::showOrRaise(Services services, StationSession& session, Logbook& logbook,
                                          SerialPorts& ports, QWidget* parent)
{
    ClusterWindow* window = g_open;
    if (!window) {
        window = new ClusterWindow(services, session, logbook, ports, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
        g_open = window;
        // Centred on the screen when it opens.
        window->adjustSize();
        if (const QScreen* screen = window->screen())
            window->move(screen->availableGeometry().center() - window->rect().center());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

ClusterWindow::ClusterWindow(Services services, StationSession& session, Logbook& logbook, SerialPorts& ports,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_session(session), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Cluster"));
    setWindowTitle(QStringLiteral("Cluster"));
    m_factory = [this](const QString& address) {
        return defaultSource(address, m_session.displayCallsign(), m_services.clock);
    };
    m_rig = new RigPanel(services, ports, this);
    build();
    restoreSettings();
    m_timer.setInterval(60000);
    connect(&m_timer, &QTimer::timeout, this, &ClusterWindow::fetchBands);
    m_timer.start();
    // The spots of stations worked follow the log.
    connect(&m_logbook, &Logbook::appended, this, &ClusterWindow::arrange);
    connect(&m_logbook, &Logbook::reloaded, this, &ClusterWindow::arrange);
}

ClusterWindow::~ClusterWindow() = default;

void ClusterWindow::setSourceFactory(SourceFactory factory)
{
    m_factory = std::move(factory);
    m_source.reset();
    m_sourceAddress.clear();
}

void ClusterWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    bar->addMenu(m_rig->portMenu());
    bar->addMenu(m_rig->baudMenu());
    layout->setMenuBar(bar);

    auto* top = new QHBoxLayout;
    QLabel* title = named<QLabel>(this, "Label7", QStringLiteral("CLUSTER (DXCluster)"));
    title->setStyleSheet(QStringLiteral("font-weight: bold"));
    top->addWidget(title);
    top->addWidget(named<QLabel>(this, "Label3", m_session.displayCallsign()));
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("Serveur"), this));
    m_address = named<QLineEdit>(this, "Serveur");
    m_address->setPlaceholderText(QStringLiteral("http://serveur ou telnet://serveur:7300"));
    top->addWidget(m_address, 1);
    layout->addLayout(top);

    auto* bands = new QHBoxLayout;
    bands->addWidget(named<QLabel>(this, "Label1", QStringLiteral("Bande N° 1")));
    m_band1 = named<QComboBox>(this, "Bande_CL");
    m_band1->addItems(spotlist::firstBands());
    bands->addWidget(m_band1);
    bands->addWidget(named<QLabel>(this, "Label4", QStringLiteral("Bande N° 2")));
    m_band2 = named<QComboBox>(this, "Bande_CL2");
    m_band2->addItems(spotlist::secondBands());
    bands->addWidget(m_band2);
    m_show = named<QPushButton>(this, "Afficher", QStringLiteral("Afficher"));
    bands->addWidget(m_show);
    m_wait = named<QLabel>(this, "Patientez", QStringLiteral("Patientez"));
    m_wait->setVisible(false);
    bands->addWidget(m_wait);
    bands->addStretch(1);
    layout->addLayout(bands);
    connect(m_show, &QPushButton::clicked, this, [this] {
        storeBands();
        fetchBands();
    });

    m_list = named<QListWidget>(this, "Liste_Stations");
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setMinimumSize(760, 300);
    layout->addWidget(buildHeader());
    layout->addWidget(m_list, 1);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { clicked(m_list->row(item)); });

    auto* filters = new QHBoxLayout;
    m_french = named<QCheckBox>(this, "Check1", QStringLiteral("Filtre stations Françaises"));
    m_prefix = named<QCheckBox>(this, "Check2", QStringLiteral("Filtre préfixe ou Indicatif"));
    m_callsign = named<QLineEdit>(this, "Indicatif");
    m_callsign->setMaximumWidth(120);
    m_alert = named<QCheckBox>(this, "Check3", QStringLiteral("Avec alerte"));
    m_mills = named<QCheckBox>(this, "Check4", QStringLiteral("Moulins seulement"));
    m_millAlert = named<QCheckBox>(this, "Check5", QStringLiteral("Alerte moulins"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_french, m_prefix, m_callsign, m_alert, m_mills, m_millAlert})
        filters->addWidget(w);
    filters->addStretch(1);
    layout->addLayout(filters);
    for (QCheckBox* box : {m_french, m_prefix, m_mills})
        connect(box, &QCheckBox::toggled, this, [this] {
            storeBands();
            arrange();
        });
    connect(m_callsign, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = m_callsign->cursorPosition();
        m_callsign->setText(text.toUpper());
        m_callsign->setCursorPosition(cursor);
    });
    connect(m_callsign, &QLineEdit::returnPressed, this, [this] {
        if (m_callsign->text().isEmpty()) {
            m_services.dialogs.message(QStringLiteral("Entrez un indicatif"));
            return;
        }
        fetchBands();
    });

    auto* times = new QHBoxLayout;
    times->addWidget(
        named<QLabel>(this, "Label2", QStringLiteral("Page mise a jour toutes les minutes, la dernière à ")));
    m_time = named<QLabel>(this, "QTR");
    times->addWidget(m_time);
    times->addSpacing(16);
    m_status = named<QLabel>(this, "Etat");
    times->addWidget(m_status, 1);
    layout->addLayout(times);
    layout->addWidget(new QLabel(QStringLiteral("Sur fond jaune : un moulin. En gris : déjà contacté sur sa bande "
                                                "et son mode. Un click sur un spot règle l'émetteur."),
                                 this));
    layout->addWidget(m_rig);
}

QWidget* ClusterWindow::buildHeader()
{
    // Column headings as wide as the list's columns: date-time, DX, QRG, spotter, remark.
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // The list's own font: its columns are characters of that font.
    const int charWidth = m_list->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    row->addSpacing(m_list->frameWidth() + 2);
    const struct {
        const char* name;
        const char* text;
        const char* tip;
        int columns;
        spotlist::Sort sort;
    } buttons[] = {{"Tri_Date", "Date QTR(TU)", "Un click pour un tri par date", 15, spotlist::Sort::Date},
                   {"Tri_DX", "DX          ", "Un click pour un tri par DX", 13, spotlist::Sort::Dx},
                   {"Tri_QRG", "QRG", "Un click pour un tri par QRG", 9, spotlist::Sort::Qrg}};
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = named<QPushButton>(header, buttons[i].name, QString::fromLatin1(buttons[i].text));
        b->setToolTip(QString::fromUtf8(buttons[i].tip));
        b->setFixedWidth(buttons[i].columns * charWidth);
        row->addWidget(b);
        m_sortButtons[i] = b;
        const spotlist::Sort sort = buttons[i].sort;
        connect(b, &QPushButton::clicked, this, [this, sort] { chooseSort(sort); });
    }
    QLabel* spotter = named<QLabel>(header, "Text1", QStringLiteral(" Spotter"));
    spotter->setFixedWidth(12 * charWidth);
    row->addWidget(spotter);
    row->addWidget(named<QLabel>(header, "Text2", QStringLiteral("                 Remarques")), 1);
    chooseSort(spotlist::Sort::Date);
    return header;
}

void ClusterWindow::restoreSettings()
{
    SettingsStore& s = m_services.settings;
    m_band2->setCurrentIndex(0);
    m_band1->setCurrentIndex(
        std::clamp(s.value(keys::kZez, keys::kSetup, keys::kBandeCluster, QStringLiteral("0")).toInt(), 0,
                   int(m_band1->count()) - 1));
    m_band2->setCurrentIndex(
        std::clamp(s.value(keys::kZez, keys::kSetup, keys::kBandeCluster1, QStringLiteral("0")).toInt(), 0,
                   int(m_band2->count()) - 1));
    m_address->setText(s.value(keys::kZez, keys::kSetup, keys::kServeurCluster, QString()));
}

void ClusterWindow::storeBands()
{
    SettingsStore& s = m_services.settings;
    s.setValue(keys::kZez, keys::kSetup, keys::kBandeCluster, QString::number(m_band1->currentIndex()));
    s.setValue(keys::kZez, keys::kSetup, keys::kBandeCluster1, QString::number(m_band2->currentIndex()));
    s.setValue(keys::kZez, keys::kSetup, keys::kServeurCluster, m_address->text().trimmed());
}

void ClusterWindow::chooseSort(spotlist::Sort sort)
{
    m_sort = sort;
    for (int i = 0; i < 3; ++i) {
        const bool chosen = int(sort) == i + 1;
        m_sortButtons[i]->setStyleSheet(
            chosen ? QStringLiteral("background-color: %1").arg(QColor(QRgb(palette::kExpected)).name()) : QString());
    }
    arrange();
}

void ClusterWindow::fetchBands()
{
    if (fetching())
        return; // one fetch at a time: a minute tick during a slow fetch waits for the next
    const QString address = m_address->text().trimmed();
    if (address.isEmpty()) {
        status(QStringLiteral("Indiquez l'adresse du serveur de spots (http://… ou telnet://hôte:port)."));
        return;
    }
    if (!m_source || address != m_sourceAddress) {
        m_source = m_factory(address);
        m_sourceAddress = address;
        connect(m_source.get(), &SpotSource::spotsFetched, this, &ClusterWindow::received);
        connect(m_source.get(), &SpotSource::fetchFailed, this, &ClusterWindow::failed);
    }
    m_pending = {spotlist::token(m_band1->currentIndex())};
    if (m_band2->currentIndex() > 0)
        m_pending << spotlist::token(m_band2->currentIndex());
    m_gathered.clear();
    m_show->setEnabled(false);
    m_wait->setVisible(true);
    askNext();
}

void ClusterWindow::askNext()
{
    // The source may answer before fetch() returns.
    const QString token = m_pending.first();
    m_source->fetch(token);
}

void ClusterWindow::received(const QString& token, const QList<Spot>& spots)
{
    if (m_pending.isEmpty() || token != m_pending.first())
        return;
    m_gathered << spots;
    m_pending.removeFirst();
    if (!m_pending.isEmpty()) {
        askNext();
        return;
    }
    m_spots = m_gathered;
    m_time->setText(clocktext::utcTime(m_services.clock).left(5) + QStringLiteral(" TU"));
    status(QString());
    endFetch();
    arrange();
    alertNewSpots();
}

void ClusterWindow::failed(const QString& token, const QString& reason)
{
    if (m_pending.isEmpty() || token != m_pending.first())
        return;
    m_pending.clear();
    if (m_services.sound)
        m_services.sound->play(QDir(m_services.programDir).filePath(QStringLiteral("ringin.wav")));
    // The spots of the last fetch stay listed; the next minute tries again.
    status(reason + QStringLiteral(" (") + clocktext::utcTime(m_services.clock).left(5) + QStringLiteral(" TU)"));
    endFetch();
}

void ClusterWindow::endFetch()
{
    m_show->setEnabled(true);
    m_wait->setVisible(false);
}

spotlist::Filter ClusterWindow::filter() const
{
    return {m_french->isChecked(), m_prefix->isChecked(), m_callsign->text(), m_mills->isChecked()};
}

bool ClusterWindow::worked(const Spot& spot) const
{
    const bands::Band* band = bands::ofFrequency(spot.frequency);
    if (!band)
        return false;
    const QByteArray mode = spottuning::spotMode(spot.frequency) == RigMode::Cw ? bands::kCw : bands::kSsb;
    return m_logbook.findDuplicate(cp1252::encode(spot.callsign), band->text, mode).has_value();
}

void ClusterWindow::arrange()
{
    if (!m_list || !m_mills) // still being built
        return;
    m_rows = spotlist::arrange(m_spots, m_sort, filter(), [this](const Spot& s) { return worked(s); });
    m_list->clear();
    for (const spotlist::Row& row : m_rows) {
        auto* item = new QListWidgetItem(row.line, m_list);
        if (!row.millReference.isEmpty())
            item->setBackground(QColor(QRgb(palette::kPassed)));
        if (row.worked)
            item->setForeground(Qt::gray);
    }
    // The newest spot by date, the first one otherwise, is selected; nothing is tuned by it.
    if (!m_rows.isEmpty())
        m_list->setCurrentRow(m_sort == spotlist::Sort::Date ? int(m_rows.size()) - 1 : 0);
}

void ClusterWindow::alertNewSpots()
{
    const spotlist::Filter f = filter();
    bool alert = false;
    QSet<QString> matching;
    for (const Spot& spot : m_spots) {
        if (!spotlist::alerts(spot, f, m_alert->isChecked(), m_millAlert->isChecked()))
            continue;
        matching.insert(spotKey(spot));
        alert = alert || !m_alerted.contains(spotKey(spot));
    }
    m_alerted = matching;
    if (alert && m_services.sound)
        m_services.sound->play(QDir(m_services.programDir).filePath(QStringLiteral("ringout.wav")));
}

void ClusterWindow::clicked(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rig->tune(m_rows[row].spot.frequency);
}

void ClusterWindow::status(const QString& text)
{
    m_status->setText(text);
}

} // namespace tv
