// The main window's Cluster button.

#include "app/main_window.h"
#include "cluster/cluster_window.h"
#include "platform/qt_serial_port.h"

#include <QPushButton>

namespace tv {

void MainWindow::wireClusterButton()
{
    m_serialPorts = std::make_unique<QtSerialPorts>();
    m_cluster->setEnabled(true);
    connect(m_cluster, &QPushButton::clicked, this,
            [this] { ClusterWindow::showOrRaise(m_services, m_session, m_logbook, *m_serialPorts, this); });
}

} // namespace tv
