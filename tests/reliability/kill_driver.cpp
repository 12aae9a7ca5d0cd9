// A scripted day on a station directory, through the core as the main window drives it: QSOs
// recorded with the entry (new entity, new department, a manual date placed in order), one
// edited, one deleted, the multiplier files rebuilt. The files are written by the real file
// system, so the fault injection of TOURNEVENT_FAULT applies.
//
//   kill_driver DIR JOURNAL [SNAPSHOTS]
//
// Before each operation "op N begin NAME" goes to the error output, after it "op N end" (with
// "trace" in TOURNEVENT_FAULT the file steps fall in between). Each completed operation is
// appended to JOURNAL as "done N NAME" and synced, so that whoever kills the driver knows what
// must be in the log. With SNAPSHOTS, the log's bytes are copied to SNAPSHOTS/N.log after each
// operation (0.log before the first). Exit 0 when the day is done; 2 when an operation did not
// do what it should (the reason on the error output), 3 when a file write failed.

#include "aids/quick_logging.h"
#include "entry/qso_entry.h"
#include "logstore/country_file.h"
#include "logstore/log_columns.h"
#include "logstore/qso_line.h"
#include "platform/qt_file_system.h"
#include "station/logbook.h"
#include "station/station_session.h"
#include "tests/support/fakes/fake_clock.h"
#include "tests/support/fakes/fake_dialogs.h"
#include "tests/support/fakes/fake_printer.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace tv {
namespace {

using F = EntryField;

class Day {
public:
    Day(const QString& dir, const QString& journal, const QString& snapshots)
        : m_countries(CountryFile::load(m_files, CountryFile::installedPath())), m_services{m_settings,       m_dialogs,
                                                                                            m_clock,          m_files,
                                                                                            m_printer,        dir,
                                                                                            m_countries.get()},
          m_journal(journal), m_snapshots(snapshots)
    {
        for (int i = 0; i < 64; ++i)
            m_dialogs.answer(true); // new entities counted, nomenclature replaced, delete confirmed
        m_session.setStation(QStringLiteral("F0ZZZ"), QStringLiteral("JN18DU"));
        m_session.setSessionText(QStringLiteral("HF"));
        m_session.chooseBand(2); // 14 Mhz
        m_logbook.setStation(QStringLiteral("F0ZZZ"));
    }

    int run()
    {
        if (!m_logbook.load().ok())
            return fail("the log cannot be loaded", 3);
        m_entry.reset();
        snapshot(0);
        const std::function<bool()> ops[] = {
            [&] { return record("JA1KIL", "", "21 Mhz", "SSB"); },      // a new entity
            [&] { return record("F5KIL", "2b", "14 Mhz", "SSB"); },     // a new department
            [&] { return record("OH2KIL", "", "14 Mhz", "CW", true); }, // placed in date order
            [&] { return record("F6KIL", "59", "14 Mhz", "SSB"); },     // nothing new
            [&] { return editBand("JA1KIL", "28 Mhz"); },
            [&] { return remove("F5KIL"); },
            [&] { return m_logbook.rebuildMultipliers().result.ok() || fail("rebuild failed", 3); },
            [&] { return record("SP9KIL", "", "7.0 Mhz", "SSB"); },
        };
        static const char* const kNames[] = {"record", "record", "record-in-order", "record",
                                             "edit",   "delete", "rebuild",         "record"};
        for (int n = 1; n <= int(std::size(ops)); ++n) {
            std::fprintf(stderr, "op %d begin %s\n", n, kNames[n - 1]);
            if (!ops[n - 1]())
                return m_exit;
            std::fprintf(stderr, "op %d end\n", n);
            if (const QString failure = writeFailure(); !failure.isEmpty())
                return fail(qPrintable(failure), 3);
            journal(QStringLiteral("done %1 %2\n").arg(n).arg(QLatin1String(kNames[n - 1])));
            snapshot(n);
        }
        return 0;
    }

private:
    bool fail(const char* why, int code)
    {
        std::fprintf(stderr, "kill_driver: %s\n", why);
        m_exit = code;
        return false;
    }

