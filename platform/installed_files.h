#pragma once

#include <QString>

namespace tv::installed {

// The reference files of Debian's hamradio-files package, read where they are installed.
inline QString countryFile()
{
    return QStringLiteral("/usr/share/hamradio-files/cty.dat");
}
inline QString masterCallsignFile()
{
    return QStringLiteral("/usr/share/hamradio-files/MASTER.SCP");
}

} // namespace tv::installed
