#include "stats/band_mode_widget.h"

#include "logstore/cp1252.h"
#include "platform/named_widget.h"
#include "station/station_session.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace tv {

BandModeWidget::BandModeWidget(const StationSession& session, const char* modeName, bool useSessionMode,
                               QWidget* parent)
    : QWidget(parent)
{
    m_mode = named<QComboBox>(this, modeName);
    for (const QByteArray& mode : StationSession::modeList())
        m_mode->addItem(cp1252::decode(mode));
    m_mode->setCurrentIndex(useSessionMode ? session.modeIndex() : 0);
    m_band = named<QComboBox>(this, "Bande_E");
    for (const QByteArray& band : session.bandList())
        m_band->addItem(cp1252::decode(band));
    m_band->setCurrentIndex(session.bandIndex());
    m_show = named<QPushButton>(this, "Afficher", QStringLiteral("Afficher"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(named<QLabel>(this, "Label3", QStringLiteral("Mode")));
    row->addWidget(m_mode);
    row->addSpacing(12);
    row->addWidget(named<QLabel>(this, "Label2", QStringLiteral("Bande")));
    row->addWidget(m_band);
    row->addStretch();
    row->addWidget(m_show);
}

QByteArray BandModeWidget::band() const
{
    return cp1252::encode(m_band->currentText());
}

QByteArray BandModeWidget::mode() const
{
    return cp1252::encode(m_mode->currentText());
}

void centreOnScreen(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->resize(std::min(window->width(), area.width()), std::min(window->height(), area.height()));
        window->move(area.x() + (area.width() - window->width()) / 2,
                     area.y() + (area.height() - window->height()) / 2);
    }
}

} // namespace tv
