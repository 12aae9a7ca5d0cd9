#pragma once

#include <QStringList>

// The rules of the event, as the rules window shows them: 62 lines, blank lines included.
namespace tv::rules {

const QStringList& lines();

// Who receives the reports, at the end of the deadline line.
inline constexpr const char* kLogManager = "l'organisateur";

} // namespace tv::rules
