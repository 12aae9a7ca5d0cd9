#include "app/missing_file_window.h"

#include "platform/named_widget.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tv {
namespace {

} // namespace

MissingFileWindow::MissingFileWindow(Services& services, const QString& storedCallsign, const QString& tail,
                                     QWidget* parent)
    : QDialog(parent), m_settings(services.settings)
{
    setObjectName(QStringLiteral("Gestion_Erreur"));
    setWindowTitle(QStringLiteral("Erreur"));
    setModal(true);

    auto* title = named<QLabel>(this, "Label2", QStringLiteral("ERREUR 53"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    QFont bold = font();
    bold.setBold(true);

    auto* found = new QHBoxLayout;
    found->addWidget(
        named<QLabel>(this, "Label3", QStringLiteral("Tournevent a trouvé dans la base de registre l'indicatif  : ")));
    auto* station = named<QLabel>(this, "Indi_Station", storedCallsign);
    station->setFont(bold);
    found->addWidget(station);
    found->addStretch();

    // The callsign and the tail side by side read as the missing file's name.
    auto* missing = new QHBoxLayout;
    missing->setSpacing(0);
    missing->addWidget(named<QLabel>(
        this, "Label6", QStringLiteral("Il n'a par contre pas trouvé dans son repertoire le(s) fichier(s) ")));
    auto* station1 = named<QLabel>(this, "Ind_Station1", storedCallsign);
    station1->setFont(bold);
    missing->addWidget(station1);
    m_tail = named<QLabel>(this, "Err_Departement", tail);
    m_tail->setFont(bold);
    missing->addWidget(m_tail);
    missing->addStretch();

    auto* initialiseButton = new QPushButton(QStringLiteral("Initialiser"), this);
    initialiseButton->setObjectName(QStringLiteral("Initialisation"));
    initialiseButton->setAutoDefault(false);
    auto* quitButton = new QPushButton(QStringLiteral("Quitter"), this);
    quitButton->setObjectName(QStringLiteral("Quitter"));
    quitButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(initialiseButton);
    buttons->addSpacing(24);
    buttons->addWidget(quitButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(title);
    layout->addSpacing(12);
    layout->addLayout(found);
    layout->addLayout(missing);
    layout->addSpacing(12);
    layout->addWidget(
        named<QLabel>(this, "Label7",
                      QStringLiteral("Pour remedier a cet etat, cliquez sur \" Initialiser\" et relancez Tournevent")));
    layout->addWidget(named<QLabel>(this, "Label8", QStringLiteral("L'indicatif affiché sera alors FXXXX ")));
    layout->addWidget(named<QLabel>(
        this, "Label9", QStringLiteral("une boite de dialogue vous demandera alors de specifier votre indicatif")));
    layout->addSpacing(12);
    layout->addLayout(buttons);

    connect(initialiseButton, &QPushButton::clicked, this, &MissingFileWindow::initialise);
    connect(quitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void MissingFileWindow::setTail(const QString& tail)
{
    m_tail->setText(tail);
}

void MissingFileWindow::initialise()
{
    m_settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, keys::kNoCallsign);
    m_settings.setValue(keys::kJnm, keys::kSetup, keys::kLocatorStation, keys::kNoLocator);
    done(Initialised);
}

void MissingFileWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
}

} // namespace tv
