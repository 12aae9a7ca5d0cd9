// Every write of the program under a full disk and under a folder that refuses writes (and the
// settings store that cannot keep a value): the operator is told in French why, every file of
// the program directory stays byte for byte as it was, and what the program holds in memory
// still matches the files, so that the next action never works on a QSO that is not written.

#include "app/main_window.h"
#include "entry/qso_entry.h"
#include "labels/label_window.h"
#include "labels/labels_cli.h"
#include "labels/qso_selection.h"
#include "logstore/log_file.h"
#include "platform/qt_printer.h"
#include "reports/adif_export.h"
#include "reports/cli_commands.h"
#include "reports/exchange_cli.h"
#include "station/program_directory.h"
#include "stats/map_cli.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace tv {
namespace {

using F = EntryField;

const QByteArray kSsb = test::qso("21/06/15", "F5AAA", "09:00", "14 Mhz", "SSB", "75");
const QByteArray kCw = test::qso("21/06/15", "DL1AB", "09:30", "7.0 Mhz", "CW");
const QByteArray kVhf = test::qso("20/06/15", "F1VHF", "18:00", "144 Mhz", "SSB", "59", "0", "120");

QByteArray millLine(const char* callsign, const char* reference)
{
    QsoRecord r = test::frenchMillRecord();
    r.callsign = callsign;
    r.millReference = reference;
    return *qsoline::build(r);
}

// Station F0ZZZ in the HF session with three QSOs (one with a mill), its multiplier files still
// the templates, a VHF archive, and a folder "ailleurs" for the files that come from elsewhere;
// the main window running on it.
struct Bench {
    test::Fixture fx;
    std::unique_ptr<MainWindow> w;
    std::unique_ptr<QsoEntry> entry; // the entry panel's core, over the window's session and log
    QString err;                     // the command line's error output

    Bench()
    {
        fx.installStation("F0ZZZ");
        fx.settings.setValue("JNM", "Setup F0ZZZ", "bande Utilisee", "2"); // 14 Mhz
        fx.clock.set({2015, 6, 21, 10, 0, 0}, {2015, 6, 21, 12, 0, 0});
        fx.dir.write("F0ZZZ.log", test::crlf({kSsb, kCw, millLine("F5ABC", "DMF 59045")}));
        fx.dir.write("F0ZZZ.vhf", test::crlf({kVhf}));
        QDir(fx.dir.path()).mkdir("ailleurs");
        fx.dir.write("ailleurs/autre.log", test::crlf({millLine("F6MIL", "DMF 77012")}));
        fx.dir.write("ailleurs/autre.adi",
                     adif::file("F6XYZ", {test::qso("21/06/15", "F6XYZ", "11:00", "14 Mhz", "CW")}));
        w = std::make_unique<MainWindow>(fx.services());
        EXPECT_TRUE(w->start());
        entry = std::make_unique<QsoEntry>(fx.services(), w->session(), w->logbook());
        entry->reset();
        fx.dialogs.clear();
    }

