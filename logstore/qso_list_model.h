#pragma once

#include "logstore/log_columns.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>

namespace tv {

// The QSO list: the loaded log lines, one row per line, numbered from 1.
//
// Each row shows the fields of its line in the columns of the log's column table; the role
// EntryRole gives the list entry (row number in 5 characters, a space, the line) that the
// edit and the delete work from. Rows are decoded only when shown, so a full log of 32767
// lines loads at once.
class QsoListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Roles { EntryRole = Qt::UserRole + 1, LineRole };

    explicit QsoListModel(QObject* parent = nullptr);

    void setLines(QList<QByteArray> lines);
    void appendLine(const QByteArray& line);
    const QList<QByteArray>& lines() const { return m_lines; }
    QByteArray line(int row) const { return m_lines.value(row); }
    QByteArray entry(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QByteArray> m_lines;
};

} // namespace tv
