#pragma once

#include "reports/cli_commands.h"

namespace tv {

// `tournevent-cli spots`: the spots of one or two bands, fetched once from a spot server or a
// telnet cluster, printed as the cluster window lists them.
//
//   spots --source URL|telnet://HOST:PORT --band TEXT [--band2 TEXT] [--sort date|dx|qrg]
//         [--french] [--prefix P] [--mills] [--seconds N]
//
// TEXT is an entry of the band lists ("14 Mhz", "All HF"; "Sans" for no second band). A telnet
// source logs in with the station callsign of the settings ("F0ZZZ" when none is set) and
// lists what it received within N seconds (10 by default). A source that cannot be reached
// ends with cli::kReadFailed and the reason in French.
cli::Command spotsCommand();

} // namespace tv
