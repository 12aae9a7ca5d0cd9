#pragma once

#include <QByteArray>
#include <QWidget>

class QComboBox;
class QPushButton;

namespace tv {

class StationSession;

// The choice of a band and a mode that the prefix and activation statistics share: the mode
// list ("SSB", "CW"), the band list of the session, and the button `Afficher`.
class BandModeWidget final : public QWidget {
    Q_OBJECT
public:
    // `modeName` is the mode list's object name; `useSessionMode` selects the mode in use,
    // otherwise "SSB". The band in use is selected.
    BandModeWidget(const StationSession& session, const char* modeName, bool useSessionMode, QWidget* parent = nullptr);

    QByteArray band() const;
    QByteArray mode() const;
    QComboBox* modeBox() const { return m_mode; }
    QComboBox* bandBox() const { return m_band; }
    QPushButton* showButton() const { return m_show; }

private:
    QComboBox* m_mode = nullptr;
    QComboBox* m_band = nullptr;   // Bande_E
    QPushButton* m_show = nullptr; // Afficher
};

// Places a window in the middle of the screen.
void centreOnScreen(QWidget* window);

} // namespace tv
