#pragma once

#include "platform/file_system.h"

#include <QString>

// The messages the reports show when a file cannot be read or written, shared by the windows
// and the command line so that both say the same thing.
namespace tv::reportmessages {

// The event date cannot name a report file.
QString badEventDate(const QString& eventDate);
// A station file could not be read: "introuvable" when it does not exist, else the error
// number. `fileName` is the name without folder.
QString notReadable(const QString& fileName, const FileResult& result);
// The station log could not be read.
QString logUnreadable(const QString& storedCallsign, const FileResult& result);
// A report file could not be written; the previous file of that name is left as it was.
QString notWritten(const QString& fileName, const FileResult& result);

} // namespace tv::reportmessages
