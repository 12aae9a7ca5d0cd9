#pragma once

#include "aids/callsign_index.h"
#include "aids/mill_history.h"
#include "entry/entry_form.h"
#include "platform/services.h"

#include <QSet>
#include <QWidget>

#include <memory>

class QCompleter;
class QLabel;
class QStringListModel;
class QThread;

namespace tv {

class EntryPanel;
class Logbook;
class MultiplierBoardWidget;
class QsoEntry;
class ScpWidget;
class StationSession;

// The operator aids beside the entry: the rate, the super check partial and the multiplier
// board; and, in the entry's own fields, two keys and a completer: F8 in the callsign field
// copies the first suggestion, Ctrl+Return in any field records the QSO through every check
// of the Enter path (quicklog), and the mill number offers the mills of the history.
//
// It follows the Logbook (appended, reloaded, marks and score) and the entry's look-ups; a
// keystroke reads no file. The master callsign file is read once and indexed off the
// interface thread.
class AidsPanel final : public QWidget {
    Q_OBJECT
public:
    AidsPanel(Services services, StationSession& session, Logbook& logbook, QsoEntry& entry, EntryPanel& fields,
              QWidget* parent = nullptr);
    ~AidsPanel() override;

    // The clock's tick: the rate again.
    void tick();
    // Asks for a log file and learns its mills.
    void learnLogFile();

    bool indexReady() const;
    const MillHistory& millHistory() const { return m_history; }

Q_SIGNALS:
    void masterIndexed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMasterIndex();
    void followLog();
    void loaded();
    void appended(int row);
    void showSuggestions();
    void showBoard();
    void showLit();
    void offerMills(const QString& typed);
    void chooseMill(int row);
    bool learn(const QList<QByteArray>& lines, const QString& failureText);
    QList<EntryField> watchedFields() const;

    Services m_services;
    StationSession& m_session;
    Logbook& m_logbook;
    QsoEntry& m_entry;
    EntryPanel& m_fields;

    QLabel* m_rate = nullptr;
    ScpWidget* m_scp = nullptr;
    MultiplierBoardWidget* m_board = nullptr;
    QCompleter* m_millCompleter = nullptr;
    QStringListModel* m_millOffers = nullptr;
    QList<MillHistory::Mill> m_offered;

    QThread* m_indexer = nullptr;
    QList<QByteArray> m_known;            // the log's and the nomenclature's callsigns
    QSet<QByteArray> m_workedDepartments; // band, mode and department code (canonical)
    MillHistory m_history;
    bool m_historyStarted = false;
};

} // namespace tv
