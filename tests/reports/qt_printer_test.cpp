#include "platform/qt_printer.h"
#include "reports/log_listing.h"
#include "reports/report_text.h"
#include "reports/summary_sheet.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/fake_printer.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tv {
namespace {

// The text of a PDF as pdftotext reads it, each run of blanks made one space (pdftotext does
// not keep the exact count of spaces), or nothing when the tool is absent.
std::optional<QString> pdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return text;
}

TEST(QtPrinterPdf, ListingPrintedToPdfKeepsItsTextAndPaginates)
{
    QTemporaryDir dir;
    const QString pdf = qEnvironmentVariableIsSet("TOURNEVENT_KEEP_PDF") ? qEnvironmentVariable("TOURNEVENT_KEEP_PDF")
                                                                         : dir.filePath(QStringLiteral("listing.pdf"));
    // 120 QSOs: more than one A4 page in Courier New 10.
    QList<QByteArray> log;
    for (int i = 0; i < 120; ++i)
        log << test::reports::logLines()[i % 7];
    auto printer = QtPrinter::toPdf(pdf);
    ASSERT_EQ(reporttext::printLines(*printer, listing::printLines("F4XYZ", "21/06/15", log)),
              reporttext::PrintOutcome::Printed);
    EXPECT_GE(printer->lastPageCount(), 2);
    EXPECT_LE(printer->lastPageCount(), 3);
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);

    const auto text = pdfText(pdf);
    if (!text)
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text->contains(QStringLiteral("Journee Nationale des Moulins 21/06/15 Station F4XYZ")));
    EXPECT_TRUE(text->contains(QStringLiteral("N° Date Indicatif Dpt QTR Bande Mode RstR RstE N° Moulin")));
    EXPECT_TRUE(text->contains(QStringLiteral("119 21/06/15 F5DEF 59 12:10 3.5 Mhz CW 599 599 DMF 77012\n")))
        << "the widest rows are whole, their last column included";
    EXPECT_TRUE(text->contains(QStringLiteral("120 21/06/15 F5ABC 75 09:41 14 Mhz SSB 57 59")));
    EXPECT_TRUE(text->contains(QStringLiteral("Document établi avec Tournevent Rev 1.1.2")));
    EXPECT_EQ(text->count(QLatin1Char('\f')), printer->lastPageCount());
}

TEST(QtPrinterPdf, SummarySheetOnOnePageAndADiscardedDocumentLeavesNothing)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    summary::Sheet sheet;
    sheet.eventDate = QStringLiteral("21/06/15");
    sheet.op.nom = QStringLiteral("Dupont");
    sheet.op.prenom = QStringLiteral("Hélène");
    sheet.op.category = 3;
    for (auto& row : sheet.cells.rows)
        row.fill(QStringLiteral("0"));
    sheet.cells.totalPoints = QStringLiteral("407");
    auto printer = QtPrinter::toPdf(pdf);
    ASSERT_EQ(reporttext::printLines(*printer, summary::printLines(sheet)), reporttext::PrintOutcome::Printed);
    EXPECT_EQ(printer->lastPageCount(), 1);
    if (const auto text = pdfText(pdf)) {
        EXPECT_TRUE(text->contains(QStringLiteral("Prénom : Hélène")));
        EXPECT_TRUE(text->contains(QStringLiteral("TOTAL DES POINTS : 407")));
        EXPECT_TRUE(text->contains(QStringLiteral("Catégorie : Opérateur individuel")));
    }

    const QString discarded = dir.filePath(QStringLiteral("discarded.pdf"));
    auto other = QtPrinter::toPdf(discarded);
    other->printLine(QStringLiteral("never printed"));
    other->discardDocument();
    EXPECT_FALSE(QFileInfo::exists(discarded));
}

// The words of a PDF with their page and top-left corner in millimetres, as pdftotext -bbox
// finds them, or nothing when the tool is absent.
struct PdfWord {
    int page;
    double x;
    double y;
    QString text;
};
std::optional<QList<PdfWord>> pdfWords(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    QList<PdfWord> words;
    int page = -1;
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page")))
            ++page;
        else
            words.append(
                {page, m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72, m.captured(3)});
    }
    return words;
}

TEST(QtPrinterPdf, PlacedTextsStandAtTheirPlaceFromThePaperCorner)
{
    const PrintFont courier{QStringLiteral("Courier New"), 13, true};
    const PrintFont small{QStringLiteral("Arial"), 8, false};
    const QList<FakePrinter::Placed> placed{
        {0, 0, 4.0, 5.0, QStringLiteral("F0ZZZ"), courier}, // inside the 12 mm margins
        {0, 0, 105.0, 37.5, QStringLiteral("Merci"), small},
        {0, 1, 160.25, 280.0, QStringLiteral("DMF"), courier},
    };
    auto place = [&](Printer& printer) {
        printer.setFontName(QStringLiteral("Times"));
        for (int i = 0; i < placed.size(); ++i) {
            if (i > 0 && placed[i].page != placed[i - 1].page)
                printer.newPage();
            printer.placeText(placed[i].x, placed[i].y, placed[i].text, placed[i].font);
        }
        printer.printLine(QStringLiteral("Ligne"));
        return printer.endDocument();
    };

    FakePrinter fake;
    ASSERT_TRUE(place(fake));
    EXPECT_EQ(fake.placed(), placed);
    EXPECT_EQ(fake.texts(), QStringList{"Ligne"});
    EXPECT_EQ(fake.fontName(), "Times") << "placing a text keeps the current font";
    fake.placeText(1, 1, QStringLiteral("dropped"), small);
    fake.discardDocument();
    EXPECT_EQ(fake.placed(), placed);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    auto printer = QtPrinter::toPdf(pdf);
    ASSERT_TRUE(place(*printer));
    EXPECT_EQ(printer->lastPageCount(), 3) << "two placed pages, then the line on a page of its own";
    const auto words = pdfWords(pdf);
    if (!words)
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(words->size(), placed.size() + 1);
    for (int i = 0; i < placed.size(); ++i) {
        const PdfWord& word = (*words)[i];
        SCOPED_TRACE(word.text.toStdString());
        EXPECT_EQ(word.text, placed[i].text);
        EXPECT_EQ(word.page, placed[i].page);
        EXPECT_NEAR(word.x, placed[i].x, 1.0);
        EXPECT_NEAR(word.y, placed[i].y, 1.0);
    }
    EXPECT_EQ(words->last().page, 2);
}

TEST(QtPrinterPdf, UnwritablePdfIsAFailureNotASuccess)
{
    auto printer = QtPrinter::toPdf(QStringLiteral("/nonexistent-folder/for/sure/out.pdf"));
    EXPECT_EQ(reporttext::printLines(*printer, {"line"}), reporttext::PrintOutcome::Failed);
}

} // namespace
} // namespace tv
