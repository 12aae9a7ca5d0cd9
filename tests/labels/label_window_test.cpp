#include "labels/label_print.h"
#include "labels/label_window.h"
#include "labels/qso_selection.h"
#include "labels/qso_selection_window.h"
#include "platform/qt_printer.h"
#include "platform/qt_settings_store.h"
#include "platform/settings_keys.h"
#include "station/logbook.h"
#include "tests/reports/report_fixture.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <optional>

namespace tv {
namespace {

using test::child;

const auto numberedLog = [](int count) { return test::numberedLog(count, "F4ABCDEF"); };

TEST(LabelWindowTest, ChecksComeFirstAndTheTransceiverAndAntennaAreKeptBetweenOpenings)
{
    test::Fixture f;
    QsoSelection selection;
    selection.setLines(test::reports::logLines());
    selection.chooseAll();
    {
        LabelWindow window(f.services(), "F4XYZ_P", selection, nullptr);
        child<QLineEdit>(window, "RxTx")->setText("FT847 100 W");
        child<QLineEdit>(window, "Antenne")->setText("Dipole 2x10m");
        child<QRadioButton>(window, "Type_2")->setChecked(true);
        child<QLineEdit>(window, "Ref_Moulin")->setText("DMF 7701");
        child<QPushButton>(window, "Imprime")->click();
        EXPECT_EQ(f.dialogs.texts(), QStringList{"9 caracteres pour la reference du moulin ex: DMF 60012"});
        EXPECT_EQ(f.printer.choices(), 0);
        EXPECT_TRUE(f.settings.writes().isEmpty());

        child<QLineEdit>(window, "Ref_Moulin")->setText("DMF 77012");
        child<QLineEdit>(window, "Nom_Moulin")->setText("Moulin de la prairie verte");
        child<QRadioButton>(window, "Etiqu_2")->setChecked(true);
        child<QPushButton>(window, "Imprime")->click();
        EXPECT_EQ(f.printer.documents().size(), 1);
        EXPECT_EQ(f.printer.placed().size(), 8 * 6); // 7 QSOs and a blank label, six lines of text each
        EXPECT_EQ(f.printer.placed().last().text, "Merci Pour le QSO   73's de F4XYZ_P");
        EXPECT_EQ(f.printer.placed()[1].text, "DMF 77012 Moulin de la prairie verte");
        EXPECT_EQ(f.printer.placed()[0].font, (PrintFont{"Courier New", 15, true}));
    }
    EXPECT_EQ(f.settings.value(keys::kAssistant, "Setup ", "Transceiver"), "FT847 100 W");
    LabelWindow again(f.services(), "F4XYZ_P", selection, nullptr);
    EXPECT_EQ(child<QLineEdit>(again, "RxTx")->text(), "FT847 100 W");
    EXPECT_EQ(child<QLineEdit>(again, "Antenne")->text(), "Dipole 2x10m");

    // An empty selection prints nothing and says so.
    QsoSelection none;
    none.setLines(test::reports::logLines());
    LabelWindow empty(f.services(), "F4XYZ", none, nullptr);
    f.dialogs.clear();
    child<QPushButton>(empty, "Imprime")->click();
    empty.printToPdf(f.dir.file("none.pdf"));
    EXPECT_EQ(f.dialogs.texts(), QStringList(2, labels::emptySelectionMessage()));
    EXPECT_EQ(f.printer.choices(), 1);
    EXPECT_FALSE(f.dir.exists("none.pdf"));
}

TEST(LabelPdf, EveryLabelsTextLiesInsideItsLabelOnEachFormat)
{
    test::TempProgramDir dir;
    QtFileSystem files;
    for (int n = 1; n <= labels::kFormatCount; ++n) {
        labels::LabelSettings s{.rxtx = "FT847 100 W", .antenna = "Dipole 2x10m", .ownCallsign = "F4XYZ_P"};
        labels::formatFromNumber(n, &s.format);
        SCOPED_TRACE(labels::sheetFormat(s.format).caption);
        const QString pdf = dir.file(QString("format%1.pdf").arg(n));
        const QList<labels::Sheet> sheets = labels::layOut(numberedLog(16), s);
        ASSERT_TRUE(labels::savePdf(files, pdf, &QtPrinter::toPdf, sheets).result.ok());
        const auto words = test::pdfToText("-bbox", pdf);
        if (!words)
            GTEST_SKIP() << "pdftotext is not installed";
        EXPECT_EQ(words->count("<page "), 1);
        static const QRegularExpression word(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
        QList<int> wordsPerLabel(labels::kLabelsPerSheet, 0);
        for (const QRegularExpressionMatch& m : word.globalMatch(*words)) {
            const double mm = 25.4 / 72;
            const double x0 = m.captured(1).toDouble() * mm, y0 = m.captured(2).toDouble() * mm;
            const double x1 = m.captured(3).toDouble() * mm, y1 = m.captured(4).toDouble() * mm;
            int inside = -1;
            for (int p = 0; p < labels::kLabelsPerSheet; ++p) {
                const labels::RectMm r = labels::labelRect(s.format, p);
                if (x0 >= r.x && x1 <= r.right() && y0 >= r.y && y1 <= r.bottom())
                    inside = p;
            }
            EXPECT_GE(inside, 0) << m.captured(5).toStdString() << " " << x0 << " " << y0 << " " << x1 << " " << y1;
            if (inside >= 0)
                ++wordsPerLabel[inside];
        }
        // The words of the confirmation (5), title (4), QSO (8), TX (9) and thanks (7) lines.
        EXPECT_EQ(wordsPerLabel, QList<int>(labels::kLabelsPerSheet, 33));
    }
    // A 17th QSO starts a second sheet.
    for (const int qsos : {16, 17}) {
        auto printer = QtPrinter::toPdf(dir.file("count.pdf"));
        labels::placeSheets(*printer, labels::layOut(numberedLog(qsos), {}));
        ASSERT_TRUE(printer->endDocument());
        EXPECT_EQ(printer->lastPageCount(), qsos == 16 ? 1 : 2);
    }
}

TEST(QsoSelectionWindowTest, FillsAtOnceOnAFullLogFollowsTheLogbookAndOpensTheLabels)
{
    test::Fixture f;
    f.installStation("F4XYZ");
    f.dir.write("F4XYZ.log", LogFile::joinLines(numberedLog(32767)));
    Logbook logbook(f.services());
    logbook.setStation("F4XYZ");
    ASSERT_TRUE(logbook.load().ok());

    QElapsedTimer clock;
    clock.start();
    QsoSelectionWindow window(f.services(), logbook);
    window.show();
    auto* available = child<QListView>(window, "Liste_QSO");
    auto* chosen = child<QListView>(window, "Liste_Imprime");
    EXPECT_EQ(available->model()->rowCount(), 32767);
    const QRect third = available->visualRect(available->model()->index(2, 0));
    QTest::mouseClick(available->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(chosen->model()->rowCount(), 1);
    EXPECT_TRUE(chosen->model()->index(0, 0).data().toString().startsWith("    3 21/06/15  F4ABCDEF3 "));
    child<QPushButton>(window, "Select_All")->click();
    EXPECT_EQ(chosen->model()->rowCount(), 32767);
    EXPECT_LT(clock.elapsed(), 3000); // no row by row filling

    ASSERT_TRUE(logbook.record({test::qso("21/06/15", "F5NEW", "11:00", "14 Mhz", "SSB")}).logWritten());
    EXPECT_EQ(available->model()->rowCount(), 1);
    EXPECT_TRUE(available->model()->index(0, 0).data().toString().startsWith("32768 21/06/15  F5NEW"));

    child<QPushButton>(window, "Impression")->click();
    auto* labelWindow = window.findChild<LabelWindow*>("Etiquettes");
    ASSERT_NE(labelWindow, nullptr);
    EXPECT_EQ(labelWindow->windowTitle(), "Impression étiquettes");
    EXPECT_EQ(child<QCheckBox>(*labelWindow, "Arret_Imp")->text(), "Arret impression a chaque feuille");
}

TEST(LabelsCliTest, PrintsTheChosenQsosToAPdfWithTheWindowsChecks)
{
    test::TempProgramDir dir;
    test::reports::writeStation(dir);
    dir.write("F6AAA.log", "");
    QtSettingsStore settings(dir.file("settings"));
    settings.setValue(keys::kJnm, keys::kSetup, keys::kIndicatifStation, "F4XYZ");
    settings.setValue(keys::kAssistant, keys::kSetup, keys::kTransceiver, "IC7300");
    const QString pdf = dir.file("qsl.pdf");
    const struct {
        QStringList arguments;
        int code;
        const char* message; // the start of the output, or a part of the error output
    } cases[] = {
        {{"labels", "--pdf", pdf, "--qso", "3,1", "--format", "4"},
         0,
         "Étiquettes enregistrées dans qsl.pdf (1 feuille)."},
        {{"--call", "F6AAA", "labels", "--pdf", dir.file("none.pdf")}, 0, "Aucun QSO sélectionné"},
        {{"labels"}, 2, "la commande labels demande --pdf FICHIER.pdf"},
        {{"labels", "--pdf", pdf, "--format", "5"}, 2, "l'option --format demande 1, 2, 3 ou 4"},
        {{"labels", "--pdf", pdf, "--start", "17"}, 2, "l'option --start demande une position de 1 à 16"},
        {{"labels", "--pdf", pdf, "--qso", "8"}, 2, "le QSO n° 8 n'est pas dans le log (7 QSO)"},
        {{"labels", "--pdf", pdf, "--antenna", "Dipole 2x10m+1"}, 2, "12 caracteres maxi pour l'antenne"},
        {{"labels", "--pdf", pdf, "--type", "2", "--mill-ref", "DMF 7701", "--mill-name", "Moulin"},
         2,
         "9 caracteres pour la reference du moulin ex: DMF 60012"},
        {{"labels", "--pdf", dir.file("no/such/folder/x.pdf")}, 5, "n'a pas pu être écrit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const test::CliRun r = test::runCli(dir, c.arguments);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_TRUE(c.code == 0 ? r.out.startsWith(QString::fromUtf8(c.message)) : r.err.contains(c.message))
            << r.out << r.err;
    }
    EXPECT_FALSE(dir.exists("none.pdf"));
    const auto text = test::pdfToText("-layout", pdf);
    if (!text)
        GTEST_SKIP() << "pdftotext is not installed";
    for (const char* part : {"Confirme le QSO avec F5ABC", "Confirme le QSO avec ON4ABC",
                             "Activant la référence WIM 7001", "TX : IC7300", "Le 21/06/15 10:02 UTC 28 Mhz 59 SSB"})
        EXPECT_TRUE(text->contains(QString::fromUtf8(part))) << part;
    EXPECT_FALSE(text->contains("F6XYZ"));
}

} // namespace
} // namespace tv
