// The operator aids: a dock on the right of the main window, so that the entry stays where it
// is, and the mill history's menu item.

#include "aids/aids_panel.h"
#include "app/main_window.h"
#include "entry/entry_panel.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QTimer>

namespace tv {

void MainWindow::wireAidsMenus()
{
    auto* dock = new QDockWidget(QStringLiteral("Aides à la saisie"), this);
    dock->setObjectName(QStringLiteral("DockAides"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* aids = new AidsPanel(m_services, m_session, m_logbook, *m_entryCore, *m_entry, dock);
    dock->setWidget(aids);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    connect(m_timer, &QTimer::timeout, aids, &AidsPanel::tick);

    auto* file = findChild<QMenu*>(QStringLiteral("Mnu_Fichier"));
    auto* learn = new QAction(QStringLiteral("Apprendre les moulins d'un log…"), file);
    learn->setObjectName(QStringLiteral("Mnu_Apprendre_Moulins"));
    file->insertAction(findChild<QAction*>(QStringLiteral("Mnu_Quitter")), learn);
    connect(learn, &QAction::triggered, aids, &AidsPanel::learnLogFile);
}

} // namespace tv
