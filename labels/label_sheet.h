#pragma once

#include "platform/printer.h"

#include <QByteArray>
#include <QList>
#include <QString>

// QSL labels on A4 label sheets: the four sheet formats, the lines of one label, and the sheets
// of a print run with every text placed in millimetres. The preview, the printer and the PDF
// all draw these same placed texts.
namespace tv::labels {

// The sheet formats, numbered as the label window's buttons Etiqu_1 to Etiqu_4.
enum class Format { AveryL7162 = 1, AveryDP167 = 2, DecadryOLW4732 = 3, DecadryOLW4799 = 4 };
inline constexpr int kFormatCount = 4;
inline constexpr int kLabelsPerSheet = 16; // two columns, eight rows
inline constexpr int kColumns = 2;

// A rectangle in millimetres from the paper's top-left corner.
struct RectMm {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool operator==(const RectMm&) const = default;
};

// One sheet format: its caption in the label window, the size of a label, the margins of the
// first label from the paper's edges, the pitch from one label to the next (label plus gap),
// and the font sizes of its layout.
struct SheetFormat {
    const char* caption; // UTF-8
    double labelWidth;
    double labelHeight;
    double left;
    double top;
    double pitchX;
    double pitchY;
    int confirmSize; // points of the "Confirme le QSO avec" line
    int spacerSize;  // points of the two blank lines around the QSO line
};
const SheetFormat& sheetFormat(Format format);
// A format from its number 1 to 4; nothing else is a format.
bool formatFromNumber(int number, Format* format);

// The label at a position of the sheet, 0 to 15, left to right then top to bottom.
RectMm labelRect(Format format, int position);

// What every label of a print run shares.
struct LabelSettings {
    Format format = Format::AveryL7162;
    int type = 1;        // 1: the QSO's mill reference; 2: the station's own mill on every label
    QString millRef;     // type 2: Ref_Moulin, "DMF 77012"
    QString millName;    // type 2: Nom_Moulin
    QString rxtx;        // RxTx
    QString antenna;     // Antenne
    QString ownCallsign; // the stored station callsign, "_" kept where the callsign has "/"
    int start = 1;       // the position of the first label on the first sheet, 1 to 16
};

// One line of a label; a blank line has no text and only takes its height.
struct LabelLine {
    QString text;
    int pointSize = 10;
    bool bold = false;
    bool operator==(const LabelLine&) const = default;
};

// The eight lines of the label of a QSO line of the log, top to bottom: confirmation (bold),
// mill (bold), title, blank, date/time/band/report/mode, blank, transceiver and antenna,
// thanks. An empty QSO line gives the blank label with dotted gaps to fill in by hand.
QList<LabelLine> labelLines(const QByteArray& qsoLine, const LabelSettings& settings);

// Every label text is in this font family (a fixed-pitch font).
inline constexpr const char* kFontFamily = "Courier New";
// The width of a character of that font, and the line pitch, in em. They hold for Courier New
// and for the fixed-pitch fonts that stand in for it (Liberation Mono, DejaVu Sans Mono).
inline constexpr double kAdvanceEm = 0.61;
inline constexpr double kLineEm = 1.17;
// The blank kept between a text and the left or right edge of its label, in millimetres.
inline constexpr double kSideMarginMm = 2.0;

struct PlacedText {
    double x = 0; // millimetres from the paper's left edge to the line's left
    double y = 0; // millimetres from the paper's top edge to the top of the line
    QString text;
    PrintFont font;
    bool operator==(const PlacedText&) const = default;
};

struct PlacedLabel {
    int position = 0; // 0 to 15
    RectMm rect;
    QList<PlacedText> texts; // the lines that have text, top to bottom
};

// One sheet of a print run.
struct Sheet {
    QList<PlacedLabel> labels;
};

// Lays a label's lines out in its rectangle: the block of lines centred in the label's height,
// each line centred in its width. A line wider than the label less its side margins is cut at
// the last character that fits; a long line starts at the left margin, never before it.
PlacedLabel placeLabel(const QList<LabelLine>& lines, const RectMm& rect, int position);

// The sheets that print these QSO lines in order: the first label at the start position of
// the first sheet, then every position of the following sheets. When the last label falls in
// the left column, a blank label fills its right. No QSO, no sheet.
QList<Sheet> layOut(const QList<QByteArray>& qsoLines, const LabelSettings& settings);

// How many sheets layOut() makes of `qsoCount` QSOs from this start position, and one of
// them (from 0) laid out alone, as layOut() lays it, for a preview of a long selection.
int sheetCount(qsizetype qsoCount, int start);
Sheet layOutSheet(const QList<QByteArray>& qsoLines, const LabelSettings& settings, int index);

} // namespace tv::labels
