#include "logstore/nomenclature_window.h"

#include "entry/entry_panel.h"
#include "logstore/callsign_rule.h"
#include "logstore/callsign_validator.h"
#include "logstore/cp1252.h"
#include "platform/dialogs.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QValidator>

namespace tv {
namespace {

constexpr int kLineRole = Qt::UserRole + 1;

bool sameWidths(const QFont& font)
{
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W')) &&
           metrics.horizontalAdvance(QLatin1Char(' ')) == metrics.horizontalAdvance(QLatin1Char('W'));
}

// The platform's fixed-pitch font, or, where that one does not give every character the same
// width, Courier New or the font configuration's monospace family.
QFont fixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!sameWidths(font)) {
        font.setFamilies(
            {QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

QLineEdit* makeField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(QString::fromLatin1(name), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The one editor, while it is open.
QPointer<NomenclatureWindow> g_open;

} // namespace

NomenclatureWindow* NomenclatureWindow::showOrRaise(Services services, QWidget* parent)
{
    if (!g_open) {
        g_open = new NomenclatureWindow(services, parent);
        g_open->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_open->show();
    g_open->raise();
    g_open->activateWindow();
    return g_open;
}

NomenclatureWindow::NomenclatureWindow(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_lists(services.files, services.programDir)
{
    setObjectName(QStringLiteral("Fichier_Nomenclature"));
    setWindowTitle(QStringLiteral("Edition du fichier Nomenclature.txt"));

    auto* title = new QLabel(QStringLiteral("Edition du fichier Nomenclature"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Liste_Nomenclature"));
    m_list->setFont(fixedPitchFont());
    m_list->setToolTip(QStringLiteral("Clickez sur une ligne pour editer l'indicatif le departement ou le locator"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumWidth(m_list->fontMetrics().horizontalAdvance(QString(24, QLatin1Char('M'))));

    m_callsign = makeField(this, "Ind_Edit");
    m_department = makeField(this, "Dep_Edit");
    m_locator = makeField(this, "Loc_Edit");
    m_department->setMaxLength(3);
    m_callsign->setValidator(new CallsignValidator(callsign::Kind::Contacted, m_callsign));
    m_locator->setValidator(new AsciiUpperValidator(m_locator));

    m_add = makeButton(this, "Ajouter");
    m_edit = makeButton(this, "Editer");
    m_remove = makeButton(this, "Supprimer");

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Indicatif"), this), 0, 0);
    fields->addWidget(m_callsign, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Dpt"), this), 1, 0);
    fields->addWidget(m_department, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Locator"), this), 2, 0);
    fields->addWidget(m_locator, 2, 1);

    auto* side = new QVBoxLayout;
    side->addLayout(fields);
    side->addSpacing(12);
    side->addWidget(m_add);
    side->addWidget(m_edit);
    side->addWidget(m_remove);
    side->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(title);
    left->addWidget(m_list, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(side);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &NomenclatureWindow::lineChosen);
    connect(m_add, &QPushButton::clicked, this, &NomenclatureWindow::add);
    connect(m_edit, &QPushButton::clicked, this, &NomenclatureWindow::edit);
    connect(m_remove, &QPushButton::clicked, this, &NomenclatureWindow::remove);

    resize(460, 420);
    centre();
    load();
}

QString NomenclatureWindow::saveQuestion()
{
    return QStringLiteral("Sauvegarder fichier Nomenclature.txt avant de quitter?");
}

void NomenclatureWindow::centre()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void NomenclatureWindow::load()
{
    m_list->clear();
    const NameLists::Lines loaded = m_lists.loadStations();
    if (loaded.result.notFound())
        return; // no list yet: saving creates it
    if (!loaded.result.ok()) {
        m_readable = false;
        m_add->setEnabled(false);
        m_edit->setEnabled(false);
        m_remove->setEnabled(false);
        m_services.dialogs.message(QStringLiteral("Erreur N° %1\r\nLe fichier Nomenclature.txt ne peut pas etre lu")
                                       .arg(loaded.result.errorNumber));
        return;
    }
    m_atOpening = loaded.lines;
    for (const QByteArray& line : loaded.lines)
        appendLine(line);
    clearSelection();
}

void NomenclatureWindow::appendLine(const QByteArray& line)
{
    auto* item = new QListWidgetItem(cp1252::decode(line), m_list);
    item->setData(kLineRole, line);
}

QList<QByteArray> NomenclatureWindow::lines() const
{
    QList<QByteArray> out;
    out.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        out.append(m_list->item(i)->data(kLineRole).toByteArray());
    return out;
}

QString NomenclatureWindow::field(QLineEdit* edit) const
{
    return edit->text().trimmed();
}

int NomenclatureWindow::selectedRow() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.size() == 1 ? m_list->row(selected.first()) : -1;
}

void NomenclatureWindow::clearSelection()
{
    QSignalBlocker block(m_list);
    m_list->clearSelection();
    m_list->setCurrentRow(-1);
}

void NomenclatureWindow::lineChosen()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QByteArray line = m_list->item(row)->data(kLineRole).toByteArray();
    m_callsign->setText(cp1252::decode(line.left(10).trimmed()));
    m_department->setText(cp1252::decode(line.mid(11, 2).trimmed()));
    m_locator->setText(cp1252::decode(line.mid(14, 6).trimmed()));
}

void NomenclatureWindow::add()
{
    Dialogs& dialogs = m_services.dialogs;
    const QString callsign = field(m_callsign);
    const QString locator = field(m_locator);
    if (callsign.isEmpty() || callsign.size() > callsign::kNomenclatureLength) {
        dialogs.message(QStringLiteral("Attention pas d'indicatif ou indicatif superieur a 10 caracteres"));
        return;
    }
    if (locator.isEmpty() || locator.size() > 6) {
        dialogs.message(QStringLiteral("Attention pas de locator ou locator superieur a 6 caracteres"));
        return;
    }
    const QByteArray key = cp1252::encode(callsign);
    for (const QByteArray& line : lines()) {
        if (NameLists::stationCallsign(line) == key) {
            dialogs.message(QStringLiteral("Attention l'indicatif ") + callsign +
                            QStringLiteral(" est deja present dans le fichier"));
            return;
        }
    }
    appendLine(NameLists::stationLine(key, cp1252::encode(field(m_department)), cp1252::encode(locator)));
    clearSelection();
    m_callsign->clear();
    m_department->clear();
    m_locator->clear();
}

void NomenclatureWindow::edit()
{
    Dialogs& dialogs = m_services.dialogs;
    const QString callsign = field(m_callsign);
    const QString department = field(m_department);
    const QString locator = field(m_locator);
    const int row = selectedRow();
    if (callsign.isEmpty() || row < 0) {
        dialogs.message(QStringLiteral("Selectionnez une ligne d'abord"));
        return;
    }
    if (callsign.size() > callsign::kNomenclatureLength) {
        dialogs.message(QStringLiteral("Attention Indicatif superieur a 10 caracteres"));
        return;
    }
    if (locator.size() > 6) {
        dialogs.message(QStringLiteral("Attention locator superieur a 6 caracteres"));
        return;
    }
    if (department.size() > 2) {
        dialogs.message(QStringLiteral("Attention departement superieur a 2 caracteres"));
        return;
    }
    {
        QSignalBlocker block(m_list);
        delete m_list->takeItem(row);
    }
    appendLine(NameLists::stationLine(cp1252::encode(callsign), cp1252::encode(department), cp1252::encode(locator)));
    clearSelection();
    m_callsign->clear();
    m_department->clear();
    m_locator->clear();
}

void NomenclatureWindow::remove()
{
    const int row = selectedRow();
    if (field(m_callsign).isEmpty() || row < 0) {
        m_services.dialogs.message(QStringLiteral("Selectionnez une ligne d'abord"));
        return;
    }
    {
        QSignalBlocker block(m_list);
        delete m_list->takeItem(row);
    }
    clearSelection();
    m_callsign->clear();
    m_locator->clear();
}

void NomenclatureWindow::closeEvent(QCloseEvent* event)
{
    if (!m_readable) {
        event->accept();
        return;
    }
    if (m_services.dialogs.askYesNo(saveQuestion())) {
        // Recordings may have remembered stations while the editor was open: keep them.
        const NameLists::Lines now = m_lists.loadStations();
        const QList<QByteArray> toSave = now.result.ok() && now.lines != m_atOpening
                                             ? NameLists::mergeStations(m_atOpening, lines(), now.lines)
                                             : lines();
        const FileResult saved = m_lists.saveStations(toSave);
        if (!saved.ok()) {
            m_services.dialogs.message(
                QStringLiteral("Erreur N° %1 (%2)\r\nLe fichier Nomenclature.txt n'a pas ete sauvegarde")
                    .arg(saved.errorNumber)
                    .arg(saved.reason()));
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace tv
