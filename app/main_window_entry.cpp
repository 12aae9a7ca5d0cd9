// The main window's side of the QSO entry: it copies what the operator typed into the entry
// form, hands each key and click to the core, and shows the form and its effects.

#include "app/department_grid_widget.h"
#include "app/main_window.h"
#include "app/missing_file_window.h"
#include "entry/entry_panel.h"
#include "logstore/cp1252.h"
#include "logstore/department_file.h"
#include "logstore/log_file.h"
#include "logstore/score.h"
#include "logstore/station_paths.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace tv {
namespace {

const QColor kPassed(0xFF, 0xFF, 0xC0);
const QColor kExpected(0xC0, 0xFF, 0xC0);

void paintField(QWidget* field, FieldColour colour)
{
    switch (colour) {
    case FieldColour::Expected:
        field->setStyleSheet(QStringLiteral("background-color: %1;").arg(kExpected.name()));
        break;
    case FieldColour::Passed:
        field->setStyleSheet(QStringLiteral("background-color: %1;").arg(kPassed.name()));
        break;
    case FieldColour::Plain:
        break;
    }
}

} // namespace

QWidget* MainWindow::fieldWidget(EntryField field) const
{
    switch (field) {
    case EntryField::Band:
        return m_entry->band;
    case EntryField::Mode:
        return m_entry->mode;
    case EntryField::Callsign:
        return m_entry->callsign;
    case EntryField::Department:
        return m_entry->department;
    case EntryField::Locator:
        return m_entry->locator;
    case EntryField::Activity:
        return m_entry->activity;
    case EntryField::Date:
        return m_entry->date;
    case EntryField::Start:
        return m_entry->start;
    case EntryField::End:
        return m_entry->end;
    case EntryField::RstReceived:
        return m_entry->rstReceived;
    case EntryField::RstSent:
        return m_entry->rstSent;
    case EntryField::FirstName:
        return m_entry->firstName;
    case EntryField::MillNumber:
        return m_entry->millNumber;
    case EntryField::MillName:
        return m_entry->millName;
    case EntryField::Distance:
        return m_entry->distance;
    case EntryField::Azimuth:
        return m_entry->azimuth;
    case EntryField::Record:
        return m_record;
    }
    return nullptr;
}

std::optional<EntryField> MainWindow::fieldOf(QObject* object) const
{
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = EntryField(i);
        QWidget* widget = fieldWidget(field);
        if (object == widget)
            return field;
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && object == combo->lineEdit())
            return field;
    }
    return std::nullopt;
}

