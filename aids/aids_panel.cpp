#include "aids/aids_panel.h"

#include "aids/aids_text.h"
#include "aids/multiplier_board_widget.h"
#include "aids/quick_logging.h"
#include "aids/rate_meter.h"
#include "aids/scp_widget.h"
#include "entry/entry_panel.h"
#include "entry/qso_entry.h"
#include "logstore/cp1252.h"
#include "logstore/department_file.h"
#include "logstore/log_columns.h"
#include "logstore/log_file.h"
#include "logstore/qso_line.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/named_widget.h"
#include "station/logbook.h"
#include "station/station_session.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QThread>
#include <QVBoxLayout>

namespace tv {
namespace {

using F = EntryField;

QWidget* widgetOf(const EntryPanel& p, EntryField f)
{
    QWidget* const widgets[kEntryFieldCount] = {
        p.band,        p.mode,    p.callsign,  p.department, p.locator,  p.activity, p.date,    p.start, p.end,
        p.rstReceived, p.rstSent, p.firstName, p.millNumber, p.millName, p.distance, p.azimuth, p.record};
    return widgets[int(f)];
}

QByteArray workedKey(const QByteArray& band, const QByteArray& mode, const QByteArray& department)
{
    return band + '|' + mode + '|' + DepartmentFile::canonicalCode(department);
}

} // namespace

AidsPanel::AidsPanel(Services services, StationSession& session, Logbook& logbook, QsoEntry& entry, EntryPanel& fields,
                     QWidget* parent)
    : QWidget(parent), m_services(services), m_session(session), m_logbook(logbook), m_entry(entry), m_fields(fields)
{
    setObjectName(QStringLiteral("AidesOperateur"));
    auto* column = new QVBoxLayout(this);
    m_rate = named<QLabel>(this, "Cadence");
    m_rate->setWordWrap(true);
    column->addWidget(m_rate);
    m_scp = new ScpWidget(this);
    column->addWidget(m_scp, 1);
    m_board = new MultiplierBoardWidget(this);
    column->addWidget(m_board);
    auto* quick = named<QLabel>(this, "SaisieRapide",
                                QStringLiteral("Ctrl+Entrée : enregistre le QSO avec les reports proposés et l'heure"));
    quick->setWordWrap(true);
    column->addWidget(quick);

    m_millOffers = new QStringListModel(this);
    m_millCompleter = new QCompleter(m_millOffers, this);
    m_millCompleter->setObjectName(QStringLiteral("CompleteurMoulins"));
    m_millCompleter->setWidget(m_fields.millNumber);
    m_millCompleter->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    connect(m_millCompleter, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { chooseMill(index.row()); });
    connect(m_fields.millNumber, &QLineEdit::textEdited, this, &AidsPanel::offerMills);

    // Installed after the entry's own filters, these see the keys first.
    for (F f : watchedFields()) {
        QWidget* widget = widgetOf(m_fields, f);
        widget->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    connect(m_fields.callsign, &QLineEdit::textChanged, this, [this] {
        showSuggestions();
        showLit();
    });
    connect(m_fields.department, &QLineEdit::textChanged, this, &AidsPanel::showLit);
    connect(&m_fields, &EntryPanel::effectsReady, this, &AidsPanel::showLit);
    followLog();
    buildMasterIndex();
}

AidsPanel::~AidsPanel()
{
    if (m_indexer)
        m_indexer->wait(); // a fraction of a second at most
}

QList<EntryField> AidsPanel::watchedFields() const
{
    QList<F> fields;
    for (int i = 0; i < kEntryFieldCount; ++i)
        fields << F(i);
    return fields;
}

void AidsPanel::followLog()
{
    connect(&m_logbook, &Logbook::reloaded, this, &AidsPanel::loaded);
    connect(&m_logbook, &Logbook::appended, this, &AidsPanel::appended);
    connect(&m_logbook, &Logbook::scoreChanged, this, &AidsPanel::showBoard);
    connect(&m_logbook, &Logbook::marksChanged, this, &AidsPanel::showBoard);
    for (auto change : {&StationSession::bandOrModeChanged, &StationSession::sessionChanged}) {
        connect(&m_session, change, this, [this] {
            showBoard();
            showSuggestions();
            showLit();
        });
    }
}

void AidsPanel::buildMasterIndex()
{
    // Read here (one read), indexed on another thread: some 85,000 callsigns take a while.
    const FileRead master = m_services.files.read(m_services.masterCallsignFile);
    if (!master.result.ok())
        return; // not installed: the list holds the log's and the nomenclature's callsigns
    m_indexer = QThread::create([this, bytes = master.bytes] {
        auto index = std::make_shared<const CallsignIndex>(CallsignIndex::readMasterFile(bytes));
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                m_scp->setIndex(index);
                showSuggestions();
                Q_EMIT masterIndexed();
            },
            Qt::QueuedConnection);
    });
    m_indexer->setParent(this);
    m_indexer->start();
}

