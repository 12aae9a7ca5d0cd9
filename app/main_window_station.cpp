// The main window's station menus: the station dialog, the session switch, the reset, the
// rebuild of the multiplier files, the backup at close, and the missing-file window.

#include "app/department_grid_widget.h"
#include "app/loading_window.h"
#include "app/main_window.h"
#include "app/missing_file_window.h"
#include "app/station_dialog.h"
#include "entry/entry_panel.h"
#include "logstore/nomenclature_window.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/settings_keys.h"
#include "station/startup.h"
#include "station/station_file_set.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

namespace tv {

void MainWindow::wireStationMenus()
{
    auto item = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    auto enable = [](QAction* action, auto&& slot) {
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, action, slot);
    };
    enable(item("Mnu_Indicatif"), [this] { openStationDialog(false); });
    enable(m_sessionHf, [this] { switchSession(true); });
    enable(m_sessionVhf, [this] { switchSession(false); });
    enable(item("Mnu_RAZ_All"), [this] { resetFiles(); });
    enable(item("Mnu_MAJ_Prefixe_Departement"), [this] { rebuildMultipliers(); });
    enable(item("Mnu_Nomenclature"), [this] { NomenclatureWindow::showOrRaise(m_services, this); });
}

void MainWindow::openStationDialog(bool modal)
{
    auto* dialog = new StationDialog(m_services, m_session, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (modal) {
        dialog->exec();
        return;
    }
    connect(dialog, &StationDialog::stationValidated, this, &MainWindow::applyStation);
    dialog->show();
}

void MainWindow::applyStation()
{
    startup::readIdentity(m_services.settings, m_session);
    m_session.readSettings();
    m_logbook.setStation(m_session.storedCallsign());
    if (!m_logbook.load().ok())
        return;
    m_entryCore->reset();
    m_entry->showForm(false);
    showGrid(m_session.band(), m_session.mode(), QStringLiteral(" Dpts contacté(s) sur  "));
    m_entry->band->setFocus();
}

void MainWindow::switchSession(bool toHf)
{
    // Keep the check marks as they were until the switch is done.
    showSession();
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, m_session.storedCallsign());
    const StationFileOutcome outcome =
        files.switchSession(toHf ? StationFileSet::Session::Hf : StationFileSet::Session::Vhf, m_services.dialogs);
    if (!outcome.done())
        return;
    m_session.readSettings(); // the new session and its band position, as the switch stored them
    if (toHf)
        m_session.chooseBand(1);
    if (!m_logbook.load().ok())
        return;
    m_entryCore->reset();
    m_entry->showForm(false);
    showGrid(m_session.band(), m_session.mode(), QStringLiteral(" Dpts contacté(s) sur  "));
}

void MainWindow::resetFiles()
{
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, m_session.storedCallsign());
    if (!files.reset(m_services.dialogs).done())
        return;
    if (!m_logbook.load().ok())
        return;
    showGrid(m_session.band(), QByteArrayLiteral("SSB"), QStringLiteral(" Dpts contacté(s) sur  "));
    EntryForm& form = m_entryCore->form();
    m_entry->readForm();
    form.expect(EntryField::Band);
    form[EntryField::Mode].colour = FieldColour::Passed;
    m_entry->showForm(true);
}

bool MainWindow::rebuildMultipliers()
{
    LoadingWindow loading(this);
    loading.show();
    m_rebuilding = true;
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const MultiplierRebuild::Result result =
        m_logbook.rebuildMultipliers([&loading](int, int) { loading.keepAlive(); });
    m_rebuilding = false;
    loading.close();
    if (!result.result.ok()) {
        m_services.dialogs.message(
            Logbook::errorText(result.result) +
            QStringLiteral(" : la mise à jour des fichiers Prefixes et Départements a échoué sur ") +
            StationPaths::fileName(result.failedFile) + QStringLiteral(". Les fichiers non réécrits sont inchangés."));
        return false;
    }
    return !m_ended;
}

void MainWindow::backupAtClose()
{
    if (m_session.storedCallsign() == keys::kNoCallsign || !StationPaths::isSafeCallsign(m_session.storedCallsign()))
        return;
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, m_session.storedCallsign());
    files.backupAtClose(m_services.dialogs, m_services.programDir);
}

void MainWindow::stationFileFailed(const QString& path, const FileResult& result)
{
    if (m_ended)
        return;
    if (result.notFound()) {
        const QString tail = path.contains(QLatin1String("_Departement_")) ? MissingFileWindow::departmentTail()
                             : path.contains(QLatin1String("_Prefixe_"))   ? MissingFileWindow::prefixTail()
                                                                           : MissingFileWindow::logTail();
        MissingFileWindow window(m_services, m_session.storedCallsign(), tail, this);
        window.exec();
    } else {
        m_services.dialogs.message(QStringLiteral("Erreur N° ") + QString::number(result.errorNumber));
    }
    endProgram();
}

void MainWindow::endProgram()
{
    m_ended = true;
    m_timer->stop();
    hide();
    Q_EMIT programEnded(1);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_rebuilding) {
        // The multiplier files are being rewritten: the window closes once they are whole.
        event->ignore();
        return;
    }
    // The other windows close first, so that each asks its own question (the nomenclature
    // editor asks whether to save); one that stays open keeps the program running.
    if (!m_ended) {
        for (QWidget* child : findChildren<QWidget*>()) {
            if (child->isWindow() && child->isVisible() && !child->close()) {
                event->ignore();
                return;
            }
        }
    }
    m_timer->stop();
    if (!m_ended && !m_closing) {
        m_closing = true;
        storeWindowGeometry();
        backupAtClose();
    }
    event->accept();
}

} // namespace tv
