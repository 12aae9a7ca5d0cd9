#pragma once

#include "platform/services.h"
#include "stats/activation_map.h"

#include <QByteArray>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace tv {

class Logbook;
class MapPicture;
class StationSession;

// The window `Carte_Acti` ("Carte_Activations"): the map of the departments where the station
// contacted a mill activation on the band `Bande_A` and the mode `Mode_AX`, drawn when
// `Afficher` is clicked, with the number of those QSOs (`NB_Activ`) and of the departments
// coloured (`NB_Dep`). Once shown, the map follows the Logbook: a QSO recorded, edited or
// removed redraws it for the same band and mode. `Enregistrer_PNG` and `Enregistrer_SVG` save
// what is shown in the program directory (activationmap::fileName).
//
// Collaborations: StationSession (the session's bands, the band and mode in use at opening),
// Logbook (its lines in memory and its signals), activationmap (colouring and SVG), QSvgRenderer.
// There is one map window at a time: showOrRaise() brings the open one to the front.
class ActivationMapWindow final : public QWidget {
    Q_OBJECT
public:
    ActivationMapWindow(Services services, StationSession& session, Logbook& logbook, QWidget* parent = nullptr);

    static ActivationMapWindow* showOrRaise(Services services, StationSession& session, Logbook& logbook,
                                            QWidget* parent);

    // The map as shown (fills and lines), as an SVG document; empty before the first `Afficher`.
    const QByteArray& shownSvg() const { return m_svg; }

    // An SVG document rendered as a PNG image `scale` times the size it declares, on white.
    static QByteArray renderPng(const QByteArray& svg, double scale);

public Q_SLOTS:
    void display(); // Afficher
    void savePng();
    void saveSvg();

private:
    void fillBands();
    // Colours the map again for the band and mode shown, from the Logbook's lines.
    void redraw();
    palette::Rgb backgroundColour() const; // of the uncoloured departments
    // The map drawn for the picture: no footer (the window shows the attribution itself).
    QByteArray drawing(const activationmap::Colouring& colouring, activationmap::SvgOptions::Layer layer) const;
    // Saves the map shown, with its title, as "png" or "svg".
    void save(const QString& extension);

    Services m_services;
    StationSession& m_session;
    Logbook& m_logbook;
    QComboBox* m_mode = nullptr;     // Mode_AX
    QComboBox* m_band = nullptr;     // Bande_A
    MapPicture* m_picture = nullptr; // Picture1
    QLabel* m_activations = nullptr; // NB_Activ
    QLabel* m_departments = nullptr; // NB_Dep
    QPushButton* m_savePng = nullptr;
    QPushButton* m_saveSvg = nullptr;
    QByteArray m_shownBand; // of the last `Afficher`; empty before
    QByteArray m_shownMode;
    activationmap::Colouring m_colouring;
    QByteArray m_svg;
};

} // namespace tv
