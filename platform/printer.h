#pragma once

#include <QString>

namespace tv {

// The printer, as the reports use it: a current font (name, size, bold) and a document made
// of text lines, one printer line each.
//
// Responsibilities: let the operator choose the printer (a cancel prints nothing); take the
// lines of one document, each in the font in force when it is printed; end the document (it
// goes to the printer, new pages starting by themselves when a page is full) or discard it.
// Collaborations: QtPrinter (QPrinter and its print dialog, or a PDF file without dialog),
// FakePrinter in the tests (records every line with its font).
class Printer {
public:
    virtual ~Printer() = default;

    virtual QString fontName() const = 0;
    virtual int fontSize() const = 0;
    virtual bool bold() const = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(int points) = 0;
    virtual void setBold(bool bold) = 0;

    // Shows the printer selection; false when the operator cancels it.
    virtual bool choosePrinter() = 0;
    // Adds one line to the current document.
    virtual void printLine(const QString& text) = 0;
    // Sends the document to the printer; false when it could not be printed (the lines
    // are dropped either way).
    virtual bool endDocument() = 0;
    // Drops the lines of the current document.
    virtual void discardDocument() = 0;
};

} // namespace tv