    template <typename T> T* find(const char* name) { return test::child<T>(*w, name); }
    // A button of the window of that name.
    void click(const char* window, const char* button)
    {
        if (auto* found = find<QWidget>(window))
            test::child<QPushButton>(*found, button)->click();
    }
    // The station dialog filled with a callsign that has no files yet, then validated.
    void newStation()
    {
        trigger("Mnu_Indicatif");
        find<QLineEdit>("New_Indicatif")->setText("F1NEW");
        QTest::keyClick(find<QLineEdit>("New_Indicatif"), Qt::Key_Return);
        find<QLineEdit>("Nouv_Date")->setText("21/06/15");
        QTest::keyClick(find<QLineEdit>("Nouv_Date"), Qt::Key_Return);
        find<QPushButton>("Validation")->click();
    }
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    void enter(F field, const QString& text = QString())
    {
        if (!text.isNull())
            entry->form().setText(field, text);
        entry->enter(field);
    }
    // A French QSO typed field by field, every question answered Yes, then recorded.
    void recordQso(const char* callsign, const QString& date = QString())
    {
        fx.dialogs.answer(true); // a new DXCC entity
        enter(F::Callsign, callsign);
        enter(F::Department, "59");
        entry->form().setText(F::Activity, "QSO");
        enter(F::Activity);
        if (!date.isEmpty()) {
            enter(F::Date, date);
            enter(F::Start, "08:00");
            enter(F::End, "08:01");
        }
        for (F f : {F::RstReceived, F::RstSent, F::FirstName, F::MillName})
            enter(f, f == F::FirstName ? QStringLiteral("Paul") : QString());
        fx.dialogs.answer(true); // the nomenclature's entry replaced
        entry->record();
    }
    // The command line, in this process, on the same files and settings.
    int cli(QStringList args)
    {
        const QList<cli::Command> commands{labels::cliCommand(&QtPrinter::toPdf), activationmap::command(),
                                           exchangecli::ediCommand(), exchangecli::importCommand()};
        QString out;
        QTextStream outStream(&out), errStream(&err);
        args.prepend(fx.dir.path());
        args.prepend("--dir");
        return cli::execute(cli::parse(args, commands), fx.settings, fx.files, nullptr, outStream, errStream, commands);
    }
    void cliFails(const QStringList& args) { EXPECT_EQ(cli(args), cli::kWriteFailed) << args.join(' '); }
};

// The names of the files that differ, appeared or went, in both folders.
QStringList changedFiles(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after)
{
    QStringList names;
    for (const QString& name : before.keys() + after.keys()) {
        if (before.value(name, "<none>") != after.value(name, "<none>") && !names.contains(name))
            names << name;
    }
    names.sort();
    return names;
}

QMap<QString, QByteArray> snapshot(const test::TempProgramDir& dir)
{
    QMap<QString, QByteArray> all = dir.files();
    for (const QString& name : QDir(dir.file("ailleurs")).entryList(QDir::Files))
        all.insert("ailleurs/" + name, dir.read("ailleurs/" + name));
    return all;
}

enum class Failure { Disk, Store };

struct Row {
    const char* path;
    std::function<void(Bench&)> act;
    Failure failure = Failure::Disk;
    const char* only = nullptr;       // only the writes of this file fail: the disk fills on the way
    QStringList written = {};         // the files still written then; every other one stays as it was
    std::function<void(Bench&)> open; // before the failure: a window to open
};

TEST(WritePathsTest, AFailedWriteIsToldAndChangesNeitherFilesNorMemory)
{
    const QString pdf = "F0ZZZ_QSL.pdf";
    const Row rows[] = {
        {"record", [](Bench& b) { b.recordQso("F6ABC"); }},
        {"record in date order",
         [](Bench& b) {
             b.w->session().setAutomaticDate(false);
             b.recordQso("F6ABC", "21/06/15");
         }},
        {"record, first-name list full",
         [](Bench& b) { b.recordQso("F6ABC"); },
         Failure::Disk,
         "Liste_Prenom.txt",
         {"F0ZZZ.log", "F0ZZZ_Departement_SSB.txt", "F0ZZZ_Prefixe_SSB.txt", "Nomenclature.txt"}},
        {"record, department file full",
         [](Bench& b) { b.recordQso("F6ABC"); },
         Failure::Disk,
         "F0ZZZ_Departement_SSB.txt",
         // The QSO is kept; the rebuild marker stays so that the next start sets the mark.
         {"F0ZZZ.log", "F0ZZZ_Prefixe_SSB.txt", "F0ZZZ_Reconstruction.txt", "Liste_Prenom.txt", "Nomenclature.txt"}},
        {"edit",
         [](Bench& b) {
             b.entry->edit(0);
             b.entry->form().setText(F::Department, "77");
             b.entry->record();
         }},
        {"delete",
         [](Bench& b) {
             b.fx.dialogs.answer(true);
             b.entry->remove(0);
         }},
        {"delete, rebuild stopped by the full disk",
         [](Bench& b) {
             b.fx.dialogs.answer(true);
             b.entry->remove(0);
         },
         Failure::Disk,
         "F0ZZZ_Prefixe_SSB.txt",
         {"F0ZZZ.log", "F0ZZZ_Reconstruction.txt"}},
        {"rebuild", [](Bench& b) { b.trigger("Mnu_MAJ_Prefixe_Departement"); }},
        {"session switch",
         [](Bench& b) {
             b.fx.dialogs.answer(true);
             b.trigger("Mnu_Session_VHF");
         }},
        {"session switch, settings not kept",
         [](Bench& b) {
             b.fx.dialogs.answer(true);
             b.trigger("Mnu_Session_VHF");
         },
         Failure::Store},
        {"reset",
         [](Bench& b) {
             b.fx.dialogs.answer(true);
             b.trigger("Mnu_RAZ_All");
         }},
        {"new station", [](Bench& b) { b.newStation(); }},
        {"new station, settings not kept",
         [](Bench& b) { b.newStation(); },
         Failure::Store,
         nullptr,
         {"F1NEW.log", "F1NEW_Departement_CW.txt", "F1NEW_Departement_SSB.txt", "F1NEW_Prefixe_CW.txt",
          "F1NEW_Prefixe_SSB.txt"}},
        {"band chosen, settings not kept", [](Bench& b) { b.w->session().chooseBand(3); }, Failure::Store},
        {"backup at close", [](Bench& b) { b.w->close(); }},
        {"ADIF export", [](Bench& b) { b.trigger("Mnu_ADIF"); }},
        {"ADIF copy to a folder",
         [](Bench& b) {
             b.fx.dialogs.answer(true);
             b.fx.dialogs.answerFolder(b.fx.dir.file("ailleurs"));
             b.trigger("Mnu_ADIF");
         },
         Failure::Disk,
         "ailleurs/F0ZZZ.adi",
         {"F0ZZZ.adi"}},
        {"C_Trafic export", [](Bench& b) { b.trigger("Mnu_CTrafic"); }},
        {"EDI export", [](Bench& b) { b.trigger("Mnu_EDI"); }},
        {"summary sheet",
         [](Bench& b) { b.click("Recapitulation", "Enregistrer"); },
         Failure::Disk,
         nullptr,
         {},
         [](Bench& b) { b.trigger("Mnu_Feuille_Recap"); }},
        {"summary sheet, settings not kept",
         [](Bench& b) { b.click("Recapitulation", "Enregistrer"); },
         Failure::Store,
         nullptr,
         {"F0ZZZ_Recapitulatif_JNM_21_06_15.txt"},
         [](Bench& b) { b.trigger("Mnu_Feuille_Recap"); }},
        {"log listing",
         [](Bench& b) { b.click("Impression", "Enregistrer"); },
         Failure::Disk,
         nullptr,
         {},
         [](Bench& b) { b.trigger("Mnu_Imprime_Tout"); }},
        {"activation map",
         [](Bench& b) {
             b.click("Carte_Acti", "Enregistrer_SVG");
             b.click("Carte_Acti", "Enregistrer_PNG");
         },
         Failure::Disk,
         nullptr,
         {},
         [](Bench& b) {
             b.trigger("Mnu_Carte_Activation");
             b.click("Carte_Acti", "Afficher");
         }},
        {"labels in PDF",
         [pdf](Bench& b) {
             QsoSelection selection;
             selection.setLines(b.w->logbook().lines());
             selection.chooseAll();
             LabelWindow window(b.fx.services(), "F0ZZZ", selection, nullptr);
             window.findChild<QLineEdit*>("Ref_Moulin")->setText("DMF 77012");
             window.printToPdf(b.fx.dir.file(pdf));
         }},
        {"nomenclature",
         [](Bench& b) {
             b.trigger("Mnu_Nomenclature");
             b.find<QLineEdit>("Ind_Edit")->setText("F1NOM");
             b.find<QLineEdit>("Loc_Edit")->setText("JN18DU");
             b.find<QPushButton>("Ajouter")->click();
             b.fx.dialogs.answer(true);
             b.find<QWidget>("Fichier_Nomenclature")->close();
         }},
        {"mill history",
         [](Bench& b) {
             b.fx.dialogs.answerFile(b.fx.dir.file("ailleurs/autre.log"));
             b.trigger("Mnu_Apprendre_Moulins");
         }},
        {"ADIF import",
         [](Bench& b) {
             b.fx.dialogs.answerFile(b.fx.dir.file("ailleurs/autre.adi"));
             b.fx.dialogs.answer(true);
             b.trigger("Mnu_Import_ADIF");
         }},
        {"shipped files installed",
         [](Bench& b) {
             b.err = programdir::populate(b.fx.files, QStringLiteral(TOURNEVENT_SHIPPED_DATA_DIR),
                                          b.fx.dir.file("ailleurs"))
                         .join('\n');
         }},
        {"command line: adif, ctrafic, listing, summary",
         [](Bench& b) {
             for (const char* command : {"adif", "ctrafic", "listing", "summary"})
                 b.cliFails({command});
         }},
        {"command line: rebuild", [](Bench& b) { b.cliFails({"rebuild"}); }},
        {"command line: edi, map, labels",
         [](Bench& b) {
             b.cliFails({"edi", "--out", b.fx.dir.path()});
             b.cliFails({"map", "--band", "14 Mhz", "--mode", "SSB", "--svg", b.fx.dir.file("carte.svg")});
             b.cliFails({"labels", "--pdf", b.fx.dir.file("qsl.pdf")});
         }},
        {"command line: import",
         [](Bench& b) {
             b.cliFails({"import", b.fx.dir.file("ailleurs/autre.adi")});
         }},
    };
    for (const Row& row : rows) {
        for (const int number : {FileResult::kDiskFull, FileResult::kPermissionDenied}) {
            if (row.failure == Failure::Store && number != FileResult::kDiskFull)
                continue;
            SCOPED_TRACE(QString("%1, error %2").arg(row.path).arg(number).toStdString());
            Bench b;
            if (row.open)
                row.open(b);
            b.fx.dialogs.clear();
            const QMap<QString, QByteArray> before = snapshot(b.fx.dir);
            if (row.failure == Failure::Store) {
                b.fx.settings.failWrites(true);
            } else {
                b.fx.files.failWrites(1000, number);
                b.fx.files.onlyPathsEndingWith(row.only ? row.only : "");
            }
            row.act(b);
            b.fx.files.failWrites(0);
            b.fx.settings.failWrites(false);

            // (a) told, with the cause.
            const QString cause =
                row.failure == Failure::Store ? QString::fromUtf8("réglages") : FileResult{number}.reason();
            const QStringList said = b.fx.dialogs.texts() << b.err;
            EXPECT_TRUE(std::any_of(said.begin(), said.end(), [&](const QString& text) {
                return text.contains(cause) &&
                       (row.failure == Failure::Store || text.contains(QString::number(number)));
            })) << said.join("\n|");
            // (b) the files as they were, but those the row still writes.
            EXPECT_EQ(changedFiles(before, snapshot(b.fx.dir)), row.written);
            // (c) the program holds what the files hold.
            const LogFile::Loaded log = LogFile(b.fx.files, b.fx.dir.file("F0ZZZ.log")).load();
            EXPECT_EQ(b.w->logbook().lines(), log.lines);
            EXPECT_EQ(b.w->qsoModel().rowCount(), log.lines.size());
            Logbook fresh(b.fx.services());
            fresh.setStation("F0ZZZ");
            ASSERT_TRUE(fresh.load().ok());
            EXPECT_EQ(b.w->logbook().score(true), fresh.score(true));
            EXPECT_EQ(b.w->session().isHf(), b.fx.settings.value("JNM", "Setup F0ZZZ", "Session") == "HF");
            EXPECT_EQ(b.w->session().storedCallsign(), b.fx.settings.value("JNM", "Setup ", "Indicatif Station"));
            EXPECT_FALSE(b.w->ended());
        }
    }
}

} // namespace
} // namespace tv
