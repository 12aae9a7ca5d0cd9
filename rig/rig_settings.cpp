#include "rig/rig_settings.h"

#include "platform/settings_keys.h"
#include "platform/settings_store.h"

#include <QRegularExpression>

namespace tv {

RigKind RigSettings::kind() const
{
    if (rigctld)
        return RigKind::Rigctld;
    return port.isEmpty() ? RigKind::None : RigKind::Yaesu;
}

namespace rigsettings {
namespace {

const QString kNone = QStringLiteral("0");
const QString kLineSuffix = QStringLiteral(",n,8,1");

QString stored(const SettingsStore& settings, const QString& key, const QString& defaultValue)
{
    return settings.value(keys::kZez, keys::kSetup, key, defaultValue);
}

bool store(SettingsStore& settings, const QString& key, const QString& value)
{
    return settings.setValue(keys::kZez, keys::kSetup, key, value);
}

} // namespace

QString baudText(int baud)
{
    return baud > 0 ? QString::number(baud) + kLineSuffix : kNone;
}

int baudOf(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([1-9]\\d{2,6}),n,8,1$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

RigSettings load(const SettingsStore& settings)
{
    RigSettings out;
    bool ok = false;
    const int model = stored(settings, keys::kTransceiver, QString::number(yaesu::kDefaultModel)).toInt(&ok);
    if (ok && model >= 0 && model < int(yaesu::models().size()))
        out.model = model;
    static const QRegularExpression digits(QStringLiteral("^\\d*$"));
    const QString port = stored(settings, keys::kPortCom, kNone).trimmed();
    if (!digits.match(port).hasMatch())
        out.port = port;
    out.baud = baudOf(stored(settings, keys::kBaud, kNone));
    out.rigctld = stored(settings, keys::kLiaison, keys::kLiaisonYaesu) == keys::kLiaisonRigctld;
    const QString host = stored(settings, keys::kHoteRigctld, out.host).trimmed();
    if (!host.isEmpty())
        out.host = host;
    const uint tcpPort = stored(settings, keys::kPortRigctld, QString::number(out.tcpPort)).toUInt(&ok);
    if (ok && tcpPort > 0 && tcpPort < 65536)
        out.tcpPort = quint16(tcpPort);
    return out;
}

bool storeModel(SettingsStore& settings, int model)
{
    return store(settings, keys::kTransceiver, QString::number(model));
}

bool storePort(SettingsStore& settings, const QString& port)
{
    return store(settings, keys::kPortCom, port.isEmpty() ? kNone : port);
}

bool storeBaud(SettingsStore& settings, int baud)
{
    return store(settings, keys::kBaud, baudText(baud));
}

bool storeLink(SettingsStore& settings, bool rigctld)
{
    return store(settings, keys::kLiaison, rigctld ? keys::kLiaisonRigctld : keys::kLiaisonYaesu);
}

bool storeRigctld(SettingsStore& settings, const QString& host, quint16 port)
{
    return store(settings, keys::kHoteRigctld, host) && store(settings, keys::kPortRigctld, QString::number(port));
}

} // namespace rigsettings
} // namespace tv
