#pragma once

#include "aids/aids_text.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace tv {

// The live multiplier board: for each band of the session and each mode, the departments
// contacted (of 96), the DXCC entities and the mills; the row of the band and mode in use in
// bold. Under it, the callsign being entered: its department and entity "nouveau ici" or
// "déjà contacté" on the band and mode in use.
class MultiplierBoardWidget final : public QWidget {
    Q_OBJECT
public:
    explicit MultiplierBoardWidget(QWidget* parent = nullptr);

    void setRows(const QList<BoardRow>& rows, const QByteArray& band, const QByteArray& mode);

    // One lit multiplier: its caption ("Dpt 59", "Entité F") and whether it is new; an empty
    // caption clears it.
    struct Lit {
        QString caption;
        bool isNew = false;
    };
    void setLit(const QString& callsign, const Lit& department, const Lit& entity);

private:
    static void paint(QLabel* label, const Lit& lit);

    QTableWidget* m_table = nullptr;
    QLabel* m_callsign = nullptr;
    QLabel* m_department = nullptr;
    QLabel* m_entity = nullptr;
};

} // namespace tv
