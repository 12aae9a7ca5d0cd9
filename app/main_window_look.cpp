// The main window's look and keyboard: the Alt letters of the menus, the shortcuts of the
// frequent commands, the tab order of the entry, the width of the operator aids; and its size
// and place kept between runs.

#include "app/main_window.h"
#include "entry/entry_panel.h"
#include "platform/settings_store.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

namespace tv {
namespace {

// The Alt letter of each menu and item: the '&' goes before the first occurrence of the text.
// One letter per menu bar and per menu.
struct Accelerator {
    const char* name;
    const char* before;
};
constexpr Accelerator kAccelerators[] = {
    {"Mnu_Fichier", "F"},
    {"Mnu_Station", "S"},
    {"Mnu_Session", "ession"},
    {"mnu_Options", "O"},
    {"Mnu_Carte", "C"},
    {"Mnu_Statistique", "tatistiques"},
    {"Mnu_Recap", "R"},
    {"Mnu_Log", "L"},
    {"Mnu_Imp_QSL", "I"},
    {"Mnu_Reglement", "glement"},
    {"Mnu_Aide", "A"},
    // Fichier.
    {"Mnu_RAZ_All", "Remise"},
    {"Mnu_MAJ_Prefixe_Departement", "MAJ"},
    {"Mnu_Nomenclature", "Nomenclature"},
    {"Mnu_ADIF", "ADIF"},
    {"Mnu_CTrafic", "C_Trafic"},
    {"Mnu_EDI", "EDI"},
    {"Mnu_Import_ADIF", "Importer"},
    {"Mnu_Apprendre_Moulins", "pprendre"},
    {"Mnu_Quitter", "Quitter"},
    // Station, Session, Options.
    {"Mnu_Indicatif", "Indicatif"},
    {"Mnu_Session_HF", "HF"},
    {"Mnu_Session_VHF", "VHF"},
    {"Mnu_Date_Auto", "Date"},
    {"Mnu_Heure_UTC", "Heure"},
    {"Mnu_Auto_Oui", "Oui"},
    {"Mnu_Auto_Non", "Non"},
    {"Mnu_UTC_Oui", "Oui"},
    {"Mnu_UTC_Non", "Non"},
    // Cartes, Statistiques, Recapitulatif, Log, Aide.
    {"Mnu_Carte_Activation", "Carte"},
    {"Mnu_Stat_Dist", "Distances"},
    {"Mnu_Stat_Prefixe", "prefixes"},
    {"Mnu_Stat_DFCF", "activations"},
    {"Mnu_Feuille_Recap", "Feuille"},
    {"Mnu_Imprime_Tout", "log"},
    {"Mnu_Historique", "Historique"},
    {"Mnu_Mode_Emploi", "Mode"},
    {"Mnu_A_Propos", "Propos"},
};

// The shortcuts of the menu items. F8, Enter, Ctrl+Enter and Escape belong to the entry.
struct Shortcut {
    const char* name;
    QKeyCombination keys;
};
constexpr Shortcut kShortcuts[] = {
    {"Mnu_Quitter", Qt::CTRL | Qt::Key_Q},      {"Mnu_Feuille_Recap", Qt::CTRL | Qt::Key_P},
    {"Mnu_Imprime_Tout", Qt::CTRL | Qt::Key_L}, {"Mnu_Mode_Emploi", QKeyCombination(Qt::Key_F1)},
    {"Mnu_Reglement", Qt::SHIFT | Qt::Key_F1},
};

QString withAccelerator(const QString& text, const char* before)
{
    const qsizetype at = text.indexOf(QString::fromUtf8(before));
    if (at < 0 || text.contains(QLatin1Char('&')))
        return text;
    return text.left(at) + QLatin1Char('&') + text.mid(at);
}

// The window's size and place, in the program's own settings.
const QString kApplication = QStringLiteral("Tournevent");
const QString kSection = QStringLiteral("Fenetres");
const QString kGeometry = QStringLiteral("Fenetre principale");

} // namespace

void MainWindow::wireLook()
{
    for (const Accelerator& a : kAccelerators) {
        const QString name = QString::fromLatin1(a.name);
        if (auto* menu = findChild<QMenu*>(name))
            menu->setTitle(withAccelerator(menu->title(), a.before));
        else if (auto* action = findChild<QAction*>(name))
            action->setText(withAccelerator(action->text(), a.before));
    }
    for (const Shortcut& s : kShortcuts)
        if (auto* action = findChild<QAction*>(QString::fromLatin1(s.name)))
            action->setShortcut(QKeySequence(s.keys));
    m_entry->search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_entry->edit->setShortcut(QKeySequence(Qt::Key_F2));
    // Delete in the list erases the QSO chosen there (the entry asks first).
    auto* erase = new QShortcut(QKeySequence(Qt::Key_Delete), m_list, nullptr, nullptr, Qt::WidgetShortcut);
    connect(erase, &QShortcut::activated, m_entry->remove, [this] {
        if (m_entry->remove->isEnabled())
            m_entry->remove->click();
    });

    // Tab follows the entry: band, mode, callsign, department, locator, activity, date and
    // times, reports received then sent, first name, mill number and name, then the buttons
    // and the list. The distance and azimuth are the program's: Tab passes them by.
    m_entry->distance->setFocusPolicy(Qt::NoFocus);
    m_entry->azimuth->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*> chain = {m_entry->band,        m_entry->mode,     m_entry->callsign,
                                   m_entry->department,  m_entry->locator,  m_entry->activity,
                                   m_entry->date,        m_entry->start,    m_entry->end,
                                   m_entry->rstReceived, m_entry->rstSent,  m_entry->firstName,
                                   m_entry->millNumber,  m_entry->millName, m_entry->record,
                                   m_entry->cancel,      m_entry->edit,     m_entry->remove,
                                   m_entry->search,      m_cluster,         m_list};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    // The aids beside the entry keep their width: their texts wrap instead of widening the
    // window past the screen as the callsigns and counts change. The list and the grid take the
    // room the window gets.
    if (auto* dock = findChild<QDockWidget*>(QStringLiteral("DockAides")); dock && dock->widget()) {
        for (QLabel* label : dock->widget()->findChildren<QLabel*>())
            label->setWordWrap(true);
        dock->widget()->setFixedWidth(fontMetrics().averageCharWidth() * 30);
    }
}

bool MainWindow::restoreWindowGeometry()
{
    const QByteArray stored =
        QByteArray::fromBase64(m_services.settings.value(kApplication, kSection, kGeometry).toLatin1());
    return !stored.isEmpty() && restoreGeometry(stored);
}

void MainWindow::storeWindowGeometry()
{
    m_services.settings.setValue(kApplication, kSection, kGeometry, QString::fromLatin1(saveGeometry().toBase64()));
}

} // namespace tv
