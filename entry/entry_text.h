#pragma once

#include "logstore/cp1252.h"

#include <QByteArray>
#include <QString>

// Small text helpers shared by the entry's field checks and its recording.
namespace tv::entrytext {

// The field text as the log stores it.
inline QByteArray bytes(const QString& text)
{
    return cp1252::encode(text);
}

// Corsica's department numbers "96" / "97" shown as "2a" / "2b"; other codes unchanged.
inline QByteArray shownDepartment(const QByteArray& code)
{
    if (code == "96")
        return "2a";
    if (code == "97")
        return "2b";
    return code;
}

inline const QString kCrlf = QStringLiteral("\r\n");

} // namespace tv::entrytext
