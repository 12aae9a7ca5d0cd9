#include "platform/qt_printer.h"
#include "reports/log_listing.h"
#include "reports/report_text.h"
#include "reports/summary_sheet.h"
#include "tests/reports/report_fixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tv {
namespace {

// What pdftotext reads from a PDF with these options, or nothing when the tool is absent.
std::optional<QString> pdfToText(const QStringList& options, const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, options + QStringList{pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF, each run of blanks made one space (pdftotext does not keep their count).
std::optional<QString> pdfText(const QString& pdf)
{
    auto text = pdfToText({QStringLiteral("-layout")}, pdf);
    if (text)
        text->replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return text;
}

TEST(QtPrinterPdf, ListingKeepsItsTextAndPaginatesAndTheSheetFitsOnePage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("listing.pdf"));
    QList<QByteArray> log; // 120 QSOs: more than one A4 page in Courier New 10
    for (int i = 0; i < 120; ++i)
        log << test::reports::logLines()[i % 7];
    auto printer = QtPrinter::toPdf(pdf);
    ASSERT_EQ(reporttext::printLines(*printer, listing::printLines("F4XYZ", "21/06/15", log)),
              reporttext::PrintOutcome::Printed);
    EXPECT_GE(printer->lastPageCount(), 2);
    EXPECT_LE(printer->lastPageCount(), 3);

    summary::Sheet sheet;
    sheet.eventDate = QStringLiteral("21/06/15");
    sheet.op.prenom = QStringLiteral("Hélène");
    sheet.op.category = 3;
    auto sheetPrinter = QtPrinter::toPdf(dir.filePath(QStringLiteral("sheet.pdf")));
    ASSERT_EQ(reporttext::printLines(*sheetPrinter, summary::printLines(sheet)), reporttext::PrintOutcome::Printed);
    EXPECT_EQ(sheetPrinter->lastPageCount(), 1);

    const auto text = pdfText(pdf);
    const auto sheetText = pdfText(dir.filePath(QStringLiteral("sheet.pdf")));
    if (!text || !sheetText)
        GTEST_SKIP() << "pdftotext is not installed";
    for (const char* part :
         {"N° Date Indicatif Dpt QTR Bande Mode RstR RstE N° Moulin",
          "119 21/06/15 F5DEF 59 12:10 3.5 Mhz CW 599 599 DMF 77012\n", // the widest row, whole
          "120 21/06/15 F5ABC 75 09:41 14 Mhz SSB 57 59", "Document établi avec Tournevent Rev 1.1.2"})
        EXPECT_TRUE(text->contains(QString::fromUtf8(part))) << part;
    EXPECT_EQ(text->count(QLatin1Char('\f')), printer->lastPageCount());
    EXPECT_TRUE(sheetText->contains(QStringLiteral("Prénom : Hélène")));
}

TEST(QtPrinterPdf, PlacedTextsStandAtTheirPlaceFromThePaperCorner)
{
    const PrintFont courier{QStringLiteral("Courier New"), 13, true};
    const struct {
        int page;
        double x, y;
        QString text;
    } placed[] = {{0, 4.0, 5.0, "F0ZZZ"}, // inside the 12 mm margins
                  {0, 105.0, 37.5, "Merci"},
                  {1, 160.25, 280.0, "DMF"}};
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    auto printer = QtPrinter::toPdf(pdf);
    for (size_t i = 0; i < std::size(placed); ++i) {
        if (i > 0 && placed[i].page != placed[i - 1].page)
            printer->newPage();
        printer->placeText(placed[i].x, placed[i].y, placed[i].text, courier);
    }
    printer->printLine(QStringLiteral("Ligne"));
    ASSERT_TRUE(printer->endDocument());
    EXPECT_EQ(printer->lastPageCount(), 3) << "two placed pages, then the line on a page of its own";

    const auto html = pdfToText({QStringLiteral("-bbox")}, pdf);
    if (!html)
        GTEST_SKIP() << "pdftotext is not installed";
    // Each word's page and top-left corner, in millimetres, then the line on the last page.
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    int page = -1;
    size_t i = 0;
    for (auto it = item.globalMatch(*html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        if (i == std::size(placed)) {
            EXPECT_EQ(m.captured(3) + QString::number(page), "Ligne2");
            return;
        }
        SCOPED_TRACE(placed[i].text.toStdString());
        EXPECT_EQ(m.captured(3), placed[i].text);
        EXPECT_EQ(page, placed[i].page);
        EXPECT_NEAR(m.captured(1).toDouble() * 25.4 / 72, placed[i].x, 1.0);
        EXPECT_NEAR(m.captured(2).toDouble() * 25.4 / 72, placed[i].y, 1.0);
        ++i;
    }
    ADD_FAILURE() << "words missing from the PDF";
}

TEST(QtPrinterPdf, UnwritablePdfIsAFailureAndADiscardedDocumentLeavesNothing)
{
    auto printer = QtPrinter::toPdf(QStringLiteral("/nonexistent-folder/for/sure/out.pdf"));
    EXPECT_EQ(reporttext::printLines(*printer, {"line"}), reporttext::PrintOutcome::Failed);

    QTemporaryDir dir;
    const QString discarded = dir.filePath(QStringLiteral("discarded.pdf"));
    auto other = QtPrinter::toPdf(discarded);
    other->printLine(QStringLiteral("never printed"));
    other->discardDocument();
    EXPECT_FALSE(QFileInfo::exists(discarded));
}

} // namespace
} // namespace tv
