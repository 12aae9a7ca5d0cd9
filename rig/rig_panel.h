#pragma once

#include "platform/services.h"
#include "rig/rig_settings.h"

#include <QWidget>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace tv {

class RigctldRig;
class SerialPort;
class SerialPorts;
class YaesuRig;

// The transceiver controls of the cluster window: the model `Emetteur` ("FT-736", "FT-817",
// "FT-847", "FT-897", "rigctld (Hamlib)") with `Label12` "Transceiver", the port `NumPort`
// after `Label10` "Com " ("0" for none), the speed `DebitPort` before `Label9` "Bauds", the
// rigctld host `HoteRigctld` and port `PortRigctld`, and the state of the last command in
// `EtatEmetteur`. Its two menus, "Port Com" ("Sans" and the machine's ports, listed again each
// time the menu opens) and "Baud" (4800, 9600, 19200, 57600), go in the window's menu bar.
//
// Responsibilities: restore the choices from the settings, store each as it is made, open the
// Yaesu port (when a port and a Yaesu model are chosen) and close it (on "Sans", when rigctld
// is chosen, so that the daemon may use it, and with the panel); tune the chosen rig to a spot.
// A port that cannot be opened from the menu is told in a message box and changes nothing (the
// port open before stays open); a tuning failure is shown in `EtatEmetteur`.
// Collaborations: SettingsStore and Dialogs of Services; SerialPorts for the ports; YaesuRig
// and RigctldRig do the talking.
class RigPanel final : public QWidget {
    Q_OBJECT
public:
    RigPanel(Services services, SerialPorts& ports, QWidget* parent = nullptr);
    ~RigPanel() override;

    QMenu* portMenu() const { return m_portMenu; }
    QMenu* baudMenu() const { return m_baudMenu; }
    const RigSettings& choice() const { return m_choice; }
    bool portOpen() const;

    static inline const QString kRigctldEntry = QStringLiteral("rigctld (Hamlib)");
    static constexpr int kBauds[] = {4800, 9600, 19200, 57600};

public Q_SLOTS:
    // Tunes the chosen rig to a spot's frequency, in the spot's mode; with no port chosen (and
    // not rigctld) nothing is sent.
    void tune(tv::Frequency hz);
    void choosePort(const QString& name); // empty: "Sans"
    void chooseBaud(int baud);
    void chooseTransceiver(int index); // 0-3 a Yaesu model, 4 rigctld

Q_SIGNALS:
    // The rig took a command (frequency and mode), or refused it.
    void tuned(const tv::RigState& state);
    void tuneFailed(const QString& reason);

private:
    void buildControls();
    void buildMenus();
    void fillPortMenu();
    void showChoice();
    // Opens the chosen port when a Yaesu is chosen; the reason when it cannot be.
    QString openChosenPort();
    void closePort();
    void takeRigctldEntry();
    void makeRigs();
    void status(const QString& text);
    void stored(bool ok);

    Services m_services;
    SerialPorts& m_ports;
    RigSettings m_choice;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<YaesuRig> m_yaesu;
    std::unique_ptr<RigctldRig> m_rigctld;

    QComboBox* m_model = nullptr;    // Emetteur
    QLabel* m_portLabel = nullptr;   // NumPort
    QLabel* m_baudLabel = nullptr;   // DebitPort
    QLineEdit* m_host = nullptr;     // HoteRigctld
    QLineEdit* m_tcpPort = nullptr;  // PortRigctld
    QWidget* m_serialBox = nullptr;  // the port and its speed, for a Yaesu
    QWidget* m_rigctldBox = nullptr; // the host and port of rigctld
    QLabel* m_status = nullptr;      // EtatEmetteur
    QMenu* m_portMenu = nullptr;
    QMenu* m_baudMenu = nullptr;
};

} // namespace tv
