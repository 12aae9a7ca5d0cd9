#include "labels/qso_selection_window.h"

#include "labels/label_window.h"
#include "labels/qso_selection.h"
#include "platform/named_widget.h"
#include "station/logbook.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tv {
namespace {

// The one selection window, while it is open.
QPointer<QsoSelectionWindow> g_open;

QListView* entryList(QWidget* parent, const char* name, QAbstractItemModel& model)
{
    auto* list = named<QListView>(parent, name);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setModel(&model);
    return list;
}

} // namespace

QsoSelectionWindow* QsoSelectionWindow::showOrRaise(Services services, const Logbook& logbook, QWidget* parent)
{
    QsoSelectionWindow* window = g_open;
    if (!window) {
        window = new QsoSelectionWindow(services, logbook, parent);
        g_open = window;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QsoSelectionWindow::QsoSelectionWindow(Services services, const Logbook& logbook, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_logbook(logbook), m_selection(new QsoSelection(this))
{
    setObjectName(QStringLiteral("Select_QSO"));
    setWindowTitle(QStringLiteral("Selection QSO"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_selection->setLines(logbook.lines());
    connect(&logbook, &Logbook::appended, this, [this](int row) {
        m_selection->appendLine(m_logbook.lines().value(row));
        showCount();
    });
    connect(&logbook, &Logbook::reloaded, this, [this] {
        m_selection->setLines(m_logbook.lines());
        showCount();
    });

    auto* title = named<QLabel>(this, "Label2", QStringLiteral("Selection des QSO pour impression d'etiquettes"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    m_available = entryList(this, "Liste_QSO", m_selection->available());
    m_chosen = entryList(this, "Liste_Imprime", m_selection->chosen());
    connect(m_available, &QListView::clicked, this, [this](const QModelIndex& i) { m_selection->choose(i.row()); });
    connect(m_chosen, &QListView::clicked, this, [this](const QModelIndex& i) { m_selection->unchoose(i.row()); });
    connect(m_selection, &QsoSelection::chosenChanged, this, &QsoSelectionWindow::showCount);
    m_count = named<QLabel>(this, "Nombre_Selection");

    auto* all = named<QPushButton>(this, "Select_All", QStringLiteral("Tout séléctionner"));
    auto* labels = named<QPushButton>(this, "Impression", QStringLiteral("Vers page Impression"));
    connect(all, &QPushButton::clicked, m_selection, &QsoSelection::chooseAll);
    connect(labels, &QPushButton::clicked, this, &QsoSelectionWindow::openLabels);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(all);
    buttons->addWidget(labels);

    auto* column = new QVBoxLayout(this);
    column->addWidget(title);
    column->addWidget(named<QLabel>(this, "Label3", QStringLiteral("Cliquez sur un QSO pour le selectionner ")));
    column->addWidget(m_available, 1);
    column->addWidget(named<QLabel>(this, "Label4",
                                    QStringLiteral("QSO selectionné(s) pour impression d'etiquettes . Cliquez sur un "
                                                   "QSO pour le déselctionner.")));
    column->addWidget(m_chosen, 1);
    column->addLayout(buttons);
    showCount();

    const QFontMetrics metrics(m_available->font());
    resize(metrics.horizontalAdvance(QString(100, QLatin1Char('0'))) + 60, 40 * metrics.height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void QsoSelectionWindow::showCount()
{
    const int chosen = m_selection->chosen().rowCount();
    m_count->setText(QStringLiteral("%1 QSO sélectionné(s) sur %2").arg(chosen).arg(m_logbook.count()));
}

LabelWindow* QsoSelectionWindow::openLabels()
{
    if (!m_labels)
        m_labels = new LabelWindow(m_services, m_logbook.storedCallsign(), *m_selection, this);
    m_labels->show();
    m_labels->raise();
    m_labels->activateWindow();
    return m_labels;
}

} // namespace tv
