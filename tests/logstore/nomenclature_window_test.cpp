#include "logstore/nomenclature_window.h"
#include "platform/fakes/failing_file_system.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace tv {
namespace {

using test::cp;
using test::crlf;

const QString kSelectFirst = QStringLiteral("Selectionnez une ligne d'abord");

class NomenclatureWindowTest : public ::testing::Test {
protected:
    test::TempProgramDir dir;
    FakeSettingsStore settings;
    FakeDialogs dialogs;
    FakeClock clock;
    FailingFileSystem files;
    std::unique_ptr<NomenclatureWindow> window;

    const QByteArray start = crlf({"F5ABC      59 JN18DU", cp("F6XYZ      5  IN88AA"), "F0ZZZ      2a JN41AA"});

    void open(const QByteArray* contents = nullptr)
    {
        dir.write("Nomenclature.txt", contents ? *contents : start);
        window = std::make_unique<NomenclatureWindow>(Services{settings, dialogs, clock, files, dir.path()});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T>
    T* find(const char* name)
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
        const QRect rect = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void fill(const QString& call, const QString& dep, const QString& loc)
    {
        callsign()->setText(call);
        department()->setText(dep);
        locator()->setText(loc);
    }
    QStringList shownLines()
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    QByteArray file() const { return dir.read("Nomenclature.txt"); }
    QList<QByteArray> startLines() const
    {
        return {"F5ABC      59 JN18DU", cp("F6XYZ      5  IN88AA"), "F0ZZZ      2a JN41AA"};
    }
};

TEST_F(NomenclatureWindowTest, OpensWithTheLinesOfTheFileInAFixedPitchList)
{
    open();
    EXPECT_EQ(window->objectName(), "Fichier_Nomenclature");
    EXPECT_EQ(window->windowTitle(), "Edition du fichier Nomenclature.txt");
    EXPECT_EQ(shownLines(), QStringList({"F5ABC      59 JN18DU", "F6XYZ      5  IN88AA", "F0ZZZ      2a JN41AA"}));
    const QFontMetrics metrics(list()->font());
    for (const QChar ch : QStringLiteral(" 1iW"))
        EXPECT_EQ(metrics.horizontalAdvance(ch), metrics.horizontalAdvance(QLatin1Char('M'))) << "fixed pitch";
    EXPECT_EQ(list()->toolTip(), "Clickez sur une ligne pour editer l'indicatif le departement ou le locator");
    QStringList labels;
    for (const QLabel* label : window->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Edition du fichier Nomenclature", "Indicatif", "Dpt", "Locator"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    for (const char* name : {"Ajouter", "Editer", "Supprimer"})
        EXPECT_EQ(find<QPushButton>(name)->text(), QString::fromLatin1(name));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(NomenclatureWindowTest, ClickingALineFillsTheThreeFields)
{
    open();
    clickLine(1);
    EXPECT_EQ(callsign()->text(), "F6XYZ");
    EXPECT_EQ(department()->text(), "5");
    EXPECT_EQ(locator()->text(), "IN88AA");
    clickLine(2);
    EXPECT_EQ(callsign()->text(), "F0ZZZ");
    EXPECT_EQ(department()->text(), "2a");
    EXPECT_EQ(locator()->text(), "JN41AA");
}

TEST_F(NomenclatureWindowTest, TypedLettersAToZAreUpperCasedInCallsignAndLocator)
{
    open();
    QTest::keyClicks(callsign(), "f5abc/p");
    QTest::keyClicks(locator(), "jn18du");
    QTest::keyClicks(department(), "2a");
    EXPECT_EQ(callsign()->text(), "F5ABC/P");
    EXPECT_EQ(locator()->text(), "JN18DU");
    EXPECT_EQ(department()->text(), "2a") << "the department keeps what is typed";
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
        dialogs.clear();
        fill(c.callsign, c.department, c.locator);
        press("Ajouter");
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.last(), QString::fromLatin1(c.message));
        EXPECT_EQ(list()->count(), 3);
        EXPECT_EQ(callsign()->text(), QString::fromLatin1(c.callsign)) << "the fields keep their text";
        EXPECT_EQ(locator()->text(), QString::fromLatin1(c.locator));
    }

    // Accepted: at the end of the list, in the file's layout; a 3-character department is
    // written as typed.
    dialogs.clear();
    fill("F1NEW", "59", "JN18DU");
    press("Ajouter");
    fill("F1ABCDEFGH", "ABC", "JO10AA");
    press("Ajouter");
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(window->lines().mid(3), QList<QByteArray>({"F1NEW      59 JN18DU", "F1ABCDEFGH ABCJO10AA"}));
    EXPECT_TRUE(callsign()->text().isEmpty());
    EXPECT_TRUE(department()->text().isEmpty());
    EXPECT_TRUE(locator()->text().isEmpty());
}

TEST_F(NomenclatureWindowTest, EditNeedsASelectedLineAndMovesItToTheEnd)
{
    open();
    // Text in the fields but no line selected: nothing is removed.
    fill("F5ABC", "62", "JO10AA");
    press("Editer");
    EXPECT_EQ(dialogs.last(), kSelectFirst);
    callsign()->clear();
    clickLine(0);
    callsign()->clear();
    press("Editer");
    EXPECT_EQ(dialogs.last(), kSelectFirst);
    EXPECT_EQ(window->lines(), startLines());

    struct Case {
        const char* callsign;
        const char* department;
        const char* locator;
        const char* message;
    };
    const Case refused[] = {
        {"F1ABCDEFGHI", "59", "JN18DU", "Attention Indicatif superieur a 10 caracteres"},
        {"F5ABC", "59", "JN18DUX", "Attention locator superieur a 6 caracteres"},
        {"F5ABC", "ABC", "JN18DU", "Attention departement superieur a 2 caracteres"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.message);
        dialogs.clear();
        clickLine(0);
        fill(c.callsign, c.department, c.locator);
        press("Editer");
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.last(), QString::fromLatin1(c.message));
        EXPECT_EQ(window->lines(), startLines());
    }

