#include "stats/activation_map_window.h"

#include "logstore/cp1252.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/named_widget.h"
#include "reports/report_messages.h"
#include "station/logbook.h"
#include "station/station_session.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace tv {
namespace {

// The one map window, while it is open.
QPointer<ActivationMapWindow> g_open;

} // namespace

// The map drawn as large as the picture allows, keeping its proportions: the lines (outlines,
// numbers) are drawn once per size, the fills again when the colouring changes.
class MapPicture final : public QWidget {
public:
    explicit MapPicture(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Picture1"));
        setMinimumSize(475, 510);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
    }
    void setLines(const QByteArray& svg)
    {
        m_lines.load(svg);
        m_linesImage = QImage();
        update();
    }
    void setFills(const QByteArray& svg)
    {
        m_fills.load(svg);
        m_fillsImage = QImage();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_lines.isValid())
            return;
        const QSizeF size = m_lines.viewBoxF().size().scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
        const QSize pixels = (size * devicePixelRatioF()).toSize();
        if (m_linesImage.size() != pixels)
            m_linesImage = draw(m_lines, pixels);
        if (m_fillsImage.size() != pixels)
            m_fillsImage = draw(m_fills, pixels);
        QPainter painter(this);
        const QPointF at((width() - size.width()) / 2, (height() - size.height()) / 2);
        painter.drawImage(at, m_fillsImage);
        painter.drawImage(at, m_linesImage);
    }

private:
    QImage draw(QSvgRenderer& renderer, const QSize& pixels) const
    {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        }
        image.setDevicePixelRatio(devicePixelRatioF());
        return image;
    }

    QSvgRenderer m_lines;
    QSvgRenderer m_fills;
    QImage m_linesImage; // at the size last painted
    QImage m_fillsImage;
};

