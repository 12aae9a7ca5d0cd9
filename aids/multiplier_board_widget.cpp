#include "aids/multiplier_board_widget.h"

#include "logstore/cp1252.h"
#include "platform/named_widget.h"
#include "platform/palette.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tv {

MultiplierBoardWidget::MultiplierBoardWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TableauMultiplicateurs"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(named<QLabel>(this, "TableauTitre", QStringLiteral("Multiplicateurs contactés")));
    m_table = named<QTableWidget>(this, "TableauGrille", 0, 5);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Bande"), QStringLiteral("Mode"), QStringLiteral("Dpts"),
                                        QStringLiteral("DXCC"), QStringLiteral("Moulins")});
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded); // a narrow dock hides no count
    // Six rows at least, the others by scrolling: the dock shares the screen's height.
    m_table->setMinimumHeight(7 * (m_table->fontMetrics().height() + 4) + 8);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    column->addWidget(m_table, 1);

    // The callsign, then one line for each of its multipliers: the dock is narrow.
    m_callsign = named<QLabel>(this, "TableauIndicatif");
    m_department = named<QLabel>(this, "TableauDepartement");
    m_entity = named<QLabel>(this, "TableauEntite");
    for (QLabel* label : {m_callsign, m_department, m_entity})
        column->addWidget(label);
}

void MultiplierBoardWidget::setRows(const QList<BoardRow>& rows, const QByteArray& band, const QByteArray& mode)
{
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const BoardRow& row = rows[r];
        const QStringList cells{cp1252::decode(row.band), cp1252::decode(row.mode),
                                QStringLiteral("%1/%2").arg(row.departments).arg(board::kDepartments),
                                QString::number(row.entities), QString::number(row.mills)};
        QFont font = m_table->font();
        font.setBold(row.band == band && row.mode == mode);
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setFont(font);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }
}

void MultiplierBoardWidget::paint(QLabel* label, const Lit& lit)
{
    if (lit.caption.isEmpty()) {
        label->clear();
        label->setStyleSheet(QString());
        return;
    }
    label->setText(lit.caption + QStringLiteral(" : ") + board::statusText(lit.isNew));
    label->setStyleSheet(lit.isNew
                             ? QStringLiteral("background-color: %1; font-weight: bold; padding: 1px 4px;")
                                   .arg(QColor(palette::kExpected).name())
                             : QStringLiteral("color: %1; padding: 1px 4px;").arg(QColor(palette::kWorked).name()));
}

void MultiplierBoardWidget::setLit(const QString& callsign, const Lit& department, const Lit& entity)
{
    m_callsign->setText(callsign);
    paint(m_department, department);
    paint(m_entity, entity);
}

} // namespace tv
