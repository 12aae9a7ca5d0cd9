#include "logstore/log_file.h"
#include "logstore/name_lists.h"
#include "logstore/nomenclature_window.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace tv {
namespace {

using test::cp;
using test::crlf;

const QString kSelectFirst = QStringLiteral("Selectionnez une ligne d'abord");

class NomenclatureWindowTest : public ::testing::Test {
protected:
    test::Fixture fx;
    std::unique_ptr<NomenclatureWindow> window;

    const QList<QByteArray> startLines = {"F5ABC      59 JN18DU", cp("F6XYZ      5  IN88AA"), "F0ZZZ      2a JN41AA"};

    void open() { open(LogFile::joinLines(startLines)); }
    // Opens the window on a list holding these bytes, or on no list at all.
    void open(const std::optional<QByteArray>& contents)
    {
        if (contents)
            fx.dir.write("Nomenclature.txt", *contents);
        window = std::make_unique<NomenclatureWindow>(fx.services());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T> T* find(const char* name)
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* list() { return find<QListWidget>("Liste_Nomenclature"); }
    QLineEdit* callsign() { return find<QLineEdit>("Ind_Edit"); }
    QLineEdit* department() { return find<QLineEdit>("Dep_Edit"); }
    QLineEdit* locator() { return find<QLineEdit>("Loc_Edit"); }
    void press(const char* button) { find<QPushButton>(button)->click(); }

    void clickLine(int row)
    {
        QListWidget* l = list();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
    void fill(const QString& call, const QString& dep, const QString& loc)
    {
        callsign()->setText(call);
        department()->setText(dep);
        locator()->setText(loc);
    }
    QStringList fields() { return {callsign()->text(), department()->text(), locator()->text()}; }
    QByteArray file() const { return fx.dir.read("Nomenclature.txt"); }
    bool closeAnswering(bool yes)
    {
        fx.dialogs.answer(yes);
        return window->close();
    }
};

TEST_F(NomenclatureWindowTest, ShowsTheLinesInAFixedPitchListAndAClickFillsTheFields)
{
    open();
    EXPECT_EQ(window->objectName(), "Fichier_Nomenclature");
    EXPECT_EQ(window->windowTitle(), "Edition du fichier Nomenclature.txt");
    QStringList shown;
    for (int i = 0; i < list()->count(); ++i)
        shown << list()->item(i)->text();
    EXPECT_EQ(shown, QStringList({"F5ABC      59 JN18DU", "F6XYZ      5  IN88AA", "F0ZZZ      2a JN41AA"}));
    const QFontMetrics metrics(list()->font());
    for (const QChar ch : QStringLiteral(" 1iW"))
        EXPECT_EQ(metrics.horizontalAdvance(ch), metrics.horizontalAdvance(QLatin1Char('M'))) << "fixed pitch";
    EXPECT_EQ(list()->toolTip(), "Clickez sur une ligne pour editer l'indicatif le departement ou le locator");

    clickLine(1);
    EXPECT_EQ(fields(), QStringList({"F6XYZ", "5", "IN88AA"}));
    clickLine(2);
    EXPECT_EQ(fields(), QStringList({"F0ZZZ", "2a", "JN41AA"}));
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
}

TEST_F(NomenclatureWindowTest, TypedLettersAToZAreUpperCasedInCallsignAndLocator)
{
    open();
    QTest::keyClicks(callsign(), "f5abc/p");
    QTest::keyClicks(locator(), "jn18du");
    QTest::keyClicks(department(), "2a");
    EXPECT_EQ(fields(), QStringList({"F5ABC/P", "2a", "JN18DU"})) << "the department keeps what is typed";
    callsign()->clear();
    QTest::keyClicks(callsign(), "f");
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("é"));
    QApplication::sendEvent(callsign(), &accented);
    EXPECT_EQ(callsign()->text(), QString::fromUtf8("Fé")) << "accented letters are kept";
}

TEST_F(NomenclatureWindowTest, AddChecksItsFieldsAndRefusesAKnownCallsign)
{
    open();
    struct Case {
        const char* callsign;
        const char* department;
        const char* locator;
        const char* message;
    };
    const Case refused[] = {
        {"", "59", "JN18DU", "Attention pas d'indicatif ou indicatif superieur a 10 caracteres"},
        {"F1ABCDEFGHI", "59", "JN18DU", "Attention pas d'indicatif ou indicatif superieur a 10 caracteres"},
        {"F1NEW", "59", "", "Attention pas de locator ou locator superieur a 6 caracteres"},
        {"F1NEW", "59", "JN18DUX", "Attention pas de locator ou locator superieur a 6 caracteres"},
        {"F0ZZZ", "75", "JN18EU", "Attention l'indicatif F0ZZZ est deja present dans le fichier"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.message);
        fx.dialogs.clear();
        fill(c.callsign, c.department, c.locator);
        press("Ajouter");
        EXPECT_EQ(fx.dialogs.texts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(window->lines(), startLines);
        EXPECT_EQ(fields(), QStringList({c.callsign, c.department, c.locator})) << "the fields keep their text";
    }

    // Accepted: at the end of the list, in the file's layout; a 3-character department is
    // written as typed.
    fx.dialogs.clear();
    fill("F1NEW", "59", "JN18DU");
    press("Ajouter");
    fill("F1ABCDEFGH", "ABC", "JO10AA");
    press("Ajouter");
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
    EXPECT_EQ(window->lines().mid(3), QList<QByteArray>({"F1NEW      59 JN18DU", "F1ABCDEFGH ABCJO10AA"}));
    EXPECT_EQ(fields(), QStringList({"", "", ""}));
}

TEST_F(NomenclatureWindowTest, EditAndRemoveActOnlyOnASelectedLine)
{
    for (const char* button : {"Editer", "Supprimer"}) {
        SCOPED_TRACE(button);
        open();
        // Text in the fields but no line selected, or a line selected and no callsign.
        fill("F5ABC", "62", "JO10AA");
        press(button);
        EXPECT_EQ(fx.dialogs.last(), kSelectFirst);
        clickLine(0);
        callsign()->clear();
        press(button);
        EXPECT_EQ(fx.dialogs.last(), kSelectFirst);
        EXPECT_EQ(window->lines(), startLines);
    }

    const char* const refused[][4] = {
        {"F1ABCDEFGHI", "59", "JN18DU", "Attention Indicatif superieur a 10 caracteres"},
        {"F5ABC", "59", "JN18DUX", "Attention locator superieur a 6 caracteres"},
        {"F5ABC", "ABC", "JN18DU", "Attention departement superieur a 2 caracteres"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c[3]);
        fx.dialogs.clear();
        clickLine(0);
        fill(c[0], c[1], c[2]);
        press("Editer");
        EXPECT_EQ(fx.dialogs.texts(), QStringList{QString::fromLatin1(c[3])});
        EXPECT_EQ(window->lines(), startLines);
    }
}

TEST_F(NomenclatureWindowTest, EditMovesTheLineToTheEndAndRemoveTakesItOut)
{
    open();
    clickLine(0);
    department()->setText("62");
    press("Editer");
    EXPECT_EQ(window->lines(), QList<QByteArray>({startLines[1], startLines[2], "F5ABC      62 JN18DU"}));
    EXPECT_EQ(fields(), QStringList({"", "", ""}));

    clickLine(0);
    press("Supprimer");
    EXPECT_EQ(window->lines(), QList<QByteArray>({startLines[2], "F5ABC      62 JN18DU"}));
    EXPECT_EQ(fields(), QStringList({"", "5", ""})) << "the department field is left as it was";
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());

    // After either, no line is selected: a second click changes nothing.
    for (const char* button : {"Editer", "Supprimer"}) {
        callsign()->setText("F0ZZZ");
        press(button);
        EXPECT_EQ(fx.dialogs.last(), kSelectFirst);
        EXPECT_EQ(window->lines().size(), 2);
    }
}

TEST_F(NomenclatureWindowTest, ClosingAsksAndOnlyYesWritesTheListInOrder)
{
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        fx.dialogs.clear();
        open();
        clickLine(0);
        department()->setText("62");
        press("Editer");
        fill("ON4AA", "", "JO20AA");
        press("Ajouter");
        EXPECT_TRUE(closeAnswering(yes));
        ASSERT_EQ(fx.dialogs.shown().size(), 1);
        EXPECT_EQ(fx.dialogs.shown()[0].kind, FakeDialogs::Kind::YesNo);
        EXPECT_EQ(fx.dialogs.last(), "Sauvegarder fichier Nomenclature.txt avant de quitter?");
        EXPECT_EQ(file(), yes ? crlf({startLines[1], startLines[2], "F5ABC      62 JN18DU", "ON4AA         JO20AA"})
                              : LogFile::joinLines(startLines));
    }
}

TEST_F(NomenclatureWindowTest, SavingMergesWithWhatTheFileHoldsNowAndNeverBringsALineBack)
{
    open();
    clickLine(2);
    department()->setText("2b");
    press("Editer"); // F0ZZZ changed here
    clickLine(1);
    press("Supprimer"); // F6XYZ removed here
    // Meanwhile the file is rewritten: F5ABC changed, F1NEW remembered, F6XYZ and F0ZZZ gone.
    NameLists lists(fx.files, fx.dir.path());
    ASSERT_TRUE(lists.saveStations({"F5ABC      59 JN18EE", "F1NEW      44 IN97AA"}).ok());
    EXPECT_TRUE(closeAnswering(true));
    EXPECT_EQ(file(), crlf({"F5ABC      59 JN18EE", "F0ZZZ      2b JN41AA", "F1NEW      44 IN97AA"}))
        << "F5ABC left alone takes the file's line; F0ZZZ changed here is kept; F6XYZ stays out";

    // A line this editor left alone and that another editor removed stays removed.
    fx.dialogs.clear();
    open(std::nullopt);
    ASSERT_TRUE(lists.saveStations({"F1NEW      44 IN97AA"}).ok());
    fill("F2ADD", "75", "JN18AA");
    press("Ajouter");
    EXPECT_TRUE(closeAnswering(true));
    EXPECT_EQ(file(), crlf({"F1NEW      44 IN97AA", "F2ADD      75 JN18AA"}));
}

TEST_F(NomenclatureWindowTest, OneEditorAtATime)
{
    fx.dir.write("Nomenclature.txt", LogFile::joinLines(startLines));
    QPointer<NomenclatureWindow> first = NomenclatureWindow::showOrRaise(fx.services(), nullptr);
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(NomenclatureWindow::showOrRaise(fx.services(), nullptr), first.data());

    fx.dialogs.answer(false);
    EXPECT_TRUE(first->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "the editor is deleted when it closes";
}

TEST_F(NomenclatureWindowTest, SavingAnUnchangedListWritesTheSameBytes)
{
    const QByteArray odd = crlf({cp("F5ÉÀ       59 JN18DU"), "", "F6XYZ      5  IN88AA", "  stray line , \"x\""});
    open(odd);
    EXPECT_EQ(list()->count(), 4);
    EXPECT_TRUE(closeAnswering(true));
    EXPECT_EQ(file(), odd);
}

TEST_F(NomenclatureWindowTest, AFailedSaveIsReportedAndKeepsTheWindowAndTheFile)
{
    open();
    clickLine(0);
    press("Supprimer");
    fx.files.stopBeforeRename(true);
    EXPECT_FALSE(closeAnswering(true));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(fx.dialogs.last().startsWith(QString::fromUtf8("Erreur N° ")));
    EXPECT_EQ(file(), LogFile::joinLines(startLines));

    // Once the disk is back, closing again saves.
    fx.files.stopBeforeRename(false);
    EXPECT_TRUE(closeAnswering(true));
    EXPECT_EQ(file(), crlf({startLines[1], startLines[2]}));
}

TEST_F(NomenclatureWindowTest, AMissingListStartsEmptyAndIsCreatedOnSave)
{
    open(std::nullopt);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(fx.dialogs.shown().isEmpty());
    fill("F5ABC", "59", "JN18DU");
    press("Ajouter");
    EXPECT_TRUE(closeAnswering(true));
    EXPECT_EQ(file(), "F5ABC      59 JN18DU\r\n");
}

TEST_F(NomenclatureWindowTest, AnUnreadableListIsNeitherEditedNorOverwritten)
{
    fx.files.failReadsOf("Nomenclature.txt", FileResult::kPermissionDenied);
    open();
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{QString::fromUtf8("Erreur N° 70\r\nLe fichier Nomenclature.txt ne peut pas etre lu")});
    EXPECT_EQ(list()->count(), 0);
    for (const char* name : {"Ajouter", "Editer", "Supprimer"})
        EXPECT_FALSE(find<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fx.dialogs.shown().size(), 1) << "no save question";
    EXPECT_EQ(file(), LogFile::joinLines(startLines));
}

} // namespace
} // namespace tv
