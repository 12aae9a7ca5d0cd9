#include "rig/rig_panel.h"

#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "platform/serial_port.h"
#include "rig/rigctld_rig.h"
#include "rig/spot_tuning.h"
#include "rig/yaesu_cat.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

namespace tv {
namespace {

constexpr int kRigctldIndex = 4;

} // namespace

RigPanel::RigPanel(Services services, SerialPorts& ports, QWidget* parent)
    : QWidget(parent), m_services(services), m_ports(ports), m_choice(rigsettings::load(services.settings))
{
    buildControls();
    buildMenus();
    makeRigs();
    showChoice();
    if (const QString error = openChosenPort(); !error.isEmpty())
        status(error);
    connect(m_model, &QComboBox::activated, this, &RigPanel::chooseTransceiver);
}

RigPanel::~RigPanel() = default;

void RigPanel::buildControls()
{
    m_model = named<QComboBox>(this, "Emetteur");
    for (const yaesu::Model& model : yaesu::models())
        m_model->addItem(QString::fromLatin1(model.name));
    m_model->addItem(kRigctldEntry);
    m_serialBox = new QWidget(this);
    m_portLabel = named<QLabel>(m_serialBox, "NumPort");
    m_baudLabel = named<QLabel>(m_serialBox, "DebitPort");
    m_rigctldBox = new QWidget(this);
    m_host = named<QLineEdit>(m_rigctldBox, "HoteRigctld");
    m_tcpPort = named<QLineEdit>(m_rigctldBox, "PortRigctld");
    m_tcpPort->setValidator(new QIntValidator(1, 65535, m_tcpPort));
    m_tcpPort->setMaximumWidth(m_tcpPort->fontMetrics().horizontalAdvance(QStringLiteral("655350")) + 12);
    m_status = named<QLabel>(this, "EtatEmetteur");
    m_status->setWordWrap(true);
    connect(m_host, &QLineEdit::editingFinished, this, &RigPanel::takeRigctldEntry);
    connect(m_tcpPort, &QLineEdit::editingFinished, this, &RigPanel::takeRigctldEntry);

    auto* line = new QHBoxLayout;
    line->addWidget(named<QLabel>(this, "Label12", QStringLiteral("Transceiver")));
    line->addWidget(m_model);
    auto* serial = new QHBoxLayout(m_serialBox);
    serial->setContentsMargins(0, 0, 0, 0);
    serial->addSpacing(12);
    serial->addWidget(named<QLabel>(m_serialBox, "Label10", QStringLiteral("Com ")));
    serial->addWidget(m_portLabel);
    serial->addSpacing(12);
    serial->addWidget(m_baudLabel);
    serial->addWidget(named<QLabel>(m_serialBox, "Label9", QStringLiteral("Bauds")));
    line->addWidget(m_serialBox);
    auto* rigctld = new QHBoxLayout(m_rigctldBox);
    rigctld->setContentsMargins(0, 0, 0, 0);
    rigctld->addWidget(named<QLabel>(m_rigctldBox, "LabelRigctld", QStringLiteral("rigctld")));
    rigctld->addWidget(m_host);
    rigctld->addWidget(named<QLabel>(m_rigctldBox, "LabelPortRigctld", QStringLiteral(":")));
    rigctld->addWidget(m_tcpPort);
    line->addWidget(m_rigctldBox);
    line->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(line);
    column->addWidget(m_status);
}

void RigPanel::buildMenus()
{
    m_portMenu = new QMenu(QStringLiteral("Port Com"), this);
    m_portMenu->setObjectName(QStringLiteral("Mnu_Port_Com"));
    connect(m_portMenu, &QMenu::aboutToShow, this, &RigPanel::fillPortMenu);
    m_baudMenu = new QMenu(QStringLiteral("Baud"), this);
    m_baudMenu->setObjectName(QStringLiteral("Mnu_Baud"));
    for (const int baud : kBauds) {
        QAction* action = m_baudMenu->addAction(QString::number(baud));
        action->setObjectName(QStringLiteral("Mnu_%1").arg(baud));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, baud] { chooseBaud(baud); });
    }
    fillPortMenu();
}

// "Sans", then the machine's ports; the chosen port is listed even when the machine no longer
// has it, so that its check mark shows what the settings hold.
void RigPanel::fillPortMenu()
{
    m_portMenu->clear();
    QStringList names = m_ports.names();
    if (!m_choice.port.isEmpty() && !names.contains(m_choice.port))
        names << m_choice.port;
    QAction* none = m_portMenu->addAction(QStringLiteral("Sans"));
    none->setObjectName(QStringLiteral("Mnu_SansCom"));
    none->setCheckable(true);
    none->setChecked(m_choice.port.isEmpty());
    connect(none, &QAction::triggered, this, [this] { choosePort(QString()); });
    for (const QString& name : names) {
        QAction* action = m_portMenu->addAction(name);
        action->setCheckable(true);
        action->setChecked(name == m_choice.port);
        connect(action, &QAction::triggered, this, [this, name] { choosePort(name); });
    }
}

