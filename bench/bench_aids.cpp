// The super check partial: building the index of the master callsign file, and one look-up per
// keystroke on it, with the callsigns of a full log beside it.

#include "bench/bench_support.h"

#include "aids/callsign_index.h"
#include "logstore/log_columns.h"
#include "logstore/qso_line.h"
#include "platform/installed_files.h"

#include <QFile>

namespace {

void superCheckPartial()
{
    QFile master(tv::installed::masterCallsignFile());
    if (!master.open(QIODevice::ReadOnly)) {
        std::printf("super check partial: no master callsign file (package hamradio-files)\n");
        return;
    }
    const QList<QByteArray> calls = tv::CallsignIndex::readMasterFile(master.readAll());
    tv::CallsignIndex index;
    const double buildMs = tv::bench::bestMs(3, [&] { index = tv::CallsignIndex(calls); });
    tv::bench::report(QStringLiteral("build the index of %1 master callsigns").arg(calls.size()), buildMs,
                      QStringLiteral("once, off the interface thread"));
    QList<QByteArray> logCalls;
    for (const QByteArray& line : tv::bench::generatedLog(32767))
        logCalls << tv::qsoline::field(line, tv::logcol::kCallsign);
    // Every prefix of a few callsigns, as they are typed.
    double worst = 0;
    for (const char* call : {"DL1ABC", "F5ABC", "W1AW", "JA1XYZ", "EA8/F5ABC", "K2"}) {
        const QByteArray full(call);
        for (qsizetype n = 2; n <= full.size(); ++n) {
            const QByteArray typed = full.left(n);
            worst = std::max(worst, tv::bench::bestMs(5, [&] { (void)index.suggest(typed, logCalls); }));
        }
    }
    tv::bench::report(QStringLiteral("super check partial, slowest keystroke (log of 32767 QSOs)"), worst,
                      QStringLiteral("< 2 ms"));
}

const tv::bench::Register kRegister("scp", superCheckPartial);

} // namespace
