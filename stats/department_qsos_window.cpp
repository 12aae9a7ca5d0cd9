#include "stats/department_qsos_window.h"

#include "logstore/cp1252.h"
#include "platform/named_widget.h"
#include "station/logbook.h"
#include "stats/band_mode_widget.h"
#include "stats/department_qsos.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tv {
namespace {

QPointer<DepartmentQsosWindow> g_open;

} // namespace

DepartmentQsosWindow* DepartmentQsosWindow::showOrRaise(const Logbook& logbook, int cell, QWidget* parent)
{
    if (!g_open)
        g_open = new DepartmentQsosWindow(logbook, parent);
    g_open->showCell(cell);
    g_open->show();
    g_open->raise();
    g_open->activateWindow();
    return g_open;
}

DepartmentQsosWindow::DepartmentQsosWindow(const Logbook& logbook, QWidget* parent)
    : QWidget(parent, Qt::Window), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Affiche_Dpt"));
    setWindowTitle(QStringLiteral("QSO's effectués par département "));
    setAttribute(Qt::WA_DeleteOnClose);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QLabel* titles = named<QLabel>(this, "Label1", departmentqsos::columnTitles());
    titles->setFont(fixed);
    titles->setIndent(4);
    m_list = named<QListWidget>(this, "QSO_DU_Dpt");
    m_list->setFont(fixed);
    m_list->setUniformItemSizes(true);
    m_count = named<QLabel>(this, "Label2");
    auto* quit = named<QPushButton>(this, "Quitter", QStringLiteral("Quitter"));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(quit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(titles);
    column->addWidget(m_list, 1);
    column->addLayout(bottom);
    const QFontMetrics metrics(fixed);
    resize(metrics.horizontalAdvance(QString(130, QLatin1Char('0'))) + 60, 22 * metrics.height());
    centreOnScreen(this);

    connect(&m_logbook, &Logbook::appended, this, &DepartmentQsosWindow::refresh);
    connect(&m_logbook, &Logbook::reloaded, this, &DepartmentQsosWindow::refresh);
}

void DepartmentQsosWindow::showCell(int cell)
{
    m_code = departmentqsos::codeOfCell(cell);
    refresh();
}

void DepartmentQsosWindow::refresh()
{
    m_list->clear();
    const QList<QByteArray> lines = departmentqsos::lines(m_logbook.lines(), m_code);
    for (const QByteArray& line : lines)
        m_list->addItem(cp1252::decode(line));
    m_count->setText(departmentqsos::countText(int(lines.size()), m_code));
}

} // namespace tv
