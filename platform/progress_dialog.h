#pragma once

#include <QProgressDialog>

namespace tv {

// The progress window of long work done on the interface thread (printing, the ADIF export).
//
// It appears only when the work will take longer than 300 ms, is application modal so that no
// other command starts and the main window does not close meanwhile, and lets the windows
// paint at every step. It has no cancel button: the work it follows always runs to its end, so
// no file is left half written.
class ProgressDialog final : public QProgressDialog {
    Q_OBJECT
public:
    ProgressDialog(const QString& text, int total, QWidget* parent);

    // `done` steps of the total are done; the windows paint.
    void step(int done);
};

} // namespace tv