void RigPanel::showChoice()
{
    m_model->setCurrentIndex(m_choice.rigctld ? kRigctldIndex : m_choice.model);
    m_portLabel->setText(m_choice.port.isEmpty() ? QStringLiteral("0") : m_choice.port);
    // The speed chosen; with a port but no speed chosen, the model's own, which the port runs at.
    const int baud = m_choice.port.isEmpty() ? m_choice.baud : m_choice.baudInForce();
    m_baudLabel->setText(QString::number(baud));
    for (QAction* action : m_baudMenu->actions())
        action->setChecked(action->text() == QString::number(m_choice.baud));
    m_host->setText(m_choice.host);
    m_tcpPort->setText(QString::number(m_choice.tcpPort));
    m_rigctldBox->setVisible(m_choice.rigctld);
    m_serialBox->setVisible(!m_choice.rigctld);
    // The port and its speed serve the Yaesu models only.
    m_portMenu->setEnabled(!m_choice.rigctld);
    m_baudMenu->setEnabled(!m_choice.rigctld);
    fillPortMenu();
}

bool RigPanel::portOpen() const
{
    return m_port && m_port->isOpen();
}

QString RigPanel::openChosenPort()
{
    if (m_choice.kind() != RigKind::Yaesu || portOpen())
        return {};
    std::unique_ptr<SerialPort> port = m_ports.make();
    if (!port->open(m_choice.port, m_choice.baudInForce()).isEmpty())
        return QStringLiteral("Le port %1 n'existe pas").arg(m_choice.port);
    m_port = std::move(port);
    makeRigs();
    return {};
}

void RigPanel::closePort()
{
    m_yaesu.reset();
    m_port.reset();
}

void RigPanel::makeRigs()
{
    m_yaesu.reset();
    m_rigctld.reset();
    if (m_port)
        m_yaesu = std::make_unique<YaesuRig>(*m_port, m_choice.yaesuModel());
    m_rigctld = std::make_unique<RigctldRig>(m_choice.host, m_choice.tcpPort);
    for (Rig* rig : {static_cast<Rig*>(m_yaesu.get()), static_cast<Rig*>(m_rigctld.get())}) {
        if (!rig)
            continue;
        connect(rig, &Rig::stateChanged, this, [this](const RigState& state) {
            status(QStringLiteral("Émetteur réglé sur %1 kHz en %2")
                       .arg(spottuning::kilohertzText(state.frequency), rigModeName(state.mode)));
            Q_EMIT tuned(state);
        });
        connect(rig, &Rig::failure, this, [this](const QString& reason) {
            status(reason);
            Q_EMIT tuneFailed(reason);
        });
    }
}

void RigPanel::tune(Frequency hz)
{
    const RigMode mode = spottuning::spotMode(hz);
    switch (m_choice.kind()) {
    case RigKind::None:
        return;
    case RigKind::Rigctld:
        m_rigctld->tune(hz, mode);
        return;
    case RigKind::Yaesu:
        if (const QString error = openChosenPort(); !error.isEmpty()) {
            status(error);
            Q_EMIT tuneFailed(error);
            return;
        }
        m_yaesu->tune(hz, mode);
        return;
    }
}

void RigPanel::choosePort(const QString& name)
{
    if (m_choice.rigctld)
        return;
    if (name.isEmpty()) {
        closePort();
        m_choice.port.clear();
        m_choice.baud = 0;
        stored(rigsettings::storePort(m_services.settings, QString()) &&
               rigsettings::storeBaud(m_services.settings, 0));
        showChoice();
        return;
    }
    if (m_port && m_port->portName() == name)
        closePort(); // the same port again: it is opened afresh
    std::unique_ptr<SerialPort> port = m_ports.make();
    if (!port->open(name, m_choice.baudInForce()).isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Le port %1 n'existe pas").arg(name));
        fillPortMenu(); // the entry chosen took its own check mark
        return;
    }
    closePort();
    m_port = std::move(port);
    m_choice.port = name;
    makeRigs();
    stored(rigsettings::storePort(m_services.settings, name));
    showChoice();
}

void RigPanel::chooseBaud(int baud)
{
    m_choice.baud = baud;
    if (m_port)
        m_port->setBaudRate(baud);
    stored(rigsettings::storeBaud(m_services.settings, baud));
    showChoice();
}

void RigPanel::chooseTransceiver(int index)
{
    const bool rigctld = index == kRigctldIndex;
    bool ok = rigsettings::storeLink(m_services.settings, rigctld);
    m_choice.rigctld = rigctld;
    if (rigctld) {
        closePort();
    } else if (index >= 0 && index < int(yaesu::models().size())) {
        m_choice.model = index;
        ok = rigsettings::storeModel(m_services.settings, index) && ok;
    }
    makeRigs();
    stored(ok);
    showChoice();
    if (const QString error = openChosenPort(); !error.isEmpty())
        status(error);
}

void RigPanel::takeRigctldEntry()
{
    const QString host = m_host->text().trimmed();
    const uint port = m_tcpPort->text().toUInt();
    if (host.isEmpty() || port == 0 || port > 65535 || (host == m_choice.host && port == m_choice.tcpPort))
        return showChoice();
    m_choice.host = host;
    m_choice.tcpPort = quint16(port);
    stored(rigsettings::storeRigctld(m_services.settings, host, m_choice.tcpPort));
    makeRigs();
}

void RigPanel::status(const QString& text)
{
    m_status->setText(text);
}

void RigPanel::stored(bool ok)
{
    if (!ok)
        status(QStringLiteral("Les réglages de l'émetteur n'ont pas pu être enregistrés"));
}

} // namespace tv
