#include "entry/entry_panel.h"

#include "platform/named_widget.h"
#include "platform/palette.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    return button;
}

void paintField(QWidget* field, FieldColour colour)
{
    if (colour == FieldColour::Plain)
        return;
    const QColor shade(colour == FieldColour::Expected ? palette::kExpected : palette::kPassed);
    field->setStyleSheet(QStringLiteral("background-color: %1;").arg(shade.name()));
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

    band = makeCombo(this, "Bande_A", QString()); // the session's bands come with the station
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

    record = makeButton(this, "Enregistrer", QStringLiteral("QSO Suivant"),
                        QStringLiteral("Nouveau QSO et enregistrement des données precedentes"));
    cancel = makeButton(this, "Annuler", QStringLiteral("Annuler Saisie"),
                        QStringLiteral("Efface les données en cours de saisie"));
    edit = makeButton(this, "Editer", QStringLiteral(" Editer  QSO"),
                      QStringLiteral("Clickez sur un QSO pour le selectionner puis sur ce bouton pour l'editer"));
    remove = makeButton(this, "Effacer", QStringLiteral("Effacer QSO"),
                        QStringLiteral("Clickez sur un QSO pour le selectionner puis sur ce bouton pour l'effacer"));
    search = makeButton(this, "Recherche", QStringLiteral("Chercher QSO"),
                        QStringLiteral("Cliquez sur ce bouton pour rechercher un QSO par indicatif, date, "
                                       "departement, ou locator"));
    search->setEnabled(false);
    record->setEnabled(false);
    mode->addItems({QStringLiteral("SSB"), QStringLiteral("CW")});
    activity->addItems({QStringLiteral("QSO"), QStringLiteral("MOULIN")});

    // The fields of the chain after the callsign start disabled; each field enables the next.
    for (QWidget* w : std::initializer_list<QWidget*>{department, locator, activity, date, start, end, rstReceived,
                                                      rstSent, firstName, millNumber, millName})
        w->setEnabled(false);
}

void EntryPanel::setBandList(const QStringList& bands)
{
    band->clear();
    band->addItems(bands);
}

QWidget* EntryPanel::fieldWidget(EntryField field) const
{
    QWidget* const widgets[kEntryFieldCount] = {band,       mode,     callsign, department,  locator, activity,
                                                date,       start,    end,      rstReceived, rstSent, firstName,
                                                millNumber, millName, distance, azimuth,     record};
    return widgets[int(field)];
}

std::optional<EntryField> EntryPanel::fieldOf(QObject* object) const
{
    for (int i = 0; i < kEntryFieldCount; ++i) {
        QWidget* widget = fieldWidget(EntryField(i));
        auto* combo = qobject_cast<QComboBox*>(widget);
        if (object == widget || (combo && object == combo->lineEdit()))
            return EntryField(i);
    }
    return std::nullopt;
}

void EntryPanel::bind(QsoEntry* core, std::function<int()> selectedRow)
{
    m_core = core;
    m_selectedRow = std::move(selectedRow);
    for (int i = 0; i < kEntryFieldCount; ++i) {
        QWidget* widget = fieldWidget(EntryField(i));
        widget->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    connect(record, &QPushButton::clicked, this, [this] { run([this] { return m_core->record(); }); });
    connect(cancel, &QPushButton::clicked, this, [this] { run([this] { return m_core->cancel(); }); });
    connect(edit, &QPushButton::clicked, this, [this] { run([this] { return m_core->edit(m_selectedRow()); }); });
    connect(remove, &QPushButton::clicked, this, [this] { run([this] { return m_core->remove(m_selectedRow()); }); });
}

bool EntryPanel::eventFilter(QObject* watched, QEvent* event)
{
    const std::optional<EntryField> field = m_core ? fieldOf(watched) : std::nullopt;
    if (!field)
        return QGroupBox::eventFilter(watched, event);
    const EntryField f = *field;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            run([this, f] { return m_core->enter(f); });
            return true;
        }
        if (key == Qt::Key_Escape) {
            run([this, f] { return m_core->escape(f); });
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (f == EntryField::Band) {
            readForm();
            m_core->clickBand();
            showForm(false);
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (f == EntryField::Callsign || f == EntryField::Department || f == EntryField::Locator) {
            readForm();
            m_core->doubleClick(f);
            showForm(false);
            return true;
        }
        break;
    default:
        break;
    }
    return QGroupBox::eventFilter(watched, event);
}

void EntryPanel::run(const std::function<EntryEffects()>& action)
{
    readForm();
    const EntryEffects effects = action();
    Q_EMIT effectsReady(effects);
    showForm(true);
}

void EntryPanel::readForm()
{
    EntryForm& form = m_core->form();
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = EntryField(i);
        QWidget* widget = fieldWidget(field);
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            form.setText(field, line->text());
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            form.setText(field, combo->currentText());
    }
    form.bandIndex = band->findText(form.text(EntryField::Band), Qt::MatchExactly);
    form.modeIndex = mode->findText(form.text(EntryField::Mode), Qt::MatchExactly);
    form.activityIndex = activity->currentIndex();
}

void EntryPanel::showForm(bool moveFocus)
{
    const EntryForm& form = m_core->form();
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = EntryField(i);
        if (field == EntryField::Record)
            continue;
        QWidget* widget = fieldWidget(field);
        const FieldState& state = form[field];
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            if (line->text() != state.text)
                line->setText(state.text);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const int index = combo->findText(state.text, Qt::MatchExactly);
            if (index >= 0)
                combo->setCurrentIndex(index);
            else if (combo->isEditable())
                combo->setEditText(state.text);
        }
        widget->setEnabled(state.enabled);
        paintField(widget, state.colour);
    }
    callsignLabel->setText(form.callsignLabel);
    dmfLabel->setVisible(form.dmfVisible);
    record->setText(form.recordCaption);
    record->setEnabled(form.recordEnabled);
    cancel->setEnabled(form.cancelEnabled);
    edit->setEnabled(form.editEnabled);
    remove->setEnabled(form.deleteEnabled);
    search->setEnabled(form.searchEnabled);
    if (!moveFocus)
        return;
    if (QWidget* target = fieldWidget(form.focus); target && target->isEnabled()) {
        target->setFocus();
        // A proposed text ("59", the date) is replaced by what the operator types.
        if (auto* line = qobject_cast<QLineEdit*>(target))
            line->selectAll();
    }
}

void EntryPanel::setQsoNumber(int number, bool accented)
{
    setTitle((accented ? QStringLiteral("QSO numéro ") : QStringLiteral("QSO numero ")) + QString::number(number));
}

} // namespace tv
