#pragma once

#include "logstore/bands.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "tests/support/test_support.h"

#include <stdexcept>

// A fixed station F4XYZ: a log holding HF and VHF, SSB and CW, French and foreign, mill and
// ordinary QSOs, and four multiplier files marked to match it. Shared by the report tests.
namespace tv::test::reports {

// The seven QSOs of the fixed log, in log order, all on 21/06/15. Fields: callsign, start, end,
// department, locator, band, mode, RST sent and received, mill, first name, points, distance,
// azimuth, activity, mill name (UTF-8, stored in Windows-1252).
inline QList<QByteArray> logLines()
{
    const char* const rows[] = {
        "F5ABC|09:41|09:43|75||14 Mhz|SSB|59|57||JEAN|3|||0|",
        "F6XYZ|09:50|09:52|2a||3.5 Mhz|CW|599|579|DMF 77012||1|||1|Moulin de Châteauneuf",
        "ON4ABC|10:02|10:05|||28 Mhz|SSB|57|59|WIM 7001||5|||1|",
        "DL1XYZ|10:15|10:16|||7.0 Mhz|CW|599|599||HANS|1|||0|",
        "F1ABC|11:00|11:04|59|JO10AB|144 Mhz|SSB|59|55|||215|215|12|0|",
        "F4XYZ/P|11:30|11:33|77|JN18CT|144 Mhz|CW|599|599|DMF 77012||48|48|95|1|Moulin de Châteauneuf",
        "F5DEF|12:10||59||3.5 Mhz|CW|599|599|DMF 77012||1|||1|",
    };
    QByteArray QsoRecord::*const order[] = {
        &QsoRecord::callsign,    &QsoRecord::start,         &QsoRecord::end,       &QsoRecord::department,
        &QsoRecord::locator,     &QsoRecord::band,          &QsoRecord::mode,      &QsoRecord::rstSent,
        &QsoRecord::rstReceived, &QsoRecord::millReference, &QsoRecord::firstName, &QsoRecord::points,
        &QsoRecord::distance,    &QsoRecord::azimuth,       &QsoRecord::activity,  &QsoRecord::millName};
    QList<QByteArray> out;
    for (const char* row : rows) {
        const QList<QByteArray> f = cp(row).split('|');
        QsoRecord r{.date = "21/06/15", .newDepartmentFlag = "1", .newPrefixFlag = "0"};
        for (size_t i = 0; i < std::size(order); ++i)
            r.*order[i] = f[i];
        out << qsoline::build(r).value(); // throws when a field does not fit its column
    }
    return out;
}

// Writes the log and the four multiplier files of F4XYZ. A file line holds the department
// (columns 1-2) or the prefix (1-6), then 17 band marks (1.8 Mhz first, 144 Mhz eleventh).
inline void writeStation(const TempProgramDir& dir, const QList<QByteArray>& log = logLines())
{
    dir.write("F4XYZ.log", LogFile::joinLines(log));
    dir.write("F4XYZ_Departement_SSB.txt", "01 00000000000000000 Ain\r\n59 00000000001000000 Nord\r\n"
                                           "75 00001000000000000 Paris\r\n");
    // "2" is a mark of the grid, not a contact: it does not count.
    dir.write("F4XYZ_Departement_CW.txt", "01 02000000000000000 Ain\r\n2A 01000000000000000 Corse du Sud\r\n"
                                          "59 01000000000000000 Nord\r\n77 00000000001000000 Seine et Marne\r\n");
    dir.write("F4XYZ_Prefixe_SSB.txt", "DL     00000000000000000  DL     entity\r\nF      00001000001000000  F      "
                                       "entity\r\nON     00000000100000000  ON     entity\r\n");
    dir.write("F4XYZ_Prefixe_CW.txt", "DL     00100000000000000  DL     entity\r\nF      01000000001000000  F      "
                                      "entity\r\nON     00000000000000000  ON     entity\r\n");
}

// The fixed log's QSOs of one session.
inline QList<QByteArray> sessionLines(bool hf)
{
    QList<QByteArray> out;
    for (const QByteArray& l : logLines()) {
        if (bands::isHf(qsoline::field(l, logcol::kBand)) == hf)
            out << l;
    }
    return out;
}

// Templates holding the entities and departments of the fixed log, every mark "0".
inline void writeTemplates(const TempProgramDir& dir)
{
    dir.write("FXXXX_Prefixe.txt", "DL     00000000000000000  DL     entity\r\nF      00000000000000000  F      "
                                   "entity\r\nON     00000000000000000  ON     entity\r\n");
    dir.write("FXXXX_Departement.txt", "2A 00000000000000000 Corse du Sud\r\n59 00000000000000000 Nord\r\n"
                                       "75 00000000000000000 Paris\r\n77 00000000000000000 Seine et Marne\r\n");
}

// F4XYZ after a session switch: the live session's QSOs in the live log, multiplier files
// rebuilt from it, the other session's in its archive (CALL.vhf or CALL.hf_).
inline void writeSwitchedStation(const TempProgramDir& dir, bool hfLive)
{
    writeTemplates(dir);
    dir.write("F4XYZ.log", LogFile::joinLines(sessionLines(hfLive)));
    dir.write(hfLive ? "F4XYZ.vhf" : "F4XYZ.hf_", LogFile::joinLines(sessionLines(!hfLive)));
    QtFileSystem files;
    if (!MultiplierRebuild(files, StationPaths(dir.path(), "F4XYZ"), nullptr).runFromLog().result.ok())
        throw std::runtime_error("fixture multiplier files not written");
}

} // namespace tv::test::reports