bool AidsPanel::indexReady() const
{
    return !m_indexer || m_scp->hasIndex();
}

void AidsPanel::loaded()
{
    const QList<QByteArray>& lines = m_logbook.lines();
    m_known.clear();
    m_workedDepartments.clear();
    for (const QByteArray& line : lines) {
        m_known << qsoline::field(line, logcol::kCallsign);
        m_workedDepartments.insert(workedKey(qsoline::field(line, logcol::kBand), qsoline::field(line, logcol::kMode),
                                             qsoline::field(line, logcol::kDepartment)));
    }
    // The nomenclature only lengthens the list: the entry's own look-ups report its troubles.
    const FileRead nomenclature = m_services.files.read(m_logbook.paths().nomenclature());
    for (const QByteArray& line : LogFile::splitLines(nomenclature.bytes))
        m_known << line.left(10).trimmed();

    QList<QByteArray> mills = lines;
    if (!m_historyStarted) {
        // The first load: the other session's archive and a former one's too.
        m_historyStarted = true;
        for (const QString& extension : {QStringLiteral(".hf_"), QStringLiteral(".vhf")}) {
            const QString archive = m_logbook.paths().copySet(extension).first();
            if (!m_services.files.exists(archive))
                continue;
            const FileRead read = m_services.files.read(archive);
            if (!read.result.ok())
                m_services.dialogs.message(Logbook::errorText(read.result) + QStringLiteral(" : le fichier ") +
                                           StationPaths::fileName(archive) +
                                           QStringLiteral(" ne peut pas être lu, ses moulins ne sont pas appris"));
            else
                mills += LogFile::splitLines(read.bytes);
        }
    }
    learn(mills, QStringLiteral("l'historique des moulins n'a pas pu être mis à jour"));
    showBoard();
    showSuggestions();
    tick();
}

void AidsPanel::appended(int row)
{
    const QByteArray& line = m_logbook.lines()[row];
    m_known << qsoline::field(line, logcol::kCallsign);
    m_workedDepartments.insert(workedKey(qsoline::field(line, logcol::kBand), qsoline::field(line, logcol::kMode),
                                         qsoline::field(line, logcol::kDepartment)));
    if (qsoline::field(line, logcol::kActivity) == "1")
        learn({line}, QStringLiteral("l'historique des moulins n'a pas pu être mis à jour"));
    tick();
    showSuggestions();
    showLit();
}

bool AidsPanel::learn(const QList<QByteArray>& lines, const QString& failureText)
{
    const FileResult result = millhistory::update(m_services.files, m_services.programDir, lines, &m_history);
    if (!result.ok())
        m_services.dialogs.message(Logbook::errorText(result) + QStringLiteral(" : ") + failureText);
    return result.ok();
}

