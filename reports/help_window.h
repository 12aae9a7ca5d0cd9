#pragma once

#include "platform/file_system.h"
#include "platform/services.h"

#include <QPointer>
#include <QWidget>

class QTextBrowser;

namespace tv {

class ManualBrowser;

// The window "Mode d'emploi": the user manual, an HTML page of the program directory
// ("aide/index.html", copied there from the shipped data at start-up with its pictures),
// shown in a QTextBrowser opened at its table of contents. Links inside the manual work, and
// "Sommaire" and "Retour" bring the reader back to the contents or to where he was.
//
// Responsibilities: read the manual and its pictures through FileSystem, show them, report a
// missing or unreadable manual in French.
// Collaborations: Services (files, dialogs, program directory).
//
// The main window keeps a QPointer<HelpWindow> and opens it with showOrRaise(): a second
// choice of the menu item brings the open window forward. Closing the window destroys it.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    HelpWindow(const Services& services, QWidget* parent = nullptr);

    // Shows the window held by `slot`, building it first when there is none, and returns it.
    // When the manual cannot be read, shows `unreadableText` through the dialogs instead,
    // opens no window and returns nullptr.
    static HelpWindow* showOrRaise(QPointer<HelpWindow>& slot, const Services& services, QWidget* parent = nullptr);

    // The manual of a program directory: PROGRAMDIR/aide/index.html.
    static QString manualPath(const QString& programDir);
    // The anchor of the table of contents, where the manual opens.
    static QString contentsAnchor() { return QStringLiteral("sommaire"); }
    // The French text telling why the manual cannot be shown.
    static QString unreadableText(const QString& programDir, const FileResult& result);

    // The outcome of reading the manual when the window was built.
    const FileResult& loadResult() const { return m_loadResult; }
    bool loaded() const { return m_loadResult.ok(); }

    // Scrolls back to the table of contents.
    void showContents();

    QTextBrowser* browser() const;

private:
    Services m_services;
    ManualBrowser* m_browser = nullptr; // Texte_Aide
    FileResult m_loadResult;
};

} // namespace tv
