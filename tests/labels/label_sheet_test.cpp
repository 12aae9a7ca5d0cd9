#include "labels/label_print.h"
#include "labels/label_sheet.h"
#include "labels/labels_cli.h"
#include "labels/qso_selection.h"
#include "tests/support/test_support.h"

#include <cmath>

namespace tv {
namespace {

using namespace labels;

const auto numberedLog = [](int count) { return test::numberedLog(count, "F5A"); };

QStringList texts(const QList<LabelLine>& lines)
{
    QStringList out;
    for (const LabelLine& line : lines)
        out << line.text;
    return out;
}

TEST(LabelGeometry, FirstLastAndStartOffsetLabelOfEachFormat)
{
    const struct {
        Format format;
        RectMm first, last, sixth; // positions 1, 16 and 6 (right column, third row)
    } cases[] = {
        {Format::AveryL7162, {4.65, 12.9, 99.1, 33.9}, {106.25, 250.2, 99.1, 33.9}, {106.25, 80.7, 99.1, 33.9}},
        {Format::AveryDP167, {0, 0.5, 105, 37}, {105, 259.5, 105, 37}, {105, 74.5, 105, 37}},
        {Format::DecadryOLW4732, {4.65, 12.5, 99.1, 34}, {106.25, 250.5, 99.1, 34}, {106.25, 80.5, 99.1, 34}},
        {Format::DecadryOLW4799, {0, 8.5, 105, 35}, {105, 253.5, 105, 35}, {105, 78.5, 105, 35}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sheetFormat(c.format).caption);
        const std::pair<int, RectMm> expected[] = {{0, c.first}, {15, c.last}, {5, c.sixth}};
        for (const auto& [position, rect] : expected) {
            const RectMm got = labelRect(c.format, position);
            EXPECT_NEAR(got.x, rect.x, 1e-9) << position;
            EXPECT_NEAR(got.y, rect.y, 1e-9) << position;
            EXPECT_NEAR(got.width, rect.width, 1e-9) << position;
            EXPECT_NEAR(got.height, rect.height, 1e-9) << position;
        }
        // The sheet lies on the A4 paper, its labels centred across it.
        EXPECT_LE(c.last.bottom(), 297.0);
        EXPECT_NEAR(c.first.x, 210.0 - c.last.right(), 1e-9);
        // A start position places the first label there; one in the left column gets a blank beside it.
        LabelSettings settings{.format = c.format, .start = 6};
        EXPECT_EQ(layOut(numberedLog(1), settings)[0].labels[0].rect, c.sixth);
        settings.start = 16;
        const QList<Sheet> sheets = layOut(numberedLog(2), settings);
        ASSERT_EQ(sheets.size(), 2);
        EXPECT_EQ(sheets[0].labels[0].rect, c.last);
        EXPECT_EQ(sheets[1].labels.size(), 2); // the second QSO, then the blank label
        EXPECT_EQ(sheets[1].labels[1].texts[0].text, "Confirme le QSO avec ");
    }
}

TEST(LabelLines, MillQsoForeignQsoAndBlankLabel)
{
    const QByteArray mill = qsoline::build(test::frenchMillRecord()).value();
    const QByteArray foreign = test::qso("21/06/15", "DL1XYZ", "10:15", "7.0 Mhz", "CW");
    const LabelSettings type1{.rxtx = " FT847 100 W ", .antenna = "Dipole", .ownCallsign = "F0ZZZ_P"};
    LabelSettings type2 = type1;
    type2.type = 2;
    type2.millRef = "DMF 77012";
    type2.millName = "Moulin de la prairie verte ";
    type2.format = Format::AveryDP167;
    const struct {
        const char* name;
        QByteArray line;
        const LabelSettings& settings;
        const char *confirm, *activating, *qso; // the first, second and fifth lines
    } cases[] = {
        {"French mill, type 1", mill, type1, "Confirme le QSO avec F5ABC", "Activant la référence DMF 59045",
         "Le 21/06/15 09:41 UTC 14 Mhz 57 SSB"},
        {"foreign, type 1", foreign, type1, "Confirme le QSO avec DL1XYZ", "", "Le 21/06/15 10:15 UTC 7.0 Mhz 59 CW"},
        {"foreign, type 2", foreign, type2, "Confirme le QSO avec DL1XYZ", "DMF 77012 Moulin de la prairie verte",
         "Le 21/06/15 10:15 UTC 7.0 Mhz 59 CW"},
        {"blank", {}, type1, "Confirme le QSO avec ", "", "Le ........ ..... UTC .. Mhz .. ..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<LabelLine> lines = labelLines(c.line, c.settings);
        EXPECT_EQ(texts(lines), QStringList({c.confirm, c.activating, "Journée Nationale des Moulins", "", c.qso, "",
                                             "TX : FT847 100 W  Ant : Dipole", "Merci Pour le QSO   73's de F0ZZZ_P"}));
        const bool dp167 = c.settings.format == Format::AveryDP167;
        EXPECT_EQ(lines[0], (LabelLine{c.confirm, dp167 ? 15 : 13, true}));
        EXPECT_TRUE(lines[1].bold);
        EXPECT_FALSE(lines[2].bold);
        EXPECT_EQ(lines[3].pointSize, dp167 ? 2 : 8);
        EXPECT_EQ(lines[4], (LabelLine{c.qso, 10, false}));
    }
}

TEST(LabelLayout, EveryTextStaysInsideItsLabelAndLongLinesAreCutAtTheEdge)
{
    const QByteArray longCall = test::qso("21/06/15", "F4ABCDEFGH/P", "10:00", "144 Mhz", "SSB");
    const QByteArray shortCall = test::qso("21/06/15", "F5ABC", "10:00", "144 Mhz", "SSB");
    for (int n = 1; n <= kFormatCount; ++n) {
        LabelSettings s{.type = 2, .millRef = "DMF 77012", .millName = QString(34, 'M'), .rxtx = QString(15, 'R')};
        s.antenna = QString(13, 'A');
        s.ownCallsign = "F4ABCDEFGH_P";
        formatFromNumber(n, &s.format);
        SCOPED_TRACE(sheetFormat(s.format).caption);
        for (const Sheet& sheet : layOut({longCall, shortCall, longCall}, s)) {
            for (const PlacedLabel& label : sheet.labels) {
                ASSERT_EQ(label.texts.size(), 6);
                for (const PlacedText& t : label.texts) {
                    SCOPED_TRACE(t.text.toStdString());
                    const double width = t.text.size() * kAdvanceEm * t.font.pointSize * 25.4 / 72;
                    EXPECT_GE(t.x, label.rect.x + kSideMarginMm - 1e-9);
                    EXPECT_LE(t.x + width, label.rect.right() - kSideMarginMm + 1e-9);
                    EXPECT_GE(t.y, label.rect.y);
                    EXPECT_LE(t.y + kLineEm * t.font.pointSize * 25.4 / 72, label.rect.bottom());
                    EXPECT_EQ(t.font.family, "Courier New");
                }
            }
        }
        // 33 characters fit at 13 points on a 99.1 mm label, 31 at 15 points on 105 mm: the long
        // callsign is cut on DP167 only, where the line then fills the label but its margins.
        const PlacedText confirm = layOut({longCall}, s)[0].labels[0].texts[0];
        const bool cut = s.format == Format::AveryDP167;
        EXPECT_EQ(confirm.text, cut ? "Confirme le QSO avec F4ABCDEFGH" : "Confirme le QSO avec F4ABCDEFGH/P");
        if (cut)
            EXPECT_LT(confirm.x, kSideMarginMm + kAdvanceEm * 15 * 25.4 / 72 / 2);
        // A short line is centred.
        const PlacedText centred = layOut({shortCall}, s)[0].labels[0].texts[0];
        const double width = centred.text.size() * kAdvanceEm * centred.font.pointSize * 25.4 / 72;
        EXPECT_NEAR(centred.x + width / 2, labelRect(s.format, 0).x + labelRect(s.format, 0).width / 2, 1e-9);
    }
}

TEST(LabelLayout, SheetsOfALongSelection)
{
    const LabelSettings s;
    const struct {
        int qsos, start, sheets, lastSheetLabels;
    } cases[] = {{0, 1, 0, 0}, {3, 1, 1, 4}, {16, 1, 1, 16}, {17, 1, 2, 2}, {32, 1, 2, 16}, {14, 4, 2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.qsos << " QSOs from " << c.start);
        LabelSettings settings = s;
        settings.start = c.start;
        const QList<QByteArray> log = numberedLog(c.qsos);
        const QList<Sheet> sheets = layOut(log, settings);
        ASSERT_EQ(sheets.size(), c.sheets);
        EXPECT_EQ(sheetCount(c.qsos, c.start), c.sheets);
        if (c.sheets == 0)
            continue;
        EXPECT_EQ(sheets.last().labels.size(), c.lastSheetLabels);
        const Sheet alone = layOutSheet(log, settings, c.sheets - 1);
        ASSERT_EQ(alone.labels.size(), sheets.last().labels.size());
        EXPECT_EQ(alone.labels.last().texts, sheets.last().labels.last().texts);
    }
}

TEST(LabelChecks, FirstFailingCheckGivesItsMessage)
{
    const QString rxtx = "15 caracteres maxi pour le transceiver";
    const QString antenna = "12 caracteres maxi pour l'antenne";
    const QString reference = "9 caracteres pour la reference du moulin ex: DMF 60012";
    const QString name = "30 caracteres maxi pour le nom du moulin ex: Moulin de la prairie verte";
    const struct {
        int type;
        int rxtx, antenna, ref, name; // lengths
        QString message;
    } cases[] = {{1, 15, 13, 0, 0, ""},  {1, 16, 14, 0, 0, rxtx},     {1, 15, 14, 8, 0, antenna},
                 {2, 15, 13, 9, 34, ""}, {2, 0, 0, 8, 34, reference}, {2, 0, 0, 10, 34, reference},
                 {2, 0, 0, 9, 35, name}, {2, 0, 0, 9, 0, name},       {1, 0, 0, 3, 40, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.rxtx << " " << c.antenna << " " << c.ref << " "
                                        << c.name);
        const LabelSettings s{.type = c.type,
                              .millRef = QString(c.ref, 'R'),
                              .millName = QString(c.name, 'N'),
                              .rxtx = QString(c.rxtx, 'X'),
                              .antenna = QString(c.antenna, 'A')};
        EXPECT_EQ(checkMessage(s), c.message);
    }
}

TEST(LabelPrinting, OneDocumentOrOneJobPerSheetWithTheQuestionBetween)
{
    const QList<QByteArray> log = numberedLog(33); // three sheets
    const QString next = "Page suivante ?";
    const struct {
        Format format;
        bool stop;
        QList<bool> answers;
        bool chosen;
        PrintOutcome outcome;
        int documents;
        QStringList questions;
    } cases[] = {
        {Format::AveryL7162, false, {}, true, PrintOutcome::Printed, 1, {}},
        {Format::AveryL7162, true, {true, true}, true, PrintOutcome::Printed, 3, {next, next}},
        {Format::DecadryOLW4799, true, {false}, true, PrintOutcome::Stopped, 1, {next}},
        {Format::AveryDP167, true, {false}, true, PrintOutcome::Stopped, 1, {"               " + next}},
        {Format::AveryL7162, false, {}, false, PrintOutcome::Cancelled, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.format) << c.stop << c.chosen);
        FakePrinter printer;
        FakeDialogs dialogs;
        printer.answerChoice(c.chosen);
        for (bool yes : c.answers)
            dialogs.answer(yes);
        const QList<Sheet> sheets = layOut(log, LabelSettings{.format = c.format});
        EXPECT_EQ(printSheets(printer, dialogs, sheets, c.format, c.stop), c.outcome);
        EXPECT_EQ(printer.documents().size(), c.documents);
        EXPECT_EQ(dialogs.texts(), c.questions);
        if (c.documents == 0)
            continue;
        // The first sheet's first label is QSO 1 on the first page; one document holds three pages.
        EXPECT_EQ(printer.placed()[0], (FakePrinter::Placed{0, 0, printer.placed()[0].x, printer.placed()[0].y,
                                                            "Confirme le QSO avec F5A1", printer.placed()[0].font}));
        EXPECT_EQ(printer.placed().last().page, c.documents == 1 && !c.stop ? 2 : 0);
    }
    FakePrinter failing;
    FakeDialogs dialogs;
    failing.failEnd(true);
    EXPECT_EQ(printSheets(failing, dialogs, layOut(log, {}), Format::AveryL7162, false), PrintOutcome::Failed);
}

TEST(QsoSelectionTest, MovesKeepLogOrderAndFollowTheLog)
{
    QList<QByteArray> log = numberedLog(15);
    QsoSelection selection;
    selection.setLines(log);
    auto chooseNumber = [&](int number) {
        for (int row = 0; row < selection.available().rowCount(); ++row)
            if (selection.available().logRow(row) == number - 1)
                return selection.choose(row);
        FAIL() << number;
    };
    for (int number : {12, 3, 7})
        chooseNumber(number);
    EXPECT_EQ(selection.chosenLines(), (QList<QByteArray>{log[2], log[6], log[11]}));
    EXPECT_EQ(selection.chosen().data(selection.chosen().index(0)).toString(),
              QString("    3 ") + QString::fromLatin1(log[2]));
    EXPECT_EQ(selection.available().rowCount(), 12);
    selection.unchoose(1); // QSO 7 goes back between 6 and 8
    EXPECT_EQ(selection.available().logRow(5), 6);

    // A delete renumbers the log: the chosen QSOs stay chosen by their line.
    log.removeAt(0);
    selection.setLines(log);
    EXPECT_EQ(selection.chosenLines(), (QList<QByteArray>{log[1], log[10]}));
    EXPECT_EQ(selection.chosen().data(selection.chosen().index(0)).toString().left(6), "    2 ");
    selection.appendLine(log[0]);
    EXPECT_EQ(selection.available().logRow(selection.available().rowCount() - 1), 14);

    selection.chooseAll();
    EXPECT_EQ(selection.available().rowCount(), 0);
    EXPECT_EQ(selection.chosenLines().size(), 15);
    EXPECT_EQ(selection.chosenLines().last(), log[0]);
}

TEST(LabelsCommandLine, QsoNumbersAndRanges)
{
    const struct {
        QStringList specs;
        QList<int> rows;
        const char* error;
    } cases[] = {
        {{"3,1-2"}, {0, 1, 2}, ""},
        {{"5-4", "4,9"}, {3, 4, 8}, ""},
        {{"10"}, {}, "le QSO n° 10 n'est pas dans le log (9 QSO)"},
        {{"0"}, {}, "le QSO n° 0 n'est pas dans le log (9 QSO)"},
        {{"2,x"}, {}, "l'option --qso demande des numéros de QSO, par exemple 1,4-7 : 2,x"},
        {{"1-"}, {}, "l'option --qso demande des numéros de QSO, par exemple 1,4-7 : 1-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.specs.join(' ').toStdString());
        QList<int> rows;
        QString error;
        EXPECT_EQ(parseQsoNumbers(c.specs, 9, &rows, &error), !*c.error);
        EXPECT_EQ(error, QString::fromUtf8(c.error));
        if (!*c.error)
            EXPECT_EQ(rows, c.rows);
    }
}

} // namespace
} // namespace tv
