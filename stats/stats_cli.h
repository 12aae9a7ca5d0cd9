#pragma once

#include "reports/cli_commands.h"

// The statistics and the search on the command line, printing what their windows show:
//
//   tournevent-cli stats distances
//   tournevent-cli stats prefixes|activations [--band TEXT] [--mode SSB|CW]
//   tournevent-cli search --callsign|--date|--dept|--locator TEXT
//
// The band and mode default to those in use in the station's settings (activations: SSB).
namespace tv::statscli {

cli::Command statsCommand();
cli::Command searchCommand();

} // namespace tv::statscli
