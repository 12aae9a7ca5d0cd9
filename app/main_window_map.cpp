// The main window's map menu.

#include "app/main_window.h"
#include "stats/activation_map_window.h"

#include <QAction>

namespace tv {

void MainWindow::wireMapMenus()
{
    QAction* map = findChild<QAction*>(QStringLiteral("Mnu_Carte_Activation"));
    map->setEnabled(true);
    connect(map, &QAction::triggered, this,
            [this] { ActivationMapWindow::showOrRaise(m_services, m_session, m_logbook, this); });
}

} // namespace tv
