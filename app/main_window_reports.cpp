// The main window's report and export menus.

#include "app/main_window.h"
#include "entry/entry_panel.h"
#include "platform/qt_printer.h"
#include "reports/adif_export.h"
#include "reports/ctrafic_export.h"
#include "reports/help_window.h"
#include "reports/log_listing_window.h"
#include "reports/rules_window.h"
#include "reports/summary_window.h"

#include <QAction>

namespace tv {

void MainWindow::wireReportMenus()
{
    auto item = [this](const char* name) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        action->setEnabled(true);
        return action;
    };
    connect(item("Mnu_ADIF"), &QAction::triggered, this, [this] { adif::run(m_services, m_session.storedCallsign()); });
    connect(item("Mnu_CTrafic"), &QAction::triggered, this,
            [this] { ctrafic::run(m_services, m_session.storedCallsign()); });
    connect(item("Mnu_Feuille_Recap"), &QAction::triggered, this, [this] {
        // A new sheet counts from multiplier files brought in line with the log first.
        SummaryWindow::showOrRaise(m_services, m_session.storedCallsign(), m_session.eventDate(), m_session.isHf(),
                                   this, [this] { return rebuildMultipliers(); });
    });
    connect(item("Mnu_Imprime_Tout"), &QAction::triggered, this, [this] {
        LogListingWindow::showOrRaise(m_services, m_session.storedCallsign(), m_session.eventDate(), this);
    });
    connect(item("Mnu_Reglement"), &QAction::triggered, this, [this] { RulesWindow::showOrRaise(m_rules, this); });
    connect(item("Mnu_Mode_Emploi"), &QAction::triggered, this,
            [this] { HelpWindow::showOrRaise(m_help, m_services, this); });
}

} // namespace tv
