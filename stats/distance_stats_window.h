#pragma once

#include <QList>
#include <QWidget>

class QLineEdit;

namespace tv {

class Logbook;

// The window `Statistiques` ("Statistiques distances"): the 144 MHz QSOs of the log by class of
// 100 km, one box per class (`Text11_1` to `Text11_11`, empty when none) and the total `Tot1`.
// It counts the Logbook's lines and counts again whenever a QSO is recorded or the log is read
// again. One window at a time: showOrRaise() brings the open one to the front.
class DistanceStatsWindow final : public QWidget {
    Q_OBJECT
public:
    DistanceStatsWindow(const Logbook& logbook, QWidget* parent = nullptr);
    static DistanceStatsWindow* showOrRaise(const Logbook& logbook, QWidget* parent);

private:
    void refresh();

    const Logbook& m_logbook;
    QList<QLineEdit*> m_counts;
    QLineEdit* m_total = nullptr;
};

} // namespace tv
