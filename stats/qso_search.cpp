#include "stats/qso_search.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/qso_line.h"

namespace tv::qsosearch {
namespace {

// The first characters of a list entry that a result line keeps (the number and log columns
// 1-128).
constexpr int kKept = logcol::kListOffset + logcol::kPoints.first;

logcol::Column fieldOf(Criterion criterion)
{
    switch (criterion) {
    case Criterion::Callsign:
        return {logcol::kCallsign.first, 10};
    case Criterion::Date:
        return logcol::kDate;
    case Criterion::Department:
        return {logcol::kDepartment.first, 2};
    case Criterion::Locator:
        break;
    }
    return {logcol::kLocator.first, 4};
}

char letterOf(char count)
{
    switch (count) {
    case '1':
        return 'S';
    case '2':
        return 'E';
    case '3':
        return 'R';
    case '4':
        return 'C';
    default:
        return 0;
    }
}

bool matches(Criterion criterion, QByteArrayView field, QByteArrayView text)
{
    if (criterion == Criterion::Callsign)
        return field.contains(text);
    if (criterion == Criterion::Department) // Corsica is written "2a" or "2A"
        return field.compare(text, Qt::CaseInsensitive) == 0;
    return field == text;
}

} // namespace

Check check(Criterion criterion, const QString& text)
{
    const qsizetype n = text.size();
    switch (criterion) {
    case Criterion::Callsign:
        if (n >= 13)
            return {QStringLiteral("Attention 12 caracteres maxi pour l'indicatif")};
        if (n == 0)
            return {emptyText(criterion), true};
        break;
    case Criterion::Date:
        if (text.mid(2, 1) != QLatin1String("/") && text.mid(5, 1) != QLatin1String("/"))
            return {QStringLiteral("Attention le format date doit etre JJ/MM/AA")};
        if (n >= 9)
            return {QStringLiteral("Attention 8 caracteres maxi pour la date (format jj/mm/aa)")};
        break;
    case Criterion::Department:
        if (n >= 3)
            return {QStringLiteral("Attention 2 caracteres maxi pour le departement")};
        if (n == 0)
            return {emptyText(criterion), true};
        break;
    case Criterion::Locator:
        if (n != 4)
            return {emptyText(criterion), true};
        break;
    }
    return {};
}

QString emptyText(Criterion criterion)
{
    switch (criterion) {
    case Criterion::Callsign:
        return QStringLiteral("Entrez un indicatif");
    case Criterion::Date:
        return QStringLiteral("Entrez une date");
    case Criterion::Department:
        return QStringLiteral("Entrez un departement");
    case Criterion::Locator:
        break;
    }
    return QStringLiteral("Attention seulement les 4 premiers caracteres du locator");
}

QString noMatchText()
{
    return QStringLiteral("Pas de QSO trouvé");
}

Result search(const QList<QByteArray>& logLines, Criterion criterion, const QByteArray& text)
{
    QByteArray wanted = text.toUpper();
    if (wanted.startsWith("\r\n"))
        wanted.remove(0, 2);
    Result out;
    if (wanted.isEmpty()) {
        out.message = emptyText(criterion);
        return out;
    }
    const logcol::Column column = fieldOf(criterion);
    char letter = 0;
    for (int row = 0; row < logLines.size(); ++row) {
        const QByteArray& line = logLines[row];
        if (const char l = letterOf(fixedtext::at(line, logcol::kCount.first)))
            letter = l;
        if (!matches(criterion, fixedtext::fieldView(line, column.first, column.width), wanted))
            continue;
        QByteArray entry = qsoline::listEntry(row + 1, line).left(kKept);
        if (letter)
            entry.append(letter);
        out.matches.append({row, entry});
    }
    if (out.matches.isEmpty())
        out.message = noMatchText();
    return out;
}

int rowOf(const QList<QByteArray>& logLines, const QByteArray& resultEntry, int hint)
{
    const QByteArray kept = resultEntry.left(kKept);
    const auto begins = [&](int row) { return qsoline::listEntry(row + 1, logLines[row]).startsWith(kept); };
    if (hint >= 0 && hint < logLines.size() && begins(hint))
        return hint;
    for (int row = 0; row < logLines.size(); ++row) {
        if (begins(row))
            return row;
    }
    return -1;
}

} // namespace tv::qsosearch
