#include "stats/department_qsos.h"

#include "logstore/fixed_text.h"
#include "logstore/log_columns.h"
#include "logstore/qso_line.h"

#include <algorithm>

namespace tv::departmentqsos {
namespace {

constexpr int kShown = 116;

bool isCorsica(const QByteArray& code)
{
    return code.compare("2a", Qt::CaseInsensitive) == 0 || code.compare("2b", Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray codeOfCell(int cell)
{
    if (cell == 96)
        return QByteArrayLiteral("2a");
    if (cell == 97)
        return QByteArrayLiteral("2b");
    return QByteArray::number(cell).rightJustified(2, '0');
}

QString columnTitles()
{
    return QStringLiteral(
        "      N°    Date       Indicatif      Debut     Fin   Dpt                  Bande     Mode      "
        "RstE         RstR          Ref Chateau");
}

QList<QByteArray> lines(const QList<QByteArray>& logLines, const QByteArray& code)
{
    const Qt::CaseSensitivity cs = isCorsica(code) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QList<QByteArray> out;
    for (int row = 0; row < logLines.size(); ++row) {
        const QByteArray& line = logLines[row];
        const qsizetype at = logcol::kDepartment.index();
        const QByteArrayView department =
            at < line.size() ? QByteArrayView(line).sliced(at, std::min<qsizetype>(2, line.size() - at))
                             : QByteArrayView();
        if (department.compare(code, cs) == 0)
            out.append(qsoline::listEntry(row + 1, line).left(kShown));
    }
    return out;
}

QString countText(int count, const QByteArray& code)
{
    return QString::number(count) + QStringLiteral("  QSO's effectués avec le département ") +
           QString::fromLatin1(code);
}

} // namespace tv::departmentqsos
