#pragma once

#include "reports/cli_commands.h"

namespace tv::rigcli {

// `tournevent-cli --dir D tune KHZ [--rig yaesu:MODEL:PORT[:BAUD] | rigctld:HOST[:PORT]]`:
// tunes the transceiver to KHZ (14025.0) in the mode of a spot there, through the rig given,
// else the one chosen in the program's settings, and prints what it sent: the CAT frames in
// hexadecimal for a Yaesu, the commands for rigctld. A rig that cannot be reached exits with
// kUnreachable and a message in French.
cli::Command tuneCommand();

} // namespace tv::rigcli
