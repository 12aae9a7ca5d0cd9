#pragma once

#include "platform/sound.h"

#include <QFileInfo>
#include <QStringList>

namespace tv {

// Sound for tests: the file name of every sound asked for, in order.
class FakeSound final : public Sound {
public:
    void play(const QString& path) override { m_played << QFileInfo(path).fileName(); }
    const QStringList& played() const { return m_played; }
    void clear() { m_played.clear(); }

private:
    QStringList m_played;
};

} // namespace tv
