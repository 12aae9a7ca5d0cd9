// The main window's station menus: the station dialog, the session switch, the reset, the
// rebuild of the multiplier files, the backup at close, and the missing-file window.

#include "app/department_grid_widget.h"
#include "app/loading_window.h"
#include "app/main_window.h"
#include "app/missing_file_window.h"
#include "app/station_dialog.h"
#include "entry/entry_panel.h"
#include "logstore/cp1252.h"
#include "logstore/multiplier_rebuild.h"
#include "logstore/nomenclature_window.h"
#include "logstore/prefix_file.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/settings_keys.h"
#include "station/station_file_set.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTableView>

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
    m_session.setSessionText(jnm(stationSection(), keys::kSession, QStringLiteral("HF")));
    applySessionBands();
    applyStationSettings();
    showStation();
    setCaption();
    if (!loadQsoList(false))
        return;
    refreshDepartments(m_session.band(), cp1252::encode(m_entry->mode->currentText()),
                       QStringLiteral(" Dpts contacté(s) sur  "));
    if (m_ended)
        return;
    refreshScore();
    selectLastRow();
    m_entry->band->setFocus();
}

void MainWindow::switchSession(bool toHf)
{
    // Keep the check marks as they were until the switch is done.
    m_sessionHf->setChecked(m_session.session() == StationSession::Session::Hf);
    m_sessionVhf->setChecked(m_session.session() == StationSession::Session::Vhf);
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, m_session.storedCallsign());
    const StationFileOutcome outcome =
        files.switchSession(toHf ? StationFileSet::Session::Hf : StationFileSet::Session::Vhf, m_services.dialogs);
    if (!outcome.done())
        return;
    const QByteArray bandInUse = m_session.band();
    m_session.setSessionText(toHf ? QStringLiteral("HF") : QStringLiteral("VHF"));
    refreshDepartments(bandInUse, cp1252::encode(m_entry->mode->currentText()),
                       QStringLiteral(" Dpts contacté(s) sur  "));
    if (m_ended || !loadQsoList(false))
        return;
    applySessionBands();
    if (toHf)
        m_entry->band->setCurrentIndex(1);
    setCaption();
    m_score->setText(QStringLiteral("0"));
}

void MainWindow::resetFiles()
{
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, m_session.storedCallsign());
    if (!files.reset(m_services.dialogs).done())
        return;
    refreshDepartments(m_session.band(), QByteArrayLiteral("SSB"), QStringLiteral(" Dpts contacté(s) sur  "));
    if (m_ended || !loadQsoList(false))
        return;
    EntryForm& form = m_entryCore->form();
    readForm();
    form.expect(EntryField::Band);
    form[EntryField::Mode].colour = FieldColour::Passed;
    showForm(true);
    m_score->setText(QStringLiteral("0"));
}

bool MainWindow::rebuildMultipliers()
{
    LoadingWindow loading(this);
    loading.show();
    m_rebuilding = true;
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    MultiplierRebuild rebuild(m_services.files, paths);
    const MultiplierRebuild::Result result = rebuild.runFromLog();
    m_rebuilding = false;
    loading.close();
    if (!result.result.ok()) {
        m_services.dialogs.message(
            QStringLiteral("Erreur N° ") + QString::number(result.result.errorNumber) +
            QStringLiteral(" : la mise à jour des fichiers Prefixes et Départements a échoué sur ") +
            result.failedFile.section(QLatin1Char('/'), -1) +
            QStringLiteral(". Les fichiers non réécrits sont inchangés."));
        return false;
    }
    refreshDepartments(m_session.band(), cp1252::encode(m_entry->mode->currentText()),
                       QStringLiteral(" Dpts contacté(s) sur  "));
    if (!m_ended)
        refreshScore();
    return !m_ended;
}

void MainWindow::backupAtClose()
{
    if (m_session.storedCallsign() == keys::kNoCallsign || !StationPaths::isSafeCallsign(m_session.storedCallsign()))
        return;
    StationFileSet files(m_services.files, m_services.settings, m_services.programDir, m_session.storedCallsign());
    files.backupAtClose(m_services.dialogs, m_services.programDir);
}

void MainWindow::warnPrefixFileSizes()
{
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    for (const QString& warning : PrefixFile::sizeWarnings(m_services.files, paths))
        m_services.dialogs.message(warning);
}

void MainWindow::stationFileFailed(const FileResult& result, const QString& missingTail)
{
    if (m_ended)
        return;
    if (result.notFound()) {
        MissingFileWindow window(m_services, m_session.storedCallsign(), missingTail, this);
        window.exec();
    } else {
        m_services.dialogs.message(QStringLiteral("Erreur N° ") + QString::number(result.errorNumber));
    }
    endProgram();
}

} // namespace tv
