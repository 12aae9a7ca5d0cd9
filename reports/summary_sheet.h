#pragma once

#include "logstore/country_file.h"
#include "logstore/score.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace tv {

class SettingsStore;
class StationPaths;

// The event summary sheet: who operated, from which mill, and per band and mode the QSOs, the
// points and the three multipliers, with the final score. The window shows it with editable
// cells; the file and the printout take the cell texts as they stand.
//
// Grid: rows 1-5 are 3.5, 7.0, 14, 21 and 28 Mhz in SSB, rows 6-10 the same bands in CW, row 11
// is 144 Mhz SSB; five columns QSO, points, mills (10 per mill QSO), departments, DXCC
// entities. The HF total row sums rows 1-10; the VHF total row is row 11 plus 144 Mhz CW
// (which has no row of its own). The score is points x (mills + departments + entities) of the
// total row of the session checked in the main window.
//
// In the file and the printout each cell takes 8 characters: its text followed by spaces. A
// longer text is written whole, followed by one space, so no digit is ever cut and two
// numbers never run together; only that row is wider.
namespace summary {

inline constexpr int kRows = 11;
inline constexpr int kColumns = 5;
enum Column { Qso = 0, Points = 1, Mills = 2, Departments = 3, Entities = 4 };

struct Cells {
    std::array<std::array<QString, kColumns>, kRows> rows; // QSO1..MP11
    std::array<QString, kColumns> hfTotal;                 // Tot_QSO .. Tot_MP
    std::array<QString, kColumns> vhfTotal;                // VHF_QSO .. VHF_MP
    QString totalPoints;                                   // Total_Points
};

// The cells of a tally, with the score of the session.
Cells cellsFromTally(const ScoreTally& tally, bool hfSession);

// The score recomputed from the texts of the total cells of the session: the number each text
// begins with (0 when none), points x (mills + departments + entities).
QString totalPoints(const Cells& cells, bool hfSession);

// The operator's fields, kept in the settings store under the station section.
struct Operator {
    QString nom;
    QString prenom;
    QString indicatif;
    QString adresse1;
    QString adresse2;
    QString pays;
    QString reference;
    QString operateurs;
    QString commune;
    int category = 3;     // 1, 2 or 3; 0 when none is selected
    bool hfOption = true; // the session shown on the "Session : bande" line

    bool operator==(const Operator&) const = default;
};

// The caption of a category ("Opérateur de Moulins en /P", "Opérateur de Moulins (Résident)",
// "Opérateur individuel"); empty for 0.
QString categoryCaption(int category);
// The mill fields (reference, operators, commune) are filled for categories 1 and 2 only.
bool hasMillFields(int category);

// Reads the fields. A stored category "1", "2" or "3" selects it, category 3 emptying the mill
// fields; any other stored value selects none. "Session" other than "HF" shows VHF.
Operator loadOperator(const SettingsStore& settings, const QString& storedCallsign);
// Stores the fields in the order Nom, Prenom, Indicatif, Adresse 1, Adresse 2, Pays,
// Categorie ("" when none), Reference, Operateurs, Commune; false when the store refused one.
bool storeOperator(SettingsStore& settings, const QString& storedCallsign, const Operator& op);

struct Sheet {
    QString eventDate;
    Operator op;
    Cells cells;
    bool hfSession = true; // the session checked in the main window: which total row is shown
};

// One cell as the file writes it.
QByteArray cell(const QString& text);
// A grid line: 5 spaces, the row label padded to 16 characters, five cells.
QByteArray gridLine(int row, const Sheet& sheet);

QList<QByteArray> fileLines(const Sheet& sheet);
QList<QByteArray> printLines(const Sheet& sheet);

// The tally of the whole day, both sessions, for the sheet of either session: the bands of
// the live session (HF: 3.5 to 28 Mhz; VHF: 144 Mhz) from the live log and multiplier files,
// those of the other session from its archive (reportfiles::otherSessionLog) when there is
// one. The archive's department and entity multipliers are worked out in memory from its log
// and the templates (MultiplierRebuild::compute); nothing is written. Without an archive every
// row comes from the live files. On a failure (a live file, the archive or a template that
// cannot be read) the tally is empty and the result names the file.
LoadedScore loadDayScore(const FileSystem& files, const StationPaths& paths, bool hfSession,
                         const CountryFile* countries);

struct SaveOutcome {
    FileResult result;
    QString fileName;
    QString message; // the saved name, or why nothing was saved
};
// Writes the sheet file (reportfiles::summarySheet) in one replace.
SaveOutcome save(FileSystem& files, const StationPaths& paths, const Sheet& sheet);

} // namespace summary
} // namespace tv
