#include "platform/version.h"

#ifndef TOURNEVENT_VERSION
#error "TOURNEVENT_VERSION is given by the build"
#endif

namespace tv {

QString revisionText()
{
    return QStringLiteral(" " TOURNEVENT_VERSION);
}

} // namespace tv
