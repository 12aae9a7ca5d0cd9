#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace tv {

// Message boxes over QMessageBox, parented to the window that asks.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool confirmCritical(const QString& text) override;
    QString chooseFolder(const QString& caption) override;
    QString chooseFile(const QString& caption) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace tv
