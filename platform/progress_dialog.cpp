#include "platform/progress_dialog.h"

namespace tv {

ProgressDialog::ProgressDialog(const QString& text, int total, QWidget* parent)
    : QProgressDialog(text, QString(), 0, std::max(total, 1), parent)
{
    setObjectName(QStringLiteral("Progression"));
    setWindowTitle(QStringLiteral("Tournevent"));
    setWindowModality(Qt::ApplicationModal);
    setMinimumDuration(300);
    setAutoClose(false);
    setAutoReset(false);
    setValue(0);
}

void ProgressDialog::step(int done)
{
    // A modal progress window lets the pending events run inside setValue().
    setValue(std::min(done, maximum()));
}

} // namespace tv
