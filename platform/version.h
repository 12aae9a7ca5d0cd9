#pragma once

#include <QString>

namespace tv {

// The program's revision as the windows, the settings and the reports write it: the build's
// version after one space (" 1.1.2"), taken from the project's version in CMakeLists.txt.
QString revisionText();

} // namespace tv
