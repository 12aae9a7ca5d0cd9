#pragma once

#include <QString>

namespace tv {

// A font as the printer takes it: family, size in points, bold.
struct PrintFont {
    QString family;
    int pointSize = 10;
    bool bold = false;
    bool operator==(const PrintFont&) const = default;
};

// The printer, as the reports and the labels use it: a current font (name, size, bold) and a
// document made of text lines, one printer line each, or of texts placed on the page.
//
// Responsibilities: let the operator choose the printer (a cancel prints nothing); take the
// lines of one document, each in the font in force when it is printed, or texts placed at a
// position of the current page, each in its own font; end the document (it goes to the
// printer) or discard it.
// Collaborations: QtPrinter (QPrinter and its print dialog, or a PDF file without dialog),
// FakePrinter in the tests (records every line and every placed text with its font).
class Printer {
public:
    virtual ~Printer() = default;

    // The current font, in which the next lines are printed.
    QString fontName() const { return m_font.family; }
    int fontSize() const { return m_font.pointSize; }
    bool bold() const { return m_font.bold; }
    const PrintFont& font() const { return m_font; }
    void setFontName(const QString& name) { m_font.family = name; }
    void setFontSize(int points) { m_font.pointSize = points; }
    void setBold(bool bold) { m_font.bold = bold; }

    // Shows the printer selection; false when the operator cancels it.
    virtual bool choosePrinter() = 0;
    // Adds one line to the current document; new pages start by themselves when a page is full.
    virtual void printLine(const QString& text) = 0;
    // Places a text on the current page: the top-left corner of its line (the top of the
    // font's ascent, the left of its first character) at x millimetres from the paper's left
    // edge and y millimetres from its top edge, whatever the margins. The current font is left
    // as it is.
    virtual void placeText(double xMm, double yMm, const QString& text, const PrintFont& font) = 0;
    // Starts a new page for the texts placed after it.
    virtual void newPage() = 0;
    // Sends the document to the printer; false when it could not be printed (the lines and
    // placed texts are dropped either way). Placed pages come first; lines that share the
    // document with them start on a page of their own after them.
    virtual bool endDocument() = 0;
    // Drops the lines and placed texts of the current document.
    virtual void discardDocument() = 0;

private:
    PrintFont m_font{QStringLiteral("Arial"), 10, false};
};

} // namespace tv