ActivationMapWindow* ActivationMapWindow::showOrRaise(Services services, StationSession& session, Logbook& logbook,
                                                      QWidget* parent)
{
    ActivationMapWindow* window = g_open;
    if (!window) {
        window = new ActivationMapWindow(services, session, logbook, parent);
        g_open = window;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

ActivationMapWindow::ActivationMapWindow(Services services, StationSession& session, Logbook& logbook, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_session(session), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Carte_Acti"));
    setWindowTitle(QStringLiteral("Carte_Activations"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_mode = named<QComboBox>(this, "Mode_AX");
    for (const QByteArray& mode : StationSession::modeList())
        m_mode->addItem(QString::fromLatin1(mode));
    m_mode->setCurrentIndex(m_session.modeIndex());
    m_band = named<QComboBox>(this, "Bande_A");
    fillBands();
    auto* show = named<QPushButton>(this, "Afficher", QStringLiteral("Afficher"));
    m_savePng = named<QPushButton>(this, "Enregistrer_PNG", QStringLiteral("Enregistrer en PNG"));
    m_saveSvg = named<QPushButton>(this, "Enregistrer_SVG", QStringLiteral("Enregistrer en SVG"));
    m_savePng->setEnabled(false);
    m_saveSvg->setEnabled(false);
    connect(show, &QPushButton::clicked, this, &ActivationMapWindow::display);
    connect(m_savePng, &QPushButton::clicked, this, &ActivationMapWindow::savePng);
    connect(m_saveSvg, &QPushButton::clicked, this, &ActivationMapWindow::saveSvg);

    auto* choices = new QHBoxLayout;
    choices->addWidget(named<QLabel>(this, "Label5", QStringLiteral("Mode : ")));
    choices->addWidget(m_mode);
    choices->addWidget(named<QLabel>(this, "Label1", QStringLiteral("Bande : ")));
    choices->addWidget(m_band);
    choices->addWidget(show);
    choices->addStretch();
    choices->addWidget(m_savePng);
    choices->addWidget(m_saveSvg);

    m_picture = new MapPicture(this);

    auto* frame = named<QGroupBox>(this, "Frame1");
    m_departments = named<QLabel>(frame, "NB_Dep");
    auto* frameRow = new QHBoxLayout(frame);
    frameRow->addWidget(m_departments);
    frameRow->addWidget(named<QLabel>(frame, "Label3", QStringLiteral("Départements contactés")));
    m_activations = named<QLabel>(this, "NB_Activ");
    auto* counts = new QHBoxLayout;
    counts->addWidget(named<QLabel>(this, "Label6", QStringLiteral("JNM")));
    counts->addWidget(named<QLabel>(this, "Label2", QStringLiteral("REF")));
    counts->addWidget(m_activations);
    counts->addWidget(named<QLabel>(this, "Label4", QStringLiteral("Activations et")));
    counts->addWidget(frame);
    counts->addStretch();
    auto* attribution = named<QLabel>(this, "Attribution", activationmap::attribution());
    counts->addWidget(attribution, 0, Qt::AlignBottom);

    auto* column = new QVBoxLayout(this);
    column->addLayout(choices);
    column->addWidget(m_picture, 1);
    column->addLayout(counts);

    // The map without colours until `Afficher`.
    m_picture->setLines(drawing({}, activationmap::SvgOptions::Layer::Lines));
    m_picture->setFills(drawing({}, activationmap::SvgOptions::Layer::Fills));
    connect(&m_logbook, &Logbook::appended, this, &ActivationMapWindow::redraw);
    connect(&m_logbook, &Logbook::reloaded, this, &ActivationMapWindow::redraw);
    connect(&m_session, &StationSession::sessionChanged, this, &ActivationMapWindow::fillBands);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void ActivationMapWindow::fillBands()
{
    m_band->clear();
    for (const QByteArray& band : m_session.bandList())
        m_band->addItem(QString::fromLatin1(band));
    m_band->setCurrentIndex(m_session.bandIndex());
}

void ActivationMapWindow::display()
{
    const QString band = m_band->currentText().trimmed();
    if (band.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Selectionnez une bande"));
        return;
    }
    m_shownBand = cp1252::encode(band);
    m_shownMode = cp1252::encode(m_mode->currentText());
    redraw();
    m_savePng->setEnabled(true);
    m_saveSvg->setEnabled(true);
}

void ActivationMapWindow::redraw()
{
    if (m_shownBand.isEmpty())
        return;
    m_colouring = activationmap::colour(m_logbook.lines(), m_shownBand, m_shownMode);
    m_picture->setFills(drawing(m_colouring, activationmap::SvgOptions::Layer::Fills));
    m_svg = drawing(m_colouring, activationmap::SvgOptions::Layer::Whole);
    m_activations->setText(QString::number(m_colouring.matchingQsos));
    m_departments->setText(QString::number(m_colouring.colouredDepartments()));
}

void ActivationMapWindow::savePng()
{
    save(QStringLiteral("png"));
}

void ActivationMapWindow::saveSvg()
{
    save(QStringLiteral("svg"));
}

void ActivationMapWindow::save(const QString& extension)
{
    if (m_svg.isEmpty())
        return;
    // The saved map carries what it shows: station, band, mode and counts.
    const QString band = QString::fromLatin1(m_shownBand);
    const QString mode = QString::fromLatin1(m_shownMode);
    const QString name = activationmap::fileName(m_session.storedCallsign(), band, mode, extension);
    const QByteArray titled = activationmap::svg(
        activationmap::FranceMap::shipped(), m_colouring,
        {backgroundColour(), activationmap::title(m_session.displayCallsign(), band, mode, m_colouring)});
    const QByteArray content = extension == QLatin1String("svg") ? titled : renderPng(titled, 2);
    const FileResult written = m_services.files.replace(QDir(m_services.programDir).filePath(name), content);
    m_services.dialogs.message(written.ok()
                                   ? QStringLiteral("La carte est enregistrée dans ") + name + QStringLiteral(".")
                                   : reportmessages::notWritten(name, written));
}

palette::Rgb ActivationMapWindow::backgroundColour() const
{
    return palette().color(QPalette::Window).rgb() & 0xFFFFFF;
}

QByteArray ActivationMapWindow::drawing(const activationmap::Colouring& colouring,
                                        activationmap::SvgOptions::Layer layer) const
{
    return activationmap::svg(activationmap::FranceMap::shipped(), colouring, {backgroundColour(), {}, false, layer});
}

QByteArray ActivationMapWindow::renderPng(const QByteArray& svg, double scale)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    const QSize size = (renderer.viewBoxF().size() * scale).toSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace tv