    // An operation that did not change the log: a write failure the operator was told of, or a
    // fault of the entry.
    bool notDone(const char* callsign)
    {
        const QString failure = writeFailure();
        const QByteArray why = QByteArray(callsign) + " not written: " + failure.toUtf8() +
                               " (last shown: " + m_dialogs.last().toUtf8() + ")";
        return fail(why.constData(), failure.isEmpty() ? 2 : 3);
    }

    // A write failure the entry reported to the operator.
    QString writeFailure() const
    {
        for (const QString& text : m_dialogs.texts()) {
            if (text.contains(QStringLiteral("Erreur N°")))
                return text;
        }
        return {};
    }

    std::optional<int> rowOf(const QByteArray& callsign) const
    {
        for (int row = 0; row < m_logbook.count(); ++row) {
            if (qsoline::field(m_logbook.lines()[row], logcol::kCallsign) == callsign)
                return row;
        }
        return std::nullopt;
    }

    bool record(const char* callsign, const char* department, const char* band, const char* mode,
                bool manualDate = false)
    {
        const int before = m_logbook.count();
        m_session.setAutomaticDate(!manualDate);
        EntryForm& form = m_entry.form();
        form.setText(F::Band, QLatin1String(band));
        form.setText(F::Mode, QLatin1String(mode));
        m_entry.enter(F::Band);
        m_entry.enter(F::Mode);
        form.setText(F::Callsign, QLatin1String(callsign));
        form.setText(F::Department, QLatin1String(department));
        form.setText(F::Activity, QStringLiteral("MOULIN"));
        form.activityIndex = 1;
        const QString dept = QLatin1String(department);
        form.setText(F::MillNumber,
                     dept.isEmpty() ? QStringLiteral("WIM 7001") : dept.toUpper() + QStringLiteral("045"));
        form.setText(F::FirstName, QStringLiteral("René"));
        if (manualDate) {
            form.setText(F::Date, QStringLiteral("10/06/15")); // amid the log's QSOs
            form.setText(F::Start, QStringLiteral("08:00"));
        }
        quicklog::record(m_entry, m_session, m_clock, F::Callsign);
        return (m_logbook.count() == before + 1 && rowOf(callsign)) || notDone(callsign);
    }

    bool editBand(const char* callsign, const char* band)
    {
        const std::optional<int> row = rowOf(callsign);
        if (!row)
            return fail("no QSO to edit", 2);
        m_entry.edit(*row);
        m_entry.form().setText(F::Band, QLatin1String(band));
        quicklog::record(m_entry, m_session, m_clock, F::Band);
        const std::optional<int> edited = rowOf(callsign);
        return (edited && qsoline::field(m_logbook.lines()[*edited], logcol::kBand) == band) || notDone(callsign);
    }

    bool remove(const char* callsign)
    {
        const std::optional<int> row = rowOf(callsign);
        if (!row)
            return fail("no QSO to delete", 2);
        m_entry.remove(*row);
        return !rowOf(callsign) || notDone(callsign);
    }

    QString logPath() const { return m_logbook.paths().log(); }

    void journal(const QString& line) const
    {
        const int fd =
            ::open(QFile::encodeName(m_journal).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        const QByteArray bytes = line.toUtf8();
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fsync(fd) != 0)
            std::fprintf(stderr, "kill_driver: journal not written\n");
        if (fd >= 0)
            ::close(fd);
    }

    void snapshot(int n) const
    {
        if (m_snapshots.isEmpty())
            return;
        QFile::copy(logPath(), QDir(m_snapshots).filePath(QStringLiteral("%1.log").arg(n)));
    }

    QtFileSystem m_files;
    FakeSettingsStore m_settings;
    FakeDialogs m_dialogs;
    FakeClock m_clock;
    FakePrinter m_printer;
    std::shared_ptr<const CountryFile> m_countries;
    Services m_services;
    StationSession m_session{&m_settings};
    Logbook m_logbook{m_services};
    QsoEntry m_entry{m_services, m_session, m_logbook};
    QString m_journal;
    QString m_snapshots;
    int m_exit = 0;
};

} // namespace
} // namespace tv

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kill_driver DIR JOURNAL [SNAPSHOTS]\n");
        return 64;
    }
    tv::Day day(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    return day.run();
}
