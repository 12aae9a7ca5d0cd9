#pragma once

#include "labels/label_sheet.h"
#include "platform/services.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tv {

class LabelPreviewWidget;
class QsoSelection;

// The window `Etiquettes` ("Impression étiquettes"): the label type, the station's own mill
// (type 2), the sheet format, the transceiver and antenna (kept in the "Assistant" settings),
// the first position on a partly used sheet, the stop at each sheet, and a preview of the
// sheets; `Imprimer` prints the chosen QSOs of the selection window in log order, `PDF`
// writes them to a PDF file.
//
// It belongs to the selection window, whose chosen QSOs it prints and previews as they change.
class LabelWindow final : public QWidget {
    Q_OBJECT
public:
    LabelWindow(Services services, QString storedCallsign, const QsoSelection& selection, QWidget* parent);

    // The settings of the controls, as a print run takes them.
    labels::LabelSettings settings() const;

public Q_SLOTS:
    void print(); // Imprimer
    // Writes the labels to this PDF file, with the same checks and messages as the printing.
    void printToPdf(const QString& path);
    void refreshPreview();

private:
    void build();
    QWidget* buildControls();
    QWidget* buildExamples();
    // The checks, then the transceiver and antenna stored: the sheets to print, or none after
    // telling the operator why.
    QList<labels::Sheet> checkedSheets();
    void choosePdf();

    Services m_services;
    QString m_callsign;
    QPointer<const QsoSelection> m_selection;

    QRadioButton* m_type2 = nullptr;         // Type_2 (Type_1 is the other)
    QLineEdit* m_millRef = nullptr;          // Ref_Moulin
    QLineEdit* m_millName = nullptr;         // Nom_Moulin
    QList<QRadioButton*> m_formats;          // Etiqu_1 to Etiqu_4
    QLineEdit* m_rxtx = nullptr;             // RxTx
    QLineEdit* m_antenna = nullptr;          // Antenne
    QSpinBox* m_start = nullptr;             // Premiere_Etiquette
    QCheckBox* m_stop = nullptr;             // Arret_Imp
    QSpinBox* m_sheet = nullptr;             // Feuille_Apercu
    QLabel* m_sheetCount = nullptr;          // Nombre_Feuilles
    LabelPreviewWidget* m_preview = nullptr; // Apercu
};

} // namespace tv
