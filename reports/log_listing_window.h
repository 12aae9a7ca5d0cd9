#pragma once

#include "platform/services.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QListWidget;
class QPushButton;

namespace tv {

// The window `Impression` ("Pré Visualisation"): the log listing in the fixed-pitch list
// `Visu_Print`, saved under the session's name (reportfiles::logListing: callsign + "_Log_JNM_"
// + dd_mm_yy + ".txt", "_Log_JNM_VHF_" in the VHF session) by `Enregistrer`, or printed
// (`Imprimer`). The list is filled once, when the window is built; saving and printing reread
// the log, so a QSO recorded meanwhile is included. The session is read from the station's
// settings when saving.
//
// There is one listing window at a time: showOrRaise() brings the open one to the front
// instead of building a second.
class LogListingWindow final : public QWidget {
    Q_OBJECT
public:
    // It prints on the services' printer.
    LogListingWindow(Services services, QString storedCallsign, QString eventDate, QWidget* parent = nullptr);

    // Shows the listing window, building it when none is open or when the one open lists
    // another station or event date (that one is closed); the window is raised and activated.
    static LogListingWindow* showOrRaise(Services services, const QString& storedCallsign, const QString& eventDate,
                                         QWidget* parent);

public Q_SLOTS:
    void save();  // Enregistrer
    void print(); // Imprimer

private:
    // The log lines, or nothing after telling the operator why it could not be read.
    std::optional<QList<QByteArray>> readLog();

    Services m_services;
    QString m_callsign;
    QString m_eventDate;
    QListWidget* m_list = nullptr; // Visu_Print
};

} // namespace tv
