#pragma once

#include <QDialog>

namespace tv {

// The wait window `Chargement` shown while the multiplier files are rebuilt: caption
// "C_Trafic", a frame with "Prefixes et Départements" and "Mise a jour des fichiers", no
// buttons. It places itself 2500 twips (1/1440 inch) right of the screen's centre line.
class LoadingWindow final : public QDialog {
    Q_OBJECT
public:
    explicit LoadingWindow(QWidget* parent = nullptr);

    // The top-left corner of a window of `window` pixels on a screen area, with the screen's
    // dots per inch: left = (screen width - window width + 5000) / 2 and top = (screen height -
    // window height) / 2, counted in twips, each difference rounded before halving.
    static QPoint placement(const QRect& screenArea, const QSize& window, qreal dpiX, qreal dpiY);

    // Lets the window paint itself during a long computation. User input stays queued, so no
    // other command can start while the files are being rebuilt.
    void keepAlive();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tv
