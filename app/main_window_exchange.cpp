// The main window's exchange menus: the EDI export of the VHF QSOs and the ADIF import.

#include "app/main_window.h"
#include "reports/adif_import.h"
#include "reports/edi_export.h"

#include <QAction>
#include <QMenu>

namespace tv {

void MainWindow::wireExchangeMenus()
{
    QMenu* file = findChild<QMenu*>(QStringLiteral("Mnu_Fichier"));
    QAction* before = findChild<QAction*>(QStringLiteral("Mnu_Quitter"));
    auto item = [&](const char* name, const QString& caption) {
        auto* action = new QAction(caption, file);
        action->setObjectName(QString::fromLatin1(name));
        file->insertAction(before, action);
        return action;
    };
    connect(item("Mnu_EDI", QStringLiteral("Exporter le log VHF au format EDI")), &QAction::triggered, this,
            [this] { edi::run(m_services, m_logbook, m_session.isHf()); });
    connect(item("Mnu_Import_ADIF", QStringLiteral("Importer un fichier ADIF…")), &QAction::triggered, this,
            [this] { adifimport::run(m_services, m_logbook, m_session.locator()); });
}

} // namespace tv
