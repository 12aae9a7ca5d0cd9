#include "platform/qt_dialogs.h"
#include "platform/progress_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tv {
namespace {

QString title()
{
    return QStringLiteral("Tournevent");
}

// The program separates lines with CR LF; a message box wants LF only.
QString shown(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return out;
}

} // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent)
{
}

QtDialogs::~QtDialogs() = default;

void QtDialogs::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), shown(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtDialogs::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Question, title(), shown(text), QMessageBox::Yes | QMessageBox::No, m_parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Non"));
    return box.exec() == QMessageBox::Yes;
}

bool QtDialogs::confirmCritical(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title(), shown(text), QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

QString QtDialogs::chooseFolder(const QString& caption)
{
    return QFileDialog::getExistingDirectory(m_parent, caption);
}

QString QtDialogs::chooseFile(const QString& caption)
{
    return QFileDialog::getOpenFileName(m_parent, caption);
}

void QtDialogs::progress(const QString& text, int done, int total)
{
    if (done >= total) {
        m_progress.reset();
        return;
    }
    if (!m_progress)
        m_progress = std::make_unique<ProgressDialog>(text, total, m_parent);
    m_progress->step(done);
}

} // namespace tv
