#pragma once

#include "platform/palette.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>

// The map of the mill activations contacted, per department, on one band in one mode.
//
// Responsibilities: rank each department from the log's lines in memory (the highest count
// code 1 to 4 among its mill QSOs of that band and mode), count those QSOs and the coloured
// departments; read the shipped map of the departments (data/france-departements.svg, built
// into the program) and write the coloured map as SVG: every department's path keeps its id
// and carries its fill, its number stands at the centre of its bounding box, and Paris with
// its three neighbours (75, 92, 93, 94) is drawn again, enlarged, in an inset at the top left.
// Collaborations: the Logbook's lines; palette::markColour for the rank colours. The window
// and the command line render the SVG (QSvgRenderer) for the screen and the PNG file.
namespace tv::activationmap {

// The department numbers of the map: 1 to 95 for "01" to "95" (20 is no department), 96 for
// "2A" and 97 for "2B".
inline constexpr int kNumbers = 98;
inline constexpr int kCorseDuSud = 96;
inline constexpr int kHauteCorse = 97;

// The number of a department as the QSO line holds it (two bytes, not trimmed): two digits, or
// "2A"/"2B" in either case; nothing for any other text, "00" and "20".
std::optional<int> departmentNumber(QByteArrayView code);
// The map's id of a department number: "01", "2A"; empty for a number that is no department.
QByteArray departmentId(int number);
// The text shown on the department: "01", and "2a", "2b" for Corsica.
QByteArray departmentLabel(int number);

struct Colouring {
    int matchingQsos = 0;                // mill QSOs of the band and mode, with or without a department
    std::array<quint8, kNumbers> rank{}; // by department number: 0 uncoloured, 1 to 4

    int departmentsOfRank(int r) const;
    int colouredDepartments() const; // of any rank 1 to 4
};

// The colouring of the map for a band and mode text ("14 Mhz", "SSB"), compared with the
// trimmed fields of each line. A line counts when its activity index is "1"; its department
// (columns 37-38) takes the rank of the line's count code (column 135, "1" to "4") when that
// is higher than the one it has. A line without a department only counts.
Colouring colour(const QList<QByteArray>& lines, QByteArrayView band, QByteArrayView mode);

// The departments' outlines as the shipped map gives them.
struct FranceMap {
    struct Department {
        QByteArray id;      // "01", "2A"
        QString name;       // "Ain"
        QByteArray outline; // the path data, as read
        QRectF bounds;      // of the outline's points
    };
    QRectF viewBox;
    QList<Department> departments;

    // The map read from SVG text: a view box and one path per department with an id and a
    // path made of straight lines (M, L, H, V, Z, in either case); an error text otherwise.
    static FranceMap parse(const QByteArray& svg, QString* error);
    // The map built into the program, read once.
    static const FranceMap& shipped();
};

// The bounding box of path data made of straight lines; nothing when it holds another command
// or no point.
std::optional<QRectF> outlineBounds(QByteArrayView path);

// The attribution the map must carry wherever it is shown.
QString attribution();

// How the map is drawn.
struct SvgOptions {
    palette::Rgb background = 0xFFFFFF; // the fill of the uncoloured departments
    QString title;                      // written under the map, when not empty
    bool footer = true;                 // the title and the attribution under the map
    // The whole map; or its fills alone (page, departments, inset) and its lines alone
    // (outlines, frame, numbers, footer), which drawn over the fills give the whole map: a
    // window keeps the lines' picture and paints only the fills again when a colour changes.
    enum class Layer { Whole, Fills, Lines } layer = Layer::Whole;
};

// The coloured map as an SVG document (UTF-8): every department's path keeps its id and
// carries its fill ("none" in the lines layer).
QByteArray svg(const FranceMap& map, const Colouring& colouring, const SvgOptions& options);

// The title of a saved map: "JNM F4ABC - 14 Mhz SSB : 3 activations, 2 départements contactés".
QString title(const QString& displayCallsign, const QString& band, const QString& mode, const Colouring& colouring);

// The name of a saved map in the program directory: "F4ABC_Carte_14Mhz_SSB.png".
QString fileName(const QString& storedCallsign, const QString& band, const QString& mode, const QString& extension);

} // namespace tv::activationmap
