#pragma once

#include "platform/printer.h"

#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace tv {

class ProgressDialog;

// The printer over QPrinter, on A4.
//
// Two ways to build it: with a parent window, choosePrinter() shows the print dialog (a cancel
// prints nothing; the dialog's "Print to File (PDF)" writes the PDF file named there); with a
// PDF file name, the document goes to that file without any dialog.
// Lines and placed texts are kept until endDocument(). Placed texts are drawn first, each on
// its page at its place (millimetres through the printer's resolution, from the paper's
// corner); the last page printed is the last one holding a text. Lines are then laid out top
// to bottom, each in its own font, starting a new page when the page is full. A line wider than
// the page is never cut: the lines are then drawn smaller so that the widest fits.
// With a parent window, a long document shows its progress while it is drawn (the PDF printer
// too, once given one with setDialogParent()).
// A font the system lacks ("Courier New" on Linux) is replaced by its fixed-pitch font.
class QtPrinter final : public Printer {
public:
    explicit QtPrinter(QWidget* dialogParent = nullptr);
    void setDialogParent(QWidget* parent) { m_parent = parent; }
    // Prints to this PDF file, without dialog.
    static std::unique_ptr<QtPrinter> toPdf(const QString& pdfFile);
    ~QtPrinter() override;

    bool choosePrinter() override;
    void printLine(const QString& text) override;
    void placeText(double xMm, double yMm, const QString& text, const PrintFont& font) override;
    void newPage() override;
    bool endDocument() override;
    void discardDocument() override;

    // The pages of the last document that was ended.
    int lastPageCount() const { return m_lastPages; }

    // The font a PrintFont is drawn in.
    static QFont resolve(const PrintFont& font);
    // Draws a placed text as the printer draws it: its line's top-left corner at `mm` from the
    // paper's corner, on a device of `dpi` dots per inch whose painter origin lies at `origin`
    // (device pixels from the paper's corner). The label preview draws with it too.
    static void drawPlacedText(QPainter& painter, double dpi, QPointF origin, QPointF mm, const QString& text,
                               const QFont& font);

private:
    struct Line {
        QString text;
        QFont font;
    };
    struct Placed {
        int page;
        QPointF at; // millimetres from the paper's top-left corner
        QString text;
        QFont font;
    };
    const QFont& resolved(const PrintFont& wanted);
    // Counts drawn texts and lines, and moves the progress window on.
    void advance(int steps);
    bool drawPlaced(QPainter& painter, const QList<Placed>& placed);
    bool drawLines(QPainter& painter, const QList<Line>& lines, bool onNewPage);

    std::unique_ptr<QPrinter> m_printer;
    QWidget* m_parent = nullptr;
    bool m_withDialog = true;
    QList<Line> m_lines;
    QList<Placed> m_placed;
    int m_page = 0; // the page the next placed text goes on
    int m_lastPages = 0;
    QList<std::pair<PrintFont, QFont>> m_fonts; // the fonts resolved for this printer
    ProgressDialog* m_progress = nullptr;       // while a long document is drawn
    int m_done = 0;
};

} // namespace tv
