#include "aids/aids_cli.h"

#include "aids/callsign_index.h"
#include "logstore/cp1252.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "platform/file_system.h"
#include "platform/installed_files.h"
#include "station/station_session.h"

#include <QSet>
#include <QTextStream>

namespace tv::aids {

namespace {

int run(const cli::Context& context, const cli::Station* station, cli::CommandArgs& args)
{
    StationSession session(&context.settings);
    session.setStation(station->paths.callsign(), QString());
    session.readSettings();
    const QString bandOption = args.value(QStringLiteral("--band"));
    const QByteArray band = bandOption.isEmpty() ? session.band() : cp1252::encode(bandOption);
    const QString modeOption = args.value(QStringLiteral("--mode"));
    const QByteArray mode = modeOption.isEmpty() ? session.mode() : cp1252::encode(modeOption.toUpper());
    const QStringList operands = args.operands();
    if (operands.size() != 1)
        args.fail(QStringLiteral("la commande scp demande un indicatif, ou son début"));
    if (const int usage = cli::usageError(context, args); usage != cli::kOk)
        return usage;
    const QByteArray typed = cp1252::encode(operands[0].trimmed().toUpper());

    // The master file is optional: without it the list is only shorter.
    const FileRead master = context.files.read(installed::masterCallsignFile());
    const CallsignIndex index(master.result.ok() ? CallsignIndex::readMasterFile(master.bytes) : QList<QByteArray>());
    const FileRead log = context.files.read(station->paths.existingLog(context.files));
    if (!log.result.ok()) {
        context.err << QStringLiteral("Le log ne peut pas être lu : ") << log.result.detail << Qt::endl;
        return cli::kReadFailed;
    }
    const QList<QByteArray> lines = LogFile::splitLines(log.bytes);
    QList<QByteArray> known;
    QSet<QByteArray> worked;
    for (const QByteArray& line : lines) {
        const QByteArray call = qsoline::field(line, logcol::kCallsign);
        known << call;
        if (qsoline::field(line, logcol::kBand) == band && qsoline::field(line, logcol::kMode) == mode)
            worked.insert(call);
    }
    const FileRead nomenclature = context.files.read(station->paths.nomenclature());
    for (const QByteArray& line : LogFile::splitLines(nomenclature.bytes))
        known << line.left(10).trimmed();

    const CallsignIndex::Suggestions s = index.suggest(typed, known);
    const auto print = [&](const QList<QByteArray>& calls) {
        for (const QByteArray& call : calls) {
            context.out << QStringLiteral("  ") << cp1252::decode(call);
            if (worked.contains(call))
                context.out << QStringLiteral("  (déjà contacté sur ") << cp1252::decode(band) << QStringLiteral(" en ")
                            << cp1252::decode(mode) << QStringLiteral(")");
            context.out << Qt::endl;
        }
    };
    context.out << QStringLiteral("Indicatifs connus contenant ") << cp1252::decode(typed) << QStringLiteral(" : ")
                << s.partial.size() << Qt::endl;
    print(s.partial);
    context.out << QStringLiteral("A un caractère près : ") << s.oneAway.size() << Qt::endl;
    print(s.oneAway);
    if (!master.result.ok())
        context.out << QStringLiteral("(fichier ") << installed::masterCallsignFile()
                    << QStringLiteral(" absent : liste réduite)") << Qt::endl;
    return cli::kOk;
}

} // namespace

cli::Command scpCommand()
{
    return {QStringLiteral("scp"),
            QStringLiteral("  scp TEXTE [--band BANDE] [--mode SSB|CW]\n"
                           "            indicatifs connus contenant TEXTE, puis à un caractère près\n"
                           "            (log, Nomenclature.txt, MASTER.SCP), ceux déjà contactés marqués\n"),
            true, false, run};
}

} // namespace tv::aids
