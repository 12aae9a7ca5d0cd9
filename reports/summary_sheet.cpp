#include "reports/summary_sheet.h"

#include "logstore/bands.h"
#include "logstore/cp1252.h"
#include "logstore/fixed_text.h"
#include "logstore/log_file.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "reports/report_files.h"
#include "reports/report_messages.h"
#include "reports/report_text.h"

namespace tv::summary {
namespace {

using reporttext::fieldBytes;
using reporttext::spaces;

constexpr int kCellWidth = 8;

// Each row label with its padding takes 16 characters.
const char* const kRowLabels[kRows] = {
    "3.5 Mhz SSB     ", "7.0 Mhz SSB     ", "14 Mhz SSB      ", "21 Mhz SSB      ",
    "28 Mhz SSB      ", "3.5 Mhz CW      ", "7.0 Mhz CW      ", "14 Mhz CW       ",
    "21 Mhz CW       ", "28 Mhz CW       ", "144 Mhz         ",
};

QString number(double value)
{
    return scoreText(value);
}

std::array<QString, kColumns> columnsOf(const BandModeTally& t)
{
    return {QString::number(t.qsos), number(t.points), QString::number(t.mills), QString::number(t.departments),
            QString::number(t.entities)};
}

double valueOf(const QString& text)
{
    return fixedtext::numericValue(cp1252::encode(text));
}

QByteArray cells(const std::array<QString, kColumns>& texts)
{
    QByteArray out;
    for (const QString& text : texts)
        out += cell(text);
    return out;
}

QByteArray totalLine(const Sheet& sheet)
{
    return spaces(5) + "  Total   " + spaces(6) + cells(sheet.hfSession ? sheet.cells.hfTotal : sheet.cells.vhfTotal);
}

QByteArray text(const char* utf8)
{
    return cp1252::encode(QString::fromUtf8(utf8));
}

// The lines shared by the file and the printout.
struct Pieces {
    QByteArray name;
    QByteArray address;
    QByteArray address2;
    QByteArray session;
    QList<QByteArray> mill;
    QByteArray heading;
    QByteArray columns;
    QList<QByteArray> grid;
    QByteArray total;
    QByteArray points;
    QByteArray signOff;
};

Pieces pieces(const Sheet& sheet)
{
    const Operator& op = sheet.op;
    Pieces p;
    p.name = spaces(5) + "NOM : " + fieldBytes(op.nom) + spaces(5) + text("Prénom : ") + fieldBytes(op.prenom) +
             spaces(5) + "Indicatif : " + fieldBytes(op.indicatif);
    p.address = spaces(5) + "Adresse : " + fieldBytes(op.adresse1);
    p.address2 = spaces(15) + fieldBytes(op.adresse2) + "  " + fieldBytes(op.pays);
    p.session = spaces(5) + "Session : bande " + (op.hfOption ? "HF" : "VHF");
    if (hasMillFields(op.category)) {
        p.mill << spaces(5) + text("Référence et nom du Moulin : ") + fieldBytes(op.reference)
               << spaces(5) + text("Opérateurs : ") + fieldBytes(op.operateurs)
               << spaces(5) + "Commune et C.P. : " + fieldBytes(op.commune);
    }
    p.heading = spaces(25) + "RECAPITULATIF";
    p.columns = spaces(5) + " Bande         QSO    Points  M Moul  M Dpt   M Pref";
    for (int row = 0; row < kRows; ++row)
        p.grid << gridLine(row, sheet);
    p.total = totalLine(sheet);
    p.points = spaces(20) + "TOTAL DES POINTS : " + fieldBytes(sheet.cells.totalPoints);
    p.signOff = spaces(40) + reporttext::signOff();
    return p;
}

} // namespace

Cells cellsFromTally(const ScoreTally& tally, bool hfSession)
{
    Cells out;
    for (int band = 0; band < ScoreTally::kHfBands; ++band) {
        out.rows[band] = columnsOf(tally.cell(band, ScoreTally::kSsb));
        out.rows[band + ScoreTally::kHfBands] = columnsOf(tally.cell(band, ScoreTally::kCw));
    }
    out.rows[kRows - 1] = columnsOf(tally.cell(ScoreTally::kVhfBand, ScoreTally::kSsb));

    // The HF totals add up the cells as written.
    std::array<double, kColumns> sums{};
    for (int row = 0; row < kRows - 1; ++row) {
        for (int column = 0; column < kColumns; ++column)
            sums[column] += valueOf(out.rows[row][column]);
    }
    for (int column = 0; column < kColumns; ++column)
        out.hfTotal[column] = number(sums[column]);

    const BandModeTally& ssb = tally.cell(ScoreTally::kVhfBand, ScoreTally::kSsb);
    const BandModeTally& cw = tally.cell(ScoreTally::kVhfBand, ScoreTally::kCw);
    out.vhfTotal = {QString::number(ssb.qsos + cw.qsos), number(ssb.points + cw.points),
                    QString::number(ssb.mills + cw.mills), QString::number(ssb.departments + cw.departments),
                    QString::number(ssb.entities + cw.entities)};
    out.totalPoints = totalPoints(out, hfSession);
    return out;
}

QString totalPoints(const Cells& cells, bool hfSession)
{
    const auto& total = hfSession ? cells.hfTotal : cells.vhfTotal;
    const double multipliers = valueOf(total[Mills]) + valueOf(total[Departments]) + valueOf(total[Entities]);
    return number(valueOf(total[Points]) * multipliers);
}

QString categoryCaption(int category)
{
    switch (category) {
    case 1:
        return QStringLiteral("Opérateur de Moulins en /P");
    case 2:
        return QStringLiteral("Opérateur de Moulins (Résident)");
    case 3:
        return QStringLiteral("Opérateur individuel");
    default:
        return {};
    }
}

bool hasMillFields(int category)
{
    return category == 1 || category == 2;
}

Operator loadOperator(const SettingsStore& settings, const QString& storedCallsign)
{
    const QString section = keys::stationSection(storedCallsign);
    auto read = [&](const QString& key, const QString& fallback = QString()) {
        return settings.value(keys::kJnm, section, key, fallback);
    };
    Operator op;
    op.nom = read(keys::kNom);
    op.prenom = read(keys::kPrenom);
    op.indicatif = read(keys::kIndicatif);
    op.adresse1 = read(keys::kAdresse1);
    op.adresse2 = read(keys::kAdresse2);
    op.pays = read(keys::kPays);
    op.reference = read(keys::kReference);
    op.commune = read(keys::kCommune);
    op.operateurs = read(keys::kOperateurs);
    const QString category = read(keys::kCategorie, QStringLiteral("3"));
    if (category == QLatin1String("1"))
        op.category = 1;
    else if (category == QLatin1String("2"))
        op.category = 2;
    else if (category == QLatin1String("3"))
        op.category = 3;
    else
        op.category = 0;
    if (op.category == 3) {
        op.reference.clear();
        op.commune.clear();
        op.operateurs.clear();
    }
    op.hfOption = read(keys::kSession, QStringLiteral("HF")) == QLatin1String("HF");
    return op;
}

bool storeOperator(SettingsStore& settings, const QString& storedCallsign, const Operator& op)
{
    const QString section = keys::stationSection(storedCallsign);
    bool kept = true;
    auto write = [&](const QString& key, const QString& value) {
        kept = settings.setValue(keys::kJnm, section, key, value) && kept;
    };
    write(keys::kNom, op.nom);
    write(keys::kPrenom, op.prenom);
    write(keys::kIndicatif, op.indicatif);
    write(keys::kAdresse1, op.adresse1);
    write(keys::kAdresse2, op.adresse2);
    write(keys::kPays, op.pays);
    write(keys::kCategorie, op.category >= 1 && op.category <= 3 ? QString::number(op.category) : QString());
    write(keys::kReference, op.reference);
    write(keys::kOperateurs, op.operateurs);
    write(keys::kCommune, op.commune);
    return kept;
}

QByteArray cell(const QString& cellText)
{
    const QByteArray bytes = fieldBytes(cellText);
    if (bytes.size() < kCellWidth)
        return bytes.leftJustified(kCellWidth, ' ');
    return bytes + ' ';
}

QByteArray gridLine(int row, const Sheet& sheet)
{
    return spaces(5) + kRowLabels[row] + cells(sheet.cells.rows[row]);
}

QList<QByteArray> fileLines(const Sheet& sheet)
{
    const Pieces p = pieces(sheet);
    QList<QByteArray> out;
    out << spaces(10) + text("Journée Européenne des Moulins ") + fieldBytes(sheet.eventDate) << "" << p.name
        << p.address << p.address2 << "" << spaces(5) + "Categorie : " + fieldBytes(categoryCaption(sheet.op.category))
        << p.session;
    out << p.mill;
    out << "" << p.heading << "" << p.columns << "";
    out << p.grid;
    out << "" << p.total << "" << p.points << "" << p.signOff;
    return out;
}

QList<QByteArray> printLines(const Sheet& sheet)
{
    const Pieces p = pieces(sheet);
    QList<QByteArray> out;
    out << " " << spaces(10) + text("Journée Nationale des Moulins ") + fieldBytes(sheet.eventDate) << " " << p.name
        << "" << p.address << p.address2 << ""
        << spaces(5) + text("Catégorie : ") + fieldBytes(categoryCaption(sheet.op.category)) << p.session << "";
    out << p.mill;
    out << "" << p.heading << "" << p.columns << "";
    out << p.grid;
    out << "" << p.total << ""
        << "" << p.points << " " << p.signOff;
    return out;
}

LoadedScore loadDayScore(const FileSystem& files, const StationPaths& paths, bool hfSession,
                         const CountryFile* countries)
{
    LoadedScore day = loadScore(files, paths);
    const QString archive = reportfiles::otherSessionLog(paths, hfSession);
    if (!day.result.ok() || !files.exists(archive))
        return day;

    const QString names[3] = {archive, paths.prefixTemplate(), paths.departmentTemplate()};
    QByteArray bytes[3];
    for (int i = 0; i < 3; ++i) {
        const FileRead read = files.read(names[i]);
        if (!read.result.ok()) {
            day.result = read.result;
            day.failedFile = names[i];
            day.tally = {};
            return day;
        }
        bytes[i] = read.bytes;
    }
    const QList<QByteArray> lines = LogFile::splitLines(bytes[0]);
    const MultiplierRebuild::Files marks = MultiplierRebuild::compute(lines, bytes[1], bytes[2], countries).files;
    const ScoreTally other =
        tallyScore(lines, marks.departmentSsb, marks.departmentCw, marks.prefixSsb, marks.prefixCw);
    for (int band = 0; band < ScoreTally::kBands; ++band) {
        if (bands::isHf(scoring::scoredBands()[band]) != hfSession)
            day.tally.cells[band] = other.cells[band];
    }
    return day;
}

SaveOutcome save(FileSystem& files, const StationPaths& paths, const Sheet& sheet)
{
    SaveOutcome outcome;
    outcome.fileName = reportfiles::summarySheet(paths.callsign(), sheet.eventDate);
    if (outcome.fileName.isEmpty()) {
        outcome.result = FileResult::failure(FileResult::kAccessError, QStringLiteral("event date"));
        outcome.message = reportmessages::badEventDate(sheet.eventDate);
        return outcome;
    }
    outcome.result = files.replace(paths.file(outcome.fileName), LogFile::joinLines(fileLines(sheet)));
    if (!outcome.result.ok()) {
        outcome.message = reportmessages::notWritten(outcome.fileName, outcome.result);
        return outcome;
    }
    outcome.message = QStringLiteral("La feuille récapitulative JNM de ") + paths.callsign() +
                      QStringLiteral(" a été sauvegardée sous le nom : ") + outcome.fileName;
    return outcome;
}

} // namespace tv::summary
