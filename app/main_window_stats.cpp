// The main window's statistics menus, the QSO search and the QSOs of a department.

#include "app/department_grid_widget.h"
#include "app/main_window.h"
#include "entry/entry_panel.h"
#include "stats/activation_stats_window.h"
#include "stats/department_qsos_window.h"
#include "stats/distance_stats_window.h"
#include "stats/prefix_stats_window.h"
#include "stats/qso_search_window.h"

#include <QAction>
#include <QPushButton>

namespace tv {

void MainWindow::wireStatsMenus()
{
    auto item = [this](const char* name) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        action->setEnabled(true);
        return action;
    };
    connect(item("Mnu_Stat_Dist"), &QAction::triggered, this,
            [this] { DistanceStatsWindow::showOrRaise(m_logbook, this); });
    connect(item("Mnu_Stat_Prefixe"), &QAction::triggered, this,
            [this] { PrefixStatsWindow::showOrRaise(m_services, m_session, m_logbook, this); });
    connect(item("Mnu_Stat_DFCF"), &QAction::triggered, this,
            [this] { ActivationStatsWindow::showOrRaise(m_session, m_logbook, this); });
    m_entry->search->setEnabled(true);
    connect(m_entry->search, &QPushButton::clicked, this, [this] {
        QsoSearchWindow* search = QsoSearchWindow::showOrRaise(m_services, m_logbook, this);
        connect(search, &QsoSearchWindow::qsoChosen, this, &MainWindow::selectRow, Qt::UniqueConnection);
    });
    connect(m_grid, &DepartmentGridWidget::cellDoubleClicked, this,
            [this](int cell) { DepartmentQsosWindow::showOrRaise(m_logbook, cell, this); });
}

} // namespace tv
