#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>
#include <QObject>

#include <vector>

namespace tv {

// The QSOs chosen for labels: the log's lines split into two lists, those not chosen and
// those chosen, each in log order whatever the order of the moves.
//
// Responsibilities: hold the lines (a shared copy of the Logbook's), move one QSO from a list
// to the other, move them all; follow a line appended and a reload (a QSO whose line is still
// in the log stays chosen); give the chosen lines in log order.
// Collaborations: two list models, one per list, whose entries are QSO list entries (the row
// number in 5 characters, a space, the line); the selection window shows them, the label
// window prints chosenLines().
class QsoSelection final : public QObject {
    Q_OBJECT
public:
    // The entries of one list, in log order.
    class List final : public QAbstractListModel {
    public:
        List(const QsoSelection& owner, QObject* parent) : QAbstractListModel(parent), m_owner(owner) {}
        int rowCount(const QModelIndex& parent = QModelIndex()) const override;
        QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
        // The log row (0-based) of a list row, or -1.
        int logRow(int listRow) const;

    private:
        friend class QsoSelection;
        const QsoSelection& m_owner;
        std::vector<int> m_rows; // log rows, ascending
    };

    explicit QsoSelection(QObject* parent = nullptr);

    // Every QSO of these lines, none chosen but those whose line was chosen before.
    void setLines(const QList<QByteArray>& lines);
    // A new last line, not chosen.
    void appendLine(const QByteArray& line);

    List& available() { return *m_available; }
    List& chosen() { return *m_chosen; }
    const List& available() const { return *m_available; }
    const List& chosen() const { return *m_chosen; }

    // Moves the entry at this row of one list to the other.
    void choose(int availableRow);
    void unchoose(int chosenRow);
    // Moves every entry not chosen into the chosen list.
    void chooseAll();

    QList<QByteArray> chosenLines() const;

Q_SIGNALS:
    // The chosen list changed.
    void chosenChanged();

private:
    void move(List& from, int listRow, List& to);

    QList<QByteArray> m_lines;
    List* m_available;
    List* m_chosen;
};

} // namespace tv
