#include "app/department_grid_widget.h"

#include "platform/palette.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tv {
namespace {

QString cellText(int index)
{
    switch (index) {
    case 20:
        return QStringLiteral("X");
    case 96:
        return QStringLiteral("2a");
    case 97:
        return QStringLiteral("2b");
    case 98:
    case 99:
        return QString();
    default:
        return QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0'));
    }
}

} // namespace

DepartmentGridWidget::DepartmentGridWidget(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (int i = 0; i < kCells; ++i) {
        auto* box = new QLineEdit(cellText(i), this);
        box->setObjectName(QStringLiteral("Dpt_%1").arg(i));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 8);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAutoFillBackground(true);
        box->installEventFilter(this);
        grid->addWidget(box, i / 10, i % 10);
        m_cells.append(box);
    }
    outer->addLayout(grid);
    m_hint = new QLabel(QStringLiteral("Un double click sur un département affiche les QSO's"), this);
    m_hint->setObjectName(QStringLiteral("Label27"));
    outer->addWidget(m_hint);
}

void DepartmentGridWidget::setCellColour(int index, const QColor& colour)
{
    if (QLineEdit* box = cell(index))
        box->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour.name()));
}

void DepartmentGridWidget::clearColours()
{
    for (QLineEdit* box : m_cells)
        box->setStyleSheet(QString());
}

void DepartmentGridWidget::fillColour(const QColor& colour)
{
    for (int i = 0; i < kCells; ++i)
        setCellColour(i, colour);
}

void DepartmentGridWidget::colourByMark(int index, char mark)
{
    if (const auto colour = palette::markColour(mark - '0'))
        setCellColour(index, QColor(*colour));
}

bool DepartmentGridWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const qsizetype index = m_cells.indexOf(static_cast<QLineEdit*>(watched));
        if (index >= 0) {
            Q_EMIT cellDoubleClicked(int(index));
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace tv
