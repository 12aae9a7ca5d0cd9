#pragma once

#include "reports/cli_commands.h"

namespace tv::activationmap {

// `tournevent-cli map --band TEXT --mode SSB|CW [--svg OUT.svg] [--png OUT.png]`: writes the
// activation map of the station's log for that band and mode, as SVG, as PNG or both.
cli::Command command();

} // namespace tv::activationmap
