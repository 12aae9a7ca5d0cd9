#include "aids/scp_widget.h"

#include "logstore/cp1252.h"
#include "platform/named_widget.h"
#include "platform/palette.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tv {

ScpWidget::ScpWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SuperCheck"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_caption = named<QLabel>(this, "SuperCheckTitre", QStringLiteral("Indicatifs connus"));
    column->addWidget(m_caption);
    m_list = named<QListWidget>(this, "SuperCheckListe");
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    column->addWidget(m_list, 1);
    auto* key = named<QLabel>(this, "SuperCheckTouche",
                              QStringLiteral("F8 : copie le premier indicatif · * déjà contacté sur la bande"));
    QFont small = key->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    key->setFont(small);
    key->setWordWrap(true);
    column->addWidget(key);
}

void ScpWidget::setIndex(std::shared_ptr<const CallsignIndex> index)
{
    m_index = std::move(index);
}

void ScpWidget::suggest(const QByteArray& typed, const QList<QByteArray>& extra,
                        const std::function<bool(const QByteArray&)>& worked)
{
    static const CallsignIndex kEmpty;
    const CallsignIndex::Suggestions s = (m_index ? *m_index : kEmpty).suggest(typed, extra);
    m_list->clear();
    m_calls.clear();
    const QColor grey(palette::kWorked);
    const auto add = [&](const QList<QByteArray>& calls, const QString& lead) {
        for (const QByteArray& call : calls) {
            const QString text = cp1252::decode(call);
            m_calls << text;
            const bool done = worked(call);
            auto* item = new QListWidgetItem(lead + text + (done ? QStringLiteral(" *") : QString()), m_list);
            if (done)
                item->setForeground(grey);
        }
    };
    add(s.partial, QString());
    add(s.oneAway, QStringLiteral("~ "));
    m_caption->setText(typed.size() < 2 ? QStringLiteral("Indicatifs connus")
                                        : QStringLiteral("Indicatifs connus : %1 + %2 à un caractère près")
                                              .arg(s.partial.size())
                                              .arg(s.oneAway.size()));
}

QString ScpWidget::first() const
{
    return m_calls.isEmpty() ? QString() : m_calls.first();
}

} // namespace tv
