#include "labels/label_window.h"

#include "labels/label_preview_widget.h"
#include "labels/label_print.h"
#include "labels/qso_selection.h"
#include "logstore/station_paths.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "platform/qt_printer.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tv {

LabelWindow::LabelWindow(Services services, QString storedCallsign, const QsoSelection& selection, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_callsign(std::move(storedCallsign)), m_selection(&selection)
{
    setObjectName(QStringLiteral("Etiquettes"));
    setWindowTitle(QStringLiteral("Impression étiquettes"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    const labels::Equipment kept = labels::loadEquipment(m_services.settings);
    m_rxtx->setText(kept.rxtx);
    m_antenna->setText(kept.antenna);
    connect(&selection, &QsoSelection::chosenChanged, this, &LabelWindow::refreshPreview);
    refreshPreview();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void LabelWindow::build()
{
    auto* previewFrame = named<QGroupBox>(this, "Frame_Apercu", QStringLiteral("Aperçu de la feuille"));
    m_preview = named<LabelPreviewWidget>(previewFrame, "Apercu");
    m_sheet = named<QSpinBox>(previewFrame, "Feuille_Apercu");
    m_sheet->setPrefix(QStringLiteral("Feuille "));
    m_sheetCount = named<QLabel>(previewFrame, "Nombre_Feuilles");
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(m_sheet);
    sheetRow->addWidget(m_sheetCount, 1);
    auto* previewColumn = new QVBoxLayout(previewFrame);
    previewColumn->addLayout(sheetRow);
    previewColumn->addWidget(m_preview, 1);
    connect(m_sheet, &QSpinBox::valueChanged, this, &LabelWindow::refreshPreview);

    auto* left = new QVBoxLayout;
    left->addWidget(buildControls());
    left->addWidget(buildExamples());
    left->addStretch();
    auto* row = new QHBoxLayout(this);
    row->addLayout(left);
    row->addWidget(previewFrame, 1);
}

QWidget* LabelWindow::buildControls()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    auto* title = named<QLabel>(box, "Label2", QStringLiteral("Impression d'étiquettes pour QSL"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    grid->addWidget(title, 0, 0, 1, 3);

    grid->addWidget(named<QLabel>(box, "Label5", QStringLiteral("Type d'étiquettes")), 1, 0);
    auto* type1 = named<QRadioButton>(box, "Type_1", QStringLiteral("N° 1"));
    m_type2 = named<QRadioButton>(box, "Type_2", QStringLiteral("N°2"));
    type1->setChecked(true);
    grid->addWidget(type1, 1, 1);
    grid->addWidget(m_type2, 1, 2);

    grid->addWidget(named<QLabel>(box, "Label8", QStringLiteral("N° et nom du Moulin")), 2, 0);
    m_millRef = named<QLineEdit>(box, "Ref_Moulin");
    m_millName = named<QLineEdit>(box, "Nom_Moulin");
    grid->addWidget(m_millRef, 2, 1);
    grid->addWidget(m_millName, 2, 2);

    auto* formats = named<QGroupBox>(box, "Frame1", QStringLiteral("Format d'etiquette"));
    auto* formatColumn = new QVBoxLayout(formats);
    for (int n = 1; n <= labels::kFormatCount; ++n) {
        labels::Format format{};
        labels::formatFromNumber(n, &format);
        auto* button = new QRadioButton(QString::fromUtf8(labels::sheetFormat(format).caption), formats);
        button->setObjectName(QStringLiteral("Etiqu_%1").arg(n));
        button->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        formatColumn->addWidget(button);
        m_formats << button;
    }
    m_formats[0]->setChecked(true);
    grid->addWidget(formats, 3, 0, 1, 3);

    grid->addWidget(named<QLabel>(box, "Label1", QStringLiteral("Transceiver ")), 4, 0);
    m_rxtx = named<QLineEdit>(box, "RxTx");
    grid->addWidget(m_rxtx, 4, 1);
    grid->addWidget(named<QLabel>(box, "Label20", QStringLiteral("16 caracteres maxi")), 4, 2);
    grid->addWidget(named<QLabel>(box, "Label7", QStringLiteral("Antenne")), 5, 0);
    m_antenna = named<QLineEdit>(box, "Antenne");
    grid->addWidget(m_antenna, 5, 1);
    grid->addWidget(named<QLabel>(box, "Label21", QStringLiteral("13 catacteres maxi")), 5, 2);

    grid->addWidget(named<QLabel>(box, "Label_Depart", QStringLiteral("Commencer à l'étiquette n°")), 6, 0);
    m_start = named<QSpinBox>(box, "Premiere_Etiquette");
    m_start->setRange(1, labels::kLabelsPerSheet);
    m_start->setToolTip(QStringLiteral("Pour finir une feuille déjà entamée : 1 et 2 sur la première rangée, "
                                       "3 et 4 sur la deuxième…"));
    grid->addWidget(m_start, 6, 1);

    auto* printing = named<QGroupBox>(box, "Frame2", QStringLiteral("Impression"));
    auto* printColumn = new QVBoxLayout(printing);
    m_stop = named<QCheckBox>(printing, "Arret_Imp", QStringLiteral("Arret impression a chaque feuille"));
    printColumn->addWidget(m_stop);
    auto* print = named<QPushButton>(printing, "Imprime", QStringLiteral("Imprimer"));
    auto* pdf = named<QPushButton>(printing, "Imprime_PDF", QStringLiteral("Enregistrer en PDF…"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(pdf);
    printColumn->addLayout(buttons);
    grid->addWidget(printing, 7, 0, 1, 3);
    connect(print, &QPushButton::clicked, this, &LabelWindow::print);
    connect(pdf, &QPushButton::clicked, this, &LabelWindow::choosePdf);

    for (QLineEdit* edit : {m_millRef, m_millName, m_rxtx, m_antenna})
        connect(edit, &QLineEdit::textChanged, this, &LabelWindow::refreshPreview);
    for (QRadioButton* button : m_formats)
        connect(button, &QRadioButton::toggled, this, &LabelWindow::refreshPreview);
    connect(m_type2, &QRadioButton::toggled, this, &LabelWindow::refreshPreview);
    connect(m_start, &QSpinBox::valueChanged, this, &LabelWindow::refreshPreview);
    return box;
}

QWidget* LabelWindow::buildExamples()
{
    // The two example labels: type 2 (the station's mill) and type 1 (the correspondent's).
    const char* const type2[] = {"Journée Nationale des Moulins",
                                 "DMF 77012 Moulin de la prairie verte",
                                 "Confirme le QSO avec F0ZZZ",
                                 "Le 24/06/07      08:35 UTC        59       SSB       7 Mhz",
                                 "TX/RX :  FT47 100 W     Ant : Dipole 2x10m ",
                                 "Merci pour le QSO      73's de F0YYY/P"};
    const char* const type1[] = {"Journée Nationale des Moulins",
                                 "Confirme le QSO avec F0WWW/P",
                                 "Le 24/06/07      08:35 UTC        59       SSB       7 Mhz",
                                 "TX/RX :  FT47 100 W     Ant : Dipole 2x10m ",
                                 "Activant la référence  DMF 32093",
                                 "Merci pour le QSO      73's de F0ZZZ"};
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto example = [box, row](const char* name, const QString& title, const auto& lines) {
        auto* frame = named<QGroupBox>(box, name, title);
        auto* column = new QVBoxLayout(frame);
        QFont small = frame->font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        for (const char* line : lines) {
            auto* label = new QLabel(QString::fromUtf8(line), frame);
            label->setFont(small);
            column->addWidget(label);
        }
        row->addWidget(frame);
    };
    example("Frame3", QStringLiteral("N°2"), type2);
    example("Frame4", QStringLiteral("N° 1"), type1);
    return box;
}

labels::LabelSettings LabelWindow::settings() const
{
    labels::LabelSettings s;
    for (int i = 0; i < int(m_formats.size()); ++i)
        if (m_formats[i]->isChecked())
            labels::formatFromNumber(i + 1, &s.format);
    s.type = m_type2->isChecked() ? 2 : 1;
    s.millRef = m_millRef->text();
    s.millName = m_millName->text();
    s.rxtx = m_rxtx->text();
    s.antenna = m_antenna->text();
    s.ownCallsign = m_callsign;
    s.start = m_start->value();
    return s;
}

void LabelWindow::refreshPreview()
{
    const labels::LabelSettings s = settings();
    const QList<QByteArray> lines = m_selection ? m_selection->chosenLines() : QList<QByteArray>();
    const int count = labels::sheetCount(lines.size(), s.start);
    const QSignalBlocker quiet(m_sheet);
    m_sheet->setRange(1, std::max(1, count));
    m_sheetCount->setText(count == 0 ? QStringLiteral("aucun QSO sélectionné")
                                     : QStringLiteral("sur %1 (%2 QSO)").arg(count).arg(lines.size()));
    m_preview->showSheet(s.format, labels::layOutSheet(lines, s, m_sheet->value() - 1));
}

QList<labels::Sheet> LabelWindow::checkedSheets()
{
    const labels::LabelSettings s = settings();
    if (const QString refused = labels::checkMessage(s); !refused.isEmpty()) {
        m_services.dialogs.message(refused);
        return {};
    }
    if (!labels::storeEquipment(m_services.settings, {s.rxtx, s.antenna}))
        m_services.dialogs.message(
            QStringLiteral("Le transceiver et l'antenne n'ont pas pu être gardés dans les réglages."));
    const QList<labels::Sheet> sheets =
        labels::layOut(m_selection ? m_selection->chosenLines() : QList<QByteArray>(), s);
    if (sheets.isEmpty())
        m_services.dialogs.message(labels::emptySelectionMessage());
    return sheets;
}

void LabelWindow::print()
{
    const QList<labels::Sheet> sheets = checkedSheets();
    if (sheets.isEmpty())
        return;
    const labels::PrintOutcome outcome =
        labels::printSheets(m_services.printer, m_services.dialogs, sheets, settings().format, m_stop->isChecked());
    if (outcome == labels::PrintOutcome::Failed)
        m_services.dialogs.message(labels::printFailureMessage());
}

void LabelWindow::printToPdf(const QString& path)
{
    const QList<labels::Sheet> sheets = checkedSheets();
    if (sheets.isEmpty())
        return;
    const auto pdfPrinter = [this](const QString& pdf) {
        std::unique_ptr<QtPrinter> printer = QtPrinter::toPdf(pdf);
        printer->setDialogParent(this); // its progress window
        return printer;
    };
    m_services.dialogs.message(labels::savePdf(m_services.files, path, pdfPrinter, sheets).message);
}

void LabelWindow::choosePdf()
{
    const QString suggested = StationPaths(m_services.programDir, m_callsign).stationFile(QStringLiteral("_QSL.pdf"));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer les étiquettes en PDF"),
                                                      suggested, QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty())
        printToPdf(path);
}

} // namespace tv
