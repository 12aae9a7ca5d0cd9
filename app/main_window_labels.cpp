// The main window's label menu.

#include "app/main_window.h"
#include "labels/qso_selection_window.h"

#include <QAction>

namespace tv {

void MainWindow::wireLabelMenus()
{
    QAction* labels = findChild<QAction*>(QStringLiteral("Mnu_Imp_QSL"));
    labels->setEnabled(true);
    connect(labels, &QAction::triggered, this,
            [this] { QsoSelectionWindow::showOrRaise(m_services, m_logbook, this); });
}

} // namespace tv
