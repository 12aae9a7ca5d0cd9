#include "aids/quick_logging.h"

#include "geo/clock_text.h"
#include "platform/clock.h"
#include "station/station_session.h"

namespace tv::quicklog {
namespace {

// Later effects win; a new department's cell is kept once found.
void merge(EntryEffects& into, const EntryEffects& from)
{
    if (from.refreshGrid) {
        into.refreshGrid = true;
        into.gridBand = from.gridBand;
        into.gridMode = from.gridMode;
        into.gridCaptionMiddle = from.gridCaptionMiddle;
    }
    if (from.newDepartmentCell >= 0)
        into.newDepartmentCell = from.newDepartmentCell;
    if (from.qsoNumber)
        into.qsoNumber = from.qsoNumber;
}

} // namespace

EntryEffects record(QsoEntry& entry, const StationSession& session, const Clock& clock, EntryField from)
{
    EntryForm& form = entry.form();
    EntryEffects effects;
    EntryField field = from;
    // The chain holds fewer than twenty fields: the bound only guards against a field that
    // would hand the focus back.
    for (int step = 0; step < 2 * kEntryFieldCount; ++step) {
        if (field == EntryField::Record) {
            merge(effects, entry.record());
            return effects;
        }
        if (field == EntryField::Distance || field == EntryField::Azimuth)
            return effects;
        const CalendarTime now = session.utc() ? clock.utcNow() : clock.localNow();
        if (field == EntryField::Date && form.text(EntryField::Date).trimmed().isEmpty())
            form.setText(EntryField::Date, clocktext::dateText(now));
        if (field == EntryField::Start && form.text(EntryField::Start).trimmed().isEmpty())
            form.setText(EntryField::Start, clocktext::timeText(now).left(5));
        merge(effects, entry.enter(field));
        if (form.focus == field)
            return effects; // refused: the operator is needed here
        field = form.focus;
    }
    return effects;
}

} // namespace tv::quicklog
