#pragma once

#include "reports/cli_commands.h"

// The exchange commands of tournevent-cli.
//
//   edi --out DIR                 the EDI files of the VHF QSOs (one per band) into DIR
//   import FILE.adi [--dry-run]   the QSOs of an ADIF file added to the station log
//
// `import` prints, per record, what is added, skipped as already in the log or refused and
// why, then the totals; without --dry-run it adds the accepted QSOs in date order in one
// atomic rewrite of the log and rebuilds the multiplier files from it.
namespace tv::exchangecli {

cli::Command ediCommand();
cli::Command importCommand();

} // namespace tv::exchangecli
