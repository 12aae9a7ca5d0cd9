#include "logstore/cp1252.h"
#include "platform/qt_printer.h"
#include "reports/log_listing.h"
#include "reports/log_listing_window.h"
#include "reports/report_text.h"
#include "reports/rules_text.h"
#include "reports/rules_window.h"
#include "tests/reports/report_fixture.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

QStringList items(const QWidget* w, const char* name)
{
    const auto* list = w->findChild<QListWidget*>(QString::fromLatin1(name));
    QStringList out;
    for (int i = 0; list && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void click(QWidget* w, const char* name)
{
    auto* button = w->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

class ListingWindowTest : public ::testing::Test {
protected:
    LogListingWindow* open()
    {
        window = std::make_unique<LogListingWindow>(fx.services(), QStringLiteral("F4XYZ"), QStringLiteral("21/06/15"));
        return window.get();
    }

    test::Fixture fx;
    std::unique_ptr<LogListingWindow> window;
    const QString fileName = QStringLiteral("F4XYZ_Log_JNM_21_06_15.txt");
};

TEST_F(ListingWindowTest, ShowsTheLogThenSavesAndPrintsItReread)
{
    test::reports::writeStation(fx.dir);
    open();
    QStringList shown;
    for (const QByteArray& line : listing::windowLines("F4XYZ", "21/06/15", test::reports::logLines()))
        shown << cp1252::decode(line);
    EXPECT_EQ(items(window.get(), "Visu_Print"), shown);

    // A QSO recorded while the window is open is saved and printed, not shown.
    QList<QByteArray> log = test::reports::logLines();
    log << log[0];
    fx.dir.write("F4XYZ.log", LogFile::joinLines(log));
    click(window.get(), "Enregistrer");
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{QStringLiteral("Le Log de F4XYZ a été sauvegardé sous le nom : ") + fileName});
    EXPECT_EQ(fx.dir.read(fileName), LogFile::joinLines(listing::fileLines("F4XYZ", "21/06/15", log)));
    click(window.get(), "Imprimer");
    ASSERT_EQ(fx.printer.documents().size(), 1);
    QStringList printed;
    for (const QByteArray& line : listing::printLines("F4XYZ", "21/06/15", log))
        printed << cp1252::decode(line);
    EXPECT_EQ(fx.printer.texts(0), printed);
    EXPECT_EQ(items(window.get(), "Visu_Print").size(), 11);
}

TEST_F(ListingWindowTest, MissingLogIsReportedAndNothingWrittenOrPrinted)
{
    open();
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Le fichier F4XYZ.log est introuvable.")});
    click(window.get(), "Enregistrer");
    click(window.get(), "Imprimer");
    EXPECT_EQ(fx.dialogs.texts().size(), 3);
    EXPECT_FALSE(fx.dir.exists(fileName));
    EXPECT_EQ(fx.printer.choices(), 0) << "no printer dialog for a log that cannot be read";
}

TEST(RulesWindowTest, SixtyTwoLinesAndASecondOpeningBringsTheSameWindow)
{
    QPointer<RulesWindow> slot;
    RulesWindow* first = RulesWindow::showOrRaise(slot);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(items(first, "Texte"), rules::lines());
    EXPECT_EQ(RulesWindow::showOrRaise(slot), first);
    EXPECT_EQ(items(first, "Texte").size(), 62) << "loaded once per opening, never twice";
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(slot.isNull());
}

// What pdftotext reads from a PDF with this option, or nothing when the tool is absent.
std::optional<QString> pdfToText(const QString& option, const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, {option, pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(QtPrinterPdf, ListingKeepsItsTextAndPaginates)
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

    auto text = pdfToText(QStringLiteral("-layout"), pdf);
    if (!text)
        GTEST_SKIP() << "pdftotext is not installed";
    text->replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" ")); // blanks are not kept exactly
    for (const char* part : {"N° Date Indicatif Dpt QTR Bande Mode RstR RstE N° Moulin",
                             "119 21/06/15 F5DEF 59 12:10 3.5 Mhz CW 599 599 DMF 77012\n", // the widest row, whole
                             "Document établi avec Tournevent Rev 1.1.2"})
        EXPECT_TRUE(text->contains(QString::fromUtf8(part))) << part;
    EXPECT_EQ(text->count(QLatin1Char('\f')), printer->lastPageCount());
}

TEST(QtPrinterPdf, PlacedTextsStandAtTheirPlaceFromThePaperCorner)
{
    const struct {
        double x, y;
        QString text;
    } placed[] = {{4.0, 5.0, "F0ZZZ"}, {105.0, 37.5, "Merci"}, {160.25, 280.0, "DMF"}}; // inside the 12 mm margins
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    auto printer = QtPrinter::toPdf(pdf);
    for (const auto& p : placed)
        printer->placeText(p.x, p.y, p.text, PrintFont{QStringLiteral("Courier New"), 13, true});
    printer->newPage();
    printer->printLine(QStringLiteral("Ligne"));
    ASSERT_TRUE(printer->endDocument());
    EXPECT_EQ(printer->lastPageCount(), 2);

    const auto html = pdfToText(QStringLiteral("-bbox"), pdf);
    if (!html)
        GTEST_SKIP() << "pdftotext is not installed";
    for (const auto& p : placed) {
        SCOPED_TRACE(p.text.toStdString());
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>%1</word>").arg(p.text))
                .match(*html);
        ASSERT_TRUE(m.hasMatch());
        EXPECT_NEAR(m.captured(1).toDouble() * 25.4 / 72, p.x, 1.0); // points to millimetres
        EXPECT_NEAR(m.captured(2).toDouble() * 25.4 / 72, p.y, 1.0);
    }
}

TEST(QtPrinterPdf, UnwritablePdfIsAFailureAndADiscardedDocumentLeavesNothing)
{
    auto printer = QtPrinter::toPdf(QStringLiteral("/nonexistent-folder/for/sure/out.pdf"));
    EXPECT_EQ(reporttext::printLines(*printer, {"line"}), reporttext::PrintOutcome::Failed);

    QTemporaryDir dir;
    auto other = QtPrinter::toPdf(dir.filePath(QStringLiteral("discarded.pdf")));
    other->printLine(QStringLiteral("never printed"));
    other->discardDocument();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("discarded.pdf"))));
}

} // namespace
} // namespace tv
