#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;
class QListWidget;

namespace tv {

class Logbook;

// The window `Affiche_Dpt` ("QSO's effectués par département "): the QSOs of one department
// (departmentqsos::lines) in the fixed-pitch list `QSO_DU_Dpt` under the headings `Label1`,
// and their count in `Label2`. Opened by a double click on a cell of the department grid; it
// lists again whenever a QSO is recorded or the log is read again. One window at a time:
// showOrRaise() shows the new department in the open one.
class DepartmentQsosWindow final : public QWidget {
    Q_OBJECT
public:
    DepartmentQsosWindow(const Logbook& logbook, QWidget* parent = nullptr);
    static DepartmentQsosWindow* showOrRaise(const Logbook& logbook, int cell, QWidget* parent);

    // Lists the QSOs of the department of a grid cell.
    void showCell(int cell);

private:
    void refresh();

    const Logbook& m_logbook;
    QByteArray m_code;
    QListWidget* m_list = nullptr; // QSO_DU_Dpt
    QLabel* m_count = nullptr;     // Label2
};

} // namespace tv
