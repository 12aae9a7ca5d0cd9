#pragma once

#include "platform/settings_keys.h"
#include "rig/rigctld_rig.h"
#include "rig/yaesu_cat.h"

#include <QString>

namespace tv {

class SettingsStore;

// How the program reaches the transceiver: not at all, a Yaesu on a serial port, or rigctld.
enum class RigKind { None, Yaesu, Rigctld };

// The operator's transceiver choices as the settings keep them.
struct RigSettings {
    int model = yaesu::kDefaultModel; // row of yaesu::models()
    QString port;                     // a port name of the machine; empty: none
    int baud = 0;                     // bit/s; 0: none chosen
    bool rigctld = false;             // the link is rigctld rather than the Yaesu port
    QString host = QStringLiteral("localhost");
    quint16 tcpPort = RigctldRig::kDefaultPort;

    // rigctld when chosen; else a Yaesu when a port is chosen; else none.
    RigKind kind() const;
    const yaesu::Model& yaesuModel() const { return yaesu::models()[model]; }
    // The speed in force on the port: the chosen one, else the model's own.
    int baudInForce() const { return baud > 0 ? baud : yaesuModel().defaultBaud; }
};

namespace rigsettings {

// Reads the choices. A model index out of range gives the FT-847; a "Port Com" of digits (a
// port number "1" to "6" of an older setting) means no port; a "Baud" that is not
// "<speed>,n,8,1" means none; a rigctld port that is not a number gives 4532.
RigSettings load(const SettingsStore& settings);

// "<speed>,n,8,1", or "0" for 0.
QString baudText(int baud);
int baudOf(const QString& stored);

// Each stores one choice as it is made; false when the store refused it.
bool storeModel(SettingsStore& settings, int model);
bool storePort(SettingsStore& settings, const QString& port); // empty: "0"
bool storeBaud(SettingsStore& settings, int baud);
bool storeLink(SettingsStore& settings, bool rigctld);
bool storeRigctld(SettingsStore& settings, const QString& host, quint16 port);

} // namespace rigsettings
} // namespace tv
