#include "rig/rig_cli.h"

#include "platform/qt_serial_port.h"
#include "rig/rig_settings.h"
#include "rig/rigctld_rig.h"
#include "rig/spot_tuning.h"
#include "rig/yaesu_cat.h"

#include <QTextStream>

namespace tv::rigcli {
namespace {

const QString kRigForms = QStringLiteral("yaesu:MODELE:PORT[:BAUDS] ou rigctld:HOTE[:PORT]");

// The rig of "--rig", over the stored choice; an error text when the form is not understood.
QString parseRig(const QString& text, RigSettings& choice)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const QString kind = parts[0].toLower();
    bool ok = true;
    if (kind == QLatin1String("yaesu") && (parts.size() == 3 || parts.size() == 4)) {
        const yaesu::Model* model = yaesu::modelNamed(parts[1]);
        if (!model)
            return QStringLiteral("modèle inconnu : ") + parts[1] + QStringLiteral(" (FT-736, FT-817, FT-847, FT-897)");
        choice.model = int(model - yaesu::models().data());
        choice.port = parts[2];
        choice.baud = parts.size() == 4 ? parts[3].toInt(&ok) : 0;
        choice.rigctld = false;
        if (!ok || choice.baud < 0 || (parts.size() == 4 && choice.baud == 0) || choice.port.isEmpty())
            return QStringLiteral("--rig ") + text + QStringLiteral(" : port ou vitesse illisible");
        return {};
    }
    if (kind == QLatin1String("rigctld") && (parts.size() == 2 || parts.size() == 3) && !parts[1].isEmpty()) {
        choice.rigctld = true;
        choice.host = parts[1];
        const uint port = parts.size() == 3 ? parts[2].toUInt(&ok) : RigctldRig::kDefaultPort;
        if (!ok || port == 0 || port > 65535)
            return QStringLiteral("--rig ") + text + QStringLiteral(" : port TCP illisible");
        choice.tcpPort = quint16(port);
        return {};
    }
    return QStringLiteral("--rig attend ") + kRigForms;
}

int finish(const cli::Context& context, const QString& failure)
{
    if (failure.isEmpty())
        return cli::kOk;
    context.err << failure << Qt::endl;
    return cli::kUnreachable;
}

int tuneYaesu(const cli::Context& context, const RigSettings& choice, Frequency hz, RigMode mode)
{
    const yaesu::Model& model = choice.yaesuModel();
    QtSerialPort port;
    if (const QString error = port.open(choice.port, choice.baudInForce()); !error.isEmpty()) {
        context.err << QStringLiteral("Le port %1 n'existe pas (%2)").arg(choice.port, error) << Qt::endl;
        return cli::kUnreachable;
    }
    YaesuRig rig(port, model);
    QString failure;
    QObject::connect(&rig, &Rig::failure, [&](const QString& reason) { failure = reason; });
    rig.tune(hz, mode);
    context.out << QStringLiteral("%1, port %2 à %3 bauds : %4 kHz en %5")
                       .arg(QString::fromLatin1(model.name), choice.port)
                       .arg(choice.baudInForce())
                       .arg(spottuning::kilohertzText(hz), rigModeName(mode))
                << Qt::endl;
    for (const QByteArray& frame : rig.lastFrames())
        context.out << yaesu::hexText(frame) << Qt::endl;
    return finish(context, failure);
}

int tuneRigctld(const cli::Context& context, const RigSettings& choice, Frequency hz, RigMode mode)
{
    RigctldRig rig(choice.host, choice.tcpPort);
    QString failure;
    QObject::connect(&rig, &Rig::failure, [&](const QString& reason) { failure = reason; });
    rig.tune(hz, mode);
    context.out << QStringLiteral("rigctld %1:%2 : %3 kHz en %4")
                       .arg(choice.host)
                       .arg(choice.tcpPort)
                       .arg(spottuning::kilohertzText(hz), rigModeName(mode))
                << Qt::endl;
    for (const QString& command : rig.lastCommands())
        context.out << command << Qt::endl;
    return finish(context, failure);
}

int run(const cli::Context& context, const cli::Station*, cli::CommandArgs& args)
{
    RigSettings choice = rigsettings::load(context.settings);
    const QString rig = args.value(QStringLiteral("--rig"));
    if (!rig.isEmpty()) {
        if (const QString error = parseRig(rig, choice); !error.isEmpty())
            args.fail(error);
    }
    const QStringList operands = args.operands();
    std::optional<Frequency> hz;
    if (operands.isEmpty())
        args.fail(QStringLiteral("la commande tune demande une fréquence en kHz (14025.0)"));
    else if (!(hz = spottuning::kilohertz(operands[0])))
        args.fail(QStringLiteral("fréquence illisible : ") + operands[0] + QStringLiteral(" (en kHz : 14025.0)"));
    else if (operands.size() > 1)
        args.fail(QStringLiteral("argument en trop : ") + operands[1]);
    if (const int code = cli::usageError(context, args); code != cli::kOk)
        return code;
    const RigMode mode = spottuning::spotMode(*hz);
    switch (choice.kind()) {
    case RigKind::Yaesu:
        return tuneYaesu(context, choice, *hz, mode);
    case RigKind::Rigctld:
        return tuneRigctld(context, choice, *hz, mode);
    case RigKind::None:
        break;
    }
    context.err << QStringLiteral("Aucun émetteur choisi : indiquez --rig ") << kRigForms << Qt::endl;
    return cli::kUsage;
}

} // namespace

cli::Command tuneCommand()
{
    return {QStringLiteral("tune"),
            QStringLiteral("  tune KHZ [--rig yaesu:MODELE:PORT[:BAUDS] | rigctld:HOTE[:PORT]]\n"
                           "            règle l'émetteur sur KHZ (14025.0) dans le mode d'un spot à cette\n"
                           "            fréquence, par l'émetteur choisi dans le programme ou celui de --rig,\n"
                           "            et affiche ce qui a été envoyé\n"),
            false, false, run};
}

} // namespace tv::rigcli
