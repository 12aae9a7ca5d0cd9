#pragma once

#include <QString>

namespace tv {

// Short alert sounds ("ringin.wav" when a spot server does not answer, "ringout.wav" for a wanted
// station), played without blocking: play() returns at once and a sound still playing is
// restarted. A machine without a sound device, or a file that cannot be played, is no error: the
// system's beep is heard instead when there is one.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(const QString& path) = 0;
};

} // namespace tv