    dialogs.clear();
    clickLine(0);
    department()->setText("62");
    press("Editer");
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(window->lines(),
              QList<QByteArray>({cp("F6XYZ      5  IN88AA"), "F0ZZZ      2a JN41AA", "F5ABC      62 JN18DU"}));
    EXPECT_TRUE(callsign()->text().isEmpty());
    EXPECT_TRUE(list()->selectedItems().isEmpty());

    // Right after an edit no line is selected: a second click on the button changes nothing.
    callsign()->setText("F6XYZ");
    press("Editer");
    EXPECT_EQ(dialogs.last(), kSelectFirst);
    EXPECT_EQ(window->lines().size(), 3);
}

TEST_F(NomenclatureWindowTest, RemoveTakesOnlyTheSelectedLine)
{
    open();
    callsign()->setText("F5ABC");
    press("Supprimer");
    EXPECT_EQ(dialogs.last(), kSelectFirst);
    EXPECT_EQ(window->lines().size(), 3);

    clickLine(1);
    press("Supprimer");
    EXPECT_EQ(window->lines(), QList<QByteArray>({"F5ABC      59 JN18DU", "F0ZZZ      2a JN41AA"}));
    EXPECT_TRUE(callsign()->text().isEmpty());
    EXPECT_TRUE(locator()->text().isEmpty());
    EXPECT_EQ(department()->text(), "5") << "the department field is left as it was";

    // The next line is not selected in its place.
    callsign()->setText("F0ZZZ");
    press("Supprimer");
    EXPECT_EQ(dialogs.last(), kSelectFirst);
    EXPECT_EQ(window->lines().size(), 2);
}

TEST_F(NomenclatureWindowTest, ClosingAsksAndYesWritesTheListInOrder)
{
    open();
    clickLine(0);
    department()->setText("62");
    press("Editer");
    fill("ON4AA", "", "JO20AA");
    press("Ajouter");
    dialogs.clear();
    dialogs.answer(true);
    EXPECT_TRUE(window->close());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, FakeDialogs::Kind::YesNo);
    EXPECT_EQ(dialogs.last(), "Sauvegarder fichier Nomenclature.txt avant de quitter?");
    EXPECT_EQ(file(), crlf({cp("F6XYZ      5  IN88AA"), "F0ZZZ      2a JN41AA", "F5ABC      62 JN18DU",
                            "ON4AA         JO20AA"}));
}

TEST_F(NomenclatureWindowTest, ClosingWithNoDiscardsEveryChange)
{
    open();
    clickLine(0);
    press("Supprimer");
    dialogs.answer(false);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(file(), start);
}

TEST_F(NomenclatureWindowTest, SavingAnUnchangedListWritesTheSameBytes)
{
    const QByteArray odd = crlf({cp("F5ÉÀ       59 JN18DU"), "", "F6XYZ      5  IN88AA", "  stray line , \"x\""});
    open(&odd);
    EXPECT_EQ(list()->count(), 4);
    dialogs.answer(true);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(file(), odd);
}

TEST_F(NomenclatureWindowTest, AFailedSaveIsReportedAndKeepsTheWindowAndTheFile)
{
    open();
    clickLine(0);
    press("Supprimer");
    files.stopBeforeRename(true);
    dialogs.answer(true);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(dialogs.last().startsWith(QString::fromUtf8("Erreur N° ")));
    EXPECT_EQ(file(), start);

    // Once the disk is back, closing again saves.
    files.stopBeforeRename(false);
    dialogs.answer(true);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(file(), crlf({cp("F6XYZ      5  IN88AA"), "F0ZZZ      2a JN41AA"}));
}

TEST_F(NomenclatureWindowTest, AMissingListStartsEmptyAndIsCreatedOnSave)
{
    window = std::make_unique<NomenclatureWindow>(Services{settings, dialogs, clock, files, dir.path()});
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    fill("F5ABC", "59", "JN18DU");
    press("Ajouter");
    dialogs.answer(true);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(file(), "F5ABC      59 JN18DU\r\n");
}

TEST_F(NomenclatureWindowTest, AnUnreadableListIsNeitherEditedNorOverwritten)
{
    class Unreadable final : public QtFileSystem {
    public:
        FileRead read(const QString&) const override
        {
            return {FileResult::failure(FileResult::kPermissionDenied, QStringLiteral("denied")), {}};
        }
    } unreadable;
    dir.write("Nomenclature.txt", start);
    window = std::make_unique<NomenclatureWindow>(Services{settings, dialogs, clock, unreadable, dir.path()});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.last(), QString::fromUtf8("Erreur N° 70\r\nLe fichier Nomenclature.txt ne peut pas etre lu"));
    EXPECT_EQ(list()->count(), 0);
    for (const char* name : {"Ajouter", "Editer", "Supprimer"})
        EXPECT_FALSE(find<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(dialogs.shown().size(), 1) << "no save question";
    EXPECT_EQ(file(), start);
}

}  // namespace
}  // namespace tv
