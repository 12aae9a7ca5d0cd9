#include "stats/prefix_stats_window.h"

#include "logstore/cp1252.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "reports/report_messages.h"
#include "station/logbook.h"
#include "stats/band_mode_widget.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tv {
namespace {

QPointer<PrefixStatsWindow> g_open;

} // namespace

PrefixStatsWindow* PrefixStatsWindow::showOrRaise(Services services, const StationSession& session,
                                                  const Logbook& logbook, QWidget* parent)
{
    if (!g_open)
        g_open = new PrefixStatsWindow(services, session, logbook, parent);
    g_open->show();
    g_open->raise();
    g_open->activateWindow();
    return g_open;
}

PrefixStatsWindow::PrefixStatsWindow(Services services, const StationSession& session, const Logbook& logbook,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Statistique_Prefixe"));
    setWindowTitle(QStringLiteral("Statistiques Prefixes"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_choice = new BandModeWidget(session, "Mode_AX", true, this);
    m_list = named<QListWidget>(this, "Liste_Prefixes");
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_list->setFont(fixed);
    m_list->setUniformItemSizes(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_choice);
    column->addWidget(named<QLabel>(this, "Label1", QStringLiteral(" Prefixes contactés ")));
    column->addWidget(m_list, 1);
    const QFontMetrics metrics(fixed);
    resize(std::max(metrics.horizontalAdvance(QString(48, QLatin1Char('0'))) + 40, m_choice->sizeHint().width() + 24),
           24 * metrics.height());
    centreOnScreen(this);

    // The prefixes and descriptions of the station's prefix file; an unreadable file is told
    // and leaves the list empty.
    PrefixStats::Lines lines = PrefixStats::readPrefixLines(services.files, logbook.paths());
    if (!lines.result.ok())
        services.dialogs.message(reportmessages::notReadable(StationPaths::fileName(lines.path), lines.result));
    m_stats = std::make_unique<PrefixStats>(services.countries, std::move(lines.lines));

    connect(m_choice->showButton(), &QPushButton::clicked, this, &PrefixStatsWindow::showEntities);
    connect(&m_logbook, &Logbook::appended, this, &PrefixStatsWindow::refresh);
    connect(&m_logbook, &Logbook::reloaded, this, &PrefixStatsWindow::refresh);
}

void PrefixStatsWindow::showEntities()
{
    m_band = m_choice->band();
    m_mode = m_choice->mode();
    refresh();
}

void PrefixStatsWindow::refresh()
{
    const std::optional<bands::Mode> mode = bands::modeOf(m_mode);
    if (m_band.isEmpty() || !mode)
        return;
    m_list->clear();
    for (const QByteArray& entry : m_stats->entries(m_logbook.lines(), m_band, *mode))
        m_list->addItem(cp1252::decode(entry));
}

} // namespace tv
