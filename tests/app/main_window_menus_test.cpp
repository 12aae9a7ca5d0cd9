#include "app/main_window.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace tv {
namespace {

using Kind = FakeDialogs::Kind;

// What a menu item must do: open its window, or ask or tell the operator something first (the
// fake dialogs answer No, Cancel, no file), or only change a check mark.
struct Expected {
    const char* window = nullptr;
    std::optional<Kind> dialog;
};

const QHash<QString, Expected>& expectations()
{
    static const QHash<QString, Expected> table = {
        {"Mnu_RAZ_All", {nullptr, Kind::Critical}},
        {"Mnu_MAJ_Prefixe_Departement", {}},
        {"Mnu_Nomenclature", {"Fichier_Nomenclature"}},
        {"Mnu_ADIF", {nullptr, Kind::YesNo}},
        {"Mnu_CTrafic", {nullptr, Kind::Message}},
        {"Mnu_EDI", {nullptr, Kind::Message}},
        {"Mnu_Import_ADIF", {nullptr, Kind::File}},
        {"Mnu_Apprendre_Moulins", {nullptr, Kind::File}},
        {"Mnu_Indicatif", {"Station"}},
        {"Mnu_Session_HF", {nullptr, Kind::Critical}},
        {"Mnu_Session_VHF", {nullptr, Kind::Critical}},
        {"Mnu_Auto_Oui", {}},
        {"Mnu_Auto_Non", {}},
        {"Mnu_UTC_Oui", {}},
        {"Mnu_UTC_Non", {}},
        {"Mnu_Carte_Activation", {"Carte_Acti"}},
        {"Mnu_Stat_Dist", {"Statistiques"}},
        {"Mnu_Stat_Prefixe", {"Statistique_Prefixe"}},
        {"Mnu_Stat_DFCF", {"Statistique_DFCF"}},
        {"Mnu_Feuille_Recap", {"Recapitulation"}},
        {"Mnu_Imprime_Tout", {"Impression"}},
        {"Mnu_Imp_QSL", {"Select_QSO"}},
        {"Mnu_Reglement", {"Reglement"}},
        {"Mnu_Historique", {nullptr, Kind::Message}},
        {"Mnu_Mode_Emploi", {"Mode_Emploi"}},
        {"Mnu_A_Propos", {nullptr, Kind::Message}},
        {"Mnu_Quitter", {}},
    };
    return table;
}

// Every item of the menu bar, the items of submenus included, with the menu that holds it.
void collect(const QList<QAction*>& actions, QWidget* holder, QList<std::pair<QWidget*, QAction*>>& out)
{
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        out.append({holder, action});
        if (QMenu* menu = action->menu())
            collect(menu->actions(), menu, out);
    }
}

bool visibleWindow(const MainWindow& w, const char* name)
{
    const auto* window = w.findChild<QWidget*>(QString::fromLatin1(name));
    return window && window->isWindow() && window->isVisible();
}

// Every menu item, on an empty log and on a log of QSOs of both sessions: each opens its
// window or runs its action without an error and without ending the program; each has an Alt
// letter of its own in its menu, and no two items share a shortcut.
TEST(MainWindowMenusTest, EveryItemOpensItsWindowOrRunsItsAction)
{
    const QByteArray full = test::crlf({test::qso("21/06/15", "F5ABC", "09:41", "14 Mhz", "SSB", "59"),
                                        test::qso("21/06/15", "ON4XX", "09:45", "7.0 Mhz", "CW"),
                                        test::qso("21/06/15", "F1AAA", "10:02", "144 Mhz", "SSB", "62")});
    for (const QByteArray& log : {QByteArray(), full}) {
        SCOPED_TRACE(log.size());
        test::Fixture fx;
        fx.installStation("F0ZZZ");
        fx.dir.write("F0ZZZ.log", log);
        MainWindow w(fx.services());
        ASSERT_TRUE(w.start());
        w.show();

        // The shortcuts reach the window from the callsign field, where the cursor waits.
        const struct {
            QKeyCombination keys;
            const char* window;
        } shortcutCases[] = {{Qt::CTRL | Qt::Key_F, "Recherche_Indicatif"},
                             {Qt::CTRL | Qt::Key_P, "Recapitulation"},
                             {Qt::CTRL | Qt::Key_L, "Impression"},
                             {QKeyCombination(Qt::Key_F1), "Mode_Emploi"},
                             {Qt::SHIFT | Qt::Key_F1, "Reglement"}};
        for (const auto& c : shortcutCases) {
            SCOPED_TRACE(c.window);
            QApplication::setActiveWindow(&w);
            QTest::keyClick(w.findChild<QWidget*>("Indicatif_A"), c.keys.key(), c.keys.keyboardModifiers());
            EXPECT_TRUE(QTest::qWaitFor([&] { return visibleWindow(w, c.window); }, 1000)); // a button clicks late
        }

        QList<std::pair<QWidget*, QAction*>> items;
        collect(w.menuBar()->actions(), w.menuBar(), items);
        QHash<QWidget*, QSet<QString>> letters;
        QSet<QKeySequence> shortcuts;
        std::pair<QWidget*, QAction*> quit{};
        for (const auto& [holder, action] : items) {
            const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
            SCOPED_TRACE(name.toStdString());
            const QString letter = QKeySequence::mnemonic(action->text()).toString();
            EXPECT_FALSE(letter.isEmpty()) << "an Alt letter";
            EXPECT_FALSE(letters[holder].contains(letter)) << letter.toStdString() << " twice in one menu";
            letters[holder].insert(letter);
            if (!action->shortcut().isEmpty()) {
                EXPECT_FALSE(shortcuts.contains(action->shortcut())) << "a shortcut of two items";
                shortcuts.insert(action->shortcut());
            }
            if (action->menu())
                continue;
            ASSERT_TRUE(expectations().contains(name)) << "an item this test does not know";
            if (name == "Mnu_Quitter") {
                quit = {holder, action};
                continue;
            }
            EXPECT_TRUE(action->isEnabled());
            const Expected expected = expectations().value(name);
            fx.dialogs.clear();
            action->trigger();
            QApplication::processEvents();
            EXPECT_FALSE(w.ended());
            if (expected.window)
                EXPECT_TRUE(visibleWindow(w, expected.window)) << expected.window;
            const QList<FakeDialogs::Shown>& shown = fx.dialogs.shown();
            EXPECT_EQ(shown.isEmpty() ? std::nullopt : std::optional(shown.first().kind), expected.dialog);
            for (const FakeDialogs::Shown& s : shown)
                EXPECT_FALSE(s.text.startsWith(QStringLiteral("Erreur"))) << s.text.toStdString();
        }
        ASSERT_NE(quit.second, nullptr);
        fx.dialogs.clear();
        quit.second->trigger();
        EXPECT_FALSE(w.isVisible()) << "Quitter closes the main window";
    }
}

} // namespace
} // namespace tv
