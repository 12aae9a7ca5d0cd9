#include "reports/summary_window.h"

#include "logstore/score.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "reports/report_messages.h"
#include "reports/report_text.h"
#include "station/station_session.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tv {
namespace {

const char* const kColumnNames[summary::kColumns] = {"QSO", "Point", "MC", "MD", "MP"};
const char* const kTotalNames[summary::kColumns] = {"QSO", "Points", "MC", "MD", "MP"};

QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* edit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QLineEdit* cellEdit(QWidget* parent, const QString& name)
{
    QLineEdit* e = edit(parent, name);
    e->setAlignment(Qt::AlignRight);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);
    return e;
}

QRadioButton* radio(QWidget* parent, QButtonGroup* group, const QString& name, const QString& caption, int id)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(name);
    group->addButton(r, id);
    return r;
}

// The one summary window, while it is open.
QPointer<SummaryWindow> g_open;

} // namespace

SummaryWindow* SummaryWindow::showOrRaise(Services services, const QString& storedCallsign, const QString& eventDate,
                                          bool hfSession, QWidget* parent, const std::function<bool()>& beforeBuilding)
{
    SummaryWindow* window = g_open;
    if (window && (window->m_callsign != storedCallsign || window->m_eventDate != eventDate ||
                   window->m_hfSession != hfSession)) {
        // Another station, date or session: the sheet open counts other files.
        window->close();
        window = nullptr;
    }
    if (!window) {
        if (beforeBuilding && !beforeBuilding())
            return nullptr;
        window = new SummaryWindow(services, storedCallsign, eventDate, hfSession, parent);
        g_open = window;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

SummaryWindow::SummaryWindow(Services services, QString storedCallsign, QString eventDate, bool hfSession,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_callsign(std::move(storedCallsign)),
      m_eventDate(std::move(eventDate)), m_hfSession(hfSession)
{
    setObjectName(QStringLiteral("Recapitulation"));
    setWindowTitle(QStringLiteral("Feuille récapitulative"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    load();

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void SummaryWindow::build()
{
    auto* column = new QVBoxLayout(this);

    // Event date.
    auto* dateRow = new QHBoxLayout;
    QLabel* title = label(this, QStringLiteral("Label13"), QStringLiteral("Journée Nationale des Moulins du "));
    m_date = label(this, QStringLiteral("JNM_Date"), QString());
    QFont strong = title->font();
    strong.setBold(true);
    strong.setPointSize(strong.pointSize() + 2);
    title->setFont(strong);
    m_date->setFont(strong);
    dateRow->addStretch();
    dateRow->addWidget(title);
    dateRow->addWidget(m_date);
    dateRow->addStretch();
    column->addLayout(dateRow);

    // The operator.
    auto* top = new QHBoxLayout;
    auto* person = new QGroupBox(StationSession::displayForm(m_callsign), this);
    person->setObjectName(QStringLiteral("Frame1"));
    auto* personGrid = new QGridLayout(person);
    m_nom = edit(person, QStringLiteral("Nom"));
    m_prenom = edit(person, QStringLiteral("Prenom"));
    m_indicatif = edit(person, QStringLiteral("Indicatif"));
    m_adresse1 = edit(person, QStringLiteral("Adresse1"));
    m_adresse2 = edit(person, QStringLiteral("Adresse2"));
    m_pays = edit(person, QStringLiteral("Pays"));
    const std::pair<const char*, QLineEdit*> personFields[] = {
        {"NOM", m_nom},
        {"Prénom", m_prenom},
        {"INDICATIF", m_indicatif},
        {"Adresse 1", m_adresse1},
        {"Adresse 2", m_adresse2},
        {"PAYS", m_pays},
    };
    int row = 0;
    for (const auto& [caption, field] : personFields) {
        personGrid->addWidget(label(person, QStringLiteral("Label_") + field->objectName(), QString::fromUtf8(caption)),
                              row, 0);
        personGrid->addWidget(field, row, 1);
        ++row;
    }
    top->addWidget(person, 1);

    auto* choices = new QVBoxLayout;
    auto* categoryBox = new QGroupBox(QStringLiteral("Catégorie"), this);
    categoryBox->setObjectName(QStringLiteral("Frame3"));
    m_category = new QButtonGroup(this);
    m_category->setObjectName(QStringLiteral("Option1"));
    auto* categoryColumn = new QVBoxLayout(categoryBox);
    for (int id = 1; id <= 3; ++id)
        categoryColumn->addWidget(
            radio(categoryBox, m_category, QStringLiteral("Option1_%1").arg(id), summary::categoryCaption(id), id));
    connect(m_category, &QButtonGroup::idClicked, this, &SummaryWindow::applyCategory);
    choices->addWidget(categoryBox);

    auto* sessionBox = new QGroupBox(QStringLiteral("Session"), this);
    sessionBox->setObjectName(QStringLiteral("Frame4"));
    m_session = new QButtonGroup(this);
    m_session->setObjectName(QStringLiteral("Option2"));
    auto* sessionRow = new QHBoxLayout(sessionBox);
    sessionRow->addWidget(radio(sessionBox, m_session, QStringLiteral("Option2_1"), QStringLiteral("HF"), 1));
    sessionRow->addWidget(radio(sessionBox, m_session, QStringLiteral("Option2_2"), QStringLiteral("VHF"), 2));
    choices->addWidget(sessionBox);
    choices->addStretch();
    top->addLayout(choices);
    column->addLayout(top);

    auto* mill = new QGroupBox(QStringLiteral("Opérateur de moulins"), this);
    mill->setObjectName(QStringLiteral("Frame2"));
    auto* millGrid = new QGridLayout(mill);
    m_reference = edit(mill, QStringLiteral("Reference"));
    m_operateurs = edit(mill, QStringLiteral("Operateurs"));
    m_commune = edit(mill, QStringLiteral("Commune"));
    const std::pair<const char*, QLineEdit*> millFields[] = {
        {"Réf et le nom du Moulin", m_reference},
        {"Liste des opérateurs", m_operateurs},
        {"Nom et CP de la commune", m_commune},
    };
    row = 0;
    for (const auto& [caption, field] : millFields) {
        millGrid->addWidget(label(mill, QStringLiteral("Label_") + field->objectName(), QString::fromUtf8(caption)),
                            row, 0);
        millGrid->addWidget(field, row, 1);
        ++row;
    }
    column->addWidget(mill);

    // The grid: column captions, rows 1-10, the HF total, row 11, the VHF total, the score.
    auto* gridBox = new QGroupBox(this);
    gridBox->setObjectName(QStringLiteral("Frame5"));
    auto* grid = new QGridLayout(gridBox);
    const std::pair<const char*, const char*> captions[] = {
        {"Text9", "Bande"},          {"Text14", "Nb QSO"},
        {"Text13", "Nb Points/QSO"}, {"Text12", "Multi moulin x10"},
        {"Text11", "Multi Dpts x1"}, {"Text10", "Multi DXCC x1"},
    };
    for (int c = 0; c < 6; ++c) {
        QLabel* caption = label(gridBox, QString::fromLatin1(captions[c].first), QString::fromUtf8(captions[c].second));
        caption->setAlignment(Qt::AlignCenter);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        grid->addWidget(caption, 0, c);
    }
    const std::pair<QString, const char*> rowCaptions[summary::kRows] = {
        {QStringLiteral("Bande_0"), "3.5 Mhz SSB"}, {QStringLiteral("Bande_1"), "7.0 Mhz SSB"},
        {QStringLiteral("Bande_2"), "14 MHz SSB"},  {QStringLiteral("Bande_3"), "21 MHz SSB"},
        {QStringLiteral("Bande_4"), "28 MHz SSB"},  {QStringLiteral("Text19"), "3.5 MHz CW"},
        {QStringLiteral("Text18"), "7.0 MHz CW"},   {QStringLiteral("Text17"), "14 MHz CW"},
        {QStringLiteral("Text16"), "21 MHz CW"},    {QStringLiteral("Text15"), "28 MHz CW"},
        {QStringLiteral("Text27"), "VHF"},
    };
    auto addCells = [&](int gridRow, auto& edits, auto nameOf) {
        for (int c = 0; c < summary::kColumns; ++c) {
            edits[c] = cellEdit(gridBox, nameOf(c));
            grid->addWidget(edits[c], gridRow, c + 1, Qt::AlignHCenter);
        }
    };
    for (int r = 0; r < summary::kRows; ++r) {
        const int gridRow = r < 10 ? r + 1 : 12;
        grid->addWidget(label(gridBox, rowCaptions[r].first, QString::fromUtf8(rowCaptions[r].second)), gridRow, 0);
        addCells(gridRow, m_rows[r],
                 [r](int c) { return QString::fromLatin1(kColumnNames[c]) + QString::number(r + 1); });
    }
    QLabel* hfTotal = label(gridBox, QStringLiteral("Text25"), QStringLiteral("Total"));
    QFont bold = hfTotal->font();
    bold.setBold(true);
    hfTotal->setFont(bold);
    grid->addWidget(hfTotal, 11, 0);
    addCells(11, m_hfTotal, [](int c) { return QStringLiteral("Tot_") + QString::fromLatin1(kTotalNames[c]); });
    QLabel* vhfTotal = label(gridBox, QStringLiteral("Text26"), QStringLiteral("Total"));
    vhfTotal->setFont(bold);
    grid->addWidget(vhfTotal, 13, 0);
    addCells(13, m_vhfTotal, [](int c) { return QStringLiteral("VHF_") + QString::fromLatin1(kTotalNames[c]); });
    grid->setRowMinimumHeight(11, 30);
    column->addWidget(gridBox);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label(this, QStringLiteral("Label8"), QStringLiteral("POINTS")));
    bottom->addStretch();
    bottom->addWidget(label(this, QStringLiteral("Label7"), QStringLiteral("TOTAL :  ")));
    m_totalPoints = edit(this, QStringLiteral("Total_Points"));
    m_totalPoints->setAlignment(Qt::AlignRight);
    m_totalPoints->setFont(strong);
    bottom->addWidget(m_totalPoints);
    column->addLayout(bottom);

    m_save = named<QPushButton>(this, "Enregistrer", QStringLiteral("Enregistrer"));
    m_print = named<QPushButton>(this, "Imprimer", QStringLiteral("Imprimer"));
    auto* quit = named<QPushButton>(this, "Quitter", QStringLiteral("Quitter"));
    connect(m_save, &QPushButton::clicked, this, &SummaryWindow::save);
    connect(m_print, &QPushButton::clicked, this, &SummaryWindow::print);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_print);
    buttons->addWidget(quit);
    column->addLayout(buttons);
}

void SummaryWindow::load()
{
    const summary::Operator op = summary::loadOperator(m_services.settings, m_callsign);
    m_nom->setText(op.nom);
    m_prenom->setText(op.prenom);
    m_indicatif->setText(op.indicatif);
    m_adresse1->setText(op.adresse1);
    m_adresse2->setText(op.adresse2);
    m_pays->setText(op.pays);
    m_reference->setText(op.reference);
    m_operateurs->setText(op.operateurs);
    m_commune->setText(op.commune);
    if (QAbstractButton* chosen = m_category->button(op.category)) {
        chosen->setChecked(true);
        applyCategory(op.category);
    }
    m_session->button(op.hfOption ? 1 : 2)->setChecked(true);
    m_date->setText(m_eventDate);

    const LoadedScore loaded = summary::loadDayScore(m_services.files, StationPaths(m_services.programDir, m_callsign),
                                                     m_hfSession, m_services.countries);
    showCells(summary::cellsFromTally(loaded.tally, m_hfSession));
    if (!loaded.result.ok()) {
        m_save->setEnabled(false);
        m_print->setEnabled(false);
        m_services.dialogs.message(
            reportmessages::notReadable(QFileInfo(loaded.failedFile).fileName(), loaded.result) +
            QStringLiteral(" La feuille récapitulative ne peut pas être comptée : elle ne sera ni enregistrée ni "
                           "imprimée."));
    }
}

void SummaryWindow::showCells(const summary::Cells& cells)
{
    for (int r = 0; r < summary::kRows; ++r) {
        for (int c = 0; c < summary::kColumns; ++c)
            m_rows[r][c]->setText(cells.rows[r][c]);
    }
    for (int c = 0; c < summary::kColumns; ++c) {
        m_hfTotal[c]->setText(cells.hfTotal[c]);
        m_vhfTotal[c]->setText(cells.vhfTotal[c]);
    }
    m_totalPoints->setText(cells.totalPoints);
}

void SummaryWindow::applyCategory(int category)
{
    if (summary::hasMillFields(category)) {
        for (QLineEdit* field : {m_reference, m_commune, m_operateurs})
            field->setEnabled(true);
    } else if (category == 3) {
        for (QLineEdit* field : {m_reference, m_commune, m_operateurs}) {
            field->clear();
            field->setEnabled(false);
        }
    }
}

int SummaryWindow::selectedCategory() const
{
    const int id = m_category->checkedId();
    return id >= 1 && id <= 3 ? id : 0;
}

summary::Sheet SummaryWindow::sheet() const
{
    summary::Sheet out;
    out.eventDate = m_eventDate;
    out.hfSession = m_hfSession;
    out.op.nom = m_nom->text();
    out.op.prenom = m_prenom->text();
    out.op.indicatif = m_indicatif->text();
    out.op.adresse1 = m_adresse1->text();
    out.op.adresse2 = m_adresse2->text();
    out.op.pays = m_pays->text();
    out.op.reference = m_reference->text();
    out.op.operateurs = m_operateurs->text();
    out.op.commune = m_commune->text();
    out.op.category = selectedCategory();
    out.op.hfOption = m_session->checkedId() != 2;
    for (int r = 0; r < summary::kRows; ++r) {
        for (int c = 0; c < summary::kColumns; ++c)
            out.cells.rows[r][c] = m_rows[r][c]->text();
    }
    for (int c = 0; c < summary::kColumns; ++c) {
        out.cells.hfTotal[c] = m_hfTotal[c]->text();
        out.cells.vhfTotal[c] = m_vhfTotal[c]->text();
    }
    out.cells.totalPoints = m_totalPoints->text();
    return out;
}

void SummaryWindow::refreshTotal()
{
    m_totalPoints->setText(summary::totalPoints(sheet().cells, m_hfSession));
}

void SummaryWindow::save()
{
    if (!summary::storeOperator(m_services.settings, m_callsign, sheet().op))
        m_services.dialogs.message(QStringLiteral("Les champs de la feuille n'ont pas pu être gardés dans les réglages "
                                                  "du programme : ils seront à saisir de nouveau."));
    refreshTotal();
    const StationPaths paths(m_services.programDir, m_callsign);
    m_services.dialogs.message(summary::save(m_services.files, paths, sheet()).message);
    // The message box belongs to the main window: the sheet comes back to the front after it.
    raise();
    activateWindow();
}

void SummaryWindow::print()
{
    refreshTotal();
    const auto outcome = reporttext::printLines(m_services.printer, summary::printLines(sheet()));
    if (const QString failure = reporttext::printFailureMessage(outcome); !failure.isEmpty())
        m_services.dialogs.message(failure);
}

} // namespace tv
