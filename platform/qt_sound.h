#pragma once

#include "platform/sound.h"

#include <QHash>

class QSoundEffect;

namespace tv {

// Sound through Qt Multimedia's QSoundEffect: each file is loaded once and kept.
class QtSound final : public Sound {
public:
    QtSound();
    ~QtSound() override;
    void play(const QString& path) override;

private:
    QHash<QString, QSoundEffect*> m_effects;
};

} // namespace tv
