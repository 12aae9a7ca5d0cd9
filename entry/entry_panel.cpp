#include "entry/entry_panel.h"

#include "platform/named_widget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tv {
namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name, int chars, const QString& text = QString())
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('W'))) / 2 + 24);
    return edit;
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QString& text)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(text);
    return combo;
}

} // namespace

QValidator::State AsciiUpperValidator::validate(QString& input, int&) const
{
    for (QChar& ch : input) {
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
            ch = QChar(ch.unicode() - 32);
    }
    return Acceptable;
}

EntryPanel::EntryPanel(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame4"));
    setQsoNumber(1);

    band = makeCombo(this, "Bande_A", QStringLiteral("144 MHz"));
    mode = makeCombo(this, "Mode_A", QStringLiteral("SSB"));
    activity = makeCombo(this, "Activite_A", QString());
    callsign = makeEdit(this, "Indicatif_A", 12);
    department = makeEdit(this, "Depart_A", 3);
    locator = makeEdit(this, "Locator_A", 6);
    distance = makeEdit(this, "Distance_A", 5);
    azimuth = makeEdit(this, "Azimut_A", 3);
    date = makeEdit(this, "Date_A", 8);
    start = makeEdit(this, "Debut_A", 5);
    end = makeEdit(this, "Fin_A", 5);
    rstReceived = makeEdit(this, "RSTR_A", 8, QStringLiteral("59"));
    rstSent = makeEdit(this, "RSTE_A", 8, QStringLiteral("59"));
    firstName = makeEdit(this, "Prenom_A", 15);
    millNumber = makeEdit(this, "QTH_A", 15);
    millName = makeEdit(this, "Remarques_A", 30);
    for (QLineEdit* upper : {callsign, locator, firstName, millNumber, millName})
        upper->setValidator(new AsciiUpperValidator(upper));
    activity->setEditable(false);
    distance->setReadOnly(true);
    azimuth->setReadOnly(true);

    dateLabel = named<QLabel>(this, "Label15", QStringLiteral("Date"));
    callsignLabel = named<QLabel>(this, "Label5", QStringLiteral("Indicatif"));
    dmfLabel = named<QLabel>(this, "Label26", QStringLiteral("DMF"));
    dmfLabel->setVisible(false);

    auto* grid = new QGridLayout(this);
    // Row of labels above each row of fields, in the order of entry.
    auto place = [grid](int row, int column, QLabel* label, QWidget* field, int span = 1) {
        grid->addWidget(label, row, column, 1, span);
        grid->addWidget(field, row + 1, column, 1, span);
    };
    place(0, 0, named<QLabel>(this, "Label16", QStringLiteral("Bande")), band);
    place(0, 1, named<QLabel>(this, "Label8", QStringLiteral("Mode")), mode);
    place(0, 2, callsignLabel, callsign, 2);
    place(0, 4, named<QLabel>(this, "Label7", QStringLiteral("Dpt")), department);
    place(0, 5, named<QLabel>(this, "Label6", QStringLiteral("Locator")), locator);
    place(0, 6, named<QLabel>(this, "Label32", QStringLiteral("QRB (Km)")), distance);
    place(0, 7, named<QLabel>(this, "Label36", QStringLiteral("Azim (°)")), azimuth);

    place(2, 0, named<QLabel>(this, "Label43", QStringLiteral("Activité")), activity);
    place(2, 1, dateLabel, date);
    place(2, 2, named<QLabel>(this, "Label14", QStringLiteral("Début")), start);
    place(2, 3, named<QLabel>(this, "Label13", QStringLiteral("Fin")), end);
    place(2, 4, named<QLabel>(this, "Label12", QStringLiteral("RST reçu")), rstReceived);
    place(2, 5, named<QLabel>(this, "Label11", QStringLiteral("RST Envoyé")), rstSent);

    place(4, 0, named<QLabel>(this, "Label10", QStringLiteral("       Prénom (Optionel)")), firstName, 2);
    place(4, 3, named<QLabel>(this, "Label9", QStringLiteral("N° du Moulin")), millNumber, 1);
    grid->addWidget(named<QLabel>(this, "Label38", QStringLiteral("Nom du Moulin (optionel)")), 4, 4, 1, 4);
    grid->addWidget(millName, 5, 4, 1, 4);
    grid->addWidget(dmfLabel, 5, 2, Qt::AlignRight);
}

void EntryPanel::setQsoNumber(int number, bool accented)
{
    setTitle((accented ? QStringLiteral("QSO numéro ") : QStringLiteral("QSO numero ")) + QString::number(number));
}

} // namespace tv
