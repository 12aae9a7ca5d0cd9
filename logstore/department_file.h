#pragma once

#include "logstore/bands.h"
#include "logstore/station_paths.h"
#include "platform/file_system.h"

#include <QByteArray>

#include <array>
#include <optional>

namespace tv {

// A station's department file of one mode (CALL_Departement_SSB.txt, CALL_Departement_CW.txt):
// one line per department, fixed columns counted from 1:
//   1-2   department code, "01" to "95", "2A" / "2B" (or "2a" / "2b") for Corsica
//   4-20  one mark per band, in the order of the band table: "0" not contacted, "1" contacted
//         ("2", "3", "4" are also shown by the grid)
//   22-   department name
//
// Responsibilities: the look-up of a department on a band, setting its mark (the whole file
// rewritten once, atomically), and the marks of the grid of the main window.
// Corsica is one department under three spellings: "2A", "2a" and "96" (the number the entry
// fields use) name the same line, as do "2B", "2b" and "97".
// Collaborations: FileSystem for every access, StationPaths for the file names.
class DepartmentFile {
public:
    static constexpr int kCodeWidth = 2;
    static constexpr int kFirstMarkColumn = 4;
    static constexpr int kNameColumn = 22;
    static constexpr int kCells = 100;
    static constexpr int kCorsicaA = 96;
    static constexpr int kCorsicaB = 97;

    DepartmentFile(FileSystem& files, StationPaths paths);

    struct Lookup {
        FileResult result;  // 53 when the file is missing
        bool found = false; // a line has the code
        QByteArray mark;    // the mark at the band's column; empty when not found or band unknown
        QByteArray name;    // from column 22, leading spaces dropped
        QByteArray line;    // the whole line
    };
    // The first line of the mode's file whose code is `code`.
    Lookup find(const QByteArray& code, const QByteArray& band, bands::Mode mode) const;

    struct MarkResult {
        FileResult result;
        int linesMarked = 0; // lines whose mark changed; the file is not written when 0
    };
    // Sets the band's mark of every line with that code, in one atomic replace of the file.
    MarkResult setMark(const QByteArray& code, char mark, const QByteArray& band, bands::Mode mode);

    struct Grid {
        FileResult result;
        // The mark of each cell of the grid; '\0' where no line names the cell. When several
        // lines name a cell, the last mark other than "0" wins.
        std::array<char, kCells> cells{};
        // Lines whose mark is not "0".
        int count = 0;
    };
    // The marks of the grid for a band and mode. A band outside the table gives no marks.
    Grid grid(const QByteArray& band, bands::Mode mode) const;

    // The same on the bytes of a file.
    static Lookup findIn(const QByteArray& fileBytes, const QByteArray& code, const QByteArray& band);
    // The file with the mark set; `*linesMarked` receives the number of lines changed.
    static QByteArray withMark(const QByteArray& fileBytes, const QByteArray& code, char mark, const QByteArray& band,
                               int* linesMarked = nullptr);
    static Grid gridOf(const QByteArray& fileBytes, const QByteArray& band);

    // The column (counted from 1) of a band's mark, the band compared exactly.
    static std::optional<int> markColumn(const QByteArray& band);
    // The grid cell of a code: "nn" is nn, "2A"/"2a" 96, "2B"/"2b" 97; nothing for other text.
    static std::optional<int> cellOf(const QByteArray& code);
    // True when a line's code (its first 2 characters) and a code name the same department:
    // both trimmed and equal, or the same Corsican department. An empty code names none.
    static bool sameDepartment(const QByteArray& lineCode, const QByteArray& code);
    // The code's key for comparisons: trimmed; "2A", "2a", "96" give "96"; "2B", "2b", "97" "97".
    static QByteArray canonicalCode(const QByteArray& code);

private:
    FileSystem& m_files;
    StationPaths m_paths;
};

} // namespace tv
