#include "labels/qso_selection.h"

#include "logstore/cp1252.h"
#include "logstore/qso_line.h"

#include <QHash>

#include <algorithm>

namespace tv {

int QsoSelection::List::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant QsoSelection::List::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const int row = m_rows[size_t(index.row())];
    return cp1252::decode(qsoline::listEntry(row + 1, m_owner.m_lines[row]));
}

int QsoSelection::List::logRow(int listRow) const
{
    return listRow >= 0 && listRow < int(m_rows.size()) ? m_rows[size_t(listRow)] : -1;
}

QsoSelection::QsoSelection(QObject* parent)
    : QObject(parent), m_available(new List(*this, this)), m_chosen(new List(*this, this))
{
}

void QsoSelection::setLines(const QList<QByteArray>& lines)
{
    // A QSO stays chosen while its line is in the log; each chosen line keeps one QSO.
    QHash<QByteArray, int> wasChosen;
    for (int row : m_chosen->m_rows)
        ++wasChosen[m_lines[row]];
    const bool hadChosen = !m_chosen->m_rows.empty();
    m_available->beginResetModel();
    m_chosen->beginResetModel();
    m_lines = lines;
    m_available->m_rows.clear();
    m_chosen->m_rows.clear();
    for (int row = 0; row < int(m_lines.size()); ++row) {
        auto kept = wasChosen.find(m_lines[row]);
        if (kept != wasChosen.end() && kept.value() > 0) {
            --kept.value();
            m_chosen->m_rows.push_back(row);
        } else {
            m_available->m_rows.push_back(row);
        }
    }
    m_chosen->endResetModel();
    m_available->endResetModel();
    if (hadChosen || !m_chosen->m_rows.empty())
        Q_EMIT chosenChanged();
}

void QsoSelection::appendLine(const QByteArray& line)
{
    const int count = int(m_available->m_rows.size());
    m_available->beginInsertRows(QModelIndex(), count, count);
    m_lines.append(line);
    m_available->m_rows.push_back(int(m_lines.size()) - 1);
    m_available->endInsertRows();
}

void QsoSelection::move(List& from, int listRow, List& to)
{
    const int row = from.logRow(listRow);
    if (row < 0)
        return;
    from.beginRemoveRows(QModelIndex(), listRow, listRow);
    from.m_rows.erase(from.m_rows.begin() + listRow);
    from.endRemoveRows();
    const auto at = std::lower_bound(to.m_rows.begin(), to.m_rows.end(), row);
    const int toRow = int(at - to.m_rows.begin());
    to.beginInsertRows(QModelIndex(), toRow, toRow);
    to.m_rows.insert(at, row);
    to.endInsertRows();
    Q_EMIT chosenChanged();
}

void QsoSelection::choose(int availableRow)
{
    move(*m_available, availableRow, *m_chosen);
}

void QsoSelection::unchoose(int chosenRow)
{
    move(*m_chosen, chosenRow, *m_available);
}

void QsoSelection::chooseAll()
{
    if (m_available->m_rows.empty())
        return;
    m_available->beginResetModel();
    m_chosen->beginResetModel();
    std::vector<int> all;
    all.reserve(m_lines.size());
    std::merge(m_chosen->m_rows.begin(), m_chosen->m_rows.end(), m_available->m_rows.begin(), m_available->m_rows.end(),
               std::back_inserter(all));
    m_chosen->m_rows = std::move(all);
    m_available->m_rows.clear();
    m_chosen->endResetModel();
    m_available->endResetModel();
    Q_EMIT chosenChanged();
}

QList<QByteArray> QsoSelection::chosenLines() const
{
    QList<QByteArray> out;
    out.reserve(qsizetype(m_chosen->m_rows.size()));
    for (int row : m_chosen->m_rows)
        out << m_lines[row];
    return out;
}

} // namespace tv
