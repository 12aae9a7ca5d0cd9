#include "stats/distance_stats_window.h"

#include "platform/named_widget.h"
#include "station/logbook.h"
#include "stats/band_mode_widget.h"
#include "stats/distance_stats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace tv {
namespace {

QPointer<DistanceStatsWindow> g_open;

QLineEdit* countBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    return box;
}

} // namespace

DistanceStatsWindow* DistanceStatsWindow::showOrRaise(const Logbook& logbook, QWidget* parent)
{
    if (!g_open)
        g_open = new DistanceStatsWindow(logbook, parent);
    g_open->show();
    g_open->raise();
    g_open->activateWindow();
    return g_open;
}

DistanceStatsWindow::DistanceStatsWindow(const Logbook& logbook, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Statistiques"));
    setWindowTitle(QStringLiteral("Statistiques distances"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    QLabel* title = named<QLabel>(frame, "Label2", QStringLiteral("Distances des QSO"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(named<QLabel>(frame, "Text10", QStringLiteral("Distances")), 1, 0);
    grid->addWidget(named<QLabel>(frame, "Text3", QStringLiteral("144 MHz")), 1, 1);
    // The captions keep the names Text22 (first class) down to Text12 (last).
    for (int i = 0; i < distancestats::kClasses; ++i) {
        auto* caption = new QLabel(distancestats::captions()[i], frame);
        caption->setObjectName(QStringLiteral("Text%1").arg(22 - i));
        m_counts.append(countBox(frame, QStringLiteral("Text11_%1").arg(i + 1)));
        grid->addWidget(caption, i + 2, 0);
        grid->addWidget(m_counts.last(), i + 2, 1);
    }
    grid->addWidget(named<QLabel>(frame, "Text9", QStringLiteral("Total QSO")), distancestats::kClasses + 2, 0);
    m_total = countBox(frame, QStringLiteral("Tot1"));
    grid->addWidget(m_total, distancestats::kClasses + 2, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);
    adjustSize();
    centreOnScreen(this);

    connect(&m_logbook, &Logbook::appended, this, &DistanceStatsWindow::refresh);
    connect(&m_logbook, &Logbook::reloaded, this, &DistanceStatsWindow::refresh);
    refresh();
}

void DistanceStatsWindow::refresh()
{
    const distancestats::Counts counts = distancestats::count(m_logbook.lines());
    for (int i = 0; i < distancestats::kClasses; ++i)
        m_counts[i]->setText(counts.perClass[i] ? QString::number(counts.perClass[i]) : QString());
    m_total->setText(QString::number(counts.total));
}

} // namespace tv
