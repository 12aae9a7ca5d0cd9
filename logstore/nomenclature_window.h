#pragma once

#include "logstore/name_lists.h"
#include "platform/services.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tv {

// The window `Fichier_Nomenclature` ("Edition du fichier Nomenclature.txt"): the operator
// adds, corrects or removes the stations kept in "Nomenclature.txt".
//
// Responsibilities: show the file's lines in `Liste_Nomenclature`, edit the list in memory
// with `Ajouter`, `Editer` and `Supprimer`, and on closing ask whether to write the list back
// (one atomic replace, lines in list order). `Editer` and `Supprimer` act only on a selected
// line. When the file cannot be read (other than not existing yet) the list stays empty, the
// buttons are disabled and the file is never written, so that a list that failed to load
// cannot replace it. A failed save is reported and the window stays open.
// There is one editor at a time: showOrRaise() brings the open one to the front.
//
// Saving while recordings changed the file meanwhile merges (NameLists::mergeStations): the
// editor's additions, changes and removals win, stations remembered meanwhile are kept, and a
// line the editor left alone that is no longer in the file stays out of it.
// Collaborations: NameLists (file layout, load, save), Dialogs for every message.
class NomenclatureWindow final : public QWidget {
    Q_OBJECT
public:
    explicit NomenclatureWindow(Services services, QWidget* parent = nullptr);

    // Shows the editor, building it (deleted on close) when none is open; raises and activates it.
    static NomenclatureWindow* showOrRaise(Services services, QWidget* parent);

    // The lines of the list, as they would be saved.
    QList<QByteArray> lines() const;

    static QString saveQuestion();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    void centre();
    void lineChosen();
    void add();
    void edit();
    void remove();
    void clearSelection();
    void appendLine(const QByteArray& line);
    int selectedRow() const; // -1 when no line is selected
    QString field(QLineEdit* edit) const;

    Services m_services;
    QList<QByteArray> m_atOpening; // the file's lines when the window opened
    NameLists m_lists;
    bool m_readable = true;

    QListWidget* m_list = nullptr;     // Liste_Nomenclature
    QLineEdit* m_callsign = nullptr;   // Ind_Edit
    QLineEdit* m_department = nullptr; // Dep_Edit
    QLineEdit* m_locator = nullptr;    // Loc_Edit
    QPushButton* m_add = nullptr;      // Ajouter
    QPushButton* m_edit = nullptr;     // Editer
    QPushButton* m_remove = nullptr;   // Supprimer
};

} // namespace tv
