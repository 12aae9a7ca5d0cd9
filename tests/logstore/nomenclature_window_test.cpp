#include "logstore/log_file.h"
#include "logstore/nomenclature_window.h"
#include "tests/support/test_support.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace tv {
namespace {

using test::crlf;

const QString kSelectFirst = QStringLiteral("Selectionnez une ligne d'abord");

class NomenclatureWindowTest : public ::testing::Test {
protected:
    test::Fixture fx;
    std::unique_ptr<NomenclatureWindow> window;
    const QList<QByteArray> startLines = {"F5ABC      59 JN18DU", "F6XYZ      5  IN88AA", "F0ZZZ      2a JN41AA"};

    void open()
    {
        fx.dir.write("Nomenclature.txt", LogFile::joinLines(startLines));
        window = std::make_unique<NomenclatureWindow>(fx.services());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QLineEdit* edit(const char* name) { return window->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    void press(const char* button) { window->findChild<QPushButton*>(QString::fromLatin1(button))->click(); }
    void clickLine(int row)
    {
        auto* l = window->findChild<QListWidget*>("Liste_Nomenclature");
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
    void fill(const QString& call, const QString& dep, const QString& loc)
    {
        edit("Ind_Edit")->setText(call);
        edit("Dep_Edit")->setText(dep);
        edit("Loc_Edit")->setText(loc);
    }
    QStringList fields() { return {edit("Ind_Edit")->text(), edit("Dep_Edit")->text(), edit("Loc_Edit")->text()}; }
    QByteArray file() const { return fx.dir.read("Nomenclature.txt"); }
    bool closeAnswering(bool yes)
    {
        fx.dialogs.answer(yes);
        return window->close();
    }
};

TEST_F(NomenclatureWindowTest, RefusedEntriesShowTheirMessageAndChangeNothing)
{
    open();
    const char* const cases[][6] = {
        // button, line clicked first, callsign, department, locator, message
        {"Ajouter", "", "", "59", "JN18DU", "Attention pas d'indicatif ou indicatif superieur a 10 caracteres"},
        {"Ajouter", "", "F1ABCDEFGHI", "59", "JN18DU",
         "Attention pas d'indicatif ou indicatif superieur a 10 caracteres"},
        {"Ajouter", "", "F1NEW", "59", "JN18DUX", "Attention pas de locator ou locator superieur a 6 caracteres"},
        {"Ajouter", "", "F0ZZZ", "75", "JN18EU", "Attention l'indicatif F0ZZZ est deja present dans le fichier"},
        {"Editer", "", "F5ABC", "62", "JO10AA", "Selectionnez une ligne d'abord"},
        {"Supprimer", "", "F5ABC", "62", "JO10AA", "Selectionnez une ligne d'abord"},
        {"Editer", "y", "F1ABCDEFGHI", "59", "JN18DU", "Attention Indicatif superieur a 10 caracteres"},
        {"Editer", "y", "F5ABC", "59", "JN18DUX", "Attention locator superieur a 6 caracteres"},
        {"Editer", "y", "F5ABC", "ABC", "JN18DU", "Attention departement superieur a 2 caracteres"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c[0]) + " " + c[2]);
        fx.dialogs.clear();
        if (*c[1])
            clickLine(0);
        fill(c[2], c[3], c[4]);
        press(c[0]);
        EXPECT_EQ(fx.dialogs.texts(), QStringList{QString::fromLatin1(c[5])});
        EXPECT_EQ(window->lines(), startLines);
        if (QByteArray(c[0]) == "Ajouter")
            EXPECT_EQ(fields(), QStringList({c[2], c[3], c[4]})) << "the fields keep their text";
    }
}

TEST_F(NomenclatureWindowTest, EditsAreSavedInOrderOnlyWhenClosingWithYes)
{
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        fx.dialogs.clear();
        open();
        clickLine(2);
        EXPECT_EQ(fields(), QStringList({"F0ZZZ", "2a", "JN41AA"}));
        clickLine(0);
        edit("Dep_Edit")->setText("62");
        press("Editer"); // the edited line moves to the end
        EXPECT_EQ(fields(), QStringList({"", "", ""}));
        fill("F1ABCDEFGH", "ABC", "JO10AA"); // a 3-character department is added as typed
        press("Ajouter");
        clickLine(0);
        press("Supprimer");
        press("Supprimer"); // no line is selected any more
        EXPECT_EQ(fx.dialogs.texts(), QStringList{kSelectFirst});
        EXPECT_TRUE(closeAnswering(yes));
        EXPECT_EQ(fx.dialogs.last(), "Sauvegarder fichier Nomenclature.txt avant de quitter?");
        EXPECT_EQ(fx.dialogs.shown().last().kind, FakeDialogs::Kind::YesNo);
        EXPECT_EQ(file(), yes ? crlf({startLines[2], "F5ABC      62 JN18DU", "F1ABCDEFGH ABCJO10AA"})
                              : LogFile::joinLines(startLines));
    }
}

TEST_F(NomenclatureWindowTest, FailuresKeepTheFile)
{
    open();
    clickLine(0);
    press("Supprimer");
    fx.files.stopBeforeRename(true);
    EXPECT_FALSE(closeAnswering(true));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(fx.dialogs.last().startsWith(QString::fromUtf8("Erreur N° ")));
    EXPECT_EQ(file(), LogFile::joinLines(startLines));
    fx.files.stopBeforeRename(false);
    EXPECT_TRUE(closeAnswering(true)) << "once the disk is back, closing again saves";
    EXPECT_EQ(file(), crlf({startLines[1], startLines[2]}));

    // An unreadable list is neither edited nor overwritten.
    fx.dialogs.clear();
    fx.files.failReadsOf("Nomenclature.txt", FileResult::kPermissionDenied);
    open();
    EXPECT_EQ(fx.dialogs.texts(),
              QStringList{QString::fromUtf8("Erreur N° 70\r\nLe fichier Nomenclature.txt ne peut pas etre lu")});
    for (const char* name : {"Ajouter", "Editer", "Supprimer"})
        EXPECT_FALSE(window->findChild<QPushButton*>(name)->isEnabled()) << name;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fx.dialogs.shown().size(), 1) << "no save question";
    EXPECT_EQ(file(), LogFile::joinLines(startLines));
}

} // namespace
} // namespace tv
