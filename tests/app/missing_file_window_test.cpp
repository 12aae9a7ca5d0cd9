#include "app/missing_file_window.h"
#include "tests/support/test_support.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(MissingFileWindowTest, InitialiserForgetsTheStationOnlyQuitterAndTheCloseBoxWriteNothing)
{
    enum How { Initialiser, Quitter, CloseBox };
    const struct {
        How how;
        int outcome;
        QStringList writes;
    } cases[] = {
        {Initialiser,
         MissingFileWindow::Initialised,
         {"JNM|Setup |Indicatif Station=FXXXX", "JNM|Setup |Locator Station=------"}},
        {Quitter, MissingFileWindow::Quit, {}},
        {CloseBox, MissingFileWindow::Quit, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        test::Fixture fx;
        test::setCurrentStation(fx.settings, "F0ZZZ_P", "VHF");
        Services services = fx.services();
        MissingFileWindow w(services, "F0ZZZ_P");
        QSignalSpy finished(&w, &QDialog::finished);
        w.open();
        if (c.how == CloseBox)
            w.close();
        else
            QTest::mouseClick(w.findChild<QPushButton*>(c.how == Quitter ? "Quitter" : "Initialisation"),
                              Qt::LeftButton);
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), c.outcome);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(fx.settings.writes(), c.writes);
        EXPECT_EQ(fx.settings.value("JNM", "Setup F0ZZZ_P", "Session"), "VHF") << "the station's own section stays";
    }
}

} // namespace
} // namespace tv