void MainWindow::wireEntry()
{
    m_entryCore = std::make_unique<QsoEntry>(m_services, m_session,
                                             [this]() -> const QList<QByteArray>& { return m_model.lines(); });
    for (int i = 0; i < kEntryFieldCount; ++i) {
        QWidget* widget = fieldWidget(EntryField(i));
        widget->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    connect(m_record, &QPushButton::clicked, this, [this] { runEntry([this] { return m_entryCore->record(); }); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { runEntry([this] { return m_entryCore->cancel(); }); });
    connect(m_edit, &QPushButton::clicked, this, [this] {
        const int row = m_list->selectionModel()->hasSelection() ? m_list->currentIndex().row() : -1;
        runEntry([this, row] { return m_entryCore->edit(row); });
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        const int row = m_list->selectionModel()->hasSelection() ? m_list->currentIndex().row() : -1;
        runEntry([this, row] { return m_entryCore->remove(row); });
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const std::optional<EntryField> field = m_entryCore ? fieldOf(watched) : std::nullopt;
    if (!field)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runEntry([this, f = *field] { return m_entryCore->enter(f); });
            return true;
        }
        if (key == Qt::Key_Escape) {
            runEntry([this, f = *field] { return m_entryCore->escape(f); });
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (*field == EntryField::Band) {
            readForm();
            m_entryCore->clickBand();
            showForm(false);
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (*field == EntryField::Callsign || *field == EntryField::Department || *field == EntryField::Locator) {
            readForm();
            m_entryCore->doubleClick(*field);
            showForm(false);
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::runEntry(const std::function<EntryEffects()>& action)
{
    readForm();
    const EntryEffects effects = action();
    applyEffects(effects);
    showForm(true);
}

void MainWindow::readForm()
{
    EntryForm& form = m_entryCore->form();
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = EntryField(i);
        QWidget* widget = fieldWidget(field);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            form.setText(field, edit->text());
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            form.setText(field, combo->currentText());
    }
    form.bandIndex = m_entry->band->findText(form.text(EntryField::Band), Qt::MatchExactly);
    form.modeIndex = m_entry->mode->findText(form.text(EntryField::Mode), Qt::MatchExactly);
    form.activityIndex = m_entry->activity->currentIndex();
}

void MainWindow::showForm(bool moveFocus)
{
    const EntryForm& form = m_entryCore->form();
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = EntryField(i);
        QWidget* widget = fieldWidget(field);
        const FieldState& state = form[field];
        if (field == EntryField::Record)
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (edit->text() != state.text)
                edit->setText(state.text);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const int index = combo->findText(state.text, Qt::MatchExactly);
            if (index >= 0)
                combo->setCurrentIndex(index);
            else if (combo->isEditable())
                combo->setEditText(state.text);
        }
        widget->setEnabled(state.enabled);
        paintField(widget, state.colour);
    }
    m_entry->callsignLabel->setText(form.callsignLabel);
    m_entry->dmfLabel->setVisible(form.dmfVisible);
    m_record->setText(form.recordCaption);
    m_record->setEnabled(form.recordEnabled);
    m_cancel->setEnabled(form.cancelEnabled);
    m_edit->setEnabled(form.editEnabled);
    m_delete->setEnabled(form.deleteEnabled);
    m_debug->setText(form.debugStep);
    if (moveFocus) {
        if (QWidget* target = fieldWidget(form.focus); target && target->isEnabled())
            target->setFocus();
    }
}

void MainWindow::applyEffects(const EntryEffects& effects)
{
    if (effects.reloadList) {
        if (!loadQsoList(effects.qsoNumberAccented))
            return;
    } else if (effects.appendedLine) {
        m_model.appendLine(*effects.appendedLine);
        m_session.setQsoCount(m_model.rowCount());
        m_entry->setQsoNumber(m_session.qsoCount() + 1, effects.qsoNumberAccented);
    }
    if (effects.qsoNumber)
        m_entry->setQsoNumber(*effects.qsoNumber, effects.qsoNumberAccented);
    if (effects.selectLastRow)
        selectLastRow();
    if (effects.rebuildMultipliers && !rebuildMultipliers())
        return;
    if (effects.refreshGrid)
        refreshDepartments(effects.gridBand, effects.gridMode, effects.gridCaptionMiddle);
    if (effects.newDepartmentCell >= 0)
        m_grid->setCellColour(effects.newDepartmentCell, QColor(0xFF, 0xC0, 0xC0));
    if (effects.refreshScore)
        refreshScore();
}

int MainWindow::refreshDepartments(const QByteArray& band, const QByteArray& mode, const QString& middle)
{
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    const DepartmentFile departments(m_services.files, paths);
    m_grid->clearColours();
    int count = 0;
    if (const std::optional<bands::Mode> m = bands::modeOf(mode)) {
        const DepartmentFile::Grid grid = departments.grid(band, *m);
        if (!grid.result.ok()) {
            stationFileFailed(grid.result, MissingFileWindow::departmentTail());
            return 0;
        }
        for (int cell = 0; cell < DepartmentGridWidget::kCells; ++cell)
            m_grid->colourByMark(cell, grid.cells[cell]);
        count = grid.count;
    }
    m_grid->setTitle(QLatin1Char(' ') + QString::number(count) + middle + cp1252::decode(band) +
                     QStringLiteral(" en ") + cp1252::decode(mode));
    return count;
}

void MainWindow::refreshScore()
{
    const StationPaths paths(m_services.programDir, m_session.storedCallsign());
    QByteArray contents[4];
    const QString names[4] = {paths.departments(bands::Mode::Ssb), paths.departments(bands::Mode::Cw),
                              paths.prefixes(bands::Mode::Ssb), paths.prefixes(bands::Mode::Cw)};
    for (int i = 0; i < 4; ++i) {
        const FileRead read = m_services.files.read(names[i]);
        if (!read.result.ok()) {
            stationFileFailed(read.result, MissingFileWindow::logTail());
            return;
        }
        contents[i] = read.bytes;
    }
    const ScoreTally tally = tallyScore(m_model.lines(), contents[0], contents[1], contents[2], contents[3]);
    m_score->setText(scoreText(score(tally, m_sessionHf->isChecked())));
}

} // namespace tv
