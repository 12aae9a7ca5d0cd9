#pragma once

#include "logstore/bands.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/qso_line.h"
#include "platform/qt_file_system.h"
#include "tests/support/test_support.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <stdexcept>

// A fixed station F4XYZ: a log holding HF and VHF, SSB and CW, French and foreign, mill and
// ordinary QSOs, and four multiplier files marked to match it. Shared by the report tests.
namespace tv::test::reports {

inline QByteArray built(const QsoRecord& r)
{
    const auto line = qsoline::build(r);
    if (!line)
        throw std::runtime_error("fixture QSO does not fit the line");
    return *line;
}

// The seven QSOs of the fixed log, in log order. All on 21/06/15. Fields: callsign, start, end, department,
// locator, band, mode, RST sent, RST received, mill, first name, points, distance, azimuth,
// activity, mill name (UTF-8, stored in Windows-1252).
inline QList<QByteArray> logLines()
{
    using F = std::array<const char*, 16>;
    const F rows[] = {
        {"F5ABC", "09:41", "09:43", "75", "", "14 Mhz", "SSB", "59", "57", "", "JEAN", "3", "", "", "0", ""},
        {"F6XYZ", "09:50", "09:52", "2a", "", "3.5 Mhz", "CW", "599", "579", "DMF 77012", "", "1", "", "", "1",
         "Moulin de Châteauneuf"},
        {"ON4ABC", "10:02", "10:05", "", "", "28 Mhz", "SSB", "57", "59", "WIM 7001", "", "5", "", "", "1", ""},
        {"DL1XYZ", "10:15", "10:16", "", "", "7.0 Mhz", "CW", "599", "599", "", "HANS", "1", "", "", "0", ""},
        {"F1ABC", "11:00", "11:04", "59", "JO10AB", "144 Mhz", "SSB", "59", "55", "", "", "215", "215", "12", "0", ""},
        {"F4XYZ/P", "11:30", "11:33", "77", "JN18CT", "144 Mhz", "CW", "599", "599", "DMF 77012", "", "48", "48", "95",
         "1", "Moulin de Châteauneuf"},
        {"F5DEF", "12:10", "", "59", "", "3.5 Mhz", "CW", "599", "599", "DMF 77012", "", "1", "", "", "1", ""},
    };
    QByteArray QsoRecord::*const order[] = {&QsoRecord::callsign,      &QsoRecord::start,     &QsoRecord::end,
                                            &QsoRecord::department,    &QsoRecord::locator,   &QsoRecord::band,
                                            &QsoRecord::mode,          &QsoRecord::rstSent,   &QsoRecord::rstReceived,
                                            &QsoRecord::millReference, &QsoRecord::firstName, &QsoRecord::points,
                                            &QsoRecord::distance,      &QsoRecord::azimuth,   &QsoRecord::activity};
    QList<QByteArray> out;
    for (const F& f : rows) {
        QsoRecord r;
        for (size_t i = 0; i < std::size(order); ++i)
            r.*order[i] = f[i];
        r.millName = cp(f[15]);
        r.date = "21/06/15";
        r.newDepartmentFlag = "1";
        r.newPrefixFlag = "0";
        out << built(r);
    }
    return out;
}

// 17 marks, `mark` at the given band indexes (0 = 1.8 Mhz ... 10 = 144 Mhz), "0" elsewhere.
inline QByteArray marks(std::initializer_list<int> contacted, char mark = '1')
{
    QByteArray out(17, '0');
    for (int band : contacted)
        out[band] = mark;
    return out;
}

// Department file lines: code in columns 1-2, marks from column 4, name from 22.
inline QByteArray department(const char* code, const QByteArray& bandMarks, const char* name)
{
    return QByteArray(code).leftJustified(3, ' ') + bandMarks + ' ' + name;
}

// Prefix file lines: prefix in columns 1-6, marks from column 8, entity from 27.
inline QByteArray prefix(const char* code, const QByteArray& bandMarks)
{
    return QByteArray(code).leftJustified(7, ' ') + bandMarks + "  " + QByteArray(code).leftJustified(6, ' ') +
           " entity";
}

// Band indexes of the band table.
enum Band { B35 = 1, B70 = 2, B14 = 4, B28 = 8, B144 = 10 };

// Writes the log and the four multiplier files of F4XYZ into the directory.
inline void writeStation(const TempProgramDir& dir, const QList<QByteArray>& log = logLines())
{
    dir.write("F4XYZ.log", LogFile::joinLines(log));
    dir.write("F4XYZ_Departement_SSB.txt",
              crlf({department("01", marks({}), "Ain"), department("59", marks({B144}), "Nord"),
                    department("75", marks({B14}), "Paris")}));
    // "2" is a mark of the grid, not a contact: it does not count.
    dir.write("F4XYZ_Departement_CW.txt",
              crlf({department("01", marks({B35}, '2'), "Ain"), department("2A", marks({B35}), "Corse du Sud"),
                    department("59", marks({B35}), "Nord"), department("77", marks({B144}), "Seine et Marne")}));
    dir.write("F4XYZ_Prefixe_SSB.txt",
              crlf({prefix("DL", marks({})), prefix("F", marks({B14, B144})), prefix("ON", marks({B28}))}));
    dir.write("F4XYZ_Prefixe_CW.txt",
              crlf({prefix("DL", marks({B70})), prefix("F", marks({B35, B144})), prefix("ON", marks({}))}));
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
    const QByteArray zeros = marks({}, '0');
    dir.write("FXXXX_Prefixe.txt", crlf({prefix("DL", zeros), prefix("F", zeros), prefix("ON", zeros)}));
    dir.write("FXXXX_Departement.txt",
              crlf({department("2A", zeros, "Corse du Sud"), department("59", zeros, "Nord"),
                    department("75", zeros, "Paris"), department("77", zeros, "Seine et Marne")}));
}

// F4XYZ after a session switch: the live session's QSOs in the live log, multiplier files
// rebuilt from it, the other session's in its archive (CALL.vhf or CALL.hf_).
inline void writeSwitchedStation(const TempProgramDir& dir, bool hfLive)
{
    writeTemplates(dir);
    dir.write("F4XYZ.log", LogFile::joinLines(sessionLines(hfLive)));
    dir.write(hfLive ? "F4XYZ.vhf" : "F4XYZ.hf_", LogFile::joinLines(sessionLines(!hfLive)));
    QtFileSystem files;
    if (!MultiplierRebuild(files, StationPaths(dir.path(), "F4XYZ")).runFromLog().result.ok())
        throw std::runtime_error("fixture multiplier files not written");
}

} // namespace tv::test::reports
