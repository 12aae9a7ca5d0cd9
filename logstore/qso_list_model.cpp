#include "logstore/qso_list_model.h"

#include "logstore/cp1252.h"
#include "logstore/qso_line.h"

#include <array>
#include <utility>

namespace tv {
namespace {

struct ListColumn {
    const char* heading; // UTF-8
    logcol::Column column;
};

// The list's headings, in the order of the log columns they show; the first column is the
// row number.
const std::array<ListColumn, 12> kColumns = {{
    {"Date", logcol::kDate},
    {"Indicatif", logcol::kCallsign},
    {"Début", logcol::kStart},
    {"Fin", logcol::kEnd},
    {"Dpt", logcol::kDepartment},
    {"Locator", logcol::kLocator},
    {"Bande", logcol::kBand},
    {"Mode", logcol::kMode},
    {"Rst E", logcol::kRstSent},
    {"Rst R", logcol::kRstReceived},
    {"N° Moulin", logcol::kMillReference},
    {"Prénom", logcol::kFirstName},
}};

} // namespace

QsoListModel::QsoListModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void QsoListModel::setLines(QList<QByteArray> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

void QsoListModel::appendLine(const QByteArray& line)
{
    const int row = int(m_lines.size());
    beginInsertRows(QModelIndex(), row, row);
    m_lines.append(line);
    endInsertRows();
}

QByteArray QsoListModel::entry(int row) const
{
    if (row < 0 || row >= m_lines.size())
        return {};
    return qsoline::listEntry(row + 1, m_lines[row]);
}

int QsoListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int QsoListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(kColumns.size()) + 1;
}

QVariant QsoListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    const QByteArray& line = m_lines[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return index.row() + 1;
        return cp1252::decode(qsoline::field(line, kColumns[index.column() - 1].column));
    case Qt::TextAlignmentRole:
        if (index.column() == 0)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case EntryRole:
        return cp1252::decode(entry(index.row()));
    case LineRole:
        return line;
    default:
        return {};
    }
}

QVariant QsoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("N°");
    if (section > 0 && section <= int(kColumns.size()))
        return QString::fromUtf8(kColumns[section - 1].heading);
    return {};
}

} // namespace tv
