#pragma once

#include "entry/entry_form.h"
#include "entry/qso_entry.h"

namespace tv {

class Clock;
class StationSession;

namespace quicklog {

// Records the QSO being entered with one key: from the field the operator is in, Enter is
// given to each field of the chain in turn, as the operator would press it, so that every
// check, look-up and question of the fields and of the recording runs. An empty date or start
// time takes the clock's (UTC or local, as the log is kept); the reports keep their proposed
// texts. The walk stops at the first field that refuses its text (its message shown, the
// field focused), and records when it reaches the "QSO Suivant" button.
EntryEffects record(QsoEntry& entry, const StationSession& session, const Clock& clock, EntryField from);

} // namespace quicklog
} // namespace tv
