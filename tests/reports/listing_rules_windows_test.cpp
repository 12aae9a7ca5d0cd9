#include "logstore/cp1252.h"
#include "reports/log_listing.h"
#include "reports/log_listing_window.h"
#include "reports/rules_text.h"
#include "reports/rules_window.h"
#include "tests/reports/report_fixture.h"

#include <QListWidget>
#include <QPointer>
#include <QPushButton>
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

} // namespace
} // namespace tv
