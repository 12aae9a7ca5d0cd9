#include "stats/qso_search_window.h"

#include "logstore/cp1252.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "station/logbook.h"
#include "stats/band_mode_widget.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tv {
namespace {

QPointer<QsoSearchWindow> g_open;

using qsosearch::Criterion;
constexpr Criterion kCriteria[] = {Criterion::Callsign, Criterion::Date, Criterion::Department, Criterion::Locator};

// Lower-case letters a to z typed in the field become capitals.
void upperAsTyped(QLineEdit* field)
{
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
        QString upper = text;
        for (QChar& c : upper) {
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 'a' + 'A');
        }
        if (upper != text) {
            const int at = field->cursorPosition();
            field->setText(upper);
            field->setCursorPosition(at);
        }
    });
}

} // namespace

QsoSearchWindow* QsoSearchWindow::showOrRaise(Services services, const Logbook& logbook, QWidget* parent)
{
    if (!g_open)
        g_open = new QsoSearchWindow(services, logbook, parent);
    g_open->show();
    g_open->raise();
    g_open->activateWindow();
    return g_open;
}

QString QsoSearchWindow::columnTitles()
{
    // Entry columns (from 1) where each field of the result line starts.
    const std::pair<int, const char*> titles[] = {
        {7, "Date"},  {17, "Indicatif"}, {29, "Début"}, {48, "Locator"},      {56, "Bande"},
        {66, "Mode"}, {75, "Rst E"},     {85, "Rst R"}, {95, "N° du Moulin"}, {117, "Prénom"}};
    QString line;
    for (const auto& [column, text] : titles)
        line = line.leftJustified(column - 1) + QString::fromUtf8(text);
    return line;
}

QsoSearchWindow::QsoSearchWindow(Services services, const Logbook& logbook, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_logbook(logbook)
{
    setObjectName(QStringLiteral("Recherche_Indicatif"));
    setWindowTitle(QStringLiteral("Fenetre de recherche"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* criteria = new QGroupBox(QStringLiteral("Rechercher un QSO par ..."), this);
    criteria->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(criteria);
    const char* captions[] = {"Indicatif", "Date", "Dpt", "Locator"};
    const char* fieldNames[] = {"Indica", "Data", "Depa", "Loca"};
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(QString::fromLatin1(captions[i]), criteria);
        m_options[i]->setObjectName(QStringLiteral("Option1_%1").arg(i + 1));
        m_fields[i] = named<QLineEdit>(criteria, fieldNames[i]);
        m_fields[i]->installEventFilter(this);
        grid->addWidget(m_options[i], 0, i);
        grid->addWidget(m_fields[i], 1, i);
        QLineEdit* field = m_fields[i];
        connect(m_options[i], &QRadioButton::clicked, field, [field] { field->setFocus(); });
        connect(field, &QLineEdit::returnPressed, this, [this, i] { enter(kCriteria[i]); });
    }
    m_options[0]->setChecked(true);
    upperAsTyped(m_fields[0]);
    upperAsTyped(m_fields[3]);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QLabel* titles = named<QLabel>(this, "Label2", columnTitles());
    titles->setFont(fixed);
    titles->setIndent(4);
    m_results = named<QListWidget>(this, "QSO_Effectues");
    m_results->setFont(fixed);
    m_results->setUniformItemSizes(true);
    m_results->setToolTip(QStringLiteral("Cliquez sur le QSO pour le selectionner"));
    connect(m_results, &QListWidget::itemClicked, this, &QsoSearchWindow::choose);

    auto* quit = named<QPushButton>(this, "Command1", QStringLiteral("Quitter"));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(quit);

    auto* column = new QVBoxLayout(this);
    column->addWidget(criteria);
    column->addWidget(titles);
    column->addWidget(m_results, 1);
    column->addLayout(buttons);
    const QFontMetrics metrics(fixed);
    resize(metrics.horizontalAdvance(QString(136, QLatin1Char('0'))) + 60, 24 * metrics.height());
    centreOnScreen(this);
    m_fields[0]->clear();
    m_fields[0]->setFocus();

    connect(&m_logbook, &Logbook::appended, this, [this] { run(false); });
    connect(&m_logbook, &Logbook::reloaded, this, [this] { run(false); });
}

bool QsoSearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 4; ++i) {
            if (watched == m_fields[i])
                m_options[i]->setChecked(true);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void QsoSearchWindow::enter(Criterion criterion)
{
    const int i = int(criterion);
    m_options[i]->setChecked(true);
    const qsosearch::Check check = qsosearch::check(criterion, m_fields[i]->text());
    if (!check.ok()) {
        if (check.clear)
            m_fields[i]->clear();
        m_services.dialogs.message(check.message);
        m_fields[i]->setFocus();
        return;
    }
    m_last = {criterion, cp1252::encode(m_fields[i]->text())};
    run(true);
    for (QLineEdit* field : m_fields)
        field->clear();
}

void QsoSearchWindow::run(bool tellNoMatch)
{
    if (!m_last)
        return;
    const qsosearch::Result result = qsosearch::search(m_logbook.lines(), m_last->first, m_last->second);
    m_matches = result.matches;
    m_results->clear();
    for (const qsosearch::Match& match : m_matches)
        m_results->addItem(cp1252::decode(match.entry));
    if (tellNoMatch && !result.message.isEmpty())
        m_services.dialogs.message(result.message);
}

void QsoSearchWindow::choose(QListWidgetItem* item)
{
    const int index = m_results->row(item);
    if (index < 0 || index >= m_matches.size())
        return;
    const qsosearch::Match& match = m_matches[index];
    const int row = qsosearch::rowOf(m_logbook.lines(), match.entry, match.row);
    if (row >= 0)
        Q_EMIT qsoChosen(row);
    close();
}

} // namespace tv
