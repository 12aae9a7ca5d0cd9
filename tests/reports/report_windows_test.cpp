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

QStringList decoded(const QList<QByteArray>& lines)
{
    QStringList out;
    for (const QByteArray& line : lines)
        out << cp1252::decode(line);
    return out;
}

TEST(ListingWindowTest, ShowsTheLogThenSavesAndPrintsItReread)
{
    test::Fixture fx;
    test::reports::writeStation(fx.dir);
    LogListingWindow w(fx.services(), "F4XYZ", "21/06/15");
    EXPECT_EQ(items(&w, "Visu_Print"), decoded(listing::windowLines("F4XYZ", "21/06/15", test::reports::logLines())));
    // A QSO recorded while the window is open is saved and printed, not shown.
    const QList<QByteArray> log = test::reports::logLines() << test::reports::logLines()[0];
    fx.dir.write("F4XYZ.log", LogFile::joinLines(log));
    click(&w, "Enregistrer");
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{"Le Log de F4XYZ a été sauvegardé sous le nom : F4XYZ_Log_JNM_21_06_15.txt"});
    EXPECT_EQ(fx.dir.read("F4XYZ_Log_JNM_21_06_15.txt"),
              LogFile::joinLines(listing::fileLines("F4XYZ", "21/06/15", log)));
    click(&w, "Imprimer");
    ASSERT_EQ(fx.printer.documents().size(), 1);
    EXPECT_EQ(fx.printer.texts(0), decoded(listing::printLines("F4XYZ", "21/06/15", log)));
    EXPECT_EQ(items(&w, "Visu_Print").size(), 11);
}

TEST(ListingWindowTest, MissingLogIsReportedAndTheRulesWindowOpensOnce)
{
    test::Fixture fx;
    LogListingWindow w(fx.services(), "F4XYZ", "21/06/15");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{"Le fichier F4XYZ.log est introuvable."});
    click(&w, "Enregistrer");
    click(&w, "Imprimer");
    EXPECT_EQ(fx.dialogs.texts().size(), 3);
    EXPECT_FALSE(fx.dir.exists("F4XYZ_Log_JNM_21_06_15.txt"));
    EXPECT_EQ(fx.printer.choices(), 0) << "no printer dialog for a log that cannot be read";
    // The rules window shows the 62 lines, once, and a second opening brings the same window.
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

TEST(QtPrinterPdf, ListingKeepsItsTextAndPaginatesAndPlacedTextsStandAtTheirPlace)
{
    QTemporaryDir dir;
    QList<QByteArray> log; // 120 QSOs: more than one A4 page in Courier New 10
    for (int i = 0; i < 120; ++i)
        log << test::reports::logLines()[i % 7];
    auto printer = QtPrinter::toPdf(dir.filePath("listing.pdf"));
    ASSERT_EQ(reporttext::printLines(*printer, listing::printLines("F4XYZ", "21/06/15", log)),
              reporttext::PrintOutcome::Printed);
    EXPECT_TRUE(printer->lastPageCount() == 2 || printer->lastPageCount() == 3) << printer->lastPageCount();
    const struct {
        double x, y; // millimetres from the paper corner, inside the 12 mm margins
        QString text;
    } placed[] = {{4.0, 5.0, "F0ZZZ"}, {105.0, 37.5, "Merci"}, {160.25, 280.0, "DMF"}};
    auto labels = QtPrinter::toPdf(dir.filePath("labels.pdf"));
    for (const auto& p : placed)
        labels->placeText(p.x, p.y, p.text, PrintFont{"Courier New", 13, true});
    labels->newPage();
    labels->printLine("Ligne");
    ASSERT_TRUE(labels->endDocument());
    EXPECT_EQ(labels->lastPageCount(), 2);
    auto text = test::pdfToText("-layout", dir.filePath("listing.pdf"));
    const auto words = test::pdfToText("-bbox", dir.filePath("labels.pdf"));
    if (!text || !words)
        GTEST_SKIP() << "pdftotext is not installed";
    text->replace(QRegularExpression("[ \\t]+"), " "); // blanks are not kept exactly
    for (const char* part : {"N° Date Indicatif Dpt QTR Bande Mode RstR RstE N° Moulin",
                             "119 21/06/15 F5DEF 59 12:10 3.5 Mhz CW 599 599 DMF 77012\n", // the widest row, whole
                             "Document établi avec Tournevent Rev 1.1.2"})
        EXPECT_TRUE(text->contains(QString::fromUtf8(part))) << part;
    EXPECT_EQ(text->count(QLatin1Char('\f')), printer->lastPageCount());
    for (const auto& p : placed) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>%1</word>").arg(p.text))
                .match(*words);
        ASSERT_TRUE(m.hasMatch()) << p.text;
        EXPECT_NEAR(m.captured(1).toDouble() * 25.4 / 72, p.x, 1.0) << p.text; // points to millimetres
        EXPECT_NEAR(m.captured(2).toDouble() * 25.4 / 72, p.y, 1.0) << p.text;
    }
}

TEST(QtPrinterPdf, UnwritablePdfIsAFailureAndADiscardedDocumentLeavesNothing)
{
    auto printer = QtPrinter::toPdf("/nonexistent-folder/for/sure/out.pdf");
    EXPECT_EQ(reporttext::printLines(*printer, {"line"}), reporttext::PrintOutcome::Failed);
    QTemporaryDir dir;
    auto other = QtPrinter::toPdf(dir.filePath("discarded.pdf"));
    other->printLine("never printed");
    other->discardDocument();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("discarded.pdf")));
}

} // namespace
} // namespace tv
