#pragma once

#include "platform/printer.h"

#include <QFont>
#include <QList>
#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace tv {

// The printer over QPrinter, on A4.
//
// Two ways to build it: with a parent window, choosePrinter() shows the print dialog (a cancel
// prints nothing; the dialog's "Print to File (PDF)" writes the PDF file named there); with a
// PDF file name, the document goes to that file without any dialog.
// Lines are kept until endDocument(), which lays them out top to bottom, each in its own font,
// starting a new page when the page is full. A line wider than the page is never cut: the
// whole document is then drawn smaller so that its widest line fits.
class QtPrinter final : public Printer {
public:
    explicit QtPrinter(QWidget* dialogParent = nullptr);
    // Prints to this PDF file, without dialog.
    static std::unique_ptr<QtPrinter> toPdf(const QString& pdfFile);
    ~QtPrinter() override;

    QString fontName() const override { return m_fontName; }
    int fontSize() const override { return m_fontSize; }
    bool bold() const override { return m_bold; }
    void setFontName(const QString& name) override { m_fontName = name; }
    void setFontSize(int points) override { m_fontSize = points; }
    void setBold(bool bold) override { m_bold = bold; }

    bool choosePrinter() override;
    void printLine(const QString& text) override;
    bool endDocument() override;
    void discardDocument() override;

    // The pages of the last document that was ended.
    int lastPageCount() const { return m_lastPages; }

private:
    struct Line {
        QString text;
        QFont font;
    };
    QFont currentFont() const;

    std::unique_ptr<QPrinter> m_printer;
    QWidget* m_parent = nullptr;
    bool m_withDialog = true;
    QString m_fontName = QStringLiteral("Arial");
    int m_fontSize = 10;
    bool m_bold = false;
    QList<Line> m_lines;
    int m_lastPages = 0;
};

} // namespace tv
