#include "stats/activation_stats_window.h"

#include "logstore/cp1252.h"
#include "logstore/fixed_text.h"
#include "platform/named_widget.h"
#include "station/logbook.h"
#include "stats/activation_stats.h"
#include "stats/band_mode_widget.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tv {
namespace {

QPointer<ActivationStatsWindow> g_open;

} // namespace

ActivationStatsWindow* ActivationStatsWindow::showOrRaise(const StationSession& session, const Logbook& logbook,
                                                          QWidget* parent)
{
    if (!g_open)
        g_open = new ActivationStatsWindow(session, logbook, parent);
    g_open->show();
    g_open->raise();
    g_open->activateWindow();
    return g_open;
}

ActivationStatsWindow::ActivationStatsWindow(const StationSession& session, const Logbook& logbook, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Statistique_DFCF"));
    setWindowTitle(QStringLiteral("Statistiques des activations contactées"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_choice = new BandModeWidget(session, "Mode_A", false, this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics metrics(fixed);
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));

    // The headings stand over the entry's fields: reference (15), name (30), date (10), callsign.
    auto* headings = new QGroupBox(this);
    headings->setObjectName(QStringLiteral("Frame2"));
    auto* headingRow = new QHBoxLayout(headings);
    headingRow->setSpacing(0);
    const struct {
        const char* name;
        const char* text;
        int width; // characters
    } titles[] = {{"Label13", "N° Activation", 15},
                  {"Label14", "Nom Activation", 30},
                  {"Label15", "Date", 10},
                  {"Label16", "Indicatif", 12}};
    headingRow->addSpacing(2 * charWidth + 6);
    for (const auto& t : titles) {
        QLabel* label = named<QLabel>(headings, t.name, QString::fromUtf8(t.text));
        label->setFixedWidth(t.width * charWidth);
        headingRow->addWidget(label);
    }
    headingRow->addStretch();

    m_list = named<QListWidget>(this, "Liste_Moulins");
    m_list->setFont(fixed);
    m_list->setUniformItemSizes(true);

    auto* summary = new QGroupBox(this);
    summary->setObjectName(QStringLiteral("Frame1"));
    auto* summaryRow = new QHBoxLayout(summary);
    m_total = named<QLabel>(summary, "TotActiv");
    m_kind = named<QLabel>(summary, "TypActiv");
    m_bandShown = named<QLabel>(summary, "BandActiv");
    summaryRow->addStretch();
    summaryRow->addWidget(m_total);
    summaryRow->addWidget(named<QLabel>(summary, "Label17", QStringLiteral(" activations")));
    summaryRow->addWidget(m_kind);
    summaryRow->addWidget(named<QLabel>(summary, "Label1", QStringLiteral(" contactées sur ")));
    summaryRow->addWidget(m_bandShown);
    summaryRow->addStretch();

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_choice);
    column->addWidget(headings);
    column->addWidget(m_list, 1);
    column->addWidget(summary);
    resize(std::max(75 * charWidth + 60, m_choice->sizeHint().width() + 24), 26 * metrics.height());
    centreOnScreen(this);

    connect(m_choice->showButton(), &QPushButton::clicked, this, &ActivationStatsWindow::showActivations);
    connect(&m_logbook, &Logbook::appended, this, &ActivationStatsWindow::refresh);
    connect(&m_logbook, &Logbook::reloaded, this, &ActivationStatsWindow::refresh);
}

void ActivationStatsWindow::showActivations()
{
    m_band = m_choice->band();
    m_mode = m_choice->mode();
    m_bandShown->setText(cp1252::decode(fixedtext::trimSpaces(m_band)));
    m_kind->setText(QStringLiteral("DMF"));
    refresh();
}

void ActivationStatsWindow::refresh()
{
    if (m_kind->text().isEmpty())
        return; // not shown yet
    m_list->clear();
    const QList<QByteArray> entries = activationstats::entries(m_logbook.lines(), m_band, m_mode);
    for (const QByteArray& entry : entries)
        m_list->addItem(cp1252::decode(entry));
    m_total->setText(QString::number(entries.size()));
}

} // namespace tv
