#include "reports/log_listing_window.h"

#include "logstore/cp1252.h"
#include "logstore/log_file.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "reports/log_listing.h"
#include "reports/report_files.h"
#include "reports/report_messages.h"
#include "reports/report_text.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tv {
namespace {

// The one listing window, while it is open.
QPointer<LogListingWindow> g_open;

} // namespace

LogListingWindow* LogListingWindow::showOrRaise(Services services, const QString& storedCallsign,
                                                const QString& eventDate, QWidget* parent)
{
    LogListingWindow* window = g_open;
    if (window && (window->m_callsign != storedCallsign || window->m_eventDate != eventDate)) {
        window->close();
        window = nullptr;
    }
    if (!window) {
        window = new LogListingWindow(services, storedCallsign, eventDate, parent);
        g_open = window;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

LogListingWindow::LogListingWindow(Services services, QString storedCallsign, QString eventDate, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_callsign(std::move(storedCallsign)),
      m_eventDate(std::move(eventDate))
{
    setObjectName(QStringLiteral("Impression"));
    setWindowTitle(QStringLiteral("Pré Visualisation"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* label = new QLabel(QStringLiteral("Pré-visualisation  du fichier  log"), frame);
    label->setObjectName(QStringLiteral("Label2"));
    m_list = new QListWidget(frame);
    m_list->setObjectName(QStringLiteral("Visu_Print"));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_list->setFont(fixed);
    m_list->setUniformItemSizes(true);
    auto* frameColumn = new QVBoxLayout(frame);
    frameColumn->addWidget(label);
    frameColumn->addWidget(m_list);

    auto* save = named<QPushButton>(this, "Enregistrer", QStringLiteral("Enregistrer"));
    auto* print = named<QPushButton>(this, "Imprimer", QStringLiteral("Imprimer"));
    auto* quit = named<QPushButton>(this, "Quitter", QStringLiteral("Quitter"));
    connect(save, &QPushButton::clicked, this, &LogListingWindow::save);
    connect(print, &QPushButton::clicked, this, &LogListingWindow::print);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addWidget(quit);

    auto* column = new QVBoxLayout(this);
    column->addWidget(frame, 1);
    column->addLayout(buttons);

    // The list shows what the log holds now; a log that cannot be read leaves the headings.
    const std::optional<QList<QByteArray>> lines = readLog();
    for (const QByteArray& line : listing::windowLines(m_callsign, m_eventDate, lines.value_or(QList<QByteArray>())))
        m_list->addItem(cp1252::decode(line));

    const QFontMetrics metrics(fixed);
    resize(metrics.horizontalAdvance(QString(100, QLatin1Char('0'))) + 80, 34 * metrics.height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

std::optional<QList<QByteArray>> LogListingWindow::readLog()
{
    const StationPaths paths(m_services.programDir, m_callsign);
    const LogFile::Loaded log = LogFile(m_services.files, paths.existingLog(m_services.files)).load();
    if (!log.result.ok()) {
        m_services.dialogs.message(reportmessages::logUnreadable(m_callsign, log.result));
        return std::nullopt;
    }
    return log.lines;
}

void LogListingWindow::save()
{
    const bool hfSession = reportfiles::isHfSession(m_services.settings, m_callsign);
    if (reportfiles::logListing(m_callsign, m_eventDate, hfSession).isEmpty()) {
        m_services.dialogs.message(reportmessages::badEventDate(m_eventDate));
        return;
    }
    const std::optional<QList<QByteArray>> lines = readLog();
    if (!lines)
        return;
    const StationPaths paths(m_services.programDir, m_callsign);
    m_services.dialogs.message(listing::save(m_services.files, paths, m_eventDate, hfSession, *lines).message);
    // The message box belongs to the main window: the listing comes back to the front after it.
    raise();
    activateWindow();
}

void LogListingWindow::print()
{
    const std::optional<QList<QByteArray>> lines = readLog();
    if (!lines)
        return;
    const auto outcome =
        reporttext::printLines(m_services.printer, listing::printLines(m_callsign, m_eventDate, *lines));
    if (const QString failure = reporttext::printFailureMessage(outcome); !failure.isEmpty())
        m_services.dialogs.message(failure);
}

} // namespace tv
