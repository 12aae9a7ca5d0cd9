#pragma once

#include "aids/callsign_index.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QListWidget;

namespace tv {

// The super check partial beside the entry: the known callsigns that contain the typed text,
// then those one character away, the ones already worked on the band and mode in use marked
// "*" and greyed. The list never takes the focus; F8 (handled by the aids panel) copies the
// first suggestion into the callsign field, as the small label says.
class ScpWidget final : public QWidget {
    Q_OBJECT
public:
    explicit ScpWidget(QWidget* parent = nullptr);

    // The master file's index, once built; until then only the extra callsigns are searched.
    void setIndex(std::shared_ptr<const CallsignIndex> index);
    bool hasIndex() const { return m_index != nullptr; }

    // Shows the suggestions for the typed text; `worked` tells a callsign already contacted.
    void suggest(const QByteArray& typed, const QList<QByteArray>& extra,
                 const std::function<bool(const QByteArray&)>& worked);
    // The first suggestion, or empty.
    QString first() const;

private:
    std::shared_ptr<const CallsignIndex> m_index;
    QListWidget* m_list = nullptr;
    QLabel* m_caption = nullptr;
    QStringList m_calls; // the suggestions shown, in order
};

} // namespace tv
