#include "app/loading_window.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace tv {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kOffsetTwips = 5000; // twice the 2500 twips right of the centre line

} // namespace

LoadingWindow::LoadingWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Chargement"));
    setWindowTitle(QStringLiteral("C_Trafic"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* first = new QLabel(QStringLiteral("Prefixes et Départements"), frame);
    first->setObjectName(QStringLiteral("Label1"));
    auto* second = new QLabel(QStringLiteral("Mise a jour des fichiers"), frame);
    second->setObjectName(QStringLiteral("Label2"));
    QFont bold = first->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    first->setFont(bold);
    for (QLabel* l : {first, second})
        l->setAlignment(Qt::AlignCenter);

    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(24, 16, 24, 16);
    inner->addWidget(first);
    inner->addWidget(second);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);
    setMinimumWidth(280);
}

QPoint LoadingWindow::placement(const QRect& screenArea, const QSize& window, qreal dpiX, qreal dpiY)
{
    if (dpiX <= 0 || dpiY <= 0)
        dpiX = dpiY = 96;
    const double twipsX = kTwipsPerInch / dpiX;
    const double twipsY = kTwipsPerInch / dpiY;
    const double left = std::round((screenArea.width() - window.width()) * twipsX + kOffsetTwips) / 2;
    const double top = std::round((screenArea.height() - window.height()) * twipsY) / 2;
    return {screenArea.x() + int(std::lround(left / twipsX)), screenArea.y() + int(std::lround(top / twipsY))};
}

void LoadingWindow::keepAlive()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LoadingWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(placement(screen->availableGeometry(), frameGeometry().size(), screen->logicalDotsPerInchX(),
                       screen->logicalDotsPerInchY()));
}

} // namespace tv
