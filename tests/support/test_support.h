#pragma once

#include "logstore/qso_line.h"
#include "platform/qt_file_system.h"
#include "platform/services.h"
#include "tests/support/fakes/failing_file_system.h"
#include "tests/support/fakes/fake_clock.h"
#include "tests/support/fakes/fake_dialogs.h"
#include "tests/support/fakes/fake_printer.h"
#include "tests/support/fakes/fake_settings_store.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <ostream>

// Readable values in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << text.toStdString();
}

namespace tv::test {

// A program directory in a temporary folder, removed at the end of the test.
class TempProgramDir {
public:
    TempProgramDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;

    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    // Every file of the directory (not below) with its bytes.
    QMap<QString, QByteArray> files() const;
    // Copies the shipped data files into the directory.
    void installShippedData() const;
    // The department and prefix files of both modes of a station, copied from the templates
    // already in the directory; the log is left to the test.
    void installStationFiles(const QString& callsign) const;

private:
    QTemporaryDir m_dir;
};

// The fakes and a real file system over one temporary program directory.
struct Fixture {
    TempProgramDir dir;
    FakeSettingsStore settings;
    FakeDialogs dialogs;
    FakeClock clock;
    FailingFileSystem files; // the real file system unless a test asks for failures
    FakePrinter printer;

    Services services() { return {settings, dialogs, clock, files, printer, dir.path()}; }
    // The shipped data, the files of the station with an empty log, and the station current.
    void installStation(const QString& callsign, const QString& session = "HF");
};

// The child of that type and name; a failure of the test when there is none.
template <typename T> T* child(const QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Names the station as the current one: callsign and locator of the "Setup " section, session
// and event date 21/06/15 of its own section; the writes made here are then forgotten.
void setCurrentStation(FakeSettingsStore& settings, const QString& callsign, const QString& session = "HF",
                       const QString& locator = "JN18DU");

// Text given in UTF-8 in the test, as the Windows-1252 bytes the files hold.
QByteArray cp(const char* utf8);

// A QSO line built from a compact description, for logs in tests:
// qso("12/05/08", "F5ABC", "09:41", "14 Mhz", "SSB") and optional fields set on the record.
QByteArray qso(const char* date, const char* callsign, const char* start, const char* band, const char* mode,
               const char* department = "", const char* activity = "0", const char* distance = "");

// A French mill contact on 14 Mhz SSB, as recorded: F5ABC, department 59, DMF 59045, RENÉ,
// new department, known entity, "Moulin de Hondschoote".
QsoRecord frenchMillRecord();

// `count` QSOs on 21/06/15 at 10:00 on 14 Mhz SSB with the callsigns stem1, stem2 ... (the
// number taken modulo 10000).
QList<QByteArray> numberedLog(int count, const char* stem);

// Lines joined with CR LF after each.
QByteArray crlf(std::initializer_list<QByteArray> lines);

// The line with `text` written over it from `column` (counted from 1).
QByteArray put(QByteArray line, int column, const QByteArray& text);

// What a run of tournevent-cli gave: its exit code (-1: still running after a minute, -2:
// crashed) and its standard and error outputs.
struct CliRun {
    int code = -1;
    QString out, err;
};
// Runs the built tournevent-cli with "--dir DIR" before the arguments, in DIR, while the test's
// event loop runs (servers of the test answer meanwhile).
CliRun runCli(const TempProgramDir& dir, const QStringList& arguments);

// What pdftotext reads from a PDF with this option ("-layout", "-bbox"), or nothing when the
// tool is not installed.
std::optional<QString> pdfToText(const QString& option, const QString& pdf);

} // namespace tv::test
