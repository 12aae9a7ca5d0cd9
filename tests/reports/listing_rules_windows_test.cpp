#include "logstore/cp1252.h"
#include "reports/log_listing.h"
#include "reports/log_listing_window.h"
#include "reports/rules_window.h"
#include "tests/reports/report_fixture.h"
#include "tests/support/fakes/fake_printer.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::cp;

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

class ListingWindowTest : public ::testing::Test {
protected:
    LogListingWindow* open()
    {
        auto* w = new LogListingWindow(fx.services(), QStringLiteral("F4XYZ"), QStringLiteral("21/06/15"));
        windows.emplace_back(w);
        return w;
    }
    static void click(QWidget* w, const char* name)
    {
        auto* button = w->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    test::Fixture fx;
    FakePrinter& printer = fx.printer;
    std::vector<std::unique_ptr<QWidget>> windows;
    const QString fileName = QStringLiteral("F4XYZ_Log_JNM_21_06_15.txt");
};

TEST_F(ListingWindowTest, ListShowsTheHeadingsAndOneLinePerQso)
{
    test::reports::writeStation(fx.dir);
    LogListingWindow* w = open();
    EXPECT_EQ(w->objectName(), "Impression");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Pré Visualisation"));
    EXPECT_EQ(w->findChild<QLabel*>("Label2")->text(), QStringLiteral("Pré-visualisation  du fichier  log"));
    QStringList expected;
    for (const QByteArray& line : listing::windowLines("F4XYZ", "21/06/15", test::reports::logLines()))
        expected << cp1252::decode(line);
    EXPECT_EQ(items(w->findChild<QListWidget*>("Visu_Print")), expected);
    EXPECT_EQ(w->findChild<QListWidget*>("Visu_Print")->font().family(),
              QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
}

TEST_F(ListingWindowTest, SaveAndPrintRereadTheLog)
{
    test::reports::writeStation(fx.dir);
    LogListingWindow* w = open();
    const QByteArray extra = test::reports::logLines()[0];
    QFile log(fx.dir.file("F4XYZ.log"));
    ASSERT_TRUE(log.open(QIODevice::Append));
    log.write(extra + "\r\n");
    log.close();

    click(w, "Enregistrer");
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{QStringLiteral("Le Log de F4XYZ a été sauvegardé sous le nom : ") + fileName});
    const QByteArray file = fx.dir.read(fileName);
    EXPECT_TRUE(file.contains("\r\n         8 21/06/15  F5ABC       75  09:41"))
        << "the QSO recorded while the window is open is saved";
    EXPECT_EQ(items(w->findChild<QListWidget*>("Visu_Print")).size(), 11) << "but not shown";

    click(w, "Imprimer");
    ASSERT_EQ(printer.documents().size(), 1);
    const QStringList printed = printer.texts(0);
    ASSERT_EQ(printed.size(), 5 + 8 + 2);
    EXPECT_EQ(printed[3], QStringLiteral("        N°   Date   Indicatif    Dpt  QTR   Bande    Mode RstR    RstE     "
                                         "N° Moulin"));
    EXPECT_TRUE(printed[12].startsWith(QStringLiteral("         8 21/06/15  F5ABC")));
    EXPECT_EQ(printed.last(),
              QStringLiteral("                              Document établi avec Tournevent Rev  1.1.2"));
}

TEST_F(ListingWindowTest, MissingLogIsReportedAndNothingWritten)
{
    LogListingWindow* w = open();
    EXPECT_EQ(items(w->findChild<QListWidget*>("Visu_Print")).size(), 4);
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Le fichier F4XYZ.log est introuvable.")});
    click(w, "Enregistrer");
    click(w, "Imprimer");
    EXPECT_EQ(fx.dialogs.texts().size(), 3);
    EXPECT_FALSE(fx.dir.exists(fileName));
    EXPECT_TRUE(printer.documents().isEmpty());
    EXPECT_EQ(printer.choices(), 0) << "no printer dialog for a log that cannot be read";
}

TEST_F(ListingWindowTest, OneWindowAtATimeRaisedWhenAskedAgainAndDestroyedOnQuit)
{
    test::reports::writeStation(fx.dir);
    const auto show = [&](const char* callsign) {
        return LogListingWindow::showOrRaise(fx.services(), QString::fromLatin1(callsign), QStringLiteral("21/06/15"),
                                             nullptr);
    };
    QPointer<LogListingWindow> first = show("F4XYZ");
    ASSERT_NE(first, nullptr);
    auto* other = new QWidget;
    windows.emplace_back(other);
    other->show();
    other->activateWindow();
    EXPECT_EQ(show("F4XYZ"), first.data());
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(first.data()));

    // Another station: the listing open makes way.
    QPointer<LogListingWindow> second = show("F0ZZZ");
    click(second, "Quitter");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull()) << "Quitter closes and destroys the window";
}

TEST_F(ListingWindowTest, TheVhfSessionSavesUnderItsOwnName)
{
    test::reports::writeStation(fx.dir);
    fx.dir.write(fileName, "HF listing");
    test::setCurrentStation(fx.settings, "F4XYZ", "VHF");
    click(open(), "Enregistrer");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{QStringLiteral("Le Log de F4XYZ a été sauvegardé sous le nom : "
                                                             "F4XYZ_Log_JNM_VHF_21_06_15.txt")});
    EXPECT_TRUE(fx.dir.exists(QStringLiteral("F4XYZ_Log_JNM_VHF_21_06_15.txt")));
    EXPECT_EQ(fx.dir.read(fileName), "HF listing");
}

TEST(RulesWindowTest, SixtyTwoLinesAndASecondOpeningBringsTheSameWindow)
{
    QPointer<RulesWindow> slot;
    RulesWindow* first = RulesWindow::showOrRaise(slot);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->objectName(), "Reglement");
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Règlement JNM"));
    auto* text = first->findChild<QListWidget*>("Texte");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->count(), 62);
    EXPECT_EQ(text->item(1)->text(), QStringLiteral("BUT : "));

    RulesWindow* again = RulesWindow::showOrRaise(slot);
    EXPECT_EQ(again, first);
    EXPECT_EQ(text->count(), 62) << "loaded once per opening, never twice";
    EXPECT_EQ(QApplication::topLevelWidgets().count(QPointer<QWidget>(first).data()), 1);

    QSignalSpy destroyed(first, &QObject::destroyed);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(destroyed.count(), 1);
    EXPECT_TRUE(slot.isNull());
    RulesWindow* reopened = RulesWindow::showOrRaise(slot);
    EXPECT_EQ(reopened->findChild<QListWidget*>("Texte")->count(), 62);
    reopened->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace tv