void AidsPanel::learnLogFile()
{
    const QString path = m_services.dialogs.chooseFile(QStringLiteral("Apprendre les moulins d'un log"));
    if (path.isEmpty())
        return;
    const FileRead read = m_services.files.read(path);
    if (!read.result.ok()) {
        m_services.dialogs.message(Logbook::errorText(read.result) + QStringLiteral(" : le fichier ") +
                                   StationPaths::fileName(path) + QStringLiteral(" ne peut pas être lu"));
        return;
    }
    const int before = m_history.size();
    if (!learn(LogFile::splitLines(read.bytes), QStringLiteral("les moulins de ") + StationPaths::fileName(path) +
                                                    QStringLiteral(" ne sont pas enregistrés")))
        return;
    m_services.dialogs.message(QStringLiteral("%1 moulin(s) nouveau(x) appris de %2 ; l'historique en compte %3.")
                                   .arg(m_history.size() - before)
                                   .arg(StationPaths::fileName(path))
                                   .arg(m_history.size()));
}

void AidsPanel::tick()
{
    const CalendarTime now = m_session.utc() ? m_services.clock.utcNow() : m_services.clock.localNow();
    m_rate->setText(aidstext::rateText(rate::at(m_logbook.lines(), aidstext::minuteOf(now))));
}

void AidsPanel::showSuggestions()
{
    const QByteArray typed = cp1252::encode(m_fields.callsign->text().trimmed().toUpper());
    const QByteArray band = m_session.band();
    const QByteArray mode = m_session.mode();
    m_scp->suggest(typed, m_known,
                   [&](const QByteArray& call) { return m_logbook.findDuplicate(call, band, mode).has_value(); });
}

void AidsPanel::showBoard()
{
    m_board->setRows(board::rows(m_logbook.tally(), m_session.bandList()), m_session.band(), m_session.mode());
}

void AidsPanel::showLit()
{
    const QByteArray typed = cp1252::encode(m_fields.callsign->text().trimmed().toUpper());
    const QsoEntry::LookedUp found = m_entry.lookedUp();
    const QByteArray band = m_session.band();
    const QByteArray mode = m_session.mode();
    MultiplierBoardWidget::Lit department, entity;
    const bool confirmed = !typed.isEmpty() && found.callsign == typed && found.band == band && found.mode == mode;
    if (confirmed && !found.entity.isEmpty())
        entity = {QStringLiteral("DXCC ") + cp1252::decode(found.dxccPrefix), found.entityNew};
    const QByteArray code = cp1252::encode(m_fields.department->text().trimmed());
    if (!typed.isEmpty() && DepartmentFile::cellOf(code))
        department = {QStringLiteral("Dpt ") + cp1252::decode(code),
                      !m_workedDepartments.contains(workedKey(band, mode, code))};
    m_board->setLit(cp1252::decode(typed), department, entity);
}

void AidsPanel::offerMills(const QString& typed)
{
    m_offered = m_history.offers(cp1252::encode(typed));
    QStringList texts;
    for (const MillHistory::Mill& mill : m_offered)
        texts << aidstext::millOffer(mill);
    m_millOffers->setStringList(texts);
    if (texts.isEmpty())
        m_millCompleter->popup()->hide();
    else
        m_millCompleter->complete();
}

void AidsPanel::chooseMill(int row)
{
    if (row < 0 || row >= int(m_offered.size()))
        return;
    const MillHistory::Mill& mill = m_offered[row];
    m_fields.millNumber->setText(aidstext::millNumberOf(mill));
    if (!mill.name.isEmpty())
        m_fields.millName->setText(cp1252::decode(mill.name));
}

bool AidsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F8 && watched == m_fields.callsign) {
        if (const QString first = m_scp->first(); !first.isEmpty())
            m_fields.callsign->setText(first);
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || !(key->modifiers() & Qt::ControlModifier))
        return QWidget::eventFilter(watched, event);
    for (F f : watchedFields()) {
        QWidget* widget = widgetOf(m_fields, f);
        auto* combo = qobject_cast<QComboBox*>(widget);
        if (watched != widget && !(combo && watched == combo->lineEdit()))
            continue;
        m_fields.run([this, f] { return quicklog::record(m_entry, m_session, m_services.clock, f); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tv
