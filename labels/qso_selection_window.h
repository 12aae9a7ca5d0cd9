#pragma once

#include "platform/services.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QListView;

namespace tv {

class LabelWindow;
class Logbook;
class QsoSelection;

// The window `Select_QSO` ("Selection QSO"): the QSOs of the log not chosen (`Liste_QSO`) and
// those chosen for labels (`Liste_Imprime`), both in log order; a click moves a QSO to the
// other list, `Select_All` chooses every QSO, `Impression` opens the label window.
//
// The lists are views over the Logbook's lines in memory: they fill at once on a full log and
// follow a QSO recorded, edited or deleted meanwhile. There is one selection window at a time
// (showOrRaise); closing it closes its label window and forgets the selection.
class QsoSelectionWindow final : public QWidget {
    Q_OBJECT
public:
    QsoSelectionWindow(Services services, const Logbook& logbook, QWidget* parent = nullptr);

    static QsoSelectionWindow* showOrRaise(Services services, const Logbook& logbook, QWidget* parent);

    QsoSelection& selection() { return *m_selection; }

public Q_SLOTS:
    // Shows the label window (built the first time), this window staying open.
    LabelWindow* openLabels();

private:
    void showCount();

    Services m_services;
    const Logbook& m_logbook;
    QsoSelection* m_selection;
    QListView* m_available = nullptr; // Liste_QSO
    QListView* m_chosen = nullptr;    // Liste_Imprime
    QLabel* m_count = nullptr;        // Nombre_Selection
    QPointer<LabelWindow> m_labels;
};

} // namespace tv
