#pragma once

#include <QPointer>
#include <QWidget>

class QListWidget;

namespace tv {

// The window `Reglement` ("Règlement JNM"): the rules of the event in the read-only list
// `Texte`, filled once when the window is built. Closing it destroys it.
//
// The main window keeps a QPointer<RulesWindow> and opens it with showOrRaise(): a second
// choice of the menu entry while the window is open brings that same window forward instead
// of building (and filling) another.
class RulesWindow final : public QWidget {
    Q_OBJECT
public:
    explicit RulesWindow(QWidget* parent = nullptr);

    // Shows the window held by `slot`, building it first when there is none; returns it.
    static RulesWindow* showOrRaise(QPointer<RulesWindow>& slot, QWidget* parent = nullptr);

private:
    QListWidget* m_text = nullptr; // Texte
};

} // namespace tv
