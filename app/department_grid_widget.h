#pragma once

#include <QGroupBox>
#include <QList>

class QLabel;
class QLineEdit;

namespace tv {

// The department grid of the main window (`Frame3`): 100 small cells `Dpt_0` to `Dpt_99`;
// cell i shows i on two digits, cell 20 "X", 96 "2a", 97 "2b", 98 and 99 nothing. A double
// click on a cell asks for the QSOs of that department.
class DepartmentGridWidget final : public QGroupBox {
    Q_OBJECT
public:
    explicit DepartmentGridWidget(QWidget* parent = nullptr);

    static constexpr int kCells = 100;
    QLineEdit* cell(int index) const { return m_cells.value(index); }

    // Gives every cell the window background again.
    void clearColours();
    // Paints every cell in one colour.
    void fillColour(const QColor& colour);
    // Colours a cell by its mark: 1 light red, 2 yellow, 3 light blue, 4 light green; any
    // other mark leaves it as it is.
    void colourByMark(int index, char mark);
    void setCellColour(int index, const QColor& colour);

Q_SIGNALS:
    void cellDoubleClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> m_cells;
    QLabel* m_hint = nullptr;
};

} // namespace tv
