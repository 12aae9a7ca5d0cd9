#pragma once

#include "platform/dialogs.h"

#include <memory>

class QWidget;

namespace tv {

class ProgressDialog;

// Message boxes over QMessageBox and the progress window, parented to the window that asks.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr);
    ~QtDialogs() override;
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool confirmCritical(const QString& text) override;
    QString chooseFolder(const QString& caption) override;
    QString chooseFile(const QString& caption) override;
    // A ProgressDialog from the first step to the last.
    void progress(const QString& text, int done, int total) override;

private:
    QWidget* m_parent = nullptr;
    std::unique_ptr<ProgressDialog> m_progress;
};

} // namespace tv
