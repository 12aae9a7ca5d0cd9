#include "platform/qt_sound.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace tv {

QtSound::QtSound() = default;

QtSound::~QtSound()
{
    qDeleteAll(m_effects);
}

void QtSound::play(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    QSoundEffect*& effect = m_effects[path];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
    }
    // A file that failed to load (no sound device, unreadable data) is beeped instead.
    if (effect->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    effect->play();
}

} // namespace tv
