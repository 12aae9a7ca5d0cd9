#include "reports/rules_window.h"

#include "reports/rules_text.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace tv {

RulesWindow::RulesWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Reglement"));
    setWindowTitle(QStringLiteral("Règlement JNM"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_text = new QListWidget(this);
    m_text->setObjectName(QStringLiteral("Texte"));
    m_text->setSelectionMode(QAbstractItemView::NoSelection);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->addItems(rules::lines());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);

    const QFontMetrics metrics(m_text->font());
    int widest = 0;
    for (const QString& line : rules::lines())
        widest = std::max(widest, metrics.horizontalAdvance(line));
    resize(widest + 60, (rules::lines().size() + 3) * (metrics.height() + 1));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(width(), area.width()), std::min(height(), area.height()));
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

RulesWindow* RulesWindow::showOrRaise(QPointer<RulesWindow>& slot, QWidget* parent)
{
    if (!slot)
        slot = new RulesWindow(parent);
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

} // namespace tv
